// ExplodeBlocks: N inserts of one definition of 100 mixed elements, turned
// and scaled unevenly so that arcs take the search. Reports the model's
// bytes before and after and per element out, to show the growth is linear.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>

#include "jww_data.h"
#include "jww_builder.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

template <class T>
void Push(std::vector<T>& rows, int32_t& count, std::vector<TEntJwwOrder>& order, int32_t& orderCount,
          int32_t kind, const T& e) {
  rows.push_back(e);
  order.push_back({kind, count++});
  ++orderCount;
}

// 40 lines, 15 arcs, 10 points, 10 texts, 5 dimensions, 20 solids.
void FillDefinition(TEntJwwBlockDefElements& d) {
  for (int i = 0; i < 100; ++i) {
    const double x = i, y = i % 7;
    const int k = i % 20;
    if (k < 8) {
      TEntJwwLine e;
      e.X1 = x, e.Y1 = y, e.X2 = x + 3, e.Y2 = y + 1;
      Push(d.Lines, d.LineCount, d.Order, d.OrderCount, kKindLine, e);
    } else if (k < 11) {
      TEntJwwArc e;
      e.CenterX = x, e.CenterY = y, e.Radius = 2, e.Flatness = 1, e.StartAngle = 0.3, e.ArcAngle = 2;
      e.FullCircle = (i % 2) ? 1 : 0;
      Push(d.Arcs, d.ArcCount, d.Order, d.OrderCount, kKindArc, e);
    } else if (k < 13) {
      TEntJwwPoint e;
      e.X = x, e.Y = y, e.Common.LineType = (i % 2) ? 100 : 1, e.Code = 3, e.Scale = 1;
      Push(d.Points, d.PointCount, d.Order, d.OrderCount, kKindPoint, e);
    } else if (k < 15) {
      TEntJwwText e;
      e.StartX = x, e.StartY = y, e.EndX = x + 10, e.EndY = y, e.SizeX = e.SizeY = 2.5;
      e.FontName = "MS Gothic";
      e.Content = (i % 4 == 1) ? "^@BM%temp%a.bmp,100,50" : "text";
      Push(d.Texts, d.TextCount, d.Order, d.OrderCount, kKindText, e);
    } else if (k < 16) {
      TEntJwwDimension e;
      e.Line.X1 = x, e.Line.Y1 = y, e.Line.X2 = x + 10, e.Line.Y2 = y;
      e.Text.StartX = x, e.Text.StartY = y + 1, e.Text.EndX = x + 5, e.Text.EndY = y + 1;
      e.Text.SizeX = e.Text.SizeY = 2.5, e.Text.Content = "10", e.Text.Common.Width = 0x0042;
      Push(d.Dimensions, d.DimensionCount, d.Order, d.OrderCount, kKindDimension, e);
    } else {
      TEntJwwSolid e;
      e.X1 = x, e.Y1 = y, e.X2 = x + 1, e.Y2 = y, e.X3 = x + 1, e.Y3 = y + 1, e.X4 = x, e.Y4 = y + 1;
      Push(d.Solids, d.SolidCount, d.Order, d.OrderCount, kKindSolid, e);
    }
  }
}

void MakeDrawing(TJwwData& m, int32_t inserts) {
  m.FreeData();
  m.LayerGroups.assign(16, TEntJwwLayerGroup{2, 0, 1.0, 0, ""});
  m.Layers.assign(256, TEntJwwLayer{2, 0, ""});
  TEntJwwBlockDef def;
  def.Number = 1;
  def.Name = "part";
  FillDefinition(def.EditElements());
  m.BlockDefs.push_back(std::move(def));
  m.BlockDefCount = 1;
  m.BlockListCount = 1;
  for (int32_t i = 0; i < inserts; ++i) {
    TEntJwwBlockInsert ins;
    ins.BlockNumber = 1;
    ins.X = (i % 100) * 200.0, ins.Y = (i / 100) * 20.0;
    ins.ScaleX = 1.5, ins.ScaleY = (i % 3) ? 1.5 : 0.75;
    ins.Angle = (i % 8) * kPi / 8;
    Push(m.BlockInserts, m.BlockInsertCount, m.EntityOrder, m.EntityOrderCount, kKindBlockInsert, ins);
  }
  m.BuildBlockTree();
}

