// A private X server (Xvfb) for the life of the object; Name() is empty
// where Xvfb is not installed or does not start.
#pragma once

#include <errno.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "wine_launch.h"

class PrivateXServer {
 public:
  PrivateXServer() {
    if (FindProgramOnPath("Xvfb").empty()) return;
    int fds[2];
    if (::pipe(fds) != 0) return;
    const std::string fd = std::to_string(fds[1]);
    pid_ = ::fork();
    if (pid_ == 0) {
      ::close(fds[0]);
      ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-noreset", "-nolisten", "tcp", "-screen", "0", "640x480x24",
               static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(fds[1]);
    // Xvfb writes its display number once it accepts clients.
    std::string number;
    char c = 0;
    for (;;) {
      const ssize_t n = ::read(fds[0], &c, 1);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0 || c == '\n') break;
      number += c;
    }
    // The read end stays open: a server that writes its number again (after
    // a reset) must not die of a broken pipe.
    pipe_ = fds[0];
    if (!number.empty()) display_ = ":" + number;
  }
  ~PrivateXServer() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
    }
    if (pipe_ >= 0) ::close(pipe_);
  }
  const std::string& Name() const { return display_; }

 private:
  pid_t pid_ = -1;
  int pipe_ = -1;
  std::string display_;
};

