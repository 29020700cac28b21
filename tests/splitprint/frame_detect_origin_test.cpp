#include <gtest/gtest.h>

#include "comma_locale.h"
#include "drawing_builder.h"
#include "fake_printer.h"
#include "form1_state.h"
#include "frame_detect.h"
#include "func.h"
#include "sjis.h"
#include "unit_print.h"

namespace {

std::string S(const char* utf8) { return Utf8ToSjis(utf8); }

class PrintOriginFrames : public ::testing::Test {
 protected:
  void SetUp() override {
    if (StrToIntOrZero("7") != 7 || StrToFloatOrZero("2.5") != 2.5 || FormatFixedDecimals(1, 1.5) != "1.5") {
      GTEST_SKIP() << "needs the number reading and formatting routines";
    }
    Gval.Reset();
    SetFakePageMm(printer, 420, 297);
    SetCurrentPrinter(&printer);
    form.WorkDrawing.Header.Version = 300;
    form.WorkDrawing.Header.PrintRotation = 40;
  }
  void TearDown() override { SetCurrentPrinter(nullptr); }

  std::vector<TZumenWakuField> Run() {
    form.FindSheetFrames();
    form.AssignSheetNames();
    form.FindPrintOriginFrames();
    EXPECT_EQ(Gval.SheetFrameCount, static_cast<int32_t>(Gval.SheetFrames.size()));
    return Gval.SheetFrames;
  }
  // Centre x of each frame, in list order.
  std::vector<double> CentresX() {
    std::vector<double> xs;
    for (const auto& f : Run()) xs.push_back((f.XMin + f.XMax) / 2);
    return xs;
  }

  TFakePrinter printer;
  TForm1 form;
};

}  // namespace

// Under a comma-decimal process locale the frame search and a settings-style
// write and read of numbers must still see "50.5" as fifty and a half.
TEST_F(PrintOriginFrames, NumbersDoNotFollowTheProcessLocale) {
  CommaLocale comma;
  if (!comma.Ready()) GTEST_SKIP() << "no comma-decimal locale (install the locales package)";
  AddText(form.WorkDrawing, S("【印刷原点】50.5%"), 0, 0, 9, 7);
  const auto frames = Run();
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_DOUBLE_EQ(frames[0].Scale, 0.505);
  EXPECT_NEAR(frames[0].XMax - frames[0].XMin, 420 / 0.505, 1e-9);
  for (const double v : {0.035, 50.5, -1234.125, 1e-7}) {
    EXPECT_EQ(StrToFloatOrZero(FormatGeneralNumber(v)), v);
    EXPECT_NEAR(StrToFloatOrZero(FormatFixedDecimals(3, v)), v, 5e-4) << v;
  }
}

TEST_F(PrintOriginFrames, PageAroundTheStartPoint) {
  AddText(form.WorkDrawing, S("【印刷原点】50% 回転 N=3"), 100, 200, 9, 7);
  const auto frames = Run();
  ASSERT_EQ(frames.size(), 1u);
  const TZumenWakuField& f = frames[0];
  EXPECT_EQ(f.Kind, 1);
  EXPECT_DOUBLE_EQ(f.XMin, -320);
  EXPECT_DOUBLE_EQ(f.YMin, -97);
  EXPECT_DOUBLE_EQ(f.XMax, 520);
  EXPECT_DOUBLE_EQ(f.YMax, 497);
  EXPECT_EQ(f.Scale, 0.5);
  EXPECT_EQ(f.Rotated, 1);
  EXPECT_EQ(f.NameCount, 1);
  EXPECT_EQ(f.Names[0], "");
  EXPECT_EQ(f.NameLayerGroups[0], -1);
}

