// Stored window positions checked against the screens, so that a window
// saved on a monitor that is gone does not open out of reach.
#pragma once

#include <vector>

#include "form1_state.h"

// A screen's available area.
struct TScreenArea {
  int32_t Left = 0, Top = 0, Width = 0, Height = 0;
};

// The stored bounds when they overlap a screen by at least 40 x 40 pixels
// (the whole window when it is smaller); otherwise the design position with
// the stored size. Without any screen known (Wayland tells no positions)
// the stored bounds are kept.
TWindowBounds PlaceOnScreens(const TWindowBounds& stored, const std::vector<TScreenArea>& screens,
                             const TWindowBounds& design);
