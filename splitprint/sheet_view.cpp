#include "sheet_view.h"

#include <algorithm>
#include <cmath>

#include "func.h"

TSheetView FitTurnedExtents(double xmin, double ymin, double xmax, double ymax, double angle, int32_t width,
                            int32_t height, double offsetX, double offsetY) {
  const double c = std::cos(angle), s = std::sin(angle);
  const double xs[4] = {xmin, xmax, xmax, xmin}, ys[4] = {ymin, ymin, ymax, ymax};
  double left = 0, right = 0, bottom = 0, top = 0;
  for (int i = 0; i < 4; ++i) {
    // As the drawing turns its points (exact for angle 0).
    const double x = c * xs[i] - s * ys[i], y = s * xs[i] + c * ys[i];
    left = i == 0 ? x : std::min(left, x);
    right = i == 0 ? x : std::max(right, x);
    bottom = i == 0 ? y : std::min(bottom, y);
    top = i == 0 ? y : std::max(top, y);
  }
  const double w = (right - left) * 1.01, h = (top - bottom) * 1.01;
  TSheetView view;
  view.Scale = std::min(width / w, height / h);
  view.CenterX = (left + right) / 2 + offsetX;
  view.CenterY = (bottom + top) / 2 + offsetY;
  return view;
}

TDeviceRect ShrunkPageRect(double pageWidthMm, double pageHeightMm, int32_t width, int32_t height) {
  const TDeviceRect whole{0, 0, width, height};
  if (!(pageWidthMm > 0) || !(pageHeightMm > 0) || !std::isfinite(pageWidthMm) || !std::isfinite(pageHeightMm))
    return whole;
  const double scale = std::min(width / pageWidthMm, height / pageHeightMm);
  const int32_t w = std::clamp(RoundToInt(pageWidthMm * scale), 0, width);
  const int32_t h = std::clamp(RoundToInt(pageHeightMm * scale), 0, height);
  return TDeviceRect{(width - w) / 2, (height - h) / 2, w, h};
}
