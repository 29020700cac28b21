// The same drawing on a PDF page and on a bitmap of the page's pixels puts
// ink in the same places: the page is read back with pdftoppm (no
// smoothing) and each inked pixel of one must have ink near it in the
// other. Vector devices get strokes handed over whole (dash patterns, one
// path per pen) where bitmaps get them piece by piece; this keeps the two
// honest with each other.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QImage>
#include <QPageSize>
#include <QPdfWriter>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "canvas_probe.h"
#include "fitted_drawing.h"
#include "jww_model_maker.h"
#include "jww_data.h"
#include "showcase_drawing.h"
#include "test_paths.h"

namespace {

namespace fs = std::filesystem;

constexpr int kDpi = 200;
// Ink may move by a pixel between the two renderers (their rules for which
// pixel a stroke's edge, a glyph or a scaled image takes differ).
constexpr int kReach = 1;

using TPaint = std::function<void(QPaintDevice&, int width, int height)>;

TPaint FittedDrawing(TJwwData& d, std::string drawingPath) {
  return [&d, drawingPath](QPaintDevice& device, int w, int h) { DrawFitted(d, drawingPath, device, w, h); };
}

bool Ink(QRgb c) { return qRed(c) < 224 || qGreen(c) < 224 || qBlue(c) < 224; }

// Inked pixels of a that have no ink within kReach in b.
int64_t InkWithoutPartner(const QImage& a, const QImage& b, int64_t& inked) {
  const int w = std::min(a.width(), b.width()), h = std::min(a.height(), b.height());
  int64_t lonely = 0;
  inked = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (!Ink(a.pixel(x, y))) continue;
      ++inked;
      bool found = false;
      for (int dy = -kReach; dy <= kReach && !found; ++dy)
        for (int dx = -kReach; dx <= kReach && !found; ++dx)
          found = b.valid(x + dx, y + dy) && Ink(b.pixel(x + dx, y + dy));
      if (!found) ++lonely;
    }
  return lonely;
}

void ExpectSameInk(const TPaint& paint, const std::string& name) {
  EnsureGuiApp();
  const fs::path dir = fs::path(::testing::TempDir()) / ("pdf_vs_bitmap_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const fs::path pdf = dir / (name + ".pdf");
  int width = 0, height = 0;
  {
    QPdfWriter writer(QString::fromStdString(pdf.string()));
    writer.setResolution(kDpi);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageOrientation(QPageLayout::Landscape);
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    width = writer.width();
    height = writer.height();
    paint(writer, width, height);
  }
  QImage bitmap(width, height, QImage::Format_RGB32);
  bitmap.fill(Qt::white);
  paint(bitmap, width, height);

  const std::string prefix = (dir / name).string();
  const std::string command = "pdftoppm -r " + std::to_string(kDpi) + " -aa no -aaVector no -singlefile -png '" +
                              pdf.string() + "' '" + prefix + "' 2>/dev/null";
  if (std::system(command.c_str()) != 0) GTEST_SKIP() << "pdftoppm is not available";
  const QImage page = QImage(QString::fromStdString(prefix + ".png")).convertToFormat(QImage::Format_RGB32);
  ASSERT_FALSE(page.isNull());
  EXPECT_LE(std::abs(page.width() - width), 1);
  EXPECT_LE(std::abs(page.height() - height), 1);

  int64_t bitmapInk = 0, pageInk = 0;
  const int64_t missingOnPage = InkWithoutPartner(bitmap, page, bitmapInk);
  const int64_t extraOnPage = InkWithoutPartner(page, bitmap, pageInk);
  ASSERT_GT(bitmapInk, 500) << name << ": too little drawn to compare";
  // Nearly all ink has a partner: a dash pattern out of step, a shape
  // missing or drawn twice would leave thousands of pixels alone.
  EXPECT_LE(missingOnPage, bitmapInk / 100) << name << ": bitmap ink not on the page of " << bitmapInk;
  EXPECT_LE(extraOnPage, pageInk / 100) << name << ": page ink not on the bitmap of " << pageInk;
}

// Every patterned line type on lines, runs of lines that continue each
// other, arcs, circles and turned ellipses, at three widths.
void MakePatternDrawing(TJwwData& m) {
  m.FreeData();
  jwwtest::SizeTables(m);
  for (TEntJwwLayerGroup& g : m.LayerGroups) g.State = 2, g.Scale = 1;
  for (TEntJwwLayer& l : m.Layers) l.State = 2;
  const uint8_t types[] = {2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 14, 15};
  const uint16_t widths[] = {0, 30, 70};
  for (size_t t = 0; t < std::size(types); ++t)
    for (size_t w = 0; w < std::size(widths); ++w) {
      TEntJwwCommon c;
      c.Color = uint16_t(1 + (t + w) % 8);
      c.LineType = types[t];
      c.Width = widths[w];
      c.Layer = uint16_t(w);
      const double x = double(w) * 130, y = double(t) * 12;
      TEntJwwLine l;
      l.Common = c;
      l.X1 = x, l.Y1 = y, l.X2 = x + 37.3, l.Y2 = y + 3.1;
      jwwtest::Append(m, l);
      // A run of three strokes: the pattern goes on across them.
      const double run[4][2] = {{x + 40, y}, {x + 52.7, y + 4.4}, {x + 61, y - 1.3}, {x + 80.2, y + 2}};
      for (int k = 0; k < 3; ++k) {
        l.X1 = run[k][0], l.Y1 = run[k][1], l.X2 = run[k + 1][0], l.Y2 = run[k + 1][1];
        jwwtest::Append(m, l);
      }
      TEntJwwArc a;
      a.Common = c;
      a.CenterX = x + 90, a.CenterY = y + 2, a.Radius = 4.5, a.Flatness = 1;
      a.StartAngle = 0.3, a.ArcAngle = 2.2;
      jwwtest::Append(m, a);
      a.CenterX = x + 102, a.FullCircle = 1;
      jwwtest::Append(m, a);
      a.CenterX = x + 116, a.Flatness = 0.4, a.Tilt = 0.5;
      jwwtest::Append(m, a);
    }
  m.BuildBlockTree();
}

TEST(PdfMatchesBitmap, PatternedLinesAndArcs) {
  TJwwData d;
  MakePatternDrawing(d);
  ExpectSameInk(FittedDrawing(d, "C:\\jww\\patterns.jww"), "patterns");
}

TEST(PdfMatchesBitmap, RealDrawings) {
  for (const char* name : {"v700-small-1.jww", "v700-small-2.jww", "v700-blocks-sqr-circle-blocks.jww"}) {
    SCOPED_TRACE(name);
    TJwwData d;
    ASSERT_TRUE(d.LoadFromFile(RealDataPath(name)));
    d.BuildBlockTree();
    ExpectSameInk(FittedDrawing(d, std::string("C:\\jww\\") + name), fs::path(name).stem().string());
  }
}

TEST(PdfMatchesBitmap, Showcase) {
  const std::string folder = (fs::path(::testing::TempDir()) / "pdf_vs_bitmap_showcase").string() + "/";
  fs::create_directories(folder);
  TJwwData d;
  MakeShowcaseDrawing(d, folder);
  ExpectSameInk(FittedDrawing(d, folder + "showcase.jww"), "showcase");
}

}  // namespace
