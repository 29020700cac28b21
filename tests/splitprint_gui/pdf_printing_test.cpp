// The whole run as the window makes it, printing on the built-in PDF
// printer: the order dialog answered, one document or one job per sheet,
// pages counted with pdfinfo.
#include <gtest/gtest.h>

#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <cstdio>
#include <filesystem>

#include "batch_host.h"
#include "bind_images.h"
#include "form1_state.h"
#include "gval.h"
#include "print_gui_support.h"
#include "print_order_dialog.h"
#include "qt_printer_device.h"
#include "sheet_dialogs.h"
#include "sheet_output.h"
#include "unit_print.h"

using namespace printgui;

namespace {

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
int PdfPages(const std::filesystem::path& file) {
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

std::vector<std::filesystem::path> PdfFiles(const std::string& folder) {
  std::vector<std::filesystem::path> files;
  for (const auto& e : std::filesystem::directory_iterator(folder))
    if (e.path().extension() == ".pdf") files.push_back(e.path());
  std::sort(files.begin(), files.end());
  return files;
}

// Three A4 landscape frames side by side, a drawing in each, and a fourth
// frame holding nothing but a temporary point.
std::string ThreeSheetDrawing(const std::string& folder) {
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
  const std::string path = folder + "plan.jww";
  b.WriteFile(path, 700);
  return path;
}

class PdfPrinting : public ::testing::Test {
 protected:
  void SetUp() override {
    App();
    Gval.Reset();
    BindImg.Reset();
    folder = jwwtest::FreshFolder("pdf_printing");
    out = jwwtest::FreshFolder("pdf_printing_out");
    BindImg.TempFolder = jwwtest::FreshFolder("pdf_printing_images");
    form.TempSheetFolder = jwwtest::FreshFolder("pdf_printing_tmp");
    form.DestinationChecked.fill(false);  // the temporary folder
    form.PrintAfterSplit = true;
    form.NamingPattern = 2;
    form.FileList = {ThreeSheetDrawing(folder)};
    pdf = std::make_unique<TPdfFilePrinter>();  // after the application
    pdf->SetOutputFolder(out);
    SetCurrentPrinter(pdf.get());
  }
  void TearDown() override { SetCurrentPrinter(nullptr); }

  std::string folder, out;
  TForm1 form;
  std::unique_ptr<TPdfFilePrinter> pdf;
  WindowLikeHost host;
};

TEST_F(PdfPrinting, OneDocumentOfThreeSheetsHasThreePages) {
  form.OneDocument = 1;
  form.RunBatch(host);
  EXPECT_TRUE(host.informs.empty());
  EXPECT_FALSE(form.AbortRun);
  const auto files = PdfFiles(out);
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0].filename().string(), "Quillmoor 印刷.pdf");
  EXPECT_EQ(PdfPages(files[0]), 3);
}

TEST_F(PdfPrinting, OneJobPerSheetMakesThreeFiles) {
  form.OneDocument = 0;
  form.RunBatch(host);
  EXPECT_TRUE(host.informs.empty());
  const auto files = PdfFiles(out);
  ASSERT_EQ(files.size(), 3u);
  for (const auto& f : files) {
    EXPECT_EQ(f.filename().string().rfind("Quillmoor_", 0), 0u) << f;
    EXPECT_EQ(PdfPages(f), 1) << f;
  }
}

TEST_F(PdfPrinting, NothingToPrintLeavesNoFile) {
  jwwtest::JwwBuilder empty;
  form.FileList = {folder + "empty.jww"};
  empty.WriteFile(form.FileList[0], 700);
  form.OneDocument = 1;
  form.RunBatch(host);
  EXPECT_TRUE(PdfFiles(out).empty());
  EXPECT_TRUE(host.informs.empty());
}

TEST_F(PdfPrinting, AJobThatCannotBeginStopsWithTheReason) {
  pdf->SetOutputFolder(out + "missing/");
  for (int32_t oneDocument : {1, 0}) {
    host.informs.clear();
    form.OneDocument = oneDocument;
    // The failure of a sheet's own job is told in a message box.
    QStringList boxes;
    if (!oneDocument)
      WhenModal<QMessageBox>([&](QWidget* w) {
        auto* box = dynamic_cast<QMessageBox*>(w);
        boxes << box->windowTitle() + ":" + box->text();
        box->accept();
      });
    form.RunBatch(host);
    EXPECT_TRUE(form.AbortRun) << oneDocument;
    EXPECT_EQ(host.informs.size() + size_t(boxes.size()), 1u) << oneDocument;
    if (!oneDocument) EXPECT_EQ(boxes.value(0), QStringLiteral("Quillmoor:印刷できませんでした：PDFファイル"));
    else EXPECT_EQ(host.informs.at(0), Utf8ToSjis("印刷できませんでした：PDFファイル"));
  }
}

}  // namespace
