#include <dirent.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <sstream>

#include "fake_printer_settings.h"
#include "form1_state.h"
#include "jww_model_maker.h"
#include "other_user.h"
#include "settings_location.h"
#include "sjis.h"
#include "system_reason.h"

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void WriteFile(const std::string& path, const std::string& data) { std::ofstream(path, std::ios::binary) << data; }

std::vector<std::string> SplitCrLf(const std::string& text) {
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t end = text.find("\r\n", pos);
    if (end == std::string::npos) break;
    lines.push_back(text.substr(pos, end - pos));
    pos = end + 2;
  }
  return lines;
}

// A settings file of the default values, its lines numbered from 1.
std::vector<std::string> DefaultLines() {
  TForm1 form;
  const std::string path = jwwtest::FreshFolder("settings_defaults") + "q.dat";
  EXPECT_TRUE(form.SaveSettings(path));
  return SplitCrLf(ReadFile(path));
}

std::string Join(const std::vector<std::string>& lines, size_t count, const char* eol = "\r\n") {
  std::string out;
  for (size_t i = 0; i < count && i < lines.size(); ++i) out += lines[i] + eol;
  return out;
}

void FillDistinctValues(TForm1& f) {
  f.MainBounds = {11, -12, 613, 414};
  f.AddFolder = "/home/図面/追加";
  f.SetDestinationChecked(3, true);
  f.GivenFolder = "/srv/도면 先/";
  f.Separator = Utf8ToSjis("－");
  f.NamingPattern = 5;
  f.ZeroPad = 1;
  f.NumberingDirection = 1;
  f.PrintAfterSplit = f.DrawAuxFrame = f.CloseUpEmptyNumbers = f.ConfirmSaved = f.ExplodeBlocks = true;
  f.StartNumber = 9999;
  f.Margin = 0.1;
  f.PrintMethod = 2;
  f.GivenScale = 0.333333333333333;  // 15 digits: what the file keeps
  f.Rotation = -90.5;
  f.OffsetX = 1e-7;
  f.OffsetY = -123456.789;
  f.Monochrome = 1;
  f.MonoThreshold = 201;
  f.WhiteToBlack = 1;
  f.WhiteThreshold = 202;
  f.SxfWhiteToBlack = 1;
  f.SxfWhiteThreshold = 203;
  f.OneDocument = 1;
  f.PrintAuxLines = 1;
  f.DisplayOnlyMode = 2;
  f.DisplayOnlyColor = 0x123456;
  f.AuxColor = 0xABCDEF;
  f.PrintOrder = 2;
  f.PreviewAfterSplit = true;
  f.PreviewBounds = {21, 22, 623, 424};
  f.AddDrawingFrame = true;
  for (size_t i = 0; i < f.FrameFiles.size(); ++i) f.FrameFiles[i] = "/枠/A3枠\u301C" + std::to_string(i) + ".jww";
  f.FrameHiddenLayers = f.FrameAuxElements = true;
  f.ChooserBounds = {31, 32, 633, 434};
  f.OrderDialogBounds = {41, 42, 643, 444};
}

// Two forms hold the same settings when they write the same file (the
// printer lines come from each form's printer).
void ExpectSameSettings(TForm1& a, TForm1& b) {
  const std::string folder = jwwtest::FreshFolder("settings_compare");
  ASSERT_TRUE(a.SaveSettings(folder + "a.dat"));
  ASSERT_TRUE(b.SaveSettings(folder + "b.dat"));
  const std::vector<std::string> la = SplitCrLf(ReadFile(folder + "a.dat")), lb = SplitCrLf(ReadFile(folder + "b.dat"));
  ASSERT_EQ(la.size(), lb.size());
  for (size_t i = 0; i < la.size(); ++i) EXPECT_EQ(la[i], lb[i]) << "line " << i + 1;
}

TEST(SettingsFile, EveryLineSurvivesSaveAndLoad) {
  const std::string path = jwwtest::FreshFolder("settings_roundtrip") + "quillmoor.dat";
  TFakePrinterSettings printers;
  printers.Values[0] = TDevModeValues{1, 0, 3000, 1500, 90, 1200, 600, 2, 3, 1};
  TForm1 saved;
  saved.PrinterSettings = &printers;
  FillDistinctValues(saved);
  ASSERT_TRUE(saved.SaveSettings(path));
  EXPECT_EQ(saved.PrinterName, "Office Printer");

  const std::vector<std::string> lines = SplitCrLf(ReadFile(path));
  ASSERT_EQ(lines.size(), 76u);
  EXPECT_EQ(lines[14], "1");  // numbering direction, read by the frame command
  EXPECT_EQ(lines[21], "0.1");
  EXPECT_EQ(lines[63], "0");    // user-defined paper
  EXPECT_EQ(lines[64], "3000");

  TForm1 loaded;
  loaded.PrinterSettings = &printers;
  loaded.LoadSettings(path);
  ExpectSameSettings(saved, loaded);
  ASSERT_FALSE(printers.Writes.empty());
  EXPECT_TRUE(printers.Writes.back().WithPaperDimensions);
}

