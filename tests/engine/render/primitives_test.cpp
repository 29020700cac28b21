// Pens, brushes, clipped runs and the fixed-count curves.
#include "render/primitives.h"

#include <limits>

#include "render_fixture.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kPi = 3.14159265358979323846;

using PrimitivesTest = RenderTest;

TEST_F(PrimitivesTest, PenWidthAndStyleFollowTheLineWidthMode) {
  struct Case {
    bool mode;
    double widthMm;
    int32_t lineType;
    int32_t width;
    TPenStyle style;
  } cases[] = {
      {true, 0.5, 2, 5, psSolid},     {true, 40.07, 1, 400, psSolid},  // 400.7 capped
      {true, -1, 1, 0, psSolid},      {true, kNaN, 1, 0, psSolid},
      {true, 0.25, 1, 2, psSolid},    {true, 0.35, 1, 4, psSolid},     // ties to even
      {false, 0.5, 2, 0, psDot},      {false, 0.5, 1, 0, psSolid},
      {false, 0.5, 31, 0, psSolid},   {false, 0.5, 99, 0, psDot},
  };
  for (const Case& c : cases) {
    attr.SetLineWidthMode(c.mode);
    canvas.SetBrushStyle(bsSolid);
    SetPenForEntity(canvas, 0, 1, c.lineType, c.widthMm);
    EXPECT_EQ(canvas.PenWidth(), c.width) << c.widthMm;
    EXPECT_EQ(canvas.PenStyle(), c.style) << c.lineType;
    EXPECT_EQ(canvas.BrushStyle(), bsClear);
  }
}

TEST_F(PrimitivesTest, LayerModeChoosesPenAndBrushColour) {
  attr.SetPen(3, 0x123456, 0.1, 0.1);
  attr.SetGrayColor(0x777777);
  struct Case {
    int32_t mode, color;
  } cases[] = {{1, 0x123456}, {2, 0x777777}, {3, attr.GetBackgroundColor()}};
  for (const Case& c : cases) {
    attr.SetLayerMode(17, c.mode);
    SetPenForEntity(canvas, 17, 3, 1, 0);
    EXPECT_EQ(canvas.PenColor(), c.color) << c.mode;
    SetBrushForEntity(canvas, 17, 3, 1);
    EXPECT_EQ(canvas.BrushColor(), c.color) << c.mode;
  }
}

TEST_F(PrimitivesTest, BrushCodes) {
  const std::pair<int32_t, TBrushStyle> cases[] = {{0, bsClear},       {1, bsSolid},      {2, bsHorizontal},
                                                   {4, bsFDiagonal},   {7, bsDiagCross},  {8, bsClear},
                                                   {-1, bsClear}};
  for (const auto& [code, style] : cases) {
    SetBrushByCode(canvas, 0xABCDEF, code);
    EXPECT_EQ(canvas.BrushStyle(), style) << code;
    EXPECT_EQ(canvas.BrushColor(), 0xABCDEF);
  }
}

void FillWorld(std::initializer_list<TWorldPoint> pts) {
  Gval.WorldPoints.assign(pts);
  Gval.WorldPointCount = static_cast<int32_t>(pts.size());
}

TEST_F(PrimitivesTest, PolylineRunsSplitWhereTheWindowCutsThem) {
  struct Case {
    const char* name;
    std::initializer_list<TWorldPoint> pts;
    std::vector<size_t> runs;  // points of each Polyline call
  } cases[] = {
      {"all left", {{-5, 10}, {-3, 20}, {-1, 30}}, {}},
      {"inside", {{10, 10}, {20, 20}, {30, 10}}, {3}},
      {"last point alone inside", {{-20, 10}, {-10, 10}, {10, 10}}, {2}},
      {"leaves and re-enters", {{10, 10}, {150, 10}, {150, 20}, {10, 20}}, {2, 2}},
      {"NaN point", {{10, 10}, {kNaN, 10}, {30, 10}}, {}},
  };
  for (const Case& c : cases) {
    canvas.calls.clear();
    FillWorld(c.pts);
    DrawPolylineBuffer(canvas);
    const auto lines = canvas.Of(TCanvasCall::Polyline);
    ASSERT_EQ(lines.size(), c.runs.size()) << c.name;
    for (size_t k = 0; k < lines.size(); ++k) EXPECT_EQ(lines[k].points.size(), c.runs[k]) << c.name;
    EXPECT_EQ(Gval.DevicePointCount, 0);
  }
  // The last point alone inside: its segment starts on the window's edge.
  FillWorld({{-20, 10}, {-10, 10}, {10, 10}});
  canvas.calls.clear();
  DrawPolylineBuffer(canvas);
  EXPECT_EQ(canvas.calls.at(0).points.at(0).x, 0);
}

