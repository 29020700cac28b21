#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <string>

#include "func.h"
#include "sjis.h"

namespace {

TEST(RoundToInt, HalfAwayFromZeroClampedAndNanSafe) {
  struct Case {
    double x;
    int32_t want;
  } cases[] = {
      {2.5, 3},
      {-2.5, -3},
      {-0.4, 0},
      {0.49, 0},
      {1e300, std::numeric_limits<int32_t>::max()},
      {-1e300, std::numeric_limits<int32_t>::min()},
      {2147483647.4, 2147483647},
      {-2147483648.4, -2147483647 - 1},
      {2147483647.6, 2147483647},
      {std::numeric_limits<double>::infinity(), std::numeric_limits<int32_t>::max()},
      {std::nan(""), 0},
      // Either side of the clamp and of a half.
      {2147483646.4, 2147483646},
      {2147483646.5, 2147483647},
      {-2147483647.5, -2147483647 - 1},
      {-2147483647.4, -2147483647},
      {0.49999999999999994, 1},  // x + 0.5 rounds up to 1 in doubles
      {-0.0, 0},
      {-std::numeric_limits<double>::infinity(), std::numeric_limits<int32_t>::min()},
  };
  for (const auto& c : cases) EXPECT_EQ(RoundToInt(c.x), c.want) << c.x;
}

TEST(RoundToDecimals, ModesAndFallbacks) {
  struct Case {
    int32_t n, mode;
    double x, want;
  } cases[] = {
      {2, 1, 1.231, 1.24},
      {2, 1, 1.23, 1.23},     // already on the step: not raised
      {2, 0, -1.239, -1.23},  // truncation toward zero
      {12, 2, 1.26, 1},       // more than 9 decimals: whole numbers
      {1, 2, -1.25, -1.3},    // symmetric about zero
      {1, 7, 1.25, 1.3},      // any other mode is half up
      {-3, 2, 7.5, 8},
      {0, 1, 3.00000000001, 3},  // within 1e-10 of a step stays
      {2, 2, 1e300, 1e300},      // far beyond any integer type
      {9, 0, -1e300, -1e300},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(RoundToDecimals(c.n, c.mode, c.x), c.want) << c.n << " " << c.mode << " " << c.x;
  }
}

TEST(StrToIntOrZero, Readings) {
  struct Case {
    std::string s;
    int32_t want;
  } cases[] = {
      {"", 0},
      {" 42", 42},
      {"42 ", 0},
      {"+7", 7},
      {"-7", -7},
      {"$1F", 31},
      {"x1f", 31},
      {"0x10", 16},
      {"0XfF", 255},
      {"-$10", -16},
      {"$FFFFFFFF", -1},
      {"$7FFFFFFF", 2147483647},
      {"$000000001", 1},  // leading zeros do not count against 32 bits
      {"$100000000", 0},
      {"$", 0},
      {"0x", 0},
      {"   ", 0},
      {"1 2", 0},
      {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1},
      {"2147483648", 0},
      {"-2147483649", 0},
      {"99999999999999999999", 0},
      {"$1G", 0},
      {"12a", 0},
      {"+-1", 0},
      {std::string("1\0", 2), 0},
      {std::string("\0" "1", 2), 0},
      {"\x82\x50", 0},  // full-width digit
  };
  for (const auto& c : cases) EXPECT_EQ(StrToIntOrZero(c.s), c.want) << "'" << c.s << "'";
}

TEST(StrToFloatOrZero, Readings) {
  struct Case {
    std::string s;
    double want;
  } cases[] = {
      {"", 0},
      {"1.5", 1.5},
      {"  -2.25", -2.25},
      {"-.5e1", -5},
      {".5", 0.5},
      {"5.", 5},
      {"1e3", 1000},
      {"2.5e-1", 0.25},
      {"1,5", 0},
      {"1.5 ", 0},
      {".", 0},
      {"-", 0},
      {"e5", 0},
      {"1e", 0},
      {"1e+", 0},
      {"+-1", 0},
      {"1.2.3", 0},
      {"1e400", 0},  // overflow is a failure
      {"1e-400", 0},
      {"inf", 0},
      {"NAN", 0},
      {"0x10", 0},
      {std::string("1\0", 2), 0},
      {"0.1", 0.1},
      {"123456789012345678901234567890", 123456789012345678901234567890.0},
  };
  for (const auto& c : cases) EXPECT_EQ(StrToFloatOrZero(c.s), c.want) << "'" << c.s << "'";
}

TEST(FormatDecimals, FixedAndGrouped) {
  struct Case {
    int32_t n;
    double x;
    const char* grouped;
    const char* fixed;
  } cases[] = {
      {2, 1234.5, "1,234.50", "1234.50"},
      {0, 1234.4, "1,234", "1234"},
      {0, 1234.5, "1,235", "1235"},  // exact tie: away from zero
      {0, -2.5, "-3", "-3"},
      {2, 0.125, "0.13", "0.13"},
      {2, 2.675, "2.67", "2.67"},  // the double lies below the tie
      {3, 12, "12.000", "12.000"},
      {2, 999.995, "1,000.00", "1000.00"},
      {0, 999999.5, "1,000,000", "1000000"},
      {2, -1234567.891, "-1,234,567.89", "-1234567.89"},
      {2, -0.001, "0.00", "0.00"},  // no "-0.00"
      {2, -0.0, "0.00", "0.00"},
      {-1, 7.6, "8", "8"},  // negative n counts as 0
      {1, 100, "100.0", "100.0"},
      {30, 1.0, "1.000000000000000000", "1.000000000000000000"},  // at most 18
      {0, 1e21, "1,000,000,000,000,000,000,000", "1000000000000000000000"},
      {2, std::numeric_limits<double>::infinity(), "INF", "INF"},
      {2, -std::numeric_limits<double>::infinity(), "-INF", "-INF"},
      {2, std::nan(""), "NAN", "NAN"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatNumberDecimals(c.n, c.x), c.grouped) << c.n << " " << c.x;
    EXPECT_EQ(FormatFixedDecimals(c.n, c.x), c.fixed) << c.n << " " << c.x;
  }
  EXPECT_EQ(FormatFixedDecimals(0, 1.7976931348623157e308).size(), 309u);
}

TEST(FormatDecimals, SettableSeparators) {
  ASSERT_EQ(NumberThousandsSeparator(), ',');
  ASSERT_EQ(NumberDecimalSeparator(), '.');
  EXPECT_TRUE(SetNumberFormatSeparators('.', ','));
  EXPECT_EQ(FormatNumberDecimals(2, 1234567.5), "1.234.567,50");
  EXPECT_EQ(FormatFixedDecimals(2, 1234567.5), "1234567.50");  // never affected
  EXPECT_TRUE(SetNumberFormatSeparators('\0', '.'));
  EXPECT_EQ(FormatNumberDecimals(1, 1234567.5), "1234567.5");
  // Refused: same character twice, digits, lead bytes, no decimal point.
  EXPECT_FALSE(SetNumberFormatSeparators(',', ','));
  EXPECT_FALSE(SetNumberFormatSeparators('1', '.'));
  EXPECT_FALSE(SetNumberFormatSeparators('\x81', '.'));
  EXPECT_FALSE(SetNumberFormatSeparators(',', '\0'));
  EXPECT_EQ(NumberThousandsSeparator(), '\0');
  EXPECT_EQ(NumberDecimalSeparator(), '.');
  EXPECT_TRUE(SetNumberFormatSeparators(',', '.'));
}

TEST(TextToBool, WordsAfterSpacesAreRemoved) {
  struct Case {
    std::string s;
    bool want;
  } cases[] = {
      {" t r u e ", true},
      {"T", true},
      {"Tru", true},
      {"1", true},
      {"\t1\r\n", true},
      {Utf8ToSjis("１"), true},
      {Utf8ToSjis("○"), true},
      {Utf8ToSjis("真"), true},
      {Utf8ToSjis("　正　"), true},  // full-width blanks go too
      {"YES", false},
      {"TRUE1", false},
      {"0", false},
      {"", false},
      {"OFF", false},
      {Utf8ToSjis("ｔｒｕｅ"), false},
      {"\x82\x50\x82", false},  // a stray lead byte is kept
  };
  for (const auto& c : cases) EXPECT_EQ(TextToBool(c.s), c.want) << "'" << c.s << "'";
  EXPECT_EQ(BoolTo01(true), "1");
  EXPECT_EQ(BoolTo01(false), "0");
}

TEST(TextToBool, ListedWordsHaveTheirCp932Bytes) {
  EXPECT_EQ(Utf8ToSjis("１"), "\x82\x50");
  EXPECT_EQ(Utf8ToSjis("○"), "\x81\x9B");
  EXPECT_EQ(Utf8ToSjis("真"), "\x90\x5E");
  EXPECT_EQ(Utf8ToSjis("正"), "\x90\xB3");
}

TEST(VectorAngle, RangeZeroToTwoPi) {
  constexpr double pi = std::numbers::pi;
  EXPECT_DOUBLE_EQ(VectorAngle(0, -1), 3 * pi / 2);
  EXPECT_EQ(VectorAngle(1e-15, -1e-15), 0);
  EXPECT_DOUBLE_EQ(VectorAngle(-1, 0), pi);
  EXPECT_DOUBLE_EQ(VectorAngle(-1, -0.0), pi);
  EXPECT_EQ(VectorAngle(1, 0), 0);
  // A tiny negative angle would round to 2*pi, which lies outside [0, 2*pi).
  const double a = VectorAngle(1, -1e-17);
  EXPECT_GE(a, 0);
  EXPECT_LT(a, 2 * pi);
}

}  // namespace
