// Held images of version 700 files: listed in BindImages, written into
// TempFolder when extraction is on, never written anywhere else.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "bind_images.h"
#include "jww_builder.h"
#include "jww_data.h"

using namespace jwwtest;
namespace fs = std::filesystem;

namespace {

class JwwReaderImages : public ::testing::Test {
 protected:
  void SetUp() override {
    BindImg.Reset();
    std::string tmpl = ::testing::TempDir() + "jwwimg_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
    root_ = tmpl;
    fs::create_directory(root_ / "temp");
    BindImg.TempFolder = (root_ / "temp").string() + "/";
  }
  void TearDown() override {
    BindImg.Reset();
    fs::remove_all(root_);
  }

  bool Load(const JwwBuilder& b, int32_t version = 700) {
    const std::vector<uint8_t> f = b.Bytes(version);
    TJwwData d;
    return d.LoadFromBytes(f.data(), f.size());
  }
  std::string Contents(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  // Every regular file under the test root, as paths relative to it.
  std::vector<std::string> FilesUnderRoot() {
    std::vector<std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(root_))
      if (e.is_regular_file()) out.push_back(fs::relative(e.path(), root_).string());
    std::sort(out.begin(), out.end());
    return out;
  }

  fs::path root_;
};

}  // namespace

TEST_F(JwwReaderImages, ExtractsEveryHeldImageIntoTheTempFolder) {
  BindImg.BindImageExtractFlag = 1;
  BindImg.BindImageKeepFlag = 1;
  BindImg.BindImages.push_back({"stale.bmp", 1, 1});
  BindImg.BindImageCount = 1;
  JwwBuilder b;
  std::string big(2048 * 3 + 5, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
  b.AddImage("big.bin.gz", big);
  b.AddImage("", "ignored");  // no name: no bytes follow
  b.AddImage("empty.bmp", "");
  b.AddImage("two.bmp", std::string(2048, 'z'));
  ASSERT_TRUE(Load(b));
  ASSERT_EQ(BindImg.BindImageCount, 4);
  ASSERT_EQ(BindImg.BindImages.size(), 4u);
  EXPECT_EQ(BindImg.BindImages[0].Name, "big.bin.gz");
  EXPECT_EQ(BindImg.BindImages[0].Size, static_cast<int32_t>(big.size()));
  EXPECT_EQ(BindImg.BindImages[0].Used, 0);
  EXPECT_EQ(BindImg.BindImages[1].Name, "");
  EXPECT_EQ(BindImg.BindImages[1].Size, 7);
  EXPECT_EQ(BindImg.BindImages[3].Name, "two.bmp");
  EXPECT_EQ(Contents(root_ / "temp" / "big.bin.gz"), big);
  EXPECT_EQ(Contents(root_ / "temp" / "two.bmp"), std::string(2048, 'z'));
  EXPECT_EQ(FilesUnderRoot(), (std::vector<std::string>{"temp/big.bin.gz", "temp/two.bmp"}));
}

TEST_F(JwwReaderImages, KeepFlagAloneListsWithoutWriting) {
  BindImg.BindImageKeepFlag = 1;
  JwwBuilder b;
  b.AddImage("a.bmp", "aaaa");
  b.AddImage("b.bmp", "bb");
  ASSERT_TRUE(Load(b));
  ASSERT_EQ(BindImg.BindImageCount, 2);
  EXPECT_EQ(BindImg.BindImages[1].Name, "b.bmp");
  EXPECT_EQ(BindImg.BindImages[1].Size, 2);
  EXPECT_TRUE(FilesUnderRoot().empty());
}

TEST_F(JwwReaderImages, NoFlagEmptiesTheListAndSkipsTheSection) {
  BindImg.BindImages.push_back({"stale.bmp", 1, 0});
  BindImg.BindImageCount = 1;
  JwwBuilder b;
  b.AddImage("a.bmp", "aaaa");
  ASSERT_TRUE(Load(b));
  EXPECT_EQ(BindImg.BindImageCount, 0);
  EXPECT_TRUE(BindImg.BindImages.empty());
}

TEST_F(JwwReaderImages, OlderVersionsLeaveTheListAlone) {
  BindImg.BindImageExtractFlag = 1;
  BindImg.BindImages.push_back({"kept.bmp", 1, 0});
  BindImg.BindImageCount = 1;
  JwwBuilder b;
  b.AddImage("a.bmp", "aaaa");  // not stored before 700
  ASSERT_TRUE(Load(b, 600));
  ASSERT_EQ(BindImg.BindImageCount, 1);
  EXPECT_EQ(BindImg.BindImages[0].Name, "kept.bmp");
}

// A stored name is reduced to its bare file name; one that leaves nothing
// usable is not written at all. The list holds the reduced name, so the
// writer and the delete routines never reach outside TempFolder either.
TEST_F(JwwReaderImages, UnsafeNamesNeverLeaveTheTempFolder) {
  BindImg.BindImageExtractFlag = 1;
  BindImg.BindImageKeepFlag = 1;
  struct Case {
    std::string stored;
    std::string listed;  // "" = not written
  };
  const Case cases[] = {
      {"../escape.bin", "escape.bin"},
      {"../../etc/passwd", "passwd"},
      {"sub/dir/deep.bin", "deep.bin"},
      {"..\\win\\back.bin", "back.bin"},
      {"C:\\Windows\\drive.bin", "drive.bin"},
      {"C:relative.bin", "relative.bin"},
      {"/abs/olute.bin", "olute.bin"},
      {"..", ""},
      {".", ""},
      {"dir/", ""},
      {"dir/..", ""},
      {"a..b.bin", "a..b.bin"},
      {"\x83\x5c\x83\x74\x83\x40.bmp", "\x83\x5c\x83\x74\x83\x40.bmp"},  // "ソファ": 0x5C as a trail byte
  };
  JwwBuilder b;
  for (const Case& c : cases) b.AddImage(c.stored, "data:" + c.stored);
  b.AddImage("last.bin", "last");
  ASSERT_TRUE(Load(b));
  ASSERT_EQ(BindImg.BindImageCount, static_cast<int32_t>(std::size(cases)) + 1);
  std::vector<std::string> expected{"temp/last.bin"};
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(BindImg.BindImages[i].Name, cases[i].listed) << cases[i].stored;
    if (cases[i].listed.empty()) continue;
    if (cases[i].listed[0] & 0x80) continue;  // checked below through the native name
    expected.push_back("temp/" + cases[i].listed);
    EXPECT_EQ(Contents(root_ / "temp" / cases[i].listed), "data:" + cases[i].stored);
  }
  EXPECT_EQ(Contents(root_ / "temp" / "\xe3\x82\xbd\xe3\x83\x95\xe3\x82\xa1.bmp"),
            "data:" + cases[std::size(cases) - 1].stored);
  expected.push_back("temp/\xe3\x82\xbd\xe3\x83\x95\xe3\x82\xa1.bmp");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(FilesUnderRoot(), expected);
}

