// Drawing a whole model: orders and filters, hidden layers, auxiliary and
// temporary elements, block rows, Escape, and damaged models.
#include <fstream>
#include <limits>
#include <string>
#include <tuple>

#include "../element_makers.h"
#include "fake_key_poller.h"
#include "render/draw_model.h"
#include "render_fixture.h"
#include "sjis.h"

namespace {

using namespace elemtest;
constexpr double kPi = 3.14159265358979323846;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

class DrawModelTest : public RenderTest {
 protected:
  TJwwData m;
  void SetUp() override {
    RenderTest::SetUp();
    jwwtest::SizeTables(m);
  }
  void Draw(int32_t order = 0, int32_t group = -1, int32_t layer = -1, bool printing = true,
            bool temporary = false, double angle = 0) {
    canvas.calls.clear();
    m.Draw(canvas, order, group, layer, true, printing, temporary, angle);
  }
  // One letter per stroke or shape, with the device y of strokes:
  // "L<y>" a line, "P<n>" a polygon of n points, "T<c>" a character.
  std::string Trace() const {
    std::string s;
    for (const TCanvasCall& c : canvas.calls) {
      if (c.kind == TCanvasCall::MoveTo) s += "L" + std::to_string(c.points[0].y) + " ";
      if (c.kind == TCanvasCall::Polygon) s += "P" + std::to_string(c.points.size()) + " ";
      if (c.kind == TCanvasCall::TextOut) s += "T" + c.text + " ";
    }
    return s;
  }
  TEntJwwBlockDef& DefWithLine(uint16_t group, uint16_t layer) {
    TEntJwwBlockDef& def = jwwtest::AddBlockDef(m, 1, "b");
    jwwtest::Append(def, Line(0, 0, 10, 0, On(group, layer)));
    return def;
  }
  void AddRow(uint16_t group, uint16_t layer, bool ownLayers, int32_t defRow = 0) {
    TEntJwwBlockTree row;
    row.Common = On(group, layer, ownLayers ? 0x40 : 0);
    row.DefRow = defRow;
    row.OriginX = row.OriginY = 50;
    m.BlockTree.push_back(row);
    m.BlockTreeCount = static_cast<int32_t>(m.BlockTree.size());
  }
};

TEST_F(DrawModelTest, OrdersAndFilters) {
  jwwtest::Append(m, Line(10, 10, 20, 10, On(0, 0)));     // y 900
  jwwtest::Append(m, Line(10, 20, 20, 20, On(15, 15)));   // y 800
  jwwtest::Append(m, Line(10, 30, 20, 30, On(3, 1)));     // y 700
  jwwtest::Append(m, Line(10, 40, 20, 40, On(3, 2)));     // y 600
  jwwtest::Append(m, Line(10, 50, 20, 50, On(12, 14)));   // y 500: 255 - (3 * 16 + 1)
  jwwtest::Append(m, Quad(1, 1, 2, 1, 2, 2, 1, 2, On(15, 15)));
  struct Case {
    int32_t order, group, layer;
    const char* trace;
  } cases[] = {
      {0, -1, -1, "P4 L900 L800 L700 L600 L500 "},
      {1, -1, -1, "L900 L700 L600 L500 P4 L800 "},
      {2, -1, -1, "P4 L800 L500 L600 L700 L900 "},
      {7, -1, -1, "P4 L900 L800 L700 L600 L500 "},  // unknown orders draw as order 0
      {0, 3, -1, "L700 L600 "},
      {0, -1, 1, "L700 "},
      {1, 3, -1, "L700 L600 "},
      {2, 3, -1, "L600 L700 "},  // the filtered layers, last first
      {0, 16, -1, ""},
      {1, -1, -2, ""},
  };
  for (const Case& c : cases) {
    Draw(c.order, c.group, c.layer);
    EXPECT_EQ(Trace(), c.trace) << c.order << " " << c.group << " " << c.layer;
  }
}

TEST_F(DrawModelTest, HiddenLayersAndBlockRows) {
  attr.SetLayerMode(2, 3);  // group 0, layer 2 hidden
  DefWithLine(0, 1);
  jwwtest::Append(m, Line(10, 10, 20, 10, On(0, 2)));
  struct Case {
    uint16_t rowLayer;
    bool ownLayers;
    bool drawn;
  } cases[] = {
      {2, false, false},  // row on the hidden layer takes its elements along
      {2, true, true},    // elements keeping their visible layer are drawn
      {1, false, true},
  };
  for (int32_t order : {0, 1, 2}) {
    for (const Case& c : cases) {
      m.BlockTree.clear();
      AddRow(0, c.rowLayer, c.ownLayers);
      Draw(order);
      EXPECT_EQ(Trace(), c.drawn ? "L500 " : "") << order << " " << c.rowLayer << c.ownLayers;
    }
  }
}

TEST_F(DrawModelTest, BlockRowsColourTheirElementsByTheRowsLayer) {
  attr.SetLayerMode(16, 2);  // group 1, layer 0 grey
  DefWithLine(0, 1);
  AddRow(1, 0, false);
  Draw();
  ASSERT_EQ(canvas.calls.size(), 2u);
  EXPECT_EQ(canvas.calls[0].penColor, attr.GetGrayColor());
  m.BlockTree[0].Common.LineType = 0x40;
  Draw();
  EXPECT_EQ(canvas.calls.at(0).penColor, attr.GetPenColor(1));
}

TEST_F(DrawModelTest, AuxiliaryAndTemporaryElements) {
  jwwtest::Append(m, Line(10, 10, 20, 10, On(0, 0)));
  TEntJwwCommon pen9 = On(0, 0);
  pen9.Color = 9;
  jwwtest::Append(m, Line(10, 20, 20, 20, pen9));
  jwwtest::Append(m, Line(10, 30, 20, 30, On(0, 0, 9)));
  jwwtest::Append(m, Quad(1, 1, 2, 1, 2, 2, 1, 2, On(0, 0, 9)));
  jwwtest::Append(m, Point(50, 50, 1));
  jwwtest::Append(m, Point(60, 60, 0, pen9));
  jwwtest::Append(m, Text(10, 80, 30, 80, "X", pen9));
  struct Case {
    bool printing, auxOn, temporary;
    const char* trace;
  } cases[] = {
      {true, false, false, "P4 L900 "},
      {false, false, false, "P4 L900 L800 L700 P72 TX "},
      {true, true, true, "P4 L900 L800 L700 P72 P72 TX "},
  };
  for (const Case& c : cases) {
    attr.SetDrawAuxLines(c.auxOn);
    Draw(0, -1, -1, c.printing, c.temporary);
    EXPECT_EQ(Trace(), c.trace) << c.printing << c.auxOn << c.temporary;
  }
}

TEST_F(DrawModelTest, SolidsAndImageTexts) {
  View(1);
  jwwtest::Append(m, RoundSolid(101, 500, 500, 10, 1, 0, 0, kPi / 2, 0));
  jwwtest::Append(m, Quad(1, 1, 2, 1, 2, 2, 1, 2));
  TEntJwwSolid free = Quad(5, 5, 6, 5, 6, 6, 5, 6);
  free.Common.Color = 10;
  free.Rgb = 0x102030;
  jwwtest::Append(m, free);
  jwwtest::Append(m, Text(100, 100, 200, 100, "^@BMpic.bmp,100"));
  jwwtest::Append(m, Text(300, 300, 400, 300, "^@BMpic.bmp"));
  Draw();
  // The text without a comma is ordinary text, here too small and drawn as a stroke.
  EXPECT_EQ(Trace(), "P4 P74 P4 P4 L700 ");
  const auto polys = canvas.Of(TCanvasCall::Polygon);
  EXPECT_EQ(polys[0].brushStyle, bsBDiagonal);  // image drawn as a hatched box
  EXPECT_EQ(BoxSize(polys[0].points), std::make_pair(100, 100));
  EXPECT_EQ(polys[3].brushColor, 0x102030);
  attr.SetLayerMode(0, 2);
  Draw();
  EXPECT_EQ(canvas.Of(TCanvasCall::Polygon).at(3).brushColor, attr.GetGrayColor());
}

// The characters drawn, and the font of the first.
std::pair<std::string, TLogFont> Written(const TRecordingCanvas& canvas) {
  std::string text;
  TLogFont font;
  for (const TCanvasCall& c : canvas.Of(TCanvasCall::TextOut)) {
    if (text.empty()) font = c.font;
    text += c.text;
  }
  return {text, font};
}

TEST_F(DrawModelTest, TextStylesVerticalTextsAndDimensionValues) {
  struct Case {
    uint32_t kind;
    uint16_t flags;
    int32_t weight;
    bool italic;
    const char* face;
  } cases[] = {
      {0, 0, 400, false, "MS Gothic"},      {10000, 0, 400, true, "MS Gothic"},
      {20005, 0, 700, false, "MS Gothic"},  {30000, 0x20, 700, true, "@MS Gothic"},
  };
  for (const Case& c : cases) {
    m.Texts.clear();
    m.TextCount = 0;
    TEntJwwText t = Text(10, 50, 30, 50, "AB");
    t.Kind = c.kind;
    t.Common.Flags = c.flags;
    t.SizeX = 4;  // the vertical text's font height
    jwwtest::Append(m, t);
    Draw();
    const auto [text, font] = Written(canvas);
    EXPECT_EQ(text, "AB") << c.kind;
    EXPECT_EQ(font.Weight, c.weight) << c.kind;
    EXPECT_EQ(font.Italic, c.italic) << c.kind;
    EXPECT_EQ(font.FaceName, c.face) << c.kind;
    EXPECT_EQ(font.Height, c.flags ? 40 : 25) << c.kind;
  }
  // A dimension in a turned and scaled block shows its length there when
  // its format word asks for it.
  m.Texts.clear();
  m.TextCount = 0;
  TEntJwwBlockDef& def = jwwtest::AddBlockDef(m, 1, "b");
  jwwtest::Append(def, Dimension(0, 0, 10, 0, "99"));
  for (const auto& [format, turned, shown] :
       {std::tuple{0x0002, true, "20"}, {0x0000, true, "99"}, {0x0002, false, "99"}}) {
    def.EditElements().Dimensions[0].Text.Common.Width = static_cast<uint16_t>(format);
    m.BlockTree.clear();
    AddRow(0, 0, false);
    if (turned) m.BlockTree[0].M11 = 0, m.BlockTree[0].M12 = -2, m.BlockTree[0].M21 = 2, m.BlockTree[0].M22 = 0;
    Draw();
    EXPECT_EQ(Written(canvas).first, shown) << format << turned;
  }
}

TEST_F(DrawModelTest, ImageTextPaths) {
  BindImg.TempFolder = "/tmp/Jürgen/held/";  // native; the texts are Shift-JIS
  const std::pair<std::string, std::string> cases[] = {
      {"^@BM%temp%" + Utf8ToSjis("表.png") + ",1", "/tmp/Jürgen/held/表.png"},
      {"^@BM" + Utf8ToSjis("C:\\図\\表.png") + ",1", "C:\\図\\表.png"},
      {"^@BM%TEMP%a.png,10", "/tmp/Jürgen/held/a.png"},
      {"^@BM%temp%\\b.bmp,1,2", "/tmp/Jürgen/held/\\b.bmp"},
      {"^@BMc:\\img\\%temp%.jpg,1", "c:\\img\\%temp%.jpg"},
      {"^@BM%tem,1", "%tem"},
      {"^@BMpic.bmp", ""},
      {"pic.bmp,1", ""},
  };
  for (const auto& [content, path] : cases) EXPECT_EQ(ImageTextPath(content), path) << content;

  // Drawn in the line-width mode: the held image, in its rectangle, turned
  // by the text's own angle value under the drawing's angle.
  BindImg.TempFolder = jwwtest::FreshFolder("held_images");
  { std::ofstream(BindImg.TempFolder + "a.png") << "png"; }
  attr.SetLineWidthMode(true);
  jwwtest::Append(m, Text(10, -50, 20, -50, "^@BM%TEMP%a.png,30,20,0,0,0,30"));
  Draw(0, -1, -1, true, false, kPi / 2);
  ASSERT_EQ(canvas.loadedPaths.size(), 1u);
  EXPECT_EQ(canvas.loadedPaths[0], BindImg.TempFolder + "a.png");
  const auto images = canvas.Of(TCanvasCall::DrawImage);
  ASSERT_EQ(images.size(), 1u);
  EXPECT_NEAR(images[0].angle, 120, 1e-9);
  EXPECT_EQ(images[0].destination.Width, 300);
  EXPECT_EQ(images[0].destination.Height, 200);
  EXPECT_EQ(images[0].points[0].x, 500);  // the first corner, (10, -50) turned to (50, 10)
  EXPECT_EQ(images[0].points[0].y, 900);

  // A held image that could not be unpacked is the white placeholder box in
  // its rectangle; a missing image that is not held draws nothing.
  canvas.calls.clear();
  canvas.loadedPaths.clear();
  m.Clear();
  jwwtest::Append(m, Text(10, 10, 20, 10, "^@BM%temp%gone.png,30,20"));
  jwwtest::Append(m, Text(10, 10, 20, 10, "^@BMgone.png,30,20"));
  Draw();
  EXPECT_TRUE(canvas.loadedPaths.empty());
  const auto boxes = canvas.Of(TCanvasCall::Polygon);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].brushStyle, bsSolid);
  EXPECT_EQ(boxes[0].brushColor, 0xFFFFFF);
  EXPECT_EQ(BoxSize(boxes[0].points), std::make_pair(300, 200));
}

