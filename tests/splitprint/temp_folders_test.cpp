// The temporary folders: made when missing, never emptied of files the run
// did not make, private per run, and under the cache folder when the
// program folder cannot be written.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "jww_model_maker.h"
#include "other_user.h"
#include "temp_folders.h"

namespace fs = std::filesystem;

namespace {

TEST(TempFolders, UserFilesSurviveAndTwoRunsStayApart) {
  const std::string program = jwwtest::FreshFolder("temp_program");
  fs::create_directories(program + "TEMP/mine");
  std::ofstream(program + "TEMP/keep.txt") << "user file";
  std::ofstream(program + "TEMP/mine/keep.txt") << "user file";
  {
    TTempFolders first, second;
    ASSERT_TRUE(first.Open(program, ""));
    ASSERT_TRUE(second.Open(program, ""));
    EXPECT_EQ(first.Base(), program);
    EXPECT_EQ(first.ImageFolder().rfind(program + "TEMP/", 0), 0u);
    EXPECT_EQ(first.SheetFolder().rfind(program + "TMP/", 0), 0u);
    EXPECT_NE(first.ImageFolder(), second.ImageFolder());
    EXPECT_NE(first.SheetFolder(), second.SheetFolder());
    std::ofstream(first.ImageFolder() + "pic.bmp") << "extracted";
    first.Close();
    EXPECT_FALSE(fs::exists(first.ImageFolder()));
    EXPECT_TRUE(fs::is_directory(second.ImageFolder()));  // the other run's folder stays
  }
  EXPECT_TRUE(fs::exists(program + "TEMP/keep.txt"));
  EXPECT_TRUE(fs::exists(program + "TEMP/mine/keep.txt"));
  EXPECT_FALSE(fs::exists(program + "TMP"));  // made by the runs, empty again
}

// Run folders whose lock file is left free go at the next start, whatever
// process id they name (process 1 lives here, yet that run ended: an id tells
// nothing of other hosts or namespaces). In doubt they stay: no lock file, a
// link for one, another user's, a live run's under a gone id, the older
// naming and other names.
TEST(TempFolders, RunFoldersOfAGoneProcessAreRemovedAtStart) {
  const pid_t gone = ::fork();
  if (gone == 0) ::_exit(0);
  ::waitpid(gone, nullptr, 0);
  const std::string program = jwwtest::FreshFolder("temp_stale");
  const std::string dead = "run-" + std::to_string(gone) + "-a1B2c3";
  const std::string alive = "run-" + std::to_string(::getpid()) + "-a1B2c3";
  const std::string id = "run-" + std::to_string(gone) + "-";
  const std::string unlocked = id + "bbbbbb", linked = id + "cccccc", foreign = id + "dddddd", owned = id + "hhhhhh";
  const std::vector<std::string> kept = {alive, "run-a1B2c3", dead + "x", "walk-" + std::to_string(gone) + "-a1B2c3",
                                         unlocked, linked, foreign};
  TTempFolders owner;  // lives on under a process id gone here
  ASSERT_TRUE(owner.Open(program, ""));
  fs::rename(owner.ImageFolder(), program + "TEMP/" + owned);
  std::ofstream(program + "TEMP/" + owned + "/image.bmp") << "held";
  const bool root = ::geteuid() == 0;  // only the superuser gives a folder away
  for (const char* parent : {"TEMP/", "TMP/"}) {
    for (const std::string& name : kept) fs::create_directories(program + parent + name);
    for (const std::string& name : kept) std::ofstream(program + parent + name + "/sheet.jww") << "left by a run";
    fs::create_symlink(program + "elsewhere", program + parent + linked + "/.lock");
    if (root) std::ofstream(program + parent + foreign + "/.lock"), ::chown((program + parent + foreign).c_str(), 54321, 54321);
    for (const std::string& name : {dead, std::string("run-1-aaaaaa")}) {
      fs::create_directories(program + parent + name);
      std::ofstream(program + parent + name + "/.lock");
      std::ofstream(program + parent + name + "/sheet.jww") << "left by a killed run";
    }
  }
  TTempFolders folders;
  ASSERT_TRUE(folders.Open(program, ""));
  for (const char* parent : {"TEMP/", "TMP/"}) {
    EXPECT_FALSE(fs::exists(program + parent + dead)) << parent;
    EXPECT_FALSE(fs::exists(program + parent + "run-1-aaaaaa")) << parent;
    for (const std::string& name : kept)
      EXPECT_TRUE(fs::is_directory(program + parent + name) && fs::exists(program + parent + name + "/sheet.jww")) << parent << name;
  }
  EXPECT_TRUE(fs::exists(program + "TEMP/" + owned + "/image.bmp"));
}

TEST(TempFolders, UnwritableProgramFolderFallsBackToTheCache) {
  const std::string root = jwwtest::FreshFolder("temp_fallback");
  std::ofstream(root + "file") << "a file, not a folder";
  const std::string cache = root + "Jürgen/.cache/quillmoor/";  // a home Shift-JIS cannot name
  TTempFolders folders;
  ASSERT_TRUE(folders.Open(root + "file/", cache));
  EXPECT_EQ(folders.Base(), cache);
  EXPECT_TRUE(fs::is_directory(folders.ImageFolder()));
  folders.Close();
  EXPECT_TRUE(fs::is_directory(cache));
  EXPECT_FALSE(fs::exists(cache + "TEMP"));
  EXPECT_EQ(std::distance(fs::directory_iterator(root), fs::directory_iterator()), 2);  // "file", "Jürgen"
  EXPECT_FALSE(folders.Open(root + "file/", root + "file/cache/"));
}

// Others able to write the program folder, or owning TEMP/, send us to the cache (checked alike); our TMP/ made private.
TEST(TempFolders, BesideTheProgramOnlyWhereNoOneElseCanWrite) {
  if (::geteuid() != 0) GTEST_SKIP() << jwwtest::kNoOtherUser;
  enum TPlant { kTheirTempFirst, kTheirTemp, kOurSharedTmp, kTheirCache };
  const struct { mode_t programMode; TPlant plant; std::string base; } cases[] = {
      {01777, kTheirTempFirst, "cache/"}, {0755, kTheirTemp, "cache/"}, {0755, kOurSharedTmp, "program/"},
      {02775, kTheirCache, ""}};  // a program folder its group shares is left too
  for (const auto& c : cases) {
    const std::string root = jwwtest::FreshFolder("temp_shared"), program = root + "program/";
    ASSERT_EQ(::mkdir(program.c_str(), 0) | ::chown(program.c_str(), 0, jwwtest::kOtherGid) |
                  ::chmod(program.c_str(), c.programMode), 0);
    const std::string planted = c.plant == kTheirCache ? root + "cache" : program + (c.plant == kOurSharedTmp ? "TMP" : "TEMP");
    ASSERT_TRUE(c.plant != kTheirTempFirst || jwwtest::AsOtherUser([&] { return ::mkdir(planted.c_str(), 0777) == 0; }));
    if (c.plant >= kTheirTemp) fs::create_directory(planted), ::chmod(planted.c_str(), 0775);
    if (c.plant == kTheirTemp || c.plant == kTheirCache) ::chown(planted.c_str(), jwwtest::kOtherUid, 0);
    TTempFolders folders;
    EXPECT_EQ(folders.Open(program, root + "cache/"), !c.base.empty()) << c.plant;
    EXPECT_EQ(folders.Base(), c.base.empty() ? "" : root + c.base) << c.plant;
    EXPECT_TRUE(c.plant != kOurSharedTmp || fs::status(planted).permissions() == fs::perms(0755));
  }
}

// A run folder in a shared TEMP/ swapped for a link: Close empties only the folder the run made.
TEST(TempFolders, CloseEmptiesOnlyTheFolderTheRunMade) {
  const std::string program = jwwtest::FreshFolder("temp_swapped"), victim = program + "victim";
  fs::create_directories(victim);
  std::ofstream(victim + "/thesis.txt") << "someone's file";
  TTempFolders folders;
  ASSERT_TRUE(folders.Open(program, ""));
  std::string runs[] = {folders.ImageFolder(), folders.SheetFolder()};
  for (std::string& run : runs) {
    EXPECT_EQ(fs::status(run).permissions(), fs::perms::owner_all) << run;
    std::ofstream(run + "pic.bmp") << "extracted";
    run.pop_back();
    fs::rename(run, run + "-moved");
    fs::create_directory_symlink(victim, run);
  }
  folders.Close();
  EXPECT_TRUE(fs::exists(victim + "/thesis.txt"));
  for (const std::string& run : runs) EXPECT_TRUE(fs::is_symlink(run) && fs::is_empty(run + "-moved")) << run;
}

}  // namespace
