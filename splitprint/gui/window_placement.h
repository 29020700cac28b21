// Stored window bounds applied to the program's windows and read back.
#pragma once

#include "window_bounds.h"

class QWidget;

// Puts a window at its stored bounds, no larger than a screen, moved to its
// design position when the stored one is on no screen. Call it before the
// window is first shown: a position given before the system window exists
// places the frame (what StoredBounds reads back), while one given later
// places the client area under some window managers, and the window would
// creep up by its title bar at every start.
void PlaceWindow(QWidget& window, const TWindowBounds& stored, const TWindowBounds& design);

// The bounds to store for a window: its frame's position and its client
// size. Where positions are unknown (Wayland) the stored position is kept.
TWindowBounds StoredBounds(const QWidget& window, const TWindowBounds& stored);
