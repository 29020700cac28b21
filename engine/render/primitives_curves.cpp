// Ellipses, arcs and circular solids as fixed point counts in the world
// buffer: 72 points closed, 73 open, 146 for rings and bands.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>

#include "clipping.h"
#include "func.h"
#include "geometry.h"
#include "gval.h"
#include "primitives.h"

namespace {

constexpr double kFiveDegrees = 0.0872664625997165;
constexpr double kTolerance = 1e-14;

bool Near(double q, double v) { return std::fabs(q - v) <= kTolerance; }

// Points of one ellipse (semi-axes rx along the tilt, ry across it) about
// (cx, cy), then through the map.
struct TEllipseWalker {
  TEllipseFrame frame;
  TAffineMap map;

  void Append(double cosT, double sinT) const {
    double x, y;
    frame.At(cosT, sinT, x, y);
    AppendMapped(x, y);
  }
  void AppendMapped(double x, double y) const {
    Gval.WorldPoints.push_back({(map.a * x + map.b * y + map.tx) / map.s,
                                (map.c * x + map.d * y + map.ty) / map.s});
  }
  // count points from t0, the parameter advancing by adding the step.
  void AppendRun(double t0, double step, int count) const {
    const TParameterRun& run = ParameterRun(t0, step, count);
    for (int k = 0; k < run.count; ++k) Append(run.cosT[static_cast<size_t>(k)], run.sinT[static_cast<size_t>(k)]);
  }
};

void BeginShape() {
  Gval.WorldPoints.clear();
  Gval.WorldPointCount = 0;
}

void EndShape(TCanvas& canvas, bool polygon) {
  Gval.WorldPointCount = static_cast<int32_t>(Gval.WorldPoints.size());
  if (polygon)
    DrawPolygonBuffer(canvas);
  else
    DrawPolylineBuffer(canvas);
  Gval.WorldPoints.clear();
  Gval.WorldPointCount = 0;
}

TAffineMap MakeMap(double tx, double ty, double a, double b, double c, double d, double s) {
  TAffineMap m;
  m.a = a, m.b = b, m.c = c, m.d = d, m.tx = tx, m.ty = ty, m.s = s;
  return m;
}

// count copies of one device point as the run of a curve (what walking a
// curve within one device point gives).
void FlushPointRun(TCanvas& canvas, const TDevicePoint& at, size_t count, bool polygon) {
  Gval.DevicePoints.assign(count, at);
  Gval.DevicePointCount = static_cast<int32_t>(count);
  if (polygon)
    FlushPolygon(canvas);
  else
    FlushPolyline(canvas);
}

}  // namespace

namespace {

// The mapped centre and how far from it every point of the mapped ellipse
// lies at most, with room for rounding; false when not finite or not well
// inside the window.
bool CurveBounds(double cx, double cy, double radius, double flatness, double tx, double ty, double a, double b,
                 double c, double d, double s, double& mx, double& my, double& reach) {
  mx = (a * cx + b * cy + tx) / s, my = (c * cx + d * cy + ty) / s;
  reach = std::max(std::fabs(radius), std::fabs(radius * flatness)) * std::sqrt(a * a + b * b + c * c + d * d) /
              std::fabs(s) +
          1e-9 * (1 + std::fabs(mx) + std::fabs(my));
  if (!std::isfinite(mx) || !std::isfinite(my) || !std::isfinite(reach)) return false;
  const double tol = 2 * kClipTolerance;
  return !(mx - reach <= Gval.ViewXMin + tol || mx + reach >= Gval.ViewXMax - tol ||
           my - reach <= Gval.ViewYMin + tol || my + reach >= Gval.ViewYMax - tol);
}

}  // namespace

bool CurveInsideWindow(double cx, double cy, double radius, double flatness, double tx, double ty, double a,
                       double b, double c, double d, double s) {
  double mx, my, reach;
  return CurveBounds(cx, cy, radius, flatness, tx, ty, a, b, c, d, s, mx, my, reach);
}

bool CurveWithinOneDevicePoint(double cx, double cy, double radius, double flatness, double tx,
                               double ty, double a, double b, double c, double d, double s,
                               TDevicePoint& at) {
  double mx, my, reach;
  if (!CurveBounds(cx, cy, radius, flatness, tx, ty, a, b, c, d, s, mx, my, reach)) return false;
  at = {DeviceX(mx - reach), DeviceY(my - reach)};
  return at.x == DeviceX(mx + reach) && at.y == DeviceY(my + reach);
}

