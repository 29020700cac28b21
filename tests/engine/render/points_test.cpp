// Point elements: the temporary circle, dots and the symbols by code.
#include "render/points.h"

#include "render_fixture.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

class PointTest : public RenderTest {
 protected:
  void SetUp() override {
    RenderTest::SetUp();
    attr.SetPen(1, 0x0000FF, 0.3, 0.1);
  }
  void Draw(int32_t code, double factor = 1, double angle = 0, int32_t temporary = 0) {
    canvas.calls.clear();
    DrawPointEntity(canvas, temporary, code, 50, 50, angle, factor, 0, 1, -1, 0);
  }
};

TEST_F(PointTest, SymbolsByCode) {
  struct Case {
    int32_t code;
    size_t lines, polylines, polygons;
    TBrushStyle brush;  // of the polygon, if any
    int32_t box;        // device width of the polygon's box, 0: not checked
  } cases[] = {
      {-1, 3, 0, 0, bsClear, 0}, {-2, 0, 0, 1, bsClear, 25}, {-4, 2, 0, 0, bsClear, 0},
      {-5, 4, 0, 0, bsClear, 0}, {-6, 3, 0, 0, bsClear, 0}, {-7, 2, 0, 0, bsClear, 0},
      {1, 0, 0, 1, bsSolid, 75}, {2, 0, 0, 1, bsSolid, 25}, {3, 0, 0, 1, bsSolid, 25},
      {4, 0, 0, 1, bsClear, 25}, {5, 0, 0, 1, bsSolid, 25}, {6, 0, 0, 1, bsSolid, 75},
      {7, 0, 0, 1, bsSolid, 25}, {8, 0, 2, 0, bsClear, 0}, {9, 2, 0, 0, bsClear, 0},
      {10, 1, 0, 0, bsClear, 0}, {11, 0, 0, 1, bsClear, 75}, {12, 0, 0, 1, bsSolid, 25},
      {-8, 0, 0, 1, bsSolid, 25},
  };
  for (const Case& c : cases) {
    Draw(c.code);
    EXPECT_EQ(Count(TCanvasCall::LineTo), c.lines) << c.code;
    EXPECT_EQ(Count(TCanvasCall::Polyline), c.polylines) << c.code;
    const auto polys = canvas.Of(TCanvasCall::Polygon);
    ASSERT_EQ(polys.size(), c.polygons) << c.code;
    if (polys.empty()) continue;
    EXPECT_EQ(polys[0].brushStyle, c.brush) << c.code;
    if (c.box) {
      EXPECT_EQ(BoxSize(polys[0].points).first, c.box) << c.code;
    }
  }
}

TEST_F(PointTest, DotsAndDiscsNeverShrinkBelowOneDeviceUnit) {
  struct Case {
    int32_t code;
    double scale;
    int32_t box;
  } cases[] = {
      {0, 10, 5},   // point radius 0.1 + half the pen's 0.3 mm
      {0, 0.5, 2},  // 0.25 mm raised to one unit
      {-3, 10, 6},  // pen width 0.3 mm
      {-3, 0.5, 2},
  };
  for (const Case& c : cases) {
    View(c.scale);
    Draw(c.code);
    const auto polys = canvas.Of(TCanvasCall::Polygon);
    ASSERT_EQ(polys.size(), 1u) << c.code;
    EXPECT_EQ(BoxSize(polys[0].points).first, c.box) << c.code << " at " << c.scale;
    EXPECT_EQ(polys[0].brushStyle, bsSolid);
    EXPECT_EQ(polys[0].brushColor, 0x0000FF);
  }
}

TEST_F(PointTest, TemporaryPointIsAlwaysTheSmallCircle) {
  attr.SetLineWidthMode(true);
  for (int32_t code : {0, 5, 8}) {
    Draw(code, 1, 0, 1);
    const auto polys = canvas.Of(TCanvasCall::Polygon);
    ASSERT_EQ(canvas.calls.size(), 1u) << code;
    EXPECT_EQ(BoxSize(polys.at(0).points), std::make_pair(6, 6));
    EXPECT_EQ(polys[0].penWidth, 0);
    EXPECT_EQ(polys[0].brushStyle, bsClear);
  }
}

TEST_F(PointTest, ArrowheadTurnsWithItsTipOnThePoint) {
  Draw(1, 0, kPi / 2);  // factor 0 counts as 1
  const auto& poly = canvas.calls.at(0);
  EXPECT_EQ(poly.points[0].x, 500);
  EXPECT_EQ(poly.points[0].y, 500);
  EXPECT_EQ(poly.points[1].y, 575);  // base 7.5 mm below
  EXPECT_EQ(poly.points[2].y, 575);
  EXPECT_EQ(poly.brushColor, attr.GetBackgroundColor());
  EXPECT_EQ(poly.penColor, 0x0000FF);
}

}  // namespace
