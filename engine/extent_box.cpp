// The extent box: every bound is clamped into [-1e8, 1e8] after every point,
// so a far or infinite point leaves a bound at exactly +-1e8 and a NaN
// coordinate never reaches the box.
#include <algorithm>
#include <cmath>

#include "geometry.h"

namespace {

double Clamp(double v) { return std::clamp(v, -kExtentLimit, kExtentLimit); }

void ClampBox(double& xmin, double& ymin, double& xmax, double& ymax) {
  // A NaN bound can only come from the caller's own start values; it becomes
  // the empty axis so the box stays finite.
  if (std::isnan(xmin) || std::isnan(xmax)) {
    xmin = kExtentLimit;
    xmax = -kExtentLimit;
  }
  if (std::isnan(ymin) || std::isnan(ymax)) {
    ymin = kExtentLimit;
    ymax = -kExtentLimit;
  }
  xmin = Clamp(xmin);
  ymin = Clamp(ymin);
  xmax = Clamp(xmax);
  ymax = Clamp(ymax);
}

// Strict comparisons: an equal value changes nothing. NaN compares false.
void Widen(double v, double& lo, double& hi) {
  if (v < lo) lo = v;
  if (v > hi) hi = v;
}

void InitAxis(double v, double& lo, double& hi) {
  if (std::isnan(v)) {
    lo = kExtentLimit;  // empty: the next real value replaces both sides
    hi = -kExtentLimit;
  } else {
    lo = hi = v;
  }
}

}  // namespace

void ExtentInit(double x, double y, double s, double& xmin, double& ymin, double& xmax, double& ymax) {
  InitAxis(x / s, xmin, xmax);
  InitAxis(y / s, ymin, ymax);
  ClampBox(xmin, ymin, xmax, ymax);
}

void ExtentAddPoint(double x, double y, double s, double& xmin, double& ymin, double& xmax, double& ymax) {
  ClampBox(xmin, ymin, xmax, ymax);  // the caller's start values may be anything
  Widen(x / s, xmin, xmax);
  Widen(y / s, ymin, ymax);
  ClampBox(xmin, ymin, xmax, ymax);
}

void ExtentAddMappedPoint(double x, double y, double tx, double ty, double a, double b, double c, double d,
                          double s, double& xmin, double& ymin, double& xmax, double& ymax) {
  double mx, my;
  MapPoint(x, y, TAffineMap{a, b, c, d, tx, ty, s}, mx, my);
  ExtentAddPoint(mx, my, 1.0, xmin, ymin, xmax, ymax);
}
