// The printer device hands out a canvas over its page: what is drawn on it
// lands on the page it was drawn for.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

#include "canvas_probe.h"
#include "qt_printer_device.h"
#include "sjis.h"

namespace {

namespace fs = std::filesystem;

TEST(PrinterCanvas, StrokesLandOnThePageTheyWereDrawnFor) {
  EnsureGuiApp();
  const fs::path dir = fs::path(::testing::TempDir()) / ("printer_canvas_" + std::to_string(getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  TPdfFilePrinter pdf;
  pdf.SetOutputFolder(dir.string());
  EXPECT_EQ(pdf.Canvas(), nullptr);
  ASSERT_TRUE(pdf.BeginDoc("pages"));
  TCanvas* canvas = pdf.Canvas();
  ASSERT_NE(canvas, nullptr);
  // Page 1: a thick stroke across the upper half, still gathered when the
  // page ends. Page 2: one across the lower half.
  const int32_t upper = pdf.DpiY() * 17 / 10, lower = pdf.DpiY() * 10;  // 1.7 and 10 inches down
  canvas->SetPenWidth(200);
  canvas->MoveTo(0, upper);
  canvas->LineTo(pdf.PageWidthPx(), upper);
  ASSERT_TRUE(pdf.NewPage());
  EXPECT_EQ(pdf.Canvas(), canvas);
  canvas->MoveTo(0, lower);
  canvas->LineTo(pdf.PageWidthPx(), lower);
  ASSERT_TRUE(pdf.EndDoc());
  EXPECT_EQ(pdf.Canvas(), nullptr);

  const fs::path file = pdf.LastOutputPath();
  const std::string prefix = (dir / "page").string();
  const std::string command = "pdftoppm -r 10 -png '" + file.string() + "' '" + prefix + "' 2>/dev/null";
  if (std::system(command.c_str()) != 0) GTEST_SKIP() << "pdftoppm is not available";
  const QImage one((prefix + "-1.png").c_str()), two((prefix + "-2.png").c_str());
  ASSERT_FALSE(one.isNull());
  ASSERT_FALSE(two.isNull());
  // 10 dpi: the page is about 83 × 117 pixels; rows 17 and 100 are the strokes.
  EXPECT_TRUE(Ink(one, 40, 17));
  EXPECT_FALSE(Ink(one, 40, 100));
  EXPECT_FALSE(Ink(two, 40, 17));
  EXPECT_TRUE(Ink(two, 40, 100));
}

// On a page characters put out one by one are written as runs; the text
// must come out whole and in order, whatever the turn, and a character the
// face lacks still appears.
TEST(PrinterCanvas, CharactersOnAPageReadBackAsText) {
  EnsureGuiApp();
  const fs::path dir = fs::path(::testing::TempDir()) / ("printer_text_" + std::to_string(getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  TPdfFilePrinter pdf;
  pdf.SetOutputFolder(dir.string());
  ASSERT_TRUE(pdf.BeginDoc("text"));
  TCanvas* canvas = pdf.Canvas();
  canvas->SetBrushStyle(bsClear);
  TLogFont font;
  font.Height = 100;
  font.FaceName = Utf8ToSjis("ＭＳ ゴシック");
  const char* pieces[] = {"図", "面", "A", "B", "1"};
  const int advance[] = {100, 100, 50, 50, 50};
  for (int32_t row = 0; row < 2; ++row) {
    font.Escapement = row * 900;
    canvas->SetFont(font);
    int32_t x = 500 + row * 2000, y = 1000 + row * 1000;
    for (size_t k = 0; k < std::size(pieces); ++k) {
      canvas->TextOut(x, y, Utf8ToSjis(pieces[k]));
      (row == 0 ? x : y) += row == 0 ? advance[k] : -advance[k];
    }
  }
  font.Escapement = 0;
  canvas->SetFont(font);
  canvas->TextOut(500, 3000, Utf8ToSjis("℡"));
  ASSERT_TRUE(pdf.EndDoc());
  const fs::path text = dir / "text.txt";
  const std::string command =
      "pdftotext '" + pdf.LastOutputPath() + "' '" + text.string() + "' 2>/dev/null";
  if (std::system(command.c_str()) != 0) GTEST_SKIP() << "pdftotext is not available";
  std::ifstream in(text);
  const std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(all.find("図面AB1"), std::string::npos) << all;
  EXPECT_NE(all.find("℡"), std::string::npos) << all;
}

}  // namespace
