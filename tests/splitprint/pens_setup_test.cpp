#include <gtest/gtest.h>

#include "form1_state.h"
#include "gval.h"
#include "jww_model_maker.h"

namespace {

class PensSetup : public ::testing::Test {
 protected:
  void SetUp() override {
    Gval.Reset();
    jwwtest::SizeTables(form.WorkDrawing);
    form.WorkDrawing.Header.Version = 700;
    attributes().InitPenColors();
    attributes().InitPenWidths();
    attributes().InitPointRadii();
    attributes().InitLineTypes();
  }
  TgraAttribute& attributes() { return form.Attributes(); }
  std::vector<double> Segments(int32_t type) {
    std::vector<double> s(32);
    s.resize(static_cast<size_t>(attributes().GetLineTypeSegments(type, s.data())));
    return s;
  }

  TForm1 form;
};

TEST_F(PensSetup, BackgroundFromPenZero) {
  struct Case {
    int32_t color, modeBefore, modeAfter;
  } cases[] = {
      {RgbColor(0, 0, 0), 0, 1},       {RgbColor(20, 20, 20), 0, 1},   {RgbColor(21, 0, 0), 0, 0},
      {RgbColor(255, 255, 255), 1, 0}, {RgbColor(235, 235, 235), 1, 0}, {RgbColor(128, 128, 128), 1, 1},
      {RgbColor(128, 128, 128), 0, 0}, {RgbColor(255, 234, 255), 1, 1},
  };
  for (const Case& c : cases) {
    attributes().SetBackgroundMode(c.modeBefore);
    form.WorkDrawing.Pens[0].PrintColor = c.color;
    form.WorkDrawing.Pens[0].Color = RgbColor(128, 128, 128);  // the screen set is not read
    form.SetupPens(2);
    EXPECT_EQ(attributes().BackgroundMode, c.modeAfter) << std::hex << c.color;
  }
}

TEST_F(PensSetup, WidthsByMaximumDrawingWidthAndDotPitch) {
  TJwwData& d = form.WorkDrawing;
  d.Pens[3].PrintWidth = 3;
  d.Pens[3].PrintColor = 0x123456;
  d.Pens[3].PointRadius = 0.7;
  d.ColorsEx[5].PrintWidth = 35;
  struct Case {
    int32_t version, dotClass, maxWidth;
    double width3;
  } cases[] = {
      {700, 0, -1, 3.0}, {700, 0, -100, 0.03}, {700, 0, -200, 0.03}, {700, 0, -4, 0.75},
      {700, 0, 0, 3 * 0.085}, {421, 2, 5, 3 * 0.042}, {420, 2, 5, 3 * 0.085}, {421, 1, 5, 3 * 0.085},
  };
  for (const Case& c : cases) {
    d.Header.Version = c.version;
    d.Header.DotPitchClass = c.dotClass;
    d.Header.MaxDrawWidth = c.maxWidth;
    form.SetupPens(2);
    EXPECT_DOUBLE_EQ(attributes().GetPenWidth(3), c.width3) << c.version << " " << c.maxWidth;
    EXPECT_EQ(attributes().Pens[static_cast<size_t>(TgraAttribute::PenIndex(3))].Color, 0x123456);
    EXPECT_DOUBLE_EQ(attributes().GetPointRadius(3), 0.7);
    EXPECT_DOUBLE_EQ(attributes().GetPenWidth(105), 0.35);  // extended widths are in 1/100 mm
  }
  form.AuxColor = 0x00FF00;
  form.SetupPens(2);
  EXPECT_EQ(attributes().Pens[static_cast<size_t>(TgraAttribute::PenIndex(9))].Color, 0x00FF00);
  EXPECT_DOUBLE_EQ(attributes().GetPenWidth(9), 0.18);
  EXPECT_DOUBLE_EQ(attributes().GetPointRadius(9), 0.2);
}

TEST_F(PensSetup, PatternRunsBecomeDashesAndGaps) {
  TJwwData& d = form.WorkDrawing;
  d.Header.Version = 420;
  d.Header.MaxDrawWidth = 0;  // unit: the dot pitch 0.085
  d.LineTypes[0].Pattern = static_cast<int32_t>(0xFF000000u);
  d.LineTypes[0].PrintPitch = 2;
  d.LineTypes[1].Pattern = static_cast<int32_t>(0xF0F0F0F0u);  // eight runs of four
  d.LineTypes[1].PrintPitch = 1;
  d.LineTypes[2].Pattern = -1;  // all ones
  d.LineTypes[2].PrintPitch = 1;
  d.DoubleLines[3].Pattern = 0x0000FFFF;
  d.DoubleLines[3].PrintPitch = 1;
  d.RandomLines[0].Pattern = -1;
  d.RandomLines[0].PrintPitch = 1;
  d.RandomLines[0].PrintAmplitude = 10;
  form.SetupLineTypes(2, 0.035);
  const std::vector<double> t2 = Segments(2);
  ASSERT_EQ(t2.size(), 2u);
  EXPECT_NEAR(t2[0], 1.36, 1e-12);
  EXPECT_NEAR(t2[1], -4.08, 1e-12);
  const std::vector<double> t3 = Segments(3);
  ASSERT_EQ(t3.size(), 8u);
  EXPECT_NEAR(t3[0], 0.34, 1e-12);
  EXPECT_NEAR(t3[1], -0.34, 1e-12);
  EXPECT_NEAR(attributes().GetLineTypePeriod(3), 8 * 0.34, 1e-12);
  EXPECT_EQ(Segments(4).size(), 1u);
  EXPECT_NEAR(Segments(4)[0], 32 * 0.085, 1e-12);
  ASSERT_EQ(Segments(19).size(), 2u);
  EXPECT_LT(Segments(19)[0], 0);  // a gap comes first
  EXPECT_NEAR(attributes().GetLineTypeAmplitude(11), 0.85, 1e-12);
  EXPECT_EQ(Segments(1).size(), 0u);  // solid

  d.Header.MaxDrawWidth = -1;  // real-size unit
  form.SetupLineTypes(2, 0.035);
  EXPECT_NEAR(Segments(2)[0], 8 * 2 * 0.035, 1e-12);
}

TEST_F(PensSetup, ExtendedLineTypesUseAtMostTenPitches) {
  TJwwData& d = form.WorkDrawing;
  d.LineTypesEx[1].SegmentCount = 12;
  for (int i = 0; i < 10; ++i) d.LineTypesEx[1].Segments[static_cast<size_t>(i)] = 1 + i;
  d.LineTypesEx[2].SegmentCount = 0;
  form.SetupLineTypes(2, 0.035);
  const std::vector<double> t31 = Segments(31);
  ASSERT_EQ(t31.size(), 10u);
  EXPECT_EQ(t31[0], 1);
  EXPECT_EQ(t31[1], -2);
  EXPECT_EQ(t31[9], -10);
  EXPECT_EQ(Segments(32).size(), 0u);
}

TEST_F(PensSetup, NoTablesChangeNothing) {
  form.WorkDrawing.FreeData();
  const double width = attributes().GetPenWidth(3);
  const int32_t count = attributes().GetLineTypeCount(2);
  form.SetupPens(2);
  form.SetupLineTypes(2, 0.035);
  EXPECT_EQ(attributes().GetPenWidth(3), width);
  EXPECT_EQ(attributes().GetLineTypeCount(2), count);
}

}  // namespace
