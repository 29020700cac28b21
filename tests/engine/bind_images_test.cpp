#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "bind_images.h"
#include "gzip_unpack.h"
#include "held_image_index.h"
#include "jww_builder.h"
#include "jww_data.h"

namespace fs = std::filesystem;

namespace {

std::string RawDeflate(const std::string& data) {
  z_stream zs{};
  EXPECT_EQ(deflateInit2(&zs, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY), Z_OK);
  std::string out(deflateBound(&zs, static_cast<uLong>(data.size())), '\0');
  zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  zs.avail_in = static_cast<uInt>(data.size());
  zs.next_out = reinterpret_cast<Bytef*>(out.data());
  zs.avail_out = static_cast<uInt>(out.size());
  EXPECT_EQ(deflate(&zs, Z_FINISH), Z_STREAM_END);
  out.resize(zs.total_out);
  deflateEnd(&zs);
  return out;
}

void PutLe32(std::string& s, uint32_t v) {
  for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xff));
}

// One gzip member built by hand, so the header fields are under control.
std::string GzipMember(const std::string& data, std::optional<std::string> storedName, uint32_t mtime) {
  std::string s = {'\x1f', '\x8b', '\x08', static_cast<char>(storedName ? 0x08 : 0x00)};
  PutLe32(s, mtime);
  s += '\x02';  // extra flags
  s += '\x03';  // OS: Unix
  if (storedName) {
    s += *storedName;
    s += '\0';
  }
  s += RawDeflate(data);
  PutLe32(s, static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(data.data()),
                                         static_cast<uInt>(data.size()))));
  PutLe32(s, static_cast<uint32_t>(data.size()));
  return s;
}

std::string ImageBytes(char seed, size_t n = 5000) {
  std::string s;
  for (size_t i = 0; i < n; ++i) s.push_back(static_cast<char>(seed + (i * 7 % 13)));
  return s;
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

time_t ModTime(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
  return st.st_mtime;
}

// Each test gets its own TempFolder inside its own base folder, so the
// tests can run side by side and can see what lands next to TempFolder.
class BindImagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = ::testing::TempDir() + "bindimg-XXXXXX";
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    base_ = tmpl + "/";
    temp_ = base_ + "TEMP/";
    fs::create_directory(temp_);
    BindImg.Reset();
    BindImg.TempFolder = temp_;
  }
  void TearDown() override {
    BindImg.Reset();
    fs::remove_all(base_);
  }

  void Hold(std::vector<std::string> names) {
    for (auto& n : names) BindImg.BindImages.push_back({n, 0, 0});
    BindImg.BindImageCount = static_cast<int32_t>(BindImg.BindImages.size());
  }

  // Loads, extracting them, a drawing holding these images (name, stored bytes).
  bool LoadHeld(const std::vector<std::pair<std::string, std::string>>& images) {
    jwwtest::JwwBuilder b;
    for (const auto& [name, bytes] : images) b.AddImage(name, bytes);
    const std::vector<uint8_t> f = b.Bytes(700);
    BindImg.BindImageExtractFlag = 1;
    return TJwwData().LoadFromBytes(f.data(), f.size());
  }

  std::set<std::string> Listing(const std::string& dir) const {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
    return names;
  }

  std::string base_, temp_;
};