TEST_F(JwwReaderImages, AnImageThatCannotBeWrittenDoesNotStopTheLoad) {
  BindImg.BindImageExtractFlag = 1;
  fs::create_directory(root_ / "temp" / "taken.bmp");  // a folder where the file should go
  JwwBuilder b;
  b.AddImage("taken.bmp", "xxxx");
  b.AddImage("fine.bmp", "ffff");
  ASSERT_TRUE(Load(b));
  EXPECT_EQ(BindImg.BindImageCount, 2);
  EXPECT_EQ(Contents(root_ / "temp" / "fine.bmp"), "ffff");

  BindImg.TempFolder = (root_ / "missing").string() + "/";
  ASSERT_TRUE(Load(b));
  EXPECT_EQ(BindImg.BindImageCount, 2);
  EXPECT_FALSE(fs::exists(root_ / "missing"));
}

TEST_F(JwwReaderImages, ACutImageIsNotWritten) {
  BindImg.BindImageExtractFlag = 1;
  JwwBuilder b;
  b.AddImage("whole.bmp", "wwww");
  b.AddImage("cut.bmp", std::string(5000, 'c'));
  std::vector<uint8_t> f = b.Bytes(700);
  f.resize(f.size() - 10);
  TJwwData d;
  EXPECT_FALSE(d.LoadFromBytes(f.data(), f.size()));
  EXPECT_EQ(FilesUnderRoot(), std::vector<std::string>{"temp/whole.bmp"});
}