TEST_F(PrimitivesTest, PolygonsReachingFarOutAreCutAndStillFilled) {
  struct Case {
    const char* name;
    std::initializer_list<TWorldPoint> pts;
    bool drawn;
  } cases[] = {
      {"first edge 10000 units", {{10, 10}, {1010, 10}, {1010, 20}}, true},
      {"first edge 10001 units", {{10, 10}, {1010.1, 10}, {1010.1, 20}}, true},
      {"a kilometre square", {{-1e6, -1e6}, {1e6, -1e6}, {1e6, 1e6}, {-1e6, 1e6}}, true},
      {"beyond the right edge", {{200, 10}, {300, 10}, {300, 20}}, false},
      {"infinite vertex", {{10, 10}, {std::numeric_limits<double>::infinity(), 10}, {20, 20}}, false},
      {"NaN vertex", {{10, 10}, {20, kNaN}, {20, 20}}, false},
  };
  for (const Case& c : cases) {
    canvas.calls.clear();
    FillWorld(c.pts);
    DrawPolygonBuffer(canvas);
    EXPECT_EQ(Count(TCanvasCall::Polyline), 0u) << c.name;
    ASSERT_EQ(Count(TCanvasCall::Polygon), c.drawn ? 1u : 0u) << c.name;
    if (!c.drawn) continue;
    for (const TDevicePoint& p : canvas.calls[0].points) {  // within the page and the pen's margin
      EXPECT_LE(std::abs(p.x - 500), 510) << c.name;
      EXPECT_LE(std::abs(p.y - 500), 510) << c.name;
    }
  }
}

TEST_F(PrimitivesTest, CircularSolidsByCode) {
  struct Case {
    int32_t code;
    double start, sweep, q;
    TCanvasCall::Kind kind;
    size_t points;  // 0: nothing drawn
  } cases[] = {
      {101, 0, kPi / 2, 0, TCanvasCall::Polygon, 74},   // pie
      {101, 0, kPi / 2, 5, TCanvasCall::Polygon, 73},   // segment
      {101, 1, 0.1, 100, TCanvasCall::Polygon, 72},     // full disc whatever the angles
      {101, 0, kPi / 2, 3, TCanvasCall::Polygon, 74},   // tangent cap
      {111, 0, kPi / 2, 0, TCanvasCall::Polyline, 73},
      {111, 0, 0.1, 100, TCanvasCall::Polyline, 73},
      {105, 0, kPi, 8, TCanvasCall::Polygon, 146},
      {106, 0, kPi, 0, TCanvasCall::Polygon, 146},      // inner radius 0 divides nothing
      {107, 0, kPi, 8, TCanvasCall::Polygon, 0},
  };
  for (const Case& c : cases) {
    canvas.calls.clear();
    DrawCircleSolid(canvas, c.code, 50, 50, 10, 0.5, 0, c.start, c.sweep, c.q, 0, 0, 1, 0, 0, 1, 1);
    const auto got = canvas.Of(c.kind);
    ASSERT_EQ(got.size(), c.points ? 1u : 0u) << c.code << " q " << c.q;
    if (c.points) {
      EXPECT_EQ(got[0].points.size(), c.points) << c.code << " q " << c.q;
    }
    EXPECT_EQ(Gval.WorldPointCount, 0);
  }
}

TEST_F(PrimitivesTest, BandKeepsItsWidthOnBothAxes) {
  DrawCircleSolid(canvas, 106, 50, 50, 10, 0.5, 0, 0, 2 * kPi, 8, 0, 0, 1, 0, 0, 1, 1);
  const auto& pts = canvas.calls.at(0).points;
  const std::vector<TDevicePoint> inner(pts.begin() + 73, pts.end());
  EXPECT_EQ(BoxSize(inner), std::make_pair(160, 60));  // semi-axes 8 and 3 mm at 10 units/mm
}

TEST_F(PrimitivesTest, MappedCurvesAndRectanglesLandWhereTheMapSays) {
  // A quarter turn about the origin moves the circle at (50, 20) to (-20, 50).
  DrawMappedEllipse(canvas, 50, 20, 5, 1, 0, 40, 0, 0, -1, 1, 0, 1);
  ASSERT_EQ(canvas.calls.size(), 1u);
  EXPECT_EQ(canvas.calls[0].points[0].x, 200);  // (20, 55) after the move by 40
  EXPECT_EQ(canvas.calls[0].points[0].y, 450);
  canvas.calls.clear();
  DrawRotatedRect(canvas, 10, 10, 20, 15, kPi / 2);
  ASSERT_EQ(canvas.calls.size(), 1u);
  const std::vector<TDevicePoint> want = {{100, 900}, {100, 800}, {50, 800}, {50, 900}};
  for (size_t k = 0; k < 4; ++k) {
    EXPECT_EQ(canvas.calls[0].points[k].x, want[k].x);
    EXPECT_EQ(canvas.calls[0].points[k].y, want[k].y);
  }
}

TEST_F(PrimitivesTest, CurvesWithinOneDevicePointKeepTheirPointCounts) {
  struct Case {
    double cx, radius;
    bool arc;
    size_t points;
    bool onePoint;
  } cases[] = {
      {50, 0.01, false, 72, true}, {50, 0.01, true, 73, true},
      {50.05, 0.01, false, 72, false},  // straddles a pixel edge: walked
      {0.01, 0.005, false, 72, true},   // close to the window's edge
  };
  for (const Case& c : cases) {
    canvas.calls.clear();
    if (c.arc)
      DrawMappedArc(canvas, c.cx, 50, c.radius, 1, 0, 0, kPi, 0, 0, 1, 0, 0, 1, 1);
    else
      DrawMappedEllipse(canvas, c.cx, 50, c.radius, 1, 0, 0, 0, 1, 0, 0, 1, 1);
    ASSERT_EQ(canvas.calls.size(), 1u) << c.cx;
    const auto& pts = canvas.calls[0].points;
    EXPECT_EQ(pts.size(), c.points) << c.cx;
    EXPECT_EQ(BoxSize(pts) == std::make_pair(0, 0), c.onePoint) << c.cx;
  }
}

}  // namespace
