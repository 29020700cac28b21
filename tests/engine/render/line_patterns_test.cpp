// Dash patterns and zig-zags, the pattern carried from stroke to stroke,
// and the strokes that must be drawn plain.
#include "render/line_patterns.h"

#include <gmock/gmock.h>

#include <limits>

#include "render_fixture.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kPi = 3.14159265358979323846;

struct Stroke {
  int32_t x1, y1, x2, y2;
  bool operator==(const Stroke&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Stroke& s) {
  return os << "(" << s.x1 << "," << s.y1 << ")-(" << s.x2 << "," << s.y2 << ")";
}

class LinePatternTest : public RenderTest {
 protected:
  void SetUp() override {
    RenderTest::SetUp();
    attr.SetLineWidthMode(true);
    SetLineType(2, {1, -1});  // 10 units on, 10 off at 10 units per mm
    SetLineType(3, {1, -1});
    ResetDashState();
  }
  std::vector<Stroke> Strokes() const {
    std::vector<Stroke> out;
    for (size_t k = 0; k + 1 < canvas.calls.size(); k += 2) {
      const auto& a = canvas.calls[k].points[0];
      const auto& b = canvas.calls[k + 1].points[0];
      out.push_back({a.x, a.y, b.x, b.y});
    }
    return out;
  }
  double DrawnLength() const {
    double sum = 0;
    for (const Stroke& s : Strokes()) sum += std::hypot(s.x2 - s.x1, s.y2 - s.y1);
    return sum;
  }
};

TEST_F(LinePatternTest, StrokesDrawnPlainLeaveTheStateAlone) {
  struct Case {
    const char* name;
    int32_t lineType;
    double scale;
    std::initializer_list<double> pattern;
    double amplitude;
  } cases[] = {
      {"no segments", 1, 10, {}, 0},
      {"period of 2 units", 2, 1, {1, -1}, 0},
      {"NaN segment", 2, 10, {1, kNaN}, 0},
      {"infinite segment", 2, 10, {kInf, -1}, 0},
      {"NaN amplitude", 2, 10, {1, -1}, kNaN},
      {"scale 0", 2, 0, {1, -1}, 0},
  };
  for (const Case& c : cases) {
    View(c.scale == 0 ? 10 : c.scale);
    Gval.ViewScale = c.scale;
    if (c.lineType != 1) SetLineType(c.lineType, c.pattern, c.amplitude);
    canvas.calls.clear();
    DrawPatternLine(0, c.lineType, canvas, 10, 50, 90, 50);
    EXPECT_EQ(Strokes().size(), 1u) << c.name;
    EXPECT_EQ(Gval.DashOwner, -1) << c.name;
  }
}

TEST_F(LinePatternTest, WalkOfOneStroke) {
  struct Case {
    const char* name;
    std::initializer_list<double> pattern;
    double x1, x2;
    std::vector<Stroke> strokes;
    int32_t segment;
    double consumed;
  } cases[] = {
      {"dashes and gaps", {1, -1}, 10, 13.5, {{100, 500, 110, 500}, {120, 500, 130, 500}}, 1, 0.5},
      {"shorter than the first dash", {1, -1}, 10, 10.4, {{100, 500, 104, 500}}, 0, 0.4},
      {"dots", {0, -1}, 10, 13, {{100, 500, 100, 500}, {110, 500, 110, 500}, {120, 500, 120, 500}}, 1, 1},
      {"starts outside: pattern from the edge", {1, -1}, -5, 2, {{0, 500, 10, 500}}, 1, 1},
  };
  for (const Case& c : cases) {
    SetLineType(2, c.pattern);
    ResetDashState();
    Gval.DashOwner = 0, Gval.DashLineType = 2, Gval.DashEndX = -5, Gval.DashEndY = 50;
    Gval.DashSegment = 1, Gval.DashConsumed = 0.5;  // a stroke ended at the unclipped start
    canvas.calls.clear();
    DrawPatternLine(0, 2, canvas, c.x1, 50, c.x2, 50);
    EXPECT_EQ(Strokes(), c.strokes) << c.name;
    EXPECT_EQ(Gval.DashSegment, c.segment) << c.name;
    EXPECT_NEAR(Gval.DashConsumed, c.consumed, 1e-9) << c.name;
  }
}

TEST_F(LinePatternTest, PatternRunsOnOnlyFromTheSameOwnerTypeAndEnd) {
  const std::vector<Stroke> continued = {{20, 500, 30, 500}};  // the gap begun before is finished
  const std::vector<Stroke> restarted = {{15, 500, 25, 500}, {35, 500, 40, 500}};
  struct Case {
    const char* name;
    int32_t owner, lineType;
    double start;
    std::vector<Stroke> strokes;
  } cases[] = {
      {"continues", 0, 2, 1.5, continued},
      {"other line type", 0, 3, 1.5, restarted},
      {"other layer", 1, 2, 1.5, restarted},
      {"start 1e-13 away", 0, 2, 1.5 + 1e-13, restarted},
  };
  for (const Case& c : cases) {
    ResetDashState();
    DrawPatternLine(0, 2, canvas, 0, 50, 1.5, 50);
    canvas.calls.clear();
    DrawPatternLine(c.owner, c.lineType, canvas, c.start, 50, 4, 50);
    EXPECT_EQ(Strokes(), c.strokes) << c.name;
  }
}

TEST_F(LinePatternTest, ZigZagAlternatesSidesAndEndsOnTheLine) {
  SetLineType(11, {1, -1}, 0.3);
  DrawPatternLine(0, 11, canvas, 10, 50, 14, 50);
  const std::vector<Stroke> want = {
      {100, 500, 110, 497}, {110, 497, 120, 503}, {120, 503, 130, 497}, {130, 497, 140, 500}};
  EXPECT_EQ(Strokes(), want);
}

TEST_F(LinePatternTest, ArcKeepsOnePatternAroundItsChords) {
  DrawPatternArc(0, 2, canvas, 50, 50, 10, 1, 0, 0, 2 * kPi, 0, 0, 1, 0, 0, 1, 1);
  const double perimeter = 72 * 2 * 100 * std::sin(kPi / 72);  // device units
  EXPECT_NEAR(DrawnLength(), perimeter / 2, 15);  // restarting per chord would draw it all
}

TEST_F(LinePatternTest, PlainArcsDropOnlyStrokesHiddenUnderTheirNeighbours) {
  struct Case {
    const char* name;
    double cx, radius;
    size_t strokes;
    bool oneDot;
  } cases[] = {
      {"within one device point", 50, 0.01, 1, true},
      {"across a pixel edge", 50.05, 0.01, 2, false},
      {"large", 50, 10, 72, false},
      {"half outside", 0, 10, 36, false},
  };
  for (const Case& c : cases) {
    canvas.calls.clear();
    DrawPatternArc(0, 1, canvas, c.cx, 50, c.radius, 1, 0, 0, 2 * kPi, 0, 0, 1, 0, 0, 1, 1);
    const std::vector<Stroke> got = Strokes();
    EXPECT_EQ(got.size(), c.strokes) << c.name;
    for (const Stroke& st : got) EXPECT_EQ(st.x1 == st.x2 && st.y1 == st.y2, c.oneDot) << c.name << st;
  }
}

TEST_F(LinePatternTest, HugeOrNonFiniteStrokesEnd) {
  DrawPatternLine(0, 2, canvas, kNaN, 50, 10, 50);
  DrawPatternLine(0, 2, canvas, 10, kInf, 10, 50);
  EXPECT_TRUE(canvas.calls.empty());
  Gval.ViewXMax = Gval.ViewYMax = 1e12;  // a window far beyond the device
  SetLineType(11, {1, -1}, 0.3);
  for (int32_t type : {2, 11}) {
    canvas.calls.clear();
    DrawPatternLine(0, type, canvas, 1, 1, 1e11, 1);
    EXPECT_EQ(Strokes().size(), 1u) << type;
  }
}

}  // namespace

