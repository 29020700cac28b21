#include "x11_escape_poller.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <utility>

TX11EscapePoller::TX11EscapePoller(Display* display, std::chrono::milliseconds interval, TClock clock)
    : display_(display), interval_(interval), clock_(std::move(clock)) {
  if (display_ != nullptr) keycode_ = static_cast<unsigned char>(XKeysymToKeycode(display_, XK_Escape));
}

bool TX11EscapePoller::EscapeDown() {
  if (display_ == nullptr || keycode_ == 0) return false;
  if (interval_.count() <= 0) return AskServer();
  const auto now = clock_();
  // A clock that went back (a fake in tests) asks again rather than waiting.
  if (!asked_ || now - lastAsk_ >= interval_ || now < lastAsk_) {
    lastAnswer_ = AskServer();
    lastAsk_ = now;
    asked_ = true;
  }
  return lastAnswer_;
}

bool TX11EscapePoller::AskServer() {
  ++asks_;
  char keys[32] = {};
  XQueryKeymap(display_, keys);
  return (static_cast<unsigned char>(keys[keycode_ / 8]) >> (keycode_ % 8)) & 1;
}
