// The Qt canvas under load: a million strokes on a thumbnail bitmap and on
// an A1 page at 600 dpi printed to PDF, and 100,000 short texts on an A3
// bitmap at 300 dpi, put out character by character.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QTemporaryDir>
#include <QFileInfo>
#include <random>
#include <vector>

#include "qt_canvas.h"
#include "sjis.h"

namespace {

struct TStroke {
  int32_t x1, y1, x2, y2;
};

// Strokes over a w × h surface: short and long ones, one in four without
// length (hairline points of the drawing), one in three continuing the one
// before (polylines split into strokes).
std::vector<TStroke> Strokes(size_t n, int32_t w, int32_t h) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int32_t> x(0, w - 1), y(0, h - 1), d(-w / 20 - 1, w / 20 + 1);
  std::vector<TStroke> out;
  out.reserve(n);
  for (size_t i = 0; i < n; ++i) {
    TStroke s{x(rng), y(rng), 0, 0};
    if (i % 3 == 1) {
      s.x1 = out.back().x2;
      s.y1 = out.back().y2;
    }
    s.x2 = i % 4 == 0 ? s.x1 : s.x1 + d(rng);
    s.y2 = i % 4 == 0 ? s.y1 : s.y1 + d(rng);
    out.push_back(s);
  }
  return out;
}

void DrawStrokes(TQtCanvas& canvas, const std::vector<TStroke>& strokes) {
  for (size_t i = 0; i < strokes.size(); ++i) {
    if (i % 1000 == 0) canvas.SetPenColor(int32_t(i % 7) * 0x202020);
    canvas.MoveTo(strokes[i].x1, strokes[i].y1);
    canvas.LineTo(strokes[i].x2, strokes[i].y2);
  }
  canvas.Flush();
}

void BM_MillionStrokesOnThumbnail(benchmark::State& state) {
  const std::vector<TStroke> strokes = Strokes(1'000'000, 320, 240);
  QImage image(320, 240, QImage::Format_RGB32);
  for (auto _ : state) {
    image.fill(Qt::white);
    QPainter painter(&image);
    TQtCanvas canvas(painter);
    canvas.SetPenWidth(int32_t(state.range(0)));
    DrawStrokes(canvas, strokes);
  }
}
BENCHMARK(BM_MillionStrokesOnThumbnail)->Arg(0)->Arg(3)->Unit(benchmark::kMillisecond);

void BM_MillionStrokesOnA1Pdf(benchmark::State& state) {
  QTemporaryDir dir;
  const QString file = dir.filePath("a1.pdf");
  const std::vector<TStroke> strokes = Strokes(1'000'000, 19866, 14032);
  for (auto _ : state) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    printer.setResolution(600);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A1), QPageLayout::Landscape,
                                      QMarginsF(0, 0, 0, 0)));
    QPainter painter(&printer);
    {
      TQtCanvas canvas(painter);
      canvas.SetPenWidth(int32_t(state.range(0)));
      DrawStrokes(canvas, strokes);
    }
    painter.end();
  }
  state.counters["pdf_MB"] = double(QFileInfo(file).size()) / 1e6;
}
BENCHMARK(BM_MillionStrokesOnA1Pdf)->Arg(0)->Arg(5)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_HundredThousandTextsOnA3(benchmark::State& state) {
  QImage image(4961, 3508, QImage::Format_RGB32);
  // The text routines put out one character at a time, each at its own point.
  std::vector<std::string> pieces;
  for (const char* p : {"図", "面", "A", "B", "C", "D", "1", "2"}) pieces.push_back(Utf8ToSjis(p));
  TLogFont font;
  font.Height = 30;
  font.FaceName = Utf8ToSjis("ＭＳ ゴシック");
  std::mt19937 rng(3);
  std::uniform_int_distribution<int32_t> x(0, 4800), y(0, 3400);
  for (auto _ : state) {
    image.fill(Qt::white);
    QPainter painter(&image);
    TQtCanvas canvas(painter);
    canvas.SetBrushStyle(bsClear);  // as the text routines leave it
    for (int i = 0; i < 100'000; ++i) {
      font.Escapement = (i % 8) * 450;
      canvas.SetFont(font);
      const int32_t x0 = x(rng), y0 = y(rng);
      for (size_t k = 0; k < pieces.size(); ++k) canvas.TextOut(x0 + int32_t(k) * 20, y0, pieces[k]);
    }
  }
}
BENCHMARK(BM_HundredThousandTextsOnA3)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
