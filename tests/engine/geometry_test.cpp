#include "geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "func.h"
#include "jwwtype.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TAffineMap Rotation(double a, double tx = 0, double ty = 0) {
  return TAffineMap{std::cos(a), -std::sin(a), std::sin(a), std::cos(a), tx, ty, 1};
}

// ---- Extent box ----

struct TPt {
  double x, y, s;
};

TEST(Geometry, ExtentBoxRows) {
  struct Row {
    const char* what;
    std::vector<TPt> points;  // the first goes to ExtentInit
    double box[4];
  };
  const Row rows[] = {
      {"one point", {{3, 4, 1}}, {3, 4, 3, 4}},
      {"widens both ways", {{3, 4, 1}, {-1, 9, 1}, {5, -2, 1}}, {-1, -2, 5, 9}},
      {"divisor", {{10, 20, 2}, {-10, -20, 2}}, {-5, -10, 5, 10}},
      {"far maximum", {{0, 0, 1}, {5e8, 1, 1}}, {0, 0, 1e8, 1}},
      {"far minimum", {{0, 0, 1}, {-3e8, 1, 1}}, {-1e8, 0, 0, 1}},
      {"far start", {{5e8, -5e8, 1}}, {1e8, -1e8, 1e8, -1e8}},
      {"far start then near", {{5e8, 0, 1}, {1, 0, 1}}, {1, 0, 1e8, 0}},
      {"NaN ignored", {{1, 2, 1}, {kNaN, 7, 1}, {8, kNaN, 1}}, {1, 2, 8, 7}},
      {"infinity clamped", {{1, 2, 1}, {kInf, -kInf, 1}}, {1, -1e8, 1e8, 2}},
      {"NaN start axis filled by the next value", {{kNaN, 2, 1}, {4, 3, 1}, {6, 1, 1}}, {4, 1, 6, 3}},
      {"divisor 0", {{1, 0, 0}}, {1e8, 1e8, 1e8, -1e8}},  // 1/0 = inf; 0/0 = NaN is an empty axis
  };
  for (const Row& r : rows) {
    double b[4] = {-7, -7, -7, -7};
    ExtentInit(r.points[0].x, r.points[0].y, r.points[0].s, b[0], b[1], b[2], b[3]);
    for (size_t i = 1; i < r.points.size(); ++i)
      ExtentAddPoint(r.points[i].x, r.points[i].y, r.points[i].s, b[0], b[1], b[2], b[3]);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(b[i], r.box[i]) << r.what << " [" << i << "]";
  }
}

TEST(Geometry, ExtentAddMappedPoint) {
  double b[4];
  ExtentInit(100, 100, 1, b[0], b[1], b[2], b[3]);
  // (10, 0) turned by 90 degrees about the insertion point (100, 100).
  ExtentAddMappedPoint(10, 0, 100, 100, 0, -1, 1, 0, 1, b[0], b[1], b[2], b[3]);
  EXPECT_DOUBLE_EQ(b[0], 100);
  EXPECT_DOUBLE_EQ(b[3], 110);
  ExtentAddMappedPoint(10, 0, 0, 0, 4, 0, 0, 4, 2, b[0], b[1], b[2], b[3]);  // (20, 0)
  EXPECT_DOUBLE_EQ(b[0], 20);
  EXPECT_DOUBLE_EQ(b[1], 0);
  ExtentAddMappedPoint(1e300, 1e300, 0, 0, 1e10, -1e10, 0, 0, 1, b[0], b[1], b[2], b[3]);  // inf - inf
  EXPECT_DOUBLE_EQ(b[0], 20);
  EXPECT_DOUBLE_EQ(b[2], 100);
  // A NaN start value of the caller's own never survives a call.
  double n[4] = {kNaN, kNaN, kNaN, kNaN};
  ExtentAddPoint(3, 4, 1, n[0], n[1], n[2], n[3]);
  EXPECT_EQ(n[0], 3);
  EXPECT_EQ(n[3], 4);
}

// ---- Lines and intersections ----

