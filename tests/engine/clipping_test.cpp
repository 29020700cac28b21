#include "clipping.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kPi = 3.14159265358979323846;

// The window (0, 0)-(10, 10) throughout.
int32_t Code(double x, double y) { return OutCode(x, y, 0, 0, 10, 10); }

TEST(Clipping, OutCodeAndPointVsWindow) {
  struct Row {
    double x, y;
    int32_t code;
  };
  const Row rows[] = {
      {5, 5, 0},
      {0, 5, kOutLeft},            // on the edge: outside
      {1e-13, 5, kOutLeft},        // within 1e-12 inside: outside
      {2e-12, 5, 0},
      {10, 5, kOutRight},
      {10 - 1e-13, 5, kOutRight},
      {5, 0, kOutBelow},
      {5, 10, kOutAbove},
      {-1, -1, kOutLeft | kOutBelow},
      {11, 11, kOutRight | kOutAbove},
      {0, 10, kOutLeft | kOutAbove},
      {kNaN, 5, kOutLeft | kOutRight},
      {5, kNaN, kOutBelow | kOutAbove},
      {kInf, 5, kOutRight},
      {-kInf, 5, kOutLeft},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(Code(r.x, r.y), r.code) << r.x << "," << r.y;
    EXPECT_EQ(PointVsWindow(r.x, r.y, 0, 0, 10, 10), r.code == 0 ? 0 : 2) << r.x << "," << r.y;
  }
  // A window of zero width gives every point a left or right bit.
  for (double x : {-1.0, 5.0, 6.0}) EXPECT_NE(OutCode(x, 5, 5, 0, 5, 10) & 3, 0) << x;
  // A NaN window edge makes every point outside.
  EXPECT_EQ(PointVsWindow(5, 5, kNaN, 0, 10, 10), 2);
}

TEST(Clipping, QuadVsWindow) {
  struct Row {
    const char* what;
    double p[8];
    int32_t result;
  };
  const Row rows[] = {
      {"inside", {1, 1, 9, 1, 9, 9, 1, 9}, 0},
      {"one corner out", {1, 1, 12, 1, 9, 9, 1, 9}, 1},
      {"wholly left", {-5, 1, -1, 1, -1, 9, -5, 9}, 2},
      {"below left", {-2, -2, -1, -5, -3, -1, -1, -1}, 2},
      {"left and below corners mixed", {-1, 5, -1, -1, 5, -1, -2, -2}, 1},
      // Pairwise sharing with no bit common to all four (a NaN y has both).
      {"pairwise only", {-1, -1, -1, 11, 5, std::nan(""), -1, -1}, 2},
      {"enclosing the window", {-1, -1, 11, -1, 11, 11, -1, 11}, 1},
      {"one on each side", {5, -1, 11, 5, 5, 11, -1, 5}, 1},
      {"on the left edge", {0, 1, 0, 9, 0, 9, 0, 1}, 2},
  };
  for (const Row& r : rows) {
    const double* p = r.p;
    EXPECT_EQ(QuadVsWindow(p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7], 0, 0, 10, 10), r.result)
        << r.what;
  }
}

TEST(Clipping, RotatedRectVsWindow) {
  struct Row {
    double x, y, w, h, angle;
    int32_t result;
  };
  const Row rows[] = {
      {1, 1, 2, 2, 0, 0},
      {3, 3, 2, 2, kPi / 4, 0},
      {1, 1, 2, 2, kPi / 4, 1},   // its top corner swings past x = 0
      {9, 5, 2, 2, 0, 1},
      {1, 1, 2, 2, kPi, 1},         // turned half round: reaches x, y < 0
      {12, 12, 2, 2, 0, 2},
      {12, 5, 3, 1, kPi / 2, 2},    // stands up beside the right edge
      {12, 5, 3, 1, kPi, 1},        // swings into the window
  };
  for (const Row& r : rows)
    EXPECT_EQ(RotatedRectVsWindow(r.x, r.y, r.w, r.h, r.angle, 0, 0, 10, 10), r.result)
        << r.x << "," << r.y << " angle " << r.angle;
}

