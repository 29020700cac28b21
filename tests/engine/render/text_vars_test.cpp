#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "gval.h"
#include "render/text_vars.h"
#include "sjis.h"

namespace {

// Day numbers of the date-time values (days since 1899-12-30).
constexpr double k1989Jan07 = 32515, k1989Jan08 = 32516;
constexpr double k2019Apr30 = 43585, k2019May01 = 43586;
constexpr double k2024Mar05 = 45356;  // a Tuesday
constexpr double k1868Sep07 = -11436, k1868Sep08 = -11435;

// Before 1899-12-30 the time of day counts away from zero.
double At(double day, int h, int m, int s) {
  const double f = (h * 3600 + m * 60 + s) / 86400.0;
  return day < 0 ? day - f : day + f;
}

class TextVarsTest : public ::testing::Test {
 protected:
  void SetUp() override { Gval.Reset(); }
  void TearDown() override {
    SetTextVariableClock(nullptr);
    Gval.Reset();
  }
  void Now(double v) {
    SetTextVariableClock([v] { return v; });
  }
  // The value of a code (UTF-8 in, UTF-8 out); "<none>" when it is no variable.
  static std::string Value(const std::string& code) {
    std::string t = Utf8ToSjis(code);
    if (!ExpandTextVariable(t)) return t == Utf8ToSjis(code) ? "<none>" : "<changed>";
    return SjisToUtf8(t);
  }
  struct Case {
    const char* code;
    const char* value;
  };
  static void Check(std::initializer_list<Case> cases) {
    for (const Case& c : cases) EXPECT_EQ(Value(c.code), c.value) << c.code;
  }
};

TEST_F(TextVarsTest, EraChangesOnItsFirstDay) {
  struct Row {
    double day;
    const char* japanese;  // "$J"
    const char* eraYear;   // "%Y"
  };
  const Row rows[] = {
      {k1989Jan07, "昭和64年 1月 7日", "64"}, {k1989Jan08, "平成1年 1月 8日", "01"},
      {k2019Apr30, "平成31年 4月30日", "31"}, {k2019May01, "令和1年 5月 1日", "01"},
      {k1868Sep08, "明治1年 9月 8日", "01"},  {k1868Sep07, "1868年 9月 7日", "1868"},
  };
  for (const Row& r : rows) {
    Now(At(r.day, 10, 0, 0));
    EXPECT_EQ(Value("$J"), r.japanese) << r.day;
    EXPECT_EQ(Value("%Y"), r.eraYear) << r.day;
    Gval.DrawingFileTime = At(r.day, 10, 0, 0);
    EXPECT_EQ(Value("=Y"), r.eraYear) << r.day;
  }
  Now(k1989Jan08);
  Gval.DrawingFileTime = k1989Jan07;
  Check({{"$Y", "1"}, {"&Y", " 1"}, {"_Y", "64"}});  // file time stays at 1989-01-07
}

TEST_F(TextVarsTest, NowFamiliesByPrefix) {
  Now(At(k2024Mar05, 9, 7, 2));
  Gval.DrawingFileTime = At(k1989Jan07, 23, 59, 58);  // never read by the "now" codes
  Check({{"$m", "3"},   {"&m", " 3"},  {"%m", "03"},    {"$d", "5"},   {"&d", " 5"},
         {"%d", "05"},  {"$H", "9"},   {"&H", " 9"},    {"%H", "09"},  {"$M", "7"},
         {"%M", "07"},  {"$S", "2"},   {"&S", " 2"},    {"%S", "02"},  {"$y", "24"},
         {"%y", "24"},  {"$j", "2024/ 3/ 5"}, {"%j", "2024/ 3/ 5"},   {"$w", "火"},
         {"%W", "火"},  {"$wa", "TUE"}, {"%ma", "MAR"}, {"$n", "AM"},  {"&N", "前"}});
}

TEST_F(TextVarsTest, FileTimeFamilies) {
  Now(At(k1989Jan07, 23, 59, 58));
  Gval.DrawingFileTime = At(k2024Mar05, 9, 7, 2);
  Check({{"_F", "2024/ 3/ 5 09:07:02"}, {"=F", "2024/03/05 09:07:02"}, {"_f", "2024/ 3/ 5"},
         {"=f", "2024/03/05"}, {"_m", " 3"}, {"=m", "03"}, {"_y", "24"}, {"=S", "02"},
         {"_w", "火"}, {"=wa", "TUE"}, {"_ma", "MAR"}, {"=n", "AM"}, {"_N", "前"}});
  Gval.DrawingFileTime = At(38353, 0, 0, 0);  // 2005-01-01: a one-digit year in the century
  Check({{"_y", " 5"}, {"=y", "05"}});
  Now(38353);
  Check({{"$y", "5"}, {"&y", " 5"}, {"%y", "05"}});
}

TEST_F(TextVarsTest, TwelveHourClockWritesTwelveAsZero) {
  struct Row {
    int h, m;
    const char *plain, *blank, *zero, *half, *word;
  };
  const Row rows[] = {
      {12, 30, "0", " 0", "00", "PM", "後"}, {0, 30, "0", " 0", "00", "AM", "前"},
      {15, 0, "3", " 3", "03", "PM", "後"},  {23, 59, "11", "11", "11", "PM", "後"},
      {11, 59, "11", "11", "11", "AM", "前"},
  };
  for (const Row& r : rows) {
    Now(At(k2024Mar05, r.h, r.m, 0));
    Check({{"$h", r.plain}, {"&h", r.blank}, {"%h", r.zero}, {"$n", r.half}, {"$N", r.word}});
  }
}

TEST_F(TextVarsTest, PathsSplitAtBothSeparators) {
  for (const char* path : {"C:\\work\\plans\\a1.jww", "C:/work/plans/a1.jww", "C:\\work/plans\\a1.jww"}) {
    Gval.DrawingFileName = path;
    SCOPED_TRACE(path);
    Check({{"$F", path}, {"%F", path}, {"$F1", "plans"}, {"&F2", "work"}, {"%F3", "C:"},
           {"$F9", "C:"}, {"%f", "a1.jww"}, {"$f", "a1"}, {"&f", "a1"}, {"%f1", "a"},
           {"%f5", "a1"}, {"%ff", "a1"}});
  }
  Gval.DrawingFileName = "D:\\図面\\図面.v2.jww";  // a path is native; its texts are Shift-JIS
  Check({{"%f1", "･"}, {"%f3", "図"}, {"%f4", "図面"}, {"$f", "図面.v2"}, {"$F1", "図面"}});
  Gval.DrawingFileName = "/home/도면/1階\u301C2階.jww";
  Check({{"$f", "1階\uFF5E2階"}});
  Gval.DrawingFileName.clear();
  Check({{"%f1", "･"}, {"%f", ""}, {"$F5", ""}});
}

TEST_F(TextVarsTest, ScalesAndUnusableScales) {
  struct Row {
    double s, p;
    const char *SS, *ss, *SP, *sp;
  };
  const Row rows[] = {
      {100, 1, "1/100", "100", "1/100", "100"},
      {1, 2, "1/1", "1", "2/1", "2"},
      {1, 0.5, "1/1", "1", "1/2", "2"},
      {0.3, 1, "3.3/1", "3.3", "3.3/1", "3.3"},
      // No value for a scale of 0 or a print scale of 0: the code stays.
      {0, 1, "<none>", "<none>", "<none>", "<none>"},
      {5, 0, "1/5", "5", "<none>", "<none>"},
      {std::nan(""), 1, "<none>", "<none>", "<none>", "<none>"},
      {1e-320, 1, "<none>", "<none>", "<none>", "<none>"},
  };
  for (const Row& r : rows) {
    Gval.DrawingScale = r.s;
    Gval.PrintScale = r.p;
    SCOPED_TRACE(r.s);
    Check({{"%SS", r.SS}, {"%ss", r.ss}, {"%SP", r.SP}, {"%sp", r.sp}});
  }
}

TEST_F(TextVarsTest, DrawingFactsUserPairsAndNonVariables) {
  Gval.DrawingEditTime = "12 : 05";
  Gval.DrawingMemo1 = "one";
  Gval.DrawingMemo2 = "two";
  Gval.TextVariables = {{"%%a", "alpha"}, {"%%b", "beta"}};
  Gval.TextVariableCount = 1;  // rows beyond the count are not looked at
  Gval.DrawingFileName = "C:\\a.jww";
  Check({{"_T", "12 : 05"}, {"$T", "12 : 05"}, {"%mm", "one･･two"}, {"%m1", "one"},
         {"%m2", "two"}, {"%%a", "alpha"}, {"%%b", "%%b"}, {"%%", "%%"},
         {"$F ", "<none>"}, {"$f1", "<none>"}, {"%fA", "<none>"}, {"%fg", "<none>"},
         {"_j", "<none>"}, {"=J", "<none>"}, {"$F0", "<none>"}, {"x$F", "<none>"},
         {"$", "<none>"}, {"", "<none>"}, {"%f0", "<none>"}, {"$T2", "<none>"}});
}

TEST_F(TextVarsTest, ClockValuesOutsideTheCalendarAreClamped) {
  struct Row {
    double value;
    const char* date;
  };
  const Row rows[] = {
      {std::nan(""), "1899/12/30 00:00:00"},
      {1e300, "9999/12/31 23:59:59"},
      {-std::numeric_limits<double>::infinity(), "0001/01/01 00:00:00"},
      {-1.25, "1899/12/29 06:00:00"},  // whole days towards zero, the fraction's size
      {At(k2024Mar05, 9, 7, 2) - 0.0004 / 86400, "2024/03/05 09:07:02"},  // nearest millisecond
  };
  for (const Row& r : rows) {
    Gval.DrawingFileTime = r.value;
    EXPECT_EQ(Value("=F"), r.date) << r.value;
    Now(r.value);
    EXPECT_NE(Value("$J"), "<none>");
  }
}

}  // namespace
