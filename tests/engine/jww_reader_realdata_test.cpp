// Drawings saved by Jw_cad: each loads completely, with the counts and
// values checked by hand against the file bytes.
#include <gtest/gtest.h>

#include "bind_images.h"
#include "file_io.h"
#include "gval.h"
#include "jww_builder.h"
#include "jww_data.h"
#include "jww_reader_checks.h"
#include "test_paths.h"

namespace {

struct RealFile {
  const char* name;
  int32_t lines, arcs, texts, inserts, defs;
  int32_t paperSize;
  int32_t drawingTime;
  const char* editTime;
  double group0Scale, group1Scale;
  int32_t maxDrawWidth;
  bool unicode;  // every string in the Unicode form
  const char* memo;
};

const RealFile kFiles[] = {
    {"v700-blocks-2-circles-blocks.jww", 4, 0, 6, 1, 1, 3, 129, "0 : 02", 50, 200, -300, true, ""},
    {"v700-blocks-2blocks.jww", 0, 0, 6, 2, 2, 3, 56, "0 : 00", 50, 200, -300, true, ""},
    {"v700-blocks-3blocks.jww", 0, 0, 6, 1, 1, 3, 134, "0 : 02", 50, 200, -300, true, ""},
    {"v700-blocks-copy-block.jww", 0, 0, 6, 1, 1, 3, 74, "0 : 01", 50, 200, -300, true, ""},
    {"v700-blocks-non_block.jww", 4, 2, 6, 0, 0, 3, 82, "0 : 01", 50, 200, -300, true, ""},
    {"v700-blocks-out1_in2.jww", 1, 0, 6, 1, 1, 3, 45, "0 : 00", 50, 200, -300, true, ""},
    {"v700-blocks-sqr-circle-blocks.jww", 0, 1, 6, 1, 1, 3, 130, "0 : 02", 50, 200, -300, true, ""},
    {"v700-small-1.jww", 8, 0, 0, 0, 0, 4, 222, "0 : 03", 100, 100, 100, false, "\r\n"},
    {"v700-small-2.jww", 9, 1, 0, 0, 0, 4, 158, "0 : 02", 100, 100, 100, false, "\r\n"},
    {"v700-template-a.jww", 0, 0, 6, 0, 0, 3, 79, "0 : 01", 50, 50, 100, false, "\r\n"},
    {"v700-template-b.jww", 0, 0, 6, 0, 0, 3, 194, "0 : 03", 100, 100, 100, false, ""},
};

void PrintTo(const RealFile& f, std::ostream* os) { *os << f.name; }

class RealDrawing : public ::testing::TestWithParam<RealFile> {
 protected:
  void SetUp() override {
    Gval.Reset();
    BindImg.Reset();
    BindImg.BindImageKeepFlag = 1;
  }
};

}  // namespace

