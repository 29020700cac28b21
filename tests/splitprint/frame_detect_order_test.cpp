#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "frame_detect.h"

namespace {

// The numbering sort exactly as described: a selection sort that exchanges
// the rectangles of row i and the best row after each scan.
void RefOrder(std::vector<TZumenWakuField>& f, int direction) {
  double minW = INFINITY, minH = INFINITY;
  for (const auto& r : f) {
    minW = std::min(minW, r.XMax - r.XMin);
    minH = std::min(minH, r.YMax - r.YMin);
  }
  const double cw = minW / 2, ch = minH / 2;
  auto kx = [&](const TZumenWakuField& r) { return std::trunc(((r.XMin + r.XMax) / 2) / cw) * cw; };
  auto ky = [&](const TZumenWakuField& r) { return std::trunc(((r.YMin + r.YMax) / 2) / ch) * ch; };
  for (size_t i = 0; i + 1 < f.size(); ++i) {
    size_t best = i;
    for (size_t j = i + 1; j < f.size(); ++j) {
      bool first;
      if (direction == 0) {
        first = std::fabs(ky(f[best]) - ky(f[j])) > 1e-8 ? ky(f[j]) > ky(f[best]) : kx(f[j]) < kx(f[best]);
      } else {
        first = std::fabs(kx(f[best]) - kx(f[j])) > 1e-8 ? kx(f[j]) < kx(f[best]) : ky(f[j]) > ky(f[best]);
      }
      if (first) best = j;
    }
    std::swap(f[i].XMin, f[best].XMin);
    std::swap(f[i].YMin, f[best].YMin);
    std::swap(f[i].XMax, f[best].XMax);
    std::swap(f[i].YMax, f[best].YMax);
  }
}

TZumenWakuField Rect(double x0, double y0, double x1, double y1) {
  TZumenWakuField f;
  f.XMin = x0;
  f.YMin = y0;
  f.XMax = x1;
  f.YMax = y1;
  return f;
}

void ExpectSameOrder(const std::vector<TZumenWakuField>& a, const std::vector<TZumenWakuField>& b) {
  ASSERT_EQ(a.size(), b.size());
  for (size_t i = 0; i < a.size(); ++i) {
    ASSERT_EQ(a[i].XMin, b[i].XMin) << i;
    ASSERT_EQ(a[i].YMin, b[i].YMin) << i;
    ASSERT_EQ(a[i].XMax, b[i].XMax) << i;
    ASSERT_EQ(a[i].YMax, b[i].YMax) << i;
  }
}

}  // namespace

// Many frames share a cell key (small and large frames around the same
// centres, exact duplicates), which is where the exchange makes the
// selection sort unstable.
TEST(OrderFramesByNumbering, MatchesTheSelectionSortIncludingTies) {
  std::mt19937 rng(777);
  for (int round = 0; round < 300; ++round) {
    const size_t n = 1 + rng() % 120;
    std::vector<TZumenWakuField> frames;
    for (size_t i = 0; i < n; ++i) {
      const double cx = (rng() % 6) * 100.0 + (rng() % 3) * 7.0;
      const double cy = (rng() % 6) * 100.0 + (rng() % 3) * 7.0;
      const double w = 20 + (rng() % 4) * 30.0, h = 20 + (rng() % 4) * 30.0;
      frames.push_back(Rect(cx - w / 2, cy - h / 2, cx + w / 2, cy + h / 2));
    }
    for (int direction : {0, 1}) {
      auto got = frames, want = frames;
      OrderFramesByNumbering(got, direction);
      RefOrder(want, direction);
      ExpectSameOrder(got, want);
    }
  }
}

TEST(OrderFramesByNumbering, TiesAreNotKeptInListOrder) {
  // Rows 0 and 1 tie; row 2 comes first and is exchanged with row 0, so the
  // tied rows end up reversed.
  std::vector<TZumenWakuField> f{Rect(0, 0, 100, 100), Rect(10, 0, 90, 100), Rect(0, 500, 100, 600)};
  OrderFramesByNumbering(f, 0);
  EXPECT_EQ(f[0].YMin, 500);
  EXPECT_EQ(f[1].XMin, 10);
  EXPECT_EQ(f[2].XMin, 0);
}

TEST(OrderFramesByNumbering, AbsurdCoordinatesFallBackToThePlainSort) {
  std::vector<TZumenWakuField> frames{Rect(-1.7e308, 0, 1.7e308, 10), Rect(0, 0, 1e308, 20),
                                      Rect(1e308, 5, 1.7e308, 30), Rect(0, 0, 10, 10)};
  for (int direction : {0, 1}) {
    auto got = frames, want = frames;
    OrderFramesByNumbering(got, direction);
    RefOrder(want, direction);
    ExpectSameOrder(got, want);
  }
}
