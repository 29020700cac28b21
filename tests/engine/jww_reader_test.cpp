// The reader on files built by the test-side builder: every version branch,
// the derived header fields, strings in all their forms, the archive's tags
// and counts, block definitions and the globals published after a load.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "bind_images.h"
#include "gval.h"
#include "jww_builder.h"
#include "jww_data.h"
#include "jww_reader_checks.h"
#include "memory_limit.h"

using namespace jwwtest;

namespace {

constexpr int32_t kVersions[] = {220, 223, 225, 230, 231, 300, 350, 351, 420, 600, 700, 800};

class JwwReader : public ::testing::Test {
 protected:
  void SetUp() override {
    Gval.Reset();
    BindImg.Reset();
  }
  void TearDown() override {
    Gval.Reset();
    BindImg.Reset();
  }

  bool Load(TJwwData& d, const JwwBuilder& b, int32_t version) {
    const std::vector<uint8_t> bytes = b.Bytes(version);
    return d.LoadFromBytes(bytes.data(), bytes.size());
  }

  // Loads through a file so that the globals are published.
  bool LoadFile(TJwwData& d, const std::vector<uint8_t>& bytes) {
    // ctest runs tests in parallel processes: one file per test.
    const std::string path = ::testing::TempDir() + "jww_reader_" +
                             ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".jww";
    std::FILE* f = std::fopen(path.c_str(), "wb");
    EXPECT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    return d.LoadFromFile(path);
  }
};

// What a file of `v` gives back, described for the builder: fields that `v`
// does not store keep their defaults, and the short forms are widened.
JwwDrawingDesc ExpectedAfterReading(JwwDrawingDesc s, int32_t v) {
  TEntJwwHeader& h = s.Header;
  const TEntJwwHeader none;
  if (v < 300) h.SkyMapLevel = h.SkyMapRadius = 0;
  if (v <= 230) {
    for (int j = 4; j < 8; ++j) {
      h.JumpScale[j] = 1.0;
      h.JumpX[j] = h.JumpY[j] = 0;
    }
    h.JumpLayerGroup = none.JumpLayerGroup;
    h.ReservedReals1 = {};
    h.ReservedInt1 = 0;
    h.ReservedReals2 = {};
    h.TextBackgroundSize = 0;
    h.TextBackgroundMode = 0;
  }
  if (v < 223) {
    h.DrawingTime = h.Eye3DSet = 0;
    h.EyeAngles = {};
    h.PerspectiveHeight = h.PerspectiveDistance = h.BirdHeight = h.BirdDistance = h.IsoAngle = 0;
  }
  if (v < 225) h.LastLineLength = h.LastBoxWidth = h.LastBoxHeight = h.LastCircleRadius = 0;
  if (v < 230) h.SolidAnyColor = h.SolidColor = 0;
  if (v < 420) {
    s.ColorsEx.assign(257, TEntJwwColorExNo{});
    s.LineTypesEx.assign(33, TEntJwwLineTypeExNo{});
  }
  auto fixElements = [v](JwwElementList& list) {
    for (JwwElement& e : list.Items) {
      std::visit(
          [v](auto& x) {
            using T = std::decay_t<decltype(x)>;
            if constexpr (std::is_same_v<T, TEntJwwDimension>) {
              if (v < 420) {
                x.SxfMode = 0;
                for (TEntJwwLine* l : {&x.AuxLine1, &x.AuxLine2}) *l = TEntJwwLine{x.Common};
                for (TEntJwwPoint* p : {&x.Point1, &x.Point2, &x.AuxPoint1, &x.AuxPoint2}) {
                  *p = TEntJwwPoint{x.Common};
                  p->Common.LineType = 0;
                }
              }
              if (v < 351) {
                for (TEntJwwCommon* c : {&x.Common, &x.Line.Common, &x.Text.Common, &x.AuxLine1.Common,
                                         &x.AuxLine2.Common, &x.Point1.Common, &x.Point2.Common,
                                         &x.AuxPoint1.Common, &x.AuxPoint2.Common})
                  c->Width = 0;
              }
            } else if constexpr (requires { x.Common; }) {
              if (v < 351) x.Common.Width = 0;
            }
          },
          e);
    }
  };
  fixElements(s.Elements);
  for (size_t i = 0; i < s.BlockDefs.size(); ++i) {
    JwwBuilderBlockDef& def = s.BlockDefs[i];
    if (v < 351) def.Common.Width = 0;
    if (def.Time < 0) def.Time = static_cast<int32_t>(i + 1);
    fixElements(def.Elements);
  }
  if (v < 700) s.Images.clear();
  return s;
}

JwwBuilder RichDrawing() {
  JwwBuilder b = MakeSampleDrawing();
  FillDistinctValues(b.drawing);
  for (JwwBuilderBlockDef& def : b.drawing.BlockDefs) def.Common.Width = 4;
  return b;
}

size_t FirstDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  size_t i = 0;
  while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
  return i;
}

}  // namespace