TEST_P(RealDrawing, LoadsWithTheCountsAndHeaderOfTheFile) {
  const RealFile& f = GetParam();
  TJwwData d;
  ASSERT_TRUE(d.LoadFromFile(RealDataPath(f.name)));
  EXPECT_TRUE(jwwtest::ModelIsConsistent(d));
  EXPECT_EQ(d.Header.Signature, "JwwData.");
  EXPECT_EQ(d.Header.Version, 700);
  EXPECT_EQ(d.Header.Memo, f.memo);
  EXPECT_EQ(d.Header.PaperSize, f.paperSize);
  EXPECT_EQ(d.Header.DrawingTime, f.drawingTime);
  EXPECT_EQ(d.Header.MaxDrawWidth, f.maxDrawWidth);
  EXPECT_EQ(d.Header.PrintScale, 1.0);
  EXPECT_EQ(d.LayerGroups[0].Scale, f.group0Scale);
  EXPECT_EQ(d.LayerGroups[1].Scale, f.group1Scale);
  EXPECT_EQ(d.LayerGroups[0].State, 3);
  // Print value 10 in every one of these files.
  EXPECT_EQ(d.Header.SkipDisplayOnlyLayers, 0);
  EXPECT_EQ(d.Header.DotPitchClass, 1);

  EXPECT_EQ(d.LineCount, f.lines);
  EXPECT_EQ(d.ArcCount, f.arcs);
  EXPECT_EQ(d.PointCount, 0);
  EXPECT_EQ(d.TextCount, f.texts);
  EXPECT_EQ(d.DimensionCount, 0);
  EXPECT_EQ(d.SolidCount, 0);
  EXPECT_EQ(d.BlockInsertCount, f.inserts);
  EXPECT_EQ(d.EntityOrderCount, f.lines + f.arcs + f.texts + f.inserts);
  EXPECT_EQ(d.BlockDefCount, f.defs);
  EXPECT_EQ(d.BlockListCount, f.defs);
  EXPECT_EQ(BindImg.BindImageCount, 0);

  EXPECT_EQ(Gval.DrawingFileName, RealDataPath(f.name));
  EXPECT_EQ(Gval.DrawingEditTime, f.editTime);
  EXPECT_EQ(Gval.PrintScale, 1.0);

  // Every text of these files is a setting text in "ＭＳ ゴシック" at (0, -1000).
  for (const TEntJwwText& t : d.Texts) {
    EXPECT_EQ(t.FontName, "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e");
    EXPECT_EQ(t.StartY, -1000.0);
    EXPECT_EQ(t.SizeX, 3.0);
    EXPECT_EQ(t.Spacing, 0.5);
  }
  if (f.texts > 0) {
    EXPECT_EQ(d.Texts[0].Content, "Printer_Orientation = 0");
  }
}

// Reading a real file and describing the model to the test-side builder
// gives the file's bytes again: every field the reader stores lands where
// the file had it.
TEST_P(RealDrawing, ModelRebuildsToTheSameBytes) {
  const RealFile& f = GetParam();
  TJwwData d;
  ASSERT_TRUE(d.LoadFromFile(RealDataPath(f.name)));
  std::vector<uint8_t> original;
  ASSERT_TRUE(ReadWholeFile(RealDataPath(f.name), original));
  jwwtest::JwwBuilder b = jwwtest::JwwBuilder::FromModel(d);
  b.options.UnicodeMemo = b.options.UnicodeStrings = f.unicode;
  // The reserved header bytes are not kept by the model: carry them over.
  const size_t step6 = 8 + 4 + (f.unicode ? 4 : 1 + std::string(f.memo).size()) + 8 + 16 * 148;
  std::array<uint8_t, 60> reserved{};
  std::copy_n(original.begin() + step6, 56, reserved.begin());
  std::copy_n(original.begin() + step6 + 56 + 20, 4, reserved.begin() + 56);
  b.options.ReservedBytes = reserved;
  const std::vector<uint8_t> rebuilt = b.Bytes(700);
  EXPECT_EQ(rebuilt.size(), original.size());
  size_t at = 0;
  while (at < rebuilt.size() && at < original.size() && rebuilt[at] == original[at]) ++at;
  EXPECT_EQ(at, original.size()) << "first difference at byte " << at;
}

INSTANTIATE_TEST_SUITE_P(Files, RealDrawing, ::testing::ValuesIn(kFiles),
                         [](const ::testing::TestParamInfo<RealFile>& info) {
                           std::string n = info.param.name;
                           for (char& c : n)
                             if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                           return n;
                         });

