// Jw_cad's start of Quillmoor, as it happens under Wine: a Windows program
// (the stand-in for Jw_cad, JWCAD_START_PROBE) starts `quillmoor /G` by its
// Z: drive path in the program's folder, with JWC_TEMP.TXT naming a framed
// drawing by its Z: path. The order dialog must come up on the X display;
// "次へ(&N)" is typed into it, and the sheets must be saved and the program
// end. Run by tools/test-windows.sh, which builds the stand-in and the Wine
// prefix; skipped without them.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "private_x_server.h"
#include "sheet_fixtures.h"

// Xlib's macros (None, Status, ...) clash with other names: last.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

const char kOrderCaption[] = "分割図面の印刷順序設定";

// The Windows form of a Linux path through drive Z: (the root).
std::string ZPath(const std::string& linux) {
  std::string windows = "Z:" + linux;
  for (char& c : windows)
    if (c == '/') c = '\\';
  return windows;
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// A UTF-8 text property of a window; empty when it has none.
std::string TextProperty(Display* display, Window window, const char* name) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  const Atom property = XInternAtom(display, name, False);
  if (XGetWindowProperty(display, window, property, 0, 1024, False, AnyPropertyType, &type, &format, &count, &after,
                         &data) != Success || data == nullptr)
    return std::string();
  std::string text = format == 8 ? std::string(reinterpret_cast<char*>(data), count) : std::string();
  XFree(data);
  return text;
}

// The process id a window was made by (_NET_WM_PID); 0 when not given.
pid_t WindowPid(Display* display, Window window) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  const Atom property = XInternAtom(display, "_NET_WM_PID", False);
  if (XGetWindowProperty(display, window, property, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after,
                         &data) != Success || data == nullptr)
    return 0;
  const pid_t pid = count == 1 && format == 32 ? static_cast<pid_t>(*reinterpret_cast<unsigned long*>(data)) : 0;
  XFree(data);
  return pid;
}

// The shown top-level window with this caption, or None.
Window FindShownWindow(Display* display, const std::string& caption) {
  Window root = 0, parent = 0, *children = nullptr;
  unsigned int count = 0;
  Window found = None;
  if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) return None;
  for (unsigned int i = 0; i < count && found == None; ++i) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, children[i], &attributes) || attributes.map_state != IsViewable) continue;
    if (TextProperty(display, children[i], "_NET_WM_NAME") == caption) found = children[i];
  }
  if (children) XFree(children);
  return found;
}

// Types Alt+key into the window as a user would: focus, then key presses.
void TypeAltKey(Display* display, Window window, KeySym key) {
  XRaiseWindow(display, window);
  XSetInputFocus(display, window, RevertToParent, CurrentTime);
  XSync(display, False);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  const KeyCode alt = XKeysymToKeycode(display, XK_Alt_L), code = XKeysymToKeycode(display, key);
  XTestFakeKeyEvent(display, alt, True, 0);
  XTestFakeKeyEvent(display, code, True, 0);
  XTestFakeKeyEvent(display, code, False, 0);
  XTestFakeKeyEvent(display, alt, False, 0);
  XSync(display, False);
}

bool ProcessRuns(pid_t pid) { return pid > 0 && ::kill(pid, 0) == 0 && fs::exists("/proc/" + std::to_string(pid)); }

// Starts the stand-in under Wine with its output in outputFile.
pid_t StartUnderWine(const std::string& probe, const std::vector<std::string>& arguments,
                     const std::string& display, const std::string& outputFile) {
  const pid_t pid = ::fork();
  if (pid != 0) return pid;
  ::setenv("DISPLAY", display.c_str(), 1);
  ::setenv("QT_QPA_PLATFORM", "xcb", 1);
  if (std::FILE* out = std::freopen(outputFile.c_str(), "w", stdout)) ::dup2(::fileno(out), 2);
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>("wine"));
  argv.push_back(const_cast<char*>(probe.c_str()));
  for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  ::execvp("wine", argv.data());
  ::_exit(127);
}

