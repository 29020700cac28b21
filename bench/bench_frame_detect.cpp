// Frame detection on a large drawing: 10,000 A3 frames in a 100 x 100 grid
// (40,000 frame lines, random directions, shuffled) among 1,000,000 other
// lines, numbered rows first; frame lines crowding one point; near-identical
// frame lines crowding both ends of each other; and sheet-name tags against
// many frames.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>

#include "form1_state.h"
#include "gval.h"
#include "sjis.h"

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

// A w x h frame drawn counterclockwise from (x, 0), as frame lines.
void AddFrame(std::vector<TEntJwwLine>& lines, double x, double w, double h) {
  lines.push_back(MakeLine(x, 0, x + w, 0, 9, 19, 200));
  lines.push_back(MakeLine(x + w, 0, x + w, h, 9, 19, 200));
  lines.push_back(MakeLine(x + w, h, x, h, 9, 19, 200));
  lines.push_back(MakeLine(x, h, x, 0, 9, 19, 200));
}

void SetShuffled(TJwwData& d, std::vector<TEntJwwLine> lines, std::mt19937& rng) {
  std::shuffle(lines.begin(), lines.end(), rng);
  d.Lines = std::move(lines);
  d.LineCount = static_cast<int32_t>(d.Lines.size());
}

// Times the search per item (n items), checking it finds the frames it should.
void FindFramesPerItem(benchmark::State& state, TForm1& form, int n, int frames) {
  for (auto _ : state) {
    form.FindSheetFrames();
    benchmark::DoNotOptimize(Gval.SheetFrames.data());
  }
  if (Gval.SheetFrameCount != frames) state.SkipWithError("wrong number of frames");
  state.SetItemsProcessed(state.iterations() * n);
}

// n frame lines with one end at the origin (a quarter of them each way:
// horizontal ending or starting there, vertical starting or ending there),
// none closing, plus 20 frames with a corner there and 20 apart; shuffled.
void BuildCrowdedPoint(TJwwData& d, int n) {
  std::mt19937 rng(7);
  std::vector<TEntJwwLine> lines;
  for (int i = 0; i < n; ++i) {
    const double len = 1 + i * 0.37;
    switch (i % 4) {
      case 0: lines.push_back(MakeLine(-len, 0, 0, 0, 9, 19, 200)); break;
      case 1: lines.push_back(MakeLine(0, 0, len, 0, 9, 19, 200)); break;
      case 2: lines.push_back(MakeLine(0, 0, 0, len, 9, 19, 200)); break;
      default: lines.push_back(MakeLine(0, -len, 0, 0, 9, 19, 200)); break;
    }
  }
  for (int k = 0; k < 20; ++k) {
    const double w = 100.25 + k, h = 50.25 + k, x0 = 100000.0 + k * 1000;
    for (const double ox : {-w, x0}) AddFrame(lines, ox, w, h);
  }
  SetShuffled(d, std::move(lines), rng);
}

// Time per line meeting at the crowded point (2,000 / 8,000 / 32,000).
void BM_FindSheetFramesCrowdedPoint(benchmark::State& state) {
  TForm1 form;
  const auto n = static_cast<int>(state.range(0));
  BuildCrowdedPoint(form.WorkDrawing, n);
  FindFramesPerItem(state, form, n, 40);
}
BENCHMARK(BM_FindSheetFramesCrowdedPoint)->Arg(2000)->Arg(8000)->Arg(32000)->Unit(benchmark::kMillisecond);

// n distinct horizontal frame lines 1e-13 apart (all meeting each other's
// ends), each end meeting n vertical lines drawn the same way, none closing
// (or, closing, n near-identical frames), plus 20 frames apart; shuffled.
// Time per crowding horizontal line (2,000 / 8,000 / 32,000).
void BuildCrowdedEnds(TJwwData& d, int n, bool closing) {
  std::mt19937 rng(9);
  std::vector<TEntJwwLine> lines;
  for (int i = 0; i < n; ++i) {
    const double o = i * 1e-13, top = closing ? 297 + o : 297.0 + i;
    lines.push_back(MakeLine(o, o, 420 + o, o, 9, 19, 200));
    lines.push_back(MakeLine(420 + o, o, 420 + o, top, 9, 19, 200));
    lines.push_back(MakeLine(o, top, o, o, 9, 19, 200));
    if (closing) lines.push_back(MakeLine(420 + o, top, o, top, 9, 19, 200));
  }
  for (int k = 0; k < 20; ++k) AddFrame(lines, 1000.0 + k * 500, 420, 297);
  SetShuffled(d, std::move(lines), rng);
}

void BM_FindSheetFramesCrowdedEnds(benchmark::State& state) {
  TForm1 form;
  const auto n = static_cast<int>(state.range(0));
  const bool closing = state.range(1) != 0;
  BuildCrowdedEnds(form.WorkDrawing, n, closing);
  FindFramesPerItem(state, form, n, 20 + (closing ? n : 0));
}
BENCHMARK(BM_FindSheetFramesCrowdedEnds)
    ->ArgsProduct({{2000, 8000, 32000}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

// n frames in overlapping rows (each frame reaches into the next one) with a
// nested frame in every tenth, and one sheet-name tag per frame among 100
// names, so names repeat and get numbered; shuffled tags.
void BM_AssignSheetNames(benchmark::State& state) {
  TForm1 form;
  Gval.Reset();
  const auto n = static_cast<int>(state.range(0));
  std::mt19937 rng(11);
  TJwwData& d = form.WorkDrawing;
  for (int i = 0; i < n; ++i) {
    const double x0 = (i % 100) * 300.0, y0 = (i / 100) * 200.0;
    if (i % 10 == 0) {
      d.Lines.push_back(MakeLine(x0 + 10, y0 + 10, x0 + 110, y0 + 10, 9, 19, 200));
      d.Lines.push_back(MakeLine(x0 + 110, y0 + 10, x0 + 110, y0 + 110, 9, 19, 200));
      d.Lines.push_back(MakeLine(x0 + 110, y0 + 110, x0 + 10, y0 + 110, 9, 19, 200));
      d.Lines.push_back(MakeLine(x0 + 10, y0 + 110, x0 + 10, y0 + 10, 9, 19, 200));
    } else {
      d.Lines.push_back(MakeLine(x0, y0, x0 + 420, y0, 9, 19, 200));
      d.Lines.push_back(MakeLine(x0 + 420, y0, x0 + 420, y0 + 297, 9, 19, 200));
      d.Lines.push_back(MakeLine(x0 + 420, y0 + 297, x0, y0 + 297, 9, 19, 200));
      d.Lines.push_back(MakeLine(x0, y0 + 297, x0, y0, 9, 19, 200));
    }
    TEntJwwText t;
    t.Common.Color = 9;
    t.StartX = x0 + 20 + static_cast<double>(rng() % 80);
    t.StartY = y0 + 20 + static_cast<double>(rng() % 80);
    t.Content = Utf8ToSjis("【名】") + "sheet" + std::to_string(rng() % 100);
    d.Texts.push_back(t);
  }
  std::shuffle(d.Texts.begin(), d.Texts.end(), rng);
  d.LineCount = static_cast<int32_t>(d.Lines.size());
  d.TextCount = static_cast<int32_t>(d.Texts.size());
  form.FindSheetFrames();
  if (Gval.SheetFrameCount != n) state.SkipWithError("wrong number of frames");
  for (auto _ : state) {
    form.AssignSheetNames();
    benchmark::DoNotOptimize(Gval.SheetFrames.data());
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_AssignSheetNames)->Arg(1000)->Arg(4000)->Arg(16000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
