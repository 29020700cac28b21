// Rules of the element and block-definition lists: common parts within the
// target version, SXF dimensions split for older targets, used block
// definitions renumbered, hidden and dropped order rows, long texts.
#include <gtest/gtest.h>

#include "byte_io.h"
#include "jww_builder.h"
#include "jww_data.h"
#include "jww_model_maker.h"

using namespace jwwtest;

namespace {

std::vector<uint8_t> Saved(TJwwData& m, int32_t v) {
  std::vector<uint8_t> bytes;
  EXPECT_TRUE(m.SaveToBytes(bytes, v));
  return bytes;
}

// The stable model's header and tables, without elements or definitions.
void EmptyModel(TJwwData& m, int32_t version) {
  MakeStableModel(m, version);
  m.EntityOrderCount = 0;
  m.LineCount = m.ArcCount = m.PointCount = m.TextCount = m.DimensionCount = m.SolidCount = 0;
  m.BlockInsertCount = 0;  // Append drops the rows beyond each count
  m.BlockDefs.clear();
  m.BlockDefCount = m.BlockListCount = 0;
  m.BuildBlockTree();
}

// The builder of the model with its element lists replaced by `items`.
JwwBuilder Expected(const TJwwData& m, std::vector<JwwElement> items) {
  JwwBuilder b = JwwBuilder::FromModel(m);
  b.drawing.Elements.Items = std::move(items);
  return b;
}

}  // namespace

TEST(JwwWriterLists, CommonPartsKeepWhatTheTargetVersionHas) {
  struct Case {
    int32_t kind, version;
    uint8_t lineType;
    uint16_t pen, width, layer, group;
    uint8_t wantLineType;
    uint16_t wantPen, wantWidth, wantLayer, wantGroup;
  };
  const Case cases[] = {
      // extended line types and pens onto basic ones below 420
      {kKindLine, 351, 40, 110, 5, 1, 1, 6, 8, 5, 1, 1},
      {kKindLine, 351, 50, 3, 0, 0, 0, 0, 3, 0, 0, 0},
      {kKindArc, 419, 44, 107, 0, 0, 0, 17, 1, 0, 0, 0},
      {kKindLine, 420, 40, 110, 0, 0, 0, 40, 110, 0, 0, 0},
      {kKindSolid, 351, 1, 116, 0, 0, 0, 1, 2, 0, 0, 0},
      {kKindText, 351, 1, 200, 0, 0, 0, 1, 0, 0, 0, 0},
      {kKindDimension, 300, 1, 356, 0, 0, 0, 1, 0, 0, 0, 0},
      // line-type bounds by kind
      {kKindLine, 700, 10, 1, 0, 0, 0, 0, 1, 0, 0, 0},
      {kKindArc, 700, 20, 1, 0, 0, 0, 0, 1, 0, 0, 0},
      {kKindArc, 700, 63, 1, 0, 0, 0, 0, 1, 0, 0, 0},
      {kKindPoint, 700, 7, 1, 0, 0, 0, 1, 1, 0, 0, 0},
      {kKindPoint, 700, 100, 1, 0, 0, 0, 100, 1, 0, 0, 0},
      {kKindText, 700, 0, 1, 0, 0, 0, 1, 1, 0, 0, 0},
      {kKindText, 700, 12, 1, 0, 0, 0, 1, 1, 0, 0, 0},
      {kKindDimension, 700, 77, 1, 0, 0, 0, 77, 1, 0, 0, 0},
      // pen bounds by kind
      {kKindLine, 700, 1, 10, 0, 0, 0, 1, 0, 0, 0, 0},
      {kKindSolid, 700, 1, 10, 0, 0, 0, 1, 10, 0, 0, 0},
      {kKindSolid, 700, 1, 357, 0, 0, 0, 1, 0, 0, 0, 0},
      {kKindPoint, 700, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0},
      {kKindBlockInsert, 351, 200, 999, 0, 0, 0, 200, 999, 0, 0, 0},
      {kKindBlockDef, 700, 3, 500, 0, 0, 0, 3, 500, 0, 0, 0},
      // layers, groups and widths
      {kKindLine, 700, 1, 1, 30000, 15, 15, 1, 1, 30000, 15, 15},
      {kKindBlockInsert, 700, 1, 1, 30001, 16, 40, 1, 1, 0, 0, 0},
  };
  for (const Case& c : cases) {
    TEntJwwCommon common;
    common.Group = 0x01020304;
    common.LineType = c.lineType, common.Color = c.pen, common.Width = c.width;
    common.Layer = c.layer, common.LayerGroup = c.group, common.Flags = 0xBEEF;
    ByteWriter got;
    TJwwData::WriteEntityCommon(got, common, c.kind, c.version);
    ByteWriter want;
    want.U32(0x01020304);
    want.U8(c.wantLineType);
    want.U16(c.wantPen);
    if (c.version >= 351) want.U16(c.wantWidth);
    want.U16(c.wantLayer);
    want.U16(c.wantGroup);
    want.U16(0xBEEF);
    EXPECT_EQ(got.Buffer(), want.Buffer()) << "kind " << c.kind << " v" << c.version << " lt " << int{c.lineType}
                                           << " pen " << c.pen;
  }
  // Before 351 there is no width: 13 bytes.
  ByteWriter shortForm;
  TJwwData::WriteEntityCommon(shortForm, MakeCommon(), kKindLine, 350);
  EXPECT_EQ(shortForm.Size(), 13u);
}

