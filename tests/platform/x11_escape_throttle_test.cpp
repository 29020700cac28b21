// The X11 poller asks the server at most once per interval, and Escape
// pressed during a long drawing still stops it. A private Xvfb with XTest
// key presses.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>

#include "gra_attribute.h"
#include "gval.h"
#include "jww_data.h"
#include "private_x_server.h"
#include "recording_canvas.h"
#include "synthetic_drawing.h"
#include "x11_escape_poller.h"

// Xlib's macros (None, Status, ...) clash with other names: last.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

using std::chrono::milliseconds;
using TTime = std::chrono::steady_clock::time_point;

struct XSession {
  PrivateXServer server;
  Display* display = nullptr;
  XSession() {
    if (!server.Name().empty()) display = XOpenDisplay(server.Name().c_str());
  }
  ~XSession() {
    if (display != nullptr) XCloseDisplay(display);
  }
  void Escape(bool down) {
    XTestFakeKeyEvent(display, XKeysymToKeycode(display, XK_Escape), down ? True : False, 0);
    XSync(display, False);
  }
};

TEST(X11EscapeThrottle, TheLastAnswerStandsUntilTheIntervalHasPassed) {
  XSession x;
  if (x.display == nullptr) GTEST_SKIP() << "no Xvfb";
  TTime now{};
  TX11EscapePoller poller(x.display, milliseconds(20), [&now] { return now; });
  struct Step {
    int atMs;
    int escapeDown;  // -1: left as it is
    bool expected;
    int64_t asks;
  };
  const Step steps[] = {
      {0, -1, false, 1},   // the first poll asks
      {5, 1, false, 1},    // pressed, but the answer of 0 ms stands
      {19, -1, false, 1},  //
      {20, -1, true, 2},   // the interval has passed: asked again
      {25, 0, true, 2},    // released, the press still stands
      {40, -1, false, 3},  //
      {30, 1, true, 4},    // a clock that went back asks at once
  };
  for (const Step& s : steps) {
    now = TTime(milliseconds(s.atMs));
    if (s.escapeDown >= 0) x.Escape(s.escapeDown == 1);
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(poller.EscapeDown(), s.expected) << "at " << s.atMs << " ms";
    EXPECT_EQ(poller.Asks(), s.asks) << "at " << s.atMs << " ms";
  }
  x.Escape(false);
}

// Presses Escape once the drawing is under way (the poller has answered
// "up" by then), then lets time pass as a slow device would, so the
// poller's interval runs out while the drawing goes on.
class PressingCanvas : public TRecordingCanvas {
 public:
  explicit PressingCanvas(XSession& x) : x_(x) {}
  void LineTo(int32_t, int32_t) override { Stroke(); }
  void Polyline(const TDevicePoint*, size_t) override { Stroke(); }
  int64_t strokesAfterPress = 0;
  std::chrono::steady_clock::time_point pressedAt{};

 private:
  void Stroke() {
    if (++strokes_ < kStrokesBeforePress) return;
    if (strokes_ == kStrokesBeforePress) {
      x_.Escape(true);
      pressedAt = std::chrono::steady_clock::now();
      return;
    }
    if (++strokesAfterPress % 100 == 0) std::this_thread::sleep_for(milliseconds(1));
  }
  static constexpr int64_t kStrokesBeforePress = 5000;
  XSession& x_;
  int64_t strokes_ = 0;
};

TEST(X11EscapeThrottle, EscapePressedDuringALongDrawingStopsIt) {
  XSession x;
  if (x.display == nullptr) GTEST_SKIP() << "no Xvfb";
  TJwwData d;
  const std::vector<uint8_t> bytes = jwwtest::SyntheticDrawingBytes(100'000);
  ASSERT_TRUE(d.LoadFromBytes(bytes.data(), bytes.size()));
  d.BuildBlockTree();
  d.CalcExtents();
  Gval.Reset();
  TgraAttribute attr;
  attr.SetLineWidthMode(true);
  Gval.GraAttribute = &attr;
  const double w = d.Extents[2] - d.Extents[0], h = d.Extents[3] - d.Extents[1];
  SetView(3200, 2400, std::min(3200 / w, 2400 / h), (d.Extents[0] + d.Extents[2]) / 2,
          (d.Extents[1] + d.Extents[3]) / 2);
  TX11EscapePoller poller(x.display);
  SetKeyStatePoller(&poller);
  PressingCanvas canvas(x);
  d.Draw(canvas, 1, -1, -1, true, true, false, 0);
  const auto stoppedAt = std::chrono::steady_clock::now();
  SetKeyStatePoller(nullptr);
  Gval.Reset();
  x.Escape(false);
  // The whole drawing makes well over a million strokes; a sleep every
  // hundred strokes lets the interval pass many times over within the bound.
  ASSERT_GT(canvas.pressedAt.time_since_epoch().count(), 0) << "the drawing ended before the press";
  EXPECT_LT(canvas.strokesAfterPress, 20'000);
  EXPECT_LT(stoppedAt - canvas.pressedAt, milliseconds(2000));  // a generous bound
  EXPECT_GT(poller.Asks(), 1);
}

}  // namespace
