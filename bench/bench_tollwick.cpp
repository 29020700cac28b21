// The paper-frame command at its sizes: reading a 50 MB interface file of
// 500,000 element lines, numbering 10,000 frames (mode 6), numbering frames
// among frame lines crowding one point and near-identical lines crowding
// both ends of each other (mode 6) and tiling 200 x 200 frames
// (mode 3), each with the written file's bytes.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

#include "jwc_data.h"
#include "jwc_writer.h"
#include "tollwick_form.h"

namespace fs = std::filesystem;

namespace {

fs::path BenchFolder() {
  static const fs::path dir = [] {
    const fs::path d = fs::temp_directory_path() / ("bench_tollwick_" + std::to_string(std::random_device{}()));
    fs::create_directories(d);
    return d;
  }();
  return dir;
}

// 500,000 lines of about 100 bytes: lines, texts, points and attributes.
const fs::path& FiftyMegabyteFile() {
  static const fs::path path = [] {
    const fs::path p = BenchFolder() / "big.TXT";
    std::ofstream out(p, std::ios::binary);
    std::mt19937 rng(1);
    std::uniform_real_distribution<double> v(-100000, 100000);
    char buf[256];
    for (int i = 0; i < 500'000; ++i) {
      switch (i % 5) {
        case 0:
          std::snprintf(buf, sizeof buf, "ch %.9f %.9f 1 0 \"\x90\x7D\x96\xCA text number %d with some more words and a tail\r\n",
                        v(rng), v(rng), i);
          break;
        case 1:
          std::snprintf(buf, sizeof buf, "lc%d\r\n%.12f %.12f %.12f %.12f\r\n", i % 9 + 1, v(rng), v(rng), v(rng),
                        v(rng));
          break;
        case 2:
          std::snprintf(buf, sizeof buf, "sl %.9f %.9f %.9f %.9f %.9f %.9f %.9f %.9f\r\n", v(rng), v(rng), v(rng),
                        v(rng), v(rng), v(rng), v(rng), v(rng));
          break;
        case 3:
          std::snprintf(buf, sizeof buf, "ci %.13f %.13f %.13f %.9f %.9f %.9f 1\r\n", v(rng), v(rng), v(rng), v(rng),
                        v(rng), v(rng));
          break;
        default:
          std::snprintf(buf, sizeof buf, "%.15f %.15f %.15f %.15f\r\n", v(rng), v(rng), v(rng), v(rng));
      }
      out << buf;
    }
    return p;
  }();
  return path;
}

void BM_ReadFiftyMegabytes(benchmark::State& state) {
  const fs::path& path = FiftyMegabyteFile();
  const auto bytes = static_cast<int64_t>(fs::file_size(path));
  TJwcData d;
  for (auto _ : state) {
    InitJwcData(d);
    ReadJwcFile(d, path);
    benchmark::DoNotOptimize(d.EntityOrder.size());
  }
  state.SetBytesProcessed(state.iterations() * bytes);
  state.counters["elements"] = static_cast<double>(d.EntityOrder.size());
}
BENCHMARK(BM_ReadFiftyMegabytes)->Unit(benchmark::kMillisecond);

// Numbers frames (mode 6) among the given element lines, drawn as frame
// lines; items (if any) are the lines that crowd.
void NumberFramesAmong(benchmark::State& state, const std::vector<std::string>& lines, int items) {
  TForm1 form;
  form.ProgramFolder = BenchFolder().string() + "/";
  for (auto _ : state) {
    state.PauseTiming();
    InitJwcData(form.Jwc);
    for (const char* l : {"lc9", "lt19", "lw200"}) ParseJwcLine(form.Jwc, l);
    for (const std::string& l : lines) ParseJwcLine(form.Jwc, l);
    form.Mode = 6;
    state.ResumeTiming();
    form.RunMode();
    benchmark::DoNotOptimize(JwcFileContents(form.Jwc).size());
  }
  if (items > 0) state.SetItemsProcessed(state.iterations() * items);
  state.counters["lines"] = static_cast<double>(form.Jwc.Output.size());
}

void BM_NumberTenThousandFrames(benchmark::State& state) {
  std::vector<std::string> lines;
  for (int r = 0; r < 100; ++r) {
    for (int c = 0; c < 100; ++c) {
      const double x = c * 500.0, y = r * 400.0;
      const double sides[4][4] = {
          {x, y, x + 420, y}, {x + 420, y, x + 420, y + 297}, {x + 420, y + 297, x, y + 297}, {x, y + 297, x, y}};
      for (const auto& q : sides) {
        lines.push_back(std::to_string(q[0]) + " " + std::to_string(q[1]) + " " + std::to_string(q[2]) + " " +
                        std::to_string(q[3]));
      }
    }
  }
  NumberFramesAmong(state, lines, 0);
}
BENCHMARK(BM_NumberTenThousandFrames)->Unit(benchmark::kMillisecond);

// n frame lines with one end at the origin, a quarter each way, none closing,
// plus 20 frames with a corner there; time per crowding line (2,000 / 8,000 /
// 32,000).
void BM_NumberFramesAtCrowdedPoint(benchmark::State& state) {
  const auto n = static_cast<int>(state.range(0));
  std::vector<std::string> lines;
  auto line = [&](double x1, double y1, double x2, double y2) {
    lines.push_back(std::to_string(x1) + " " + std::to_string(y1) + " " + std::to_string(x2) + " " +
                    std::to_string(y2));
  };
  for (int i = 0; i < n; ++i) {
    const double len = 1 + i * 0.25;
    switch (i % 4) {
      case 0: line(-len, 0, 0, 0); break;
      case 1: line(0, 0, len, 0); break;
      case 2: line(0, 0, 0, len); break;
      default: line(0, -len, 0, 0); break;
    }
  }
  for (int k = 0; k < 20; ++k) {
    const double w = 100.5 + k, h = 50.5 + k;
    line(-w, 0, 0, 0);
    line(0, 0, 0, h);
    line(0, h, -w, h);
    line(-w, h, -w, 0);
  }
  std::shuffle(lines.begin(), lines.end(), std::mt19937(3));
  NumberFramesAmong(state, lines, n);
}
BENCHMARK(BM_NumberFramesAtCrowdedPoint)->Arg(2000)->Arg(8000)->Arg(32000)->Unit(benchmark::kMillisecond);

// n distinct horizontal frame lines 1e-13 apart, each end meeting n vertical
// lines drawn the same way, none closing, plus 20 frames apart; time per
// crowding horizontal line (2,000 / 8,000 / 32,000).
void BM_NumberFramesAtCrowdedEnds(benchmark::State& state) {
  const auto n = static_cast<int>(state.range(0));
  std::vector<std::string> lines;
  auto line = [&](double x1, double y1, double x2, double y2) {
    char buf[160];
    std::snprintf(buf, sizeof buf, "%.17g %.17g %.17g %.17g", x1, y1, x2, y2);
    lines.emplace_back(buf);
  };
  for (int i = 0; i < n; ++i) {
    const double o = i * 1e-13;
    line(o, o, 420 + o, o);
    line(420 + o, o, 420 + o, 297 + i);
    line(o, 297 + i, o, o);
  }
  for (int k = 0; k < 20; ++k) {
    const double x = 1000.0 + k * 500;
    line(x, 0, x + 420, 0);
    line(x + 420, 0, x + 420, 297);
    line(x + 420, 297, x, 297);
    line(x, 297, x, 0);
  }
  std::shuffle(lines.begin(), lines.end(), std::mt19937(5));
  NumberFramesAmong(state, lines, n);
}
BENCHMARK(BM_NumberFramesAtCrowdedEnds)->Arg(2000)->Arg(8000)->Arg(32000)->Unit(benchmark::kMillisecond);

void BM_TileTwoHundredByTwoHundred(benchmark::State& state) {
  TForm1 form;
  form.ProgramFolder = BenchFolder().string() + "/";
  for (auto _ : state) {
    InitJwcData(form.Jwc);
    form.Mode = 3;
    form.Param2 = form.Param3 = 200;
    form.RunMode();
    benchmark::DoNotOptimize(JwcFileContents(form.Jwc).size());
  }
  state.counters["lines"] = static_cast<double>(form.Jwc.Output.size());
}
BENCHMARK(BM_TileTwoHundredByTwoHundred)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::error_code ec;
  fs::remove_all(BenchFolder(), ec);
  return 0;
}
