// Write throughput of the JWW writer on a synthetic drawing of a million
// mixed elements, and a whole read + write round trip.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "bind_images.h"
#include "jww_data.h"
#include "synthetic_drawing.h"

namespace {

constexpr size_t kElements = 1'000'000;

const std::vector<uint8_t>& MixedDrawing() {
  static const std::vector<uint8_t> bytes = jwwtest::SyntheticDrawingBytes(kElements);
  return bytes;
}

std::string TempPath(const char* what) {
  return "/tmp/bench_jww_write_" + std::to_string(::getpid()) + "_" + what + ".jww";
}

void LoadMixed(TJwwData& d, benchmark::State& state) {
  const std::vector<uint8_t>& bytes = MixedDrawing();
  if (!d.LoadFromBytes(bytes.data(), bytes.size())) state.SkipWithError("load failed");
  d.BuildBlockTree();
}

// The whole file image in memory: the writer's own work.
void BM_SaveToBytes(benchmark::State& state) {
  TJwwData d;
  LoadMixed(d, state);
  std::vector<uint8_t> out;
  for (auto _ : state) {
    if (!d.SaveToBytes(out, 700)) state.SkipWithError("save failed");
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * out.size()));
  state.counters["file_MB"] = static_cast<double>(out.size()) / 1e6;
}
BENCHMARK(BM_SaveToBytes)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same written to disk: temporary file, flush to the device, rename.
void BM_SaveToFile(benchmark::State& state) {
  TJwwData d;
  LoadMixed(d, state);
  const std::string path = TempPath("save");
  for (auto _ : state) {
    if (!d.SaveToFile(path, 700)) state.SkipWithError("save failed");
  }
  std::vector<uint8_t> out;
  d.SaveToBytes(out, 700);
  std::remove(path.c_str());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * out.size()));
}
BENCHMARK(BM_SaveToFile)->Unit(benchmark::kMillisecond)->UseRealTime();

// Down-conversion costs the common-part maps and the SXF split.
void BM_SaveToBytesAs351(benchmark::State& state) {
  TJwwData d;
  LoadMixed(d, state);
  std::vector<uint8_t> out;
  for (auto _ : state) {
    if (!d.SaveToBytes(out, 351)) state.SkipWithError("save failed");
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * out.size()));
}
BENCHMARK(BM_SaveToBytesAs351)->Unit(benchmark::kMillisecond)->UseRealTime();

// Read a file and save it again, as the sheet loop does with a drawing.
void BM_ReadWriteRoundTrip(benchmark::State& state) {
  const std::vector<uint8_t>& bytes = MixedDrawing();
  const std::string in = TempPath("in"), out = TempPath("out");
  if (std::FILE* f = std::fopen(in.c_str(), "wb")) {
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
  TJwwData d;
  for (auto _ : state) {
    if (!d.LoadFromFile(in)) state.SkipWithError("load failed");
    if (!d.SaveToFile(out, 700)) state.SkipWithError("save failed");
  }
  std::remove(in.c_str());
  std::remove(out.c_str());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size() * 2));
}
BENCHMARK(BM_ReadWriteRoundTrip)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
