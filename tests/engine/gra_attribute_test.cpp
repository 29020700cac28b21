#include "gra_attribute.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace {

constexpr int32_t kWhite = RgbColor(255, 255, 255);

TEST(GraAttribute, IndexMapsCoverExactlyTheTableRanges) {
  struct Row {
    int32_t number, pen, lineType;
  };
  const Row rows[] = {
      {-1, -1, -1}, {0, -1, -1},  {1, 0, 0},     {9, 8, 8},     {10, -1, -1},  {11, -1, 9},
      {19, -1, 17}, {20, -1, -1}, {30, -1, -1},  {31, -1, 18},  {62, -1, 49},  {63, -1, -1},
      {100, -1, -1}, {101, 9, -1}, {356, 264, -1}, {357, -1, -1}, {INT_MIN, -1, -1}, {INT_MAX, -1, -1},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(TgraAttribute::PenIndex(r.number), r.pen) << r.number;
    EXPECT_EQ(TgraAttribute::LineTypeIndex(r.number), r.lineType) << r.number;
  }
}

TEST(GraAttribute, CreateGivesTheDefaultState) {
  TgraAttribute g;
  EXPECT_EQ(g.LayerCount, 256);
  EXPECT_EQ(g.PenCount, 265);
  EXPECT_EQ(g.LineTypeCount, 50);
  EXPECT_FALSE(g.GetLineWidthMode());
  EXPECT_EQ(g.MonoThreshold, -1);
  EXPECT_EQ(g.GetBackgroundColor(), kWhite);
  EXPECT_EQ(g.ForegroundColor, 0);
  EXPECT_EQ(g.GetGrayColor(), RgbColor(128, 128, 128));
  EXPECT_FALSE(g.GetDrawAuxLines());
  EXPECT_EQ(g.Layers[0x3A].Mode, 1);
  EXPECT_EQ(g.Layers[0x3A].GroupLabel, "[3] ");
  EXPECT_EQ(g.Layers[0x3A].LayerLabel, "(A) ");
  EXPECT_EQ(g.Layers[255].GroupLabel, "[F] ");
}

TEST(GraAttribute, ResetLeavesTheAuxiliarySwitch) {
  TgraAttribute g;
  g.SetDrawAuxLines(7);
  g.SetColorConversion(true, 3, 4, 5);
  g.Reset();
  EXPECT_TRUE(g.GetDrawAuxLines());
  EXPECT_FALSE(g.ColorConversion);
  EXPECT_EQ(g.SxfLightThreshold, -1);
}

TEST(GraAttribute, DefaultPenTablesFollowTheBackground) {
  TgraAttribute g;
  struct Row {
    int32_t pen, onWhite, onBlack;
    double width, radius;
  };
  const Row rows[] = {
      {1, RgbColor(0, 192, 192), RgbColor(0, 255, 255), 0.1, 0.2},
      {2, 0, kWhite, 0.15, 0.3},
      {6, RgbColor(0, 0, 255), RgbColor(32, 32, 255), 0.35, 0.5},
      {8, RgbColor(255, 0, 128), RgbColor(160, 0, 0), 0.5, 0.5},
      {9, RgbColor(255, 128, 255), RgbColor(192, 128, 128), 0.01, 0.2},
      {101, 0, kWhite, 0.18, 0.2},
      {102, RgbColor(255, 0, 0), RgbColor(255, 0, 0), 0.18, 0.2},
      {108, 0, kWhite, 0.18, 0.2},
      {116, RgbColor(128, 128, 128), RgbColor(128, 128, 128), 0.18, 0.2},
      {117, 0, kWhite, 0.18, 0.2},  // foreground
      {356, 0, kWhite, 0.18, 0.2},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(g.GetPenColor(r.pen), r.onWhite) << r.pen;
    EXPECT_DOUBLE_EQ(g.GetPenWidth(r.pen), r.width) << r.pen;
    EXPECT_DOUBLE_EQ(g.GetPointRadius(r.pen), r.radius) << r.pen;
  }
  g.SetBackgroundMode(1);
  EXPECT_EQ(g.GetPenColor(1), RgbColor(0, 192, 192)) << "pen colours wait for InitPenColors";
  g.InitPenColors();
  for (const Row& r : rows) EXPECT_EQ(g.GetPenColor(r.pen), r.onBlack) << r.pen;
  EXPECT_EQ(g.GetBackgroundColor(), 0);
}

TEST(GraAttribute, OtherBackgroundModesChangeNothing) {
  TgraAttribute g;
  g.SetBackgroundMode(2);
  EXPECT_EQ(g.BackgroundMode, 0);
  EXPECT_EQ(g.GetBackgroundColor(), kWhite);
  g.BackgroundMode = 5;  // only the foreground fill happens
  g.ForegroundColor = RgbColor(1, 2, 3);
  g.InitPenColors();
  EXPECT_EQ(g.GetPenColor(1), RgbColor(1, 2, 3));
  EXPECT_EQ(g.GetPenColor(116), RgbColor(1, 2, 3));
}