TEST(SettingsFile, DefaultsWithoutFileAndWithoutPrinters) {
  TForm1 fresh;
  TForm1 loaded;
  FillDistinctValues(loaded);
  loaded.LoadSettings(jwwtest::FreshFolder("settings_missing") + "none.dat");
  ExpectSameSettings(fresh, loaded);
  const std::vector<std::string> lines = DefaultLines();
  ASSERT_EQ(lines.size(), 76u);
  EXPECT_EQ(lines[11], "_");
  EXPECT_EQ(lines[36], "8421504");
  EXPECT_EQ(lines[37], "16744703");
  EXPECT_EQ(lines[61], "");  // no printer
}

struct TEdit {
  size_t line;  // 1-based
  std::string text;
};

struct TLoadCase {
  const char* name;
  std::vector<TEdit> edits;
  size_t keepLines;  // lines of the file kept
  const char* eol;
  void (*check)(const TForm1&);
};

class SettingsLoad : public ::testing::TestWithParam<TLoadCase> {};

TEST_P(SettingsLoad, ReadsAndClamps) {
  const TLoadCase& c = GetParam();
  std::vector<std::string> lines = DefaultLines();
  for (const TEdit& e : c.edits) lines[e.line - 1] = e.text;
  const std::string path = jwwtest::FreshFolder(std::string("settings_load_") + c.name) + "q.dat";
  WriteFile(path, Join(lines, c.keepLines, c.eol));
  TForm1 form;
  form.LoadSettings(path);
  c.check(form);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsLoad,
    ::testing::Values(
        TLoadCase{"lines39",
                  {{40, "1"}, {45, "1"}},
                  39,
                  "\r\n",
                  [](const TForm1& f) {
                    EXPECT_FALSE(f.PreviewAfterSplit);
                    EXPECT_FALSE(f.AddDrawingFrame);
                  }},
        TLoadCase{"cutAfter20",
                  {{13, "9"}, {14, "-3"}, {15, "7"}, {21, "50"}},
                  20,
                  "\r\n",
                  [](const TForm1& f) {
                    EXPECT_EQ(f.NamingPattern, 6);
                    EXPECT_EQ(f.ZeroPad, 0);
                    EXPECT_EQ(f.NumberingDirection, 1);
                    EXPECT_EQ(f.StartNumber, 1);  // line 21 was cut off
                  }},
        TLoadCase{"cutAfter11", {}, 11, "\r\n", [](const TForm1& f) { EXPECT_EQ(f.Separator, "_"); }},  // no line 12
        TLoadCase{"badNumbers",
                  {{21, "-5"}, {22, "abc"}, {3, "50"}, {4, "-1"}},
                  76,
                  "\r\n",
                  [](const TForm1& f) {
                    EXPECT_EQ(f.StartNumber, 0);
                    EXPECT_EQ(f.Margin, 0);
                    EXPECT_EQ(f.MainBounds.Width, 200);
                    EXPECT_EQ(f.MainBounds.Height, 200);
                  }},
        TLoadCase{"bigValues",
                  {{21, "12345"}, {22, "150.5"}},
                  76,
                  "\r\n",
                  [](const TForm1& f) {
                    EXPECT_EQ(f.StartNumber, 9999);
                    EXPECT_EQ(f.Margin, 100);
                  }},
        TLoadCase{"separatorAscii",
                  {{12, "abcdefghij"}},
                  76,
                  "\r\n",
                  [](const TForm1& f) { EXPECT_EQ(f.Separator, "abcdefgh"); }},
        TLoadCase{"separatorLeadByte",
                  {{12, "abcdefg\x82\xA0"}},
                  76,
                  "\r\n",
                  [](const TForm1& f) { EXPECT_EQ(f.Separator, "abcdefg"); }},
        TLoadCase{"desktop",
                  {{6, "TRUE"}, {8, "0"}},
                  76,
                  "\r\n",
                  [](const TForm1& f) {
                    EXPECT_TRUE(f.DestinationChecked[0]);
                    EXPECT_FALSE(f.DestinationChecked[2]);
                  }},
        TLoadCase{"lfOnly",
                  {{45, "1"}, {62, "  Office  "}},
                  76,
                  "\n",
                  [](const TForm1& f) {
                    EXPECT_TRUE(f.AddDrawingFrame);
                    EXPECT_EQ(f.PrinterName, "Office");
                  }},
        TLoadCase{"crOnly",
                  {{57, "ON"}, {76, "777"}},
                  76,
                  "\r",
                  [](const TForm1& f) {
                    EXPECT_TRUE(f.FrameAuxElements);
                    EXPECT_EQ(f.OrderDialogBounds.Height, 777);
                  }},
        TLoadCase{"hugeLine",
                  {{5, std::string(1 << 20, 'x')}, {6, "1"}, {8, "0"}},
                  76,
                  "\r\n",
                  [](const TForm1& f) {
                    EXPECT_EQ(f.AddFolder.size(), 64u * 1024u);
                    EXPECT_TRUE(f.DestinationChecked[0]);  // later lines stay in step
                  }}),
    [](const ::testing::TestParamInfo<TLoadCase>& info) { return std::string(info.param.name); });

