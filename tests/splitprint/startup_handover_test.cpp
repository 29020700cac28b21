// Start-up, command line, shut-down and the Jw_cad hand-over of the main
// window's logic, with a fake Wine prefix and a fake wine.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "bind_images.h"
#include "fake_wine.h"
#include "form1_state.h"
#include "gval.h"
#include "jww_builder.h"
#include "jww_model_maker.h"
#include "sjis.h"
#include "system_reason.h"
#include "unusual_names.h"
#include "window_host.h"

namespace {

std::string S(const char* utf8) { return Utf8ToSjis(utf8); }

void Write(const std::string& path, const std::string& data) { std::ofstream(path, std::ios::binary) << data; }

bool IsFolder(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

class FakeWindowHost : public TWindowHost {
 public:
  std::vector<std::string> Statuses, Informs, Confirms;
  bool ConfirmAnswer = true;
  int32_t OrderDialogs = 0;
  void SetStatusText(const std::string& text) override { Statuses.push_back(text); }
  bool Confirm(const std::string& text) override {
    Confirms.push_back(text);
    return ConfirmAnswer;
  }
  void Inform(const std::string& text) override { Informs.push_back(text); }
  void SetRunButtonsEnabled(bool) override {}
  void ReadPrintOptions(TForm1&) override {}
  bool ShowOrderDialog(TForm1&) override {
    ++OrderDialogs;
    return false;
  }
  void PreviewSheets(TForm1&) override {}
  void PrintSheets(TForm1&) override {}
  bool EscapeHeld() override { return false; }
  void PumpMessages() override {}
  std::string FormatShortDateTime(int64_t) override { return "2026/12/08 10:00"; }
};

const char kKey[] = "[Software\\\\Classes\\\\Jwwin.Document\\\\shell\\\\open\\\\command] 1\n@=\"";

class Startup : public ::testing::Test {
 protected:
  void SetUp() override {
    Gval.Reset();
    BindImg.Reset();
    program = jwwtest::FreshFolder("startup_program");
    Gval.ProgramFolder = program;
    form.SettingsPath = program + "quillmoor.dat";
    ::mkdir((wine.DriveC() + "JWW").c_str(), 0755);
    jwcad = wine.Prefix() + "drive_c/JWW/";
  }
  std::string Drawing(const std::string& path) {
    jwwtest::JwwBuilder b;
    EXPECT_TRUE(b.WriteFile(path, 700));
    return path;
  }
  FakeWine wine{"startup_wine"};
  std::string program;
  std::string jwcad;
  TForm1 form;
  FakeWindowHost host;
};

TEST_F(Startup, JwCadFolderFromTheOpenCommand) {
  ::mkdir((wine.DriveC() + "Program Files").c_str(), 0755);
  ::mkdir((wine.DriveC() + "Program Files/Jw cad").c_str(), 0755);
  struct TCase {
    const char* command;  // as the .reg file holds it; nullptr: no registry
    std::string folder;
  } cases[] = {
      {nullptr, jwcad},  // C:\JWW\ when the registry gives nothing
      {"C:\\\\jww\\\\Jw_win.exe %1", jwcad},
      {"\\\"C:\\\\Program Files\\\\JW CAD\\\\Jw_win.exe\\\" \\\"%1\\\"",
       wine.Prefix() + "drive_c/Program Files/Jw cad/"},
      {"C:\\\\Program Files\\\\JW CAD\\\\Jw_win.exe %1", wine.Prefix() + "drive_c/"},
      {"Jw_win.exe %1", ""},  // no folder
      {"Q:\\\\JWW\\\\Jw_win.exe", ""},  // no such drive
  };
  for (const TCase& c : cases) {
    if (c.command != nullptr) wine.WriteRegistry("user.reg", std::string(kKey) + c.command + "\"\n");
    form.WinePrefix = wine.Prefix();
    form.FindJwCadFolder();
    EXPECT_EQ(form.JwCadFolder, c.folder) << (c.command ? c.command : "(none)");
  }
}

TEST_F(Startup, DrawingNamedInTheInterfaceFile) {
  ::mkdir((wine.DriveC() + "Work").c_str(), 0755);
  const std::string drawing = Drawing(wine.DriveC() + "Work/Plan.JWW");
  const std::string linux = wine.Prefix() + "drive_c/Work/Plan.JWW";
  struct TCase {
    const char* file;  // name on disk
    std::string text;
    std::string result;
  } cases[] = {
      {"JWC_TEMP.TXT", "hq\r\nfile=  C:\\WORK\\plan.jww  \r\nfile=C:\\other.jww\r\n", linux},
      {"jwc_temp.txt", "file=C:\\Work\\Plan.JWW\n", linux},
      {"JWC_TEMP.TXT", "FILE=C:\\Work\\Plan.JWW\r\n", ""},
      {"JWC_TEMP.TXT", "hq\r\n", ""},
      {"JWC_TEMP.TXT", "file=" + drawing + "\r\n", drawing},  // a Linux path stays
  };
  for (const TCase& c : cases) {
    std::remove((program + "JWC_TEMP.TXT").c_str());
    std::remove((program + "jwc_temp.txt").c_str());
    Write(program + c.file, c.text);
    form.WinePrefix = wine.Prefix();
    EXPECT_EQ(form.ReadJwcTempFileName(), c.result) << c.text;
  }
}

TEST_F(Startup, RefFileEntryAndItsTable) {
  struct TCase {
    std::string jwf;
    std::string name;
  } cases[] = {
      {"[x]\r\n  ref_file = c:\\jww\\ref.txt  \r\nREF_FILE=other\r\n", "C:\\JWW\\REF.TXT"},
      {"REF_FILE=ref.txt\r\n", "REF.TXT"},
      {"END\r\nREF_FILE=ref.txt\r\n", ""},
      {"REF_FILE=" + S("ソ表.txt") + "\r\n", S("ソ表.TXT")},  // trail bytes untouched
  };
  form.JwCadFolder = jwcad;
  for (const TCase& c : cases) {
    Write(jwcad + "JW_WIN.JWF", c.jwf);
    form.RefFileName.clear();
    form.ReadRefFileSetting();
    EXPECT_EQ(form.RefFileName, c.name) << c.jwf;
  }

  Write(jwcad + "Ref.txt", "%%A\talpha\r\n%% B\tblank\r\nx%%C\tnot first\r\nno tab\r\n%%B\t\r\n%%D\tc\x01tl\n");
  form.WinePrefix = wine.Prefix();
  form.RefFileName = "C:\\JWW\\REF.TXT";
  form.LoadRefFile();
  ASSERT_EQ(BindImg.RefStrCount, 3);
  EXPECT_EQ(BindImg.RefStrList[0].Name, "%%A");
  EXPECT_EQ(BindImg.RefStrList[0].Value, "alpha");
  EXPECT_EQ(BindImg.RefStrList[1].Value, "");
  EXPECT_EQ(BindImg.RefStrList[2].Value, "ctl");

  // Without a folder the entry is looked up beside the drawing.
  const std::string here = jwwtest::FreshFolder("startup_ref_beside");
  Write(here + "ref.txt", "%%Z\tzed\n");
  form.RefFileName = "REF.TXT";
  form.DrawingPath = here + "a.jww";
  form.DrawingFolder = here;
  form.LoadRefFile();
  ASSERT_EQ(BindImg.RefStrCount, 1);
  EXPECT_EQ(BindImg.RefStrList[0].Value, "zed");
  form.DrawingFolder = program;  // nothing there: the table is emptied
  form.LoadRefFile();
  EXPECT_EQ(BindImg.RefStrCount, 0);
}

TEST_F(Startup, OpensTheDrawingInJwCadUnderWine) {
  wine.InstallFakeWine();
  Write(jwcad + "JW_WIN.EXE", "");
  ::mkdir((wine.DriveC() + "Work").c_str(), 0755);
  const std::string drawing = Drawing(wine.DriveC() + "Work/a b.jww");
  form.WinePrefix = wine.Prefix();
  form.JwCadFolder = jwcad;
  EXPECT_FALSE(form.OpenInJwCad(wine.DriveC() + "Work/missing.jww"));
  ASSERT_TRUE(form.OpenInJwCad(drawing));
  EXPECT_EQ(wine.WaitForRecord(), wine.Prefix() + "drive_c/JWW\n" + jwcad + "JW_WIN.EXE\nC:\\Work\\a b.jww\n");
}

// A start that cannot happen is told with the path tried and the reason.
TEST_F(Startup, JwCadThatCannotStartIsToldWithThePathTried) {
  wine.InstallFakeWine();
  form.WinePrefix = wine.Prefix();
  form.JwCadProgram = "Q:\\JWW\\Jw_win.exe";  // on a drive Wine does not know
  auto told = [&, drawing = Drawing(wine.DriveC() + "a.jww")](const std::string& folder) {
    std::string failure;
    form.JwCadFolder = folder;
    return form.OpenInJwCad(drawing, &failure) ? "started" : failure;
  };
  const std::string head = S("Jw_cadを起動できませんでした。\r\n");
  EXPECT_EQ(told(jwcad), head + jwcad + S("Jw_win.exe：") + SystemErrorText(ENOENT));
  Write(jwcad + "JW_WIN.EXE", "");
  EXPECT_EQ(told(""), head + S("Q:\\JWW\\Jw_win.exe：") + SystemErrorText(ENOENT));
  wine.HideWine();
  EXPECT_EQ(told(jwcad), head + jwcad + S("JW_WIN.EXE：wineが見つかりません"));
}

TEST_F(Startup, CommandLine) {
  const std::string work = jwwtest::FreshFolder("startup_cwd");
  Drawing(work + "b.JWW");
  Drawing(work + "a.jww");
  ::mkdir((work + "dir.jww").c_str(), 0755);
  Write(work + "c.txt", "");
  ::mkdir((wine.DriveC() + "W").c_str(), 0755);
  const std::string jwcDrawing = Drawing(wine.DriveC() + "W/g.jww");
  const std::string jwcText = "file=C:\\W\\G.JWW\r\n";
  struct TCase {
    const char* name;
    std::vector<std::string> args;
    std::string jwcTemp;  // empty: no interface file
    TForm1::TStartMode mode;
    std::vector<std::string> files;
  } cases[] = {
      {"files", {"b.JWW", work + "a.jww", "missing.jww", "dir.jww", "c.txt", ""}, "",
       TForm1::TStartMode::Interactive, {work + "b.JWW", work + "a.jww"}},
      {"jwcad", {"/G"}, jwcText, TForm1::TStartMode::JwCadRun, {wine.Prefix() + "drive_c/W/g.jww"}},
      {"jwcadWithoutFile", {"/G"}, "", TForm1::TStartMode::JwCadRun, {}},
      {"lowerG", {"/g"}, jwcText, TForm1::TStartMode::Interactive, {}},
      {"gAndFile", {"/G", "a.jww"}, jwcText, TForm1::TStartMode::Interactive, {work + "a.jww"}},
      {"settings", {"/S"}, "", TForm1::TStartMode::SettingsOnly, {}},
  };
  (void)jwcDrawing;
  for (const TCase& c : cases) {
    std::remove((program + "JWC_TEMP.TXT").c_str());
    if (!c.jwcTemp.empty()) Write(program + "JWC_TEMP.TXT", c.jwcTemp);
    TForm1 f;
    f.SettingsPath = form.SettingsPath;
    EXPECT_EQ(f.FormShow(c.args, work), c.mode) << c.name;
    EXPECT_EQ(f.FileList, c.files) << c.name;
  }
}

// Names Shift-JIS cannot hold reach the list with their own bytes; Jw_cad's
// Shift-JIS "file=" line finds the file whose name folds to the same form.
TEST_F(Startup, DrawingsWithAnyNameFromTheCommandLineAndJwCad) {
  const std::string work = jwwtest::FreshFolder("startup_names");
  const auto listed = [&](const std::string& argument) {
    TForm1 f;
    f.SettingsPath = form.SettingsPath;
    f.FormShow({argument}, work);
    return f.FileList;
  };
  for (const jwwtest::TUnusualName& name : jwwtest::UnusualNames()) {
    const std::string relative = name.Stem + "/" + name.Stem + ".jww";
    std::filesystem::create_directories(work + name.Stem);
    Drawing(work + relative);
    EXPECT_EQ(listed(relative), std::vector{work + relative}) << name.Stem;
    if (!name.HasSjisForm) continue;
    std::filesystem::create_directories(wine.DriveC() + "W/" + name.Stem);
    Drawing(wine.DriveC() + "W/" + relative);
    Write(program + "JWC_TEMP.TXT", "file=C:\\W\\" + S(name.Stem.c_str()) + "\\" + S(name.Stem.c_str()) + ".JWW\r\n");
    EXPECT_EQ(listed("/G"), std::vector{wine.Prefix() + "drive_c/W/" + relative}) << name.Stem;
  }
}

// The program folder of a user "Jürgen": settings and temporary folders
// inside it, no look-alike sibling made.
TEST_F(Startup, ProgramFolderWithAnUmlaut) {
  const std::string home = jwwtest::FreshFolder("startup_home");
  const std::string folder = home + "Jürgen/quillmoor/";
  std::filesystem::create_directories(folder);
  Gval.ProgramFolder = folder;
  form.SettingsPath = folder + "quillmoor.dat";
  form.FormShow({}, folder);
  EXPECT_EQ(form.TempFolder.rfind(folder + "TEMP/", 0), 0u) << form.TempFolder;
  EXPECT_EQ(form.TempSheetFolder.rfind(folder + "TMP/", 0), 0u) << form.TempSheetFolder;
  EXPECT_TRUE(form.FormClose());
  EXPECT_TRUE(std::filesystem::is_regular_file(form.SettingsPath));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(home), {}), 1);  // "Jürgen" alone
}

