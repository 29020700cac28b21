// The temporary folders: made when missing, never emptied of files the run
// did not make, private per run, and under the cache folder when the
// program folder cannot be written.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "jww_model_maker.h"
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

// Run folders of a killed run (its lock file left, unlocked) go at the next
// start; those without a lock file, of the older naming and of other names
// stay.
TEST(TempFolders, RunFoldersOfAGoneProcessAreRemovedAtStart) {
  const pid_t gone = ::fork();
  if (gone == 0) ::_exit(0);
  ::waitpid(gone, nullptr, 0);
  const std::string program = jwwtest::FreshFolder("temp_stale");
  const std::string dead = "run-" + std::to_string(gone) + "-a1B2c3";
  const std::string alive = "run-" + std::to_string(::getpid()) + "-a1B2c3";
  const std::vector<std::string> kept = {alive, "run-a1B2c3", dead + "x", "walk-" + std::to_string(gone) + "-a1B2c3"};
  for (const char* parent : {"TEMP/", "TMP/"}) {
    for (const std::string& name : kept) fs::create_directories(program + parent + name);
    fs::create_directories(program + parent + dead);
    std::ofstream(program + parent + dead + "/.lock");
    std::ofstream(program + parent + dead + "/sheet.jww") << "left by a killed run";
  }
  TTempFolders folders;
  ASSERT_TRUE(folders.Open(program, ""));
  for (const char* parent : {"TEMP/", "TMP/"}) {
    EXPECT_FALSE(fs::exists(program + parent + dead)) << parent;
    for (const std::string& name : kept) EXPECT_TRUE(fs::is_directory(program + parent + name)) << parent << name;
  }
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

// A process id that is no longer alive here.
pid_t GoneProcess() {
  const pid_t gone = ::fork();
  if (gone == 0) ::_exit(0);
  ::waitpid(gone, nullptr, 0);
  return gone;
}

bool Exists(const std::string& path) { return fs::exists(fs::symlink_status(path)); }

// Under a shared TEMP/ another user may swap a run folder for a link to
// someone's files: Close empties only the folder the run made.
TEST(TempFolders, CloseEmptiesOnlyTheFolderTheRunMade) {
  const std::string program = jwwtest::FreshFolder("temp_swapped");
  const std::string victim = program + "victim/";
  fs::create_directories(victim);
  std::ofstream(victim + "thesis.txt") << "someone's file";
  TTempFolders folders;
  ASSERT_TRUE(folders.Open(program, ""));
  const mode_t mask = ::umask(0);
  ::umask(mask);
  EXPECT_EQ(static_cast<mode_t>(fs::status(program + "TEMP").permissions()), 0777 & ~mask);
  const std::vector<std::string> runs = {folders.ImageFolder(), folders.SheetFolder()};
  for (const std::string& run : runs) {
    EXPECT_EQ(fs::status(run).permissions(), fs::perms::owner_all) << run;
    const std::string name = run.substr(0, run.size() - 1);
    std::ofstream(run + "pic.bmp") << "extracted";
    fs::rename(name, name + "-moved");
    fs::create_directory_symlink(victim, name);
  }
  folders.Close();
  EXPECT_TRUE(fs::exists(victim + "thesis.txt"));
  for (const std::string& run : runs) {
    const std::string name = run.substr(0, run.size() - 1);
    EXPECT_TRUE(fs::is_symlink(name)) << run;           // not the run's: left alone
    EXPECT_TRUE(fs::is_empty(name + "-moved")) << run;  // the run's, wherever it went
  }
}

// A leftover run folder goes only when its lock is free: a process id tells
// nothing of a run on another host or in another namespace. In doubt it stays.
TEST(TempFolders, LeftoverRunFoldersAreJudgedByTheirLock) {
  const std::string program = jwwtest::FreshFolder("temp_locks");
  const std::string temp = program + "TEMP/", elsewhere = program + "elsewhere/";
  fs::create_directories(elsewhere);
  std::ofstream(elsewhere + ".lock");
  std::ofstream(elsewhere + "keep.txt") << "not a run's";
  const std::string gone = std::to_string(GoneProcess()), ours = std::to_string(::getpid());
  enum TKind { kFreeLock, kNoLockFile, kLockIsALink, kFolderIsALink, kOtherUser };
  const struct TCase {
    std::string name;
    TKind kind;
    bool removed;
  } cases[] = {
      {"run-1-aaaaaa", kFreeLock, true},  // its process id lives here, yet its run ended
      {"run-" + ours + "-bbbbbb", kFreeLock, true},
      {"run-" + gone + "-cccccc", kNoLockFile, false},
      {"run-" + gone + "-dddddd", kLockIsALink, false},
      {"run-" + gone + "-eeeeee", kFolderIsALink, false},
      {"run-" + gone + "-ffffff", kOtherUser, false},
  };
  const bool root = ::geteuid() == 0;  // only the superuser gives a folder away
  for (const TCase& c : cases) {
    const std::string folder = temp + c.name + "/";
    if (c.kind == kFolderIsALink) {
      fs::create_directories(temp);
      fs::create_directory_symlink(elsewhere, temp + c.name);
      continue;
    }
    fs::create_directories(folder);
    std::ofstream(folder + "sheet.jww") << "left by a run";
    if (c.kind == kFreeLock || c.kind == kOtherUser) std::ofstream(folder + ".lock");
    if (c.kind == kLockIsALink) fs::create_symlink(elsewhere + ".lock", folder + ".lock");
    if (c.kind == kOtherUser && root) {
      ASSERT_EQ(::lchown(folder.c_str(), 54321, 54321), 0);
    }
  }
  // A live run whose process id is gone here: its lock is held.
  TTempFolders owner;
  ASSERT_TRUE(owner.Open(program, ""));
  const std::string held = temp + "run-" + gone + "-hhhhhh";
  fs::rename(owner.ImageFolder(), held);
  std::ofstream(held + "/image.bmp") << "held image";

  TTempFolders newcomer;
  ASSERT_TRUE(newcomer.Open(program, ""));
  for (const TCase& c : cases) {
    if (c.kind == kOtherUser && !root) continue;
    EXPECT_EQ(Exists(temp + c.name), !c.removed) << c.name;
    if (!c.removed && c.kind != kFolderIsALink) {
      EXPECT_TRUE(fs::exists(temp + c.name + "/sheet.jww")) << c.name;
    }
  }
  EXPECT_TRUE(fs::exists(held + "/image.bmp"));
  EXPECT_TRUE(fs::exists(elsewhere + "keep.txt") && fs::exists(elsewhere + ".lock"));
  if (root) fs::remove_all(temp + "run-" + gone + "-ffffff");
}

}  // namespace