TEST_F(PrintOriginFrames, ScaleReading) {
  struct Case {
    const char* text;
    double scale;
    bool rotated;
  };
  const Case cases[] = {
      {"【印刷原点】25％", 0.25, false},
      {"【印刷原点】 25％ 10%", 1.0, false},  // "%" wins: " 25％ 10" is no number
      {"【印刷原点】0%", 1.0, false},
      {"【印刷原点】0.001%", 0.00001, false},
      {"【印刷原点】2000000%", 1.0, false},
      {"【印刷原点】abc%", 1.0, false},
      {"【印刷原点】", 1.0, false},
      {"【印刷原点】200% x回転x", 2.0, true},
      {"  【印刷原点】150%  ", 1.5, false},  // blanks around the tag are trimmed
  };
  for (const Case& c : cases) {
    Gval.Reset();
    form.WorkDrawing.Texts.clear();
    AddText(form.WorkDrawing, S(c.text), 0, 0);
    const auto frames = Run();
    ASSERT_EQ(frames.size(), 1u) << c.text;
    EXPECT_DOUBLE_EQ(frames[0].Scale, c.scale) << c.text;
    EXPECT_EQ(frames[0].Rotated != 0, c.rotated) << c.text;
    EXPECT_DOUBLE_EQ(frames[0].XMax - frames[0].XMin, 420 / c.scale) << c.text;
  }
}

TEST_F(PrintOriginFrames, NotTags) {
  AddText(form.WorkDrawing, S("【印刷原点】50%"), 0, 0, 8);        // colour
  AddText(form.WorkDrawing, S("x【印刷原点】50%"), 0, 0);          // not at the start
  AddText(form.WorkDrawing, S("【印刷原点】50%"), 0, 0, 9, 3);     // any kind counts
  EXPECT_EQ(Run().size(), 1u);
}

TEST_F(PrintOriginFrames, NumbersOrderTheFrames) {
  AddText(form.WorkDrawing, S("【印刷原点】N=10"), 10, 0);
  AddText(form.WorkDrawing, S("【印刷原点】"), 30, 0);
  AddText(form.WorkDrawing, S("【印刷原点】n:9"), 20, 0);
  EXPECT_EQ(CentresX(), (std::vector<double>{20, 10, 30}));  // 09, 10, 11
}

TEST_F(PrintOriginFrames, NumberMustFillTheEightBytesOrEndTheText) {
  AddText(form.WorkDrawing, S("【印刷原点】N=3 50%"), 10, 0);   // reads no number
  AddText(form.WorkDrawing, S("【印刷原点】N=5"), 20, 0);
  AddText(form.WorkDrawing, S("【印刷原点】N=00000004"), 30, 0);
  const auto frames = Run();
  ASSERT_EQ(frames.size(), 3u);
  EXPECT_EQ((frames[0].XMin + frames[0].XMax) / 2, 30);
  EXPECT_EQ((frames[1].XMin + frames[1].XMax) / 2, 20);
  EXPECT_EQ((frames[2].XMin + frames[2].XMax) / 2, 10);  // numbered 6
  EXPECT_EQ(frames[2].Scale, 1.0);  // "N=3 50" is no percentage
}

TEST_F(PrintOriginFrames, PrefixesAndCharacterBoundaries) {
  AddText(form.WorkDrawing, S("【印刷原点】ク=5"), 10, 0);  // ク ends in the byte of "N"
  AddText(form.WorkDrawing, S("【印刷原点】Ｎ＝7"), 20, 0);
  AddText(form.WorkDrawing, S("【印刷原点】Ｎ＝9 n=1"), 30, 0);  // ASCII prefixes first
  EXPECT_EQ(CentresX(), (std::vector<double>{30, 20, 10}));
}

TEST_F(PrintOriginFrames, EqualNumbersFollowTheRestOfTheLine) {
  AddText(form.WorkDrawing, S("【印刷原点】50% N=2"), 10, 0);
  AddText(form.WorkDrawing, S("【印刷原点】100% N=2"), 20, 0);
  AddText(form.WorkDrawing, S("【印刷原点】N=1"), 30, 0);
  EXPECT_EQ(CentresX(), (std::vector<double>{30, 20, 10}));  // "倍率100" before "倍率50"
}

