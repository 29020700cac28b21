// The 100-sheet split of the million-element synthetic drawing with and
// without a drawing-frame overlay (an A3 title block of about 1,000
// elements and one held image, with a display area), every sheet written.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "bind_images.h"
#include "form1_state.h"
#include "gval.h"
#include "jww_builder.h"
#include "synthetic_drawing.h"

namespace {

constexpr int kFrames = 100;

// An A3 title block: a display area, 600 lines, 200 texts, 100 arcs, 100
// solids, one image text with its held image.
void WriteTitleBlock(const std::string& path) {
  jwwtest::JwwBuilder b;
  for (auto& g : b.drawing.LayerGroups) g.State = 2;
  for (auto& l : b.drawing.Layers) l.State = 2;
  TEntJwwCommon area = jwwtest::MakeCommon(0, 0, 9, 16);
  area.Width = 200;
  b.AddLine(jwwtest::MakeLine(-200, -138.5, 200, -138.5, area));
  b.AddLine(jwwtest::MakeLine(200, -138.5, 200, 138.5, area));
  b.AddLine(jwwtest::MakeLine(200, 138.5, -200, 138.5, area));
  b.AddLine(jwwtest::MakeLine(-200, 138.5, -200, -138.5, area));
  for (int i = 0; i < 600; ++i) b.AddLine(jwwtest::MakeLine(-200 + i * 0.5, -140, -200 + i * 0.5, -145));
  for (int i = 0; i < 200; ++i) b.AddText(jwwtest::MakeText(100, -145 + i * 0.01, "title " + std::to_string(i)));
  for (int i = 0; i < 100; ++i) b.AddArc(jwwtest::MakeCircle(150, -142, 1 + i * 0.01));
  for (int i = 0; i < 100; ++i) b.AddSolid(jwwtest::MakeSolid(-150 + i, -147, 0.5, 0.5));
  b.AddText(jwwtest::MakeText(180, -145, "^@BM%temp%logo.png,10,5"));
  b.AddImage("logo.png", std::string(20000, 'x'));
  b.WriteFile(path, 700);
}

struct OverlayFixture {
  TForm1 form;
  std::string folder;

  OverlayFixture() {
    Gval.Reset();
    folder = (std::filesystem::temp_directory_path() / ("bench_overlay_" + std::to_string(::getpid()))).string() + "/";
    std::filesystem::create_directories(folder + "TEMP");
    BindImg.TempFolder = folder + "TEMP/";
    BindImg.BindImageExtractFlag = BindImg.BindImageKeepFlag = 1;
    jwwtest::LoadSyntheticSplitDrawing(form.WorkDrawing, kFrames);
    form.WorkDrawing.BuildBlockTree();
    form.SaveBindImages();
    WriteTitleBlock(folder + "a3.jww");
    form.FrameFiles.fill(folder + "a3.jww");
  }
  ~OverlayFixture() { std::filesystem::remove_all(folder); }
};

OverlayFixture& Fixture() {
  static OverlayFixture fixture;
  return fixture;
}

void BM_Split100Sheets(benchmark::State& state) {
  OverlayFixture& f = Fixture();
  f.form.AddDrawingFrame = state.range(0) != 0;
  for (auto _ : state) {
    f.form.SplitAndSave(f.folder, "synthetic.jww");
    if (Gval.SheetFrameCount != kFrames || f.form.UnsavedSheetCount != 0) state.SkipWithError("sheets missing");
  }
  state.counters["overlay_blocks"] = f.form.WorkDrawing.BlockDefCount;
  state.SetLabel(f.form.AddDrawingFrame ? "with overlay" : "without overlay");
}
BENCHMARK(BM_Split100Sheets)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
