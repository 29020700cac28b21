#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "bind_images.h"
#include "element_makers.h"
#include "func.h"
#include "geometry.h"
#include "gval.h"
#include "jww_data.h"
#include "jww_builder.h"
#include "jww_model_maker.h"
#include "memory_limit.h"

namespace {

using namespace elemtest;
using jwwtest::AddBlockDef;
using jwwtest::Append;

constexpr double kPi = 3.14159265358979323846;

class ExplodeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Gval.Reset();
    EmptyModel(m);
  }
  void TearDown() override { Gval.Reset(); }

  // One definition (number 1) holding `e`, inserted once by `ins`; exploded.
  template <class T>
  void ExplodeOne(const T& e, const TEntJwwBlockInsert& ins) {
    Append(AddBlockDef(m, 1, "b"), e);
    Append(m, ins);
    m.BuildBlockTree();
    ASSERT_TRUE(m.ExplodeBlocks());
  }

  void ExpectNoBlocks() {
    EXPECT_EQ(m.BlockTreeCount, 0);
    EXPECT_TRUE(m.BlockTree.empty());
    EXPECT_EQ(m.UsedBlockDefCount, 0);
    EXPECT_EQ(m.BlockDefCount, 0);
    EXPECT_TRUE(m.BlockDefs.empty());
    EXPECT_EQ(m.BlockListCount, 0);
    EXPECT_EQ(m.BlockInsertCount, 0);
    EXPECT_TRUE(m.BlockInserts.empty());
  }

  // Every count covers exactly its array and the order list names real rows.
  void ExpectConsistent() {
    EXPECT_EQ(static_cast<size_t>(m.LineCount), m.Lines.size());
    EXPECT_EQ(static_cast<size_t>(m.ArcCount), m.Arcs.size());
    EXPECT_EQ(static_cast<size_t>(m.PointCount), m.Points.size());
    EXPECT_EQ(static_cast<size_t>(m.TextCount), m.Texts.size());
    EXPECT_EQ(static_cast<size_t>(m.DimensionCount), m.Dimensions.size());
    EXPECT_EQ(static_cast<size_t>(m.SolidCount), m.Solids.size());
    ASSERT_EQ(static_cast<size_t>(m.EntityOrderCount), m.EntityOrder.size());
    const std::array<int32_t, 8> counts{0, m.LineCount, m.ArcCount, m.PointCount, m.TextCount,
                                        m.DimensionCount, m.SolidCount, m.BlockInsertCount};
    for (const TEntJwwOrder& o : m.EntityOrder) {
      ASSERT_GE(o.Kind, 0);
      ASSERT_LE(o.Kind, 7);
      if (o.Kind != 0) {
        EXPECT_LT(o.Row, counts[static_cast<size_t>(o.Kind)]);
      }
    }
  }

  TJwwData m;
};

TEST_F(ExplodeTest, NothingToDoLeavesTheDrawingAlone) {
  Append(m, Line(0, 0, 1, 1));
  Append(AddBlockDef(m, 3, "unused"), Line(5, 5, 6, 6));
  m.BlockListCount = 1;
  m.BuildBlockTree();
  EXPECT_TRUE(m.ExplodeBlocks());
  EXPECT_EQ(m.LineCount, 1);
  EXPECT_EQ(m.BlockDefCount, 1);
  EXPECT_EQ(m.BlockDefs.size(), 1u);
  EXPECT_EQ(m.BlockListCount, 1);
  EXPECT_EQ(m.EntityOrderCount, 1);
}

TEST_F(ExplodeTest, InsertWithoutDefinitionStillGoes) {
  Append(m, Line(0, 0, 1, 1));
  Append(AddBlockDef(m, 3, "other"), Line(5, 5, 6, 6));
  Append(m, Insert(42, 10, 10));
  m.BuildBlockTree();
  ASSERT_EQ(m.BlockTreeCount, 1);
  ASSERT_TRUE(m.ExplodeBlocks());
  EXPECT_EQ(m.LineCount, 1);
  ExpectNoBlocks();
  ASSERT_EQ(m.EntityOrderCount, 2);
  EXPECT_EQ(m.EntityOrder[1].Kind, kKindNone);
  EXPECT_EQ(m.EntityOrder[1].Row, 0);
  ExpectConsistent();
}

