// WriteFileReplacing: a protected file stays, the mode is kept, a link is
// followed and stays a link, and no temporary file is left either way.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "file_replace.h"
#include "jww_model_maker.h"

namespace fs = std::filesystem;

namespace {

std::string Contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

TEST(FileReplacement, ProtectedFilesStayAndLinksAreFollowed) {
  const fs::path folder = jwwtest::FreshFolder("file_replace");
  fs::create_directory(folder / "real");
  // The old file's mode and the reason expected, 0 for a replaced file;
  // read-only is refused even for the superuser.
  struct TCase {
    const char* name;
    mode_t mode;
    int error;
  } cases[] = {{"read-only.jww", 0444, EACCES}, {"no-bits.dat", 0, EACCES}, {"private.dat", 0600, 0}, {"group.dat", 0664, 0}};
  for (const TCase& c : cases) {
    const fs::path path = folder / c.name;
    std::ofstream(path) << "old";
    ::chmod(path.c_str(), c.mode);
    std::error_code error;
    EXPECT_EQ(WriteFileReplacing(path, "new", error), c.error == 0) << c.name;
    EXPECT_EQ(error.value(), c.error) << c.name;
    EXPECT_EQ(Contents(path), c.error == 0 ? "new" : "old") << c.name;
    struct stat st;
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, c.mode) << c.name;
  }
  // A relative link and a link to it: both stay links, the file gets the bytes.
  std::ofstream(folder / "real" / "settings.dat") << "old";
  fs::create_symlink("real/settings.dat", folder / "link.dat");
  fs::create_symlink(folder / "link.dat", folder / "link2.dat");
  std::error_code error;
  ASSERT_TRUE(WriteFileReplacing(folder / "link2.dat", "linked", error)) << error.message();
  EXPECT_TRUE(fs::is_symlink(folder / "link.dat") && fs::is_symlink(folder / "link2.dat"));
  EXPECT_EQ(Contents(folder / "real" / "settings.dat"), "linked");
  // A folder in the way is refused; nothing but the files above is left.
  fs::create_directory(folder / "folder.dat");
  EXPECT_FALSE(WriteFileReplacing(folder / "folder.dat", "x", error));
  EXPECT_EQ(error.value(), EISDIR);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 8);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder / "real"), {}), 1);
  for (const TCase& c : cases) ::chmod((folder / c.name).c_str(), 0644);
}

// A link in a folder others can write (group or world bit, sticky or not) is followed only when it is ours.
TEST(FileReplacement, LinksInFoldersOthersCanWriteFollowedOnlyWhenOurs) {
  const fs::path folder = jwwtest::FreshFolder("file_replace_sticky"), real = folder / "sheet.jww";
  const uid_t us = ::geteuid(), folderOwner = 54322, someoneElse = 54323;
  const struct { const char* name; mode_t folderMode; uid_t linkOwner; int error; } cases[] = {
      {"sticky-ours", 01777, us, 0}, {"sticky-not-world-writable", 01775, someoneElse, EACCES},
      {"plain-someone-elses", 0777, someoneElse, EACCES}, {"sticky-folder-owners", 01777, folderOwner, EACCES},
      {"sticky-someone-elses", 01777, someoneElse, EACCES}, {"group-shared-someone-elses", 02775, someoneElse, EACCES},
  };
  for (const auto& c : cases) {
    if (c.linkOwner != us && us != 0) GTEST_SKIP() << "links of other owners need the superuser";
    const fs::path link = folder / c.name / "sheet.jww";
    fs::create_directory(folder / c.name);
    fs::create_symlink(real, link);
    ::chown((folder / c.name).c_str(), us == 0 ? folderOwner : us, static_cast<gid_t>(-1));
    ASSERT_EQ(::chmod((folder / c.name).c_str(), c.folderMode) | ::lchown(link.c_str(), c.linkOwner, -1), 0);
    std::ofstream(real) << "old";
    std::error_code error;
    EXPECT_EQ(WriteFileReplacing(link, "new", error) ? 0 : error.value(), c.error) << c.name;
    EXPECT_EQ(Contents(real), c.error == 0 ? "new" : "old") << c.name;
    EXPECT_TRUE(fs::is_symlink(link) && std::distance(fs::directory_iterator(folder / c.name), {}) == 1) << c.name;
  }
}

}  // namespace
