// Rounding, swapping and plane geometry.
#include "func.h"

#include <cmath>
#include <limits>
#include <numbers>
#include <utility>

int32_t RoundToEvenInt(double x) {
  if (std::isnan(x)) return 0;
  if (x >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (x <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  // nearbyint follows the default rounding mode, which is to nearest, ties to even.
  return static_cast<int32_t>(std::nearbyint(x));
}

double RoundToDecimals(int32_t n, int32_t mode, double x) {
  static constexpr double kPowers[10] = {1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
  const double p = n >= 1 && n <= 9 ? kPowers[n] : 1.0;
  double a = std::fabs(x) * p;
  // Beyond the double range at that step: x has no decimals left to round.
  if (std::isinf(a)) return x;
  if (mode == 1) {
    a += 0.9999999999;  // not 1: a value already on the step stays there
  } else if (mode != 0) {
    a += 0.5;
  }
  // std::trunc rather than an integer cast: |x| * p may be far beyond int64.
  const double r = std::trunc(a) / p;
  return x >= 0 ? r : -r;
}

void ExchangeDoubles(double& a, double& b) { std::swap(a, b); }

std::string BoolTo01(bool b) { return b ? "1" : "0"; }

double RotateX(double x, double y, double cx, double cy, double a) {
  return cx + std::cos(a) * (x - cx) - std::sin(a) * (y - cy);
}

double RotateY(double x, double y, double cx, double cy, double a) {
  return cy + std::sin(a) * (x - cx) + std::cos(a) * (y - cy);
}

void RotatePoint(double& rx, double& ry, double x, double y, double cx, double cy, double a) {
  const double c = std::cos(a);
  const double s = std::sin(a);
  const double dx = x - cx;
  const double dy = y - cy;
  rx = cx + c * dx - s * dy;
  ry = cy + s * dx + c * dy;
}

double VectorAngle(double dx, double dy) {
  if (std::fabs(dx) < 1e-14 && std::fabs(dy) < 1e-14) return 0;
  constexpr double kTwoPi = 2 * std::numbers::pi;
  double a = std::atan2(dy, dx);
  if (a < 0) {
    a += kTwoPi;
    // A tiny negative angle rounds up to 2*pi itself; it is direction 0.
    if (a >= kTwoPi) a = 0;
  }
  return a;
}

double Distance(double x1, double y1, double x2, double y2) {
  const double dx = x2 - x1;
  const double dy = y2 - y1;
  return std::sqrt(dx * dx + dy * dy);
}
