// The native program run as Jw_cad runs it: copied into a folder of its own
// with the prepared files, started under a comma-decimal locale, and the
// folder compared byte for byte with what the case expects.
#include <gtest/gtest.h>
#include <unistd.h>

#include <map>

#include "run_program.h"

namespace fs = std::filesystem;

namespace {

std::map<std::string, std::string> FolderFiles(const fs::path& dir, const std::string& except) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::directory_iterator(dir)) {
    const std::string name = e.path().filename().string();
    if (name != except) files[name] = e.is_regular_file() ? ReadFileBytes(e.path()) : std::string("<not a file>");
  }
  return files;
}

std::vector<std::string> ArgsOf(const fs::path& caseDir) {
  std::vector<std::string> args;
  std::ifstream in(caseDir / "args.txt");
  for (std::string line; std::getline(in, line);) args.push_back(line);
  return args;
}

TEST(TollwickProgram, EveryCaseLeavesExactlyTheExpectedFiles) {
  int cases = 0;
  for (const auto& entry : fs::directory_iterator(TOLLWICK_CASES_DIR)) {
    if (!entry.is_directory()) continue;
    const fs::path c = entry.path();
    const std::string name = c.filename().string();
    const fs::path dir = PrepareFolder(name);
    if (fs::exists(c / "input")) fs::copy(c / "input", dir, fs::copy_options::recursive);
    const int status = RunIn(dir, ArgsOf(c));
    EXPECT_EQ(std::to_string(status) + "\n", ReadFileBytes(c / "status.txt")) << name;
    const auto expected = fs::exists(c / "expected") ? FolderFiles(c / "expected", "") : std::map<std::string, std::string>{};
    EXPECT_EQ(FolderFiles(dir, "tollwick"), expected) << name;
    fs::remove_all(dir);
    ++cases;
  }
  EXPECT_GE(cases, 20);
}

TEST(TollwickProgram, SettingsFileIsNamedAfterTheProgram) {
  const fs::path dir = PrepareFolder("named", "framer.bin");
  WriteFileBytes(dir / "framer.dat", "1\r\n2\r\n4\r\n2\r\n");
  WriteFileBytes(dir / "JWC_TEMP.TXT", "hp1 10 20\r\n");
  EXPECT_EQ(RunIn(dir, {"1"}, "framer.bin"), 0);
  EXPECT_EQ(ReadFileBytes(dir / "framer.dat"), "1\r\n2\r\n4\r\n2\r\n5\r\n5\r\n0\r\n");
  EXPECT_EQ(ReadFileBytes(dir / "JWC_TEMP.TXT"),
            "lg0\r\nly0\r\nlc9\r\nlt19\r\nlw200\r\n10 20 307 20\r\n307 20 307 230\r\n307 230 10 230\r\n10 230 10 20\r\n");
  fs::remove_all(dir);
}

TEST(TollwickProgram, FolderNamesOutsideShiftJisStillWork) {
  for (const char* tag : {"\xE5\x9B\xB3\xE9\x9D\xA2", "\xF0\x9F\x98\x80", "\xC3\xA9t\xC3\xA9"}) {  // 図面, an emoji, été
    const fs::path dir = PrepareFolder(tag);
    WriteFileBytes(dir / "JWC_TEMP.TXT", "hp1 10 20\r\n");
    EXPECT_EQ(RunIn(dir, {"9"}), 0) << tag;
    EXPECT_EQ(ReadFileBytes(dir / "JWC_TEMP.TXT"), "hq\r\n") << tag;
    EXPECT_TRUE(fs::exists(dir / "tollwick.dat")) << tag;
    fs::remove_all(dir);
  }
}

TEST(TollwickProgram, DialogRequestsLeaveTheInterfaceFileAlone) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{{}, {"8"}, {"0"}, {"-3"}, {"word"}}) {
    const fs::path dir = PrepareFolder("dialog");
    WriteFileBytes(dir / "JWC_TEMP.TXT", "hp1 10 20\r\n");
    EXPECT_EQ(RunIn(dir, args), 2) << args.size();
    EXPECT_EQ(FolderFiles(dir, "tollwick"), (std::map<std::string, std::string>{{"JWC_TEMP.TXT", "hp1 10 20\r\n"}}));
    fs::remove_all(dir);
  }
}

TEST(TollwickProgram, InterfaceFileThatIsAFolder) {
  const fs::path dir = PrepareFolder("folder");
  fs::create_directory(dir / "JWC_TEMP.TXT");
  WriteFileBytes(dir / "JWC_TEMP.TXT" / "keep", "x");
  EXPECT_EQ(RunIn(dir, {"1"}), 1);
  EXPECT_EQ(ReadFileBytes(dir / "JWC_TEMP.TXT" / "keep"), "x");
  EXPECT_EQ(FolderFiles(dir, "tollwick").size(), 2u);  // the folder and the settings file
  fs::remove_all(dir);
}

TEST(TollwickProgram, LeftoverOfAnOldTemporaryNameIsNoObstacle) {
  // An earlier program wrote through "JWC_TEMP.TXT.new": a folder of that
  // name must neither fail the mode nor cost the interface file.
  const fs::path dir = PrepareFolder("stale");
  WriteFileBytes(dir / "JWC_TEMP.TXT", "hq\r\nhp1 10 20\r\n");
  fs::create_directory(dir / "JWC_TEMP.TXT.new");
  fs::create_directory(dir / "tollwick.dat.new");
  EXPECT_EQ(RunIn(dir, {"1"}), 0);
  EXPECT_EQ(ReadFileBytes(dir / "JWC_TEMP.TXT").substr(0, 5), "lg0\r\n");
  EXPECT_TRUE(fs::is_regular_file(dir / "tollwick.dat"));
  EXPECT_TRUE(fs::is_directory(dir / "JWC_TEMP.TXT.new"));
  fs::remove_all(dir);
}

TEST(TollwickProgram, ReadOnlyFolderLeavesNoPartialFile) {
  const fs::path dir = PrepareFolder("readonly");
  const std::string input = "hp1 10 20\r\n";
  WriteFileBytes(dir / "JWC_TEMP.TXT", input);
  WriteFileBytes(dir / "tollwick.dat", "7\r\n8\r\n");
  fs::permissions(dir, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  EXPECT_EQ(RunIn(dir, {"1"}, "tollwick", true), 1);
  fs::permissions(dir, fs::perms::owner_write, fs::perm_options::add);
  // Neither file could be replaced; both stay whole and nothing else appears.
  EXPECT_EQ(FolderFiles(dir, "tollwick"),
            (std::map<std::string, std::string>{{"JWC_TEMP.TXT", input}, {"tollwick.dat", "7\r\n8\r\n"}}));
  fs::remove_all(dir);
}

}  // namespace