// Each version's file reads back with every stored field in its place: the
// model, described to the builder again, encodes like the expected drawing.
TEST_F(JwwReader, EveryVersionBranchReadsEveryFieldIntoItsPlace) {
  BindImg.BindImageKeepFlag = 1;
  const JwwBuilder source = RichDrawing();
  for (int32_t v : kVersions) {
    SCOPED_TRACE(v);
    TJwwData d;
    ASSERT_TRUE(Load(d, source, v));
    EXPECT_TRUE(ModelIsConsistent(d));
    EXPECT_EQ(d.Header.Version, v);

    JwwBuilder expected;
    expected.drawing = ExpectedAfterReading(source.drawing, v);
    std::vector<TBindImageType> images;
    if (v >= 700) images = BindImg.BindImages;
    const std::vector<uint8_t> want = expected.Bytes(700);
    JwwBuilder again = JwwBuilder::FromModel(d, images);
    for (size_t i = 0; i < again.drawing.Images.size(); ++i) again.drawing.Images[i].Content = expected.drawing.Images[i].Content;
    const std::vector<uint8_t> got = again.Bytes(700);
    EXPECT_EQ(got.size(), want.size());
    EXPECT_EQ(FirstDifference(got, want), want.size());
  }
}

TEST_F(JwwReader, FieldsOfOtherVersionsKeepTheirDefaults) {
  const JwwBuilder source = RichDrawing();
  TJwwData d;
  ASSERT_TRUE(Load(d, source, 220));
  EXPECT_EQ(d.Header.SkyMapLevel, 0);
  EXPECT_EQ(d.Header.JumpScale[3], source.drawing.Header.JumpScale[3]);
  EXPECT_EQ(d.Header.JumpScale[4], 1.0);
  EXPECT_EQ(d.Header.JumpLayerGroup[0], -1);
  EXPECT_EQ(d.Header.DrawingTime, 0);
  EXPECT_EQ(d.Header.TextShiftY[2], source.drawing.Header.TextShiftY[2]);
  ASSERT_EQ(d.ColorsEx.size(), 257u);
  EXPECT_EQ(d.ColorsEx[5].Color, 0);
  EXPECT_EQ(d.LineTypesEx.size(), 33u);
  EXPECT_EQ(d.Lines[1].Common.Width, 0);

  ASSERT_TRUE(Load(d, source, 231));
  EXPECT_EQ(d.Header.JumpLayerGroup[7], source.drawing.Header.JumpLayerGroup[7]);
  EXPECT_EQ(d.Header.SolidColor, source.drawing.Header.SolidColor);
  EXPECT_EQ(d.Header.SkyMapRadius, 0);

  ASSERT_TRUE(Load(d, source, 351));
  EXPECT_EQ(d.Lines[1].Common.Width, 7);
  EXPECT_EQ(d.Dimensions[0].SxfMode, 0);
  ASSERT_TRUE(Load(d, source, 420));
  EXPECT_EQ(d.Dimensions[0].SxfMode, 1);
  EXPECT_EQ(d.ColorsEx[101].Name, source.drawing.ColorsEx[101].Name);
  EXPECT_EQ(d.LineTypesEx[32].Segments[9], source.drawing.LineTypesEx[32].Segments[9]);
}