const TParameterRun& ParameterRun(double start, double step, int count) {
  static std::array<TParameterRun, 8> cache;
  static size_t next = 0;
  count = std::clamp(count, 0, TParameterRun::kMaxCount);
  const auto same = [](double a, double b) { return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b); };
  for (const TParameterRun& r : cache)
    if (r.count == count && same(r.start, start) && same(r.step, step)) return r;
  TParameterRun& r = cache[next];
  next = (next + 1) % cache.size();
  r.start = start, r.step = step, r.count = count;
  double t = start;
  for (size_t k = 0; k < static_cast<size_t>(count); ++k, t += step) {
    r.cosT[k] = std::cos(t);
    r.sinT[k] = std::sin(t);
  }
  return r;
}

void DrawMappedEllipse(TCanvas& canvas, double cx, double cy, double radius, double flatness,
                       double tilt, double tx, double ty, double a, double b, double c, double d,
                       double s) {
  TDevicePoint at;
  if (CurveWithinOneDevicePoint(cx, cy, radius, flatness, tx, ty, a, b, c, d, s, at))
    return FlushPointRun(canvas, at, 72, true);
  const TEllipseWalker e{{cx, cy, radius, radius * flatness, tilt}, MakeMap(tx, ty, a, b, c, d, s)};
  BeginShape();
  e.AppendRun(0, kFiveDegrees, 72);
  EndShape(canvas, true);
}

void DrawEllipse(TCanvas& canvas, double cx, double cy, double radius, double flatness,
                 double tilt) {
  DrawMappedEllipse(canvas, cx, cy, radius, flatness, tilt, 0, 0, 1, 0, 0, 1, 1);
}

void DrawMappedArc(TCanvas& canvas, double cx, double cy, double radius, double flatness,
                   double tilt, double start, double sweep, double tx, double ty, double a,
                   double b, double c, double d, double s) {
  TDevicePoint at;
  if (CurveWithinOneDevicePoint(cx, cy, radius, flatness, tx, ty, a, b, c, d, s, at))
    return FlushPointRun(canvas, at, 73, false);
  const TEllipseWalker e{{cx, cy, radius, radius * flatness, tilt}, MakeMap(tx, ty, a, b, c, d, s)};
  BeginShape();
  e.AppendRun(start, sweep / 72, 73);
  EndShape(canvas, false);
}

void DrawArc(TCanvas& canvas, double cx, double cy, double radius, double flatness, double tilt,
             double start, double sweep) {
  DrawMappedArc(canvas, cx, cy, radius, flatness, tilt, start, sweep, 0, 0, 1, 0, 0, 1, 1);
}

void DrawCircleSolid(TCanvas& canvas, int32_t code, double cx, double cy, double radius,
                     double flatness, double tilt, double start, double sweep, double q,
                     double tx, double ty, double a, double b, double c, double d, double s) {
  const TAffineMap map = MakeMap(tx, ty, a, b, c, d, s);
  const TEllipseWalker outer{{cx, cy, radius, radius * flatness, tilt}, map};
  BeginShape();
  if (code == 101) {
    if (Near(q, 100)) {
      outer.AppendRun(0, kFiveDegrees, 72);
    } else {
      outer.AppendRun(start, sweep / 72, 73);
      if (Near(q, 0)) {
        outer.AppendMapped(cx, cy);
      } else if (!Near(q, 5)) {
        double sx, sy, ex, ey, ax, ay;
        ArcEndPoints(cx, cy, radius, flatness, start, sweep, tilt, sx, sy, ex, ey, ax, ay);
        outer.AppendMapped(ax, ay);
      }
    }
    EndShape(canvas, true);
  } else if (code == 111) {
    if (Near(q, 100))
      outer.AppendRun(0, kFiveDegrees, 73);
    else
      outer.AppendRun(start, sweep / 72, 73);
    EndShape(canvas, false);
  } else if (code == 105 || code == 106) {
    // Band (106): the inner ellipse keeps the outer one's distance on both
    // axes, semi-axes q and q + radius·flatness − radius, so a zero q needs
    // no division.
    const double innerY = code == 105 ? q * flatness : q + radius * flatness - radius;
    const TEllipseWalker inner{{cx, cy, q, innerY, tilt}, map};
    outer.AppendRun(start, sweep / 72, 73);
    inner.AppendRun(start + sweep, -sweep / 72, 73);
    EndShape(canvas, true);
  }
}
