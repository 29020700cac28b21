// Pixel probes of the Qt canvas: pens, strokes, fills and hatches.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "canvas_probe.h"

namespace {

constexpr QRgb kRed = 0xFF0000, kBlue = 0x0000FF;

TEST(QtCanvasStrokes, HairlinesCoverBothEndsWhateverTheWidthBelowTwo) {
  for (int width : {0, 1}) {
    SCOPED_TRACE(width);
    TProbeBitmap bmp(20, 8);
    bmp.Canvas().SetPenWidth(width);
    bmp.Canvas().MoveTo(2, 3);
    bmp.Canvas().LineTo(10, 3);
    const QImage& im = bmp.Finish();
    EXPECT_EQ(InkBox(im), QRect(2, 3, 9, 1));
    EXPECT_EQ(InkCount(im), 9);
  }
}

TEST(QtCanvasStrokes, DottedPenIsThreeOnThreeOff) {
  TProbeBitmap bmp(40, 4);
  bmp.Canvas().SetPenStyle(psDot);
  bmp.Canvas().MoveTo(0, 1);
  bmp.Canvas().LineTo(35, 1);
  const QImage& im = bmp.Finish();
  std::string row;
  for (int x = 0; x < 18; ++x) row += Ink(im, x, 1) ? '#' : '.';
  EXPECT_EQ(row, "###...###...###...");
}

TEST(QtCanvasStrokes, ColoursAreWindowsValuesWithRedInTheLowByte) {
  TProbeBitmap bmp(10, 4);
  bmp.Canvas().SetPenColor(0x0000FF);
  bmp.Canvas().MoveTo(0, 1);
  bmp.Canvas().LineTo(9, 1);
  bmp.Canvas().SetPenColor(0xFF0000);
  bmp.Canvas().MoveTo(0, 2);
  bmp.Canvas().LineTo(9, 2);
  const QImage& im = bmp.Finish();
  EXPECT_EQ(Rgb(im, 5, 1), kRed);
  EXPECT_EQ(Rgb(im, 5, 2), kBlue);
}

// A stroke without length: nothing at hairline widths, a round dot of the
// pen's width above.
TEST(QtCanvasStrokes, ZeroLengthStrokes) {
  struct Case {
    int width;
    QRect box;
    int count;
  } cases[] = {
      {0, QRect(), 0},
      {1, QRect(), 0},
      {5, QRect(18, 18, 5, 5), 21},  // 3 + 5 + 5 + 5 + 3
      {4, QRect(18, 18, 4, 4), 12},  // 2 + 4 + 4 + 2
      {9, QRect(16, 16, 9, 9), -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width);
    for (int viaPolyline = 0; viaPolyline < 2; ++viaPolyline) {
      TProbeBitmap bmp(40, 40);
      bmp.Canvas().SetPenWidth(c.width);
      if (viaPolyline) {
        const TDevicePoint same[] = {{20, 20}, {20, 20}};
        bmp.Canvas().Polyline(same, 2);
      } else {
        bmp.Canvas().MoveTo(20, 20);
        bmp.Canvas().LineTo(20, 20);
      }
      const QImage& im = bmp.Finish();
      EXPECT_EQ(InkBox(im), c.box);
      if (c.count >= 0) {
        EXPECT_EQ(InkCount(im), c.count);
      }
      if (c.width == 9) {  // round: the corners of the box stay empty
        EXPECT_FALSE(Ink(im, 16, 16));
        EXPECT_FALSE(Ink(im, 24, 24));
        EXPECT_TRUE(Ink(im, 20, 16));
        EXPECT_TRUE(Ink(im, 16, 20));
      }
    }
  }
}

TEST(QtCanvasStrokes, WidePensHaveRoundCapsAndJoins) {
  TProbeBitmap bmp(60, 60);
  bmp.Canvas().SetPenWidth(11);
  bmp.Canvas().MoveTo(10, 40);
  bmp.Canvas().LineTo(40, 40);
  bmp.Canvas().LineTo(40, 10);
  const QImage& im = bmp.Finish();
  // The cap reaches past the start by half the width, on the axis only.
  EXPECT_TRUE(Ink(im, 6, 40));
  EXPECT_FALSE(Ink(im, 5, 35));
  EXPECT_FALSE(Ink(im, 5, 45));
  // The outer corner of the join is rounded off, not mitred or square.
  EXPECT_TRUE(Ink(im, 44, 40));
  EXPECT_TRUE(Ink(im, 40, 44));
  EXPECT_FALSE(Ink(im, 45, 45));
}

TEST(QtCanvasStrokes, GatheredStrokesKeepTheirOrderAndColours) {
  TProbeBitmap bmp(40, 20);
  TQtCanvas& c = bmp.Canvas();
  c.SetPenColor(0x0000FF);  // red
  c.MoveTo(0, 10);
  c.LineTo(20, 10);
  c.SetPenColor(0xFF0000);  // blue, continuing from the current point
  c.LineTo(39, 10);
  // A solid polygon drawn later covers the strokes gathered before it...
  c.SetBrushColor(0x00FF00);
  c.SetBrushStyle(bsSolid);
  c.SetPenColor(0x00FF00);
  const TDevicePoint box[] = {{8, 5}, {12, 5}, {12, 15}, {8, 15}};
  c.Polygon(box, 4);
  // ...and a stroke drawn after it lies on top again.
  c.SetPenColor(0);
  c.MoveTo(10, 0);
  c.LineTo(10, 19);
  const QImage& im = bmp.Finish();
  EXPECT_EQ(Rgb(im, 5, 10), kRed);
  EXPECT_EQ(Rgb(im, 30, 10), kBlue);
  EXPECT_EQ(Rgb(im, 9, 10), 0x00FF00u);
  EXPECT_EQ(Rgb(im, 10, 10), 0u);
}

TEST(QtCanvasStrokes, MoveElsewhereStartsANewStroke) {
  TProbeBitmap bmp(30, 10);
  bmp.Canvas().MoveTo(0, 2);
  bmp.Canvas().LineTo(10, 2);
  bmp.Canvas().MoveTo(20, 2);  // no stroke from 10 to 20
  bmp.Canvas().LineTo(29, 2);
  const QImage& im = bmp.Finish();
  EXPECT_FALSE(Ink(im, 15, 2));
  EXPECT_TRUE(Ink(im, 10, 2));
  EXPECT_TRUE(Ink(im, 20, 2));
}

TEST(QtCanvasStrokes, PolygonsFillOddEven) {
  // A square traced twice over, inner square inside: the ring is filled,
  // the hole is not.
  TProbeBitmap bmp(40, 40);
  bmp.Canvas().SetBrushColor(0x0000FF);
  bmp.Canvas().SetBrushStyle(bsSolid);
  bmp.Canvas().SetPenColor(0x0000FF);
  const TDevicePoint ring[] = {{5, 5},   {35, 5},  {35, 35}, {5, 35},  {5, 5},
                               {15, 15}, {15, 25}, {25, 25}, {25, 15}, {15, 15}};
  bmp.Canvas().Polygon(ring, std::size(ring));
  const QImage& im = bmp.Finish();
  EXPECT_EQ(Rgb(im, 10, 10), kRed);
  EXPECT_FALSE(Ink(im, 20, 20));
}

// Hatches: Qt's 8-pixel patterns in the brush colour over a transparent
// background, anchored to the device.
TEST(QtCanvasStrokes, HatchesAreEightPixelPatternsWithTransparentGaps) {
  struct Case {
    TBrushStyle style;
    int inkPer8x8;
    int dx, dy, dx2, dy2;  // an inked pixel's neighbour along a hatch line is inked too
  } cases[] = {
      {bsHorizontal, 8, 1, 0, 1, 0},  {bsVertical, 8, 0, 1, 0, 1},
      {bsFDiagonal, 8, 1, 1, 1, 1},   {bsBDiagonal, 8, 1, -1, 1, -1},
      {bsCross, 15, 1, 0, 0, 1},      {bsDiagCross, 16, 1, 1, 1, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.style));
    TProbeBitmap bmp(48, 48);
    // A red field below: the hatch's gaps must let it through.
    bmp.Canvas().SetPenColor(0x0000FF);
    bmp.Canvas().SetBrushColor(0x0000FF);
    bmp.Canvas().SetBrushStyle(bsSolid);
    const TDevicePoint field[] = {{0, 0}, {47, 0}, {47, 47}, {0, 47}};
    bmp.Canvas().Polygon(field, 4);
    bmp.Canvas().SetBrushColor(0xFF0000);
    bmp.Canvas().SetBrushStyle(c.style);
    const TDevicePoint box[] = {{4, 4}, {44, 4}, {44, 44}, {4, 44}};
    bmp.Canvas().Polygon(box, 4);
    const QImage& im = bmp.Finish();
    int blue = 0, red = 0, along = 0, other = 0;
    for (int y = 16; y < 24; ++y)
      for (int x = 16; x < 24; ++x) {
        const QRgb p = Rgb(im, x, y);
        blue += p == kBlue;
        red += p == kRed;
        other += p != kBlue && p != kRed;
        if (p == kBlue)
          along += Rgb(im, x + c.dx, y + c.dy) == kBlue || Rgb(im, x + c.dx2, y + c.dy2) == kBlue;
      }
    EXPECT_EQ(blue, c.inkPer8x8);
    EXPECT_EQ(red, 64 - c.inkPer8x8);
    EXPECT_EQ(other, 0);
    EXPECT_EQ(along, blue);
    // The pattern repeats every 8 pixels in both directions.
    for (int y = 8; y < 16; ++y)
      for (int x = 8; x < 16; ++x) ASSERT_EQ(Rgb(im, x, y), Rgb(im, x + 8, y + 16));
  }
}