TEST_F(JwwReader, ShortCommonPartsAreWidenedBeforeVersion351) {
  JwwBuilder b;
  TEntJwwCommon c;
  c.Group = 0x01020304;
  c.LineType = 5;
  c.Color = 0x0607;
  c.Width = 99;  // not stored before 351
  c.Layer = 0x0809;
  c.LayerGroup = 0x0A0B;
  c.Flags = 0x0C0D;
  b.AddLine(MakeLine(1, 2, 3, 4, c));
  b.AddBlockDef(3, "b").Common = c;
  for (int32_t v : {350, 351}) {
    TJwwData d;
    ASSERT_TRUE(Load(d, b, v));
    for (const TEntJwwCommon* got : {&d.Lines[0].Common, &d.BlockDefs[0].Common}) {
      EXPECT_EQ(got->Group, c.Group);
      EXPECT_EQ(got->LineType, c.LineType);
      EXPECT_EQ(got->Color, c.Color);
      EXPECT_EQ(got->Width, v >= 351 ? 99 : 0);
      EXPECT_EQ(got->Layer, c.Layer);
      EXPECT_EQ(got->LayerGroup, c.LayerGroup);
      EXPECT_EQ(got->Flags, c.Flags);
    }
    EXPECT_EQ(d.Lines[0].Y2, 4.0);
  }
}

TEST_F(JwwReader, VersionBelow220AnswersFalseAndPublishesNothing) {
  Gval.DrawingEditTime = "kept";
  Gval.PrintScale = 7;
  JwwBuilder b = MakeSampleDrawing();
  TJwwData d;
  EXPECT_FALSE(LoadFile(d, b.Bytes(219)));
  EXPECT_EQ(Gval.DrawingEditTime, "kept");
  EXPECT_EQ(Gval.PrintScale, 7);
  EXPECT_EQ(d.Header.Signature, "JwwData.");
  EXPECT_EQ(d.Header.Version, 219);
  EXPECT_EQ(d.Layers.size(), 256u);
  EXPECT_EQ(d.ColorsEx.size(), 257u);
  EXPECT_EQ(d.LineCount + d.EntityOrderCount, 0);
  EXPECT_NE(Gval.DrawingFileName, "");

  EXPECT_TRUE(LoadFile(d, b.Bytes(220)));
  EXPECT_EQ(Gval.DrawingEditTime, "0 : 00");  // published; 220 stores no editing time
  EXPECT_EQ(Gval.PrintScale, 1.0);
}

TEST_F(JwwReader, PublishesEditTimeMemoAndPrintScale) {
  struct Case {
    int32_t seconds;
    const char* time;
  };
  for (const Case& c : {Case{3725, "1 : 02"}, Case{59, "0 : 00"}, Case{36000, "10 : 00"}, Case{600, "0 : 10"}}) {
    JwwBuilder b;
    b.Header().DrawingTime = c.seconds;
    TJwwData d;
    ASSERT_TRUE(LoadFile(d, b.Bytes(700)));
    EXPECT_EQ(Gval.DrawingEditTime, c.time);
  }
  struct Memo {
    const char* memo;
    const char* first;
    const char* second;
  };
  for (const Memo& m : {Memo{"A\r\nB\r\nC", "A", "B\r\nC"}, Memo{"one line", "one line", ""},
                        Memo{"\r\n", "", ""}, Memo{"A\nB", "A\nB", ""}}) {
    JwwBuilder b;
    b.Header().Memo = m.memo;
    b.Header().PrintScale = 0.5;
    TJwwData d;
    ASSERT_TRUE(LoadFile(d, b.Bytes(351)));
    EXPECT_EQ(d.Header.Memo, m.memo);  // control characters stay in the memo
    EXPECT_EQ(Gval.DrawingMemo1, m.first);
    EXPECT_EQ(Gval.DrawingMemo2, m.second);
    EXPECT_EQ(Gval.PrintScale, 0.5);
  }
}

