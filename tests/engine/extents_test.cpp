#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "element_makers.h"
#include "gra_attribute.h"
#include "gval.h"
#include "jww_data.h"
#include "jww_model_maker.h"

namespace {

using namespace elemtest;
using jwwtest::Append;

constexpr double kPi = 3.14159265358979323846;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct TBox {
  double xmin, ymin, xmax, ymax;
};

TBox Extents(TJwwData& m) {
  m.CalcExtents();
  EXPECT_EQ(m.Extents[0], Gval.ExtentXMin);
  EXPECT_EQ(m.Extents[1], Gval.ExtentYMin);
  EXPECT_EQ(m.Extents[2], Gval.ExtentXMax);
  EXPECT_EQ(m.Extents[3], Gval.ExtentYMax);
  return {Gval.ExtentXMin, Gval.ExtentYMin, Gval.ExtentXMax, Gval.ExtentYMax};
}

void ExpectBox(const TBox& got, const TBox& want, const std::string& what) {
  constexpr double kTol = 1e-9;
  EXPECT_NEAR(got.xmin, want.xmin, kTol) << what;
  EXPECT_NEAR(got.ymin, want.ymin, kTol) << what;
  EXPECT_NEAR(got.xmax, want.xmax, kTol) << what;
  EXPECT_NEAR(got.ymax, want.ymax, kTol) << what;
}

class ExtentsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Gval.Reset();
    EmptyModel(m);
  }
  void TearDown() override { Gval.Reset(); }
  TJwwData m;
};

struct TCase {
  const char* name;
  std::function<void(TJwwData&)> build;
  TBox box;
};

TEST_F(ExtentsTest, OneElementDrawings) {
  const double deg = kPi / 180;
  const std::vector<TCase> cases = {
      {"line", [](TJwwData& d) { Append(d, Line(3, -4, -1, 8)); }, {-1, -4, 3, 8}},
      {"full circle", [](TJwwData& d) { Append(d, Circle(10, 20, 5)); }, {5, 15, 15, 25}},
      // The centre is the seed and stays in the box.
      {"quarter arc", [](TJwwData& d) { Append(d, Arc(0, 0, 5, 0, kPi / 2)); }, {0, 0, 5, 5}},
      {"arc over 0 degrees",
       [=](TJwwData& d) { Append(d, Arc(100, 0, 10, 350 * deg, 20 * deg)); },
       {100, -10 * std::sin(10 * deg), 110, 10 * std::sin(10 * deg)}},
      {"negative sweep over 0 degrees",
       [=](TJwwData& d) { Append(d, Arc(100, 0, 10, 10 * deg, -20 * deg)); },
       {100, -10 * std::sin(10 * deg), 110, 10 * std::sin(10 * deg)}},
      {"start beyond a turn",
       [=](TJwwData& d) { Append(d, Arc(0, 0, 10, 4 * kPi + 80 * deg, 20 * deg)); },
       {std::cos(100 * deg) * 10, 0, 10 * std::cos(80 * deg), 10}},
      // Tilted ellipse: the box of its axis end points, turned.
      {"tilted ellipse", [](TJwwData& d) { Append(d, Circle(0, 0, 10, 0.5, kPi / 2)); }, {-5, -10, 5, 10}},
      {"temporary point", [](TJwwData& d) { Append(d, Point(7, 8, 1)); }, {7, 8, 7, 8}},
      {"text", [](TJwwData& d) { Append(d, Text(1, 2, 11, 2, "abc")); }, {1, 2, 11, 2}},
      {"image text", [](TJwwData& d) { Append(d, Text(100, 50, 110, 50, "^@BMpic.bmp,30,20")); }, {100, 50, 130, 70}},
      {"image text, six values",
       [](TJwwData& d) { Append(d, Text(100, 50, 110, 50, "^@BMpic.bmp,30,20,0,0,1,0")); },
       {100, 50, 130, 70}},
      {"image text, one value", [](TJwwData& d) { Append(d, Text(100, 50, 110, 50, "^@BMpic.bmp,30")); }, {100, 50, 130, 80}},
      {"image text, no comma", [](TJwwData& d) { Append(d, Text(100, 50, 110, 50, "^@BMpic.bmp")); }, {100, 50, 110, 50}},
      {"image text, words", [](TJwwData& d) { Append(d, Text(100, 50, 110, 50, "^@BMa,b,c")); }, {100, 50, 110, 50}},
      {"dimension without SXF part",
       [](TJwwData& d) {
         TEntJwwDimension e = Dimension(0, 0, 10, 0, "10");
         e.AuxLine1 = Line(-50, -50, 50, 50);  // not read while SxfMode is 0
         e.Point1.X = 500;                     // point records are never read
         Append(d, e);
       },
       {0, 0, 10, 1}},
      {"dimension with SXF part",
       [](TJwwData& d) {
         TEntJwwDimension e = Dimension(0, 0, 10, 0, "10");
         e.SxfMode = 1;
         e.AuxLine1 = Line(0, -3, 0, 0);
         e.AuxLine2 = Line(10, 0, 12, 4);
         e.Point1.X = 500;
         Append(d, e);
       },
       {0, -3, 12, 4}},
      {"quadrilateral", [](TJwwData& d) { Append(d, Quad(0, 0, 4, -1, 5, 6, -2, 3)); }, {-2, -1, 5, 6}},
      {"circular solid", [](TJwwData& d) { Append(d, RoundSolid(101, 0, 0, 10, 0.5, 0, 0, kPi, 100)); }, {-10, -5, 10, 5}},
      {"insert alone", [](TJwwData& d) { Append(d, Insert(9, 4, 5)); }, {4, 5, 4, 5}},
  };
  for (const TCase& c : cases) {
    EmptyModel(m);
    c.build(m);
    m.BuildBlockTree();
    ExpectBox(Extents(m), c.box, c.name);
  }
}