TEST(Geometry, IntersectSegmentsRows) {
  struct Row {
    const char* what;
    double p[8];
    int32_t code;
    double X, Y;  // -99: untouched
  };
  const Row rows[] = {
      {"two vertical", {1, 0, 1, 5, 2, 0, 2, 5}, 0, -99, -99},
      {"vertical crosses horizontal", {3, -1, 3, 4, 0, 2, 9, 2}, 1, 3, 2},
      {"horizontal crosses vertical", {0, 2, 9, 2, 3, -1, 3, 4}, 1, 3, 2},
      {"crossing diagonals", {0, 0, 4, 4, 0, 4, 4, 0}, 1, 2, 2},
      {"meeting beyond an end", {0, 0, 1, 1, 0, 4, 4, 0}, 2, 2, 2},
      {"just within 1e-12 of an end", {0, 0, 2 - 5e-13, 2 - 5e-13, 0, 4, 4, 0}, 1, 2, 2},
      {"parallel", {0, 0, 4, 1, 0, 1, 4, 2}, 0, -99, -99},
      {"nearly vertical snaps", {1, 0, 1 + 4e-13, 5, 0, 2, 9, 2}, 1, 1, 2},
      {"difference -1.4e-12 snaps to zero", {1, 0, 1 + 1.4e-12, 5, 0, 2, 9, 2}, 1, 1, 2},
      {"difference +0.6e-12 does not", {1 + 6e-13, 0, 1, 5, 0, 2, 9, 2}, 1, 1, 2},
  };
  for (const Row& r : rows) {
    double X = -99, Y = -99;
    const double* p = r.p;
    EXPECT_EQ(IntersectSegments(p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7], X, Y), r.code) << r.what;
    EXPECT_NEAR(X, r.X, 1e-12) << r.what;
    EXPECT_NEAR(Y, r.Y, 1e-12) << r.what;
  }
}

TEST(Geometry, IntersectSegmentsHugeAndNaNInputStayDefined) {
  double X = 0, Y = 0;
  // Differences far beyond the integer range go through the snapping safely.
  EXPECT_EQ(IntersectSegments(-1e300, 0, 1e300, 1, 0, -1e300, 1, 1e300, X, Y), 1);
  EXPECT_EQ(IntersectSegments(kNaN, 0, 1, 1, 0, 1, 1, 0, X, Y), 2);
  EXPECT_EQ(IntersectSegments(-kInf, 0, kInf, 0, 0, -kInf, 0, kInf, X, Y), 2);
}

TEST(Geometry, PerpendicularOffsetAndRotateAbout) {
  struct Row {
    double p[6];
    double offset;
  };
  const Row rows[] = {
      {{0, 0, 10, 0, 3, 4}, 4},
      {{0, 0, 10, 0, 3, -4}, 4},
      {{1, 1, 2, 2, 1, 2}, std::sqrt(0.5)},
      {{5, 5, 5, 5, 9, 8}, 3},  // coinciding points: |py - y1|
      {{0, 0, 0, 10, -2, 50}, 2},
  };
  for (const Row& r : rows)
    EXPECT_NEAR(PerpendicularOffset(r.p[0], r.p[1], r.p[2], r.p[3], r.p[4], r.p[5]), r.offset, 1e-12);
  EXPECT_DOUBLE_EQ(PointDistance(1, 1, 4, 5), 5);

  double x, y;
  RotateAbout(2, 1, 1, 1, kPi / 2, x, y);
  EXPECT_NEAR(x, 1, 1e-15);
  EXPECT_NEAR(y, 2, 1e-15);
  x = 3;
  y = 1;
  RotateAbout(x, y, 1, 1, kPi, x, y);  // in and out may be the same variables
  EXPECT_NEAR(x, -1, 1e-15);
  EXPECT_NEAR(y, 1, 1e-15);
}

// ---- Arcs ----

TEST(Geometry, EllipsePointWithTilt) {
  double x, y;
  EllipsePoint(10, 20, 4, 0.5, kPi / 2, kPi / 2, x, y);  // minor axis end, turned
  EXPECT_NEAR(x, 8, 1e-12);
  EXPECT_NEAR(y, 20, 1e-12);
}

