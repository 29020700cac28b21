// BuildBlockTree on drawings of many inserts of nested blocks: the build
// should be linear in the rows it makes.
#include <benchmark/benchmark.h>

#include <cmath>

#include "jww_data.h"

namespace {

TEntJwwBlockInsert Insert(uint32_t number, double x, double y, double angle) {
  TEntJwwBlockInsert ins;
  ins.BlockNumber = number;
  ins.X = x;
  ins.Y = y;
  ins.ScaleX = 1.5;
  ins.ScaleY = 0.5;
  ins.Angle = angle;
  return ins;
}

TEntJwwBlockDef Def(int32_t number, int32_t holds, int32_t count) {
  TEntJwwBlockDef def;
  def.Number = number;
  def.Name = "block-" + std::to_string(number);
  TEntJwwBlockDefElements& e = def.EditElements();
  for (int32_t i = 0; i < count; ++i) e.Inserts.push_back(Insert(static_cast<uint32_t>(holds), i * 10.0, i, 0.1 * i));
  e.InsertCount = count;
  return def;
}

// inserts of "outer", which holds 2 of "middle", which holds 3 of "leaf":
// 9 rows per insert of the drawing. Every second one refers to a definition
// that holds itself (cut after one level): 2 rows each.
void Fill(TJwwData& d, int64_t inserts, bool withCycles) {
  d.BlockDefs = {Def(3, 0, 0), Def(2, 3, 3), Def(1, 2, 2), Def(4, 4, 1)};
  d.BlockDefCount = 4;
  for (int64_t i = 0; i < inserts; ++i) {
    const uint32_t number = withCycles && i % 2 == 1 ? 4 : 1;
    d.BlockInserts.push_back(Insert(number, static_cast<double>(i % 1000), static_cast<double>(i / 1000), 0.01 * static_cast<double>(i % 628)));
  }
  d.BlockInsertCount = static_cast<int32_t>(inserts);
}

void BM_BuildBlockTree(benchmark::State& state) {
  TJwwData d;
  Fill(d, state.range(0), false);
  for (auto _ : state) {
    d.BuildBlockTree();
    benchmark::DoNotOptimize(d.BlockTree.data());
  }
  state.SetComplexityN(d.BlockTreeCount);
  state.counters["rows"] = d.BlockTreeCount;
  state.counters["rows/s"] = benchmark::Counter(static_cast<double>(d.BlockTreeCount) * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_BuildBlockTree)->Arg(12'500)->Arg(25'000)->Arg(50'000)->Arg(100'000)->Arg(200'000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

// As after a load: the tree array starts empty, so its growth is paid too.
void BM_BuildBlockTreeFresh(benchmark::State& state) {
  TJwwData d;
  Fill(d, state.range(0), false);
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<TEntJwwBlockTree>().swap(d.BlockTree);
    state.ResumeTiming();
    d.BuildBlockTree();
    benchmark::DoNotOptimize(d.BlockTree.data());
  }
  state.SetComplexityN(d.BlockTreeCount);
  state.counters["rows"] = d.BlockTreeCount;
}
BENCHMARK(BM_BuildBlockTreeFresh)->Arg(12'500)->Arg(25'000)->Arg(50'000)->Arg(100'000)->Arg(200'000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

void BM_BuildBlockTreeWithCycles(benchmark::State& state) {
  TJwwData d;
  Fill(d, state.range(0), true);
  for (auto _ : state) {
    d.BuildBlockTree();
    benchmark::DoNotOptimize(d.BlockTree.data());
  }
  state.SetComplexityN(d.BlockTreeCount);
  state.counters["rows"] = d.BlockTreeCount;
}
BENCHMARK(BM_BuildBlockTreeWithCycles)->Arg(12'500)->Arg(25'000)->Arg(50'000)->Arg(100'000)->Arg(200'000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

// Two inserts of the next definition, 40 levels deep: the size bound.
void BM_BuildBlockTreeExponential(benchmark::State& state) {
  TJwwData d;
  for (int32_t i = 0; i < 40; ++i) d.BlockDefs.push_back(Def(i, i + 1, i + 1 < 40 ? 2 : 0));
  d.BlockDefCount = 40;
  d.BlockInserts = {Insert(0, 0, 0, 0)};
  d.BlockInsertCount = 1;
  for (auto _ : state) {
    d.BuildBlockTree();
    benchmark::DoNotOptimize(d.BlockTree.data());
  }
  state.counters["rows"] = d.BlockTreeCount;
}
BENCHMARK(BM_BuildBlockTreeExponential)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
