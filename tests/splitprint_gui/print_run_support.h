// The window's run as a test drives it: a host with the window's dialogs,
// a drawing of three sheets and pages counted with pdfinfo.
#pragma once

#include <QCoreApplication>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "batch_host.h"
#include "print_gui_support.h"
#include "print_order_dialog.h"
#include "sheet_dialogs.h"

namespace printgui {

// The window's side of the batch: its dialogs, no questions asked.
class WindowLikeHost : public TBatchHost {
 public:
  std::vector<std::string> informs;
  void SetStatusText(const std::string&) override {}
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

// Three A4 landscape frames side by side, a drawing in each, and a fourth
// frame holding nothing but a temporary point.
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
    for (int i = 0; i <= k; ++i) b.AddLine(jwwtest::MakeLine(x0 + 20, 20 + 30 * i, x1 - 20, 190 - 30 * i));
  }
  const std::string path = folder + name;
  b.WriteFile(path, 700);
  return path;
}

}  // namespace printgui