// A FIFO without a writer answers the same, at once: it would block the opening.
TEST_F(JwwReader, MissingFileAnswersFalseAndPublishesTheClearedModel) {
  const std::string fifo = ::testing::TempDir() + "jww_reader_fifo.jww";
  ::unlink(fifo.c_str());
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& path : {::testing::TempDir() + "no_such_drawing.jww", fifo}) {
    Gval.DrawingEditTime = "old";
    Gval.DrawingMemo1 = "old";
    TJwwData d;
    EXPECT_FALSE(d.LoadFromFile(path));
    EXPECT_EQ(Gval.DrawingFileName, path);
    EXPECT_EQ(Gval.DrawingEditTime, "0 : 00");
    EXPECT_EQ(Gval.DrawingMemo1, "");
    EXPECT_EQ(Gval.PrintScale, 1.0);
  }
  ::unlink(fifo.c_str());
}

TEST_F(JwwReader, DerivesRealWidthAndPrintSettings) {
  struct Case {
    int32_t width;
    uint8_t mode;
    int32_t value;
  };
  const Case cases[] = {{-450, 1, -50}, {-401, 1, -1}, {-500, 1, -100}, {-250, 1, 50}, {-201, 1, 1},
                        {-300, 1, 100}, {-150, 1, -100}, {-501, 1, -100}, {-101, 1, -100}, {-100, 0, -100},
                        {5, 0, 5}};
  for (const Case& c : cases) {
    JwwBuilder b;
    b.Header().MaxDrawWidth = c.width;
    TJwwData d;
    ASSERT_TRUE(Load(d, b, 600));
    EXPECT_EQ(d.Header.RealWidthMode, c.mode) << c.width;
    EXPECT_EQ(d.Header.RealWidthValue, c.value) << c.width;
  }
  JwwBuilder b;
  b.options.PrintValue = 23;
  TJwwData d;
  ASSERT_TRUE(Load(d, b, 700));
  EXPECT_EQ(d.Header.SkipDisplayOnlyLayers, 3);
  EXPECT_EQ(d.Header.DotPitchClass, 2);
}

TEST_F(JwwReader, ReadsStringsInEveryStoredForm) {
  JwwBuilder b;
  b.Layer(0, 1).Name = "tab\there";
  b.Layer(0, 2).Name = "\x93\xfa\x96\x7b";          // "日本" survives the control filter
  b.Layer(0, 3).Name = std::string(300, 'L');        // 255 + uint16 length
  b.Layer(15, 15).Name = "last";
  b.LayerGroup(15).Name = "group15";
  b.AddText(MakeText(0, 0, "\x93\xfa\x96\x7b text"));
  for (bool unicode : {false, true}) {
    for (bool longLengths : {false, true}) {
      SCOPED_TRACE(testing::Message() << "unicode " << unicode << " long " << longLengths);
      b.options.UnicodeStrings = unicode;
      b.options.UnicodeMemo = unicode;
      b.options.LongStringLengths = longLengths;
      b.Header().Memo = "A\r\n\x93\xfa";
      TJwwData d;
      ASSERT_TRUE(Load(d, b, 700));
      EXPECT_EQ(d.Header.Memo, "A\r\n\x93\xfa");
      EXPECT_EQ(d.Layers[1].Name, "tabhere");
      EXPECT_EQ(d.Layers[2].Name, "\x93\xfa\x96\x7b");
      EXPECT_EQ(d.Layers[3].Name, std::string(300, 'L'));
      EXPECT_EQ(d.Layers[255].Name, "last");
      EXPECT_EQ(d.LayerGroups[15].Name, "group15");
      EXPECT_EQ(d.Texts[0].Content, "\x93\xfa\x96\x7b text");
      EXPECT_EQ(d.Texts[0].FontName, MakeText(0, 0, "").FontName);
    }
  }
}

TEST_F(JwwReader, UnicodeStringsConvertToShiftJis) {
  JwwBuilder b;
  // "図", U+2603 (no Shift-JIS form) and a lone surrogate become "?".
  b.options.MemoUtf16 = std::u16string(u"\u56f3\u2603") + char16_t(0xD800) + u"x";
  TJwwData d;
  ASSERT_TRUE(Load(d, b, 700));
  EXPECT_EQ(d.Header.Memo, "\x90\x7d??x");

  // A length of 300 units takes 255 and a uint16; 70,000 takes 255, 0xFFFF and a uint32.
  for (size_t units : {300u, 70000u}) {
    b.options.MemoUtf16 = std::u16string(units, u'a');
    ASSERT_TRUE(Load(d, b, 700)) << units;
    EXPECT_EQ(d.Header.Memo, std::string(units, 'a'));
  }
}