TEST_F(ExplodeTest, OrderAndNestedPlacement) {
  TEntJwwBlockDef& leaf = AddBlockDef(m, 1, "leaf");
  Append(leaf, Line(0, 0, 10, 0));
  Append(leaf, Point(1, 1));
  TEntJwwBlockDef& mid = AddBlockDef(m, 2, "mid");
  Append(mid, Insert(1, 100, 0, 1, 1, kPi / 2));  // nested: placed through its own row
  Append(mid, Line(0, 0, 0, 5));
  Append(m, Line(-1, -1, -2, -2));
  Append(m, Insert(2, 1000, 0));
  Append(m, Insert(1, 0, 500));
  Append(m, Insert(2, 0, 0, 2, 2));  // a definition used twice is copied twice
  m.BuildBlockTree();
  ASSERT_EQ(m.BlockTreeCount, 5);
  ASSERT_TRUE(m.ExplodeBlocks());
  ExpectNoBlocks();
  ExpectConsistent();

  // Kind-0 items where the three inserts stood, then the copies in tree order:
  // rows 0..2 (the drawing's inserts), then the two nested leaf rows.
  const std::vector<std::pair<int32_t, int32_t>> want = {
      {1, 0}, {0, 0}, {0, 0}, {0, 0},  // the drawing
      {1, 1},                          // row 0: mid at 1000 (its insert item skipped)
      {1, 2}, {3, 0},                  // row 1: leaf at (0, 500)
      {1, 3},                          // row 2: mid scaled by 2
      {1, 4}, {3, 1},                  // row 3: leaf inside mid at 1000
      {1, 5}, {3, 2},                  // row 4: leaf inside the scaled mid
  };
  ASSERT_EQ(m.EntityOrder.size(), want.size());
  for (size_t i = 0; i < want.size(); ++i) {
    EXPECT_EQ(m.EntityOrder[i].Kind, want[i].first) << i;
    EXPECT_EQ(m.EntityOrder[i].Row, want[i].second) << i;
  }
  // Leaf inside the scaled mid: (0,0)-(10,0) turned a quarter, moved to
  // (100, 0), then scaled by 2.
  const TEntJwwLine& l = m.Lines[5];
  EXPECT_NEAR(l.X1, 200, 1e-12);
  EXPECT_NEAR(l.Y1, 0, 1e-12);
  EXPECT_NEAR(l.X2, 200, 1e-12);
  EXPECT_NEAR(l.Y2, 20, 1e-12);
  EXPECT_NEAR(m.Points[1].X, 1100 - 1, 1e-12);
  EXPECT_NEAR(m.Points[1].Y, 1, 1e-12);
}

TEST_F(ExplodeTest, LayerBitOfTheRow) {
  for (uint8_t lineType : {uint8_t{2}, uint8_t{0x40 | 2}}) {
    EmptyModel(m);
    TEntJwwDimension dim = Dimension(0, 0, 1, 0, "1", On(4, 5));
    dim.Point1.Common = On(6, 7);
    dim.AuxLine2.Common = On(4, 5);
    TEntJwwBlockDef& def = AddBlockDef(m, 1, "b");
    TEntJwwLine line = Line(0, 0, 1, 0, On(4, 5, 3));
    line.Common.Color = 7, line.Common.Width = 9, line.Common.Group = 11, line.Common.Flags = 0x30;
    Append(def, line);
    Append(def, dim);
    Append(m, Insert(1, 0, 0, 1, 1, 0, On(9, 12, lineType)));
    m.BuildBlockTree();
    ASSERT_TRUE(m.ExplodeBlocks());
    const bool keep = (lineType & 0x40) != 0;
    const TEntJwwLine& l = m.Lines[0];
    EXPECT_EQ(l.Common.LayerGroup, keep ? 4 : 9);
    EXPECT_EQ(l.Common.Layer, keep ? 5 : 12);
    // Everything else of the common part is the element's own.
    EXPECT_EQ(l.Common.LineType, 3);
    EXPECT_EQ(l.Common.Color, 7);
    EXPECT_EQ(l.Common.Width, 9);
    EXPECT_EQ(l.Common.Group, 11u);
    EXPECT_EQ(l.Common.Flags, 0x30);
    const TEntJwwDimension& d = m.Dimensions[0];
    for (const TEntJwwCommon* c : {&d.Common, &d.Line.Common, &d.Text.Common, &d.AuxLine2.Common}) {
      EXPECT_EQ(c->LayerGroup, keep ? 4 : 9);
      EXPECT_EQ(c->Layer, keep ? 5 : 12);
    }
    EXPECT_EQ(d.Point1.Common.LayerGroup, keep ? 6 : 9);
  }
}

