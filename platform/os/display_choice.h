// Before the application object is made: under Wayland, when an X server is
// reachable too (XWayland sets DISPLAY) and the user chose no Qt platform,
// run on X11 (xcb) so that Escape can be polled at any moment.
#pragma once

// True when it set QT_QPA_PLATFORM to "xcb".
bool PreferX11ForKeyPolling();