template <class T>
size_t Bytes(const std::vector<T>& v) {
  return v.capacity() * sizeof(T);
}

size_t TextHeap(const TEntJwwText& t) {
  // Strings past the short-string buffer live on the heap.
  const auto heap = [](const std::string& s) { return s.capacity() > 15 ? s.capacity() + 1 : 0; };
  return heap(t.FontName) + heap(t.Content);
}

// Bytes held by the element arrays, the order list and the block data.
size_t ModelBytes(const TJwwData& m) {
  size_t n = Bytes(m.EntityOrder) + Bytes(m.Lines) + Bytes(m.Arcs) + Bytes(m.Points) + Bytes(m.Texts) +
             Bytes(m.Dimensions) + Bytes(m.Solids) + Bytes(m.BlockInserts) + Bytes(m.BlockDefs) +
             Bytes(m.BlockTree);
  for (const TEntJwwText& t : m.Texts) n += TextHeap(t);
  for (const TEntJwwDimension& d : m.Dimensions) n += TextHeap(d.Text);
  return n;
}

void BM_ExplodeBlocks(benchmark::State& state) {
  const auto inserts = static_cast<int32_t>(state.range(0));
  auto model = std::make_unique<TJwwData>();
  size_t before = 0, after = 0, blocks = 0;
  for (auto _ : state) {
    state.PauseTiming();
    model = std::make_unique<TJwwData>();  // fresh arrays: no capacity left from the last round
    TJwwData& m = *model;
    MakeDrawing(m, inserts);
    before = ModelBytes(m);
    // Tree, inserts and definitions stay until the copies are all made.
    blocks = Bytes(m.BlockTree) + Bytes(m.BlockInserts) + Bytes(m.BlockDefs);
    state.ResumeTiming();
    if (!m.ExplodeBlocks()) state.SkipWithError("explosion failed");
    benchmark::DoNotOptimize(m.LineCount);
  }
  const TJwwData& m = *model;
  after = ModelBytes(m);
  const double out = static_cast<double>(m.EntityOrderCount - inserts);
  state.counters["elements_out"] = out;
  state.counters["model_MB_before"] = static_cast<double>(before) / 1e6;
  state.counters["model_MB_after"] = static_cast<double>(after) / 1e6;
  state.counters["model_MB_peak"] = static_cast<double>(after + blocks) / 1e6;
  state.counters["bytes_per_element"] = static_cast<double>(after) / out;
  state.counters["elements_per_s"] = benchmark::Counter(out, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_ExplodeBlocks)->Arg(1'000)->Arg(10'000)->Unit(benchmark::kMillisecond)->UseRealTime();

// A 140 KB file of 4 x 1,000 x 1,000 nested inserts, its definitions named
// with 16 or 1,000 bytes, read and exploded: run alone under /usr/bin/time -v
// for the peak memory it takes.
void BM_LoadAndExplodeNested(benchmark::State& state) {
  const jwwtest::JwwBuilder b = jwwtest::MakeNestedInsertsDrawing(4, 1000, 1000, static_cast<size_t>(state.range(0)));
  const std::string path =
      (std::filesystem::temp_directory_path() / ("bench_nested_" + std::to_string(::getpid()) + ".jww")).string();
  b.WriteFile(path, 700);
  const size_t fileBytes = std::filesystem::file_size(path);
  int32_t rows = 0;
  bool cut = false, exploded = false;
  for (auto _ : state) {
    TJwwData m;
    m.LoadFromFile(path);
    rows = m.BlockTreeCount;
    cut = m.BlockTreeCut;
    exploded = m.ExplodeBlocks();
  }
  std::filesystem::remove(path);
  state.counters["file_KB"] = static_cast<double>(fileBytes) / 1e3;
  state.counters["tree_rows"] = rows;
  state.counters["tree_cut"] = cut;
  state.counters["exploded"] = exploded;
}
BENCHMARK(BM_LoadAndExplodeNested)->Arg(16)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
