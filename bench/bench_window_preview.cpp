// The window's sheet preview of 100 small sheets (an X, a circle and a text
// each) on a private Xvfb through xcb: from the first thumbnail rendered to
// the preview dialog shown. Escape is polled through a fake (0), the poller
// the program installs at start-up (1; the X11 one, asking the server at
// most every few tens of milliseconds) or the X11 poller asking the server
// at every poll (2).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QtGui/qguiapplication_platform.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "bind_images.h"
#include "escape_key_poller.h"
#include "form1_state.h"
#include "gval.h"
#include "jww_builder.h"
#include "private_x_server.h"
#include "sheet_dialogs.h"
#include "sheet_preview_dialog.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kSheets = 100;

class NeverEscape : public TKeyStatePoller {
 public:
  bool EscapeDown() override { return false; }
};

std::unique_ptr<TKeyStatePoller> ChosenPoller(int64_t kind) {
  if (kind == 0) return std::make_unique<NeverEscape>();
  if (kind == 1) return CreateEscapePoller();
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr || x11->display() == nullptr) return nullptr;
  return std::make_unique<TX11EscapePoller>(x11->display(), std::chrono::milliseconds(0));
}

// Notes when the preview dialog shows and answers "次へ(&N)" right after.
class PreviewShownWatch : public QObject {
 public:
  PreviewShownWatch() { qApp->installEventFilter(this); }
  ~PreviewShownWatch() override { qApp->removeEventFilter(this); }
  Clock::time_point shown{};
  std::string bitmapFolder;
  int bitmaps = 0;  // preview bitmaps there when the dialog showed

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* dialog = dynamic_cast<TForm2*>(watched);
    if (dialog != nullptr && event->type() == QEvent::Show) {
      shown = Clock::now();
      bitmaps = 0;
      for (const auto& e : std::filesystem::directory_iterator(bitmapFolder)) bitmaps += e.path().extension() == ".bmp";
      QTimer::singleShot(0, dialog, [dialog] { dialog->Button1Click(); });
    }
    return false;
  }
};

std::string WriteSmallSheet(const std::string& path) {
  jwwtest::JwwBuilder b;
  for (int g = 0; g < 16; ++g) {
    b.LayerGroup(g).State = 2;
    for (int l = 0; l < 16; ++l) b.Layer(g, l).State = 2;
  }
  b.Header().PrintScale = 1;
  b.AddLine(jwwtest::MakeLine(0, 0, 100, 100));
  b.AddLine(jwwtest::MakeLine(0, 100, 100, 0));
  b.AddArc(jwwtest::MakeCircle(50, 50, 30));
  b.AddText(jwwtest::MakeText(10, 10, "A-1"));
  b.WriteFile(path, 700);
  return path;
}

void BM_SheetPreview100SmallSheetsShown(benchmark::State& state) {
  const std::string folder =
      (std::filesystem::temp_directory_path() / ("bench_window_preview_" + std::to_string(::getpid()))).string() + "/";
  std::filesystem::create_directories(folder + "tmp");
  std::filesystem::create_directories(folder + "images");
  Gval.Reset();
  BindImg.Reset();
  BindImg.TempFolder = folder + "images/";
  for (int i = 0; i < kSheets; ++i) {
    const std::string sheet = WriteSmallSheet(folder + "sheet" + std::to_string(i) + ".jww");
    Gval.SheetList.push_back({sheet, sheet});
  }
  std::unique_ptr<TKeyStatePoller> poller = ChosenPoller(state.range(0));
  auto* x11 = dynamic_cast<TX11EscapePoller*>(poller.get());
  if (state.range(0) != 0 && x11 == nullptr) state.SkipWithError("not on X11 (no Xvfb)");
  SetKeyStatePoller(poller.get());
  const int64_t asksBefore = x11 != nullptr ? x11->Asks() : 0;
  PreviewShownWatch watch;
  watch.bitmapFolder = folder + "tmp/";
  for (auto _ : state) {
    TForm1 form;
    form.TempSheetFolder = folder + "tmp/";
    watch.shown = {};
    const Clock::time_point start = Clock::now();
    ShowSheetPreview(nullptr, form);
    if (watch.shown == Clock::time_point{} || form.AbortRun || watch.bitmaps != kSheets) {
      state.SkipWithError("the preview did not show");
      break;
    }
    state.SetIterationTime(std::chrono::duration<double>(watch.shown - start).count());
  }
  SetKeyStatePoller(nullptr);
  state.SetLabel(QGuiApplication::platformName().toStdString());
  if (x11 != nullptr && state.iterations() > 0)
    state.counters["server_asks"] = double(x11->Asks() - asksBefore) / double(state.iterations());
  Gval.Reset();
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_SheetPreview100SmallSheetsShown)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_SheetPreview100SmallSheetsShown)->Arg(2)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
  // A private X server unless a platform is chosen from outside.
  PrivateXServer server;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    if (!server.Name().empty()) {
      ::setenv("DISPLAY", server.Name().c_str(), 1);
      qputenv("QT_QPA_PLATFORM", "xcb");
    } else {
      qputenv("QT_QPA_PLATFORM", "offscreen");
    }
  }
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