TEST_F(ExplodeTest, Points) {
  TEntJwwPoint symbol = Point(2, 1, 1, On(0, 0, 100));
  symbol.Code = 12, symbol.Angle = 0.25, symbol.Scale = 3;
  TEntJwwPoint plain = Point(2, 1);
  plain.Code = 12, plain.Angle = 0.25, plain.Scale = 3;
  Append(AddBlockDef(m, 1, "b"), symbol);
  Append(m.BlockDefs[0], plain);
  Append(m, Insert(1, 10, 0, 1, 1, kPi));  // a half turn
  m.BuildBlockTree();
  ASSERT_TRUE(m.ExplodeBlocks());
  ASSERT_EQ(m.PointCount, 2);
  const TEntJwwPoint& s = m.Points[0];
  EXPECT_NEAR(s.X, 8, 1e-12);
  EXPECT_NEAR(s.Y, -1, 1e-12);
  EXPECT_EQ(s.Code, 12u);
  EXPECT_EQ(s.Scale, 3);
  EXPECT_NEAR(s.Angle, 0.25 + kPi + kPi, 1e-9);  // plus π for the negative a
  EXPECT_EQ(s.Temporary, 1u);
  const TEntJwwPoint& p = m.Points[1];
  EXPECT_EQ(p.Code, 0u);
  EXPECT_EQ(p.Angle, 0);
  EXPECT_EQ(p.Scale, 1);
}

TEST_F(ExplodeTest, ArcsUnderNonUniformScaling) {
  ExplodeOne(Circle(1, 0, 1), Insert(1, 0, 0, 1, 2));
  const TEntJwwArc& a = m.Arcs[0];
  EXPECT_NEAR(a.CenterX, 1, 1e-12);
  EXPECT_NEAR(a.Radius, 2, 1e-9);
  EXPECT_NEAR(a.Flatness, 0.5, 1e-9);
  EXPECT_NEAR(std::fmod(a.Tilt, kPi), kPi / 2, 1e-9);
  EXPECT_EQ(a.FullCircle, 1u);
  EXPECT_EQ(a.ArcAngle, 2 * kPi);
}

TEST_F(ExplodeTest, CircleUnderATurnTurnsItsTilt) {
  // Every radius of the image is a longest one; the tilt must still follow
  // the turn (so the extents' axis points do) rather than rounding noise.
  for (double angle : {0.3, kPi / 2, 2.0, 4.0}) {
    for (double mirror : {1.0, -1.0}) {
      EmptyModel(m);
      ExplodeOne(Circle(1, 2, 5, 1, 0.25), Insert(1, 10, 20, 3 * mirror, 3, angle));
      const TEntJwwArc& a = m.Arcs[0];
      const double want = mirror > 0 ? angle + 0.25 : angle + kPi - 0.25;
      EXPECT_NEAR(std::remainder(a.Tilt - want, 2 * kPi), 0, 1e-12) << angle << " " << mirror;
      EXPECT_NEAR(a.Radius, 15, 1e-12);
      EXPECT_NEAR(a.Flatness, 1, 1e-12);
      double x, y;
      EllipsePoint(a.CenterX, a.CenterY, a.Radius, a.Flatness, a.Tilt, 0, x, y);
      // The image of the circle's own point at parameter 0.
      const double ux = mirror * 3 * 5 * std::cos(0.25), uy = 3 * 5 * std::sin(0.25);
      EXPECT_NEAR(x, 10 + std::cos(angle) * (mirror * 3 * 1 + ux) - std::sin(angle) * (3 * 2 + uy), 1e-9);
      EXPECT_NEAR(y, 20 + std::sin(angle) * (mirror * 3 * 1 + ux) + std::cos(angle) * (3 * 2 + uy), 1e-9);
    }
  }
}

TEST_F(ExplodeTest, ArcUnderMirrorIsReversed) {
  ExplodeOne(Arc(0, 0, 1, 0.2, 1.0), Insert(1, 0, 0, -1, 1));
  const TEntJwwArc& a = m.Arcs[0];
  // The new start is the image of the old end, the new end that of the old start.
  double x, y;
  EllipsePoint(a.CenterX, a.CenterY, a.Radius, a.Flatness, a.Tilt, a.StartAngle, x, y);
  EXPECT_NEAR(x, -std::cos(1.2), 1e-9);
  EXPECT_NEAR(y, std::sin(1.2), 1e-9);
  EXPECT_NEAR(a.ArcAngle, 1.0, 1e-9);
  EllipsePoint(a.CenterX, a.CenterY, a.Radius, a.Flatness, a.Tilt, a.StartAngle + a.ArcAngle, x, y);
  EXPECT_NEAR(x, -std::cos(0.2), 1e-9);
  EXPECT_NEAR(y, std::sin(0.2), 1e-9);
  EXPECT_EQ(a.FullCircle, 0u);
}