TEST(JwCadStart, DrivePathStartRunsTheBatchAndCloses) {
  const char* probe = std::getenv("JWCAD_START_PROBE");
  if (probe == nullptr || std::getenv("WINEPREFIX") == nullptr) GTEST_SKIP() << "run by tools/test-windows.sh";
  PrivateXServer server;
  ASSERT_FALSE(server.Name().empty()) << "no Xvfb";
  Display* display = XOpenDisplay(server.Name().c_str());
  ASSERT_NE(display, nullptr);

  // The program as a file of its own in its folder; the drawing elsewhere.
  const std::string root = jwwtest::FreshFolder("jwcad_start");
  const std::string program = root + "prog/";
  const std::string drawings = root + "図面/";
  fs::create_directories(program);
  fs::create_directories(drawings);
  fs::copy_file(QUILLMOOR_EXE, program + "quillmoor");
  jwwtest::JwwBuilder b;
  sheettest::AddFrame(b, 0, 0, 420, 297);
  sheettest::AddFrame(b, 500, 0, 920, 297);
  b.AddLine(jwwtest::MakeLine(10, 10, 100, 100, jwwtest::MakeCommon(0, 0, 1, 1)));
  b.AddLine(jwwtest::MakeLine(510, 10, 600, 100, jwwtest::MakeCommon(0, 0, 1, 1)));
  ASSERT_TRUE(b.WriteFile(drawings + "plan.jww", 700));
  std::ofstream(program + "JWC_TEMP.TXT", std::ios::binary)
      << "hq\r\nfile=" << Utf8ToSjis(ZPath(drawings + "plan.jww").c_str()) << "\r\n";

  const std::string output = root + "probe.txt";
  const pid_t wine = StartUnderWine(probe, {ZPath(program + "quillmoor"), "/G"}, server.Name(), output);
  ASSERT_GT(wine, 0);

  // The order dialog comes up; its program runs in its own folder.
  Window dialog = None;
  for (auto end = Clock::now() + std::chrono::seconds(90); dialog == None && Clock::now() < end;)
    if ((dialog = FindShownWindow(display, kOrderCaption)) == None)
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
  const pid_t quillmoor = dialog == None ? 0 : WindowPid(display, dialog);
  EXPECT_NE(dialog, None) << "no order dialog; the stand-in said:\n" << ReadText(output);
  EXPECT_GT(quillmoor, 0);
  if (quillmoor > 0) {
    std::error_code error;
    const fs::path folder = fs::canonical(program);
    EXPECT_EQ(fs::read_symlink("/proc/" + std::to_string(quillmoor) + "/cwd", error), folder);
    EXPECT_EQ(fs::read_symlink("/proc/" + std::to_string(quillmoor) + "/exe", error), folder / "quillmoor");
  }

  // "次へ(&N)": the run ends and the program closes.
  for (auto end = Clock::now() + std::chrono::seconds(30);
       dialog != None && FindShownWindow(display, kOrderCaption) != None && Clock::now() < end;) {
    TypeAltKey(display, dialog, XK_n);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
  }
  for (auto end = Clock::now() + std::chrono::seconds(30); ProcessRuns(quillmoor) && Clock::now() < end;)
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_FALSE(ProcessRuns(quillmoor)) << "quillmoor did not close";
  EXPECT_TRUE(fs::exists(drawings + "1_plan.jww"));
  EXPECT_TRUE(fs::exists(drawings + "2_plan.jww"));

  int status = 0;
  for (auto end = Clock::now() + std::chrono::seconds(60); ::waitpid(wine, &status, WNOHANG) == 0;) {
    if (Clock::now() > end) {
      ::kill(wine, SIGKILL);
      ::waitpid(wine, &status, 0);
      ADD_FAILURE() << "the stand-in did not end";
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  // Wine cannot wait for a program that is no Windows program.
  const std::string said = ReadText(output);
  EXPECT_NE(said.find("CreateProcess started the program"), std::string::npos) << said;
  EXPECT_NE(said.find("WaitForInputIdle: failed"), std::string::npos) << said;
  if (ProcessRuns(quillmoor)) ::kill(quillmoor, SIGKILL);
  XCloseDisplay(display);
}

}  // namespace
