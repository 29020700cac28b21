// Tollwick as a native Linux command: the same core as the Windows program,
// for tests and fuzzing. It has no dialog: the settings dialog lives in the
// Windows program that Jw_cad starts. Its folder keeps the bytes the file
// system gives.
#include <clocale>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "sjis.h"
#include "tollwick_run.h"

namespace {

std::filesystem::path ExecutablePath(const char* argv0) {
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) exe = std::filesystem::absolute(argv0, ec);
  return exe;
}

}  // namespace

int main(int argc, char** argv) {
  // The user's locale, as a program started from Jw_cad runs under; numbers
  // in the files never depend on it.
  std::setlocale(LC_ALL, "");
  const std::filesystem::path exe = ExecutablePath(argv[0]);
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(Utf8ToSjis(argv[i]));

  TForm1 form;
  const TTollwickRun run = RunTollwick(form, args, exe.parent_path(), exe.stem());
  if (run.ShowDialog) {
    std::fprintf(stderr,
                 "tollwick: the settings dialog is part of tollwick.exe, the Windows program that Jw_cad "
                 "starts; this build runs modes 1 to 7 only.\n");
    return 2;
  }
  return run.ExitStatus;
}
