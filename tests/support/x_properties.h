// Windows seen as another X client sees them. Include after other headers:
// Xlib's macros (None, Status, ...) clash with other names.
#pragma once

#include <unistd.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

// Polls every 20 ms until done, for at most the given seconds.
inline bool WaitFor(const std::function<bool()>& done, int seconds = 10) {
  for (auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds); !done(); ::usleep(20000))
    if (std::chrono::steady_clock::now() > end) return false;
  return true;
}

// A window property's items (format 8 or 32) of the given type.
template <typename T>
std::vector<T> XProperty(Display* d, Window w, const char* name, Atom type = AnyPropertyType) {
  Atom actual = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  std::vector<T> items;
  if (XGetWindowProperty(d, w, XInternAtom(d, name, False), 0, 1024, False, type, &actual, &format, &count, &after,
                         &data) == Success &&
      data != nullptr && format == (sizeof(T) == 1 ? 8 : 32))
    items.assign(reinterpret_cast<T*>(data), reinterpret_cast<T*>(data) + count);
  if (data) XFree(data);
  return items;
}

inline std::string XTitle(Display* d, Window w) {
  const std::vector<char> title = XProperty<char>(d, w, "_NET_WM_NAME", XInternAtom(d, "UTF8_STRING", False));
  return std::string(title.begin(), title.end());
}
