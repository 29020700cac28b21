// Small helpers shared by the geometry files (not part of the engine's surface).
#pragma once

#include <cmath>

#include "func.h"
#include "geometry.h"

namespace geom {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2 * kPi;

// Direction of (dx, dy) in [0, 2π); 0 for a null vector.
inline double AngleOf(double dx, double dy) { return VectorAngle(dx, dy); }

// Rot_θ(u, v) about the origin.
inline void Rotate(double u, double v, double theta, double& ru, double& rv) {
  const double c = std::cos(theta), s = std::sin(theta);
  ru = u * c - v * s;
  rv = u * s + v * c;
}

inline void Apply(const TAffineMap& m, double x, double y, double& mx, double& my) {
  mx = (m.a * x + m.b * y + m.tx) / m.s;
  my = (m.c * x + m.d * y + m.ty) / m.s;
}

// |a - 1|, |b|, |c|, |d - 1| all within 1e-14 (translation and divisor not looked at).
inline bool IsIdentityMatrix(const TAffineMap& m) {
  return std::fabs(m.a - 1) <= 1e-14 && std::fabs(m.b) <= 1e-14 && std::fabs(m.c) <= 1e-14 &&
         std::fabs(m.d - 1) <= 1e-14;
}

}  // namespace geom
