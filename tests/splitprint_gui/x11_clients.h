// The windows a window manager manages on an X server, seen as another
// client sees them: found by title, where their frames are, asked to close.
#pragma once

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <string>
#include <vector>

class XClients {
 public:
  explicit XClients(const std::string& display) : d_(XOpenDisplay(display.c_str())) {
    // A window may go between two requests: such errors are no failure.
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
  }
  ~XClients() {
    if (d_) XCloseDisplay(d_);
  }
  bool Connected() const { return d_ != nullptr; }
  // A window manager has announced itself.
  bool ManagerRunning() { return !Longs(DefaultRootWindow(d_), "_NET_SUPPORTING_WM_CHECK", XA_WINDOW).empty(); }
  // The managed window titled title; 0 when there is none.
  Window Find(const std::string& title) {
    for (long w : Longs(DefaultRootWindow(d_), "_NET_CLIENT_LIST", XA_WINDOW))
      if (Title(static_cast<Window>(w)) == title) return static_cast<Window>(w);
    return 0;
  }
  // The top-left corner of the window's frame; false before it is framed.
  bool FrameCorner(Window w, int& x, int& y) {
    const std::vector<long> extents = Longs(w, "_NET_FRAME_EXTENTS", XA_CARDINAL);  // left, right, top, bottom
    Window child = 0;
    if (extents.size() != 4 || !XTranslateCoordinates(d_, w, DefaultRootWindow(d_), 0, 0, &x, &y, &child)) return false;
    x -= static_cast<int>(extents[0]);
    y -= static_cast<int>(extents[2]);
    return true;
  }
  // What the window manager's close button sends.
  void RequestClose(Window w) {
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = w;
    e.xclient.message_type = XInternAtom(d_, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(d_, "WM_DELETE_WINDOW", False));
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(d_, w, False, NoEventMask, &e);
    XFlush(d_);
  }

 private:
  // A property's raw items (format 8 or 32) of the given type.
  template <typename T>
  std::vector<T> Property(Window w, const char* name, Atom type) {
    Atom actual = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<T> items;
    if (XGetWindowProperty(d_, w, XInternAtom(d_, name, False), 0, 1024, False, type, &actual, &format, &count,
                           &after, &data) == Success &&
        data != nullptr && format == (sizeof(T) == 1 ? 8 : 32))
      items.assign(reinterpret_cast<T*>(data), reinterpret_cast<T*>(data) + count);
    if (data) XFree(data);
    return items;
  }
  std::vector<long> Longs(Window w, const char* name, Atom type) { return Property<long>(w, name, type); }
  std::string Title(Window w) {
    const std::vector<char> t = Property<char>(w, "_NET_WM_NAME", XInternAtom(d_, "UTF8_STRING", False));
    return std::string(t.begin(), t.end());
  }

  Display* d_;
};
