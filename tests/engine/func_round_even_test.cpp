#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "func.h"

TEST(RoundToEvenInt, TiesGoToTheEvenNeighbourAndFarValuesSaturate) {
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
  struct Row {
    double x;
    int32_t r;
  };
  const Row rows[] = {
      {0.5, 0},  {1.5, 2},     {2.5, 2},     {-2.5, -2},      {-3.5, -4},    {2.4999, 2},
      {2.5001, 3}, {std::nan(""), 0}, {1e20, kMax}, {-1e20, kMin},
      {std::numeric_limits<double>::infinity(), kMax}, {2147483646.5, 2147483646},
  };
  for (const Row& r : rows) EXPECT_EQ(RoundToEvenInt(r.x), r.r) << r.x;
}
