#include "sheet_view.h"

#include <algorithm>
#include <cmath>


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

