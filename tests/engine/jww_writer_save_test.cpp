// SaveToFile: the file appears whole or not at all, and a failed save never
// costs the file that was at the path before.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <fstream>
#include <iterator>

#include "bind_images.h"
#include "jww_data.h"
#include "jww_model_maker.h"

using namespace jwwtest;
namespace fs = std::filesystem;

namespace {

std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> Listing(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// Runs the save as an unprivileged user when the tests run as root (root
// reads and writes through any permission bits), else in this process.
// Answers the save's result.
bool SaveUnprivileged(const std::function<bool()>& save) {
  if (::geteuid() != 0) return save();
  const pid_t child = ::fork();
  if (child < 0) ADD_FAILURE() << "fork failed";
  if (child == 0) {
    const bool dropped = ::setgid(65534) == 0 && ::setuid(65534) == 0;
    ::_exit(!dropped ? 2 : save() ? 1 : 0);
  }
  int status = 0;
  if (::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) == 2)
    ADD_FAILURE() << "the unprivileged save did not run";
  return WIFEXITED(status) && WEXITSTATUS(status) == 1;
}

class WriterSave : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = FreshFolder("writer_save");
    MakeStableModel(m, 351);
  }
  std::string folder;
  TJwwData m;
};

}  // namespace

TEST_F(WriterSave, WritesTheFileImageAndReplacesAnExistingFile) {
  const std::string path = folder + "sheet.jww";
  std::ofstream(path) << "old contents";
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(m.SaveToBytes(bytes, 351));
  ASSERT_TRUE(m.SaveToFile(path, 351));
  EXPECT_EQ(Contents(path), std::string(bytes.begin(), bytes.end()));
  EXPECT_EQ(Listing(folder), std::vector<std::string>{"sheet.jww"});  // no temporary file left
  TJwwData back;
  EXPECT_TRUE(back.LoadFromFile(path));
  EXPECT_EQ(back.EntityOrderCount, m.EntityOrderCount);
}

TEST_F(WriterSave, PathsAreWrittenUnderTheirOwnBytes) {
  ASSERT_TRUE(m.SaveToFile(folder + "1階\u301C2階.jww", 351));  // the wave dash Shift-JIS lacks
  EXPECT_EQ(Listing(folder), std::vector<std::string>{"1階\u301C2階.jww"});
}

// Names up to the file system's 255 bytes are saved: 251 ASCII bytes plus
// ".jww", and 82 hiragana plus ".jww" (250 bytes in UTF-8).
TEST_F(WriterSave, NamesNearTheLengthLimitAreWritten) {
  std::string hiragana;
  for (int i = 0; i < 82; ++i) hiragana += "あ";
  for (const std::string& name : {std::string(251, 'n') + ".jww", hiragana + ".jww"}) {
    ASSERT_TRUE(m.SaveToFile(folder + name, 351)) << name.size();
    TJwwData back;
    EXPECT_TRUE(back.LoadFromFile(folder + name));
  }
  EXPECT_EQ(Listing(folder).size(), 2u);
}

TEST_F(WriterSave, AFailedSaveLeavesNoFileAndKeepsTheOldOne) {
  // A folder that is not there.
  EXPECT_FALSE(m.SaveToFile(folder + "missing/sheet.jww", 351));
  EXPECT_FALSE(fs::exists(folder + "missing"));

  // A version the format cannot hold: the existing file stays as it was.
  const std::string path = folder + "keep.jww";
  std::ofstream(path) << "precious";
  EXPECT_FALSE(m.SaveToFile(path, 219));
  EXPECT_EQ(Contents(path), "precious");

  // The path is a folder: the rename fails, the temporary file goes.
  fs::create_directories(folder + "taken.jww/inside");
  EXPECT_FALSE(m.SaveToFile(folder + "taken.jww", 351));
  EXPECT_TRUE(fs::is_directory(folder + "taken.jww/inside"));
  EXPECT_EQ(Listing(folder), (std::vector<std::string>{"keep.jww", "taken.jww"}));
}

TEST_F(WriterSave, AHeldImageThatCannotBeReadFailsTheSave) {
  InstallStableImages(FreshFolder("writer_save_images"));
  MakeStableModel(m, 700);
  fs::permissions(BindImg.TempFolder + "note.txt", fs::perms::none);
  fs::permissions(folder, fs::perms::all);  // the target folder is writable
  const std::string path = folder + "images.jww";
  std::ofstream(path) << "precious";
  fs::permissions(path, fs::perms::all);  // and so is the file
  EXPECT_FALSE(SaveUnprivileged([&] { return m.SaveToFile(path, 700); }));
  EXPECT_EQ(Contents(path), "precious");
  EXPECT_EQ(Listing(folder), std::vector<std::string>{"images.jww"});
  fs::permissions(BindImg.TempFolder + "note.txt", fs::perms::all);
  EXPECT_TRUE(SaveUnprivileged([&] { return m.SaveToFile(path, 700); }));
  BindImg.Reset();
}

TEST_F(WriterSave, AReadOnlyFolderFailsTheSaveAndKeepsTheOldFile) {
  const std::string path = folder + "locked.jww";
  std::ofstream(path) << "precious";
  fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                              fs::perms::others_exec);
  const bool saved = SaveUnprivileged([&] { return m.SaveToFile(path, 351); });
  fs::permissions(folder, fs::perms::owner_all);
  EXPECT_FALSE(saved);
  EXPECT_EQ(Contents(path), "precious");
  EXPECT_EQ(Listing(folder), std::vector<std::string>{"locked.jww"});
}