TEST(GraAttribute, PensWithoutRowAnswerNeutralValues) {
  TgraAttribute g;
  g.SetColorConversion(true, 0, 0, 0);
  for (int32_t pen : {0, 10, 100, 357, -3}) {
    g.SetPen(pen, RgbColor(1, 1, 1), 9, 9);  // ignored
    EXPECT_EQ(g.GetPenColor(pen), kWhite) << pen;
    EXPECT_EQ(g.GetPenWidth(pen), 0.0) << pen;
    EXPECT_EQ(g.GetPointRadius(pen), 0.1) << pen;
  }
  g.SetBackgroundMode(1);
  EXPECT_EQ(g.GetPenColor(0), 0);
}

// Colour conversion: one row per (thresholds, pen, stored colour).
TEST(GraAttribute, PenColourConversion) {
  struct Row {
    bool on;
    int32_t mono, light, sxfLight, pen, stored, expected;
  };
  const Row rows[] = {
      // Conversion off: as stored.
      {false, 0, 0, 0, 2, kWhite, kWhite},
      // All thresholds off: as stored.
      {true, -1, -1, -1, 2, RgbColor(10, 20, 30), RgbColor(10, 20, 30)},
      // Monochrome 0: only pure white stays white.
      {true, 0, -1, -1, 2, kWhite, kWhite},
      {true, 0, -1, -1, 2, RgbColor(255, 255, 254), 0},
      {true, 0, -1, -1, 120, RgbColor(1, 2, 3), 0},
      // Monochrome 255: white exactly when every channel is at least 1.
      {true, 255, -1, -1, 3, RgbColor(1, 1, 1), kWhite},
      {true, 255, -1, -1, 3, RgbColor(0, 255, 255), 0},
      {true, 128, -1, -1, 3, RgbColor(128, 200, 255), kWhite},
      {true, 128, -1, -1, 3, RgbColor(127, 200, 255), 0},
      // White to black for pens 1..9 only.
      {true, -1, 0, -1, 2, kWhite, 0},
      {true, -1, 0, -1, 2, RgbColor(255, 255, 254), RgbColor(255, 255, 254)},
      {true, -1, 0, -1, 108, kWhite, kWhite},
      {true, -1, 255, -1, 1, RgbColor(0, 0, 0), 0},
      {true, -1, 255, -1, 7, RgbColor(0, 128, 128), 0},
      {true, -1, 10, -1, 5, RgbColor(245, 250, 246), 0},
      {true, -1, 10, -1, 5, RgbColor(244, 250, 246), RgbColor(244, 250, 246)},
      // White to black for the extended pens only.
      {true, -1, -1, 0, 108, kWhite, 0},
      {true, -1, -1, 0, 2, kWhite, kWhite},
      // Monochrome with a white-to-black threshold: every pen of that group is black.
      {true, 200, 0, -1, 2, kWhite, 0},
      {true, 200, 0, -1, 4, RgbColor(100, 100, 100), 0},
      {true, 200, 0, -1, 104, kWhite, kWhite},  // the extended group has no threshold
      {true, 200, -1, 0, 104, kWhite, 0},
      // Huge thresholds from a settings file must not overflow.
      {true, INT_MAX, -1, -1, 1, RgbColor(0, 0, 0), kWhite},
      {true, INT_MAX, INT_MAX, -1, 1, RgbColor(1, 1, 1), 0},
      {true, -1, INT_MAX, -1, 1, RgbColor(1, 2, 3), 0},
      // A stored value with its top byte set still splits into three channels.
      {true, 0, -1, -1, 2, static_cast<int32_t>(0xFFFFFFFFu), kWhite},
  };
  int i = 0;
  for (const Row& r : rows) {
    TgraAttribute g;
    g.SetPen(r.pen, r.stored, 0.2, 0.3);
    g.SetColorConversion(r.on, r.mono, r.light, r.sxfLight);
    EXPECT_EQ(g.GetPenColor(r.pen), r.expected) << "row " << i;
    ++i;
  }
}

TEST(GraAttribute, LayerSettersCheckRowModeAndScale) {
  TgraAttribute g;
  g.SetLayer(0x1F, 7, 0, "Group", "Layer");
  EXPECT_EQ(g.GetLayerMode(0x1F), 1);
  EXPECT_EQ(g.Layers[0x1F].Scale, 1.0);
  EXPECT_EQ(g.Layers[0x1F].GroupLabel, "[1] Group");
  EXPECT_EQ(g.Layers[0x1F].LayerLabel, "(F) Layer");
  g.SetLayer(3, 3, -2, "", "");
  EXPECT_EQ(g.GetLayerMode(3), 3);
  EXPECT_EQ(g.Layers[3].Scale, 1.0);
  g.SetLayer(4, 2, 0.02, "", "");
  EXPECT_EQ(g.Layers[4].Scale, 0.02);
  g.SetLayer(5, 2, std::nan(""), "", "");
  EXPECT_EQ(g.Layers[5].Scale, 1.0);
  g.SetLayer(256, 2, 1, "x", "y");
  g.SetLayer(-1, 2, 1, "x", "y");
  EXPECT_EQ(g.GetLayerMode(256), 1);
  EXPECT_EQ(g.GetLayerMode(-1), 1);
  g.SetLayerMode(9, 2);
  EXPECT_EQ(g.GetLayerMode(9), 2);
  g.SetLayerMode(9, 0);
  EXPECT_EQ(g.GetLayerMode(9), 1);
  g.SetLayerMode(300, 2);  // ignored
}

