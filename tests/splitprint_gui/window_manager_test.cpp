// The program as a user starts it: a copy in a folder of its own, on an X
// server with a window manager (openbox) that frames its windows. The main
// window opens where it was closed, whatever the command line.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include <gtest/gtest.h>

#include "jww_model_maker.h"
#include "private_x_server.h"
#include "wine_launch.h"
#include "x11_clients.h"

extern char** environ;

namespace {

// Polls for about ten seconds.
bool WaitFor(const std::function<bool()>& done) {
  for (int i = 0; i < 500; ++i) {
    if (done()) return true;
    ::usleep(20000);
  }
  return done();
}

// A program on the private display, stopped by its id when still running.
class Child {
 public:
  Child(const std::string& exe, const std::vector<std::string>& args, const std::string& display) {
    // The X platform's own allocations kept to the exit (D-Bus) are not
    // what these tests look at.
    std::vector<std::string> env{"DISPLAY=" + display, "QT_QPA_PLATFORM=xcb", "ASAN_OPTIONS=detect_leaks=0"};
    for (char** e = environ; *e; ++e) {
      const std::string var = *e;
      if (var.rfind("DISPLAY=", 0) != 0 && var.rfind("QT_QPA_PLATFORM=", 0) != 0 && var.rfind("WAYLAND_", 0) != 0 &&
          var.rfind("ASAN_OPTIONS=", 0) != 0)
        env.push_back(var);
    }
    std::vector<char*> argv{const_cast<char*>(exe.c_str())}, envp;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    for (std::string& v : env) envp.push_back(v.data());
    envp.push_back(nullptr);
    pid_ = ::fork();
    if (pid_ == 0) {
      ::execve(exe.c_str(), argv.data(), envp.data());
      ::_exit(127);
    }
  }
  ~Child() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
  }
  bool Ended() {
    return WaitFor([this] {
      if (::waitpid(pid_, nullptr, WNOHANG) != pid_) return false;
      pid_ = -1;
      return true;
    });
  }

 private:
  pid_t pid_ = -1;
};

std::vector<std::string> FirstLines(const std::string& path, size_t n) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::string> lines;
  std::string line;
  while (lines.size() < n && std::getline(in, line)) lines.push_back(line.substr(0, line.find('\r')));
  return lines;
}

TEST(WindowManager, MainWindowOpensWhereItWasClosed) {
  const std::string openbox = FindProgramOnPath("openbox");
  if (openbox.empty()) GTEST_SKIP() << "openbox is not installed";
  PrivateXServer server;
  if (server.Name().empty()) GTEST_SKIP() << "no X server";
  XClients x(server.Name());
  ASSERT_TRUE(x.Connected());
  Child manager(openbox, {}, server.Name());
  ASSERT_TRUE(WaitFor([&] { return x.ManagerRunning(); }));

  const std::string folder = jwwtest::FreshFolder("window_manager_program");
  std::filesystem::copy_file(QUILLMOOR_EXE, folder + "quillmoor");
  std::ofstream(folder + "quillmoor.dat", std::ios::binary) << "93\r\n71\r\n400\r\n300\r\n";
  // "/G" without an interface file says so in a box and closes after it.
  const std::vector<std::vector<std::string>> starts{{}, {"/S"}, {"/G"}, {}};
  for (const std::vector<std::string>& args : starts) {
    const std::string how = args.empty() ? "no argument" : args[0];
    Child program(folder + "quillmoor", args, server.Name());
    Window main = 0;
    int left = 0, top = 0;
    ASSERT_TRUE(WaitFor([&] { return (main = x.Find("Quillmoor　Ver.1.05")) != 0 && x.FrameCorner(main, left, top); }))
        << how;
    ::usleep(200000);  // settled
    ASSERT_TRUE(x.FrameCorner(main, left, top));
    EXPECT_EQ(left, 93) << how;
    EXPECT_EQ(top, 71) << how;
    Window box = main;
    if (how == "/G") {
      ASSERT_TRUE(WaitFor([&] { return (box = x.Find("Quillmoor")) != 0; }));
    }
    x.RequestClose(box);
    ASSERT_TRUE(program.Ended()) << how;
    EXPECT_EQ(FirstLines(folder + "quillmoor.dat", 2), (std::vector<std::string>{"93", "71"})) << how;
  }
}

}  // namespace
