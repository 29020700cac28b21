// Damaged files: cut, flipped, with impossible counts or unknown classes.
// The reader answers false, keeps what it read before the fault in a
// consistent model, and never crashes, hangs or allocates without bound.
#include <gtest/gtest.h>

#include <random>

#include "bind_images.h"
#include "gval.h"
#include "jww_builder.h"
#include "jww_data.h"
#include "jww_reader_checks.h"

using namespace jwwtest;

namespace {

class JwwReaderDamage : public ::testing::Test {
 protected:
  void SetUp() override {
    BindImg.Reset();
    BindImg.BindImageKeepFlag = 1;  // parse the image section, write nothing
  }
  void TearDown() override { BindImg.Reset(); }
};

int32_t ElementsRead(const TJwwData& d) {
  int32_t n = d.LineCount + d.ArcCount + d.PointCount + d.TextCount + d.DimensionCount + d.SolidCount +
              d.BlockInsertCount;
  for (const TEntJwwBlockDef& block : d.BlockDefs) {
    const TEntJwwBlockDefElements& def = block.Elements();
    n += def.LineCount + def.ArcCount + def.PointCount + def.TextCount + def.DimensionCount + def.SolidCount +
         def.InsertCount;
  }
  return n;
}

void CutAtEveryOffset(const std::vector<uint8_t>& file, size_t from) {
  TJwwData d;
  int32_t before = 0;
  for (size_t cut = from; cut < file.size(); ++cut) {
    const bool ok = d.LoadFromBytes(file.data(), cut);
    ASSERT_FALSE(ok) << "cut at " << cut;
    ASSERT_TRUE(ModelIsConsistent(d)) << "cut at " << cut;
    ASSERT_EQ(d.Layers.size(), 256u);
    // A longer piece never holds fewer elements.
    const int32_t read = ElementsRead(d);
    ASSERT_GE(read, before) << "cut at " << cut;
    before = read;
  }
  ASSERT_TRUE(d.LoadFromBytes(file.data(), file.size()));
}

}  // namespace

TEST_F(JwwReaderDamage, CutAtAnyOffsetAnswersFalseWithAConsistentModel) {
  JwwBuilder b = MakeSampleDrawing();
  b.drawing.Images[1].Content.resize(100);  // keep the file small
  // Version 350: short common parts, every element kind, the definitions.
  CutAtEveryOffset(b.Bytes(350), 0);
  // Version 700: the extended tables, the SXF parts and the image section.
  const std::vector<uint8_t> v700 = b.Bytes(700);
  CutAtEveryOffset(v700, 0);
  // The partial model keeps the elements read before the cut.
  TJwwData full, cut;
  ASSERT_TRUE(full.LoadFromBytes(v700.data(), v700.size()));
  ASSERT_FALSE(cut.LoadFromBytes(v700.data(), v700.size() - 200));
  EXPECT_EQ(cut.LineCount, full.LineCount);
  EXPECT_EQ(cut.BlockDefCount, 2);
  EXPECT_EQ(cut.BlockDefs[1].Name, "knob");
}

TEST_F(JwwReaderDamage, FlippedBytesNeverCrash) {
  JwwBuilder b = MakeSampleDrawing();
  b.drawing.Images[1].Content.resize(100);
  const std::vector<uint8_t> file = b.Bytes(351);
  TJwwData d;
  for (size_t at = 0; at < file.size(); ++at) {
    std::vector<uint8_t> bad = file;
    bad[at] ^= 0xFF;
    d.LoadFromBytes(bad.data(), bad.size());
    ASSERT_TRUE(ModelIsConsistent(d)) << "flipped " << at;
  }
  const std::vector<uint8_t> v700 = b.Bytes(700);
  std::mt19937 rng(12345);
  for (int round = 0; round < 1000; ++round) {
    std::vector<uint8_t> bad = v700;
    const int flips = 1 + static_cast<int>(rng() % 4);
    for (int k = 0; k < flips; ++k) {
      const size_t at = v700.size() - 1 - rng() % 1500;  // the body, where the structure is
      bad[at] = static_cast<uint8_t>(rng());
    }
    d.LoadFromBytes(bad.data(), bad.size());
    ASSERT_TRUE(ModelIsConsistent(d)) << "round " << round;
  }
}

