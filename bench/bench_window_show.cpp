// Time from creating Quillmoor's main window to its first paint, with the
// settings read and the file list filled (offscreen unless a platform is set).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCoreApplication>
#include <cstdlib>
#include <filesystem>

#include "form1_window.h"
#include "jww_builder.h"
#include "jww_model_maker.h"
#include "program_session.h"

namespace {

void BM_MainWindowShown(benchmark::State& state) {
  const std::string folder = jwwtest::FreshFolder("bench_window");
  std::vector<std::string> arguments;
  for (int i = 0; i < 20; ++i) {
    const std::string name = "drawing" + std::to_string(i) + ".jww";
    jwwtest::JwwBuilder b;
    b.WriteFile(folder + name, 700);
    arguments.push_back(name);
  }
  TProgramSession session(folder, "quillmoor");
  for (auto _ : state) {
    std::unique_ptr<TForm1Window> window = session.CreateWindow(arguments, folder);
    window->show();
    window->repaint();
    QCoreApplication::processEvents();
    state.PauseTiming();
    window->close();
    window.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_MainWindowShown)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("Quillmoor"));
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