TEST_F(BindImagesTest, UnpackedImageTakesTheStoredNameAndTime) {
  struct Case {
    std::optional<std::string> stored;
    uint32_t mtime;
    std::string expected;
  };
  const Case cases[] = {
      {"photo.jpg", 1'000'000'000u, "photo.jpg"},
      {"other.jpg", 1'200'000'000u, "other.jpg"},
      {std::nullopt, 1'000'000'000u, "photo.jpg"},  // no name: the time is not used either
      {"other.jpg", 0u, "other.jpg"},               // 0: the header carries no time
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    fs::remove_all(temp_);
    fs::create_directory(temp_);
    ClearBindImages();
    const std::string content = ImageBytes('a');
    WriteFile(temp_ + "photo.jpg.gz", GzipMember(content, c.stored, c.mtime));
    Hold({"photo.jpg.gz"});
    const time_t start = std::time(nullptr);
    EXPECT_EQ(ExtractBindImages(), 0);
    EXPECT_EQ(Listing(temp_), (std::set<std::string>{"photo.jpg.gz", c.expected}));
    EXPECT_EQ(ReadFile(temp_ + c.expected), content);
    const time_t t = ModTime(temp_ + c.expected);
    if (c.stored && c.mtime != 0)
      EXPECT_EQ(t, static_cast<time_t>(c.mtime));
    else
      EXPECT_GE(t, start - 2);
    DeleteBindImageGzFiles(), DeleteBindImageFiles();  // deleted under the name it was unpacked to
    EXPECT_TRUE(Listing(temp_).empty());
  }
}

TEST_F(BindImagesTest, FilesMadeByZlibsOwnGzipWriterUnpack) {
  const std::string content = ImageBytes('q', 100000);
  gzFile gz = gzopen((temp_ + "scan.png.gz").c_str(), "wb");
  ASSERT_NE(gz, nullptr);
  ASSERT_EQ(gzwrite(gz, content.data(), static_cast<unsigned>(content.size())), static_cast<int>(content.size()));
  gzclose(gz);
  Hold({"scan.png.gz"});
  EXPECT_EQ(ExtractBindImages(), 0);
  EXPECT_EQ(ReadFile(temp_ + "scan.png"), content);
}

// Far more output than input, across many read and write chunks.
TEST_F(BindImagesTest, LargeHighlyCompressedImagesUnpackWhole) {
  std::string content(3 << 20, '\0');
  content += ImageBytes('t', 70000);
  WriteFile(temp_ + "big.bmp.gz", GzipMember(content, "big.bmp", 0));
  Hold({"big.bmp.gz"});
  EXPECT_EQ(ExtractBindImages(), 0);
  EXPECT_TRUE(ReadFile(temp_ + "big.bmp") == content);
}

TEST_F(BindImagesTest, ExtensionIsComparedInLowerCase) {
  WriteFile(temp_ + "PHOTO.JPG.GZ", GzipMember("jpeg", std::nullopt, 0));
  Hold({"PHOTO.JPG.GZ"});
  EXPECT_EQ(ExtractBindImages(), 0);
  EXPECT_EQ(ReadFile(temp_ + "PHOTO.JPG"), "jpeg");
  DeleteBindImageGzFiles();
  EXPECT_EQ(Listing(temp_), std::set<std::string>{"PHOTO.JPG"});
  DeleteBindImageFiles();
  EXPECT_TRUE(Listing(temp_).empty());
}

TEST_F(BindImagesTest, PlainImagesAreOnlyRemovedByTheImageDelete) {
  WriteFile(temp_ + "logo.bmp", "BM....");
  WriteFile(temp_ + "photo.jpg.gz", GzipMember("jpeg", std::nullopt, 0));
  Hold({"logo.bmp", "photo.jpg.gz", "missing.png.gz", "missing.bmp"});
  EXPECT_EQ(ExtractBindImages(), 0);  // a missing file is skipped, not a failure
  EXPECT_EQ(ReadFile(temp_ + "logo.bmp"), "BM....");
  DeleteBindImageGzFiles();
  EXPECT_EQ(Listing(temp_), (std::set<std::string>{"logo.bmp", "photo.jpg"}));
  DeleteBindImageFiles();
  EXPECT_TRUE(Listing(temp_).empty());
}

TEST_F(BindImagesTest, ImageDeleteLeavesTheGzFile) {
  WriteFile(temp_ + "photo.jpg.gz", GzipMember("jpeg", std::nullopt, 0));
  Hold({"photo.jpg.gz"});
  EXPECT_EQ(ExtractBindImages(), 0);
  DeleteBindImageFiles();
  EXPECT_EQ(Listing(temp_), std::set<std::string>{"photo.jpg.gz"});
}

TEST_F(BindImagesTest, AfterClearingTheListTheDeletesDoNothing) {
  WriteFile(temp_ + "logo.bmp", "BM");
  WriteFile(temp_ + "photo.jpg.gz", GzipMember("jpeg", std::nullopt, 0));
  Hold({"logo.bmp", "photo.jpg.gz"});
  ClearBindImages();
  EXPECT_EQ(BindImg.BindImageCount, 0);
  EXPECT_EQ(ExtractBindImages(), 0);
  DeleteBindImageGzFiles();
  DeleteBindImageFiles();
  EXPECT_EQ(Listing(temp_), (std::set<std::string>{"logo.bmp", "photo.jpg.gz"}));
}

TEST_F(BindImagesTest, DamagedFilesFailAloneAndLeaveNothingBehind) {
  const std::string good = GzipMember(ImageBytes('g'), std::nullopt, 0);
  std::string badCrc = good;
  badCrc[badCrc.size() - 6] ^= 0x55;
  std::string badLength = good;
  badLength[badLength.size() - 1] ^= 0x01;
  const std::vector<std::pair<std::string, std::string>> damaged = {
      {"empty.bmp.gz", ""},
      {"plain.bmp.gz", "BM this is no gzip data at all"},
      {"headeronly.bmp.gz", good.substr(0, 10)},
      {"cut.bmp.gz", good.substr(0, good.size() / 2)},
      {"nocheck.bmp.gz", good.substr(0, good.size() - 8)},
      {"crc.bmp.gz", badCrc},
      {"length.bmp.gz", badLength},
      {"second.bmp.gz", good + "\x1f\x8b garbage member"},
  };
  std::vector<std::string> names;
  for (const auto& [name, bytes] : damaged) {
    WriteFile(temp_ + name, bytes);
    names.push_back(name);
  }
  WriteFile(temp_ + "good.bmp.gz", good);
  names.insert(names.begin() + 3, "good.bmp.gz");
  Hold(names);

  EXPECT_EQ(ExtractBindImages(), static_cast<int32_t>(damaged.size()));
  std::set<std::string> expected(names.begin(), names.end());
  expected.insert("good.bmp");
  EXPECT_EQ(Listing(temp_), expected);  // no partial output, no temporary file
  EXPECT_EQ(ReadFile(temp_ + "good.bmp"), ImageBytes('g'));
}

TEST_F(BindImagesTest, MembersAreJoinedAndTrailingBytesIgnored) {
  WriteFile(temp_ + "two.bmp.gz",
            GzipMember("first-", "joined.bmp", 0) + GzipMember("second", "ignored.bmp", 0) +
                std::string(16, '\0'));
  Hold({"two.bmp.gz"});
  EXPECT_EQ(ExtractBindImages(), 0);
  EXPECT_EQ(ReadFile(temp_ + "joined.bmp"), "first-second");
  EXPECT_FALSE(fs::exists(temp_ + "ignored.bmp"));
}

TEST_F(BindImagesTest, StoredNamesNeverLeaveTheTempFolder) {
  struct Case {
    std::string stored, expected;
  };
  const Case cases[] = {
      {"../evil.jpg", "evil.jpg"},
      {base_ + "abs.jpg", "abs.jpg"},
      {"sub\\..\\..\\win.jpg", "win.jpg"},
      {"C:drive.jpg", "drive.jpg"},
      {"C:\\dir\\", "photo.jpg"},
      {"..", "photo.jpg"},
      {"sub/..", "photo.jpg"},
      {"", "photo.jpg"},
      {"photo.jpg.gz", "photo.jpg"},  // would replace the file being unpacked
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    fs::remove_all(temp_);
    fs::create_directory(temp_);
    ClearBindImages();
    WriteFile(temp_ + "photo.jpg.gz", GzipMember("jpeg", c.stored, 1'000'000'000u));
    Hold({"photo.jpg.gz"});
    EXPECT_EQ(ExtractBindImages(), 0);
    EXPECT_EQ(Listing(temp_), (std::set<std::string>{"photo.jpg.gz", c.expected}));
    EXPECT_EQ(ReadFile(temp_ + c.expected), "jpeg");
    EXPECT_EQ(Listing(base_), std::set<std::string>{"TEMP"});
  }
}

TEST_F(BindImagesTest, HeldNamesWithFoldersOnlyTouchTheTempFolder) {
  WriteFile(base_ + "outside.jpg.gz", GzipMember("x", std::nullopt, 0));
  WriteFile(base_ + "outside.jpg", "keep");
  WriteFile(temp_ + "outside.jpg.gz", GzipMember("inside", std::nullopt, 0));
  WriteFile(temp_ + "..gz", GzipMember("dots", std::nullopt, 0));
  Hold({"../outside.jpg.gz", "..", "..gz", ".gz", std::string("a\0b", 3)});
  EXPECT_EQ(ExtractBindImages(), 1);  // "..gz" names no output ("." is no file)
  EXPECT_EQ(ReadFile(temp_ + "outside.jpg"), "inside");
  DeleteBindImageGzFiles();
  DeleteBindImageFiles();
  EXPECT_TRUE(Listing(temp_).empty());
  EXPECT_EQ(Listing(base_), (std::set<std::string>{"TEMP", "outside.jpg", "outside.jpg.gz"}));
}

TEST_F(BindImagesTest, UnpackingStopsAtTheSizeBound) {
  const std::string content(4096, 'z');
  WriteFile(temp_ + "bomb.bmp.gz", GzipMember(content, std::nullopt, 0));
  const TGunzipResult over = GunzipFileToFolder(temp_ + "bomb.bmp.gz", temp_, "bomb.bmp", 4095);
  EXPECT_EQ(over.Status, TGunzipStatus::TooLarge);
  EXPECT_EQ(Listing(temp_), std::set<std::string>{"bomb.bmp.gz"});
  const TGunzipResult exact = GunzipFileToFolder(temp_ + "bomb.bmp.gz", temp_, "bomb.bmp", 4096);
  EXPECT_EQ(exact.Status, TGunzipStatus::Ok);
  EXPECT_EQ(exact.OutputName, "bomb.bmp");
  EXPECT_EQ(ReadFile(temp_ + "bomb.bmp"), content);
}

TEST_F(BindImagesTest, ShiftJisNamesWithBackslashTrailBytesStayWhole) {
  const std::string name = "\x95\x5c\x8e\xa6.bmp";  // two characters, the first ending in 0x5C
  const std::string native = "\xe8\xa1\xa8\xe7\xa4\xba.bmp";  // the same in UTF-8
  WriteFile(temp_ + native + ".gz", GzipMember("sjis", std::nullopt, 0));
  Hold({name + ".gz"});
  EXPECT_EQ(ExtractBindImages(), 0);
  EXPECT_EQ(ReadFile(temp_ + native), "sjis");
  DeleteBindImageFiles();
  DeleteBindImageGzFiles();
  EXPECT_TRUE(Listing(temp_).empty());
}

TEST(BindImageFileName, KeepsThePlainFileNamePart) {
  const std::pair<std::string, std::string> cases[] = {
      {"photo.jpg", "photo.jpg"},
      {"dir/photo.jpg", "photo.jpg"},
      {"C:\\dir\\photo.jpg", "photo.jpg"},
      {"C:photo.jpg", "photo.jpg"},
      {"../..", ""},
      {".", ""},
      {"dir/", ""},
      {"", ""},
      {"..photo", "..photo"},
      {"\x95\x5cphoto", "\x95\x5cphoto"},
      {"\x95\x5c\\photo", "photo"},
      {std::string("ph\0to", 5), ""},
      // A lead byte without its trail byte stands alone, as in the native name.
      {"a\x81/b.bmp", "b.bmp"}, {"a\x81:b.bmp", "b.bmp"}, {"a\x81\\b.bmp", "a\x81\\b.bmp"}, {"pic\x81", "pic\x81"},
      {"x\x81/..", ""},
      // The run's own names in its temporary folder, in any case.
      {".lock", ""}, {"dir\\.LOCK", ""}, {"Frame-Images.tmp", ""}, {".lock.gz", ".lock.gz"}, {"a.lock", "a.lock"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(BindImageFileName(in), out) << in;
}

// The first name in list order that begins with the key, as a scan finds it.
TEST(HeldImageIndex, AnswersAsTheFirstMatchInListOrder) {
  const std::vector<std::string> list = {"PIC.BMP.GZ", "B.PNG", "PIC.BMP", "A.JPG", "PICTURE.BMP", "\x83\x5C\x83\x74"};
  const struct { std::vector<std::string> names; std::string key; int32_t row; } cases[] = {
      {list, "PIC.BMP", 0}, {list, "PICT", 4}, {list, "A.JPGX", -1}, {list, "\x83\x5C\x83", 5}, {list, "C", -1},
      {{"AB", "B", "A"}, "A", 0}, {{"Z", "Y", "X"}, "X", 2}, {{}, "", -1},
  };
  for (const auto& c : cases) EXPECT_EQ(THeldImageIndex(c.names).Find(c.key), c.row) << c.key;
}

// A load's writes and unpacking share one budget, keep the disk's reserve
// and take only free names: a planted link or file is neither followed nor replaced.
// Each file is charged the disk blocks it takes, at least one.
TEST_F(BindImagesTest, ALoadWritesFreeNamesWithinOneBudget) {
  const std::string big = GzipMember(std::string(100'000, 'p'), std::nullopt, 0), target = base_ + "target.txt";
  const std::set<std::string> planted = {"linked.bmp", "img.jpg", "taken.jpg"};
  const std::vector<std::string> loaded = {"a.bmp.gz", "b.bmp.gz", "twin.bmp", "img.jpg.gz", "taken.jpg.gz"};
  struct statvfs vfs {};
  ASSERT_EQ(::statvfs(temp_.c_str(), &vfs), 0);
  const uint64_t block = vfs.f_frsize;
  const struct { uint64_t budget, reserve; size_t written; std::set<std::string> unpacked; int32_t failed; } cases[] = {
      {kMaxBindImageBytesPerDrawing, 0, 5, {"a.bmp", "b.bmp"}, 2},
      {150'000, 0, 5, {"a.bmp"}, 3},
      {kMaxBindImageBytesPerDrawing, UINT64_MAX, 0, {}, 0},  // nothing is even written
      {4 * block, 0, 4, {}, 3},  // five files of a few bytes: four blocks hold four
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.budget);
    fs::remove_all(temp_), fs::create_directory(temp_);
    WriteFile(target, "original"), WriteFile(temp_ + "taken.jpg", "earlier");
    for (const char* name : {"linked.bmp", "img.jpg"}) fs::create_symlink(target, temp_ + name);
    BindImg.ByteBudget = c.budget;
    BindImg.DiskReserve = c.reserve;
    ASSERT_TRUE(LoadHeld({{"a.bmp.gz", big}, {"b.bmp.gz", big}, {"linked.bmp", "x"}, {"twin.bmp", "first"},
                          {"twin.bmp", "second"}, {"img.jpg.gz", big}, {"taken.jpg.gz", big}}));
    EXPECT_EQ(ExtractBindImages(), c.failed);
    std::set<std::string> expected = planted;
    expected.insert(loaded.begin(), loaded.begin() + static_cast<std::ptrdiff_t>(c.written));
    expected.insert(c.unpacked.begin(), c.unpacked.end());
    EXPECT_EQ(Listing(temp_), expected);
    EXPECT_TRUE(ReadFile(target) == "original" && ReadFile(temp_ + "taken.jpg") == "earlier");
    EXPECT_TRUE(fs::is_symlink(temp_ + "img.jpg") && (c.written < 3 || ReadFile(temp_ + "twin.bmp") == "first"));
  }
}

// On a small file system mounted for the test, a drawing of a thousand
// one-byte images leaves the inode reserve free: a tenth of the inodes free
// when the load began, or the cap when that is smaller.
TEST_F(BindImagesTest, TinyImagesLeaveTheInodeReserveFree) {
  const std::string small = base_ + "small/";
  fs::create_directory(small);
  if (::mount("tmpfs", small.c_str(), "tmpfs", 0, "size=16m,nr_inodes=400") != 0)
    GTEST_SKIP() << "no tmpfs can be mounted here: " << std::strerror(errno);
  const std::unique_ptr<const char, void (*)(const char*)> unmount(small.c_str(),
                                                                   [](const char* d) { ::umount2(d, MNT_DETACH); });
  std::vector<std::pair<std::string, std::string>> images;
  for (int i = 0; i < 1000; ++i) images.emplace_back("i" + std::to_string(i) + (i < 50 ? ".bmp.gz" : ".bmp"), "x");
  for (const uint64_t cap : {kBindImageInodeReserveCap, uint64_t{20}}) {
    SCOPED_TRACE(cap);
    for (const auto& e : fs::directory_iterator(small)) fs::remove(e.path());
    BindImg.TempFolder = small, BindImg.DiskReserve = 0, BindImg.InodeReserveCap = cap;
    struct statvfs before {}, after {};
    ASSERT_EQ(::statvfs(small.c_str(), &before), 0);
    ASSERT_TRUE(LoadHeld(images));
    EXPECT_EQ(ExtractBindImages(), 50);  // no room left to unpack the gzip images
    ASSERT_EQ(::statvfs(small.c_str(), &after), 0);
    EXPECT_EQ(after.f_favail, std::min<uint64_t>(before.f_favail / 10, cap));
  }
}

class ReplaceRefStringTest : public ::testing::Test {
 protected:
  void SetUp() override {
    BindImg.Reset();
    BindImg.RefStrList = {{"%%A", "alpha"}, {"%%A", "second"}, {"%%B", "beta"}, {"%%C", "hidden"}};
    BindImg.RefStrCount = 3;
  }
  void TearDown() override { BindImg.Reset(); }
};

TEST_F(ReplaceRefStringTest, SwitchedOffTheTextStaysAsItIs) {
  std::string text = "%%A";
  ReplaceRefString(text);
  EXPECT_EQ(text, "%%A");
}

TEST_F(ReplaceRefStringTest, SwitchedOnTheFirstExactKeyWins) {
  BindImg.RefStrEnabled = 1;
  const std::pair<std::string, std::string> cases[] = {
      {"%%A", "alpha"}, {"%%B", "beta"}, {"%%a", "%%a"},  {"%%A ", "%%A "},
      {"x%%A", "x%%A"}, {"%%C", "%%C"},  // beyond RefStrCount
      {"%%", "%%"},     {"", ""},
  };
  for (const auto& [in, out] : cases) {
    std::string text = in;
    ReplaceRefString(text);
    EXPECT_EQ(text, out) << in;
  }
}

TEST_F(ReplaceRefStringTest, ValuesAreCutTo255BytesOnACharacterBoundary) {
  BindImg.RefStrEnabled = 1;
  std::string wide;
  for (int i = 0; i < 200; ++i) wide += "\x82\xa0";
  BindImg.RefStrList = {{"%%W", wide}, {"%%N", "a" + wide}};
  BindImg.RefStrCount = 2;
  std::string text = "%%W";
  ReplaceRefString(text);
  EXPECT_EQ(text, wide.substr(0, 254));
  text = "%%N";
  ReplaceRefString(text);
  EXPECT_EQ(text, ("a" + wide).substr(0, 255));
}

}  // namespace