TEST_F(JwwReader, RejectsTheLongStringForm) {
  // 65535 bytes or more need 255, 0xFFFF and a uint32: the load stops there.
  JwwBuilder b;
  b.Layer(0, 0).Name = "first";
  b.Layer(0, 1).Name = std::string(70000, 'x');
  b.AddLine(MakeLine(0, 0, 1, 1));
  TJwwData d;
  EXPECT_FALSE(Load(d, b, 700));
  EXPECT_EQ(d.Layers[0].Name, "first");
  EXPECT_EQ(d.Layers[1].Name, "");
  EXPECT_EQ(d.LineCount, 0);
  EXPECT_TRUE(ModelIsConsistent(d));

  b.Layer(0, 1).Name = std::string(65533, 'x');  // the longest 16-bit length
  EXPECT_TRUE(Load(d, b, 700));
  EXPECT_EQ(d.Layers[1].Name.size(), 65533u);
}

TEST_F(JwwReader, CutsTextsTo255BytesOnACharacterBoundary) {
  JwwBuilder b;
  b.AddText(MakeText(0, 0, std::string(300, 'a')));
  std::string japanese = std::string(254, 'a') + "\x93\xfa";  // a double-byte character across byte 255
  b.AddText(MakeText(0, 0, japanese));
  TEntJwwDimension dim = MakeDimension(0, 0, 1, 0, std::string(256, 'd'));
  dim.Text.FontName = std::string(400, 'f');
  b.AddDimension(dim);
  b.AddText(MakeText(0, 0, "after"));
  TJwwData d;
  ASSERT_TRUE(Load(d, b, 700));
  EXPECT_EQ(d.Texts[0].Content, std::string(255, 'a'));
  EXPECT_EQ(d.Texts[1].Content, std::string(254, 'a'));
  EXPECT_EQ(d.Dimensions[0].Text.Content, std::string(255, 'd'));
  EXPECT_EQ(d.Dimensions[0].Text.FontName, std::string(255, 'f'));
  EXPECT_EQ(d.Texts[2].Content, "after");
}

TEST_F(JwwReader, ReadsEveryTagAndCountForm) {
  JwwBuilder b = MakeSampleDrawing();
  for (int mode = 0; mode < 4; ++mode) {
    SCOPED_TRACE(mode);
    b.options.WideCounts = mode & 1;
    b.options.LongClassRefs = mode & 2;
    b.options.Schema = 0x1234;
    TJwwData d;
    ASSERT_TRUE(Load(d, b, 700));
    EXPECT_TRUE(ModelIsConsistent(d));
    EXPECT_EQ(d.EntityOrderCount, 13);
    EXPECT_EQ(d.LineCount, 2);
    EXPECT_EQ(d.BlockDefCount, 2);
    EXPECT_EQ(d.BlockDefs[1].Elements().SolidCount, 1);
  }
}

TEST_F(JwwReader, ReadsSeventyThousandElementsWithTheWideCount) {
  JwwBuilder b;
  for (int i = 0; i < 70000; ++i) {
    if (i % 2) {
      b.AddLine(MakeLine(i, 0, i, 1));
    } else {
      b.AddPoint(MakePoint(i, 0));
    }
  }
  const std::vector<uint8_t> bytes = b.Bytes(700);
  const size_t list = JwwBuilder().Bytes(700).size() - 2 - 2 - 4;
  ASSERT_EQ(bytes[list], 0xFF);
  ASSERT_EQ(bytes[list + 1], 0xFF);
  TJwwData d;
  ASSERT_TRUE(d.LoadFromBytes(bytes.data(), bytes.size()));
  EXPECT_EQ(d.EntityOrderCount, 70000);
  EXPECT_EQ(d.LineCount, 35000);
  EXPECT_EQ(d.PointCount, 35000);
  EXPECT_EQ(d.Lines[34999].X1, 69999.0);
  EXPECT_EQ(d.EntityOrder[69999].Kind, kKindLine);
  EXPECT_EQ(d.EntityOrder[69999].Row, 34999);
  EXPECT_TRUE(ModelIsConsistent(d));
}