TEST_F(ExplodeTest, Texts) {
  TEntJwwText t = Text(0, 0, 10, 0, "abc");
  t.SizeX = 2, t.SizeY = 4, t.Kind = 2005;
  t.Common.Flags = 0x20;  // sizes stored the other way round
  ExplodeOne(t, Insert(1, 5, 5, 3, 1));
  const TEntJwwText& e = m.Texts[0];
  // The mapping saw size x 4 along the text (x 3) and size y 2 across (x 1).
  EXPECT_DOUBLE_EQ(e.SizeX, 2);
  EXPECT_DOUBLE_EQ(e.SizeY, 12);
  EXPECT_EQ(e.Kind, 2000u);
  EXPECT_NEAR(e.EndX, 35, 1e-12);
  EXPECT_EQ(e.Angle, 0);
  EXPECT_EQ(e.Content, "abc");
  EXPECT_EQ(e.FontName, "MS Gothic");
}

TEST_F(ExplodeTest, TextAngleFollowsTheMap) {
  ExplodeOne(Text(0, 0, 10, 0, "abc"), Insert(1, 0, 0, 1, 1, kPi / 6));
  EXPECT_NEAR(m.Texts[0].Angle, 30, 1e-9);
  EXPECT_EQ(m.Texts[0].Kind, 0u);
}

struct TImageCase {
  const char* content;
  TEntJwwBlockInsert insert;
  const char* expected;
};

TEST_F(ExplodeTest, ImageTexts) {
  const TImageCase cases[] = {
      {"^@BM%temp%a.bmp,100,50", Insert(1, 0, 0, 2, 2), "^@BM%temp%a.bmp,200,100"},
      {"^@BM%temp%a.bmp,100,50", Insert(1, 7, 7), "^@BM%temp%a.bmp,100,50"},
      {"^@BM%temp%a.bmp,100,50", Insert(1, 0, 0, 1, 1, kPi / 2), "^@BM%temp%a.bmp,100,50,0,0,1,90"},
      {"^@BM%temp%a.bmp,100,50,5,6,7", Insert(1, 0, 0, 2, 2), "^@BM%temp%a.bmp,200,100"},
      {"^@BMa.bmp,100,50,5,6,7,350,junk", Insert(1, 0, 0, 1, 1, kPi / 9), "^@BMa.bmp,100,50,5,6,7,10"},
      {"^@BMa.bmp,100,50,0,0,1,0", Insert(1, 0, 0, 0.5, 0.5), "^@BMa.bmp,50,25,0,0,1,0"},
      {"^@BMa.bmp,100", Insert(1, 0, 0, 2, 2, kPi / 2), "^@BMa.bmp,200"},  // no height, no turn
      {"^@BMa.bmp,0,50", Insert(1, 0, 0, 2, 2), "^@BMa.bmp,200,100"},      // a zero width counts as 100
      {"^@BMa.bmp,x,y", Insert(1, 0, 0, 2, 2), "^@BMa.bmp,200,0.0001"},    // words read as 0
      {"^@BMa.bmp,1e-9", Insert(1, 0, 0, 2, 2), "^@BMa.bmp,0.0001"},
      {"^@BMa.bmp,10.00004", Insert(1, 0, 0, 1.5, 1.5), "^@BMa.bmp,15.0001"},
  };
  for (const TImageCase& c : cases) {
    EmptyModel(m);
    ExplodeOne(Text(0, 0, 10, 0, c.content), c.insert);
    const TEntJwwText& e = m.Texts[0];
    EXPECT_EQ(e.Content, c.expected) << c.content;
    EXPECT_EQ(e.Angle, 0) << c.content;
    EXPECT_NEAR(e.EndX - e.StartX, TextLengthSJIS(e.Content, e.SizeX, e.Spacing), 1e-9) << c.content;
    EXPECT_EQ(e.EndY, e.StartY) << c.content;
  }
}

TEST_F(ExplodeTest, LongImageTextIsCutOnACharacterBoundary) {
  std::string path;
  for (int i = 0; i < 130; ++i) path += "\x89\xe6";  // "画" 260 bytes
  ExplodeOne(Text(0, 0, 10, 0, "^@BM" + path + ",100,50"), Insert(1, 0, 0, 2, 2));
  const std::string& c = m.Texts[0].Content;
  EXPECT_LE(c.size(), 255u);
  EXPECT_EQ(c.size() % 2, 0u);  // "^@BM" and whole double-byte characters
}

