// Costs of the per-element geometry: the arc search under a general map
// against the short way, clipping, extents and the pen colour look-up.
#include <benchmark/benchmark.h>

#include <cmath>

#include "clipping.h"
#include "geometry.h"
#include "gra_attribute.h"

static void BM_MapArcSearch(benchmark::State& state) {
  const TAffineMap m{std::cos(0.5), -std::sin(0.5), std::sin(0.5), std::cos(0.5), 10, 20, 1};
  double o[7];
  for (auto _ : state) {
    MapArc(0, 1, 2, 5, 0.6, 0.3, 2.0, 0.2, m, o[0], o[1], o[2], o[3], o[4], o[5], o[6]);
    benchmark::DoNotOptimize(o);
  }
}
BENCHMARK(BM_MapArcSearch);

static void BM_MapArcShortWay(benchmark::State& state) {
  const TAffineMap m{2, 0, 0, 2, 10, 20, 1};
  double o[7];
  for (auto _ : state) {
    MapArc(0, 1, 2, 5, 0.6, 0.3, 2.0, 0.2, m, o[0], o[1], o[2], o[3], o[4], o[5], o[6]);
    benchmark::DoNotOptimize(o);
  }
}
BENCHMARK(BM_MapArcShortWay);

static void BM_ClipSegmentCrossing(benchmark::State& state) {
  double x = 0;
  for (auto _ : state) {
    double x1 = -5 + x, y1 = 3, x2 = 15, y2 = 7 + x;
    benchmark::DoNotOptimize(ClipSegment(x1, y1, x2, y2, 0, 0, 10, 10));
    benchmark::DoNotOptimize(x1 + y2);
    x = x > 1 ? 0 : x + 1e-3;
  }
}
BENCHMARK(BM_ClipSegmentCrossing);

static void BM_ExtentAddMappedPoint(benchmark::State& state) {
  double b[4] = {0, 0, 0, 0};
  double x = 0;
  for (auto _ : state) {
    ExtentAddMappedPoint(x, 1, 100, 100, 0.8, -0.6, 0.6, 0.8, 1, b[0], b[1], b[2], b[3]);
    x = x > 1000 ? 0 : x + 1;
  }
  benchmark::DoNotOptimize(b);
}
BENCHMARK(BM_ExtentAddMappedPoint);

static void BM_GetPenColorConverted(benchmark::State& state) {
  TgraAttribute g;
  g.SetColorConversion(true, 128, 10, 10);
  int32_t pen = 1;
  for (auto _ : state) {
    benchmark::DoNotOptimize(g.GetPenColor(pen));
    pen = pen == 9 ? 101 : pen == 356 ? 1 : pen + 1;
  }
}
BENCHMARK(BM_GetPenColorConverted);

BENCHMARK_MAIN();
