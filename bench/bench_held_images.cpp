// Saving one sheet of a drawing with many held images and as many image
// texts: each text looks up the held image it names. The time per image
// should stay flat from 1,000 to 16,000.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "bind_images.h"
#include "jww_builder.h"
#include "jww_data.h"
#include "jww_model_maker.h"

namespace {

std::string ImageName(int64_t i) {
  char name[48];
  std::snprintf(name, sizeof name, "held_image_%06lld.bmp.gz", static_cast<long long>(i));
  return name;
}

void BM_SaveSheetWithHeldImages(benchmark::State& state) {
  const int64_t n = state.range(0);
  TJwwData d;
  jwwtest::MakeStableModel(d, 700);
  BindImg.Reset();
  for (int64_t i = 0; i < n; ++i) {
    BindImg.BindImages.push_back({ImageName(i), 0, 0});
    // The text names the image without ".gz", as the drawing's texts do.
    const std::string name = ImageName(n - 1 - i);
    jwwtest::Append(d, jwwtest::MakeText(0, 0, "^@BM%temp%" + name.substr(0, name.size() - 3) + ",10,10,0,0,0,0"));
  }
  BindImg.BindImageCount = static_cast<int32_t>(n);
  // Neither flag: the texts flag their images, no file is read.
  std::vector<uint8_t> out;
  for (auto _ : state) {
    if (!d.SaveToBytes(out, 700)) state.SkipWithError("save failed");
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations() * n);
  BindImg.Reset();
}
BENCHMARK(BM_SaveSheetWithHeldImages)->Arg(1000)->Arg(4000)->Arg(16000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