TEST_F(ExplodeTest, DimensionValueText) {
  m.LayerGroups[3].Scale = 10;
  TEntJwwDimension dim = Dimension(0, 0, 100, 0, "100", On(3, 1));
  dim.Text.Common.Width = 0x0002 | 0x0040;  // follows the geometry, grouped
  dim.Text.Kind = 5;
  dim.Point1.X = 9, dim.Point1.Code = 4, dim.Point1.Temporary = 1;
  const struct {
    TEntJwwBlockInsert insert;
    const char* content;
  } rows[] = {
      {Insert(1, 50, 50), "100"},               // a pure translation keeps the text
      {Insert(1, 0, 0, 2, 2), "2,000"},         // length 200 times the group's 10
      {Insert(1, 0, 0, 1, 1, kPi / 2), "1,000"},
  };
  for (const auto& r : rows) {
    EmptyModel(m);
    m.LayerGroups[3].Scale = 10;
    ExplodeOne(dim, r.insert);
    const TEntJwwDimension& d = m.Dimensions[0];
    EXPECT_EQ(d.Text.Content, r.content);
    // SXF mode 0: the six SXF parts are written as zeros.
    EXPECT_EQ(d.Point1.X, 0);
    EXPECT_EQ(d.Point1.Code, 0u);
    EXPECT_EQ(d.Point1.Temporary, 0u);
  }
  // Re-centred on the mapped line's mid-point (the scaled case).
  EmptyModel(m);
  m.LayerGroups[3].Scale = 10;
  dim.Text.StartX = 0, dim.Text.EndX = 100;
  ExplodeOne(dim, Insert(1, 0, 0, 2, 2));
  const TEntJwwText& t = m.Dimensions[0].Text;
  EXPECT_NEAR((t.StartX + t.EndX) / 2, 100, 1e-9);
  EXPECT_NEAR(t.EndX - t.StartX, TextLengthSJIS("2,000", t.SizeX, t.Spacing), 1e-9);
}

TEST_F(ExplodeTest, DimensionKeepsItsTextWithoutTheBitOrForImages) {
  TEntJwwDimension dim = Dimension(0, 0, 100, 0, "100");
  ExplodeOne(dim, Insert(1, 0, 0, 2, 2));
  EXPECT_EQ(m.Dimensions[0].Text.Content, "100");
  EmptyModel(m);
  dim.Text.Common.Width = 0x0002;
  dim.Text.Content = "^@BMa.bmp,10,10";
  ExplodeOne(dim, Insert(1, 0, 0, 2, 2));
  EXPECT_EQ(m.Dimensions[0].Text.Content, "^@BMa.bmp,10,10");
}

TEST_F(ExplodeTest, DimensionSxfParts) {
  TEntJwwDimension dim = Dimension(0, 0, 10, 0, "10");
  dim.SxfMode = 2;
  dim.AuxLine1 = Line(0, 0, 0, -5);
  dim.Point2 = Point(10, 0, 1, On(0, 0, 100));
  dim.Point2.Code = 5, dim.Point2.Scale = 2;
  ExplodeOne(dim, Insert(1, 100, 0));
  const TEntJwwDimension& d = m.Dimensions[0];
  EXPECT_EQ(d.SxfMode, 2);
  EXPECT_EQ(d.AuxLine1.X1, 100);
  EXPECT_EQ(d.AuxLine1.Y2, -5);
  EXPECT_EQ(d.Point2.X, 110);
  EXPECT_EQ(d.Point2.Code, 5u);
  EXPECT_EQ(d.Point2.Temporary, 1u);
  EXPECT_EQ(d.Point1.Code, 0u);
  EXPECT_EQ(d.Point1.Scale, 1);  // a plain point gets scale 1
}