TEST(GraAttribute, DefaultLineTypes) {
  TgraAttribute g;
  struct Row {
    int32_t type, count;
    double amplitude, period, first, last;
  };
  const Row rows[] = {
      {1, 0, 0, 0, 0, 0},
      {2, 3, 0, 1.44, 0.36, 0.36},
      {5, 5, 0, 16 * 0.36, 1.8, 1.8},
      {8, 7, 0, 32 * 0.36, 4.32, 4.32},
      {9, 3, 0, 4 * 0.36, 0.18, 0.18},
      {11, 32, 0.3, 19.2, 0.6, -0.6},
      {15, 32, 0.6, 96, 3.0, -3.0},
      {17, 7, 0, 28.4, 10.6, 10.6},
      {19, 3, 0, 47, 22, 22},
      {31, 0, 0, 0, 0, 0},
      {32, 2, 0, 7.5, 6, -1.5},
      {36, 8, 0, 18.75, 12, -1.5},
      {45, 10, 0, 20.25, 6, -1.5},
      {46, 0, 0, 0, 0, 0},
      {62, 0, 0, 0, 0, 0},
  };
  for (const Row& r : rows) {
    double seg[32] = {};
    ASSERT_EQ(g.GetLineTypeSegments(r.type, seg), r.count) << r.type;
    EXPECT_EQ(g.GetLineTypeCount(r.type), r.count) << r.type;
    EXPECT_DOUBLE_EQ(g.GetLineTypeAmplitude(r.type), r.amplitude) << r.type;
    EXPECT_NEAR(g.GetLineTypePeriod(r.type), r.period, 1e-12) << r.type;
    if (r.count > 0) {
      EXPECT_DOUBLE_EQ(seg[0], r.first) << r.type;
      EXPECT_DOUBLE_EQ(seg[r.count - 1], r.last) << r.type;
    }
  }
  // The random mask: segments 2 and 3 of type 11 are gaps, 4 and 5 dashes.
  double seg[32];
  g.GetLineTypeSegments(11, seg);
  EXPECT_EQ(seg[2], -0.6);
  EXPECT_EQ(seg[4], 0.6);
  EXPECT_EQ(seg[30], 0.6);
}

TEST(GraAttribute, LineTypeSettersAndNeutralGetters) {
  TgraAttribute g;
  const int32_t row = TgraAttribute::LineTypeIndex(46);
  g.SetLineTypeCount(row, 3);
  g.SetLineTypeSegment(row, 0, 2);
  g.SetLineTypeSegment(row, 2, -1);
  g.SetLineTypeSegment(row, 3, 9);  // beyond the count: ignored
  g.SetLineTypeCount(row, 4);
  g.SetLineTypeSegment(row, 3, 5);
  g.SetLineTypeAmplitude(row, 0.7);
  g.UpdateLineTypePeriod(row);
  double seg[32] = {};
  ASSERT_EQ(g.GetLineTypeSegments(46, seg), 4);
  EXPECT_EQ(seg[0], 2);
  EXPECT_EQ(seg[1], 0);
  EXPECT_EQ(seg[2], -1);
  EXPECT_EQ(seg[3], 5);
  EXPECT_EQ(g.GetLineTypePeriod(46), 8);
  EXPECT_EQ(g.GetLineTypeAmplitude(46), 0.7);

  for (int32_t type : {0, 10, 25, 63, -1}) {
    EXPECT_EQ(g.GetLineTypeCount(type), 0) << type;
    EXPECT_EQ(g.GetLineTypeSegments(type, seg), 0) << type;
    EXPECT_EQ(g.GetLineTypePeriod(type), 0) << type;
    EXPECT_EQ(g.GetLineTypeAmplitude(type), 0) << type;
  }
  for (int32_t bad : {-1, 50}) {  // rows, not types
    g.SetLineTypeCount(bad, 3);
    g.SetLineTypeSegment(bad, 0, 1);
    g.SetLineTypeAmplitude(bad, 1);
    g.UpdateLineTypePeriod(bad);
  }
}

TEST(GraAttribute, LineTypeCountFromAFileIsHeldToThirtyTwo) {
  TgraAttribute g;
  const int32_t row = TgraAttribute::LineTypeIndex(50);
  g.SetLineTypeCount(row, 1000);
  for (int32_t i = 0; i < 40; ++i) g.SetLineTypeSegment(row, i, 1);
  g.UpdateLineTypePeriod(row);
  double seg[32];
  EXPECT_EQ(g.GetLineTypeSegments(50, seg), 32);
  EXPECT_EQ(g.GetLineTypePeriod(50), 32);
  g.SetLineTypeCount(row, -5);
  EXPECT_EQ(g.GetLineTypeCount(50), 0);
}

}  // namespace