TEST(QtCanvasStrokes, ForwardDiagonalRunsDownToTheRight) {
  TProbeBitmap bmp(32, 32);
  bmp.Canvas().SetBrushStyle(bsFDiagonal);
  const TDevicePoint box[] = {{0, 0}, {31, 0}, {31, 31}, {0, 31}};
  bmp.Canvas().Polygon(box, 4);
  const QImage& im = bmp.Finish();
  for (int x = 8; x < 16; ++x) {
    if (!Ink(im, x, 12)) continue;
    EXPECT_TRUE(Ink(im, x + 1, 13));
    EXPECT_FALSE(Ink(im, x - 1, 13));
  }
}

// Coordinates far outside the surface are clipped by the painter, not
// rasterised: no hang, no stray pixels.
TEST(QtCanvasStrokes, FarCoordinatesAreSafe) {
  TProbeBitmap bmp(20, 20);
  TQtCanvas& c = bmp.Canvas();
  c.MoveTo(-2000000000, 5);
  c.LineTo(2000000000, 5);
  c.SetPenWidth(400);
  c.MoveTo(2000000000, -2000000000);
  c.LineTo(2000000000, 2000000000);
  c.SetBrushStyle(bsSolid);
  const TDevicePoint huge[] = {{-2000000000, -2000000000}, {2000000000, -2000000000},
                               {2000000000, 2000000000}};
  c.Polygon(huge, 3);
  c.Polyline(nullptr, 3);
  c.Polygon(huge, 0);
  const QImage& im = bmp.Finish();
  EXPECT_TRUE(Ink(im, 10, 5));
}

}  // namespace