TEST(Geometry, ArcEndPointsAndApexRows) {
  struct Row {
    const char* what;
    double cx, cy, r, f, start, sweep, theta;
    double sx, sy, ex, ey, ax, ay;
  };
  const Row rows[] = {
      {"quarter circle", 0, 0, 1, 1, 0, kPi / 2, 0, 1, 0, 0, 1, 1, 1},
      {"quarter circle, moved", 5, 6, 1, 1, 0, kPi / 2, 0, 6, 6, 5, 7, 6, 7},
      {"half circle: parallel tangents", 3, 4, 1, 1, 0, kPi, 0, 4, 4, 2, 4, 3, 4},
      {"quarter ellipse, tilted", 0, 0, 2, 0.5, 0, kPi / 2, kPi / 2, 0, 2, -1, 0, -1, 2},
      {"negative sweep", 0, 0, 1, 1, kPi / 2, -kPi / 2, 0, 0, 1, 1, 0, 1, 1},
  };
  for (const Row& r : rows) {
    double sx, sy, ex, ey, ax, ay, bx, by;
    ArcEndPoints(r.cx, r.cy, r.r, r.f, r.start, r.sweep, r.theta, sx, sy, ex, ey, ax, ay);
    ArcTangentApex(r.cx, r.cy, r.r, r.f, r.theta, r.start, r.sweep, bx, by);
    EXPECT_NEAR(sx, r.sx, 1e-12) << r.what;
    EXPECT_NEAR(sy, r.sy, 1e-12) << r.what;
    EXPECT_NEAR(ex, r.ex, 1e-12) << r.what;
    EXPECT_NEAR(ey, r.ey, 1e-12) << r.what;
    EXPECT_NEAR(ax, r.ax, 1e-12) << r.what;
    EXPECT_NEAR(ay, r.ay, 1e-12) << r.what;
    EXPECT_NEAR(bx, r.ax, 1e-12) << r.what;
    EXPECT_NEAR(by, r.ay, 1e-12) << r.what;
  }
}

struct TArc {
  double cx, cy, r, f, start, sweep, theta;
};

TArc Mapped(int32_t whole, const TArc& a, const TAffineMap& m) {
  TArc o{};
  MapArc(whole, a.cx, a.cy, a.r, a.f, a.start, a.sweep, a.theta, m, o.cx, o.cy, o.r, o.f, o.start, o.sweep,
         o.theta);
  return o;
}

TEST(Geometry, MapArcKnownCases) {
  struct Row {
    const char* what;
    int32_t whole;
    TArc in;
    TAffineMap map;
    TArc out;
  };
  const Row rows[] = {
      {"translation", 0, {1, 2, 3, 1, 0.5, 1, 0}, {1, 0, 0, 1, 10, 20, 1}, {11, 22, 3, 1, 0.5, 1, 0}},
      {"uniform scaling by 2, start into [0, 2pi)", 0, {1, 1, 1, 1, -kPi / 2, kPi / 2, 0},
       {2, 0, 0, 2, 0, 0, 1}, {2, 2, 2, 1, 3 * kPi / 2, kPi / 2, 0}},
      {"whole circle under (1, 0, 0, 2)", 1, {0, 0, 1, 1, 0.3, 2 * kPi, 0}, {1, 0, 0, 2, 0, 0, 1},
       {0, 0, 2, 0.5, 0.3, 2 * kPi, kPi / 2}},
      {"mirror about the y axis reverses", 0, {0, 0, 1, 1, 0, kPi / 2, 0}, {-1, 0, 0, 1, 0, 0, 1},
       {0, 0, 1, 1, 3 * kPi / 2, kPi / 2, kPi}},
      {"half turn", 0, {0, 0, 2, 1, 0, kPi / 2, 0}, {-1, 0, 0, -1, 0, 0, 1}, {0, 0, 2, 1, 0, kPi / 2, kPi}},
      {"negative sweep comes back positive", 0, {0, 0, 1, 1, kPi / 2, -kPi / 2, 0}, {1, 0, 0, 1, 0, 0, 1},
       {0, 0, 1, 1, 0, kPi / 2, 0}},
      {"divisor", 0, {4, 0, 2, 1, 0, 1, 0}, {1, 0, 0, 1, 0, 0, 2}, {2, 0, 1, 1, 0, 1, 0}},
      {"radius 0 keeps start and sweep", 0, {1, 1, 0, 1, -1, -2, 0}, Rotation(0.3), {0, 0, 0, 0, -1, -2, 0}},
      {"flattened out keeps start and sweep", 0, {0, 0, 1, 1, 0.2, 1, 0}, {1, 0, 0, 0, 0, 0, 1},
       {0, 0, 1, 0, 0.2, 1, 0}},
      {"full turn, not whole", 0, {0, 0, 1, 1, 0, 2 * kPi, 0}, {1, 0, 0, 1, 5, 0, 1},
       {5, 0, 1, 1, 0, 2 * kPi, 0}},
  };
  for (const Row& r : rows) {
    const TArc o = Mapped(r.whole, r.in, r.map);
    if (std::string(r.what).find("radius 0") == std::string::npos) {
      EXPECT_NEAR(o.cx, r.out.cx, 1e-9) << r.what;
      EXPECT_NEAR(o.cy, r.out.cy, 1e-9) << r.what;
    }
    EXPECT_NEAR(o.r, r.out.r, 1e-9) << r.what;
    EXPECT_NEAR(o.f, r.out.f, 1e-9) << r.what;
    EXPECT_NEAR(o.start, r.out.start, 1e-9) << r.what;
    EXPECT_NEAR(o.sweep, r.out.sweep, 1e-9) << r.what;
    EXPECT_NEAR(o.theta, r.out.theta, 1e-7) << r.what;
  }
}

