#include "display_choice.h"

#include <cstdlib>
#include <cstring>

namespace {

bool Set(const char* name) {
  const char* v = std::getenv(name);
  return v != nullptr && v[0] != '\0';
}

}  // namespace

bool PreferX11ForKeyPolling() {
  if (Set("QT_QPA_PLATFORM") || !Set("DISPLAY")) return false;
  const char* session = std::getenv("XDG_SESSION_TYPE");
  const bool wayland = Set("WAYLAND_DISPLAY") || (session != nullptr && std::strcmp(session, "wayland") == 0);
  if (!wayland) return false;
  return ::setenv("QT_QPA_PLATFORM", "xcb", 1) == 0;
}
