// Pixel probes of the Qt canvas: text cells, baselines, turns, stretch,
// sideways faces and the face map.
#include <gtest/gtest.h>

#include <QFontMetricsF>

#include "canvas_probe.h"
#include "qt_font_faces.h"
#include "sjis.h"

namespace {

TLogFont Font(int height, const char* faceUtf8 = "ＭＳ ゴシック", int width = 0) {
  TLogFont f;
  f.Height = height;
  f.Width = width;
  f.FaceName = Utf8ToSjis(faceUtf8);
  return f;
}

QImage Text(const TLogFont& font, int x, int y, const char* textUtf8, int w = 120, int h = 120,
            bool solidBrush = false) {
  TProbeBitmap bmp(w, h);
  bmp.Canvas().SetFont(font);
  bmp.Canvas().SetBrushColor(0x00FF00);
  bmp.Canvas().SetBrushStyle(solidBrush ? bsSolid : bsClear);
  bmp.Canvas().TextOut(x, y, Utf8ToSjis(textUtf8));
  return bmp.Finish();
}

TEST(QtCanvasFaces, JapaneseFacesMapToTheIpaFontsOthersWhenInstalled) {
  EnsureGuiApp();
  struct Case {
    const char* face;
    const char* family;
  } cases[] = {
      {"ＭＳ ゴシック", "IPAGothic"}, {"ＭＳ Ｐゴシック", "IPAPGothic"},
      {"ＭＳ 明朝", "IPAMincho"},     {"ＭＳ Ｐ明朝", "IPAPMincho"},
      {"MS Gothic", "IPAGothic"},      {"ms pgothic", "IPAPGothic"},
      {"MS Mincho", "IPAMincho"},      {"MS PMincho", "IPAPMincho"},
      {"IPAPMincho", "IPAPMincho"},    {"No Such Face 123", "IPAGothic"},
      {"", "IPAGothic"},               {"ＭＳゴシック", "IPAGothic"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FontFamilyForFace(QString::fromUtf8(c.face)), QString::fromUtf8(c.family)) << c.face;
}

TEST(QtCanvasText, MissingFaceDrawsAsTheJapaneseGothic) {
  const QImage gothic = Text(Font(30), 5, 5, "漢A");
  EXPECT_GT(InkCount(gothic), 50);
  EXPECT_EQ(Text(Font(30, "No Such Face 123"), 5, 5, "漢A"), gothic);
  EXPECT_EQ(Text(Font(30, "IPAGothic"), 5, 5, "漢A"), gothic);
  EXPECT_NE(Text(Font(30, "ＭＳ 明朝"), 5, 5, "漢A"), gothic);
}

// The point is the upper-left corner of the cell; the baseline lies one
// ascent below it; a solid brush fills the cell (advance × ascent + descent).
TEST(QtCanvasText, CellAndBaseline) {
  EnsureGuiApp();
  for (int height : {20, 40, 57}) {
    SCOPED_TRACE(height);
    QFont probe;
    probe.setFamilies({"IPAGothic"});
    probe.setPixelSize(height);
    QImage scratch(1, 1, QImage::Format_RGB32);
    const QFontMetricsF m(probe, &scratch);
    const int ascent = qRound(m.ascent());
    const QRect ink = InkBox(Text(Font(height), 10, 10, "AH_"));
    EXPECT_GE(ink.left(), 10);
    EXPECT_EQ(ink.top() < 10 + ascent / 2, true);
    // Capitals stand on the baseline (the IPA faces draw them a twentieth
    // of the em above it); the underscore hangs just below it.
    const QImage caps = Text(Font(height), 10, 10, "AH");
    EXPECT_LE(InkBox(caps).bottom(), 10 + ascent - 1);
    EXPECT_GE(InkBox(caps).bottom(), 10 + ascent - 1 - height / 12);
    EXPECT_GT(ink.bottom(), 10 + ascent - 1);

    const QImage cell = Text(Font(height), 10, 10, "AH", 120, 120, true);
    const QRect filled = InkBox(cell);
    EXPECT_EQ(filled.topLeft(), QPoint(10, 10));
    EXPECT_EQ(filled.width(), height);  // two half-width letters
    EXPECT_EQ(filled.height(), qRound(m.ascent() + m.descent()));
    EXPECT_EQ(Rgb(cell, 10, 10), 0x00FF00u);
  }
}

TEST(QtCanvasText, EscapementTurnsCounterClockwiseAboutThePoint) {
  struct Case {
    int escapement;
    QRect area;  // where the cell of "漢漢" (80 × 43 upright) must fall
  } cases[] = {
      {0, QRect(100, 100, 80, 44)},
      {900, QRect(100, 20, 44, 81)},    // runs upwards, glyph bottoms to the right
      {1800, QRect(20, 56, 81, 45)},    // upside down, to the left
      {2700, QRect(56, 100, 45, 81)},   // runs downwards
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.escapement);
    TLogFont f = Font(40);
    f.Escapement = c.escapement;
    const QRect ink = InkBox(Text(f, 100, 100, "漢漢", 200, 200));
    EXPECT_FALSE(ink.isEmpty());
    EXPECT_TRUE(c.area.contains(ink)) << ink.x() << "," << ink.y() << " " << ink.width() << "x"
                                      << ink.height();
    EXPECT_GT(std::max(ink.width(), ink.height()), 60);
  }
}

TEST(QtCanvasText, WidthStretchesToTwiceWidthOverHeight) {
  struct Case {
    int width;
    int cell;  // filled cell width of one full-width character at height 40
  } cases[] = {{0, 40}, {20, 40}, {10, 20}, {40, 80}, {-10, 20}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width);
    const QRect cell = InkBox(Text(Font(40, "ＭＳ ゴシック", c.width), 0, 0, "漢", 120, 60, true));
    EXPECT_NEAR(cell.width(), c.cell, 1);
  }
}