TEST_F(ExplodeTest, Solids) {
  struct TRow {
    TEntJwwSolid solid;
    TEntJwwBlockInsert insert;
    std::array<double, 8> expected;  // X1 Y1 X2 Y2 X3 Y3 X4 Y4
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const TRow rows[] = {
      {Quad(0, 0, 1, 0, 1, 1, 0, 1), Insert(1, 10, 0, 2, 3), {10, 0, 12, 0, 12, 3, 10, 3}},
      // No transformation of its own: the corners.
      {RoundSolid(120, 0, 0, 1, 0, 1, 1, 0, 1), Insert(1, 10, 0, 2, 3), {10, 0, 12, 0, 12, 3, 10, 3}},
      // A ring keeps its inner-to-outer ratio under a uniform scaling.
      {RoundSolid(105, 1, 1, 4, 1, 0, 0, 0, 2), Insert(1, 0, 0, 3, 3), {3, 3, 12, 1, 0, 0, 0, 6}},
      {RoundSolid(106, 1, 1, 4, 0.5, 0, 0, 0, 2), Insert(1, 0, 0, 3, 3), {3, 3, 12, 0.5, 0, 0, 0, 6}},
      // Code 106 without an inner radius keeps the outer flatness for it.
      {RoundSolid(106, 0, 0, 4, 0.5, 0, 0, 0, 0), Insert(1, 0, 0, 3, 3), {0, 0, 12, 0.5, 0, 0, 0, 0}},
      // 101 whole (shape 100): start and sweep kept, shape kept.
      {RoundSolid(101, 0, 0, 2, 1, 0, 0.5, 1.0, 100.7), Insert(1, 0, 0, 2, 2), {0, 0, 4, 1, 0, 0.5, 1.0, 100.7}},
      {RoundSolid(111, 0, 0, 2, 1, 0, 0.5, 1.0, 3), Insert(1, 0, 0, 2, 2), {0, 0, 4, 1, 0, 0.5, 1.0, 3}},
      {RoundSolid(101, 0, 0, 2, 1, 0, 0.5, 1.0, 1), Insert(1, 0, 0, 2, 2), {0, 0, 4, 1, 0, 0.5, 1.0, 1}},
      {RoundSolid(106, 0, 0, 4, 1, 0, 0, 0, nan), Insert(1, 0, 0, 1, 1), {0, 0, 4, 1, 0, 0, 0, nan}},
  };
  int i = 0;
  for (const TRow& r : rows) {
    EmptyModel(m);
    TEntJwwSolid s = r.solid;
    s.Common.Color = 10;
    s.Rgb = 0x123456;
    ExplodeOne(s, r.insert);
    const TEntJwwSolid& e = m.Solids[0];
    const double got[8] = {e.X1, e.Y1, e.X2, e.Y2, e.X3, e.Y3, e.X4, e.Y4};
    for (int k = 0; k < 8; ++k) {
      if (std::isnan(r.expected[static_cast<size_t>(k)])) {
        EXPECT_TRUE(std::isnan(got[k])) << "row " << i << " field " << k;
      } else {
        EXPECT_NEAR(got[k], r.expected[static_cast<size_t>(k)], 1e-9) << "row " << i << " field " << k;
      }
    }
    EXPECT_EQ(e.Rgb, 0x123456u);
    ++i;
  }
}

TEST_F(ExplodeTest, CutCycleExplodesAndEnds) {
  // 1 inserts 2, 2 inserts 1 and itself: the tree cuts each cycle.
  Append(AddBlockDef(m, 1, "a"), Line(0, 0, 1, 0));
  Append(m.BlockDefs[0], Insert(2, 1, 0));
  Append(AddBlockDef(m, 2, "b"), Line(0, 0, 0, 1));
  Append(m.BlockDefs[1], Insert(1, 0, 1));
  Append(m.BlockDefs[1], Insert(2, 0, 2));
  Append(m, Insert(1, 0, 0));
  m.BuildBlockTree();
  const int32_t rows = m.BlockTreeCount;
  ASSERT_GT(rows, 0);
  ASSERT_LT(rows, 10);
  ASSERT_TRUE(m.ExplodeBlocks());
  EXPECT_EQ(m.LineCount, rows);  // one line per row
  ExpectNoBlocks();
  ExpectConsistent();
}

// A chain of 70 nested definitions, each with one line: the tree stops at
// its depth bound, and exploding it must not quietly drop the deeper copies.
// (The size bound sets the same flag; see the block tree tests.)
TEST_F(ExplodeTest, ATreeCutByItsBoundsIsNotExploded) {
  const int levels = 70;
  for (int i = 0; i < levels; ++i) {
    TEntJwwBlockDef& def = AddBlockDef(m, i, "d");
    Append(def, Line(0, 0, 1, 0));
    if (i + 1 < levels) Append(def, Insert(static_cast<uint32_t>(i + 1), 0, 0));
  }
  Append(m, Insert(0, 0, 0));
  m.BuildBlockTree();
  ASSERT_TRUE(m.BlockTreeCut);
  const int32_t rows = m.BlockTreeCount;
  EXPECT_FALSE(m.ExplodeBlocks());
  EXPECT_EQ(m.LineCount, 0);
  EXPECT_EQ(m.BlockInsertCount, 1);
  EXPECT_EQ(m.BlockDefCount, levels);
  EXPECT_EQ(m.BlockTreeCount, rows);
}

TEST_F(ExplodeTest, StaleTreeAndBadOrderItems) {
  TEntJwwBlockDef& def = AddBlockDef(m, 1, "a");
  Append(def, Line(0, 0, 1, 0));
  def.EditElements().Order.push_back({kKindLine, 5});  // names no row
  def.EditElements().Order.push_back({kKindArc, -1});
  def.EditElements().Order.push_back({99, 0});
  def.EditElements().OrderCount = static_cast<int32_t>(def.Elements().Order.size());
  Append(m, Insert(1, 0, 0));
  m.BuildBlockTree();
  m.BlockTree.push_back(m.BlockTree[0]);
  m.BlockTree.back().DefRow = 17;  // beyond the definitions
  m.BlockTreeCount = 2;
  ASSERT_TRUE(m.ExplodeBlocks());
  EXPECT_EQ(m.LineCount, 1);
  ExpectConsistent();
}

TEST_F(ExplodeTest, CopiesThatCannotFitLeaveTheDrawingAsItWas) {
  Append(AddBlockDef(m, 1, "a"), Line(0, 0, 1, 0));
  Append(m, Insert(1, 0, 0));
  m.BuildBlockTree();
  m.EntityOrderCount = std::numeric_limits<int32_t>::max();  // no room for one more item
  EXPECT_FALSE(m.ExplodeBlocks());
  EXPECT_EQ(m.BlockTreeCount, 1);
  EXPECT_EQ(m.BlockDefCount, 1);
  EXPECT_EQ(m.BlockInsertCount, 1);
  EXPECT_EQ(m.LineCount, 0);
}

TEST_F(ExplodeTest, ExplosionBeyondMemoryIsRefusedUpFront) {
  // A tree standing for 50,001,000 copies: refused before any is made.
  TEntJwwBlockDef& def = AddBlockDef(m, 1, "many");
  for (int i = 0; i < 1000; ++i) Append(def, Line(i, 0, i, 1));
  Append(m, Insert(1, 0, 0));
  m.BuildBlockTree();
  m.BlockTree.resize(50'001, m.BlockTree[0]);
  m.BlockTreeCount = 50'001;
  EXPECT_FALSE(m.ExplodeBlocks());
  EXPECT_EQ(m.LineCount, 0);
  EXPECT_EQ(m.BlockDefCount, 1);
  EXPECT_LT(m.Lines.capacity(), 1000u);
}

// Copies past the explosion's byte budget are refused before any is made:
// 6 million lines (340 MB), or 900,000 texts (140 MB of records, 180 of text).
TEST_F(ExplodeTest, CopiesPastTheByteBudgetAreRefusedUpFront) {
  for (const auto& [inserts, items, textBytes] : {std::tuple{6000, 1000, 0u}, std::tuple{9000, 100, 200u}}) {
    EmptyModel(m);
    TEntJwwBlockDef& def = AddBlockDef(m, 1, "many");
    for (int i = 0; i < items; ++i)
      textBytes == 0 ? Append(def, Line(i, 0, i, 1)) : Append(def, Text(i, 0, i + 5, 0, std::string(textBytes, 't')));
    for (int i = 0; i < inserts; ++i) Append(m, Insert(1, i, 0));
    m.BuildBlockTree();
    ASSERT_FALSE(m.BlockTreeCut);
    EXPECT_TRUE(RunsWithinMemory(size_t{512} << 20, [&, n = inserts] {
      return !m.ExplodeBlocks() && m.LineCount == 0 && m.TextCount == 0 && m.BlockInsertCount == n;
    })) << inserts;
  }
}

// A 140 KB file standing for four million lines in nested blocks with names
// of 1,000 bytes: read and tree within the cap, the tree cut as too large.
TEST_F(ExplodeTest, NestedInsertsOfASmallFileStayWithinMemory) {
  const std::string path = jwwtest::FreshFolder("explode_nested") + "nested.jww";
  ASSERT_TRUE(jwwtest::MakeNestedInsertsDrawing(4, 1000, 1000, 1000).WriteFile(path, 700));
  EXPECT_TRUE(RunsWithinMemory(size_t{512} << 20, [&] {
    TJwwData d;
    return d.LoadFromFile(path) && d.BlockTreeTooLarge && !d.ExplodeBlocks() && d.BlockInsertCount == 4;
  }));
}

// ---- Explode, save, read: the drawing covers the same box ----

void KeepTablesOnly(TJwwData& m) {
  m.EntityOrder.clear(), m.EntityOrderCount = 0;
  m.Lines.clear(), m.LineCount = 0;
  m.Arcs.clear(), m.ArcCount = 0;
  m.Points.clear(), m.PointCount = 0;
  m.Texts.clear(), m.TextCount = 0;
  m.Dimensions.clear(), m.DimensionCount = 0;
  m.Solids.clear(), m.SolidCount = 0;
  m.BlockInserts.clear(), m.BlockInsertCount = 0;
  m.BlockDefs.clear(), m.BlockDefCount = 0, m.BlockListCount = 0;
  m.BlockTree.clear(), m.BlockTreeCount = 0, m.UsedBlockDefCount = 0;
}

// The elements of the innermost definition, one group per case.
void FillLeaf(TEntJwwBlockDef& c, int which) {
  const bool all = which < 0;
  if (all || which == 0) Append(c, Line(0, 0, 10, 0));
  if (all || which == 1) Append(c, Arc(5, 5, 3, 0.3, 2.0));
  if (all || which == 2) Append(c, Circle(-4, 2, 2));
  if (all || which == 3) Append(c, Arc(0, -6, 4, 2.0, 3.5, 0.5, 0));
  if (all || which == 4) Append(c, Arc(3, -9, 2, 5.0, -1.2, 0.3, kPi / 2));  // backwards, tilted
  if (all || which == 5) Append(c, Point(7, 7));
  if (all || which == 6) Append(c, Text(1, -2, 6, -2, "txt"));
  if (all || which == 7) Append(c, Dimension(0, -10, 10, -10, "10"));
  if (all || which == 8) Append(c, Quad(11, 0, 13, 0, 13, 2, 11, 2));
  if (all || which == 9) Append(c, RoundSolid(101, 12, 3, 2, 0.6, 0, 0, 2 * kPi, 100));
  if (all || which == 10) Append(c, RoundSolid(105, -8, -8, 3, 1, 0, 0, 0, 1.5));
  if (all || which == 11) Append(c, RoundSolid(111, 4, 4, 3, 0.4, kPi / 2, 0.5, 1.0, 0));
}
constexpr int kLeafCases = 12;

// Three levels of nesting below the drawing. Only the innermost inserts scale
// unevenly, so every composed map is a turn or mirror times a scaling along
// the definition's axes, under which an ellipse's axis ends (the points the
// extents take) map onto the axis ends of its image. The drawing's own line
// and points make the same seed before and after and hold the insertion
// points (a seed insert's point is in the box only before).
void MakeNestedDrawing(TJwwData& m, int which) {
  jwwtest::MakeStableModel(m, 700);
  KeepTablesOnly(m);
  FillLeaf(AddBlockDef(m, 3, "C"), which);
  TEntJwwBlockDef& b = AddBlockDef(m, 2, "B");
  Append(b, Insert(3, 20, 0, 2, 0.5, kPi / 6));
  Append(b, Insert(3, -20, 5, -1.5, 1.5, 0, On(0, 0, 0x40)));
  if (which < 0) Append(b, Arc(0, 10, 5, 1, 1));
  TEntJwwBlockDef& a = AddBlockDef(m, 1, "A");
  Append(a, Insert(2, 50, 50, 2, 2, kPi / 2));
  Append(a, Insert(2, -60, 10, -1, 1, kPi / 4));
  if (which < 0) Append(a, Circle(0, 0, 30, 1, 0));
  Append(m, Line(1000, 500, 1000, 500));
  for (const TEntJwwBlockInsert& ins : {Insert(1, 1000, 500, 1, 1, 0.7, On(2, 3, 0x40)),
                                        Insert(1, -300, 200, -2, 2, 0.2), Insert(3, 200, -400, 3, 1, 1.1)}) {
    Append(m, ins);
    Append(m, Point(ins.X, ins.Y));
  }
  m.BuildBlockTree();
}

TEST_F(ExplodeTest, ExplodeSaveReadKeepsTheExtents) {
  BindImg.Reset();
  const std::string folder = jwwtest::FreshFolder("explode_roundtrip");
  for (int which = -1; which < kLeafCases; ++which) {
    TJwwData before;
    MakeNestedDrawing(before, which);
    ASSERT_EQ(before.BlockTreeCount, 3 + 4 + 8);  // A, A, C on top; two B in each A; two C in each B
    before.CalcExtents();
    const std::array<double, 4> box = before.Extents;
    std::array<int32_t, 15> counts;
    before.CountEntities(-1, -1, counts);

    ASSERT_TRUE(before.ExplodeBlocks());
    const std::string path = folder + "exploded" + std::to_string(which + 1) + ".jww";
    ASSERT_TRUE(before.SaveToFile(path, 700));
    TJwwData after;
    ASSERT_TRUE(after.LoadFromFile(path));
    EXPECT_EQ(after.BlockInsertCount, 0);
    EXPECT_EQ(after.BlockDefCount, 0);
    // Every element inside an insert is now an element of the drawing.
    EXPECT_EQ(after.LineCount, counts[0] + counts[8]);
    EXPECT_EQ(after.ArcCount, counts[1] + counts[9]);
    EXPECT_EQ(after.PointCount, counts[2] + counts[3] + counts[10] + counts[11]);
    EXPECT_EQ(after.TextCount, counts[4] + counts[12]);
    EXPECT_EQ(after.DimensionCount, counts[5] + counts[13]);
    EXPECT_EQ(after.SolidCount, counts[6] + counts[14]);

    after.CalcExtents();
    const double size = std::max(box[2] - box[0], box[3] - box[1]);
    ASSERT_GT(size, 1000);
    for (size_t i = 0; i < 4; ++i) EXPECT_NEAR(after.Extents[i], box[i], 1e-9 * size) << "case " << which << " " << i;
  }
}

}  // namespace
