// Ellipses, arcs and circular solids as fixed point counts in the world
// buffer: 72 points closed, 73 open, 146 for rings and bands.
#include <cmath>

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

  void Append(double t) const {
    double x, y;
    frame.At(t, x, y);
    AppendMapped(x, y);
  }
  void AppendMapped(double x, double y) const {
    Gval.WorldPoints.push_back({(map.a * x + map.b * y + map.tx) / map.s,
                                (map.c * x + map.d * y + map.ty) / map.s});
  }
  // count points from t0, the parameter advancing by adding the step.
  void AppendRun(double t0, double step, int count) const {
    double t = t0;
    for (int k = 0; k < count; ++k) {
      Append(t);
      t += step;
    }
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

}  // namespace

void DrawMappedEllipse(TCanvas& canvas, double cx, double cy, double radius, double flatness,
                       double tilt, double tx, double ty, double a, double b, double c, double d,
                       double s) {
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