TEST(RealDrawingValues, BlocksAndElementsHoldTheStoredValues) {
  TJwwData d;
  ASSERT_TRUE(d.LoadFromFile(RealDataPath("v700-blocks-2blocks.jww")));
  ASSERT_EQ(d.BlockInsertCount, 2);
  EXPECT_EQ(d.EntityOrder[0].Kind, kKindBlockInsert);
  EXPECT_EQ(d.EntityOrder[1].Row, 1);
  EXPECT_EQ(d.EntityOrder[2].Kind, kKindText);
  EXPECT_DOUBLE_EQ(d.BlockInserts[0].X, -4.632352941176469);
  EXPECT_DOUBLE_EQ(d.BlockInserts[0].Y, 18.854489164086687);
  EXPECT_EQ(d.BlockInserts[0].ScaleX, 1.0);
  EXPECT_EQ(d.BlockInserts[0].BlockNumber, 0u);
  EXPECT_EQ(d.BlockInserts[1].BlockNumber, 1u);
  EXPECT_EQ(d.BlockInserts[0].Common.LineType, 1);
  EXPECT_EQ(d.BlockInserts[0].Common.Color, 2);
  EXPECT_EQ(d.Texts[0].Common.Color, 9);

  ASSERT_EQ(d.BlockDefCount, 2);
  const TEntJwwBlockDef& lines = d.BlockDefs[0];
  EXPECT_EQ(lines.Name, "2lines@@SfigorgFlag@@4");
  EXPECT_EQ(lines.Number, 0);
  EXPECT_EQ(lines.Referenced, 1);
  EXPECT_EQ(lines.Time, 1787105042);
  EXPECT_EQ(lines.Elements().LineCount, 2);
  EXPECT_EQ(lines.Elements().OrderCount, 2);
  EXPECT_DOUBLE_EQ(lines.Elements().Lines[0].X1, -16.822755417956657);
  EXPECT_DOUBLE_EQ(lines.Elements().Lines[1].Y2, -17.879256965944272);
  const TEntJwwBlockDef& circles = d.BlockDefs[1];
  EXPECT_EQ(circles.Name, "2circles@@SfigorgFlag@@4");
  EXPECT_EQ(circles.Number, 1);
  ASSERT_EQ(circles.Elements().ArcCount, 2);
  EXPECT_DOUBLE_EQ(circles.Elements().Arcs[0].Radius, 21.848006785788087);
  EXPECT_DOUBLE_EQ(circles.Elements().Arcs[0].ArcAngle, 6.283185307179586);
  EXPECT_EQ(circles.Elements().Arcs[0].Flatness, 1.0);
  EXPECT_EQ(circles.Elements().Arcs[1].FullCircle, 1u);

  // Layer names of group 8, stored in Shift-JIS.
  EXPECT_EQ(d.Layers[128].Name, "\x92\xca\x82\xe8\x90\x63");  // 通り芯
  EXPECT_EQ(d.Layers[142].Name, "\x90\xdd\x94\xf5");          // 設備
  EXPECT_EQ(d.Layers[127].Name, "");
  EXPECT_EQ(d.Header.DimensionSettings[0], 3002888);
  EXPECT_EQ(d.Header.DrawSwitches[0], 1);
  EXPECT_EQ(d.Header.DrawSwitches[5], 1);
  EXPECT_EQ(d.Header.GridMinDots, 15.0);
  EXPECT_EQ(d.Header.GridPitchX, 5.0);
}

TEST(RealDrawingValues, LinesAndArcsOfASmallDrawing) {
  TJwwData d;
  ASSERT_TRUE(d.LoadFromFile(RealDataPath("v700-small-2.jww")));
  ASSERT_EQ(d.LineCount, 9);
  EXPECT_DOUBLE_EQ(d.Lines[0].X1, -119.71337579617834);
  EXPECT_DOUBLE_EQ(d.Lines[0].Y1, 68.21656050955414);
  EXPECT_DOUBLE_EQ(d.Lines[0].X2, -76.46496815286625);
  EXPECT_DOUBLE_EQ(d.Lines[5].Y2, 45.254777070063696);
  EXPECT_EQ(d.Lines[0].Common.Color, 2);
  EXPECT_EQ(d.Lines[0].Common.Width, 0);
  ASSERT_EQ(d.ArcCount, 1);
  EXPECT_DOUBLE_EQ(d.Arcs[0].CenterX, -16.05095541401274);
  EXPECT_DOUBLE_EQ(d.Arcs[0].Radius, 27.459321944239424);
  EXPECT_EQ(Gval.DrawingMemo1, "");
  EXPECT_EQ(Gval.DrawingMemo2, "");
}
