// TJwwData::Draw of the million-element synthetic drawing, fitted to the
// target (order by layer, line-width mode on, an Escape poller installed):
// onto a canvas that only counts calls, and, where the Qt canvas is built,
// onto a 320 × 240 bitmap and an A1 page at 600 dpi in a PDF file; beside
// them what Qt alone takes for a million strokes there, and the counting
// canvas with the X11 Escape poller asking a private X server.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <array>
#include <memory>

#include "gra_attribute.h"
#include "gval.h"
#include "jww_data.h"
#include "render/canvas.h"
#include "synthetic_drawing.h"

#ifdef BENCH_QT_CANVAS
#include <QGuiApplication>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QFileInfo>

#include <random>

#include "jww_builder.h"
#include "jww_model_maker.h"
#include "private_x_server.h"
#include "qt_canvas.h"
#include "x11_escape_poller.h"

// Xlib's macros (None, Status, ...) clash with other names: last.
#include <X11/Xlib.h>
#endif

namespace {

constexpr size_t kElements = 1'000'000;

const TJwwData& Drawing() {
  static const std::unique_ptr<TJwwData> d = [] {
    auto m = std::make_unique<TJwwData>();
    const std::vector<uint8_t> bytes = jwwtest::SyntheticDrawingBytes(kElements);
    if (!m->LoadFromBytes(bytes.data(), bytes.size())) m->FreeData();
    m->BuildBlockTree();
    m->CalcExtents();
    return m;
  }();
  return *d;
}

// Answers "not pressed", asking the clock no more than the platform's
// poller would.
class IdlePoller : public TKeyStatePoller {
 public:
  bool EscapeDown() override {
    ++polls;
    return false;
  }
  int64_t polls = 0;
};

class CountingCanvas : public TCanvas {
 public:
  std::array<int64_t, 6> calls{};  // strokes, polylines, polygons, texts, images, state
  void SetPenColor(int32_t c) override { pen_ = c, ++calls[5]; }
  int32_t PenColor() const override { return pen_; }
  void SetPenWidth(int32_t w) override { width_ = w, ++calls[5]; }
  int32_t PenWidth() const override { return width_; }
  void SetPenStyle(TPenStyle) override { ++calls[5]; }
  void SetBrushColor(int32_t) override { ++calls[5]; }
  void SetBrushStyle(TBrushStyle) override { ++calls[5]; }
  void MoveTo(int32_t, int32_t) override {}
  void LineTo(int32_t, int32_t) override { ++calls[0]; }
  void Polyline(const TDevicePoint*, size_t) override { ++calls[1]; }
  void Polygon(const TDevicePoint*, size_t) override { ++calls[2]; }
  void SetFont(const TLogFont&) override { ++calls[5]; }
  void SetFontColor(int32_t) override { ++calls[5]; }
  void TextOut(int32_t, int32_t, const std::string&) override { ++calls[3]; }
  std::unique_ptr<TCanvasImage> LoadImage(const std::string&) override { return nullptr; }
  void DrawImage(const TCanvasImage&, const TDeviceRect&, const TDeviceRect&, double, int32_t,
                 int32_t) override {
    ++calls[4];
  }

 private:
  int32_t pen_ = 0, width_ = 0;
};

// The globals a drawing needs: attributes with the line-width mode on and
// the drawing's extents fitted to a device of the given size.
struct DrawSetup {
  TgraAttribute attr;
  IdlePoller poller;

