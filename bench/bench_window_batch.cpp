// The window's whole run on the million-element synthetic drawing split
// into 100 sheets: split and save, the print-order dialog answered at once,
// no preview, all sheets printed as one document on the PDF printer.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QTimer>
#include <filesystem>
#include <string>

#include "batch_host.h"
#include "bind_images.h"
#include "form1_state.h"
#include "gval.h"
#include "print_order_dialog.h"
#include "qt_printer_device.h"
#include "sheet_dialogs.h"
#include "synthetic_drawing.h"
#include "unit_print.h"

namespace {

constexpr int kFrames = 100;

// The window's side of the run: the real dialogs, the order one answered
// "次へ(&N)" as soon as it shows.
class HarnessHost : public TBatchHost {
 public:
  void SetStatusText(const std::string&) override {}
  bool Confirm(const std::string&) override { return true; }
  void Inform(const std::string&) override { ++informs; }
  void SetRunButtonsEnabled(bool) override {}
  void ReadPrintOptions(TForm1&) override {}
  bool ShowOrderDialog(TForm1& form) override {
    QTimer::singleShot(0, [] {
      if (auto* d = dynamic_cast<TForm4*>(QApplication::activeModalWidget())) d->Button1Click();
    });
    return ShowPrintOrderDialog(nullptr, form);
  }
  void PreviewSheets(TForm1& form) override { ShowSheetPreview(nullptr, form); }
  void PrintSheets(TForm1& form) override { PrintSheetList(nullptr, form); }
  bool EscapeHeld() override { return false; }
  void PumpMessages() override { QCoreApplication::processEvents(); }
  int informs = 0;
};

struct Fixture {
  std::string folder, drawing;
  Fixture() {
    folder = (std::filesystem::temp_directory_path() / ("bench_window_batch_" + std::to_string(::getpid())))
                 .string() + "/";
    std::filesystem::create_directories(folder + "tmp");
    std::filesystem::create_directories(folder + "images");
    std::filesystem::create_directories(folder + "out");
    Gval.Reset();
    TJwwData d;
    jwwtest::LoadSyntheticSplitDrawing(d, kFrames);
    drawing = folder + "synthetic.jww";
    d.SaveToFile(drawing, 700);
  }
  ~Fixture() { std::filesystem::remove_all(folder); }
};

void BM_WindowBatch100SheetsPrintedToPdf(benchmark::State& state) {
  static Fixture f;
  TPdfFilePrinter pdf;
  pdf.SetOutputFolder(f.folder + "out");
  SetCurrentPrinter(&pdf);
  int64_t pages = 0;
  for (auto _ : state) {
    Gval.Reset();
    BindImg.Reset();
    BindImg.TempFolder = f.folder + "images/";
    TForm1 form;
    form.FileList = {f.drawing};
    form.DestinationChecked.fill(false);  // temporary sheets, deleted after printing
    form.TempSheetFolder = f.folder + "tmp/";
    form.PrintAfterSplit = state.range(0) != 0;
    form.PreviewAfterSplit = false;
    form.OneDocument = 1;
    HarnessHost host;
    form.RunBatch(host);
    if (form.AbortRun || host.informs != 0) state.SkipWithError("the run did not finish");
    pages = form.PagePrinted ? kFrames : 0;
    for (const auto& e : std::filesystem::directory_iterator(f.folder + "out")) state.counters["pdf_bytes"] = double(std::filesystem::file_size(e.path()));
    std::filesystem::remove_all(f.folder + "out");
    std::filesystem::create_directories(f.folder + "out");
  }
  SetCurrentPrinter(nullptr);
  state.counters["sheets"] = static_cast<double>(pages);
}
BENCHMARK(BM_WindowBatch100SheetsPrintedToPdf)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
