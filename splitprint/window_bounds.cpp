#include "window_bounds.h"

#include <algorithm>

namespace {

constexpr int64_t kMinVisible = 40;

int64_t Overlap(int64_t a0, int64_t a1, int64_t b0, int64_t b1) { return std::max<int64_t>(0, std::min(a1, b1) - std::max(a0, b0)); }

}  // namespace

TWindowBounds FitSizeToScreens(const TWindowBounds& stored, const std::vector<TScreenArea>& screens) {
  int32_t width = 0, height = 0;
  for (const TScreenArea& s : screens) {
    width = std::max(width, s.Width);
    height = std::max(height, s.Height);
  }
  TWindowBounds fitted = stored;
  if (width > 0) fitted.Width = std::min(fitted.Width, width);
  if (height > 0) fitted.Height = std::min(fitted.Height, height);
  return fitted;
}

TWindowBounds PlaceOnScreens(const TWindowBounds& stored, const std::vector<TScreenArea>& screens,
                             const TWindowBounds& design) {
  if (screens.empty()) return stored;
  // Fitted first: a window that is visible only through its excess width
  // would be out of reach once fitted.
  const TWindowBounds fitted = FitSizeToScreens(stored, screens);
  const int64_t needX = std::min<int64_t>(kMinVisible, std::max<int64_t>(fitted.Width, 1));
  const int64_t needY = std::min<int64_t>(kMinVisible, std::max<int64_t>(fitted.Height, 1));
  for (const TScreenArea& s : screens) {
    const int64_t x = Overlap(fitted.Left, int64_t{fitted.Left} + fitted.Width, s.Left, int64_t{s.Left} + s.Width);
    const int64_t y = Overlap(fitted.Top, int64_t{fitted.Top} + fitted.Height, s.Top, int64_t{s.Top} + s.Height);
    if (x >= needX && y >= needY) return fitted;
  }
  TWindowBounds placed = fitted;
  placed.Left = design.Left;
  placed.Top = design.Top;
  return placed;
}
