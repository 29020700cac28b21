// Read throughput of the JWW reader on a synthetic drawing of a million
// mixed elements, and the model's memory per element kind.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>

#include "bind_images.h"
#include "jww_data.h"
#include "synthetic_drawing.h"

namespace {

constexpr size_t kElements = 1'000'000;

// Heap bytes in use, the large blocks that malloc maps on their own included.
size_t HeapInUse() {
  const struct mallinfo2 m = mallinfo2();
  return m.uordblks + m.hblkhd;
}

const std::vector<uint8_t>& MixedDrawing() {
  static const std::vector<uint8_t> bytes = jwwtest::SyntheticDrawingBytes(kElements);
  return bytes;
}

void BM_LoadFromBytes(benchmark::State& state) {
  const std::vector<uint8_t>& bytes = MixedDrawing();
  TJwwData d;
  for (auto _ : state) {
    const bool ok = d.LoadFromBytes(bytes.data(), bytes.size());
    if (!ok) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(d.LineCount);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
  state.counters["file_MB"] = static_cast<double>(bytes.size()) / 1e6;
  state.counters["elements"] = static_cast<double>(d.EntityOrderCount);
}
BENCHMARK(BM_LoadFromBytes)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LoadFromFile(benchmark::State& state) {
  const std::vector<uint8_t>& bytes = MixedDrawing();
  const std::string path = "/tmp/bench_jww_read_" + std::to_string(::getpid()) + ".jww";
  if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
  TJwwData d;
  for (auto _ : state) {
    if (!d.LoadFromFile(path)) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(d.LineCount);
  }
  std::remove(path.c_str());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_LoadFromFile)->Unit(benchmark::kMillisecond)->UseRealTime();

// A million elements of one kind: read speed, and the heap the model takes
// for them (records, vector slack and text strings), per element.
void BM_LoadOneKind(benchmark::State& state) {
  const int32_t kind = static_cast<int32_t>(state.range(0));
  const std::vector<uint8_t> bytes = jwwtest::SyntheticSingleKindBytes(kind, kElements);
  size_t heapPerElement = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto d = std::make_unique<TJwwData>();
    const size_t before = HeapInUse();
    state.ResumeTiming();
    d->LoadFromBytes(bytes.data(), bytes.size());
    state.PauseTiming();
    heapPerElement = (HeapInUse() - before) / kElements;
    d.reset();
    state.ResumeTiming();
  }
  static const size_t kSizes[] = {0,
                                  sizeof(TEntJwwLine),
                                  sizeof(TEntJwwArc),
                                  sizeof(TEntJwwPoint),
                                  sizeof(TEntJwwText),
                                  sizeof(TEntJwwDimension),
                                  sizeof(TEntJwwSolid),
                                  sizeof(TEntJwwBlockInsert)};
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
  state.counters["file_MB"] = static_cast<double>(bytes.size()) / 1e6;
  state.counters["record_B"] = static_cast<double>(kSizes[kind]);
  state.counters["heap_B_per_elem"] = static_cast<double>(heapPerElement);
}
BENCHMARK(BM_LoadOneKind)->DenseRange(1, 7)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