TEST_F(ExtentsTest, BlockContentsGoThroughTheirRow) {
  TEntJwwBlockDef& def = jwwtest::AddBlockDef(m, 4, "bar");
  Append(def, Line(0, 0, 10, 0));
  // Image texts inside blocks add no image point.
  Append(def, Text(0, 0, 1, 0, "^@BMpic.bmp,300,300"));
  Append(m, Insert(4, 100, 100, 1, 1, kPi / 2));
  m.BuildBlockTree();
  ExpectBox(Extents(m), {100, 100, 100, 110}, "turned insert");

  // Nested: the inner insert's row maps through both.
  TEntJwwBlockDef& outer = jwwtest::AddBlockDef(m, 5, "outer");
  Append(outer, Insert(4, 0, 0, 2, 1));
  m.BlockInserts.clear(), m.BlockInsertCount = 0, m.EntityOrder.clear(), m.EntityOrderCount = 0;
  Append(m, Insert(5, -50, 0, -1, 1));  // mirrored about the y axis
  m.BuildBlockTree();
  ExpectBox(Extents(m), {-70, 0, -50, 0}, "nested, mirrored");
}

TEST_F(ExtentsTest, RowWithoutDefinitionAddsNothing) {
  Append(m, Line(0, 0, 1, 1));
  Append(m, Insert(77, 500, 500));  // no definition 77
  m.BuildBlockTree();
  ASSERT_EQ(m.BlockTreeCount, 1);
  ExpectBox(Extents(m), {0, 0, 1, 1}, "");
}

TEST_F(ExtentsTest, EmptyDrawingKeepsThePreviousBox) {
  Gval.ExtentXMin = -3, Gval.ExtentYMin = -2, Gval.ExtentXMax = 7, Gval.ExtentYMax = 9;
  ExpectBox(Extents(m), {-3, -2, 7, 9}, "");
  // Block definitions without inserts do not count as elements.
  TEntJwwBlockDef& def = jwwtest::AddBlockDef(m, 1, "unused");
  Append(def, Line(100, 100, 200, 200));
  ExpectBox(Extents(m), {-3, -2, 7, 9}, "");
}

TEST_F(ExtentsTest, FarPointsEndAtTheClamp) {
  Append(m, Line(0, 0, 5e8, 1));
  Append(m, Line(-3e8, -kInf, 2, kInf));
  ExpectBox(Extents(m), {-1e8, -1e8, 1e8, 1e8}, "");
}

