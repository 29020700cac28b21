// Window positions as the settings file keeps them, and the check of a
// stored position against the screens, so that a window saved on a monitor
// that is gone does not open out of reach.
#pragma once

#include <cstdint>
#include <vector>

// Position of a window's frame and size of its client area, as stored in
// the settings file.
struct TWindowBounds {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Width = 0;
  int32_t Height = 0;
};

// Where each window was designed to open.
inline constexpr TWindowBounds kMainWindowDesign{193, 111, 520, 488};
inline constexpr TWindowBounds kSheetPreviewDesign{240, 120, 640, 540};
inline constexpr TWindowBounds kFrameChooserDesign{240, 120, 640, 540};
inline constexpr TWindowBounds kPrintOrderDesign{280, 160, 480, 420};

// A screen's available area.
struct TScreenArea {
  int32_t Left = 0, Top = 0, Width = 0, Height = 0;
};

// The stored size, no wider and no taller than the largest available area
// of the screens: a settings file may ask for any size, and the window's
// image would be as large.
TWindowBounds FitSizeToScreens(const TWindowBounds& stored, const std::vector<TScreenArea>& screens);

// The stored bounds, their size fitted to the screens, when they overlap a
// screen by at least 40 x 40 pixels (the whole window when it is smaller);
// otherwise the design position with that size. Without any screen known
// the stored bounds are kept (where positions are not told, as on Wayland,
// FitSizeToScreens alone applies).
TWindowBounds PlaceOnScreens(const TWindowBounds& stored, const std::vector<TScreenArea>& screens,
                             const TWindowBounds& design);
