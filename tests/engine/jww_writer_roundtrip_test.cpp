// Round trips through files: builder files saved again unchanged, real
// drawings surviving a save, and drawings saved as every older version read
// back with what that version can hold.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "bind_images.h"
#include "file_io.h"
#include "jww_builder.h"
#include "jww_data.h"
#include "jww_model_maker.h"
#include "test_paths.h"

using namespace jwwtest;

namespace {

const int32_t kVersions[] = {220, 223, 225, 230, 231, 300, 350, 351, 420, 600, 700};

std::vector<uint8_t> Saved(TJwwData& m, int32_t v) {
  std::vector<uint8_t> bytes;
  EXPECT_TRUE(m.SaveToBytes(bytes, v)) << v;
  return bytes;
}

bool Load(TJwwData& m, const std::vector<uint8_t>& bytes) {
  const bool ok = m.LoadFromBytes(bytes.data(), bytes.size());
  m.BuildBlockTree();
  return ok;
}

// Everything a file of version v holds of a model, as the builder encodes it.
std::vector<uint8_t> FileView(const TJwwData& m, int32_t v) {
  return JwwBuilder::FromModel(m, v >= 700 ? BindImg.BindImages : std::vector<TBindImageType>{}).Bytes(v);
}

class RoundTrip : public ::testing::TestWithParam<int32_t> {
 protected:
  void SetUp() override { InstallStableImages(FreshFolder("writer_round_trip")); }
  void TearDown() override { BindImg.Reset(); }
};

}  // namespace

TEST_P(RoundTrip, BuilderFileReadAndSavedAgainIsByteIdentical) {
  const int32_t v = GetParam();
  TJwwData source;
  MakeStableModel(source, v);
  const std::vector<uint8_t> file =
      JwwBuilder::FromModel(source, v >= 700 ? BindImg.BindImages : std::vector<TBindImageType>{}, StableImages())
          .Bytes(v);
  // The reader extracts the held images into the temporary folder again.
  const std::string folder = BindImg.TempFolder;
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  TJwwData m;
  ASSERT_TRUE(Load(m, file));
  const std::vector<uint8_t> again = Saved(m, v);
  EXPECT_EQ(again.size(), file.size());
  EXPECT_TRUE(again == file);
}

TEST_P(RoundTrip, DrawingSavedInItsOwnVersionReadsBackAsTheSameModel) {
  const int32_t v = GetParam();
  TJwwData m;
  MakeStableModel(m, v);
  TJwwData back;
  ASSERT_TRUE(Load(back, Saved(m, v)));
  EXPECT_TRUE(FileView(back, v) == FileView(m, v));
  EXPECT_EQ(back.EntityOrderCount, m.EntityOrderCount);
  EXPECT_EQ(back.UsedBlockDefCount, 2);
  if (v >= 700) {
    ASSERT_EQ(BindImg.BindImageCount, 2);
    EXPECT_EQ(BindImg.BindImages[0].Size, 3000);
  }
}

INSTANTIATE_TEST_SUITE_P(EveryVersionBranch, RoundTrip, ::testing::ValuesIn(kVersions));

TEST(JwwWriterRoundTrip, RealDrawingsSurviveASave) {
  const std::string names[] = {"v700-blocks-2-circles-blocks.jww", "v700-blocks-2blocks.jww",
                               "v700-blocks-3blocks.jww",          "v700-blocks-copy-block.jww",
                               "v700-blocks-non_block.jww",        "v700-blocks-out1_in2.jww",
                               "v700-blocks-sqr-circle-blocks.jww", "v700-small-1.jww",
                               "v700-small-2.jww",                 "v700-template-a.jww",
                               "v700-template-b.jww"};
  BindImg.Reset();
  for (const std::string& name : names) {
    TJwwData m;
    ASSERT_TRUE(m.LoadFromFile(RealDataPath(name))) << name;
    const int32_t v = m.Header.Version;
    const std::vector<uint8_t> first = Saved(m, v);
    TJwwData back;
    ASSERT_TRUE(Load(back, first)) << name;
    // The save corrects what Jw_cad left outside the writer's ranges; after
    // that a second save changes nothing.
    EXPECT_TRUE(Saved(back, v) == first) << name;
    EXPECT_EQ(back.BlockDefCount, m.UsedBlockDefCount) << name;
    EXPECT_EQ(back.EntityOrderCount, m.EntityOrderCount) << name;
    EXPECT_EQ(back.Header.Memo, m.Header.Memo) << name;
    ASSERT_EQ(back.LineCount, m.LineCount) << name;
    for (int32_t i = 0; i < m.LineCount; ++i) {
      EXPECT_EQ(back.Lines[i].X1, m.Lines[i].X1);
      EXPECT_EQ(back.Lines[i].Y2, m.Lines[i].Y2);
      EXPECT_EQ(back.Lines[i].Common.Layer, m.Lines[i].Common.Layer);
    }
    ASSERT_EQ(back.TextCount, m.TextCount) << name;
    for (int32_t i = 0; i < m.TextCount; ++i) EXPECT_EQ(back.Texts[i].Content, m.Texts[i].Content);
  }
}