TEST_F(Startup, JwCadRunAsksRunsOrRefuses) {
  ::mkdir((wine.DriveC() + "W").c_str(), 0755);
  Drawing(wine.DriveC() + "W/g.jww");
  Write(program + "JWC_TEMP.TXT", "file=C:\\W\\g.jww\r\n");
  struct TCase {
    bool confirmSaved;
    bool answer;
    bool withDrawing;
    int32_t orderDialogs;
    std::string inform;
  } cases[] = {
      {true, true, true, 1, ""},
      {false, false, true, 1, ""},
      {true, false, true, 0, S("実行を中止しました。")},
      {true, true, false, 0, S("JWW形式図面ファイルを開いて実行して下さい。")},
  };
  for (const TCase& c : cases) {
    TForm1 f;
    f.SettingsPath = form.SettingsPath;
    ASSERT_EQ(f.FormShow({"/G"}, program), TForm1::TStartMode::JwCadRun);
    f.ConfirmSaved = c.confirmSaved;
    f.SetDestinationChecked(kDestTemporary, true);
    if (!c.withDrawing) f.FileList.clear();
    FakeWindowHost h;
    h.ConfirmAnswer = c.answer;
    f.RunJwCadStart(h);
    EXPECT_EQ(h.OrderDialogs, c.orderDialogs);
    EXPECT_EQ(h.Informs.empty() ? "" : h.Informs.back(), c.inform);
    if (c.confirmSaved && c.withDrawing) {
      ASSERT_EQ(h.Confirms.size(), 1u);
      EXPECT_EQ(h.Confirms[0], S("上書き保存を行いましたか？\r\n　ファイル名：") + f.FileList[0] +
                                   S("\r\n　タイムスタンプ：2026/12/08 10:00\r\n　現在の日時 ：2026/12/08 10:00"));
    }
  }
}

