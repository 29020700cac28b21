// Escape's state at the moment of the call, from the X server's keyboard
// state; no event is read or handled. Free of Qt (Xlib's macros clash with it).
#pragma once

#include "gval.h"

typedef struct _XDisplay Display;

class TX11EscapePoller : public TKeyStatePoller {
 public:
  // The display stays the caller's; nullptr: Escape is never down.
  explicit TX11EscapePoller(Display* display);
  bool EscapeDown() override;

 private:
  Display* display_;
  unsigned char keycode_ = 0;  // 0: the keyboard has no Escape key
};
