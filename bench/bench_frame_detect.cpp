// Frame detection on a large drawing: 10,000 A3 frames in a 100 x 100 grid
// (40,000 frame lines, random directions, shuffled) among 1,000,000 other
// lines, numbered rows first.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>

#include "form1_state.h"
#include "gval.h"

namespace {

TEntJwwLine MakeLine(double x1, double y1, double x2, double y2, int color, int lineType, int width) {
  TEntJwwLine l;
  l.Common.Color = static_cast<uint16_t>(color);
  l.Common.LineType = static_cast<uint8_t>(lineType);
  l.Common.Width = static_cast<uint16_t>(width);
  l.X1 = x1;
  l.Y1 = y1;
  l.X2 = x2;
  l.Y2 = y2;
  return l;
}

void BuildDrawing(TJwwData& d) {
  std::mt19937 rng(2024);
  std::vector<TEntJwwLine> lines;
  lines.reserve(1040000);
  for (int row = 0; row < 100; ++row) {
    for (int col = 0; col < 100; ++col) {
      const double x0 = col * 500.0, y0 = row * 400.0, x1 = x0 + 420, y1 = y0 + 297;
      const double sides[4][4] = {{x0, y0, x1, y0}, {x1, y0, x1, y1}, {x1, y1, x0, y1}, {x0, y1, x0, y0}};
      for (const auto& s : sides) {
        if (rng() % 2) {
          lines.push_back(MakeLine(s[0], s[1], s[2], s[3], 9, 19, 200));
        } else {
          lines.push_back(MakeLine(s[2], s[3], s[0], s[1], 9, 19, 200));
        }
      }
    }
  }
  std::uniform_real_distribution<double> coord(0, 50000);
  for (int i = 0; i < 1000000; ++i) {
    const double x = coord(rng), y = coord(rng);
    if (i % 10 == 0) {
      lines.push_back(MakeLine(x, y, x + 30, y + 20, 9, 19, 200));  // sloped: no frame line
    } else {
      lines.push_back(MakeLine(x, y, x + 100, y, 1 + static_cast<int>(rng() % 8), 1, 0));
    }
  }
  std::shuffle(lines.begin(), lines.end(), rng);
  d.Lines = std::move(lines);
  d.LineCount = static_cast<int32_t>(d.Lines.size());
}

void BM_FindSheetFrames(benchmark::State& state) {
  TForm1 form;
  BuildDrawing(form.WorkDrawing);
  for (auto _ : state) {
    form.FindSheetFrames();
    benchmark::DoNotOptimize(Gval.SheetFrames.data());
  }
  if (Gval.SheetFrameCount != 10000) state.SkipWithError("wrong number of frames");
  // Rows first, top row first: the first frame is the top left one.
  if (Gval.SheetFrames[0].XMin != 0 || Gval.SheetFrames[0].YMin != 99 * 400.0) {
    state.SkipWithError("wrong order");
  }
}
BENCHMARK(BM_FindSheetFrames)->Unit(benchmark::kMillisecond);

// A rectangle without its left side pasted 10,000 times over itself, plus
// 10,000 copies of a complete one: every open chain has 10,000 candidates at
// each step.
void BM_FindSheetFramesPastedOver(benchmark::State& state) {
  TForm1 form;
  for (int i = 0; i < 10000; ++i) {
    form.WorkDrawing.Lines.push_back(MakeLine(0, 0, 420, 0, 9, 19, 200));
    form.WorkDrawing.Lines.push_back(MakeLine(420, 0, 420, 297, 9, 19, 200));
    form.WorkDrawing.Lines.push_back(MakeLine(420, 297, 0, 297, 9, 19, 200));
    form.WorkDrawing.Lines.push_back(MakeLine(1000, 0, 1420, 0, 9, 19, 200));
    form.WorkDrawing.Lines.push_back(MakeLine(1420, 0, 1420, 297, 9, 19, 200));
    form.WorkDrawing.Lines.push_back(MakeLine(1420, 297, 1000, 297, 9, 19, 200));
    form.WorkDrawing.Lines.push_back(MakeLine(1000, 297, 1000, 0, 9, 19, 200));
  }
  form.WorkDrawing.LineCount = static_cast<int32_t>(form.WorkDrawing.Lines.size());
  for (auto _ : state) {
    form.FindSheetFrames();
    benchmark::DoNotOptimize(Gval.SheetFrames.data());
  }
  if (Gval.SheetFrameCount != 10000) state.SkipWithError("wrong number of frames");
}
BENCHMARK(BM_FindSheetFramesPastedOver)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