namespace {

// Shortcuts of the bitmap: a wide stroke to a neighbouring pixel is its two
// end dots; a polygon within 2 × 2 pixels is its corners in the pen colour.
TEST(QtCanvasStrokes, TinyShapesKeepTheirPixels) {
  for (const QPoint step : {QPoint(1, 0), QPoint(1, 1), QPoint(0, -1)}) {
    TProbeBitmap stroke(20, 20), dots(20, 20);
    stroke.Canvas().SetPenWidth(5);
    stroke.Canvas().MoveTo(10, 10);
    stroke.Canvas().LineTo(10 + step.x(), 10 + step.y());
    dots.Canvas().SetPenWidth(5);
    for (const QPoint p : {QPoint(10, 10), QPoint(10, 10) + step}) {
      dots.Canvas().MoveTo(p.x(), p.y());
      dots.Canvas().LineTo(p.x(), p.y());
    }
    EXPECT_EQ(stroke.Finish(), dots.Finish()) << step.x() << "," << step.y();
  }
  TProbeBitmap bmp(10, 10);
  bmp.Canvas().SetPenColor(0x0000FF);
  bmp.Canvas().SetBrushColor(0xFF0000);
  bmp.Canvas().SetBrushStyle(bsSolid);
  const TDevicePoint tiny[] = {{4, 4}, {5, 4}, {5, 4}, {4, 5}, {4, 4}};
  bmp.Canvas().Polygon(tiny, std::size(tiny));
  const QImage& im = bmp.Finish();
  EXPECT_EQ(InkCount(im), 3);
  EXPECT_EQ(Rgb(im, 4, 4), kRed);
  EXPECT_EQ(Rgb(im, 5, 4), kRed);
  EXPECT_EQ(Rgb(im, 4, 5), kRed);
}

}  // namespace