namespace {
// Where the walk leaves the pattern after the strokes, to compare runs.
std::pair<int32_t, double> State() { return {Gval.DashSegment, Gval.DashConsumed}; }
}  // namespace

TEST_F(LinePatternTest, VectorDevicesGetTheDashesWithTheWalksPhase) {
  SetLineType(4, {-0.5, 1, 0, -1, 2, -0.5});  // starts with a gap, a dot, dashes in a row at the end
  struct Case {
    const char* name;
    int32_t penWidth, lineType;
    double x1, x2;  // one stroke at y 50 mm after a first one from 0 to 1.7 mm
    std::vector<double> dashes;  // empty: drawn dash by dash
    double phase;
  } cases[] = {
      {"continued stroke", 3, 2, 1.7, 4, {10, 10}, 17},
      {"restarted stroke", 3, 2, 1.8, 4, {10, 10}, 0},
      {"rotated to its first dash, a dot joining the dash before", 3, 4, 1.7, 4, {10, 10, 20, 10}, 12},
      {"hairline pen", 1, 2, 1.7, 4, {}, 0},
      {"shorter than two device units", 3, 2, 1.7, 1.85, {}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    canvas.SetPenWidth(c.penWidth);
    // Both strokes, walked as on a bitmap or handed over; the second's first call.
    auto draw = [&](bool dashes) {
      ResetDashState();
      canvas.calls.clear();
      canvas.drawsDashes = dashes;
      DrawPatternLine(0, c.lineType, canvas, 0, 50, 1.7, 50);
      const long first = long(canvas.calls.size());
      DrawPatternLine(0, c.lineType, canvas, c.x1, 50, c.x2, 50);
      return first;
    };
    draw(false);
    const auto walked = State();
    const long first = draw(true);
    const std::vector<TCanvasCall> second(canvas.calls.begin() + first, canvas.calls.end());
    EXPECT_EQ(State().first, walked.first);
    EXPECT_NEAR(State().second, walked.second, 1e-12);
    if (c.dashes.empty()) {
      for (const TCanvasCall& call : second) EXPECT_NE(call.kind, TCanvasCall::DashedPolyline);
      continue;
    }
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(second[0].kind, TCanvasCall::DashedPolyline);
    EXPECT_THAT(second[0].dashes, testing::Pointwise(testing::DoubleNear(1e-9), c.dashes));
    EXPECT_NEAR(second[0].angle, c.phase, 1e-9);
    ASSERT_EQ(second[0].points.size(), 2u);
    const auto& p = second[0].points;
    EXPECT_EQ(std::tuple(p[0].x, p[1].x, p[1].y), std::tuple(std::lround(c.x1 * 10), std::lround(c.x2 * 10), 500L));
  }
}

TEST_F(LinePatternTest, VectorDevicesGetWholeArcsOnlyInsideTheWindow) {
  SetLineType(11, {1, -1}, 0.3);
  canvas.SetPenWidth(3);
  struct Case {
    const char* name;
    int32_t lineType;
    double cx;
    bool whole;
  } cases[] = {{"inside", 2, 50, true}, {"reaching out of the window", 2, 5, false}, {"zig-zag", 11, 50, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto draw = [&](bool dashes) {
      ResetDashState();
      canvas.calls.clear();
      canvas.drawsDashes = dashes;
      DrawPatternArc(0, c.lineType, canvas, c.cx, 50, 10, 1, 0, 0, 2 * kPi, 0, 0, 1, 0, 0, 1, 1);
    };
    draw(true);
    const std::vector<TCanvasCall> dashed = canvas.Of(TCanvasCall::DashedPolyline);
    if (!c.whole) {
      EXPECT_TRUE(dashed.empty());
      continue;
    }
    ASSERT_EQ(canvas.calls.size(), 1u);
    ASSERT_EQ(dashed.size(), 1u);
    EXPECT_EQ(dashed[0].points.size(), 73u);
    EXPECT_EQ(dashed[0].angle, 0);
    // The state is the walk's after the same 72 chords.
    const auto device = State();
    draw(false);
    EXPECT_EQ(device.first, State().first);
    EXPECT_NEAR(device.second, State().second, 1e-12);
  }
}
