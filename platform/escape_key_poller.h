// Where the abort poll learns whether Escape is held. Under X11 the server's
// keyboard state is asked at the moment of the poll (XQueryKeymap), without
// handling any event, as the drawing loop expects. Elsewhere (Wayland,
// offscreen) no program may read the keyboard: an application event filter
// follows Escape's presses and releases, and so only sees them when the
// event queue is handled (the batch does that once per drawing).
#pragma once

#include <QObject>
#include <memory>

#include "gval.h"

#include "x11_escape_poller.h"

class TEventFilterEscapePoller : public QObject, public TKeyStatePoller {
 public:
  // Installs itself on the application; removed with the object.
  TEventFilterEscapePoller();
  ~TEventFilterEscapePoller() override;
  bool EscapeDown() override { return down_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool down_ = false;
};

// The X11 poller when the application runs on X11, else the event filter.
// Needs a QGuiApplication.
std::unique_ptr<TKeyStatePoller> CreateEscapePoller();
