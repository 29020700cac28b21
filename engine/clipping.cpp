#include "clipping.h"

#include <cmath>

#include "func.h"

// Each test is written as "not safely inside", so that a NaN coordinate (or
// a NaN window edge) sets both bits of its axis and counts as outside.
int32_t OutCode(double x, double y, double xmin, double ymin, double xmax, double ymax) {
  int32_t code = 0;
  if (!(x - xmin >= kClipTolerance)) code |= kOutLeft;
  if (!(x - xmax <= -kClipTolerance)) code |= kOutRight;
  if (!(y - ymin >= kClipTolerance)) code |= kOutBelow;
  if (!(y - ymax <= -kClipTolerance)) code |= kOutAbove;
  return code;
}

int32_t PointVsWindow(double x, double y, double xmin, double ymin, double xmax, double ymax) {
  return OutCode(x, y, xmin, ymin, xmax, ymax) == 0 ? 0 : 2;
}

int32_t QuadVsWindow(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                     double y4, double xmin, double ymin, double xmax, double ymax) {
  const int32_t c[4] = {OutCode(x1, y1, xmin, ymin, xmax, ymax), OutCode(x2, y2, xmin, ymin, xmax, ymax),
                        OutCode(x3, y3, xmin, ymin, xmax, ymax), OutCode(x4, y4, xmin, ymin, xmax, ymax)};
  if ((c[0] | c[1] | c[2] | c[3]) == 0) return 0;
  for (int i = 0; i < 4; ++i)
    for (int j = i + 1; j < 4; ++j)
      if ((c[i] & c[j]) == 0) return 1;
  return 2;
}

int32_t RotatedRectVsWindow(double x, double y, double width, double height, double angle,
                            double xmin, double ymin, double xmax, double ymax) {
  double x2, y2, x3, y3, x4, y4;
  RotatePoint(x2, y2, x + width, y, x, y, angle);
  RotatePoint(x3, y3, x, y + height, x, y, angle);
  RotatePoint(x4, y4, x + width, y + height, x, y, angle);
  return QuadVsWindow(x, y, x2, y2, x3, y3, x4, y4, xmin, ymin, xmax, ymax);
}

namespace {

// Moves (x, y), whose outcode is code, onto each edge it lies outside of, in
// the order left, right, below, above. Every crossing is computed from the
// unclipped start (x0, y0) and the unclipped differences, never from a point
// already moved.
void ClipEnd(double& x, double& y, int32_t code, double x0, double y0, double dx, double dy,
             double xmin, double ymin, double xmax, double ymax) {
  if ((code & kOutLeft) && std::fabs(dx) > kClipTolerance) {
    x = xmin;
    y = y0 + (xmin - x0) * dy / dx;
    code = OutCode(x, y, xmin, ymin, xmax, ymax);
  }
  if ((code & kOutRight) && std::fabs(dx) > kClipTolerance) {
    x = xmax;
    y = y0 + (xmax - x0) * dy / dx;
    code = OutCode(x, y, xmin, ymin, xmax, ymax);
  }
  if ((code & kOutBelow) && std::fabs(dy) > kClipTolerance) {
    y = ymin;
    x = x0 + (ymin - y0) * dx / dy;
    code = OutCode(x, y, xmin, ymin, xmax, ymax);
  }
  if ((code & kOutAbove) && std::fabs(dy) > kClipTolerance) {
    y = ymax;
    x = x0 + (ymax - y0) * dx / dy;
  }
}

bool AllFinite(double a, double b, double c, double d) {
  return std::isfinite(a) && std::isfinite(b) && std::isfinite(c) && std::isfinite(d);
}

}  // namespace

int32_t ClipSegment(double& x1, double& y1, double& x2, double& y2, double xmin, double ymin,
                    double xmax, double ymax) {
  const int32_t c1 = OutCode(x1, y1, xmin, ymin, xmax, ymax);
  const int32_t c2 = OutCode(x2, y2, xmin, ymin, xmax, ymax);
  if ((c1 | c2) == 0) return 0;
  if ((c1 & c2) != 0) return 2;
  // An infinite end cannot be clipped to a finite crossing: nothing is drawn.
  if (!AllFinite(x1, y1, x2, y2)) return 2;

  const double x0 = x1, y0 = y1;
  const double dx = x2 - x1, dy = y2 - y1;
  double nx1 = x1, ny1 = y1, nx2 = x2, ny2 = y2;
  ClipEnd(nx1, ny1, c1, x0, y0, dx, dy, xmin, ymin, xmax, ymax);
  ClipEnd(nx2, ny2, c2, x0, y0, dx, dy, xmin, ymin, xmax, ymax);
  // Overflowing crossings (or an infinite window edge) leave nothing to draw.
  if (!AllFinite(nx1, ny1, nx2, ny2)) return 2;
  x1 = nx1;
  y1 = ny1;
  x2 = nx2;
  y2 = ny2;
  if (std::fabs(x2 - x1) < kClipTolerance && std::fabs(y2 - y1) < kClipTolerance) return 2;
  return 1;
}

int32_t SegmentVsWindow(double x1, double y1, double x2, double y2, double xmin, double ymin,
                        double xmax, double ymax) {
  return ClipSegment(x1, y1, x2, y2, xmin, ymin, xmax, ymax);
}
