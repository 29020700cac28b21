#include "x11_escape_poller.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>

TX11EscapePoller::TX11EscapePoller(Display* display) : display_(display) {
  if (display_ != nullptr) keycode_ = static_cast<unsigned char>(XKeysymToKeycode(display_, XK_Escape));
}

bool TX11EscapePoller::EscapeDown() {
  if (display_ == nullptr || keycode_ == 0) return false;
  char keys[32] = {};
  XQueryKeymap(display_, keys);
  return (static_cast<unsigned char>(keys[keycode_ / 8]) >> (keycode_ % 8)) & 1;
}