// Under any map the mapped arc must run through the images of the original
// arc's start, middle and end (start and end exchanged when reversed).
TEST(Geometry, MapArcImageMatchesMappedPoints) {
  const TAffineMap maps[] = {
      Rotation(kPi / 6, 3, -2),
      Rotation(2.5),
      {1, 0.7, 0, 1, 0, 0, 1},        // shear
      {3, 0, 0, 0.5, 1, 1, 1},        // unequal scaling
      {-1, 0, 0, 1, 0, 0, 1},         // mirror
      {0.8, 1.9, -1.3, 0.4, 7, 8, 1},  // general, mirroring (det < 0 ... or not)
      {-2, 1, 1, 1.5, 0, 0, 1},
  };
  const TArc arcs[] = {
      {0, 0, 1, 1, 0, kPi / 2, 0},
      {2, -1, 5, 0.4, 1.0, 2.0, 0.7},
      {2, -1, 5, 0.4, 5.5, -1.5, 0.7},
      {0, 0, 3, 0.9, -1, 4, -0.3},
  };
  for (size_t mi = 0; mi < std::size(maps); ++mi) {
    for (size_t ai = 0; ai < std::size(arcs); ++ai) {
      const TAffineMap& m = maps[mi];
      const TArc& a = arcs[ai];
      const TArc o = Mapped(0, a, m);
      EXPECT_GE(o.sweep, 0);
      EXPECT_LT(o.sweep, 2 * kPi);
      auto mappedAt = [&](double t, double& x, double& y) {
        double px, py;
        EllipsePoint(a.cx, a.cy, a.r, a.f, a.theta, t, px, py);
        MapPoint(px, py, m, x, y);
      };
      double p0x, p0y, p1x, p1y, pmx, pmy, q0x, q0y, q1x, q1y, qmx, qmy;
      mappedAt(a.start, p0x, p0y);
      mappedAt(a.start + a.sweep, p1x, p1y);
      mappedAt(a.start + a.sweep / 2, pmx, pmy);
      EllipsePoint(o.cx, o.cy, o.r, o.f, o.theta, o.start, q0x, q0y);
      EllipsePoint(o.cx, o.cy, o.r, o.f, o.theta, o.start + o.sweep, q1x, q1y);
      EllipsePoint(o.cx, o.cy, o.r, o.f, o.theta, o.start + o.sweep / 2, qmx, qmy);
      const double tol = 1e-6 * (1 + a.r);
      const bool same = std::hypot(q0x - p0x, q0y - p0y) < tol && std::hypot(q1x - p1x, q1y - p1y) < tol;
      const bool reversed = std::hypot(q0x - p1x, q0y - p1y) < tol && std::hypot(q1x - p0x, q1y - p0y) < tol;
      EXPECT_TRUE(same || reversed) << "map " << mi << " arc " << ai;
      EXPECT_LT(std::hypot(qmx - pmx, qmy - pmy), tol) << "map " << mi << " arc " << ai;
    }
  }
}

