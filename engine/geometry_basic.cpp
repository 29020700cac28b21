// Points, lines and intersections.
#include <algorithm>
#include <cmath>

#include "func.h"
#include "geometry_internal.h"
#include "jwwtype.h"

TAffineMap BlockTreeMap(const TEntJwwBlockTree& row) {
  return TAffineMap{row.M11, row.M12, row.M21, row.M22, row.OriginX, row.OriginY, 1.0};
}

double PointDistance(double x1, double y1, double x2, double y2) { return Distance(x1, y1, x2, y2); }

// The point is turned about the first line point until the line is
// horizontal; its height above the line is the offset.
double PerpendicularOffset(double x1, double y1, double x2, double y2, double px, double py) {
  const double phi = geom::AngleOf(x2 - x1, y2 - y1);
  return std::fabs(RotateY(px, py, x1, y1, -phi) - y1);
}

namespace {

constexpr double kGrid = 1e-12;

// A difference snapped to the 1e-12 grid is zero when it lies in
// (-1.5e-12, 0.5e-12). Truncation in double, so a huge or infinite
// difference never goes through an integer conversion.
bool SnapsToZero(double v) { return std::trunc(v / kGrid + 0.5) * kGrid == 0; }

bool Within(double v, double e1, double e2) {
  return v >= std::min(e1, e2) - kGrid && v <= std::max(e1, e2) + kGrid;
}

}  // namespace

int32_t IntersectSegments(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                          double y4, double& X, double& Y) {
  const bool vertical1 = SnapsToZero(x1 - x2);
  const bool vertical2 = SnapsToZero(x3 - x4);
  double x, y;
  if (vertical1 && vertical2) return 0;
  if (vertical1) {
    x = x1;
    y = y3 + (x1 - x3) * ((y4 - y3) / (x4 - x3));
  } else if (vertical2) {
    x = x3;
    y = y1 + (x3 - x1) * ((y2 - y1) / (x2 - x1));
  } else {
    const double m1 = (y2 - y1) / (x2 - x1);
    const double m2 = (y4 - y3) / (x4 - x3);
    if (SnapsToZero(m1 - m2)) return 0;
    const double b1 = y1 - m1 * x1;
    const double b2 = y3 - m2 * x3;
    x = (b2 - b1) / (m1 - m2);
    y = m1 * x + b1;
  }
  X = x;
  Y = y;
  const bool onBoth = Within(x, x1, x2) && Within(y, y1, y2) && Within(x, x3, x4) && Within(y, y3, y4);
  return onBoth ? 1 : 2;
}

void RotateAbout(double x, double y, double cx, double cy, double angle, double& rx, double& ry) {
  double ox, oy;
  RotatePoint(ox, oy, x, y, cx, cy, angle);
  rx = ox;
  ry = oy;
}

void EllipsePoint(double cx, double cy, double r, double f, double theta, double t, double& x, double& y) {
  double u, v;
  geom::Rotate(r * std::cos(t), r * f * std::sin(t), theta, u, v);
  x = cx + u;
  y = cy + v;
}

void MapPoint(double x, double y, const TAffineMap& m, double& mx, double& my) {
  double ox, oy;
  geom::Apply(m, x, y, ox, oy);
  mx = ox;
  my = oy;
}

void MapSegment(double x1, double y1, double x2, double y2, const TAffineMap& m, double& mx1, double& my1,
                double& mx2, double& my2) {
  double ax, ay, bx, by;
  geom::Apply(m, x1, y1, ax, ay);
  geom::Apply(m, x2, y2, bx, by);
  mx1 = ax;
  my1 = ay;
  mx2 = bx;
  my2 = by;
}
