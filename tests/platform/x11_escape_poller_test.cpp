// Escape through the X server's keyboard state, on a private Xvfb with
// XTest key presses.
#include <gtest/gtest.h>

#include <string>

#include "private_x_server.h"
#include "x11_escape_poller.h"

// Xlib's macros (None, Status, ...) clash with other names: last.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

TEST(EscapePoller, X11KeyboardStateWithoutEvents) {
  PrivateXServer server;
  if (server.Name().empty()) GTEST_SKIP() << "no Xvfb";
  Display* display = XOpenDisplay(server.Name().c_str());
  ASSERT_NE(display, nullptr);
  int event = 0, error = 0, major = 0, minor = 0;
  ASSERT_TRUE(XTestQueryExtension(display, &event, &error, &major, &minor));
  TX11EscapePoller poller(display, std::chrono::milliseconds(0));  // asks at every poll
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
