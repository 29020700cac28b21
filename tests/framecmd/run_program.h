// Runs the native program as Jw_cad does: a copy in a folder of its own,
// started from another working folder under a comma-decimal locale.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "framecmd_test_files.h"

namespace fs = std::filesystem;

// A private de_DE locale (decimal comma), made once per build tree.
inline std::string CommaLocaleDir() {
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
inline int RunIn(const fs::path& folder, const std::vector<std::string>& args, const std::string& program = "tollwick",
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

inline fs::path PrepareFolder(const std::string& tag, const std::string& program = "tollwick") {
  const fs::path dir = MakeTempDir(tag);
  fs::copy_file(TOLLWICK_EXE, dir / program);
  return dir;
}

// Runs the program once over an interface file of the given lines; answers
// the rewritten file's lines.
inline std::vector<std::string> RunOverLines(const std::vector<std::string>& lines, const std::vector<std::string>& args,
                                             const std::string& quillmoorDat = "", const std::string& settings = "") {
  const fs::path dir = PrepareFolder("loop");
  std::string file;
  for (const std::string& l : lines) file += l + "\r\n";
  WriteFileBytes(dir / "JWC_TEMP.TXT", file);
  if (!quillmoorDat.empty()) WriteFileBytes(dir / "quillmoor.dat", quillmoorDat);
  if (!settings.empty()) WriteFileBytes(dir / "tollwick.dat", settings);
  RunIn(dir, args);
  const std::string out = ReadFileBytes(dir / "JWC_TEMP.TXT");
  fs::remove_all(dir);
  std::vector<std::string> result;
  for (size_t at = 0, end; (end = out.find("\r\n", at)) != std::string::npos; at = end + 2)
    result.push_back(out.substr(at, end - at));
  return result;
}
