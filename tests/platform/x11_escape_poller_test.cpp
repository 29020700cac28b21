// Escape through the X server's keyboard state, on a private Xvfb with
// XTest key presses.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>

#include "wine_launch.h"
#include "x11_escape_poller.h"

// Xlib's macros (None, Status, ...) clash with other names: last.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

// A private X server for the test; skipped where Xvfb is not installed.
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
      ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", "-screen", "0", "640x480x24",
               static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(fds[1]);
    char buf[16] = {};
    const ssize_t n = ::read(fds[0], buf, sizeof buf - 1);
    ::close(fds[0]);
    if (n > 0) display_ = ":" + std::string(buf, static_cast<size_t>(n - (buf[n - 1] == '\n' ? 1 : 0)));
  }
  ~PrivateXServer() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  const std::string& Name() const { return display_; }

 private:
  pid_t pid_ = -1;
  std::string display_;
};

TEST(EscapePoller, X11KeyboardStateWithoutEvents) {
  PrivateXServer server;
  if (server.Name().empty()) GTEST_SKIP() << "no Xvfb";
  Display* display = XOpenDisplay(server.Name().c_str());
  ASSERT_NE(display, nullptr);
  int event = 0, error = 0, major = 0, minor = 0;
  ASSERT_TRUE(XTestQueryExtension(display, &event, &error, &major, &minor));
  TX11EscapePoller poller(display);
  const KeyCode escape = XKeysymToKeycode(display, XK_Escape);
  const KeyCode other = XKeysymToKeycode(display, XK_a);
  EXPECT_FALSE(poller.EscapeDown());
  XTestFakeKeyEvent(display, other, True, 0);
  XSync(display, False);
  EXPECT_FALSE(poller.EscapeDown());
  XTestFakeKeyEvent(display, escape, True, 0);
  XSync(display, False);
  EXPECT_TRUE(poller.EscapeDown());
  XTestFakeKeyEvent(display, escape, False, 0);
  XTestFakeKeyEvent(display, other, False, 0);
  XSync(display, False);
  EXPECT_FALSE(poller.EscapeDown());
  XCloseDisplay(display);
  EXPECT_FALSE(TX11EscapePoller(nullptr).EscapeDown());
}

}  // namespace
