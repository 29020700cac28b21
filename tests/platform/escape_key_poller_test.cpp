#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QKeyEvent>
#include <cstdlib>
#include <string>

#include "display_choice.h"
#include "escape_key_poller.h"

namespace {

void EnsureGuiApplication() {
  if (QCoreApplication::instance()) return;
  static int argc = 1;
  static char name[] = "platform_tests";
  static char* argv[] = {name, nullptr};
  new QGuiApplication(argc, argv);  // lives for the rest of the process
}

void Send(QEvent::Type type, int key, bool autoRepeat = false) {
  QObject target;
  QKeyEvent event(type, key, Qt::NoModifier, QString(), autoRepeat);
  QCoreApplication::sendEvent(&target, &event);
}

TEST(EscapePoller, EventFilterFollowsPressesAndReleases) {
  EnsureGuiApplication();
  std::unique_ptr<TKeyStatePoller> poller = CreateEscapePoller();  // offscreen: no X server
  ASSERT_NE(dynamic_cast<TEventFilterEscapePoller*>(poller.get()), nullptr);
  struct TStep {
    QEvent::Type type;
    int key;
    bool autoRepeat;
    bool down;
  } steps[] = {
      {QEvent::KeyPress, Qt::Key_A, false, false},
      {QEvent::KeyPress, Qt::Key_Escape, false, true},
      {QEvent::KeyRelease, Qt::Key_Escape, true, true},  // auto-repeat: still held
      {QEvent::KeyRelease, Qt::Key_A, false, true},
      {QEvent::KeyRelease, Qt::Key_Escape, false, false},
      {QEvent::KeyPress, Qt::Key_Escape, false, true},
  };
  for (const TStep& s : steps) {
    Send(s.type, s.key, s.autoRepeat);
    EXPECT_EQ(poller->EscapeDown(), s.down);
  }
  QEvent deactivate(QEvent::ApplicationDeactivate);
  QCoreApplication::sendEvent(qApp, &deactivate);
  EXPECT_FALSE(poller->EscapeDown());
}

TEST(EscapePoller, X11ChosenUnderWaylandOnlyWhenNothingElseWasChosen) {
  struct TCase {
    const char* qpa;
    const char* display;
    const char* wayland;
    bool chosen;
  } cases[] = {
      {nullptr, ":0", "wayland-0", true},
      {"wayland", ":0", "wayland-0", false},
      {nullptr, nullptr, "wayland-0", false},
      {nullptr, ":0", nullptr, false},
  };
  const std::string keep[] = {std::getenv("QT_QPA_PLATFORM") ?: "", std::getenv("DISPLAY") ?: "",
                              std::getenv("WAYLAND_DISPLAY") ?: "", std::getenv("XDG_SESSION_TYPE") ?: ""};
  auto put = [](const char* name, const char* v) { v ? ::setenv(name, v, 1) : ::unsetenv(name); };
  ::unsetenv("XDG_SESSION_TYPE");
  for (const TCase& c : cases) {
    put("QT_QPA_PLATFORM", c.qpa);
    put("DISPLAY", c.display);
    put("WAYLAND_DISPLAY", c.wayland);
    EXPECT_EQ(PreferX11ForKeyPolling(), c.chosen);
    if (c.chosen) {
      EXPECT_STREQ(std::getenv("QT_QPA_PLATFORM"), "xcb");
    }
  }
  const char* names[] = {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "XDG_SESSION_TYPE"};
  for (int i = 0; i < 4; ++i) put(names[i], keep[i].empty() ? nullptr : keep[i].c_str());
}

}  // namespace
