#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "clipping.h"
#include "frames_holding.h"

namespace {

int32_t PlainFirstHolding(const std::vector<TZumenWakuField>& frames, size_t count, double x, double y) {
  for (size_t i = 0; i < count; ++i) {
    const TZumenWakuField& f = frames[i];
    if (PointVsWindow(x, y, f.XMin, f.YMin, f.XMax, f.YMax) == 0) return static_cast<int32_t>(i);
  }
  return -1;
}

}  // namespace

// Overlapping and nested frames on a coarse grid, points on edges, just
// inside or outside them by about the 1e-12 margin, and odd values: the first
// holder must be that of the plain scan in list order.
TEST(FirstFramesHolding, MatchesThePlainScan) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double odd[] = {inf, -inf, nan, -0.0, 1e300};
  const double nudges[] = {0, 0, 1e-12, -1e-12, 2e-12, -2e-12, 5e-13, 0.5};
  std::mt19937 rng(99);
  size_t held = 0, free = 0;
  for (int round = 0; round < 400; ++round) {
    auto value = [&] {
      if (rng() % 40 == 0) return odd[rng() % 5];
      return static_cast<double>(rng() % 8) * 10 + nudges[rng() % 8];
    };
    std::vector<TZumenWakuField> frames(rng() % 30);
    for (TZumenWakuField& f : frames) {
      f.XMin = value();
      f.YMin = value();
      f.XMax = rng() % 10 == 0 ? value() : f.XMin + static_cast<double>(1 + rng() % 4) * 10;
      f.YMax = rng() % 10 == 0 ? value() : f.YMin + static_cast<double>(1 + rng() % 4) * 10;
    }
    std::vector<std::pair<double, double>> points(rng() % 60);
    for (auto& p : points) p = {value(), value()};
    const size_t count = frames.empty() ? 0 : rng() % (frames.size() + 3);  // may exceed the list
    const std::vector<int32_t> got = FirstFramesHolding(frames, count, points);
    ASSERT_EQ(got.size(), points.size());
    for (size_t p = 0; p < points.size(); ++p) {
      const int32_t want = PlainFirstHolding(frames, std::min(count, frames.size()), points[p].first, points[p].second);
      ASSERT_EQ(got[p], want) << "round " << round << " point " << points[p].first << "," << points[p].second;
      (want >= 0 ? held : free) += 1;
    }
  }
  EXPECT_GT(held, 1000u);
  EXPECT_GT(free, 1000u);
}
