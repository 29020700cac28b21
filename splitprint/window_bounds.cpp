#include "window_bounds.h"

#include <algorithm>

namespace {

constexpr int64_t kMinVisible = 40;

int64_t Overlap(int64_t a0, int64_t a1, int64_t b0, int64_t b1) { return std::max<int64_t>(0, std::min(a1, b1) - std::max(a0, b0)); }

}  // namespace

TWindowBounds PlaceOnScreens(const TWindowBounds& stored, const std::vector<TScreenArea>& screens,
                             const TWindowBounds& design) {
  if (screens.empty()) return stored;
  const int64_t needX = std::min<int64_t>(kMinVisible, std::max<int64_t>(stored.Width, 1));
  const int64_t needY = std::min<int64_t>(kMinVisible, std::max<int64_t>(stored.Height, 1));
  for (const TScreenArea& s : screens) {
    const int64_t x = Overlap(stored.Left, int64_t{stored.Left} + stored.Width, s.Left, int64_t{s.Left} + s.Width);
    const int64_t y = Overlap(stored.Top, int64_t{stored.Top} + stored.Height, s.Top, int64_t{s.Top} + s.Height);
    if (x >= needX && y >= needY) return stored;
  }
  TWindowBounds placed = stored;
  placed.Left = design.Left;
  placed.Top = design.Top;
  return placed;
}