TEST(QtCanvasText, BoldWeighsMoreAndTheFontColourIsItsOwn) {
  TLogFont bold = Font(30);
  bold.Weight = 700;
  EXPECT_GT(InkCount(Text(bold, 5, 5, "漢字")), InkCount(Text(Font(30), 5, 5, "漢字")) + 20);

  TProbeBitmap bmp(80, 40);
  bmp.Canvas().SetPenColor(0xFF0000);
  bmp.Canvas().SetFontColor(0x0000FF);
  bmp.Canvas().SetFont(Font(30));
  bmp.Canvas().SetBrushStyle(bsClear);
  bmp.Canvas().TextOut(2, 2, Utf8ToSjis("漢"));
  const QImage& im = bmp.Finish();
  for (int y = 0; y < im.height(); ++y)
    for (int x = 0; x < im.width(); ++x)
      if (Ink(im, x, y)) {
        ASSERT_EQ(Rgb(im, x, y), 0xFF0000u);  // red, the font colour
      }
}

// With one "@" two-byte characters lie on their side filling their cell;
// one-byte characters stay upright.
TEST(QtCanvasText, SidewaysFaceTurnsTwoByteCharactersOnly) {
  const QRect flat = InkBox(Text(Font(40), 10, 10, "一"));
  const QRect turned = InkBox(Text(Font(40, "@ＭＳ ゴシック"), 10, 10, "一"));
  ASSERT_FALSE(flat.isEmpty());
  ASSERT_FALSE(turned.isEmpty());
  EXPECT_GT(flat.width(), 3 * flat.height());
  EXPECT_GT(turned.height(), 3 * turned.width());
  // The bar turned about the centre of the 40 × 40 cell at (10, 10).
  EXPECT_NEAR(turned.center().x(), 30, 6);
  EXPECT_NEAR(turned.center().y(), 30, 6);
  EXPECT_TRUE(QRect(10, 10, 40, 40).contains(turned));

  EXPECT_EQ(Text(Font(40, "@ＭＳ ゴシック"), 10, 10, "Ab"), Text(Font(40), 10, 10, "Ab"));
  // Mixed: the one-byte letter after the turned character keeps its place.
  const QImage mixed = Text(Font(40, "@ＭＳ ゴシック"), 10, 10, "一A");
  const QImage plainA = Text(Font(40), 50, 10, "A");
  for (int y = 0; y < 120; ++y)
    for (int x = 50; x < 120; ++x) ASSERT_EQ(Ink(mixed, x, y), Ink(plainA, x, y));
  // A narrow font squeezes the cell and the turned glyph with it.
  const QRect narrow = InkBox(Text(Font(40, "@ＭＳ ゴシック", 10), 10, 10, "一"));
  EXPECT_LE(narrow.right(), 10 + 20);
  EXPECT_GT(narrow.height(), 25);
}

TEST(QtCanvasText, OddInputDrawsNothingOrStaysSafe) {
  EXPECT_EQ(InkCount(Text(Font(0), 10, 10, "漢")), 0);
  EXPECT_EQ(InkCount(Text(Font(30), 10, 10, "")), 0);
  TLogFont huge = Font(2000000000, "ＭＳ ゴシック", 2000000000);
  huge.Escapement = -2000000000;
  huge.Weight = 99999;
  Text(huge, 10, 10, "漢");
  TLogFont negative = Font(-30);
  EXPECT_GT(InkCount(Text(negative, 10, 10, "漢")), 50);
  // Bytes that are no Shift-JIS and a lead byte at the end.
  TProbeBitmap bmp(60, 60);
  bmp.Canvas().SetFont(Font(20, "@ＭＳ ゴシック"));
  bmp.Canvas().TextOut(5, 5, std::string("\x81\xFF\xA0\x82", 4));
  bmp.Canvas().SetFont(Font(20, "@"));
  bmp.Canvas().TextOut(5, 30, std::string("\x88\x9F\x81", 3));
  bmp.Finish();
}

}  // namespace
