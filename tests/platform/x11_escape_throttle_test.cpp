// The X11 poller asks the server at most once per interval, and Escape
// pressed during a long drawing still stops it (XTest presses on Xvfb).
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "fitted_drawing.h"
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
  Display* display = server.Name().empty() ? nullptr : XOpenDisplay(server.Name().c_str());
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
    int atMs, escapeDown;  // escapeDown -1: left as it is
    bool expected;
    int64_t asks;
  } const steps[] = {
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
// "up" by then), then lets time pass as a slow device would.
class PressingCanvas : public TRecordingCanvas {
 public:
  explicit PressingCanvas(XSession& x) : x_(x) {}
  void LineTo(int32_t, int32_t) override { Stroke(); }
  void Polyline(const TDevicePoint*, size_t) override { Stroke(); }
  int64_t strokes = 0, strokesAfterPress = 0;
  TTime pressedAt{};

 private:
  void Stroke() {
    if (++strokes == 5000) {
      x_.Escape(true);
      pressedAt = std::chrono::steady_clock::now();
    } else if (strokes > 5000 && ++strokesAfterPress % 100 == 0) {
      std::this_thread::sleep_for(milliseconds(1));
    }
  }
  XSession& x_;
};

TEST(X11EscapeThrottle, EscapePressedDuringALongDrawingStopsIt) {
  XSession x;
  if (x.display == nullptr) GTEST_SKIP() << "no Xvfb";
  TJwwData d;
  const std::vector<uint8_t> bytes = jwwtest::SyntheticDrawingBytes(100'000);
  ASSERT_TRUE(d.LoadFromBytes(bytes.data(), bytes.size()));
  d.BuildBlockTree();
  TX11EscapePoller poller(x.display);
  PressingCanvas canvas(x);
  {
    const TFittedView view(d, "", 3200, 2400);
    SetKeyStatePoller(&poller);
    d.Draw(canvas, 1, -1, -1, true, true, false, 0);
    SetKeyStatePoller(nullptr);
  }
  const auto stoppedAt = std::chrono::steady_clock::now();
  x.Escape(false);
  // The whole drawing makes well over a million strokes; a sleep every
  // hundred lets the interval pass many times over within the bound.
  ASSERT_GT(canvas.pressedAt.time_since_epoch().count(), 0) << "the drawing ended before the press";
  EXPECT_LT(canvas.strokesAfterPress, 20'000);
  EXPECT_LT(stoppedAt - canvas.pressedAt, milliseconds(2000));  // a generous bound
  EXPECT_GT(poller.Asks(), 1);
}

}  // namespace
