#include "wine_launch.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

extern char** environ;

std::string FindProgramOnPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  if (path == nullptr || name.empty()) return std::string();
  const std::string folders(path);
  size_t start = 0;
  while (start <= folders.size()) {
    size_t end = folders.find(':', start);
    if (end == std::string::npos) end = folders.size();
    std::string folder = folders.substr(start, end - start);
    start = end + 1;
    if (folder.empty()) folder = ".";
    const std::string candidate = folder + "/" + name;
    struct stat st;
    if (::stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(candidate.c_str(), X_OK) == 0)
      return candidate;
  }
  return std::string();
}

namespace {

// Between fork and exec: tells the parent why the start failed, and ends.
[[noreturn]] void FailChild(int reportFd, int error) {
  while (::write(reportFd, &error, sizeof error) < 0 && errno == EINTR) {
  }
  ::_exit(127);
}

bool Failed(int* error, int value) {
  if (error != nullptr) *error = value;
  return false;
}

}  // namespace

bool StartUnderWine(const std::string& exe, const std::vector<std::string>& args, const std::string& workFolder,
                    int* error) {
  const std::string wine = FindProgramOnPath("wine");
  if (wine.empty()) return Failed(error, ENOENT);
  // Everything the child needs is made before the fork: between fork and exec
  // only async-signal-safe calls are allowed (the caller may have threads).
  std::vector<std::string> strings{wine, exe};
  strings.insert(strings.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& s : strings) argv.push_back(s.data());
  argv.push_back(nullptr);
  const char* folder = workFolder.empty() ? nullptr : workFolder.c_str();
  // The started program's end of this pipe closes at its exec; before that a
  // failure writes its error number into it.
  int report[2];
  if (::pipe2(report, O_CLOEXEC) != 0) return Failed(error, errno);

  const pid_t child = ::fork();
  if (child < 0) {
    const int forkError = errno;
    ::close(report[0]);
    ::close(report[1]);
    return Failed(error, forkError);
  }
  if (child == 0) {
    ::close(report[0]);
    // The middle process ends at once so the program is adopted by init.
    ::setsid();
    const pid_t grandchild = ::fork();
    if (grandchild < 0) FailChild(report[1], errno);
    if (grandchild != 0) ::_exit(0);
    if (folder != nullptr && ::chdir(folder) != 0) FailChild(report[1], errno);
    const int devnull = ::open("/dev/null", O_RDONLY);
    if (devnull >= 0) {
      ::dup2(devnull, 0);
      if (devnull != 0) ::close(devnull);
    }
    ::execve(argv[0], argv.data(), environ);
    FailChild(report[1], errno);
  }
  ::close(report[1]);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  int childError = 0;
  ssize_t n;
  while ((n = ::read(report[0], &childError, sizeof childError)) < 0 && errno == EINTR) {
  }
  ::close(report[0]);
  if (n == static_cast<ssize_t>(sizeof childError)) return Failed(error, childError != 0 ? childError : EIO);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return Failed(error, ECHILD);
  return true;
}