TEST(JwwWriterLists, SxfDimensionSplitsIntoSixObjectsBelow420) {
  TJwwData m;
  EmptyModel(m, 420);
  TEntJwwDimension dim = MakeDimension(0, 0, 100, 0, "100");
  dim.SxfMode = 3;
  dim.Point2.Common.LineType = 100;  // keeps its symbol tail as a point element
  dim.Point2.Code = 9;
  dim.AuxPoint1.Temporary = 0;
  Append(m, MakeLine(0, 0, 1, 1));
  Append(m, dim);
  Append(m, MakeLine(2, 2, 3, 3));

  TEntJwwPoint aux1 = dim.AuxPoint1, aux2 = dim.AuxPoint2;
  aux1.Temporary = aux2.Temporary = 1;
  const JwwBuilder split = Expected(m, {MakeLine(0, 0, 1, 1), dim, dim.AuxLine1, dim.AuxLine2, dim.Point1,
                                        dim.Point2, aux1, aux2, MakeLine(2, 2, 3, 3)});
  const std::vector<uint8_t> got = Saved(m, 351);
  EXPECT_TRUE(got == split.Bytes(351));

  // The element count is the seven counts plus six.
  TJwwData back;
  ASSERT_TRUE(back.LoadFromBytes(got.data(), got.size()));
  EXPECT_EQ(back.EntityOrderCount, 9);
  EXPECT_EQ(back.LineCount, 4);
  EXPECT_EQ(back.PointCount, 4);
  EXPECT_EQ(back.Points[2].Temporary + back.Points[3].Temporary, 2u);

  // In 420 the SXF part stays inside the dimension.
  EXPECT_TRUE(Saved(m, 420) == JwwBuilder::FromModel(m).Bytes(420));
}

TEST(JwwWriterLists, SxfModeOfAnOlderModelIsNotSplit) {
  // Only a model of 420 or later has an SXF part worth keeping.
  TJwwData m;
  EmptyModel(m, 351);
  TEntJwwDimension dim = MakeDimension(0, 0, 100, 0, "100");
  dim.SxfMode = 1;
  Append(m, dim);
  EXPECT_TRUE(Saved(m, 351) == JwwBuilder::FromModel(m).Bytes(351));
}

TEST(JwwWriterLists, OnlyReachedBlockDefinitionsAreWrittenRenumbered) {
  TJwwData m;
  EmptyModel(m, 700);
  TEntJwwBlockDef& five = AddBlockDef(m, 5, "five");
  Append(five, MakeLine(0, 0, 5, 5));
  TEntJwwBlockDef& nine = AddBlockDef(m, 9, "nine");
  Append(nine, MakeCircle(0, 0, 9));
  Append(nine, MakeInsert(1, 1, 9));  // inserts itself: renumbered like any
  Append(m, MakeInsert(0, 0, 9));
  m.BuildBlockTree();
  // An insert added after the tree was built (the tree reaches only 9), and
  // one of a number that no definition carries.
  Append(m, MakeInsert(1, 0, 5));
  Append(m, MakeInsert(2, 0, 77));
  ASSERT_EQ(m.UsedBlockDefCount, 1);
  EXPECT_EQ(m.MapBlockNumber(9), 0u);
  EXPECT_EQ(m.MapBlockNumber(5), 5u);
  EXPECT_EQ(m.MapBlockNumber(77), 77u);

  JwwBuilder expected = Expected(m, {MakeInsert(0, 0, 0), MakeInsert(1, 0, 5), MakeInsert(2, 0, 77)});
  expected.drawing.BlockDefs.erase(expected.drawing.BlockDefs.begin());
  expected.drawing.BlockDefs[0].Number = 0;
  std::get<TEntJwwBlockInsert>(expected.drawing.BlockDefs[0].Elements.Items[1]).BlockNumber = 0;
  EXPECT_TRUE(Saved(m, 700) == expected.Bytes(700));
}

