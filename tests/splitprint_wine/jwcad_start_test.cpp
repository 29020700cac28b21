// Jw_cad's start of Quillmoor under Wine: a Windows stand-in for Jw_cad
// (JWCAD_START_PROBE) starts `quillmoor /G` by its Z: path in the program's
// folder, JWC_TEMP.TXT naming a framed drawing by its Z: path. The order
// dialog must come up, take "次へ(&N)", and the sheets be saved and the
// program end. Run by tools/test-windows.sh; skipped without it.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "private_x_server.h"
#include "sheet_fixtures.h"

#include "x_properties.h"  // Xlib's macros: last
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const char kOrderCaption[] = "分割図面の印刷順序設定";

std::string ZPath(std::string linux) {
  for (char& c : linux)
    if (c == '/') c = '\\';
  return "Z:" + linux;
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The shown top-level window with this caption, or None.
Window FindShownWindow(Display* display, const std::string& caption) {
  Window root = 0, parent = 0, *children = nullptr, found = None;
  unsigned int count = 0;
  if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) return None;
  for (unsigned int i = 0; i < count && found == None; ++i) {
    XWindowAttributes a;
    if (XGetWindowAttributes(display, children[i], &a) && a.map_state == IsViewable &&
        XTitle(display, children[i]) == caption)
      found = children[i];
  }
  if (children) XFree(children);
  return found;
}

// Alt+key typed into the window as a user would: focus, then key presses.
void TypeAltKey(Display* display, Window window, KeySym key) {
  XRaiseWindow(display, window);
  XSetInputFocus(display, window, RevertToParent, CurrentTime);
  XSync(display, False);
  std::this_thread::sleep_for(300ms);
  const KeyCode alt = XKeysymToKeycode(display, XK_Alt_L), code = XKeysymToKeycode(display, key);
  XTestFakeKeyEvent(display, alt, True, 0);
  XTestFakeKeyEvent(display, code, True, 0);
  XTestFakeKeyEvent(display, code, False, 0);
  XTestFakeKeyEvent(display, alt, False, 0);
  XSync(display, False);
}

bool ProcessRuns(pid_t pid) { return pid > 0 && ::kill(pid, 0) == 0 && fs::exists("/proc/" + std::to_string(pid)); }

TEST(JwCadStart, DrivePathStartRunsTheBatchAndCloses) {
  const char* probe = std::getenv("JWCAD_START_PROBE");
  if (probe == nullptr || std::getenv("WINEPREFIX") == nullptr) GTEST_SKIP() << "run by tools/test-windows.sh";
  PrivateXServer server;
  ASSERT_FALSE(server.Name().empty()) << "no Xvfb";
  Display* display = XOpenDisplay(server.Name().c_str());
  ASSERT_NE(display, nullptr);

  // The program as a file of its own in its folder; the drawing elsewhere.
  const std::string root = jwwtest::FreshFolder("jwcad_start");
  const std::string program = root + "prog/", drawings = root + "図面/", output = root + "probe.txt";
  fs::create_directories(program);
  fs::create_directories(drawings);
  fs::copy_file(QUILLMOOR_EXE, program + "quillmoor");
  jwwtest::JwwBuilder b;
  for (double x : {0, 500}) {
    sheettest::AddFrame(b, x, 0, x + 420, 297);
    b.AddLine(jwwtest::MakeLine(x + 10, 10, x + 100, 100, jwwtest::MakeCommon(0, 0, 1, 1)));
  }
  ASSERT_TRUE(b.WriteFile(drawings + "plan.jww", 700));
  std::ofstream(program + "JWC_TEMP.TXT", std::ios::binary)
      << "hq\r\nfile=" << Utf8ToSjis(ZPath(drawings + "plan.jww").c_str()) << "\r\n";

  const std::string zProgram = ZPath(program + "quillmoor");
  const pid_t wine = ::fork();
  if (wine == 0) {
    ::setenv("DISPLAY", server.Name().c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    ::setenv("XDG_STATE_HOME", (root + "state").c_str(), 1);
    if (std::FILE* out = std::freopen(output.c_str(), "w", stdout)) ::dup2(::fileno(out), 2);
    ::execlp("wine", "wine", probe, zProgram.c_str(), "/G", static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ASSERT_GT(wine, 0);

  // The order dialog comes up; its program runs in its own folder.
  Window dialog = None;
  WaitFor([&] { return (dialog = FindShownWindow(display, kOrderCaption)) != None; }, 90);
  const std::vector<long> pid =
      dialog == None ? std::vector<long>() : XProperty<long>(display, dialog, "_NET_WM_PID", XA_CARDINAL);
  const pid_t quillmoor = pid.size() == 1 ? static_cast<pid_t>(pid[0]) : 0;
  EXPECT_NE(dialog, None) << "no order dialog; the stand-in said:\n" << ReadText(output);
  std::error_code error;  // no process: empty links
  const fs::path folder = fs::canonical(program), proc = "/proc/" + std::to_string(quillmoor);
  EXPECT_EQ(fs::read_symlink(proc / "cwd", error), folder) << quillmoor;
  EXPECT_EQ(fs::read_symlink(proc / "exe", error), folder / "quillmoor");

  // "次へ(&N)": the run ends and the program closes.
  WaitFor([&] {
    if (dialog == None || FindShownWindow(display, kOrderCaption) == None) return true;
    TypeAltKey(display, dialog, XK_n);
    std::this_thread::sleep_for(500ms);
    return false;
  }, 30);
  EXPECT_TRUE(WaitFor([&] { return !ProcessRuns(quillmoor); }, 30)) << "quillmoor did not close";
  EXPECT_TRUE(fs::exists(drawings + "1_plan.jww"));
  EXPECT_TRUE(fs::exists(drawings + "2_plan.jww"));

  if (!WaitFor([&] { return ::waitpid(wine, nullptr, WNOHANG) != 0; }, 60)) {
    ::kill(wine, SIGKILL);
    ::waitpid(wine, nullptr, 0);
    ADD_FAILURE() << "the stand-in did not end";
  }
  // Wine cannot wait for a program that is no Windows program.
  const std::string said = ReadText(output);
  for (const char* line : {"CreateProcess started the program", "WaitForInputIdle: failed"})
    EXPECT_NE(said.find(line), std::string::npos) << said;
  if (ProcessRuns(quillmoor)) ::kill(quillmoor, SIGKILL);
  XCloseDisplay(display);
}

}  // namespace