TEST_F(ExtentsTest, NaNNeverPoisonsTheBox) {
  // The seed itself is NaN on x.
  Append(m, Line(kNaN, 0, 5, 5));
  Append(m, Line(1, kNaN, 2, 2));
  Append(m, Circle(kNaN, kNaN, 5));
  Append(m, Arc(0, 0, kNaN, 0, 1));
  Append(m, Arc(0, 0, 1, kNaN, kNaN));
  Append(m, Arc(0, 0, 1, 1e300, kInf));
  Append(m, Text(kNaN, 1, 1, 1, "^@BMp,nan,inf"));
  Append(m, RoundSolid(105, 0, 0, kInf, kNaN, kNaN, 0, 0, 0));
  TEntJwwBlockDef& def = jwwtest::AddBlockDef(m, 1, "b");
  Append(def, Line(1, 1, 2, 2));
  Append(m, Insert(1, kNaN, 3));
  Append(m, Insert(1, 0, 0, kInf, 1));
  m.BuildBlockTree();
  const TBox b = Extents(m);
  for (double v : {b.xmin, b.ymin, b.xmax, b.ymax}) {
    EXPECT_TRUE(std::isfinite(v));
    EXPECT_LE(std::fabs(v), 1e8);
  }
  EXPECT_LE(b.xmin, 0);
  EXPECT_GE(b.xmax, 5);
  EXPECT_LE(b.ymin, 0);
  EXPECT_GE(b.ymax, 5);
}

TEST_F(ExtentsTest, AllNaNGivesAFiniteBox) {
  Append(m, Line(kNaN, kNaN, kNaN, kNaN));
  const TBox b = Extents(m);
  ExpectBox(b, {0, 0, 0, 0}, "no real coordinate");
}

TEST_F(ExtentsTest, LayerModesAndScales) {
  TgraAttribute attr;
  Gval.GraAttribute = &attr;
  // {group state, layer state, mode}
  const int rows[][3] = {{0, 2, 3}, {0, 3, 3}, {1, 2, 2}, {2, 1, 2}, {2, 0, 3}, {2, 2, 1}, {2, 3, 1}, {1, 0, 3}};
  int g = 0;
  for (const auto& r : rows) {
    m.LayerGroups[g].State = r[0];
    m.Layers[g * 16 + 5].State = r[1];
    ++g;
  }
  m.LayerGroups[0].Scale = 50;
  m.LayerGroups[1].Scale = 0;
  m.LayerGroups[2].Scale = -4;
  m.LayerGroups[3].Scale = kNaN;
  m.LayerGroups[4].Scale = kInf;
  m.LayerGroups[5].Name = "plan";
  m.Layers[5 * 16 + 5].Name = "walls";
  m.ApplyLayerAttributes();
  for (int i = 0; i < 8; ++i) EXPECT_EQ(attr.GetLayerMode(i * 16 + 5), rows[i][2]) << "group " << i;
  // A hidden group hides every layer in it.
  for (int l = 0; l < 16; ++l) EXPECT_EQ(attr.GetLayerMode(l), 3) << l;
  EXPECT_DOUBLE_EQ(attr.Layers[0].Scale, 1.0 / 50);
  for (int i = 1; i <= 4; ++i) EXPECT_EQ(attr.Layers[i * 16].Scale, 1.0) << "group " << i;
  EXPECT_NE(attr.Layers[5 * 16 + 5].GroupLabel.find("plan"), std::string::npos);
  EXPECT_NE(attr.Layers[5 * 16 + 5].LayerLabel.find("walls"), std::string::npos);
  EXPECT_EQ(attr.GetLayerMode(15 * 16 + 15), 1);
}

TEST_F(ExtentsTest, LayerAttributesWithoutObjectOrTables) {
  m.ApplyLayerAttributes();  // no attribute object: nothing to do, no crash
  TgraAttribute attr;
  Gval.GraAttribute = &attr;
  m.LayerGroups.clear();
  m.Layers.resize(3);
  m.Layers[1].State = 0;
  m.ApplyLayerAttributes();
  EXPECT_EQ(attr.GetLayerMode(1), 3);
  EXPECT_EQ(attr.GetLayerMode(200), 1);
}

