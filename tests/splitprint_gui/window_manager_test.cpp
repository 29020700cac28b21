// The program as a user starts it: a copy in a folder of its own, on an X
// server with a window manager (openbox) that frames its windows. The main
// window opens where it was closed, whatever the command line.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include <gtest/gtest.h>

#include "jww_model_maker.h"
#include "private_x_server.h"
#include "wine_launch.h"

#include "x_properties.h"  // Xlib's macros: last

extern char** environ;

namespace {

// A program on the private display, stopped by its id when still running.
class Child {
 public:
  Child(const std::string& exe, std::vector<std::string> args, const std::string& display) {
    // The first of a name counts. The X platform's allocations kept to the
    // exit (D-Bus) are not what these tests look at.
    std::vector<std::string> env{"DISPLAY=" + display, "QT_QPA_PLATFORM=xcb", "ASAN_OPTIONS=detect_leaks=0"};
    std::vector<char*> argv{const_cast<char*>(exe.c_str())}, envp;
    for (std::string& a : args) argv.push_back(a.data());
    for (std::string& v : env) envp.push_back(v.data());
    for (char** e = environ; *e; ++e) envp.push_back(*e);
    argv.push_back(nullptr);
    envp.push_back(nullptr);
    if ((pid_ = ::fork()) == 0) {
      ::execve(exe.c_str(), argv.data(), envp.data());
      ::_exit(127);
    }
  }
  ~Child() {
    if (pid_ > 0 && ::kill(pid_, SIGTERM) == 0) ::waitpid(pid_, nullptr, 0);
  }
  bool Ended() {
    return WaitFor([this] { return ::waitpid(pid_, nullptr, WNOHANG) == pid_ && (pid_ = -1); });
  }

 private:
  pid_t pid_ = -1;
};

// The managed window titled title; 0 when there is none.
Window FindManaged(Display* d, const std::string& title) {
  for (long w : XProperty<long>(d, DefaultRootWindow(d), "_NET_CLIENT_LIST", XA_WINDOW))
    if (XTitle(d, w) == title) return static_cast<Window>(w);
  return 0;
}

// The top-left corner of the window's frame; false before it is framed.
bool FrameCorner(Display* d, Window w, int& x, int& y) {
  const std::vector<long> extents = XProperty<long>(d, w, "_NET_FRAME_EXTENTS", XA_CARDINAL);  // left, right, top, ...
  Window child = 0;
  if (extents.size() != 4 || !XTranslateCoordinates(d, w, DefaultRootWindow(d), 0, 0, &x, &y, &child)) return false;
  x -= static_cast<int>(extents[0]);
  y -= static_cast<int>(extents[2]);
  return true;
}

// What the window manager's close button sends.
void RequestClose(Display* d, Window w) {
  XEvent e{};
  e.xclient = {ClientMessage, 0, False, d, w, XInternAtom(d, "WM_PROTOCOLS", False), 32, {}};
  e.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
  XSendEvent(d, w, False, NoEventMask, &e);
  XFlush(d);
}

TEST(WindowManager, MainWindowOpensWhereItWasClosed) {
  const std::string openbox = FindProgramOnPath("openbox");
  if (openbox.empty()) GTEST_SKIP() << "openbox is not installed";
  PrivateXServer server;
  if (server.Name().empty()) GTEST_SKIP() << "no X server";
  const std::unique_ptr<Display, int (*)(Display*)> x(XOpenDisplay(server.Name().c_str()), XCloseDisplay);
  ASSERT_NE(x, nullptr);
  Display* d = x.get();
  XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });  // a window may go between two requests
  Child manager(openbox, {}, server.Name());
  ASSERT_TRUE(WaitFor([&] {
    return !XProperty<long>(d, DefaultRootWindow(d), "_NET_SUPPORTING_WM_CHECK", XA_WINDOW).empty();
  }));

  const std::string folder = jwwtest::FreshFolder("window_manager_program");
  std::filesystem::copy_file(QUILLMOOR_EXE, folder + "quillmoor");
  std::ofstream(folder + "quillmoor.dat", std::ios::binary) << "93\r\n71\r\n400\r\n300\r\n";
  // "/G" without an interface file says so in a box and closes after it.
  for (const std::string how : {"", "/S", "/G", ""}) {
    Child program(folder + "quillmoor", how.empty() ? std::vector<std::string>{} : std::vector{how}, server.Name());
    Window main = 0, box = 0;
    int left = 0, top = 0;
    ASSERT_TRUE(WaitFor([&] {
      return (main = FindManaged(d, "Quillmoor　Ver.1.05")) != 0 && FrameCorner(d, main, left, top);
    })) << how;
    ::usleep(200000);  // settled
    ASSERT_TRUE(FrameCorner(d, main, left, top));
    EXPECT_EQ(std::pair(left, top), std::pair(93, 71)) << how;
    ASSERT_TRUE(WaitFor([&] { return (box = how == "/G" ? FindManaged(d, "Quillmoor") : main) != 0; }));
    RequestClose(d, box);
    ASSERT_TRUE(program.Ended()) << how;
    std::ifstream settings(folder + "quillmoor.dat", std::ios::binary);
    const std::string saved(std::istreambuf_iterator<char>(settings), {});
    EXPECT_EQ(saved.substr(0, 8), "93\r\n71\r\n") << how;
  }
}

}  // namespace