TEST(Geometry, MapArcEndsOnNaNAndInfinity) {
  const TArc bad[] = {{kNaN, 0, 1, 1, 0, 1, 0}, {0, 0, kInf, 1, 0, 1, 0}, {0, 0, 1, 1, kNaN, kNaN, kNaN}};
  for (const TArc& a : bad) Mapped(0, a, Rotation(0.3));
  Mapped(0, {0, 0, 1, 1, 0, 1, 0}, TAffineMap{kNaN, 0, 0, 1, 0, 0, 1});
  Mapped(0, {0, 0, 1, 1, 0, 1, 0}, TAffineMap{kInf, 1, 0, 1, 0, 0, 1});
  SUCCEED();
}

// ---- Points ----

TEST(Geometry, MapPointEntityRows) {
  struct Row {
    const char* what;
    int32_t lineType, code;
    double angle, scale;
    TAffineMap map;
    double x, y;
    int32_t code2;
    double angle2, scale2;
  };
  const Row rows[] = {
      {"symbol turned by pi/6", 100, 5, 0, 2, Rotation(kPi / 6), 2 * std::cos(kPi / 6), 2 * std::sin(kPi / 6),
       5, kPi / 6, 2},
      {"symbol mirrored", 100, 3, 0, 1, {-1, 0, 0, 1, 0, 0, 1}, -2, 0, 3, 2 * kPi, 1},
      {"symbol keeps its own angle", 100, 1, 0.5, 1, {1, 0, 0, 1, 1, 1, 2}, 1.5, 0.5, 1, 0.5, 1},
      {"plain point", 1, 7, 1.2, 3, Rotation(1), 2 * std::cos(1.0), 2 * std::sin(1.0), 0, 0, 1},
  };
  for (const Row& r : rows) {
    double x, y, angle, scale;
    int32_t code;
    MapPointEntity(r.lineType, r.code, 2, 0, r.angle, r.scale, r.map, x, y, code, angle, scale);
    EXPECT_NEAR(x, r.x, 1e-12) << r.what;
    EXPECT_NEAR(y, r.y, 1e-12) << r.what;
    EXPECT_EQ(code, r.code2) << r.what;
    EXPECT_NEAR(angle, r.angle2, 1e-12) << r.what;
    EXPECT_EQ(scale, r.scale2) << r.what;
  }
}

// ---- Texts ----

struct TText {
  double sx, sy, ex, ey;
  int32_t kind;
  double sizeX, sizeY, spacing;
};

TText MappedText(const TText& t, const TAffineMap& m) {
  TText o{};
  MapTextEntity(t.kind, t.sx, t.sy, t.ex, t.ey, t.sizeX, t.sizeY, t.spacing, m, o.sx, o.sy, o.ex, o.ey, o.kind,
                o.sizeX, o.sizeY, o.spacing);
  return o;
}

TEST(Geometry, MapTextEntityRows) {
  struct Row {
    const char* what;
    TText in;
    TAffineMap map;
    TText out;
  };
  const Row rows[] = {
      {"translation with divisor", {0, 0, 10, 0, 2005, 3, 2, 0.5}, {1, 0, 0, 1, 4, 6, 2},
       {2, 3, 7, 3, 2005, 1.5, 1, 0.25}},
      {"rotation re-measures and frees the kind", {0, 0, 10, 0, 2005, 1.23456, 2.34544, 0.5},
       Rotation(kPi / 3), {0, 0, 10 * std::cos(kPi / 3), 10 * std::sin(kPi / 3), 2000, 1.2346, 2.3454, 0.5}},
      {"kind below 1000 becomes 0", {0, 0, 1, 0, 5, 1, 1, 0}, Rotation(0.1),
       {0, 0, std::cos(0.1), std::sin(0.1), 0, 1, 1, 0}},
      {"size 0 becomes 0.0001", {0, 0, 1, 0, 1, 0, 0, 0}, {1, 0, 0, 1, 0, 0, 1}, {0, 0, 1, 0, 1, 1e-4, 1e-4, 0}},
      {"scaling doubles the sizes", {1, 1, 3, 1, 3000, 2, 1, 0.1}, {2, 0, 0, 2, 0, 0, 1},
       {2, 2, 6, 2, 3000, 4, 2, 0.2}},
      {"unequal scaling along and across", {0, 0, 0, 5, 1000, 2, 3, 0}, {3, 0, 0, 2, 0, 0, 1},
       {0, 0, 0, 10, 1000, 4, 9, 0}},
      {"mirror exchanges the ends", {1, 0, 5, 0, 2000, 2, 2, 0}, {-1, 0, 0, 1, 0, 0, 1},
       {-5, 0, -1, 0, 2000, 2, 2, 0}},
      {"negative size stays and is rounded symmetrically", {0, 0, 1, 0, 0, 1, 1, -0.123456},
       {1, 0, 0, 1, 0, 0, 1}, {0, 0, 1, 0, 0, 1, 1, -0.1235}},
  };
  for (const Row& r : rows) {
    const TText o = MappedText(r.in, r.map);
    EXPECT_NEAR(o.sx, r.out.sx, 1e-12) << r.what;
    EXPECT_NEAR(o.sy, r.out.sy, 1e-12) << r.what;
    EXPECT_NEAR(o.ex, r.out.ex, 1e-12) << r.what;
    EXPECT_NEAR(o.ey, r.out.ey, 1e-12) << r.what;
    EXPECT_EQ(o.kind, r.out.kind) << r.what;
    EXPECT_DOUBLE_EQ(o.sizeX, r.out.sizeX) << r.what;
    EXPECT_DOUBLE_EQ(o.sizeY, r.out.sizeY) << r.what;
    EXPECT_DOUBLE_EQ(o.spacing, r.out.spacing) << r.what;
  }
}