// A class first seen late takes an index beyond 32766, so later objects
// refer to it with 0x7FFF and a uint32; the definitions share the numbering.
TEST_F(JwwReader, ClassIndicesRunOnAcrossAllLists) {
  JwwBuilder b;
  for (int i = 0; i < 20000; ++i) b.AddLine(MakeLine(i, 0, i, 1));
  b.AddArc(MakeCircle(0, 0, 1));  // class index 40000
  b.AddArc(MakeCircle(0, 0, 2));
  JwwBuilderBlockDef& d1 = b.AddBlockDef(1, "one");
  d1.Elements.Add(MakeText(0, 0, "t"));  // new class inside a definition
  d1.Elements.Add(MakeArc(0, 0, 3, 0, 1));
  JwwBuilderBlockDef& d2 = b.AddBlockDef(2, "two");
  d2.Elements.Add(MakeText(0, 0, "u"));  // refers to the class from definition one
  d2.Elements.Add(MakeLine(0, 0, 5, 5));
  TJwwData d;
  ASSERT_TRUE(Load(d, b, 700));
  EXPECT_EQ(d.ArcCount, 2);
  EXPECT_EQ(d.Arcs[1].Radius, 2.0);
  EXPECT_EQ(d.BlockDefs[1].Elements().Texts[0].Content, "u");
  EXPECT_EQ(d.BlockDefs[1].Elements().Lines[0].X2, 5.0);
  EXPECT_EQ(d.BlockDefs[0].Elements().Arcs[0].Radius, 3.0);
}

TEST_F(JwwReader, PointAndSolidTailsFollowLineTypeAndPen) {
  JwwBuilder b;
  TEntJwwPoint symbol = MakePoint(1, 2, MakeCommon(0, 0, 1, 100));
  symbol.Code = 7, symbol.Angle = 0.5, symbol.Scale = 3;
  b.AddPoint(symbol);
  b.AddPoint(MakePoint(3, 4));
  b.AddSolid(MakeSolid(0, 0, 1, 1, MakeCommon(0, 0, 10))).Rgb = 0xABCDEF;
  b.AddSolid(MakeSolid(0, 0, 1, 1, MakeCommon(0, 0, 9))).Rgb = 0xABCDEF;  // not stored
  JwwBuilderBlockDef& def = b.AddBlockDef(1, "p");
  def.Elements.Add(MakePoint(5, 6));
  TJwwData d;
  ASSERT_TRUE(Load(d, b, 700));
  EXPECT_EQ(d.Points[0].Code, 7u);
  EXPECT_EQ(d.Points[0].Angle, 0.5);
  EXPECT_EQ(d.Points[0].Scale, 3.0);
  EXPECT_EQ(d.Points[1].Code, 0u);
  EXPECT_EQ(d.Points[1].Scale, 1.0);
  EXPECT_EQ(d.BlockDefs[0].Elements().Points[0].Scale, 0.0);  // inside definitions
  EXPECT_EQ(d.BlockDefs[0].Elements().Points[0].X, 5.0);
  EXPECT_EQ(d.Solids[0].Rgb, 0xABCDEFu);
  EXPECT_EQ(d.Solids[1].Rgb, 0u);
}