TEST(SettingsFile, PrinterValuesFollowTheSavedPaper) {
  struct TCase {
    const char* paperSize;
    bool withDimensions;
  };
  for (const TCase& c : {TCase{"9", false}, TCase{"0", true}}) {
    std::vector<std::string> lines = DefaultLines();
    lines[61] = "office printer ";  // matched ignoring case and blanks
    lines[63] = c.paperSize;
    const std::string path = jwwtest::FreshFolder("settings_paper") + "q.dat";
    WriteFile(path, Join(lines, 76));
    TFakePrinterSettings printers;
    printers.Index = 1;
    printers.Values[0].PaperLength = 1111;
    TForm1 form;
    form.PrinterSettings = &printers;
    form.LoadSettings(path);
    EXPECT_EQ(printers.Index, 0);
    ASSERT_EQ(printers.Writes.size(), 1u);
    EXPECT_EQ(printers.Writes[0].WithPaperDimensions, c.withDimensions);
    EXPECT_EQ(printers.Values[0].PaperLength, c.withDimensions ? 2970 : 1111);
    EXPECT_EQ(form.PrinterName, "Office Printer");
  }
}

TEST(SettingsFile, PrinterNotInstalledLeavesTheCurrentOneAndShortFileTakesItsValues) {
  std::vector<std::string> lines = DefaultLines();
  lines[61] = "Gone Printer";
  const std::string path = jwwtest::FreshFolder("settings_gone") + "q.dat";
  WriteFile(path, Join(lines, 76));
  TFakePrinterSettings printers;
  TForm1 form;
  form.PrinterSettings = &printers;
  form.LoadSettings(path);
  EXPECT_EQ(printers.Index, 0);
  EXPECT_TRUE(printers.Writes.empty());

  // Without block 4 the printer lines hold the current printer's values.
  WriteFile(path, Join(lines, 61));
  form.LoadSettings(path);
  EXPECT_EQ(form.PrinterName, "Office Printer");
  EXPECT_EQ(form.DevPaperSize, 9);
  EXPECT_EQ(form.DevPrintQuality, 600);
  EXPECT_EQ(printers.Writes.size(), 1u);  // and that printer is given them
}

TEST(SettingsFile, TextWithLineBreakDoesNotShiftLaterLines) {
  const std::string path = jwwtest::FreshFolder("settings_break") + "q.dat";
  TForm1 saved;
  saved.AddFolder = "/tmp/a\nb";
  saved.StartNumber = 42;
  ASSERT_TRUE(saved.SaveSettings(path));
  TForm1 loaded;
  loaded.LoadSettings(path);
  EXPECT_EQ(loaded.AddFolder, "");
  EXPECT_EQ(loaded.StartNumber, 42);
}

TEST(SettingsFile, PathLinesInShiftJisOfAnEarlierVersionAreRead) {
  std::vector<std::string> lines = DefaultLines();
  lines[4] = Utf8ToSjis("/home/図面/");  // add folder
  const std::string path = jwwtest::FreshFolder("settings_sjis_paths") + "q.dat";
  WriteFile(path, Join(lines, lines.size()));
  TForm1 loaded;
  loaded.LoadSettings(path);
  EXPECT_EQ(loaded.AddFolder, "/home/図面/");
}

TEST(SettingsFile, FailedWriteKeepsTheOldFile) {
  const std::string folder = jwwtest::FreshFolder("settings_failed");
  const std::string path = folder + "q.dat";
  WriteFile(path, "old settings\r\n");
  ::chmod(path.c_str(), 0640);
  TForm1 form;
  form.AddFolder = std::string(4000, 'y');
  // A file size limit makes the write fail half-way.
  struct rlimit old;
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  struct rlimit small = old;
  small.rlim_cur = 100;
  void (*oldHandler)(int) = ::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool saved = form.SaveSettings(path);
  ::setrlimit(RLIMIT_FSIZE, &old);
  ::signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(saved);
  EXPECT_EQ(ReadFile(path), "old settings\r\n");
  int entries = 0;
  DIR* dir = ::opendir(folder.c_str());
  while (const dirent* e = ::readdir(dir)) entries += e->d_name[0] != '.' || std::string(e->d_name).size() > 2;
  ::closedir(dir);
  EXPECT_EQ(entries, 1);  // no temporary file left behind

  ASSERT_TRUE(form.SaveSettings(path));
  struct stat st;
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);  // the replaced file keeps its mode
}