TEST(Clipping, ClipSegmentCases) {
  struct Row {
    const char* what;
    double in[4];
    int32_t result;
    double out[4];
  };
  const Row rows[] = {
      {"inside", {1, 1, 9, 9}, 0, {1, 1, 9, 9}},
      {"on the left edge", {0, 1, 0, 9}, 2, {0, 1, 0, 9}},
      {"wholly above", {1, 11, 9, 12}, 2, {1, 11, 9, 12}},
      {"vertical from below", {5, -5, 5, 5}, 1, {5, 0, 5, 5}},
      {"horizontal across", {-5, 5, 15, 5}, 1, {0, 5, 10, 5}},
      {"horizontal across, reversed", {15, 5, -5, 5}, 1, {10, 5, 0, 5}},
      {"diagonal through corners", {-1, -1, 11, 11}, 1, {0, 0, 10, 10}},
      {"end outside right", {5, 5, 15, 10}, 1, {5, 5, 10, 7.5}},
      // Left then below: the start moves to x = 0 (y = -1) and then to y = 0,
      // both from the unclipped start.
      {"left and below", {-2, -3, 4, 3}, 1, {1, 0, 4, 3}},
      // The left step brings the start into the y range: the below step is skipped.
      {"left, then inside", {-2, -1, 4, 5}, 1, {0, 1, 4, 5}},
      // Beside a corner both ends land on the same crossing and collapse.
      {"beside a corner", {-2, 9, 1, 12}, 2, {}},
      {"through a corner only", {-1, 9, 2, 12}, 2, {}},
      {"touching a corner within 1e-12", {-1, 9 + 1e-13, 1, 11 + 1e-13}, 2, {}},
      {"zero length inside", {3, 3, 3, 3}, 0, {3, 3, 3, 3}},
      {"zero length outside", {-3, 3, -3, 3}, 2, {-3, 3, -3, 3}},
      {"NaN end", {kNaN, 5, 5, 5}, 2, {kNaN, 5, 5, 5}},
      {"infinite end", {-kInf, 5, 5, 5}, 2, {-kInf, 5, 5, 5}},
      {"infinite both sides", {-kInf, 5, kInf, 5}, 2, {-kInf, 5, kInf, 5}},
  };
  for (const Row& r : rows) {
    double x1 = r.in[0], y1 = r.in[1], x2 = r.in[2], y2 = r.in[3];
    const int32_t result = ClipSegment(x1, y1, x2, y2, 0, 0, 10, 10);
    EXPECT_EQ(result, r.result) << r.what;
    EXPECT_EQ(SegmentVsWindow(r.in[0], r.in[1], r.in[2], r.in[3], 0, 0, 10, 10), r.result) << r.what;
    if (result == 2 && r.in[0] != r.out[0]) continue;  // moved, then collapsed
    const double got[4] = {x1, y1, x2, y2};
    for (int i = 0; i < 4; ++i) {
      if (!std::isfinite(r.out[i])) {
        EXPECT_EQ(std::isnan(got[i]), std::isnan(r.out[i])) << r.what << " [" << i << "]";
        if (!std::isnan(r.out[i])) {
          EXPECT_EQ(got[i], r.out[i]) << r.what << " [" << i << "]";
        }
      } else {
        EXPECT_NEAR(got[i], r.out[i], 1e-12) << r.what << " [" << i << "]";
      }
    }
  }
}

TEST(Clipping, SegmentVsWindowLeavesItsArguments) {
  const double x1 = -5, y1 = 5, x2 = 15, y2 = 5;
  EXPECT_EQ(SegmentVsWindow(x1, y1, x2, y2, 0, 0, 10, 10), 1);
  EXPECT_EQ(x1, -5);
  EXPECT_EQ(x2, 15);
}

TEST(Clipping, OverflowingCrossingDrawsNothing) {
  // dy/dx overflows: the crossing would be infinite.
  double x1 = -1e-300, y1 = 5, x2 = 1e-11, y2 = 1e300;
  const int32_t r = ClipSegment(x1, y1, x2, y2, 0, 0, 10, 10);
  EXPECT_TRUE(std::isfinite(x1) && std::isfinite(y1) && std::isfinite(x2) && std::isfinite(y2));
  EXPECT_TRUE(r == 1 || r == 2);
}

}  // namespace
