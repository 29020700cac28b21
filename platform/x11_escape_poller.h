// Escape's state from the X server's keyboard state; no event is read or
// handled. Free of Qt (Xlib's macros clash with it).
//
// Each ask is a round trip to the server, and a drawing polls after every
// tenth element: the server is asked at most once per interval of a
// monotonic clock, and between asks the last answer stands. The interval
// keeps Escape answered well within what a person notices.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

#include "gval.h"

typedef struct _XDisplay Display;

class TX11EscapePoller : public TKeyStatePoller {
 public:
  using TClock = std::function<std::chrono::steady_clock::time_point()>;
  static constexpr std::chrono::milliseconds kDefaultInterval{20};

  // The display stays the caller's; nullptr: Escape is never down. An
  // interval of 0 asks the server at every poll.
  explicit TX11EscapePoller(Display* display, std::chrono::milliseconds interval = kDefaultInterval,
                            TClock clock = &std::chrono::steady_clock::now);
  bool EscapeDown() override;
  // Round trips made so far.
  int64_t Asks() const { return asks_; }

 private:
  bool AskServer();

  Display* display_;
  unsigned char keycode_ = 0;  // 0: the keyboard has no Escape key
  std::chrono::steady_clock::duration interval_;
  TClock clock_;
  bool asked_ = false;
  std::chrono::steady_clock::time_point lastAsk_{};
  bool lastAnswer_ = false;
  int64_t asks_ = 0;
};
