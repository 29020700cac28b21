// CalcExtents and CountEntities on the synthetic drawing of a million mixed
// elements (block contents included through the tree).
#include <benchmark/benchmark.h>

#include <array>
#include <memory>

#include "gval.h"
#include "jww_data.h"
#include "synthetic_drawing.h"

namespace {

constexpr size_t kElements = 1'000'000;

const TJwwData& Drawing() {
  static const std::unique_ptr<TJwwData> d = [] {
    auto m = std::make_unique<TJwwData>();
    const std::vector<uint8_t> bytes = jwwtest::SyntheticDrawingBytes(kElements);
    if (!m->LoadFromBytes(bytes.data(), bytes.size())) m->FreeData();
    m->BuildBlockTree();
    return m;
  }();
  return *d;
}

void Describe(benchmark::State& state, const TJwwData& d) {
  state.counters["elements"] = static_cast<double>(d.EntityOrderCount);
  state.counters["tree_rows"] = static_cast<double>(d.BlockTreeCount);
}

void BM_CalcExtents(benchmark::State& state) {
  // CalcExtents only reads the drawing; the cast lets the one loaded model
  // serve every benchmark.
  TJwwData& d = const_cast<TJwwData&>(Drawing());
  for (auto _ : state) {
    d.CalcExtents();
    benchmark::DoNotOptimize(d.Extents);
  }
  Describe(state, d);
}
BENCHMARK(BM_CalcExtents)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CountEntitiesAny(benchmark::State& state) {
  const TJwwData& d = Drawing();
  std::array<int32_t, 15> counters{};
  for (auto _ : state) {
    d.CountEntities(-1, -1, counters);
    benchmark::DoNotOptimize(counters);
  }
  Describe(state, d);
}
BENCHMARK(BM_CountEntitiesAny)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CountEntitiesOneLayer(benchmark::State& state) {
  const TJwwData& d = Drawing();
  std::array<int32_t, 15> counters{};
  for (auto _ : state) {
    d.CountEntities(3, 0, counters);
    benchmark::DoNotOptimize(counters);
  }
  Describe(state, d);
}
BENCHMARK(BM_CountEntitiesOneLayer)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