// ---- Counts ----

using TCounts = std::array<int32_t, 15>;

TCounts Count(const TJwwData& m, int32_t group, int32_t layer) {
  TCounts c;
  c.fill(-7);
  m.CountEntities(group, layer, c);
  return c;
}

TEST_F(ExtentsTest, CountsOfTheDrawingItself) {
  Append(m, Point(0, 0, 1));
  Append(m, Point(1, 0, 1));
  TCounts c = Count(m, -1, -1);
  EXPECT_EQ(c, (TCounts{0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));

  Append(m, Point(2, 0, 2));  // only exactly 1 is temporary
  Append(m, Line(0, 0, 1, 1, On(1, 5)));
  Append(m, Line(0, 0, 1, 1, On(1, 6)));
  Append(m, Line(0, 0, 1, 1, On(2, 5)));
  Append(m, Arc(0, 0, 1, 0, 1, 1, 0, 0, On(1, 5)));
  Append(m, Text(0, 0, 1, 0, "t", On(1, 5)));
  Append(m, Dimension(0, 0, 1, 0, "1", On(1, 5)));
  Append(m, Quad(0, 0, 1, 0, 1, 1, 0, 1, On(1, 5)));
  Append(m, Insert(3, 0, 0, 1, 1, 0, On(1, 5)));
  EXPECT_EQ(Count(m, 1, 5), (TCounts{1, 1, 0, 0, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Count(m, 1, -1), (TCounts{2, 1, 0, 0, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Count(m, -1, 5), (TCounts{2, 1, 0, 0, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Count(m, -1, -1), (TCounts{3, 1, 1, 2, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Count(m, 9, 9), TCounts{});
}

TEST_F(ExtentsTest, CountsInsideBlocksFollowTheLayerBit) {
  TEntJwwBlockDef& def = jwwtest::AddBlockDef(m, 1, "b");
  Append(def, Line(0, 0, 1, 0, On(1, 5)));
  Append(def, Point(0, 0, 1, On(1, 5)));
  Append(def, Quad(0, 0, 1, 0, 1, 1, 0, 1, On(2, 2)));
  for (int i = 0; i < 3; ++i) Append(m, Insert(1, i, 0, 1, 1, 0, On(3, 7, 0x40 | 1)));
  m.BuildBlockTree();
  // Bit 0x40 set: the elements' own layers.
  EXPECT_EQ(Count(m, 1, 5), (TCounts{0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 0, 3, 0, 0, 0}));
  EXPECT_EQ(Count(m, 3, 7), (TCounts{0, 0, 0, 0, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Count(m, -1, -1), (TCounts{0, 0, 0, 0, 0, 0, 0, 3, 3, 0, 0, 3, 0, 0, 3}));

  for (auto& row : m.BlockTree) row.Common.LineType = 1;
  EXPECT_EQ(Count(m, 1, 5), TCounts{});
  EXPECT_EQ(Count(m, 3, 7), (TCounts{0, 0, 0, 0, 0, 0, 0, 3, 3, 0, 0, 3, 0, 0, 3}));
  EXPECT_EQ(Count(m, 3, -1), Count(m, 3, 7));
}

TEST_F(ExtentsTest, NestedRowsCountTheirDefinitionEachTime) {
  TEntJwwBlockDef& leaf = jwwtest::AddBlockDef(m, 1, "leaf");
  Append(leaf, Line(0, 0, 1, 0));
  TEntJwwBlockDef& mid = jwwtest::AddBlockDef(m, 2, "mid");
  Append(mid, Insert(1, 0, 0));
  Append(mid, Insert(1, 5, 0));
  Append(mid, Arc(0, 0, 1, 0, 1));
  Append(m, Insert(2, 0, 0));
  Append(m, Insert(2, 10, 0));
  Append(m, Insert(99, 10, 0));  // no definition
  m.BuildBlockTree();
  const TCounts c = Count(m, -1, -1);
  EXPECT_EQ(c[7], 3);
  EXPECT_EQ(c[8], 4);
  EXPECT_EQ(c[9], 2);
}

}  // namespace
