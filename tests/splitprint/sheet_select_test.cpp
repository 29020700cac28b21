#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "form1_state.h"
#include "frame_detect.h"
#include "gval.h"
#include "sheet_fixtures.h"
#include "sheet_select.h"

using namespace sheettest;
using jwwtest::Append;

namespace {

const TSheetWindow kFrame{100, 50, 397, 260};  // 297 x 210

TEST(SheetPaperSize, SmallestLandscapePaperThatHoldsTheFrame) {
  struct Case {
    double w, h;
    int32_t code;
  } cases[] = {
      {297, 210, 4}, {316.9, 10, 4}, {317, 10, 3}, {420, 297, 3}, {439.9, 1, 3}, {440, 1, 2},
      {613.9, 1, 2}, {614, 1, 1},   {860.9, 1, 1}, {861, 1, 0},   {5000, 1, 0},
      {210, 297, 3},  // A4 portrait goes on A3 landscape
      {10, 229.9, 4}, {10, 230, 3}, {10, 316.9, 3}, {10, 317, 2}, {10, 439.9, 2}, {10, 440, 1},
      {10, 613.9, 1}, {10, 614, 0}, {10, 860.9, 0}, {10, 861, 8}, {400, 400, 3},
  };
  for (const Case& c : cases) EXPECT_EQ(SheetPaperSize(c.w, c.h), c.code) << c.w << " x " << c.h;
}

TEST(SheetLayerFilter, GroupAndUpperCaseLayerDigit) {
  auto common = [](uint16_t group, uint16_t layer) { return jwwtest::MakeCommon(group, layer); };
  EXPECT_TRUE(PassesLayerFilter(common(2, 0), 2, "01"));
  EXPECT_TRUE(PassesLayerFilter(common(2, 1), 2, "01"));
  EXPECT_FALSE(PassesLayerFilter(common(2, 2), 2, "01"));
  EXPECT_FALSE(PassesLayerFilter(common(3, 0), 2, "01"));  // another group
  EXPECT_TRUE(PassesLayerFilter(common(2, 10), 2, "A"));
  EXPECT_FALSE(PassesLayerFilter(common(2, 10), 2, "a"));  // lower case selects nothing
  EXPECT_TRUE(PassesLayerFilter(common(2, 15), 2, "0F"));
  EXPECT_FALSE(PassesLayerFilter(common(2, 16), 2, "0123456789ABCDEF"));  // no such layer digit
}

TEST(SheetShapes, ContactRulesPerKind) {
  // Lines: whole when they reach the frame, dropped when wholly outside.
  EXPECT_TRUE(ShapeTouchesWindow(LineShape(jwwtest::MakeLine(200, 100, 5000, 100)), kFrame));
  EXPECT_FALSE(ShapeTouchesWindow(LineShape(jwwtest::MakeLine(0, 0, 90, 300)), kFrame));
  EXPECT_FALSE(ShapeTouchesWindow(LineShape(jwwtest::MakeLine(100, 0, 100, 400)), kFrame));  // on the edge
  // Points: strictly inside only.
  EXPECT_FALSE(ShapeTouchesWindow(PointShape(100, 100), kFrame));
  EXPECT_FALSE(ShapeTouchesWindow(PointShape(100 + 1e-13, 100), kFrame));
  EXPECT_TRUE(ShapeTouchesWindow(PointShape(100 + 1e-9, 100), kFrame));
  // A circle around the whole frame does not touch it; one through it does.
  EXPECT_FALSE(ShapeTouchesWindow(ArcShape(jwwtest::MakeCircle(248.5, 155, 1000)), kFrame));
  EXPECT_TRUE(ShapeTouchesWindow(ArcShape(jwwtest::MakeCircle(100, 155, 20)), kFrame));
  // A circle is tested by the chords between its quarter points: these lie
  // outside here, but the chords cross the frame.
  TEntJwwArc crossing = jwwtest::MakeCircle(248.5, 155, 200);
  crossing.FullCircle = 1;
  EXPECT_TRUE(ShapeTouchesWindow(ArcShape(crossing), kFrame));
  // Solids: quadrilateral, triangle (P4 = P3) and segment (P2 = P3).
  EXPECT_TRUE(ShapeTouchesWindow(SolidShape(jwwtest::MakeSolid(390, 250, 20, 20)), kFrame));
  TEntJwwSolid tri = jwwtest::MakeSolid(0, 0, 10, 10);
  tri.X1 = 50, tri.Y1 = 100, tri.X2 = 90, tri.Y2 = 100, tri.X3 = 150, tri.Y3 = 100, tri.X4 = 150, tri.Y4 = 100;
  EXPECT_TRUE(ShapeTouchesWindow(SolidShape(tri), kFrame));
  TEntJwwSolid seg = tri;
  seg.X3 = seg.X2, seg.Y3 = seg.Y2;  // the segment P1-P2 lies left of the frame
  EXPECT_FALSE(ShapeTouchesWindow(SolidShape(seg), kFrame));
  EXPECT_EQ(SolidShape(seg).EdgeCount, 1);
  EXPECT_EQ(SolidShape(tri).EdgeCount, 3);
}

TEST(SheetShapes, TextBoxTouchingOrHoldingTheFrame) {
  TEntJwwText inside = jwwtest::MakeText(120, 60, "AB");
  EXPECT_TRUE(ShapeTouchesWindow(TextShape(inside), kFrame));
  // A huge text whose box holds the whole frame stays.
  TEntJwwText huge = jwwtest::MakeText(0, 0, "X");
  huge.EndX = 1000, huge.EndY = 0, huge.SizeX = huge.SizeY = 1000;
  EXPECT_TRUE(ShapeTouchesWindow(TextShape(huge), kFrame));
  // Its height counts only across the text: a low text below the frame is dropped.
  TEntJwwText below = huge;
  below.SizeY = 40;
  EXPECT_FALSE(ShapeTouchesWindow(TextShape(below), kFrame));
  // A vertical text takes its width as the height of the box.
  below.Common.Flags = 0x20;
  below.SizeX = 60;
  EXPECT_TRUE(ShapeTouchesWindow(TextShape(below), kFrame));
}

TEST(SheetShapes, ImageTextBoxFromItsNumbers) {
  if (!NumberRoutinesReady()) GTEST_SKIP() << "needs the number reading routines";
  std::string path;
  std::array<double, 6> r{};
  ASSERT_TRUE(TForm1::ParseImageText("^@BM%temp%a.bmp,30", path, r));
  EXPECT_EQ(path, "%temp%a.bmp");
  EXPECT_EQ(r[0], 30);
  EXPECT_EQ(r[1], 30);  // one number: a square
  EXPECT_EQ(r[4], 1.0);
  ASSERT_TRUE(TForm1::ParseImageText("^@BMpic.png,100,50,1,2,3,45", path, r));
  EXPECT_EQ(r[1], 50);
  EXPECT_EQ(r[5], 45);
  EXPECT_FALSE(TForm1::ParseImageText("^@BMnocomma", path, r));
  EXPECT_FALSE(TForm1::ParseImageText("^@BM", path, r));
  // The box of an image text is its width and height, not the text's length.
  TEntJwwText image = jwwtest::MakeText(60, 100, "^@BMpic.png,50,10");
  EXPECT_TRUE(ShapeTouchesWindow(TextShape(image), kFrame));  // reaches x = 110
  image.Content = "^@BMpic.png,30,10";
  EXPECT_FALSE(ShapeTouchesWindow(TextShape(image), kFrame));
}

TEST(SheetTags, PrintOriginTagOnlyAtTheFirstByte) {
  EXPECT_TRUE(IsPrintOriginTagAtStart(Tag(0, 0, S("【印刷原点】"))));
  EXPECT_FALSE(IsPrintOriginTagAtStart(Tag(0, 0, S(" 【印刷原点】"))));
  TEntJwwText other = Tag(0, 0, S("【印刷原点】"));
  other.Common.Color = 1;
  EXPECT_FALSE(IsPrintOriginTagAtStart(other));
}

// The quick rejection of elements far from the frame must give exactly what
// the full tests give: random elements of every kind around and across a
// frame, kept or dropped by ExtractSheet, compared with the rules applied
// one by one.
TEST(ExtractSheet, QuickRejectionAgreesWithTheFullTests) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> coord(-200, 700), size(0, 120), angle(-7, 7);
  for (int round = 0; round < 20; ++round) {
    Gval.Reset();
    TForm1 form;
    TJwwData& d = form.WorkDrawing;
    jwwtest::SizeTables(d);
    d.Header.Version = 700;
    const double fx = coord(rng), fy = coord(rng);
    const double fw = 1 + size(rng) * 3, fh = 1 + size(rng) * 3;
    for (int i = 0; i < 600; ++i) {
      const double x = coord(rng), y = coord(rng);
      switch (i % 7) {
        case 0: Append(d, jwwtest::MakeLine(x, y, x + size(rng) - 60, y + size(rng) - 60)); break;
        case 1: {
          TEntJwwArc a = jwwtest::MakeArc(x, y, size(rng), angle(rng), angle(rng));
          a.Flatness = 0.2 + size(rng) / 60, a.Tilt = angle(rng), a.FullCircle = i % 3 == 0;
          Append(d, a);
          break;
        }
        case 2: Append(d, jwwtest::MakePoint(x, y)); break;
        case 3: {
          TEntJwwText t = jwwtest::MakeText(x, y, "T");
          t.EndX = x + size(rng) - 60, t.EndY = y + size(rng) - 60, t.SizeY = size(rng) / 2;
          Append(d, t);
          break;
        }
        case 4: Append(d, jwwtest::MakeDimension(x, y, x + size(rng), y - size(rng) / 2, "1")); break;
        case 5: {
          TEntJwwSolid s = jwwtest::MakeSolid(x, y, size(rng), size(rng));
          if (i % 2) {
            s.Common.LineType = static_cast<uint8_t>(i % 4 == 1 ? 101 : 111);
            s.X2 = size(rng), s.Y2 = 0.5, s.X3 = angle(rng), s.Y3 = angle(rng), s.X4 = angle(rng);
            s.Y4 = static_cast<double>((i / 2) % 4 == 0 ? 0 : (i / 2) % 4 == 1 ? 5 : (i / 2) % 4 == 2 ? 100 : 3);
          }
          Append(d, s);
          break;
        }
        default: Append(d, jwwtest::MakeInsert(x, y, 1)); break;
      }
    }
    TZumenWakuField frame;
    frame.XMin = fx, frame.YMin = fy, frame.XMax = fx + fw, frame.YMax = fy + fh;
    frame.NameCount = 1;
    Gval.SheetFrames = {frame};
    Gval.SheetFrameCount = 1;
    form.SaveEntityOrder();
    form.ExtractSheet(0, 0);
    std::vector<bool> kept;
    for (const TEntJwwOrder& o : d.EntityOrder) kept.push_back(o.Kind >= kKindLine && o.Kind <= kKindBlockInsert);
    form.RestoreSheetOffset(0);
    form.RestoreEntityOrder();
    const TSheetWindow w{frame.XMin, frame.YMin, frame.XMax, frame.YMax};
    for (size_t i = 0; i < form.SavedEntityOrder.size(); ++i) {
      const TEntJwwOrder& o = form.SavedEntityOrder[i];
      const auto r = static_cast<size_t>(o.Row);
      bool expected = false;
      switch (o.Kind) {
        case kKindLine: expected = ShapeTouchesWindow(LineShape(d.Lines[r]), w); break;
        case kKindArc: expected = ShapeTouchesWindow(ArcShape(d.Arcs[r]), w); break;
        case kKindPoint: expected = ShapeTouchesWindow(PointShape(d.Points[r].X, d.Points[r].Y), w); break;
        case kKindText: expected = ShapeTouchesWindow(TextShape(d.Texts[r]), w); break;
        case kKindDimension: expected = ShapeTouchesWindow(LineShape(d.Dimensions[r].Line), w); break;
        case kKindSolid: expected = ShapeTouchesWindow(SolidShape(d.Solids[r]), w); break;
        default: expected = ShapeTouchesWindow(PointShape(d.BlockInserts[r].X, d.BlockInserts[r].Y), w); break;
      }
      EXPECT_EQ(kept[i], expected) << "round " << round << " item " << i << " kind " << o.Kind;
    }
  }
}

}  // namespace
