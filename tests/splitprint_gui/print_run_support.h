// The window's run as a test drives it: a host with the window's dialogs,
// a drawing of three sheets, pages counted with pdfinfo and their ink
// measured.
#pragma once

#include <QCoreApplication>
#include <algorithm>
#include <cstdio>
#include <gtest/gtest.h>
#include <filesystem>
#include <string>
#include <vector>

#include "batch_host.h"
#include "pdf_ink.h"
#include "print_gui_support.h"
#include "print_order_dialog.h"
#include "sheet_dialogs.h"

namespace printgui {

// The window's side of the batch: its dialogs, no questions asked.
class WindowLikeHost : public TBatchHost {
 public:
  std::vector<std::string> informs;
  std::string status;  // the last status text
  void SetStatusText(const std::string& text) override { status = text; }
  bool Confirm(const std::string&) override { return true; }
  void Inform(const std::string& text) override { informs.push_back(text); }
  void SetRunButtonsEnabled(bool) override {}
  void ReadPrintOptions(TForm1&) override {}
  bool ShowOrderDialog(TForm1& form) override {
    WhenModal<TForm4>([](QWidget* w) { dynamic_cast<TForm4*>(w)->Button1Click(); });
    return ShowPrintOrderDialog(nullptr, form);
  }
  void PreviewSheets(TForm1& form) override { ShowSheetPreview(nullptr, form); }
  void PrintSheets(TForm1& form) override { PrintSheetList(nullptr, form); }
  bool EscapeHeld() override { return false; }
  void PumpMessages() override { QCoreApplication::processEvents(); }
};

// Pages of a PDF file by pdfinfo; -1 when it cannot tell.
inline int PdfPages(const std::filesystem::path& file) {
  const std::string command = "pdfinfo '" + file.string() + "' 2>/dev/null";
  std::FILE* p = ::popen(command.c_str(), "r");
  if (!p) return -1;
  char line[512];
  int pages = -1;
  while (std::fgets(line, sizeof line, p))
    if (std::sscanf(line, "Pages: %d", &pages) == 1) break;
  ::pclose(p);
  return pages;
}

inline std::vector<std::filesystem::path> PdfFiles(const std::string& folder) {
  std::vector<std::filesystem::path> files;
  for (const auto& e : std::filesystem::directory_iterator(folder))
    if (e.path().extension() == ".pdf") files.push_back(e.path());
  std::sort(files.begin(), files.end());
  return files;
}

// Three A4 landscape frames side by side, each holding a box of
// kSheetBoxWidthMm x kSheetBoxHeightMm about its centre with a circle, a
// text (drawn after the strokes) and a different number of diagonals in it.
constexpr double kSheetBoxWidthMm = 177, kSheetBoxHeightMm = 130;

inline std::string ThreeSheetDrawing(const std::string& folder, const std::string& name = "plan.jww") {
  jwwtest::JwwBuilder b;
  for (int g = 0; g < 16; ++g) {
    b.LayerGroup(g).State = 2;
    for (int l = 0; l < 16; ++l) b.Layer(g, l).State = 2;
  }
  TEntJwwCommon frame = jwwtest::MakeCommon(0, 0, 9, 19);
  frame.Width = 200;
  for (int k = 0; k < 3; ++k) {
    const double x0 = 400.0 * k, x1 = x0 + 297, y0 = 0, y1 = 210;
    b.AddLine(jwwtest::MakeLine(x0, y0, x1, y0, frame));
    b.AddLine(jwwtest::MakeLine(x1, y0, x1, y1, frame));
    b.AddLine(jwwtest::MakeLine(x1, y1, x0, y1, frame));
    b.AddLine(jwwtest::MakeLine(x0, y1, x0, y0, frame));
    const double left = x0 + (297 - kSheetBoxWidthMm) / 2, right = left + kSheetBoxWidthMm;
    const double bottom = y0 + (210 - kSheetBoxHeightMm) / 2, top = bottom + kSheetBoxHeightMm;
    const double xs[] = {left, right, right, left}, ys[] = {bottom, bottom, top, top};
    for (int c = 0; c < 4; ++c) b.AddLine(jwwtest::MakeLine(xs[c], ys[c], xs[(c + 1) % 4], ys[(c + 1) % 4]));
    for (int i = 0; i <= k; ++i) b.AddLine(jwwtest::MakeLine(left + 10, bottom + 10 + 30 * i, right - 10, top - 10 - 30 * i));
    b.AddArc(jwwtest::MakeCircle(x0 + 148.5, y0 + 105, 40));
    TEntJwwText text = jwwtest::MakeText(left + 5, bottom + 5, "PLAN");
    text.SizeX = text.SizeY = 5;
    b.AddText(text);
  }
  const std::string path = folder + name;
  b.WriteFile(path, 700);
  return path;
}

// Every page of the files shows the sheet's box the size it was drawn, where
// the first page shows it, or in the middle of the page (centreOnPage).
inline void ExpectSheetsInPlace(const std::vector<std::filesystem::path>& files, bool centreOnPage) {
  std::vector<TPageInk> pages;
  for (const auto& f : files) {
    const std::vector<TPageInk> ink = PdfPageInk(f.string());
    EXPECT_FALSE(ink.empty()) << "cannot render " << f;
    pages.insert(pages.end(), ink.begin(), ink.end());
  }
  for (size_t i = 0; i < pages.size(); ++i) {
    const TPageInk& p = pages[i];
    SCOPED_TRACE(::testing::Message() << "page " << i << ": " << p << "; first page: " << pages[0]);
    ASSERT_FALSE(p.Blank);
    EXPECT_NEAR(p.Right - p.Left, kSheetBoxWidthMm, 1.5);
    EXPECT_NEAR(p.Bottom - p.Top, kSheetBoxHeightMm, 1.5);
    EXPECT_NEAR(p.Left, centreOnPage ? (p.PageWidthMm - kSheetBoxWidthMm) / 2 : pages[0].Left, 1.0);
    EXPECT_NEAR(p.Top, centreOnPage ? (p.PageHeightMm - kSheetBoxHeightMm) / 2 : pages[0].Top, 1.0);
  }
}

}  // namespace printgui
