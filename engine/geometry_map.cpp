// Point and text elements under a map.
#include <cmath>
#include <utility>

#include "func.h"
#include "geometry_internal.h"

using geom::kPi;

void MapPointEntity(int32_t lineType, int32_t code, double x, double y, double angle, double symbolScale,
                    const TAffineMap& m, double& mx, double& my, int32_t& mcode, double& mangle,
                    double& msymbolScale) {
  double px, py;
  geom::Apply(m, x, y, px, py);
  int32_t newCode = 0;
  double newAngle = 0, newScale = 1;
  if (lineType == 100) {  // a symbol point turns with the map
    double qx, qy;
    geom::Apply(m, x + 10, y, qx, qy);
    double psi = geom::AngleOf(qx - px, qy - py);
    if (m.a < 0) psi += kPi;
    newCode = code;
    newAngle = angle + psi;
    newScale = symbolScale;
  }
  mx = px;
  my = py;
  mcode = newCode;
  mangle = newAngle;
  msymbolScale = newScale;
}

namespace {

// Four decimals, half up, symmetric about zero.
double Round4HalfUp(double x) { return RoundToDecimals(4, 2, x); }

// At least 1e-4; NaN becomes 1e-4 too.
double SizeFloor(double v) { return v >= 1e-4 ? v : 1e-4; }

struct TTextGeometry {
  double sx, sy, ex, ey;
  int32_t kind;
  double sizeX, sizeY, spacing;
};

// Answers whether the general (non-identity) case was taken.
bool MapTextGeometry(int32_t kind, double sx, double sy, double ex, double ey, double sizeX, double sizeY,
                     double spacing, const TAffineMap& m, TTextGeometry& out) {
  geom::Apply(m, sx, sy, out.sx, out.sy);
  geom::Apply(m, ex, ey, out.ex, out.ey);
  const bool general = !geom::IsIdentityMatrix(m);
  if (!general) {
    out.sizeX = sizeX / m.s;
    out.sizeY = sizeY / m.s;
    out.spacing = spacing / m.s;
    out.kind = kind;
  } else {
    const double phi = geom::AngleOf(ex - sx, ey - sy);
    const double c = std::cos(phi), s = std::sin(phi);
    auto lengthAlong = [&](double len) {
      double qx, qy;
      geom::Apply(m, sx + len * c, sy + len * s, qx, qy);
      return std::hypot(qx - out.sx, qy - out.sy);
    };
    out.sizeX = lengthAlong(sizeX);
    out.spacing = lengthAlong(spacing);
    double hx, hy;  // top of the text: sizeY across the baseline
    geom::Apply(m, sx + sizeY * std::cos(phi + kPi / 2), sy + sizeY * std::sin(phi + kPi / 2), hx, hy);
    out.sizeY = PerpendicularOffset(out.sx, out.sy, out.ex, out.ey, hx, hy);
    if (m.a * m.d < 0) {  // a mirror: the text still runs from start to end
      std::swap(out.sx, out.ex);
      std::swap(out.sy, out.ey);
    }
    out.kind = (kind / 1000) * 1000;  // free size: the last three digits go
  }
  out.sizeX = SizeFloor(Round4HalfUp(out.sizeX));
  out.sizeY = SizeFloor(Round4HalfUp(out.sizeY));
  out.spacing = Round4HalfUp(out.spacing);
  return general;
}

void Store(const TTextGeometry& g, double& msx, double& msy, double& mex, double& mey, int32_t& mkind,
           double& msizeX, double& msizeY, double& mspacing) {
  msx = g.sx;
  msy = g.sy;
  mex = g.ex;
  mey = g.ey;
  mkind = g.kind;
  msizeX = g.sizeX;
  msizeY = g.sizeY;
  mspacing = g.spacing;
}

}  // namespace

void MapTextEntity(int32_t kind, double sx, double sy, double ex, double ey, double sizeX, double sizeY,
                   double spacing, const TAffineMap& m, double& msx, double& msy, double& mex, double& mey,
                   int32_t& mkind, double& msizeX, double& msizeY, double& mspacing) {
  TTextGeometry g;
  MapTextGeometry(kind, sx, sy, ex, ey, sizeX, sizeY, spacing, m, g);
  Store(g, msx, msy, mex, mey, mkind, msizeX, msizeY, mspacing);
}

void MapDimensionText(int32_t kind, double sx, double sy, double ex, double ey, double sizeX, double sizeY,
                      double spacing, const std::string& content, const TAffineMap& m, double& msx,
                      double& msy, double& mex, double& mey, int32_t& mkind, double& msizeX, double& msizeY,
                      double& mspacing) {
  TTextGeometry g;
  if (MapTextGeometry(kind, sx, sy, ex, ey, sizeX, sizeY, spacing, m, g)) {
    // Re-centred on the mapped mid-point with the text's length at its new size.
    const double half = TextLengthSJIS(content, g.sizeX, g.spacing) / 2;
    const double psi = geom::AngleOf(g.ex - g.sx, g.ey - g.sy);
    const double midX = (g.sx + g.ex) / 2, midY = (g.sy + g.ey) / 2;
    g.sx = midX + half * std::cos(psi + kPi);
    g.sy = midY + half * std::sin(psi + kPi);
    g.ex = midX + half * std::cos(psi);
    g.ey = midY + half * std::sin(psi);
  }
  Store(g, msx, msy, mex, mey, mkind, msizeX, msizeY, mspacing);
}