// Counts far beyond the data fail before anything is allocated for them.
TEST_F(JwwReaderDamage, ImpossibleCountsFailAtOnce) {
  for (uint32_t count : {0xFFFFFFFFu, 0x10000000u, 1000u}) {
    SCOPED_TRACE(count);
    {
      JwwBuilder b;
      b.AddLine(MakeLine(0, 0, 1, 1));
      b.drawing.Elements.CountOverride = count;
      TJwwData d;
      EXPECT_FALSE(b.Bytes(700).empty());
      const std::vector<uint8_t> f = b.Bytes(700);
      EXPECT_FALSE(d.LoadFromBytes(f.data(), f.size()));
      EXPECT_EQ(d.EntityOrder.size(), 0u);
      EXPECT_EQ(d.EntityOrderCount, 0);
    }
    {
      JwwBuilder b;
      b.AddBlockDef(1, "a");
      b.drawing.BlockDefCountOverride = count;
      const std::vector<uint8_t> f = b.Bytes(700);
      TJwwData d;
      EXPECT_FALSE(d.LoadFromBytes(f.data(), f.size()));
      EXPECT_EQ(d.BlockDefs.size(), 0u);
      EXPECT_TRUE(ModelIsConsistent(d));
    }
    {
      JwwBuilder b;
      b.AddBlockDef(1, "a").Elements.CountOverride = count;
      const std::vector<uint8_t> f = b.Bytes(700);
      TJwwData d;
      EXPECT_FALSE(d.LoadFromBytes(f.data(), f.size()));
      ASSERT_EQ(d.BlockDefs.size(), 1u);
      EXPECT_EQ(d.BlockDefs[0].Elements().Order.size(), 0u);
      EXPECT_TRUE(ModelIsConsistent(d));
    }
    {
      JwwBuilder b;
      b.AddImage("a.bmp", "xyz");
      b.drawing.ImageCountOverride = count;
      const std::vector<uint8_t> f = b.Bytes(700);
      TJwwData d;
      EXPECT_FALSE(d.LoadFromBytes(f.data(), f.size()));
      EXPECT_EQ(BindImg.BindImages.size(), 0u);
    }
  }
  // An image whose size runs past the end.
  JwwBuilder b;
  b.AddImage("a.bmp", "xyz").SizeOverride = 0xFFFFFFFFu;
  const std::vector<uint8_t> f = b.Bytes(700);
  TJwwData d;
  EXPECT_FALSE(d.LoadFromBytes(f.data(), f.size()));
}

// An object of a class other than the seven element kinds (or naming no
// class read before) ends the read: its size is unknown, so nothing after
// it can be trusted.
TEST_F(JwwReaderDamage, UnknownClassesEndTheRead) {
  auto raw = [](std::initializer_list<uint8_t> bytes) { return JwwElement(JwwRawObject{bytes}); };
  struct Case {
    const char* what;
    JwwElement object;
  };
  const Case cases[] = {
      {"foreign class", JwwForeignObject{"CDataFoo", std::vector<uint8_t>(60, 0)}},
      {"block definition class", JwwForeignObject{"CDataList", std::vector<uint8_t>(60, 0)}},
      {"case differs", JwwForeignObject{"CDataSEN", std::vector<uint8_t>(47, 0)}},
      {"unknown index", raw({0x63, 0x80})},
      {"index 0", raw({0x00, 0x80})},
      {"object index of the first line", raw({0x02, 0x80})},
      {"wide unknown index", raw({0xFF, 0x7F, 0x50, 0xC3, 0x00, 0x80})},
      {"object back-reference", raw({0x01, 0x00})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (bool inDefinition : {false, true}) {
      JwwBuilder b;
      JwwElementList& list = inDefinition ? b.AddBlockDef(1, "d").Elements : b.Elements();
      list.Add(MakeLine(0, 0, 1, 1));
      list.Items.push_back(c.object);
      list.Add(MakeLine(2, 2, 3, 3));
      const std::vector<uint8_t> f = b.Bytes(700);
      TJwwData d;
      EXPECT_FALSE(d.LoadFromBytes(f.data(), f.size()));
      EXPECT_TRUE(ModelIsConsistent(d));
      if (inDefinition) {
        ASSERT_EQ(d.BlockDefCount, 1);
        EXPECT_EQ(d.BlockDefs[0].Elements().LineCount, 1);
        EXPECT_EQ(d.BlockDefs[0].Elements().OrderCount, 3);
        EXPECT_EQ(d.BlockDefs[0].Elements().Order[1].Kind, 0);
      } else {
        EXPECT_EQ(d.LineCount, 1);
        EXPECT_EQ(d.EntityOrderCount, 3);
        EXPECT_EQ(d.EntityOrder[0].Kind, kKindLine);
        EXPECT_EQ(d.EntityOrder[1].Kind, 0);
        EXPECT_EQ(d.EntityOrder[2].Kind, 0);
        EXPECT_EQ(d.BlockDefCount, 0);
      }
    }
  }
}

TEST_F(JwwReaderDamage, LoadFromFilePublishesWhatWasRead) {
  JwwBuilder b = MakeSampleDrawing();
  std::vector<uint8_t> f = b.Bytes(700);
  f.resize(f.size() - 50);
  const std::string path = ::testing::TempDir() + "jww_reader_damage_cut.jww";
  std::FILE* out = std::fopen(path.c_str(), "wb");
  ASSERT_NE(out, nullptr);
  std::fwrite(f.data(), 1, f.size(), out);
  std::fclose(out);
  Gval.Reset();
  TJwwData d;
  EXPECT_FALSE(d.LoadFromFile(path));
  EXPECT_EQ(Gval.DrawingEditTime, "1 : 02");
  EXPECT_EQ(Gval.DrawingMemo1, "first line");
  EXPECT_EQ(Gval.DrawingMemo2, "second line");
  EXPECT_EQ(d.BlockInsertCount, 2);
  Gval.Reset();
}
