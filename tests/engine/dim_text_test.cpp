#include "dim_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "func.h"
#include "sjis.h"

namespace {

// The value text of a horizontal line of the given length under the identity.
std::string ValueText(uint16_t format, uint16_t sign, double length, double factor = 1) {
  std::string t = "old";
  FormatDimensionText(format, sign, t, 0, 0, length, 0, factor, 0, 0, 1, 0, 0, 1, 1);
  return SjisToUtf8(t);
}

struct TRow {
  uint16_t format;
  uint16_t sign;
  double length;
  double factor;
  const char* expected;  // UTF-8
};

TEST(DimensionText, FormatWords) {
  const TRow rows[] = {
      {0x0000, 0, 1234.5, 1, "1235"},        // N = 0 rounds to whole numbers too
      {0x0100, 0, 1234.56, 1, "1234"},
      {0x0000, 0, 1000.0 / 3, 1, "333"},     {0x0140, 0, 1234.7, 1, "1,234"}, {0x0280, 0, 1234.2, 1, "1235"},
      {0x2040, 0, 1234.5, 1, "1,234.5"},     // separators, trailing zeros stripped
      {0x20C0, 0, 1234.5, 1, "1,234.50"},    // zeros kept
      {0x3040, 0, 12, 1, "12."},             // the point survives stripping
      {0x0040, 0, 1234.5, 1, "1,235"},       // N = 0, half up, no point to strip from
      {0x2080, 0, 1234.5, 1, "1234.50"},     // fixed: no separators
      {0x0040, 0, 1234567.4, 1, "1,234,567"},
      {0x2000, 0, 1234.5678, 1, "1234.57"},  // general form after rounding
      {0x0000, 0, 0, 1, "0"},                // zero-length line
      {0x3040, 0, 0, 1, "0."},
      {0x0030, 0, 2500, 1, "3ｍ"},
      {0x0020, 0, 2500, 1, "2500mm"},
      {0x0010, 0, 2500, 1, "3"},
      {0x0000, 0, 10, 50, "500"},            // the layer group's scale
      {0x0000, 0, 10, -1, "10"},             // a factor not positive counts as 1
      {0x0000, 0, 10, 0, "10"},
      {0x0000, 0, 10, std::numeric_limits<double>::quiet_NaN(), "10"},
      // N is (word div 4096) mod 10: 0xC000 is field 12, two decimals.
      {0xC000, 0, 1.23456, 1, "1.23"},
  };
  for (const TRow& r : rows) {
    EXPECT_EQ(ValueText(r.format, r.sign, r.length, r.factor), r.expected)
        << std::hex << r.format << " " << r.length;
  }
}

TEST(DimensionText, RoundingModes) {
  // 12.349 with two decimals; the format word's 0x2000 gives N = 2.
  const struct {
    uint16_t bits;
    const char* expected;
  } rows[] = {{0x0100, "12.34"}, {0x0200, "12.35"}, {0x0300, "12.35"}, {0x0000, "12.35"}};
  for (const auto& r : rows) EXPECT_EQ(ValueText(0x2000 | r.bits, 0, 12.349), r.expected) << r.bits;
  // Round up leaves a value already on the step alone.
  EXPECT_EQ(ValueText(0x2200, 0, 12.5), "12.5");
}

TEST(DimensionText, SignsAndFullWidth) {
  const TRow rows[] = {
      {0x0400, 0x0100, 10, 1, "R10"},
      {0x0800, 0x0100, 10, 1, "10R"},
      {0x0000, 0x0100, 10, 1, "10"},        // no place for the sign
      {0x0C00, 0x0100, 10, 1, "R10"},       // front wins
      {0x0400, 0x0300, 10, 1, "R10"},       // radius before diameter
      {0x0400, 0x0200, 10, 1, "φ10"},
      {0x0400, 0x00FF, 10, 1, "10"},        // other sign bits are not read
      {0x0428, 0x0200, 12, 1, "φ１２mm"},   // converted with the sign, unit half width
      {0x1038, 0, 2500, 1, "２．５ｍ"},
  };
  for (const TRow& r : rows) {
    EXPECT_EQ(ValueText(r.format, r.sign, r.length, r.factor), r.expected)
        << std::hex << r.format << " " << r.sign;
  }
}

TEST(DimensionText, LengthIsTakenAfterTheMap) {
  std::string t;
  // Line (0,0)-(3,4) under a scaling by 2 with divisor 1: length 10.
  FormatDimensionText(0, 0, t, 0, 0, 3, 4, 1, 7, 9, 2, 0, 0, 2, 1);
  EXPECT_EQ(t, "10");
  // The divisor shrinks it again; the translation plays no part.
  FormatDimensionText(0x1000, 0, t, 0, 0, 3, 4, 1, 100, -50, 2, 0, 0, 2, 4);
  EXPECT_EQ(t, "2.5");
  // A rotation keeps the length.
  const double c = std::cos(0.7), s = std::sin(0.7);
  FormatDimensionText(0x1040, 0, t, 0, 0, 3, 4, 1, 0, 0, c, -s, s, c, 1);
  EXPECT_EQ(t, "5.");
}

TEST(DimensionText, UsesTheConfiguredSeparators) {
  ASSERT_TRUE(SetNumberFormatSeparators('.', ','));
  const std::string grouped = ValueText(0x20C0, 0, 1234.5);
  const std::string stripped = ValueText(0x2040, 0, 1234);
  const std::string general = ValueText(0x1000, 0, 2.5);
  ASSERT_TRUE(SetNumberFormatSeparators(',', '.'));
  EXPECT_EQ(grouped, "1.234,50");
  EXPECT_EQ(stripped, "1.234,");  // stripping looks for the configured point
  EXPECT_EQ(general, "2,5");
}

TEST(DimensionText, UnreasonableValuesStayBounded) {
  std::string t;
  FormatDimensionText(0x9448, 0x0100, t, 0, 0, 1e8, 0, 1e290, 0, 0, 1, 0, 0, 1, 1);
  EXPECT_GT(t.size(), 255u);
  const std::string cut = CutToContentLength(t);
  EXPECT_LE(cut.size(), 255u);
  EXPECT_TRUE(IsValidSjis(cut));  // no double-byte character split
  // An infinite end gives no length (0 times infinity on the other axis).
  FormatDimensionText(0, 0, t, 0, 0, std::numeric_limits<double>::infinity(), 0, 1, 0, 0, 1, 0, 0, 1, 1);
  EXPECT_EQ(t, "NAN");
}

TEST(GeneralNumber, Forms) {
  const struct {
    double v;
    const char* expected;
  } rows[] = {
      {0, "0"},        {-0.0, "0"},         {12, "12"},         {-2.5, "-2.5"},
      {0.1 + 0.2, "0.3"}, {0.0001, "0.0001"}, {1e-5, "1E-5"},    {123456789012345.0, "123456789012345"},
      {1e15, "1E15"},  {-1.5e20, "-1.5E20"}, {1.0 / 3, "0.333333333333333"},
  };
  for (const auto& r : rows) EXPECT_EQ(FormatGeneralNumber(r.v), r.expected) << r.v;
  EXPECT_EQ(FormatGeneralNumber(2.5, ','), "2,5");
}

}  // namespace
