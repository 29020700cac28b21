#include <gtest/gtest.h>

#include <QGuiApplication>

#include "qt_printer_settings.h"
#include "sjis.h"

namespace {

void EnsureGuiApplication() {
  if (QCoreApplication::instance()) return;
  static int argc = 1;
  static char name[] = "platform_tests";
  static char* argv[] = {name, nullptr};
  new QGuiApplication(argc, argv);  // lives for the rest of the process
}

TEST(PrinterSettings, WindowsCodesThroughAQtPrinter) {
  EnsureGuiApplication();
  struct TCase {
    const char* name;
    TDevModeValues in;
    bool withDimensions;
    TDevModeValues out;  // scale and y resolution come back as kept
  } cases[] = {
      {"a3Landscape", {2, 8, 1, 1, 90, 600, 300, 2, 0, 1}, false, {2, 8, 4200, 2970, 90, 600, 300, 2, 1, 1}},
      {"a4Portrait", {1, 9, 0, 0, 100, 300, 150, 1, 0, 0}, false, {1, 9, 2970, 2100, 100, 300, 150, 1, 1, 0}},
      {"custom", {1, 0, 3000, 1500, 100, 1200, 1200, 1, 0, 0}, true, {1, 0, 3000, 1500, 100, 1200, 1200, 1, 1, 0}},
      // Unknown paper, orientation, quality, colour, duplex and collate leave
      // what the printer had (the custom page above).
      {"unknown", {7, 777, 9, 9, 5, -2, 5, 9, 0, 5}, true, {1, 0, 3000, 1500, 5, 1200, 5, 1, 1, 0}},
      // Paper 0 without its dimensions also leaves the page.
      {"customWithoutDimensions", {2, 0, 500, 500, 100, 300, 300, 2, 0, 0}, false, {2, 0, 3000, 1500, 100, 300, 300, 2, 1, 0}},
  };
  TPdfFilePrinter pdf;
  TQtPrinterSettings settings(pdf);
  EXPECT_EQ(settings.PrinterNames(), std::vector<std::string>{kPdfPrinterName});  // counts as installed
  EXPECT_EQ(SjisToUtf8(kPdfPrinterName), "PDFファイル");
  for (const TCase& c : cases) {
    ASSERT_TRUE(settings.WriteDevMode(c.in, c.withDimensions));
    TDevModeValues v;
    ASSERT_TRUE(settings.ReadDevMode(v));
    EXPECT_EQ(v.Orientation, c.out.Orientation) << c.name;
    EXPECT_EQ(v.PaperSize, c.out.PaperSize) << c.name;
    EXPECT_EQ(v.PaperLength, c.out.PaperLength) << c.name;
    EXPECT_EQ(v.PaperWidth, c.out.PaperWidth) << c.name;
    EXPECT_EQ(v.Scale, c.out.Scale) << c.name;
    EXPECT_EQ(v.PrintQuality, c.out.PrintQuality) << c.name;
    EXPECT_EQ(v.YResolution, c.out.YResolution) << c.name;
    EXPECT_EQ(v.Color, c.out.Color) << c.name;
    EXPECT_EQ(v.Collate, c.out.Collate) << c.name;
  }
}

// The PDF file printer's pages measure their own size in millimetres,
// whatever print quality the settings file brings (it is kept, not used).
TEST(PrinterSettings, FilePrinterPagesAreWholeMillimetres) {
  EnsureGuiApplication();
  struct TCase {
    TDevModeValues in;
    int32_t widthPx, heightPx;  // 20 pixels a millimetre
  } cases[] = {{{1, 9, 0, 0, 100, 600, 600, 1, 0, 0}, 4200, 5940},
               {{2, 9, 0, 0, 100, 300, 300, 1, 0, 0}, 5940, 4200},
               {{1, 8, 0, 0, 100, 1200, 1200, 1, 0, 0}, 5940, 8400}};
  TPdfFilePrinter pdf;
  TQtPrinterSettings settings(pdf);
  for (const TCase& c : cases) {
    ASSERT_TRUE(settings.WriteDevMode(c.in, false));
    EXPECT_EQ(pdf.DpiX(), 508);
    EXPECT_EQ(pdf.PhysicalWidthPx(), c.widthPx) << c.in.PaperSize;
    EXPECT_EQ(pdf.PhysicalHeightPx(), c.heightPx) << c.in.PaperSize;
    EXPECT_EQ(pdf.PageWidthPx(), c.widthPx);
    TDevModeValues back;
    ASSERT_TRUE(settings.ReadDevMode(back));
    EXPECT_EQ(back.PrintQuality, c.in.PrintQuality);
  }
}

TEST(PrinterSettings, DuplexCodesAndInt16Range) {
  for (int32_t code : {1, 2, 3}) {
    QPrinter::DuplexMode mode = QPrinter::DuplexAuto;
    ASSERT_TRUE(QtDuplexMode(code, mode));
    EXPECT_EQ(WindowsDuplexCode(mode, 1), code);
  }
  QPrinter::DuplexMode untouched = QPrinter::DuplexAuto;
  EXPECT_FALSE(QtDuplexMode(0, untouched));
  EXPECT_FALSE(QtDuplexMode(4, untouched));
  EXPECT_EQ(untouched, QPrinter::DuplexAuto);
  EXPECT_EQ(WindowsDuplexCode(QPrinter::DuplexAuto, 2), 3);
  EXPECT_EQ(ClampInt16(70000), 32767);
  EXPECT_EQ(ClampInt16(-70000), -32768);
}

}  // namespace