// An insert naming no written definition must not come back as a copy of
// one: its number is kept unless a renumbered definition now carries it.
TEST(JwwWriterLists, InsertsOfMissingBlocksStayReferencesToNothing) {
  TJwwData m;
  EmptyModel(m, 700);
  Append(AddBlockDef(m, 9, "nine"), MakeLine(0, 0, 9, 9));
  Append(AddBlockDef(m, 3, "three"), MakeLine(0, 0, 3, 3));
  for (const uint32_t n : {9u, 3u, 77u, 0u, 1u}) Append(m, MakeInsert(0, 0, n));
  m.BuildBlockTree();
  struct Case {
    uint32_t number, written;
  } const cases[] = {{9, 0}, {3, 1}, {77, 77}, {0, 2}, {1, 2}, {2, 2}};
  for (const Case& c : cases) EXPECT_EQ(m.MapBlockNumber(c.number), c.written) << c.number;

  std::vector<uint8_t> bytes = Saved(m, 700);
  TJwwData back;
  ASSERT_TRUE(back.LoadFromBytes(bytes.data(), bytes.size()));
  back.BuildBlockTree();
  ASSERT_EQ(back.BlockTreeCount, 5);
  const int32_t defRows[] = {0, 1, -1, -1, -1};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(back.BlockTree[i].DefRow, defRows[i]) << i;
}

TEST(JwwWriterLists, TheFirstDefinitionOfANumberDecides) {
  TJwwData m;
  EmptyModel(m, 700);
  AddBlockDef(m, 4, "first");
  AddBlockDef(m, 4, "second");
  AddBlockDef(m, 6, "six");
  Append(m, MakeInsert(0, 0, 6));
  Append(m, MakeInsert(0, 0, 4));
  m.BuildBlockTree();
  EXPECT_EQ(m.MapBlockNumber(4), 0u);
  EXPECT_EQ(m.MapBlockNumber(6), 1u);
  JwwBuilder expected = Expected(m, {MakeInsert(0, 0, 1), MakeInsert(0, 0, 0)});
  expected.drawing.BlockDefs.erase(expected.drawing.BlockDefs.begin() + 1);
  expected.drawing.BlockDefs[0].Number = 0;
  expected.drawing.BlockDefs[1].Number = 1;
  EXPECT_TRUE(Saved(m, 700) == expected.Bytes(700));
}

TEST(JwwWriterLists, HiddenAndDroppedOrderRows) {
  // The sheet loop drops elements by raising their order kind by 100 and
  // lowering the kind's count; kept rows may then lie beyond the count.
  TJwwData m;
  EmptyModel(m, 700);
  Append(m, MakeLine(0, 0, 1, 0));
  Append(m, MakeLine(0, 0, 2, 0));
  Append(m, MakeText(0, 0, "kept"));
  Append(m, MakeLine(0, 0, 3, 0));
  m.EntityOrder[0].Kind += 100;
  m.LineCount -= 1;
  JwwBuilder expected = Expected(m, {MakeLine(0, 0, 2, 0), MakeText(0, 0, "kept"), MakeLine(0, 0, 3, 0)});
  EXPECT_TRUE(Saved(m, 700) == expected.Bytes(700));

  // Rows that name no element (a row past the array, kind 0, a negative
  // row) are left out, and the count says what was written, so the file
  // always reads back.
  m.EntityOrder.push_back({kKindLine, 50});
  m.EntityOrder.push_back({kKindNone, 0});
  m.EntityOrder.push_back({kKindArc, -1});
  m.EntityOrderCount = 7;
  m.LineCount = 40;
  EXPECT_TRUE(Saved(m, 700) == expected.Bytes(700));
  m.EntityOrderCount = 1000;  // more than the rows there are
  EXPECT_TRUE(Saved(m, 700) == expected.Bytes(700));
  m.EntityOrderCount = -5;
  EXPECT_TRUE(Saved(m, 700) == Expected(m, {}).Bytes(700));
}

