// Arcs and ellipses: tangent apex and the image of an arc under a map.
#include <cmath>

#include "geometry_internal.h"

using geom::kPi;
using geom::kTwoPi;

namespace {

// Steps 2 to 4 of the apex: the tangents at both ends, given as segments of
// the stated length in the ellipse's own frame, meet at the apex; parallel
// tangents give the centre.
void TangentApex(double cx, double cy, double r, double f, double theta, double start, double sweep,
                 double tangentLength, double& ax, double& ay) {
  const double s = start, e = start + sweep;
  const double p1x = r * std::cos(s), p1y = r * f * std::sin(s);
  const double t1x = p1x + tangentLength * std::cos(s + kPi / 2), t1y = p1y + tangentLength * f * std::sin(s + kPi / 2);
  const double p2x = r * std::cos(e), p2y = r * f * std::sin(e);
  const double t2x = p2x + tangentLength * std::cos(e - kPi / 2), t2y = p2y + tangentLength * f * std::sin(e - kPi / 2);
  double X = 0, Y = 0;  // kept when the tangents are parallel
  IntersectSegments(p1x, p1y, t1x, t1y, p2x, p2y, t2x, t2y, X, Y);
  double u, v;
  geom::Rotate(X, Y, theta, u, v);
  ax = cx + u;
  ay = cy + v;
}

struct TArcFrame {
  double cx, cy, r, f, theta;
  const TAffineMap* map;
  // M(P(t)) relative to the mapped centre (mcx, mcy).
  void ImageOffset(double t, double mcx, double mcy, double& dx, double& dy) const {
    double px, py, qx, qy;
    EllipsePoint(cx, cy, r, f, theta, t, px, py);
    geom::Apply(*map, px, py, qx, qy);
    dx = qx - mcx;
    dy = qy - mcy;
  }
};

// The parameter whose image lies farthest from the mapped centre: 16 passes,
// each ten times finer around the best so far; ties keep the first maximum.
// A fixed count of 11 + 15·21 evaluations whatever the input.
double SearchMajorAxis(const TArcFrame& arc, double mcx, double mcy) {
  double best = -1, tBest = 0;
  double t0 = 0, step = kPi / 10;
  int samples = 11;
  for (int pass = 0; pass < 16; ++pass) {
    for (int i = 0; i < samples; ++i) {
      const double t = t0 + i * step;
      double dx, dy;
      arc.ImageOffset(t, mcx, mcy, dx, dy);
      const double dist = std::hypot(dx, dy);
      if (dist > best) {
        best = dist;
        tBest = t;
      }
    }
    t0 = tBest - step;
    step /= 10;
    samples = 21;
  }
  return tBest;
}

double PlusTurnIfNegative(double a) { return a < 0 ? a + kTwoPi : a; }

}  // namespace

void ArcEndPoints(double cx, double cy, double r, double f, double start, double sweep, double theta,
                  double& sx, double& sy, double& ex, double& ey, double& ax, double& ay) {
  double psx, psy, pex, pey, pax, pay;
  EllipsePoint(cx, cy, r, f, theta, start, psx, psy);
  EllipsePoint(cx, cy, r, f, theta, start + sweep, pex, pey);
  TangentApex(cx, cy, r, f, theta, start, sweep, r, pax, pay);
  sx = psx;
  sy = psy;
  ex = pex;
  ey = pey;
  ax = pax;
  ay = pay;
}

void ArcTangentApex(double cx, double cy, double r, double f, double theta, double start, double sweep,
                    double& ax, double& ay) {
  double pax, pay;
  TangentApex(cx, cy, r, f, theta, start, sweep, 10, pax, pay);
  ax = pax;
  ay = pay;
}

void MapArc(int32_t whole, double cx, double cy, double r, double f, double start, double sweep,
            double theta, const TAffineMap& m, double& mcx, double& mcy, double& mr, double& mf,
            double& mstart, double& msweep, double& mtheta) {
  const TArcFrame arc{cx, cy, r, f, theta, &m};
  double ccx, ccy;
  geom::Apply(m, cx, cy, ccx, ccy);

  // Major axis: a map that keeps circles circles (mirrored or not) keeps the
  // axes; any other map is searched.
  const bool keepsCircles =
      std::fabs(std::fabs(m.a) - std::fabs(m.d)) <= 1e-14 && std::fabs(m.b) <= 1e-14 && std::fabs(m.c) <= 1e-14;
  double tStar = 0;
  double minorX, minorY;  // the minor reference point, before the map
  if (keepsCircles) {
    double u, v;
    geom::Rotate(0, r * f, theta, u, v);
    minorX = cx + u;
    minorY = cy + v;
  } else {
    tStar = SearchMajorAxis(arc, ccx, ccy);
    EllipsePoint(cx, cy, r, f, theta, tStar + kPi / 2, minorX, minorY);
  }

  double qx, qy;
  arc.ImageOffset(tStar, ccx, ccy, qx, qy);
  const double newR = std::hypot(qx, qy);
  const double newTheta = geom::AngleOf(qx, qy);

  double mx, my, u, v;
  geom::Apply(m, minorX, minorY, mx, my);
  geom::Rotate(mx - ccx, my - ccy, -newTheta, u, v);
  const double minor = std::fmax(std::sqrt(std::fabs(newR * newR - u * u)), 1e-12);
  const double newF = std::fabs(v) / minor;

  double newStart = start, newSweep = sweep;
  // A degenerate image (radius 0 or flattened out) has no image angles:
  // start and sweep are kept as they are.
  const bool degenerate = !(newF > 0) || !std::isfinite(newF) || !std::isfinite(newR);
  if (whole != 1 && !degenerate) {
    auto imageAngle = [&](double alpha) {
      double dx, dy, iu, iv;
      arc.ImageOffset(alpha, ccx, ccy, dx, dy);
      geom::Rotate(dx, dy, -newTheta, iu, iv);
      return geom::AngleOf(iu, iv / newF);
    };
    const double lo = sweep >= 0 ? start : start + sweep;
    const double hi = sweep >= 0 ? start + sweep : start;
    const double A = imageAngle(lo);
    const double B = imageAngle(hi);
    const double D = imageAngle(start + sweep / 2);
    const double d1 = PlusTurnIfNegative(B - A);
    const double d2 = PlusTurnIfNegative(D - A);
    if (std::fabs(sweep) >= kTwoPi) {
      // A full turn: its two ends have the same image, and the comparison
      // below could shrink it to nothing.
      newStart = A;
      newSweep = kTwoPi;
    } else if (d1 >= d2) {
      newStart = A;
      newSweep = d1;
    } else {  // the map reverses the arc
      newStart = B;
      newSweep = PlusTurnIfNegative(A - B);
    }
  }

  mcx = ccx;
  mcy = ccy;
  mr = newR;
  mf = newF;
  mstart = newStart;
  msweep = newSweep;
  mtheta = newTheta;
}