namespace {

// A stable version-700 drawing, saved as an older version and read back.
class DownConversion : public ::testing::TestWithParam<int32_t> {
 protected:
  void SetUp() override {
    InstallStableImages(FreshFolder("writer_down"));
    MakeStableModel(src, 700);
    const std::vector<uint8_t> file = Saved(src, GetParam());
    ClearBindImages();
    ASSERT_TRUE(Load(back, file));
  }
  void TearDown() override { BindImg.Reset(); }

  TJwwData src, back;
};

}  // namespace

TEST_P(DownConversion, TheOlderVersionHoldsWhatItCan) {
  const int32_t v = GetParam();
  const TEntJwwHeader& h = back.Header;
  EXPECT_EQ(h.Version, v);
  EXPECT_EQ(h.Memo, src.Header.Memo);
  EXPECT_EQ(h.SkyMapLevel, v >= 300 ? 3.5 : 0.0);
  EXPECT_EQ(h.DrawingTime, v >= 223 ? 3725 : 0);
  EXPECT_EQ(h.LastLineLength, v >= 225 ? 100.0 : 0.0);
  EXPECT_EQ(h.SolidColor, v >= 230 ? 0x123456 : 0);
  EXPECT_EQ(h.JumpLayerGroup[2], v >= 231 ? 1 : -1);
  EXPECT_EQ(h.JumpScale[6], v >= 231 ? 7.0 : 1.0);
  EXPECT_EQ(h.JumpLayerGroup[4], v >= 231 ? 0 : -1);
  EXPECT_EQ(h.MaxDrawWidth, v <= 420 ? -101 : -450);
  EXPECT_EQ(h.DotPitchClass, v >= 600 ? 2 : 0);
  EXPECT_EQ(h.SkipDisplayOnlyLayers, 1);
  EXPECT_EQ(back.ColorsEx[20].Color, v >= 420 ? 0x1400 : 0);
  EXPECT_EQ(back.LineTypesEx[3].Name, v >= 420 ? "LType_3" : "");
  EXPECT_EQ(BindImg.BindImageCount, v >= 700 ? 2 : 0);

  // Below 420 the SXF dimension gains two lines and four points, two of
  // them temporary; the extended pens and line types fall back to basic ones.
  const bool split = v < 420;
  EXPECT_EQ(back.LineCount, src.LineCount + (split ? 2 : 0));
  EXPECT_EQ(back.PointCount, src.PointCount + (split ? 4 : 0));
  EXPECT_EQ(back.EntityOrderCount, src.EntityOrderCount + (split ? 6 : 0));
  EXPECT_EQ(back.DimensionCount, src.DimensionCount);
  int temporary = 0;
  for (int32_t i = 0; i < back.PointCount; ++i) temporary += back.Points[i].Temporary == 1;
  EXPECT_EQ(temporary, split ? 3 : 1);
  EXPECT_EQ(back.Dimensions[0].SxfMode, split ? 0 : 1);

  const TEntJwwLine& extLine = back.Lines[back.LineCount - 1];  // line type 40, pen 110
  EXPECT_EQ(extLine.Common.LineType, split ? 6 : 40);
  EXPECT_EQ(extLine.Common.Color, split ? 8 : 110);
  const TEntJwwArc& extArc = back.Arcs[back.ArcCount - 1];  // line type 62, pen 356
  EXPECT_EQ(extArc.Common.LineType, split ? 0 : 62);
  EXPECT_EQ(extArc.Common.Color, split ? 0 : 356);
  EXPECT_EQ(back.Lines[0].Common.Width, v >= 351 ? 25 : 0);
  EXPECT_EQ(back.Lines[0].X2, 100.0);
  EXPECT_EQ(back.Texts[0].Content, src.Texts[0].Content);

  // The inner dimension of block 1 is split as well.
  ASSERT_EQ(back.BlockDefCount, 2);
  EXPECT_EQ(back.BlockDefs[1].Elements().OrderCount, 4 + (split ? 6 : 0));
  EXPECT_EQ(back.BlockDefs[1].Name, src.BlockDefs[1].Name);
  EXPECT_EQ(back.UsedBlockDefCount, 2);
}

INSTANTIATE_TEST_SUITE_P(EveryOlderVersion, DownConversion,
                         ::testing::Values(220, 223, 225, 230, 231, 300, 350, 351, 419, 420, 600, 699, 700));
