#include <gtest/gtest.h>

#include "fake_printer.h"
#include "sjis.h"
#include "unit_print.h"

namespace {

class UnitPrint : public ::testing::Test {
 protected:
  void SetUp() override { SetCurrentPrinter(&printer); }
  void TearDown() override { SetCurrentPrinter(nullptr); }
  TFakePrinter printer;
};

}  // namespace

TEST_F(UnitPrint, MillimetresToTheHundredth) {
  struct Case {
    int32_t px, dpi;
    double mm;
  };
  const Case cases[] = {
      {4960, 600, 209.97},  // 20997.33 + 0.5 truncated
      {7016, 600, 297.01},  // 29701.87 + 0.5 truncated
      {4961, 600, 210.02},  // 21001.57 + 0.5 truncated
      {3, 254, 0.3},
      {0, 600, 0},
      {4960, 0, 0},  // no resolution: no size, no division by zero
  };
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(PixelsToMm(c.px, c.dpi), c.mm) << c.px << " @ " << c.dpi;
}

TEST_F(UnitPrint, SizesComeFromTheCurrentPrinterOnEveryCall) {
  printer.Dpi[0] = 600;
  printer.Dpi[1] = 300;
  printer.Physical[0] = 4960;
  printer.Physical[1] = 3508;
  printer.Page[0] = 4800;
  printer.Page[1] = 3400;
  EXPECT_EQ(GetPrinterDpiX(), 600);
  EXPECT_EQ(GetPrinterDpiY(), 300);
  EXPECT_EQ(GetPhysicalWidthPx(), 4960);
  EXPECT_EQ(GetPhysicalHeightPx(), 3508);
  EXPECT_DOUBLE_EQ(GetPhysicalWidthMm(), 209.97);
  EXPECT_DOUBLE_EQ(GetPhysicalHeightMm(), 297.01);  // y uses the y resolution
  EXPECT_EQ(GetPageWidthPx(), 4800);
  EXPECT_EQ(GetPageHeightPx(), 3400);
  EXPECT_DOUBLE_EQ(GetPageWidthMm(), 203.2);
  EXPECT_DOUBLE_EQ(GetPageHeightMm(), 287.87);
  printer.Physical[0] = 2480;
  EXPECT_EQ(GetPhysicalWidthPx(), 2480);  // nothing cached
}

TEST_F(UnitPrint, PrinterName) {
  printer.Names = {"first", "second"};
  printer.Index = 1;
  EXPECT_EQ(GetPrinterName(), "second");
  printer.Index = -1;
  EXPECT_EQ(SjisToUtf8(GetPrinterName()), "<標準プリンタ>");
  printer.Index = 5;  // out of the list
  EXPECT_EQ(SjisToUtf8(GetPrinterName()), "<標準プリンタ>");
}

TEST_F(UnitPrint, TitleIsCutTo31BytesOnACharacterBoundary) {
  const std::string forty(40, 'a');
  ASSERT_TRUE(PrintBeginDoc(forty));
  ASSERT_TRUE(PrintEndDoc());
  // 30 single bytes, then a double-byte character on bytes 31 and 32.
  const std::string split = std::string(30, 'b') + Utf8ToSjis("図面");
  ASSERT_TRUE(PrintBeginDoc(split));
  ASSERT_TRUE(PrintEndDoc());
  ASSERT_EQ(printer.Titles.size(), 2u);
  EXPECT_EQ(printer.Titles[0], std::string(31, 'a'));
  EXPECT_EQ(printer.Titles[1], std::string(30, 'b'));
}

// The real name beside the title keeps the characters the title kept.
TEST_F(UnitPrint, RealNameIsCutToTheTitlesCharacters) {
  const struct { std::string name, fileTitle; } cases[] = {
      {"Quillmoor_평면도평면도평면도평면도평면도평면도평면도평면도", "Quillmoor_평면도평면도평면도평면도평면도평면도평면도"},
      {"Quillmoor_平面図平面図平面図平面図", "Quillmoor_平面図平面図平面図平"},  // two bytes each in the title
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(PrintBeginDoc(Utf8ToSjis(c.name), c.name));
    ASSERT_TRUE(PrintEndDoc());
    EXPECT_EQ(printer.FileTitles.back(), c.fileTitle);
  }
}

TEST_F(UnitPrint, JobErrorsReachTheCaller) {
  EXPECT_FALSE(PrintNewPage());  // no document
  EXPECT_FALSE(PrintEndDoc());
  ASSERT_TRUE(PrintBeginDoc("job"));
  EXPECT_FALSE(PrintBeginDoc("second job"));  // a document is already open
  EXPECT_TRUE(PrintNewPage());
  EXPECT_TRUE(PrintEndDoc());
  EXPECT_EQ(printer.Pages, 2);
}

// With no printer, or one that reports no page, the unit still has a page:
// A4 portrait. A print-origin frame is then a whole A4 page, never 0 x 0.
TEST_F(UnitPrint, WithoutAPrinterThePageIsA4) {
  TFakePrinter noPage;
  noPage.Dpi[0] = noPage.Dpi[1] = 0;
  for (TFakePrinter* device : {static_cast<TFakePrinter*>(nullptr), &noPage}) {
    SetCurrentPrinter(device);
    EXPECT_DOUBLE_EQ(GetPhysicalWidthMm(), 210);
    EXPECT_DOUBLE_EQ(GetPhysicalHeightMm(), 297);
    EXPECT_DOUBLE_EQ(GetPageWidthMm(), 210);
    EXPECT_DOUBLE_EQ(GetPageHeightMm(), 297);
  }
  SetCurrentPrinter(nullptr);
  EXPECT_FALSE(PrintBeginDoc("job"));  // nothing to print on
}