TEST_F(Startup, ShutDownRemovesOnlyEmptyFoldersAndSaves) {
  ASSERT_EQ(form.FormShow({}, program), TForm1::TStartMode::Interactive);
  EXPECT_TRUE(IsFolder(program + "TEMP"));
  EXPECT_TRUE(IsFolder(program + "TMP"));
  EXPECT_EQ(form.TempSheetFolder.compare(0, program.size() + 4, program + "TMP/"), 0);  // a private folder inside
  Write(form.TempSheetFolder + "left-by-the-run.bmp", "x");
  Write(program + "TMP/user-file.txt", "mine");
  form.Separator = "a/b";
  form.StartNumber = 20000;
  ASSERT_TRUE(form.FormClose());
  EXPECT_FALSE(IsFolder(program + "TEMP"));
  EXPECT_TRUE(IsFolder(program + "TMP"));  // not empty: left with the user's file
  EXPECT_FALSE(IsFolder(form.TempSheetFolder));
  TForm1 again;
  again.LoadSettings(form.SettingsPath);
  EXPECT_EQ(again.Separator, "");
  EXPECT_EQ(again.StartNumber, 9999);
}

// No private folders in the program or cache folder: runs are refused with
// the reasons, nothing is made; settings still save.
TEST_F(Startup, WithoutPrivateFoldersRunsAreRefused) {
  const std::string root = jwwtest::FreshFolder("startup_no_folders"), drawing = Drawing(root + "a.jww");
  Write(root + "file", "a file, not a folder");
  Gval.ProgramFolder = root + "file/";
  const std::string cache = std::getenv("XDG_CACHE_HOME") ? std::getenv("XDG_CACHE_HOME") : "";
  ::setenv("XDG_CACHE_HOME", (root + "file").c_str(), 1);
  const std::string why = S("：") + SystemErrorText(ENOTDIR);
  const std::string refusal =
      S("作業フォルダを作れませんでした。\r\n") + root + "file/" + why + "\r\n" + root + "file/quillmoor/" + why;
  for (const std::string mode : {"window", "/G"}) {
    TForm1 f;
    f.SettingsPath = form.SettingsPath;
    f.FormShow({mode == "/G" ? mode : drawing}, root);
    f.FileList = {drawing};
    FakeWindowHost h;
    mode == "/G" ? f.RunJwCadStart(h) : f.StartBatch(h);
    EXPECT_EQ(h.Informs, std::vector{refusal}) << mode;
    EXPECT_TRUE(h.Confirms.empty() && h.OrderDialogs == 0) << mode;
  }
  EXPECT_EQ(form.FormShow({"/S"}, root), TForm1::TStartMode::SettingsOnly);
  EXPECT_TRUE(form.FormClose());
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(root), {}), 2);  // "file", "a.jww"
  cache.empty() ? ::unsetenv("XDG_CACHE_HOME") : ::setenv("XDG_CACHE_HOME", cache.c_str(), 1);
}

}  // namespace
