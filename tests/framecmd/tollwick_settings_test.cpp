// Settings file, numbering direction and the dialog's OK, through files.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "framecmd_test_files.h"
#include "other_user.h"
#include "tollwick_form.h"
#include "tollwick_run.h"

namespace {

struct SettingsCase {
  const char* name;
  const char* file;  // nullptr: no file
  int left, top, paper, placement;
  double width, height, spacing;
};

TEST(TollwickSettings, LoadsWithDefaultsAndRanges) {
  const std::vector<SettingsCase> cases = {
      {"no file", nullptr, 100, 100, 0, 0, 5, 5, 0},
      {"two lines", "150\r\n80\r\n", 150, 80, 0, 0, 5, 5, 0},
      {"four lines, no more", "1\r\n2\r\n3\r\n4\r\n", 1, 2, 3, 4, 5, 5, 0},
      {"out of range", "1\n2\n12\n-1\n0.05\n2000\n-1\n", 1, 2, 0, 0, 0.1, 1000, -0.09},
      {"line 5 only", "1\r2\r9\r8\r7.5", 1, 2, 9, 8, 7.5, 0.1, 0},
      {"words", "x\ny\n1\n1\nwide\n3\nz\n", 0, 0, 1, 1, 0.1, 3, 0},
      {"empty file", "", 0, 0, 0, 0, 5, 5, 0},
  };
  for (const SettingsCase& c : cases) {
    const auto dir = MakeTempDir("settings");
    if (c.file != nullptr) WriteFileBytes(dir / "tollwick.dat", c.file);
    TForm1 f;
    f.ProgramFolder = dir.string() + "/";
    f.LoadDialogSettings();
    EXPECT_EQ(f.SavedLeft, c.left) << c.name;
    EXPECT_EQ(f.SavedTop, c.top) << c.name;
    EXPECT_EQ(f.PaperIndex, c.paper) << c.name;
    EXPECT_EQ(f.PlacementIndex, c.placement) << c.name;
    EXPECT_EQ(f.TextWidth, c.width) << c.name;
    EXPECT_EQ(f.TextHeight, c.height) << c.name;
    EXPECT_EQ(f.TextSpacing, c.spacing) << c.name;
    std::filesystem::remove_all(dir);
  }
}

TEST(TollwickSettings, NumberingDirectionFromLine15) {
  const std::vector<std::pair<std::string, int>> cases = {
      {"", 0}, {std::string(14, '\n') + "1\r\n", 1}, {std::string(14, '\n'), 0},
      {std::string(14, '\n') + "1 \r\n", 0}, {std::string(14, '\n') + "7\nmore\n", 7}, {"1\n1\n1\n", 0}};
  for (const auto& [file, direction] : cases) {
    const auto dir = MakeTempDir("quillmoor");
    WriteFileBytes(dir / "quillmoor.dat", file);
    TForm1 f;
    f.ProgramFolder = dir.string() + "/";
    f.LoadNumberingDirection();
    EXPECT_EQ(f.NumberingDirection, direction) << file.size();
    std::filesystem::remove_all(dir);
  }
}

// A program folder whose name Shift-JIS lacks ("ü"): Quillmoor's settings
// are found there and Tollwick's own files are written there, nowhere else.
TEST(TollwickSettings, ProgramFolderWithAnUmlaut) {
  const auto home = MakeTempDir("home");
  const auto folder = home / "Jürgen" / "quillmoor";
  std::filesystem::create_directories(folder);
  WriteFileBytes(folder / "quillmoor.dat", std::string(14, '\n') + "1\r\n");
  TForm1 f;
  RunTollwick(f, {"9"}, folder, "tollwick");
  EXPECT_EQ(f.NumberingDirection, 1);
  EXPECT_TRUE(std::filesystem::exists(folder / "tollwick.dat"));
  EXPECT_TRUE(std::filesystem::exists(folder / "JWC_TEMP.TXT"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(home), std::filesystem::directory_iterator()), 1);
  std::filesystem::remove_all(home);
}

TEST(TollwickSettings, DialogOkStoresClampedValuesAndCancelNothing) {
  const auto dir = MakeTempDir("dialog");
  WriteFileBytes(dir / "JWC_TEMP.TXT", "hq\r\n");
  TForm1 f;
  f.ProgramFolder = dir.string() + "/";
  ASSERT_TRUE(f.FormShow({}));
  EXPECT_FALSE(f.Minimised);
  EXPECT_EQ(f.Edit1Text, "5");
  f.Button2Click();
  EXPECT_FALSE(std::filesystem::exists(dir / "tollwick.dat"));
  f.Left = -20;
  f.Top = 30;
  f.ComboBox1ItemIndex = 9;
  f.RadioGroup1ItemIndex = 8;
  f.Edit1Text = "0.05";
  f.Edit2Text = "2000";
  f.Edit3Text = "-1";
  f.Button1Click();
  EXPECT_TRUE(f.FormClose());
  EXPECT_EQ(ReadFileBytes(dir / "tollwick.dat"), "-20\r\n30\r\n9\r\n8\r\n0.1\r\n1000\r\n-0.09\r\n");
  EXPECT_EQ(ReadFileBytes(dir / "JWC_TEMP.TXT"), "hq\r\n");

  TForm1 g;
  g.ProgramFolder = f.ProgramFolder;
  ASSERT_TRUE(g.FormShow({"word", "x"}));
  EXPECT_TRUE(g.Minimised);
  EXPECT_EQ(g.Left, -20);
  EXPECT_EQ(g.ComboBox1ItemIndex, 9);
  EXPECT_EQ(g.Edit3Text, "-0.09");
  std::filesystem::remove_all(dir);
}

// Only regular files are read: a FIFO would block the opening, /dev/zero the reading, for ever.
TEST(TollwickSettings, NoSettingsFromFifosOrDevices) {
  const auto dir = MakeTempDir("special");
  ASSERT_EQ(::mkfifo((dir / "tollwick.dat").c_str(), 0600), 0);
  std::filesystem::create_symlink("/dev/zero", dir / "quillmoor.dat");
  TForm1 f;
  f.ProgramFolder = dir.string() + "/";
  f.LoadDialogSettings();
  f.LoadNumberingDirection();
  EXPECT_EQ(std::pair(f.SavedLeft, f.NumberingDirection), std::pair(100, 0));
  std::filesystem::remove_all(dir);
}

// A link another member of the program folder's group put there is not written through.
TEST(TollwickSettings, AnotherUsersLinkInASharedFolderIsNotFollowed) {
  if (::geteuid() != 0) GTEST_SKIP() << jwwtest::kNoOtherUser;
  const auto dir = MakeTempDir("shared"), victim = dir / "bashrc", link = dir / "tollwick.dat";
  WriteFileBytes(victim, "export PATH\n");
  ASSERT_EQ(::chown(dir.c_str(), 0, jwwtest::kOtherGid) | ::chmod(dir.c_str(), 02775), 0);
  ASSERT_TRUE(jwwtest::AsOtherUser([&] { return ::symlink(victim.c_str(), link.c_str()) == 0; }));
  TForm1 f;
  f.ProgramFolder = dir.string() + "/";
  EXPECT_FALSE(f.SaveDialogSettings());
  EXPECT_EQ(ReadFileBytes(victim), "export PATH\n");
  std::filesystem::remove_all(dir);
}

TEST(TollwickSettings, FailedSaveKeepsTheOldFile) {
  const auto dir = MakeTempDir("save");
  WriteFileBytes(dir / "tollwick.dat", "1\r\n");
  // A file the user made read-only is kept, for the superuser too.
  std::filesystem::permissions(dir / "tollwick.dat", std::filesystem::perms::owner_read);
  TForm1 f;
  f.ProgramFolder = dir.string() + "/";
  EXPECT_FALSE(f.SaveDialogSettings());
  EXPECT_EQ(ReadFileBytes(dir / "tollwick.dat"), "1\r\n");
  std::filesystem::permissions(dir / "tollwick.dat", std::filesystem::perms::owner_all);
  std::filesystem::remove_all(dir);
}

}  // namespace
