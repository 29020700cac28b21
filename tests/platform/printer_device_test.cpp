#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPainter>
#include <QPrinter>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "system_reason.h"
#include "qt_printer_device.h"
#include "sjis.h"
#include "xdg_folders.h"

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
  // A4 portrait, exactly 210 x 297 mm: 20 pixels a millimetre.
  EXPECT_EQ(pdf.DpiX(), 508);
  EXPECT_EQ(pdf.DpiY(), 508);
  EXPECT_EQ(pdf.PhysicalWidthPx(), 4200);
  EXPECT_EQ(pdf.PhysicalHeightPx(), 5940);
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

TEST(PdfFilePrinter, MissingFolderFailsTheJobWithTheSystemsReason) {
  EnsureGuiApplication();
  TPdfFilePrinter pdf;
  pdf.SetOutputFolder((FreshFolder("pdf_printer_gone") / "missing").string());
  EXPECT_FALSE(pdf.BeginDoc("x"));
  EXPECT_FALSE(pdf.Printing());
  EXPECT_EQ(pdf.FailureReason(), SystemErrorText(ENOENT));
  EXPECT_EQ(pdf.OutputFileFolder(), "");
}

// Without a folder of its own the printer writes into the documents folder,
// made when missing, else into the home folder.
TEST(PdfFilePrinter, WritesIntoTheDocumentsFolderElseHome) {
  EnsureGuiApplication();
  const std::string root = FreshFolder("pdf_printer_xdg").string() + "/";
  const std::string home = root + "home〜ü한";
  std::filesystem::create_directories(home);
  std::ofstream(root + "file") << "not a folder";
  const std::string keptHome = std::getenv("HOME") ? std::getenv("HOME") : "";
  ::setenv("HOME", home.c_str(), 1);
  XdgFolders xdg(root);
  // The documents folder in user-dirs.dirs, under root, and the folder of the file.
  const std::pair<std::string, std::string> cases[] = {{"docs〜/new", root + "docs〜/new"}, {"file/docs", home}};
  for (const auto& [documents, expected] : cases) {
    std::ofstream(root + "user-dirs.dirs") << "XDG_DOCUMENTS_DIR=\"" << root << documents << "\"\n";
    TPdfFilePrinter pdf;
    ASSERT_TRUE(pdf.BeginDoc("sheet")) << documents << ": " << pdf.FailureReason();
    ASSERT_TRUE(pdf.EndDoc());
    EXPECT_EQ(pdf.OutputFileFolder(), expected);
    EXPECT_TRUE(std::filesystem::exists(expected + "/sheet.pdf")) << documents;
  }
  ::setenv("HOME", keptHome.c_str(), 1);
}

// Printing to a file chosen in the print dialog: the chosen file may be
// replaced, but each later document gets a file of its own beside it.
TEST(QtPrinterDevice, PrintingToAFileNeverReplacesAFileItWrote) {
  EnsureGuiApplication();
  const auto dir = FreshFolder("print_to_file");
  std::ofstream(dir / "sheets.pdf") << "old";
  std::ofstream(dir / "sheets (2).pdf") << "keep";
  TQtPrinterDevice device;
  ASSERT_TRUE(device.SetPrinterIndex(-1));  // a printer, not the PDF file printer
  ASSERT_FALSE(device.IsPdfFilePrinter());
  device.QtPrinter()->setOutputFileName(QString::fromStdString((dir / "sheets.pdf").string()));
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(device.BeginDoc("sheet")) << device.FailureReason();
    device.Painter()->drawLine(0, 0, 100, 100);
    ASSERT_TRUE(device.EndDoc());
    EXPECT_EQ(device.OutputFileFolder(), dir.string());
  }
  for (const char* name : {"sheets.pdf", "sheets (3).pdf", "sheets (4).pdf"})
    EXPECT_EQ(ReadHead(dir / name, 4), "%PDF") << name;
  EXPECT_EQ(ReadHead(dir / "sheets (2).pdf", 10), "keep");
}

TEST(QtPrinterDevice, TheFilePrinterIsAlwaysListedLast) {
  EnsureGuiApplication();
  TQtPrinterDevice device;
  const std::vector<std::string> names = device.PrinterNames();
  ASSERT_FALSE(names.empty());
  EXPECT_EQ(names.back(), kPdfPrinterName);
  ASSERT_TRUE(device.SetPrinterIndex(static_cast<int32_t>(names.size() - 1)));
  EXPECT_TRUE(device.IsPdfFilePrinter());
  EXPECT_EQ(device.PhysicalWidthPx(), 4200);
}

TEST(SystemPrinterDevice, AlwaysHasAPrinter) {
  EnsureGuiApplication();
  auto device = CreateSystemPrinterDevice();
  ASSERT_NE(device, nullptr);
  EXPECT_FALSE(device->PrinterNames().empty());
  EXPECT_GT(device->DpiX(), 0);
  EXPECT_GT(device->PhysicalWidthPx(), 0);
}