TEST_F(JwwReader, DimensionsBefore420TakeTheirOwnAttributes) {
  JwwBuilder b;
  TEntJwwDimension dim = MakeDimension(0, 0, 10, 0, "10", MakeCommon(2, 3, 4, 5));
  dim.Common.Flags = 9;
  dim.SxfMode = 2;
  b.AddDimension(dim);
  b.AddLine(MakeLine(7, 7, 8, 8));
  TJwwData d;
  ASSERT_TRUE(Load(d, b, 419));
  const TEntJwwDimension& got = d.Dimensions[0];
  EXPECT_EQ(got.SxfMode, 0);
  EXPECT_EQ(got.Text.Content, "10");
  EXPECT_EQ(got.Line.X2, 10.0);
  for (const TEntJwwLine* l : {&got.AuxLine1, &got.AuxLine2}) {
    EXPECT_EQ(l->Common.LayerGroup, 2);
    EXPECT_EQ(l->Common.LineType, 5);
    EXPECT_EQ(l->Common.Flags, 9);
    EXPECT_EQ(l->X1, 0.0);
    EXPECT_EQ(l->Y2, 0.0);
  }
  for (const TEntJwwPoint* p : {&got.Point1, &got.Point2, &got.AuxPoint1, &got.AuxPoint2}) {
    EXPECT_EQ(p->Common.Layer, 3);
    EXPECT_EQ(p->Common.Color, 4);
    EXPECT_EQ(p->Common.LineType, 0);
    EXPECT_EQ(p->X, 0.0);
    EXPECT_EQ(p->Scale, 0.0);
  }
  EXPECT_EQ(d.Lines[0].X1, 7.0);  // the next element starts right after the text

  ASSERT_TRUE(Load(d, b, 420));
  EXPECT_EQ(d.Dimensions[0].SxfMode, 2);
  EXPECT_EQ(d.Dimensions[0].AuxLine2.X1, 10.0);
  EXPECT_EQ(d.Dimensions[0].AuxPoint1.Y, -5.0);
}

TEST_F(JwwReader, NegativeBlockTimeIsReplacedByThePosition) {
  JwwBuilder b;
  b.AddBlockDef(10, "a").Time = 77;
  b.AddBlockDef(11, "b").Time = -5;
  JwwBuilderBlockDef& third = b.AddBlockDef(12, "c\tname");
  third.Time = -1;
  third.Time64 = -1;
  third.Elements.Add(MakeLine(0, 0, 1, 1));
  TJwwData d;
  ASSERT_TRUE(Load(d, b, 700));
  ASSERT_EQ(d.BlockDefCount, 3);
  EXPECT_EQ(d.BlockDefs[0].Time, 77);
  EXPECT_EQ(d.BlockDefs[1].Time, 2);
  EXPECT_EQ(d.BlockDefs[2].Time, 3);
  EXPECT_EQ(d.BlockDefs[2].Name, "cname");
  EXPECT_EQ(d.BlockDefs[2].Number, 12);
  EXPECT_EQ(d.BlockDefs[2].Elements().LineCount, 1);
  EXPECT_EQ(d.BlockDefs[2].Elements().Order[0].Kind, kKindLine);
}

// Empty block definitions take 32 bytes of the file each: three million of
// them took ten times their file. Read, with and without an insert to build
// a tree from, they stay within four times (300,000 here).
TEST_F(JwwReader, ManyEmptyBlockDefinitionsStayWithinFourTimesTheirFile) {
  constexpr int32_t kDefs = 300'000;
  for (const int32_t inserts : {0, 1}) {
    JwwArchiveWriter w(700);
    w.Header(JwwDrawingDesc{});
    w.Count(static_cast<uint32_t>(inserts));
    if (inserts) w.Element(MakeInsert(0, 0, 5));
    w.Count(kDefs);
    for (JwwBuilderBlockDef def; def.Number < kDefs; ++def.Number) w.BlockDef(def);
    w.Images({}, std::nullopt);
    EXPECT_TRUE(RunsWithinMemory(4 * w.Buffer().size(), [&] {
      TJwwData d;
      return LoadFile(d, w.Buffer()) && d.BlockDefCount == kDefs && d.BlockTreeCount == inserts;
    })) << inserts;
  }
}

TEST_F(JwwReader, ReusedModelStartsFromScratch) {
  TJwwData d;
  ASSERT_TRUE(Load(d, MakeSampleDrawing(), 700));
  JwwBuilder small;
  small.AddLine(MakeLine(0, 0, 1, 1));
  ASSERT_TRUE(Load(d, small, 700));
  EXPECT_EQ(d.EntityOrderCount, 1);
  EXPECT_EQ(d.ArcCount + d.TextCount + d.BlockDefCount, 0);
  EXPECT_EQ(d.Header.Memo, "");
}
