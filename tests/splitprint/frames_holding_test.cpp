#include <gtest/gtest.h>

#include <limits>
#include <random>

#include "clipping.h"
#include "frames_holding.h"

// Overlapping and nested frames on a coarse grid, points on edges and about
// 1e-12 off them, odd values: the first holder of the plain scan in list order.
TEST(FirstFramesHolding, MatchesThePlainScan) {
  const double inf = std::numeric_limits<double>::infinity();
  const double odd[] = {inf, -inf, std::numeric_limits<double>::quiet_NaN(), -0.0, 1e300};
  const double nudges[] = {0, 0, 1e-12, -1e-12, 2e-12, -2e-12, 5e-13, 0.5};
  std::mt19937 rng(99);
  auto value = [&] { return rng() % 40 ? static_cast<double>(rng() % 8) * 10 + nudges[rng() % 8] : odd[rng() % 5]; };
  auto side = [&](double from) { return rng() % 10 == 0 ? value() : from + static_cast<double>(1 + rng() % 4) * 10; };
  for (int round = 0; round < 400; ++round) {
    std::vector<TZumenWakuField> frames(rng() % 30);
    for (TZumenWakuField& f : frames) f.XMin = value(), f.YMin = value(), f.XMax = side(f.XMin), f.YMax = side(f.YMin);
    std::vector<std::pair<double, double>> points(rng() % 60);
    for (auto& p : points) p = {value(), value()};
    const size_t count = frames.empty() ? 0 : rng() % (frames.size() + 3);  // may exceed the list
    const std::vector<int32_t> got = FirstFramesHolding(frames, count, points);
    for (size_t p = 0; p < points.size(); ++p) {
      int32_t want = -1;
      for (size_t i = 0; i < std::min(count, frames.size()) && want < 0; ++i) {
        const TZumenWakuField& f = frames[i];
        if (PointVsWindow(points[p].first, points[p].second, f.XMin, f.YMin, f.XMax, f.YMax) == 0) want = int32_t(i);
      }
      ASSERT_EQ(got.at(p), want) << "round " << round << " point " << points[p].first << "," << points[p].second;
    }
  }
}
