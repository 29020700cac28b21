#include <benchmark/benchmark.h>

#include "jww_data.h"

static void BM_ClearModel(benchmark::State& state) {
  TJwwData d;
  for (auto _ : state) d.Clear();
}
BENCHMARK(BM_ClearModel);

BENCHMARK_MAIN();