TEST_F(DrawModelTest, DrawingAngleTurnsElementsAndBlockRows) {
  jwwtest::Append(m, Line(10, -50, 20, -50));
  DefWithLine(0, 0);
  AddRow(0, 0, false);
  m.BlockTree[0].OriginX = 50, m.BlockTree[0].OriginY = -40;
  Draw(0, -1, -1, true, false, kPi / 2);
  ASSERT_EQ(canvas.calls.size(), 4u);
  const int32_t want[4][2] = {{500, 900}, {500, 800}, {400, 500}, {400, 400}};
  for (size_t k = 0; k < 4; ++k) {
    EXPECT_EQ(canvas.calls[k].points[0].x, want[k][0]) << k;
    EXPECT_EQ(canvas.calls[k].points[0].y, want[k][1]) << k;
  }
}

TEST_F(DrawModelTest, EscapeIsPolledEveryTenRowsAndAfterEachLoop) {
  for (int i = 0; i < 25; ++i) jwwtest::Append(m, Line(10, 10 + i, 20, 10 + i));
  {
    FakeKeyPoller keys;
    Draw();
    EXPECT_EQ(keys.Polls(), 10);  // rows 10 and 20, and after each of the 8 loops
    keys.PressEscape();
    Draw();
    EXPECT_EQ(keys.Polls(), 11);  // the loop of image texts is the first to ask
    EXPECT_TRUE(canvas.calls.empty());
  }
  // Escape goes down once the loops of image texts and solids have asked.
  struct PressedAfter : TKeyStatePoller {
    int polls = 0;
    bool EscapeDown() override { return ++polls > 2; }
  };
  for (int32_t order : {0, 1}) {
    PressedAfter keys;
    SetKeyStatePoller(&keys);
    Draw(order);
    SetKeyStatePoller(nullptr);
    EXPECT_EQ(Count(TCanvasCall::LineTo), 10u) << order;
  }
}