// A read-only settings file is not rewritten (closing then says it could not
// be saved); a linked one stays a link and its target gets the values.
TEST(SettingsFile, ReadOnlyFileKeptAndLinkFollowed) {
  const std::string folder = jwwtest::FreshFolder("settings_protected"), link = folder + "link.dat";
  WriteFile(folder + "q.dat", "old settings\r\n");
  ::chmod((folder + "q.dat").c_str(), 0444);
  TForm1 form;
  form.StartNumber = 42;
  EXPECT_FALSE(form.SaveSettings(folder + "q.dat"));
  EXPECT_EQ(ReadFile(folder + "q.dat"), "old settings\r\n");
  WriteFile(folder + "target.dat", "old settings\r\n");
  ASSERT_EQ(::symlink("target.dat", link.c_str()), 0);
  ASSERT_TRUE(form.SaveSettings(link));
  struct stat st;
  EXPECT_TRUE(::lstat(link.c_str(), &st) == 0 && S_ISLNK(st.st_mode));
  TForm1 loaded;
  loaded.LoadSettings(folder + "target.dat");
  EXPECT_EQ(loaded.StartNumber, 42);
}

// In a program folder its group shares, another member's link is refused, with the system's reason.
TEST(SettingsFile, AnotherUsersLinkInASharedProgramFolderIsNotFollowed) {
  if (::geteuid() != 0) GTEST_SKIP() << jwwtest::kNoOtherUser;
  const std::string folder = jwwtest::FreshFolder("settings_shared"), victim = folder + "bashrc", link = folder + "q.dat";
  WriteFile(victim, "export PATH\n");
  ASSERT_EQ(::chown(folder.c_str(), 0, jwwtest::kOtherGid) | ::chmod(folder.c_str(), 02775), 0);
  ASSERT_TRUE(jwwtest::AsOtherUser([&] { return ::symlink(victim.c_str(), link.c_str()) == 0; }));
  TForm1 form;
  EXPECT_FALSE(form.SaveSettings(link));
  EXPECT_EQ(form.SettingsSaveReason, SystemErrorText(EACCES));
  EXPECT_EQ(ReadFile(victim), "export PATH\n");
}

TEST(SettingsLocation, BesideTheProgramOrInTheConfigFolder) {
  const std::string folder = jwwtest::FreshFolder("settings_location");
  EXPECT_EQ(SettingsFileLocation(folder, "quillmoor"), folder + "quillmoor.dat");
  EXPECT_EQ(SettingsFileLocation(folder, "quillmoor.exe"), folder + "quillmoor.dat");
  const std::string missing = folder + "no/such/";
  const char* oldXdg = std::getenv("XDG_CONFIG_HOME");
  const std::string keepXdg = oldXdg ? oldXdg : "";
  ::setenv("XDG_CONFIG_HOME", "/cfg", 1);
  EXPECT_EQ(SettingsFileLocation(missing, "quillmoor"), "/cfg/quillmoor/quillmoor.dat");
  ::setenv("XDG_CONFIG_HOME", "relative", 1);  // not absolute: ignored
  const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
  EXPECT_EQ(SettingsFileLocation(missing, "quillmoor"), home + "/.config/quillmoor/quillmoor.dat");
  if (oldXdg) ::setenv("XDG_CONFIG_HOME", keepXdg.c_str(), 1); else ::unsetenv("XDG_CONFIG_HOME");
}

}  // namespace

namespace {

TEST(SettingsFile, GarbageNeverBreaksTheReader) {
  const std::string path = jwwtest::FreshFolder("settings_garbage") + "q.dat";
  uint32_t seed = 12345;
  for (int round = 0; round < 200; ++round) {
    std::string data(static_cast<size_t>(round * 37 % 3000), '\0');
    for (char& c : data) {
      seed = seed * 1103515245u + 12345u;
      c = static_cast<char>(round % 2 ? (seed >> 16) : "0123456789-.\r\n\x82\xA0"[(seed >> 16) % 16]);
    }
    WriteFile(path, data);
    TForm1 form;
    form.LoadSettings(path);
    EXPECT_GE(form.MainBounds.Width, 200);
    EXPECT_LE(form.Separator.size(), 8u);
    EXPECT_TRUE(form.Margin >= 0 && form.Margin <= 100);
  }
}

}  // namespace
