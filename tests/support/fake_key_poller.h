// A key-state poller for tests: the test holds Escape down or lets it go.
// While an instance lives it is the installed poller; the one installed
// before comes back when it goes.
#pragma once

#include "gval.h"

class FakeKeyPoller : public TKeyStatePoller {
 public:
  FakeKeyPoller() : previous_(GetKeyStatePoller()) { SetKeyStatePoller(this); }
  ~FakeKeyPoller() override { SetKeyStatePoller(previous_); }
  FakeKeyPoller(const FakeKeyPoller&) = delete;
  FakeKeyPoller& operator=(const FakeKeyPoller&) = delete;

  void PressEscape() { down_ = true; }
  void ReleaseEscape() { down_ = false; }
  // Escape went down and up again between two polls: nothing is held now.
  void TapEscape() {
    PressEscape();
    ReleaseEscape();
  }

  // Escape goes down at the k-th poll from now on (1: the next one).
  void PressEscapeAtPoll(int k) { pressAt_ = polls_ + k; }

  bool EscapeDown() override {
    ++polls_;
    if (pressAt_ > 0 && polls_ >= pressAt_) down_ = true;
    return down_;
  }
  int Polls() const { return polls_; }

 private:
  TKeyStatePoller* previous_;
  bool down_ = false;
  int polls_ = 0;
  int pressAt_ = 0;  // 0: no press planned
};
