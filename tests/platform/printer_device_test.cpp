#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPainter>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "qt_printer_device.h"
#include "sjis.h"

namespace {

void EnsureGuiApplication() {
  if (QCoreApplication::instance()) return;
  static int argc = 1;
  static char name[] = "platform_tests";
  static char* argv[] = {name, nullptr};
  new QGuiApplication(argc, argv);  // lives for the rest of the process
}

std::string ReadHead(const std::filesystem::path& p, size_t n) {
  std::ifstream in(p, std::ios::binary);
  std::string s(n, '\0');
  in.read(s.data(), static_cast<std::streamsize>(n));
  s.resize(static_cast<size_t>(in.gcount()));
  return s;
}

std::filesystem::path FreshFolder(const char* name) {
  const auto dir = std::filesystem::path(::testing::TempDir()) / name;
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

}  // namespace

TEST(PdfFilePrinter, WritesOnePdfPerDocumentIntoTheGivenFolder) {
  EnsureGuiApplication();
  const auto dir = FreshFolder("pdf_printer");
  TPdfFilePrinter pdf;
  pdf.SetOutputFolder(dir.string());
  EXPECT_EQ(pdf.PrinterNames(), std::vector<std::string>{kPdfPrinterName});
  EXPECT_EQ(pdf.PrinterIndex(), 0);
  EXPECT_EQ(pdf.DpiX(), 600);
  EXPECT_EQ(pdf.DpiY(), 600);
  // A4 portrait: 210 x 297 mm is about 4960 x 7016 pixels at 600 dpi.
  EXPECT_NEAR(pdf.PhysicalWidthPx(), 4960, 3);
  EXPECT_NEAR(pdf.PhysicalHeightPx(), 7016, 3);
  EXPECT_EQ(pdf.PageWidthPx(), pdf.PhysicalWidthPx());
  EXPECT_EQ(pdf.PageHeightPx(), pdf.PhysicalHeightPx());

  EXPECT_EQ(pdf.Painter(), nullptr);
  EXPECT_FALSE(pdf.NewPage());
  ASSERT_TRUE(pdf.BeginDoc(Utf8ToSjis("Quillmoor 印刷")));
  EXPECT_FALSE(pdf.BeginDoc("again"));
  EXPECT_FALSE(pdf.SetPrinterIndex(0));  // not while printing
  ASSERT_NE(pdf.Painter(), nullptr);
  pdf.Painter()->drawLine(0, 0, 1000, 1000);
  ASSERT_TRUE(pdf.EndDoc());
  EXPECT_FALSE(pdf.EndDoc());

  const std::filesystem::path file = pdf.LastOutputPath();  // native
  EXPECT_EQ(file.parent_path(), dir);
  EXPECT_EQ(file.filename().string(), "Quillmoor 印刷.pdf");
  ASSERT_TRUE(std::filesystem::exists(file));
  EXPECT_EQ(ReadHead(file, 4), "%PDF");
}

TEST(PdfFilePrinter, TitleCannotLeaveTheFolderNorReplaceAFile) {
  EnsureGuiApplication();
  const auto dir = FreshFolder("pdf_printer_names");
  TPdfFilePrinter pdf;
  pdf.SetOutputFolder(dir.string());
  for (int i = 0; i < 2; ++i) {
    ASSERT_TRUE(pdf.BeginDoc("../up/x"));
    ASSERT_TRUE(pdf.EndDoc());
  }
  EXPECT_TRUE(std::filesystem::exists(dir / "document.._up_x.pdf"));
  EXPECT_TRUE(std::filesystem::exists(dir / "document.._up_x (2).pdf"));
  size_t files = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir)) files += e.is_regular_file();
  EXPECT_EQ(files, 2u);
  EXPECT_FALSE(std::filesystem::exists(dir.parent_path() / "up"));
}

TEST(PdfFilePrinter, MissingFolderFailsTheJob) {
  EnsureGuiApplication();
  TPdfFilePrinter pdf;
  pdf.SetOutputFolder((FreshFolder("pdf_printer_gone") / "missing").string());
  EXPECT_FALSE(pdf.BeginDoc("x"));
  EXPECT_FALSE(pdf.Printing());
}

TEST(SystemPrinterDevice, AlwaysHasAPrinter) {
  EnsureGuiApplication();
  auto device = CreateSystemPrinterDevice();
  ASSERT_NE(device, nullptr);
  EXPECT_FALSE(device->PrinterNames().empty());
  EXPECT_GT(device->DpiX(), 0);
  EXPECT_GT(device->PhysicalWidthPx(), 0);
}