TEST(Geometry, MapTextEntityNaNSizeGetsTheFloor) {
  const TText o = MappedText({0, 0, 1, 0, 0, kNaN, kInf, 0}, Rotation(0.2));
  EXPECT_EQ(o.sizeX, 1e-4);
  EXPECT_FALSE(std::isnan(o.sizeY));
}

TEST(Geometry, MapDimensionTextRecentres) {
  const std::string content = "12.5";
  struct Row {
    const char* what;
    TAffineMap map;
    bool general;
  };
  const Row rows[] = {
      {"identity with translation", {1, 0, 0, 1, 5, 5, 1}, false},
      {"rotation", Rotation(kPi / 4, 1, 2), true},
      {"mirror", {-1, 0, 0, 1, 0, 0, 1}, true},
  };
  const TText in{0, 0, 10, 0, 2001, 2.5, 2.5, 0.25};
  for (const Row& r : rows) {
    TText o{};
    MapDimensionText(in.kind, in.sx, in.sy, in.ex, in.ey, in.sizeX, in.sizeY, in.spacing, content, r.map, o.sx,
                     o.sy, o.ex, o.ey, o.kind, o.sizeX, o.sizeY, o.spacing);
    const TText plain = MappedText(in, r.map);
    EXPECT_EQ(o.kind, plain.kind) << r.what;
    EXPECT_EQ(o.sizeX, plain.sizeX) << r.what;
    if (!r.general) {
      EXPECT_EQ(o.sx, plain.sx) << r.what;
      EXPECT_EQ(o.ex, plain.ex) << r.what;
      continue;
    }
    // Centred on the mid-point of the (exchanged) ends, along their direction,
    // with the text's length at its new size.
    const double half = TextLengthSJIS(content, plain.sizeX, plain.spacing) / 2;
    const double dir = std::atan2(plain.ey - plain.sy, plain.ex - plain.sx);
    const double mx = (plain.sx + plain.ex) / 2, my = (plain.sy + plain.ey) / 2;
    EXPECT_NEAR(o.sx, mx - half * std::cos(dir), 1e-9) << r.what;
    EXPECT_NEAR(o.sy, my - half * std::sin(dir), 1e-9) << r.what;
    EXPECT_NEAR(o.ex, mx + half * std::cos(dir), 1e-9) << r.what;
    EXPECT_NEAR(o.ey, my + half * std::sin(dir), 1e-9) << r.what;
  }
}

TEST(Geometry, BlockTreeMapTakesTheRowsMatrix) {
  TEntJwwBlockTree row;
  row.OriginX = 100;
  row.OriginY = 50;
  row.M11 = 0;
  row.M12 = -1;
  row.M21 = 1;
  row.M22 = 0;
  double x, y;
  MapPoint(10, 0, BlockTreeMap(row), x, y);
  EXPECT_DOUBLE_EQ(x, 100);
  EXPECT_DOUBLE_EQ(y, 60);
}

}  // namespace