  // keyPoller: the poller to install in place of the idle one.
  DrawSetup(int32_t width, int32_t height, TKeyStatePoller* keyPoller = nullptr) {
    const TJwwData& d = Drawing();
    Gval.Reset();
    attr.SetLineWidthMode(true);
    Gval.GraAttribute = &attr;
    SetKeyStatePoller(keyPoller != nullptr ? keyPoller : &poller);
    const double w = d.Extents[2] - d.Extents[0], h = d.Extents[3] - d.Extents[1];
    const double scale = std::min(width / std::max(w, 1e-3), height / std::max(h, 1e-3));
    SetView(width, height, scale, (d.Extents[0] + d.Extents[2]) / 2, (d.Extents[1] + d.Extents[3]) / 2);
  }
  ~DrawSetup() {
    SetKeyStatePoller(nullptr);
    Gval.Reset();
  }
};

void DrawOnce(TCanvas& canvas) { Drawing().Draw(canvas, 1, -1, -1, true, true, false, 0); }

void PeakMemory(benchmark::State& state) {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_MiB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Arguments: the device's width and height.
void BM_DrawCountingCanvas(benchmark::State& state) {
  DrawSetup setup(static_cast<int32_t>(state.range(0)), static_cast<int32_t>(state.range(1)));
  CountingCanvas canvas;
  for (auto _ : state) DrawOnce(canvas);
  const double runs = static_cast<double>(state.iterations());
  state.counters["strokes"] = static_cast<double>(canvas.calls[0]) / runs;
  state.counters["polylines"] = static_cast<double>(canvas.calls[1]) / runs;
  state.counters["polygons"] = static_cast<double>(canvas.calls[2]) / runs;
  state.counters["texts"] = static_cast<double>(canvas.calls[3]) / runs;
  state.counters["polls"] = static_cast<double>(setup.poller.polls) / runs;
  PeakMemory(state);
}
BENCHMARK(BM_DrawCountingCanvas)
    ->Args({320, 240})
    ->Args({14031, 19866})  // A1 at 600 dpi
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

#ifdef BENCH_QT_CANVAS
void BM_DrawBitmap320x240(benchmark::State& state) {
  DrawSetup setup(320, 240);
  QImage image(320, 240, QImage::Format_RGB32);
  for (auto _ : state) {
    image.fill(Qt::white);
    QPainter painter(&image);
    TQtCanvas canvas(painter);
    DrawOnce(canvas);
    canvas.Flush();
  }
  PeakMemory(state);
}
BENCHMARK(BM_DrawBitmap320x240)->Unit(benchmark::kMillisecond)->UseRealTime();

// An A1 page at 600 dpi without margins, as every PDF benchmark here draws on.
void SetA1At600Dpi(QPdfWriter& writer) {
  writer.setResolution(600);
  writer.setPageSize(QPageSize(QPageSize::A1));
  writer.setPageMargins(QMarginsF(0, 0, 0, 0));
}

void BM_DrawPdfA1At600Dpi(benchmark::State& state) {
  Drawing();  // loaded before the clock runs
  QTemporaryDir dir;
  const QString path = dir.filePath("a1.pdf");
  for (auto _ : state) {
    QPdfWriter writer(path);
    SetA1At600Dpi(writer);
    QPainter painter(&writer);
    DrawSetup setup(writer.width(), writer.height());
    {
      TQtCanvas canvas(painter);
      DrawOnce(canvas);
      canvas.Flush();
    }
    painter.end();
  }
  state.counters["pdf_MiB"] = static_cast<double>(QFileInfo(path).size()) / (1024.0 * 1024.0);
  PeakMemory(state);
}
BENCHMARK(BM_DrawPdfA1At600Dpi)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

// Hands everything to the canvas below but takes no dashed paths: the
// dashes come one by one, as before vector devices took them whole.
class DashByDashCanvas : public TCanvas {
 public:
  explicit DashByDashCanvas(TCanvas& c) : c_(c) {}
  void SetPenColor(int32_t v) override { c_.SetPenColor(v); }
  int32_t PenColor() const override { return c_.PenColor(); }
  void SetPenWidth(int32_t v) override { c_.SetPenWidth(v); }
  int32_t PenWidth() const override { return c_.PenWidth(); }
  void SetPenStyle(TPenStyle v) override { c_.SetPenStyle(v); }
  void SetBrushColor(int32_t v) override { c_.SetBrushColor(v); }
  void SetBrushStyle(TBrushStyle v) override { c_.SetBrushStyle(v); }
  void MoveTo(int32_t x, int32_t y) override { c_.MoveTo(x, y); }
  void LineTo(int32_t x, int32_t y) override { c_.LineTo(x, y); }
  void Polyline(const TDevicePoint* p, size_t n) override { c_.Polyline(p, n); }
  void Polygon(const TDevicePoint* p, size_t n) override { c_.Polygon(p, n); }
  void SetFont(const TLogFont& f) override { c_.SetFont(f); }
  void SetFontColor(int32_t v) override { c_.SetFontColor(v); }
  void TextOut(int32_t x, int32_t y, const std::string& t) override { c_.TextOut(x, y, t); }
  std::unique_ptr<TCanvasImage> LoadImage(const std::string& p) override { return c_.LoadImage(p); }
  void DrawImage(const TCanvasImage& i, const TDeviceRect& d, const TDeviceRect& s, double a, int32_t x,
                 int32_t y) override {
    c_.DrawImage(i, d, s, a, x, y);
  }

 private:
  TCanvas& c_;
};

// 100,000 lines 20 mm long and 10,000 circles in the patterned line types
// 2 to 9 at a printing pen width, onto an A1 page at 600 dpi: dash by dash
// (0) or as dashed paths (1).
void BM_DrawPdfA1PatternedLines(benchmark::State& state) {
  TJwwData d;
  jwwtest::SizeTables(d);
  for (TEntJwwLayerGroup& g : d.LayerGroups) g.State = 2, g.Scale = 1;
  for (TEntJwwLayer& l : d.Layers) l.State = 2;
  for (int i = 0; i < 100'000; ++i) {
    TEntJwwCommon c = jwwtest::MakeCommon(0, uint16_t(i % 16), uint16_t(1 + i % 8), uint8_t(2 + i % 8));
    c.Width = 35;
    const double x = (i % 32) * 25.0, y = (i / 32) * 0.2;
    jwwtest::Append(d, jwwtest::MakeLine(x, y, x + 20, y + 3, c));
    if (i % 10 == 0) jwwtest::Append(d, jwwtest::MakeCircle(x + 10, y, 8, c));
  }
  d.BuildBlockTree();
  d.CalcExtents();
  QTemporaryDir dir;
  const QString path = dir.filePath("patterned.pdf");
  for (auto _ : state) {
    QPdfWriter writer(path);
    SetA1At600Dpi(writer);
    QPainter painter(&writer);
    Gval.Reset();
    TgraAttribute attr;
    attr.SetLineWidthMode(true);
    Gval.GraAttribute = &attr;
    const double w = d.Extents[2] - d.Extents[0], h = d.Extents[3] - d.Extents[1];
    SetView(writer.width(), writer.height(), std::min(writer.width() / w, writer.height() / h),
            (d.Extents[0] + d.Extents[2]) / 2, (d.Extents[1] + d.Extents[3]) / 2);
    {
      TQtCanvas canvas(painter);
      DashByDashCanvas dashByDash(canvas);
      d.Draw(state.range(0) == 1 ? static_cast<TCanvas&>(canvas) : dashByDash, 1, -1, -1, true, true, false, 0);
      canvas.Flush();
    }
    painter.end();
    Gval.Reset();
  }
  state.counters["pdf_MiB"] = static_cast<double>(QFileInfo(path).size()) / (1024.0 * 1024.0);
}
BENCHMARK(BM_DrawPdfA1PatternedLines)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

// A million strokes over a w × h surface, about as long as the drawing's.
std::vector<QLine> QtAloneStrokes(int w, int h) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> x(0, w - 1), y(0, h - 1), d(-w / 200 - 1, w / 200 + 1);
  std::vector<QLine> lines(kElements);
  for (QLine& l : lines) {
    const int x1 = x(rng), y1 = y(rng);
    l = QLine(x1, y1, x1 + d(rng), y1 + d(rng));
  }
  return lines;
}

// Qt alone: a million hairlines onto the thumbnail, one drawLine each.
void BM_QtAloneHairlinesBitmap320x240(benchmark::State& state) {
  const std::vector<QLine> lines = QtAloneStrokes(320, 240);
  QImage image(320, 240, QImage::Format_RGB32);
  for (auto _ : state) {
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(QPen(Qt::black, 0));
    for (const QLine& l : lines) painter.drawLine(l);
  }
}
BENCHMARK(BM_QtAloneHairlinesBitmap320x240)->Unit(benchmark::kMillisecond)->UseRealTime();

// Qt alone: a million strokes of one 3-pixel pen into an A1 page at 600 dpi.
void BM_QtAloneStrokesPdfA1At600Dpi(benchmark::State& state) {
  QTemporaryDir dir;
  const QString path = dir.filePath("a1.pdf");
  const std::vector<QLine> lines = QtAloneStrokes(14031, 19866);
  for (auto _ : state) {
    QPdfWriter writer(path);
    SetA1At600Dpi(writer);
    QPainter painter(&writer);
    painter.setPen(QPen(Qt::black, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (const QLine& l : lines) painter.drawLine(l);
    painter.end();
  }
  state.counters["pdf_MiB"] = static_cast<double>(QFileInfo(path).size()) / (1024.0 * 1024.0);
}
BENCHMARK(BM_QtAloneStrokesPdfA1At600Dpi)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

// The counting canvas polled through a fake (0) or the X11 poller on a
// private Xvfb (1): what asking the X server costs a drawing.
void BM_DrawEscapePoller(benchmark::State& state) {
  PrivateXServer server;
  Display* display = server.Name().empty() ? nullptr : XOpenDisplay(server.Name().c_str());
  if (state.range(0) == 1 && display == nullptr) {
    state.SkipWithError("no Xvfb");
    return;
  }
  TX11EscapePoller x11(display);
  DrawSetup setup(320, 240, state.range(0) == 1 ? &x11 : nullptr);
  CountingCanvas canvas;
  for (auto _ : state) DrawOnce(canvas);
  state.counters["server_asks"] = static_cast<double>(x11.Asks()) / static_cast<double>(state.iterations());
  if (display != nullptr) XCloseDisplay(display);
}
BENCHMARK(BM_DrawEscapePoller)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The sheet preview's drawing: 100 small sheets (an X, a circle and a text
// each) drawn by layer onto 320 × 240 bitmaps, each drawing polling Escape
// after every layer's loops; through a fake (0), the X11 poller (1) or the
// X11 poller asking the server at every poll (2).
void BM_HundredSmallSheetsEscapePoller(benchmark::State& state) {
  PrivateXServer server;
  Display* display = server.Name().empty() ? nullptr : XOpenDisplay(server.Name().c_str());
  if (state.range(0) != 0 && display == nullptr) {
    state.SkipWithError("no Xvfb");
    return;
  }
  TJwwData sheet;
  jwwtest::SizeTables(sheet);
  for (TEntJwwLayerGroup& g : sheet.LayerGroups) g.State = 2, g.Scale = 1;
  for (TEntJwwLayer& l : sheet.Layers) l.State = 2;
  jwwtest::Append(sheet, jwwtest::MakeLine(0, 0, 100, 100));
  jwwtest::Append(sheet, jwwtest::MakeLine(0, 100, 100, 0));
  jwwtest::Append(sheet, jwwtest::MakeCircle(50, 50, 30));
  jwwtest::Append(sheet, jwwtest::MakeText(10, 10, "A-1"));
  sheet.BuildBlockTree();
  TX11EscapePoller x11(display, state.range(0) == 2 ? std::chrono::milliseconds(0)
                                                    : TX11EscapePoller::kDefaultInterval);
  IdlePoller idle;
  Gval.Reset();
  TgraAttribute attr;
  attr.SetLineWidthMode(true);
  Gval.GraAttribute = &attr;
  SetKeyStatePoller(state.range(0) != 0 ? static_cast<TKeyStatePoller*>(&x11) : &idle);
  SetView(320, 240, 2.0, 50, 50);
  QImage page(320, 240, QImage::Format_RGB32);
  for (auto _ : state) {
    for (int k = 0; k < 100; ++k) {
      page.fill(Qt::white);
      QPainter painter(&page);
      TQtCanvas canvas(painter);
      sheet.Draw(canvas, 1, -1, -1, true, true, false, 0);
    }
  }
  SetKeyStatePoller(nullptr);
  Gval.Reset();
  state.counters["polls"] = static_cast<double>(idle.polls) / static_cast<double>(state.iterations());
  state.counters["server_asks"] = static_cast<double>(x11.Asks()) / static_cast<double>(state.iterations());
  if (display != nullptr) XCloseDisplay(display);
}
BENCHMARK(BM_HundredSmallSheetsEscapePoller)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();
#endif

}  // namespace

int main(int argc, char** argv) {
#ifdef BENCH_QT_CANVAS
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
#endif
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
