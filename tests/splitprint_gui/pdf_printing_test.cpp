// The whole run as the window makes it, printing on the built-in PDF
// printer: the order dialog answered, one document or one job per sheet,
// pages counted with pdfinfo and the ink of every page measured.
#include <gtest/gtest.h>

#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "system_reason.h"
#include "batch_host.h"
#include "bind_images.h"
#include "form1_state.h"
#include "gval.h"
#include "print_gui_support.h"
#include "print_run_support.h"
#include "print_order_dialog.h"
#include "qt_printer_device.h"
#include "sheet_dialogs.h"
#include "sheet_output.h"
#include "unit_print.h"

using namespace printgui;

namespace {

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
  EXPECT_EQ(SjisToUtf8(host.status), "実行完了(1)　PDFファイルの保存先：" + files[0].parent_path().string());
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

// Sheets named with characters Shift-JIS lacks keep their names in the
// files, each its own.
TEST_F(PdfPrinting, FilesKeepTheSheetsRealNames) {
  form.OneDocument = 0;
  form.NamingPattern = 0;  // number, separator, drawing name
  form.FileList = {ThreeSheetDrawing(folder, "평면도.jww")};
  form.RunBatch(host);
  const auto files = PdfFiles(out);
  ASSERT_EQ(files.size(), 3u);
  for (size_t i = 0; i < 3; ++i) EXPECT_EQ(files[i].filename().string(), "Quillmoor_" + std::to_string(i + 1) + "_평면도.jww.pdf");
}

// Each way, run twice with the same printer.
TEST_F(PdfPrinting, EveryPageOfEveryRunShowsItsSheetInPlace) {
  for (int32_t oneDocument : {0, 1}) {
    SCOPED_TRACE(oneDocument ? "one document" : "one job per sheet");
    std::filesystem::remove_all(out);
    std::filesystem::create_directories(out);
    form.OneDocument = oneDocument;
    form.RunBatch(host);
    form.RunBatch(host);
    EXPECT_TRUE(host.informs.empty());
    ASSERT_EQ(PdfFiles(out).size(), oneDocument ? 2u : 6u);
    ExpectSheetsInPlace(PdfFiles(out), true);
  }
}

// "Print to file" chosen in the print dialog: a file for every sheet.
TEST_F(PdfPrinting, PrintingToAFileKeepsEverySheet) {
  TQtPrinterDevice device;
  ASSERT_TRUE(device.SetPrinterIndex(-1));
  device.QtPrinter()->setOutputFileName(QString::fromStdString(out + "sheets.pdf"));
  SetCurrentPrinter(&device);
  form.OneDocument = 0;
  form.RunBatch(host);
  EXPECT_TRUE(host.informs.empty());
  const auto files = PdfFiles(out);
  ASSERT_EQ(files.size(), 3u);
  EXPECT_EQ(files[0].filename().string(), "sheets (2).pdf");
  EXPECT_EQ(files[2].filename().string(), "sheets.pdf");
  ExpectSheetsInPlace(files, false);
}

// Fitted printing turned: the turned drawing fills the page, centred.
TEST_F(PdfPrinting, FitPrintingFitsTheTurnedDrawing) {
  const double cases[][3] = {{100, 300, 90}, {420, 297, 90}, {100, 300, 30}};  // width, height, degrees
  form.PrintMethod = 1;
  form.FileList = {folder + "box.jww"};
  for (const auto& [w, h, degrees] : cases) {
    std::filesystem::remove_all(out);
    std::filesystem::create_directories(out);
    jwwtest::JwwBuilder b = ShownDrawing();  // crossed diagonals, no frame: printed whole
    b.AddLine(jwwtest::MakeLine(0, 0, w, h));
    b.AddLine(jwwtest::MakeLine(w, 0, 0, h));
    ASSERT_TRUE(b.WriteFile(form.FileList[0], 700));
    form.Rotation = degrees;
    form.RunBatch(host);
    const TPageInk p = PdfPageInk(PdfFiles(out).at(0).string()).at(0);
    SCOPED_TRACE(::testing::Message() << w << " x " << h << " turned " << degrees << ": " << p);
    const double a = degrees * 3.14159265358979 / 180, sa = std::fabs(std::sin(a)), ca = std::fabs(std::cos(a));
    const double tw = w * ca + h * sa, th = w * sa + h * ca;
    const double scale = std::min(GetPageWidthMm() / (tw * 1.01), GetPageHeightMm() / (th * 1.01));
    EXPECT_NEAR(p.Right - p.Left, tw * scale, 1.5);
    EXPECT_NEAR(p.Bottom - p.Top, th * scale, 1.5);
    EXPECT_NEAR((p.Left + p.Right) / 2, p.PageWidthMm / 2, 1.0);
    EXPECT_NEAR((p.Top + p.Bottom) / 2, p.PageHeightMm / 2, 1.0);
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
    // The system's reason, and no Escape that nobody pressed.
    const std::string told = "印刷できませんでした：PDFファイル\r\n" + SjisToUtf8(SystemErrorText(ENOENT));
    if (!oneDocument) EXPECT_EQ(boxes.value(0), QString::fromStdString("Quillmoor:" + told).replace("\r\n", "\n"));
    else EXPECT_EQ(host.informs.at(0), Utf8ToSjis(told));
    EXPECT_EQ(SjisToUtf8(host.status), "印刷できなかったため実行を中断しました") << oneDocument;
  }
}

}  // namespace