TEST(JwwWriterLists, TextStringsLoseControlCharactersAndStayWithin255Bytes) {
  TJwwData m;
  EmptyModel(m, 700);
  std::string longKanji = "ab";
  while (longKanji.size() < 300) longKanji += "\x93\xfa";  // "日": byte 255 would split one
  TEntJwwText t = MakeText(0, 0, "li^mne\tone");
  t.FontName = "Font\x01";
  TEntJwwText big = MakeText(0, 0, longKanji);
  big.FontName = std::string(400, 'f');
  TEntJwwDimension dim = MakeDimension(0, 0, 1, 0, std::string(256, '9'));
  Append(m, t);
  Append(m, big);
  Append(m, dim);

  TEntJwwText t2 = t, big2 = big;
  TEntJwwDimension dim2 = dim;
  t2.Content = "lineone", t2.FontName = "Font";
  big2.Content = longKanji.substr(0, 254), big2.FontName = std::string(255, 'f');
  dim2.Text.Content = std::string(255, '9');
  const std::vector<uint8_t> got = Saved(m, 700);
  EXPECT_TRUE(got == Expected(m, {t2, big2, dim2}).Bytes(700));
  TJwwData back;
  ASSERT_TRUE(back.LoadFromBytes(got.data(), got.size()));
  EXPECT_EQ(back.Texts[1].Content, big2.Content);
}

TEST(JwwWriterLists, NegativeBlockTimeIsFollowedByA64BitTime) {
  TJwwData m;
  EmptyModel(m, 700);
  TEntJwwBlockDef& d = AddBlockDef(m, 0, "timed");
  d.Time = -1;
  Append(m, MakeInsert(0, 0, 0));
  m.BuildBlockTree();
  JwwBuilder expected = JwwBuilder::FromModel(m);
  expected.drawing.BlockDefs[0].Time64 = 0;
  const std::vector<uint8_t> got = Saved(m, 700);
  EXPECT_TRUE(got == expected.Bytes(700));
  TJwwData back;
  EXPECT_TRUE(back.LoadFromBytes(got.data(), got.size()));
  EXPECT_EQ(back.BlockDefs[0].Time, 1);
}

TEST(JwwWriterLists, ManyObjectsUseTheWideCountAndClassReferenceForms) {
  // 70,000 lines: the count takes 0xFFFF and a uint32, and indices past
  // 32,766 take 0x7FFF and a uint32 (the builder encodes both forms).
  TJwwData m;
  EmptyModel(m, 351);
  for (int i = 0; i < 70000; ++i) Append(m, MakeLine(i, 0, i, 1));
  const std::vector<uint8_t> got = Saved(m, 351);
  const std::vector<uint8_t> want = JwwBuilder::FromModel(m).Bytes(351);
  EXPECT_EQ(got.size(), want.size());
  EXPECT_TRUE(got == want);
}

TEST(JwwWriterLists, TailsFollowTheStoredLineTypeAndPen) {
  // A point of line type 7 becomes line type 1 without the symbol tail; a
  // solid of pen 11 becomes pen 0 without the colour.
  TJwwData m;
  EmptyModel(m, 700);
  TEntJwwPoint point = MakePoint(1, 2, MakeCommon(0, 0, 1, 7));
  point.Code = 5, point.Angle = 1, point.Scale = 2;
  TEntJwwSolid solid = MakeSolid(0, 0, 1, 1, MakeCommon(0, 0, 11));
  solid.Rgb = 0xABCDEF;
  Append(m, point);
  Append(m, solid);
  TEntJwwPoint plain = point;
  plain.Common.LineType = 1;
  TEntJwwSolid uncoloured = solid;
  uncoloured.Common.Color = 0;
  EXPECT_TRUE(Saved(m, 700) == Expected(m, {plain, uncoloured}).Bytes(700));
}
