// Text drawing: 100,000 texts onto a 320 × 240 thumbnail of an A1 sheet
// (mostly strokes in place of texts), and 100,000 eight-character texts as
// glyphs onto an A3 page at 300 dpi. Each onto the Qt canvas on a bitmap,
// and onto a canvas that only counts calls (the engine's share of the work).
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdint>
#include <string>
#include <vector>

#include "gval.h"
#include "qt_canvas.h"
#include "render/canvas.h"
#include "render/text_draw.h"

namespace {

class TCountingCanvas : public TCanvas {
 public:
  int64_t texts = 0, strokes = 0, fonts = 0;
  void SetPenColor(int32_t c) override { pen_ = c; }
  int32_t PenColor() const override { return pen_; }
  void SetPenWidth(int32_t w) override { width_ = w; }
  int32_t PenWidth() const override { return width_; }
  void SetPenStyle(TPenStyle) override {}
  void SetBrushColor(int32_t) override {}
  void SetBrushStyle(TBrushStyle) override {}
  void MoveTo(int32_t, int32_t) override {}
  void LineTo(int32_t, int32_t) override { ++strokes; }
  void Polyline(const TDevicePoint*, size_t) override { ++strokes; }
  void Polygon(const TDevicePoint*, size_t) override {}
  void SetFont(const TLogFont& f) override {
    font_ = f;
    ++fonts;
  }
  void SetFontColor(int32_t) override {}
  void TextOut(int32_t, int32_t, const std::string& text) override { texts += static_cast<int64_t>(text.size()); }
  std::unique_ptr<TCanvasImage> LoadImage(const std::string&) override { return nullptr; }
  void DrawImage(const TCanvasImage&, const TDeviceRect&, const TDeviceRect&, double, int32_t,
                 int32_t) override {}

 private:
  int32_t pen_ = 0, width_ = 0;
  TLogFont font_;
};

struct TText {
  double x1, y1, x2, y2, h, w, sp;
  std::string text;
};

constexpr int kTexts = 100'000;

// kTexts texts on a grid over width × height mm; every 100th one large.
std::vector<TText> Grid(double width, double height, double h, bool someLarge) {
  // Eight characters each as drawn: plain, two-byte, bold, one raised.
  static const std::string kWords[] = {"Sheet-01", "\x90\x7D\x96\xCA\x94\xD4\x8D\x86" "A-12",  // 図面番号A-12
                                       "^!Bold-001", "AB^u2CDEFG"};
  std::vector<TText> out;
  out.reserve(kTexts);
  const int columns = 316;
  for (int i = 0; i < kTexts; ++i) {
    const double x = (i % columns) * width / columns, y = (i / columns) * height / (kTexts / columns + 1);
    const double size = someLarge && i % 100 == 0 ? 20 : h;
    const double length = size * 8 * 0.5;
    out.push_back({x, y, x + length * 0.96, y + length * 0.28, size, size, 0, kWords[i % 4]});
  }
  return out;
}

void DrawTexts(TCanvas& canvas, const std::vector<TText>& texts) {
  for (const TText& t : texts)
    DrawTextEntity(canvas, 0, "\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E", t.x1, t.y1, t.x2, t.y2,
                   t.h, t.w, t.sp, t.text);  // ＭＳ ゴシック
}

// The view of a 320 × 240 thumbnail of an A1 sheet, or of an A3 page at 300 dpi.
std::vector<TText> Setup(bool thumbnail) {
  Gval.Reset();
  Gval.DrawingScale = Gval.PrintScale = 1;
  if (thumbnail) {
    SetView(320, 240, 240.0 / 594.0, 420.5, 297);
    return Grid(841, 594, 3.5, true);
  }
  SetView(4961, 3508, 300 / 25.4, 210, 148.5);
  return Grid(420, 297, 3, false);
}

void BM_CountingCanvas(benchmark::State& state, bool thumbnail) {
  const std::vector<TText> texts = Setup(thumbnail);
  TCountingCanvas canvas;
  for (auto _ : state) DrawTexts(canvas, texts);
  const auto n = static_cast<double>(state.iterations());
  state.counters["glyph_bytes"] = static_cast<double>(canvas.texts) / n;
  state.counters["fonts"] = static_cast<double>(canvas.fonts) / n;
  state.counters["strokes"] = static_cast<double>(canvas.strokes) / n;
}
BENCHMARK_CAPTURE(BM_CountingCanvas, thumbnail, true)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_CountingCanvas, a3_300dpi, false)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_QtBitmap(benchmark::State& state, bool thumbnail) {
  const std::vector<TText> texts = Setup(thumbnail);
  QImage image(Gval.DeviceWidth, Gval.DeviceHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  for (auto _ : state) {
    QPainter painter(&image);
    TQtCanvas canvas(painter);
    DrawTexts(canvas, texts);
    canvas.Flush();
  }
}
BENCHMARK_CAPTURE(BM_QtBitmap, thumbnail, true)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_QtBitmap, a3_300dpi, false)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);  // fonts need one
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
