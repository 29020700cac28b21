// The same drawing on a PDF page (read back with pdftoppm, no smoothing)
// and on a bitmap puts ink in the same places: vector devices get strokes
// whole (dash patterns, one path per pen), bitmaps piece by piece.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QImage>
#include <QPageSize>
#include <QPdfWriter>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <utility>

#include "fitted_drawing.h"
#include "jww_builder.h"
#include "jww_model_maker.h"
#include "showcase_drawing.h"
#include "test_paths.h"

namespace {

namespace fs = std::filesystem;

constexpr int kDpi = 200;

bool Ink(QRgb c) { return qRed(c) < 224 || qGreen(c) < 224 || qBlue(c) < 224; }

// Inked pixels of a with no ink in b within a pixel (the renderers may
// put an edge, a glyph or a scaled image's pixel one over), of all inked.
std::pair<int64_t, int64_t> InkWithoutPartner(const QImage& a, const QImage& b) {
  int64_t lonely = 0, inked = 0;
  for (int y = 0; y < std::min(a.height(), b.height()); ++y)
    for (int x = 0; x < std::min(a.width(), b.width()); ++x) {
      if (!Ink(a.pixel(x, y))) continue;
      ++inked;
      bool found = false;
      for (int dy = -1; dy <= 1 && !found; ++dy)
        for (int dx = -1; dx <= 1 && !found; ++dx) found = b.valid(x + dx, y + dy) && Ink(b.pixel(x + dx, y + dy));
      lonely += !found;
    }
  return {lonely, inked};
}

void ExpectSameInk(TJwwData& d, const std::string& drawingPath, const std::string& name) {
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
    width = writer.width(), height = writer.height();
    DrawFitted(d, drawingPath, writer, width, height);
  }
  QImage bitmap(width, height, QImage::Format_RGB32);
  bitmap.fill(Qt::white);
  DrawFitted(d, drawingPath, bitmap, width, height);

  const std::string prefix = (dir / name).string();
  const std::string command = "pdftoppm -r " + std::to_string(kDpi) + " -aa no -aaVector no -singlefile -png '" +
                              pdf.string() + "' '" + prefix + "' 2>/dev/null";
  if (std::system(command.c_str()) != 0) GTEST_SKIP() << "pdftoppm is not available";
  const QImage page = QImage(QString::fromStdString(prefix + ".png")).convertToFormat(QImage::Format_RGB32);
  ASSERT_FALSE(page.isNull());
  EXPECT_TRUE(std::abs(page.width() - width) <= 1 && std::abs(page.height() - height) <= 1);

  const auto [missingOnPage, bitmapInk] = InkWithoutPartner(bitmap, page);
  const auto [extraOnPage, pageInk] = InkWithoutPartner(page, bitmap);
  ASSERT_GT(bitmapInk, 500) << name << ": too little drawn to compare";
  // A dash pattern out of step, a shape missing or drawn twice would leave
  // thousands of pixels alone.
  EXPECT_LE(missingOnPage, bitmapInk / 100) << name << ": bitmap ink not on the page of " << bitmapInk;
  EXPECT_LE(extraOnPage, pageInk / 100) << name << ": page ink not on the bitmap of " << pageInk;
}

// Every patterned line type at three widths on a line, a run of three
// lines the pattern goes on across, an arc, a circle and a turned ellipse.
void MakePatternDrawing(TJwwData& m) {
  using namespace jwwtest;
  m.FreeData();
  SizeTables(m);
  for (TEntJwwLayerGroup& g : m.LayerGroups) g.State = 2, g.Scale = 1;
  for (TEntJwwLayer& l : m.Layers) l.State = 2;
  const uint8_t types[] = {2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 14, 15};
  const uint16_t widths[] = {0, 30, 70};
  for (size_t t = 0; t < std::size(types); ++t)
    for (uint16_t w = 0; w < 3; ++w) {
      TEntJwwCommon c = MakeCommon(0, w, uint16_t(1 + (t + w) % 8), types[t]);
      c.Width = widths[w];
      const double x = w * 130.0, y = t * 12.0;
      const double run[4][2] = {{x + 40, y}, {x + 52.7, y + 4.4}, {x + 61, y - 1.3}, {x + 80.2, y + 2}};
      Append(m, MakeLine(x, y, x + 37.3, y + 3.1, c));
      for (int k = 0; k < 3; ++k) Append(m, MakeLine(run[k][0], run[k][1], run[k + 1][0], run[k + 1][1], c));
      TEntJwwArc a = MakeArc(x + 90, y + 2, 4.5, 0.3, 2.2, c);
      Append(m, a);
      a.CenterX = x + 102, a.FullCircle = 1;
      Append(m, a);
      a.CenterX = x + 116, a.Flatness = 0.4, a.Tilt = 0.5;
      Append(m, a);
    }
  m.BuildBlockTree();
}

TEST(PdfMatchesBitmap, PatternedLinesAndArcs) {
  TJwwData d;
  MakePatternDrawing(d);
  ExpectSameInk(d, "C:\\jww\\patterns.jww", "patterns");
}

TEST(PdfMatchesBitmap, RealDrawingsAndShowcase) {
  for (const char* name : {"v700-small-1.jww", "v700-small-2.jww", "v700-blocks-sqr-circle-blocks.jww"}) {
    SCOPED_TRACE(name);
    TJwwData d;
    ASSERT_TRUE(d.LoadFromFile(RealDataPath(name)));
    d.BuildBlockTree();
    ExpectSameInk(d, std::string("C:\\jww\\") + name, fs::path(name).stem().string());
  }
  const std::string folder = (fs::path(::testing::TempDir()) / "pdf_vs_bitmap_showcase").string() + "/";
  fs::create_directories(folder);
  TJwwData d;
  MakeShowcaseDrawing(d, folder);
  ExpectSameInk(d, folder + "showcase.jww", "showcase");
}

}  // namespace
