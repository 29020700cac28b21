// The native program run as Jw_cad runs it: copied into a folder of its own
// with the prepared files, started under a comma-decimal locale, and the
// folder compared byte for byte with what the case expects.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <map>

#include "framecmd_test_files.h"

namespace fs = std::filesystem;

namespace {

// A private de_DE locale (decimal comma), made once per build tree.
std::string CommaLocaleDir() {
  static const std::string dir = [] {
    const fs::path d = fs::path(TOLLWICK_EXE).parent_path() / "test_locale";
    if (!fs::exists(d / "de_DE.UTF-8")) {
      fs::create_directories(d);
      const std::string cmd = "localedef -i de_DE -f UTF-8 '" + (d / "de_DE.UTF-8").string() + "' >/dev/null 2>&1";
      if (std::system(cmd.c_str()) != 0) return std::string();
    }
    return d.string();
  }();
  return dir;
}

// Runs the program in folder with args; answers its exit status.
// asNobody: as root, drop to an unprivileged user so permissions count.
int RunIn(const fs::path& folder, const std::vector<std::string>& args, const std::string& program = "tollwick",
          bool asNobody = false) {
  const pid_t pid = fork();
  if (pid == 0) {
    if (asNobody && geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(125);
    if (chdir("/") != 0) _exit(126);  // never the program folder: it must find it itself
    const std::string locale = CommaLocaleDir();
    if (!locale.empty()) setenv("LOCPATH", locale.c_str(), 1);
    setenv("LC_ALL", "de_DE.UTF-8", 1);
    const std::string exe = (folder / program).string();
    std::vector<char*> argv{const_cast<char*>(exe.c_str())};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(exe.c_str(), argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

fs::path PrepareFolder(const std::string& tag, const std::string& program = "tollwick") {
  const fs::path dir = MakeTempDir(tag);
  fs::copy_file(TOLLWICK_EXE, dir / program);
  return dir;
}

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
