// Splitting the million-element synthetic drawing into 100 sheets, every
// sheet written to disk, and the same run timed by phase: frame detection,
// selection (ExtractSheet), saving (SaveToFile) and restoring
// (RestoreSheetOffset, RestoreEntityOrder, counts).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "form1_state.h"
#include "gval.h"
#include "synthetic_drawing.h"

namespace {

constexpr int kFrames = 100;

// The synthetic drawing spans 5000 x 50 mm; 100 frames of 49.9 x 60 mm side
// by side cover it, about 10,000 elements each.
struct SplitFixture {
  TForm1 form;
  std::string folder;

  SplitFixture() {
    Gval.Reset();
    jwwtest::LoadSyntheticSplitDrawing(form.WorkDrawing, kFrames);
    form.WorkDrawing.BuildBlockTree();
    folder = (std::filesystem::temp_directory_path() / ("bench_split_" + std::to_string(::getpid()))).string() + "/";
    std::filesystem::create_directories(folder);
  }
  ~SplitFixture() { std::filesystem::remove_all(folder); }
};

SplitFixture& Fixture() {
  static SplitFixture fixture;
  return fixture;
}

void BM_SplitAndSave100Sheets(benchmark::State& state) {
  SplitFixture& f = Fixture();
  for (auto _ : state) {
    f.form.SplitAndSave(f.folder, "synthetic.jww");
    if (Gval.SheetFrameCount != kFrames || f.form.UnsavedSheetCount != 0) state.SkipWithError("sheets missing");
  }
  state.counters["sheets"] = Gval.SheetFrameCount;
}
BENCHMARK(BM_SplitAndSave100Sheets)->Unit(benchmark::kMillisecond)->Iterations(3);

// The sheet loop's steps one by one, each phase's time as a counter
// (seconds per run).
void BM_SplitPhases(benchmark::State& state) {
  SplitFixture& f = Fixture();
  TForm1& form = f.form;
  TJwwData& d = form.WorkDrawing;
  using Clock = std::chrono::steady_clock;
  double detect = 0, select = 0, save = 0, restore = 0, kept = 0;
  auto seconds = [](Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double>(b - a).count(); };
  for (auto _ : state) {
    auto t0 = Clock::now();
    form.SaveEntityOrder();
    form.ClearSheetFrames();
    form.FindSheetFrames();
    form.AssignSheetNames();
    form.FindPrintOriginFrames();
    form.ClassifyFramePaper();
    const int32_t counts[7] = {d.LineCount,      d.ArcCount,   d.PointCount,      d.TextCount,
                               d.DimensionCount, d.SolidCount, d.BlockInsertCount};
    auto t1 = Clock::now();
    detect += seconds(t0, t1);
    for (int32_t i = 0; i < Gval.SheetFrameCount; ++i) {
      t0 = Clock::now();
      form.ExtractSheet(i, 0);
      t1 = Clock::now();
      kept += static_cast<double>(d.LineCount + d.ArcCount + d.PointCount + d.TextCount + d.DimensionCount +
                                  d.SolidCount + d.BlockInsertCount);
      d.SetSaveOptions(0);
      d.SaveToFile(f.folder + "phase_" + std::to_string(i) + ".jww", d.Header.Version);
      auto t2 = Clock::now();
      form.RestoreSheetOffset(i);
      form.RestoreEntityOrder();
      d.LineCount = counts[0], d.ArcCount = counts[1], d.PointCount = counts[2], d.TextCount = counts[3];
      d.DimensionCount = counts[4], d.SolidCount = counts[5], d.BlockInsertCount = counts[6];
      auto t3 = Clock::now();
      select += seconds(t0, t1);
      save += seconds(t1, t2);
      restore += seconds(t2, t3);
    }
  }
  const double runs = static_cast<double>(state.iterations());
  state.counters["detect_s"] = detect / runs;
  state.counters["select_s"] = select / runs;
  state.counters["save_s"] = save / runs;
  state.counters["restore_s"] = restore / runs;
  state.counters["elements_per_sheet"] = kept / runs / kFrames;
}
BENCHMARK(BM_SplitPhases)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
