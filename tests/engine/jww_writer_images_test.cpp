// The image section: which held images a save embeds.
#include <gtest/gtest.h>

#include <cstdio>

#include "bind_images.h"
#include "jww_builder.h"
#include "jww_data.h"
#include "jww_model_maker.h"

using namespace jwwtest;

namespace {

class WriterImages : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = FreshFolder("writer_images");
    BindImg.Reset();
    BindImg.TempFolder = folder;
    BindImg.BindImageExtractFlag = BindImg.BindImageKeepFlag = 1;
    MakeStableModel(m, 700);
    m.EntityOrderCount -= 2;  // without its own two image texts, the last rows
    m.TextCount -= 2;
  }
  void TearDown() override { BindImg.Reset(); }

  void Held(const std::string& name, const std::string& content, bool onDisk = true) {
    BindImg.BindImages.push_back({name, static_cast<int32_t>(content.size()), 0});
    BindImg.BindImageCount = static_cast<int32_t>(BindImg.BindImages.size());
    if (onDisk) WriteFile(folder + name, content);
  }
  static void WriteFile(const std::string& path, const std::string& content) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    std::fwrite(content.data(), 1, content.size(), f);
    std::fclose(f);
  }
  void ImageText(const std::string& path) { Append(m, MakeText(0, 0, "^@BM" + path + ",10,10,0,0,0,0")); }

  std::vector<uint8_t> Saved(int32_t v) {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(m.SaveToBytes(bytes, v));
    return bytes;
  }
  // The model's file with exactly these images in its section.
  std::vector<uint8_t> With(const std::vector<std::pair<std::string, std::string>>& images, int32_t v = 700) {
    JwwBuilder b = JwwBuilder::FromModel(m);
    for (const auto& [name, content] : images) b.AddImage(name, content);
    return b.Bytes(v);
  }

  std::string folder;
  TJwwData m;
};

}  // namespace

TEST_F(WriterImages, AHeldImageTextEmbedsItsFileFrom700Only) {
  Held("other.png", "unused");
  Held("pic.bmp.gz", "gzip bytes");
  ImageText("%temp%PIC.BMP");  // upper case; the held name has ".gz" on top
  EXPECT_TRUE(Saved(700) == With({{"pic.bmp.gz", "gzip bytes"}}));
  EXPECT_EQ(m.LastSaveDroppedImages, 0);
  EXPECT_EQ(BindImg.BindImages[0].Used, 0);
  EXPECT_EQ(BindImg.BindImages[1].Used, 1);
  EXPECT_TRUE(Saved(600) == JwwBuilder::FromModel(m).Bytes(600));
}

TEST_F(WriterImages, FlaggedImagesFollowTheListOrder) {
  Held("a.png", "aaa");
  Held("b.png", std::string(5000, 'b'));  // more than one 2048-byte chunk
  ImageText("%temp%b.png");
  ImageText("%temp%a.png");
  ImageText("%temp%b.png");
  EXPECT_TRUE(Saved(700) == With({{"a.png", "aaa"}, {"b.png", std::string(5000, 'b')}}));
}

TEST_F(WriterImages, TextsOfEveryBlockDefinitionCountButDroppedTextsDoNot) {
  Held("inner.png", "in");
  Held("dropped.png", "dr");
  TEntJwwBlockDef& unused = AddBlockDef(m, 40, "unreached");
  Append(unused, MakeText(0, 0, "^@BM%temp%inner.png,1,1"));
  ImageText("%temp%dropped.png");
  m.EntityOrder[static_cast<size_t>(m.EntityOrderCount) - 1].Kind += 100;
  m.TextCount -= 1;
  JwwBuilder expected = JwwBuilder::FromModel(m);
  expected.drawing.BlockDefs.pop_back();  // the unreached definition is not written
  expected.AddImage("inner.png", "in");
  EXPECT_TRUE(Saved(700) == expected.Bytes(700));
}

TEST_F(WriterImages, NothingIsEmbeddedThatIsNotThereOrNotMeantToBe) {
  Held("gone.png", "x", false);         // listed, but no file
  Held("../outside.png", "secret");     // a folder part would reach out of the folder
  Held("sub/inner.png", "x", false);
  Held("C:b.png", "x");
  ImageText("%temp%gone.png");
  ImageText("%temp%../outside.png");
  ImageText("%temp%sub/inner.png");
  ImageText("%temp%C:b.png");
  ImageText("C:\\pictures\\gone.png");  // a referenced image, not a held one
  Append(m, MakeText(0, 0, "^@BM%temp%gone.png"));  // no ","
  EXPECT_TRUE(Saved(700) == With({}));
  for (const TBindImageType& r : BindImg.BindImages) EXPECT_EQ(r.Used, 0) << r.Name;
  EXPECT_EQ(m.LastSaveDroppedImages, 4);  // the save tells what it left out
}

TEST_F(WriterImages, WithNeitherFlagTheSectionIsEmpty) {
  Held("pic.png", "p");
  ImageText("%temp%pic.png");
  BindImg.BindImageExtractFlag = BindImg.BindImageKeepFlag = 0;
  EXPECT_TRUE(Saved(700) == With({}));
  EXPECT_EQ(BindImg.BindImages[0].Used, 0);
  BindImg.BindImageKeepFlag = 1;
  EXPECT_TRUE(Saved(700) == With({{"pic.png", "p"}}));
}