TEST_F(PrintOriginFrames, HugeNumbersDoNotOverflow) {
  AddText(form.WorkDrawing, S("【印刷原点】"), 10, 0);
  AddText(form.WorkDrawing, S("【印刷原点】N=2147483647"), 20, 0);
  AddText(form.WorkDrawing, S("【印刷原点】N=-5"), 30, 0);
  EXPECT_EQ(CentresX(), (std::vector<double>{30, 20, 10}));
}

TEST_F(PrintOriginFrames, CoordinatesPassThroughTenDecimals) {
  AddText(form.WorkDrawing, S("【印刷原点】"), 0.123456789049, -7.00000000004);
  const auto frames = Run();
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_NEAR((frames[0].XMin + frames[0].XMax) / 2, 0.1234567890, 1e-12);
  EXPECT_NEAR((frames[0].YMin + frames[0].YMax) / 2, -7.0, 1e-12);
}

TEST_F(PrintOriginFrames, BasePointMovesToThePageCentre) {
  // Moves of (x, y) in half pages for base codes 0..9 (tens digit of the field).
  const int moves[10][2] = {{1, 1}, {0, 1}, {-1, 1}, {1, 0}, {0, 0}, {-1, 0}, {1, -1}, {0, -1}, {-1, -1}, {0, 0}};
  for (int version : {299, 300, 700}) {
    for (int code = 0; code < 10; ++code) {
      Gval.Reset();
      form.WorkDrawing.Texts.clear();
      form.WorkDrawing.Header.Version = version;
      form.WorkDrawing.Header.PrintRotation = code * 10 + 1 + 100;  // units and hundreds do not matter
      AddText(form.WorkDrawing, S("【印刷原点】"), 1000, 2000);
      const auto frames = Run();
      ASSERT_EQ(frames.size(), 1u);
      const int mx = version >= 300 ? moves[code][0] : 0;
      const int my = version >= 300 ? moves[code][1] : 0;
      EXPECT_DOUBLE_EQ((frames[0].XMin + frames[0].XMax) / 2, 1000 + mx * 210.0) << version << " " << code;
      EXPECT_DOUBLE_EQ((frames[0].YMin + frames[0].YMax) / 2, 2000 + my * 148.5) << version << " " << code;
    }
  }
}

TEST_F(PrintOriginFrames, FollowDrawnFramesAndDrawnFramesKeepTheirNames) {
  AddFrameRect(form.WorkDrawing, 0, 0, 420, 297);
  AddText(form.WorkDrawing, S("【名】A"), 10, 10);
  AddText(form.WorkDrawing, S("【印刷原点】"), 5000, 0);
  const auto frames = Run();
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[0].Kind, 0);
  EXPECT_EQ(frames[0].Names[0], "A");
  EXPECT_EQ(frames[1].Kind, 1);
}

TEST(ClassifyFramePaper, ClassByTheLongerSide) {
  struct Case {
    double w, h;
    int32_t paperClass;
  };
  const Case cases[] = {
      {210, 297, 9}, {297, 210, 4}, {400, 400, 3}, {316.99, 100, 4}, {317, 100, 3}, {439.9, 439.9, 3},
      {440, 10, 2},  {613.9, 1, 2}, {614, 1, 1},   {860.9, 1, 1},    {861, 1, 0},   {5000, 1, 0},
      {1, 316.99, 9}, {1, 317, 8},  {1, 440, 7},   {1, 614, 6},      {1, 861, 5},
  };
  TForm1 form;
  Gval.Reset();
  for (const Case& c : cases) {
    TZumenWakuField f;
    f.XMin = 100;
    f.YMin = -50;
    f.XMax = 100 + c.w;
    f.YMax = -50 + c.h;
    Gval.SheetFrames.push_back(f);
  }
  Gval.SheetFrameCount = static_cast<int32_t>(Gval.SheetFrames.size());
  form.ClassifyFramePaper();
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(Gval.SheetFrames[i].PaperClass, cases[i].paperClass) << cases[i].w << " x " << cases[i].h;
  }
  EXPECT_EQ(SjisToUtf8(kPaperClasses[9].Name), "Ａ４縦");
  EXPECT_EQ(SjisToUtf8(kPaperClasses[0].Name), "Ａ０横");
}
