#include "private_cups_server.h"

#include <grp.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Spool and temporary files are read by filters running as user lp.
void MakeSharedWithLp(const std::string& dir) {
  fs::create_directories(dir);
  if (const group* lp = ::getgrnam("lp"); lp && ::chown(dir.c_str(), static_cast<uid_t>(-1), lp->gr_gid) == 0) {
    ::chmod(dir.c_str(), 0770);
  } else {
    ::chmod(dir.c_str(), 0777);
  }
}

}  // namespace

PrivateCupsServer::PrivateCupsServer(const std::string& folder) : folder_(folder) {
  const std::string cupsd = "/usr/sbin/cupsd";
  if (::access(cupsd.c_str(), X_OK) != 0) {
    problem_ = cupsd + " is not installed";
    return;
  }
  fs::remove_all(folder_);
  for (const char* d : {"root/ppd", "cache", "state", "log"}) fs::create_directories(folder_ + "/" + d);
  // Filters run as lp and read the spool: it lives where lp can reach it
  // whatever the build folder's parents allow.
  char shared[] = "/tmp/quillmoor-cups-XXXXXX";
  if (!::mkdtemp(shared)) {
    problem_ = "cannot make a spool folder in /tmp";
    return;
  }
  spool_ = shared;
  ::chmod(spool_.c_str(), 0755);
  MakeSharedWithLp(spool_ + "/spool");
  MakeSharedWithLp(spool_ + "/tmp");
  socket_ = folder_ + "/cups.sock";
  const std::string root = folder_ + "/root";
  std::ofstream(root + "/cupsd.conf") << "LogLevel warn\n"
                                      << "Listen " << socket_ << "\n"
                                      << "Browsing Off\nWebInterface No\nDefaultAuthType None\n"
                                      << "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                                      << "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n"
                                      << "</Policy>\n";
  std::ofstream(root + "/cups-files.conf") << "ServerRoot " << root << "\n"
                                           << "RequestRoot " << spool_ << "/spool\n"
                                           << "TempDir " << spool_ << "/tmp\n"
                                           << "CacheDir " << folder_ << "/cache\n"
                                           << "StateDir " << folder_ << "/state\n"
                                           << "ErrorLog " << folder_ << "/log/error_log\n"
                                           << "AccessLog " << folder_ << "/log/access_log\n"
                                           << "PageLog " << folder_ << "/log/page_log\n"
                                           << "ServerBin /usr/lib/cups\nDataDir /usr/share/cups\n";
  std::ofstream(root + "/cups-pdf.conf") << "Out ${HOME}/PDF\n";

  const std::string out = folder_ + "/log/cupsd.out";
  const pid_t pid = ::fork();
  if (pid == 0) {
    std::freopen(out.c_str(), "w", stdout);
    std::freopen(out.c_str(), "a", stderr);
    const std::string conf = root + "/cupsd.conf", files = root + "/cups-files.conf";
    ::execl(cupsd.c_str(), "cupsd", "-f", "-c", conf.c_str(), "-s", files.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  if (pid < 0) {
    problem_ = "cannot start cupsd";
    return;
  }
  pid_ = pid;
  ::setenv("CUPS_SERVER", socket_.c_str(), 1);
  // Up when its socket answers; "lpstat -r" exits 0 also when it is not.
  for (int i = 0; i < 200; ++i) {
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      break;
    }
    std::string answer;
    if (fs::exists(socket_) && Run("lpstat -r", &answer) == 0 && answer.find("is running") != std::string::npos &&
        answer.find("not") == std::string::npos)
      return;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  problem_ = "cupsd did not start: " + ReadFile(out) + ReadFile(folder_ + "/log/error_log");
  if (pid_ > 0) {
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }
}

PrivateCupsServer::~PrivateCupsServer() {
  Stop();
  std::error_code ec;
  if (!spool_.empty()) fs::remove_all(spool_, ec);
}

void PrivateCupsServer::Stop() {
  if (pid_ <= 0) return;
  ::kill(pid_, SIGTERM);
  for (int i = 0; i < 100; ++i) {
    if (::waitpid(pid_, nullptr, WNOHANG) == pid_) {
      pid_ = -1;
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ::kill(pid_, SIGKILL);
  ::waitpid(pid_, nullptr, 0);
  pid_ = -1;
}

int PrivateCupsServer::Run(const std::string& command, std::string* out) const {
  const std::string line = "CUPS_SERVER='" + socket_ + "' " + command + " 2>&1";
  std::FILE* p = ::popen(line.c_str(), "r");
  if (!p) return -1;
  char buffer[512];
  std::string text;
  while (std::fgets(buffer, sizeof buffer, p)) text += buffer;
  const int status = ::pclose(p);
  if (out) *out = text;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