TEST_F(DrawModelTest, DamagedModelsReadOnlyWhatExists) {
  jwwtest::Append(m, Line(10, 10, 20, 10));
  TEntJwwBlockDef& def = DefWithLine(0, 0);
  def.EditElements().LineCount = 1000;
  m.LineCount = 1000;
  m.TextCount = m.SolidCount = m.ArcCount = m.PointCount = m.DimensionCount = 77;
  for (int32_t defRow : {0, 1, -5, 99}) AddRow(0, 0, defRow == 1, defRow);
  m.BlockTreeCount = 1000;
  for (int32_t order : {0, 1, 2}) {
    Draw(order);
    EXPECT_EQ(Trace(), "L900 L500 ") << order;
  }
  m.BlockDefCount = 0;  // rows may not reach definitions beyond the count
  Draw();
  EXPECT_EQ(Trace(), "L900 ");
}

TEST_F(DrawModelTest, NonFiniteInputEndsWithoutHarm) {
  attr.SetLineWidthMode(true);
  SetLineType(2, {kNaN, -1});
  jwwtest::Append(m, Line(kNaN, 10, 20, 10, On(0, 0, 2)));
  jwwtest::Append(m, Line(10, 10, 1e300, 10, On(0, 0, 2)));
  jwwtest::Append(m, Arc(kNaN, 5, 3, 0, 1, 1, 0, 0, On(0, 0, 2)));
  jwwtest::Append(m, Circle(50, 50, 1e300, kNaN));
  jwwtest::Append(m, Point(kNaN, 5));
  jwwtest::Append(m, Quad(kNaN, 1, 2, 1, 2, 2, 1, 2));
  jwwtest::Append(m, RoundSolid(106, 5, 5, 3, 1, 0, 0, kNaN, 0));
  jwwtest::Append(m, Text(1, 1, 2, 2, "^@BMa.png,nan,1e308,1,1,1,nan"));
  jwwtest::Append(m, Dimension(kNaN, 1, 1, 1, "1"));
  for (double scale : {10.0, 0.0, kNaN}) {
    Gval.ViewScale = scale;
    for (int32_t order : {0, 2}) Draw(order, -1, -1, true, true, kNaN);
  }
  attr.SetLineWidthMode(false);
  Draw(0, -1, -1, true, true, 1e300);
  SUCCEED();
}

}  // namespace
