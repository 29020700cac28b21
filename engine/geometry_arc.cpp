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

// M(P(t)) - M(centre) is linear in (cos t, sin t): the map's matrix, the
// tilt and the two semi-axes folded into one 2 × 2 matrix once per arc. It
// saves the trigonometry of the tilt per sample and does not lose digits to
// large coordinates the way subtracting two mapped points would.
struct TArcFrame {
  double k11, k12, k21, k22;
  TArcFrame(double r, double f, double theta, const TAffineMap& m) {
    const double ct = std::cos(theta), st = std::sin(theta);
    const double u1 = r * ct, v1 = r * st;            // Rot_theta(r, 0)
    const double u2 = -r * f * st, v2 = r * f * ct;   // Rot_theta(0, r·f)
    k11 = (m.a * u1 + m.b * v1) / m.s;
    k21 = (m.c * u1 + m.d * v1) / m.s;
    k12 = (m.a * u2 + m.b * v2) / m.s;
    k22 = (m.c * u2 + m.d * v2) / m.s;
  }
  void ImageOffset(double t, double& dx, double& dy) const {
    const double c = std::cos(t), s = std::sin(t);
    dx = k11 * c + k12 * s;
    dy = k21 * c + k22 * s;
  }
};

// The parameter whose image lies farthest from the mapped centre: 16 passes,
// each ten times finer around the best so far; ties keep the first maximum.
// A fixed count of 11 + 15·21 evaluations whatever the input.
double SearchMajorAxis(const TArcFrame& arc) {
  double best = -1, tBest = 0;
  double t0 = 0, step = kPi / 10;
  int samples = 11;
  for (int pass = 0; pass < 16; ++pass) {
    for (int i = 0; i < samples; ++i) {
      const double t = t0 + i * step;
      double dx, dy;
      arc.ImageOffset(t, dx, dy);
      const double dist2 = dx * dx + dy * dy;  // same order as the distance
      if (dist2 > best) {
        best = dist2;
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
  const TArcFrame arc(r, f, theta, m);
  double ccx, ccy;
  geom::Apply(m, cx, cy, ccx, ccy);

  // Major axis: a map that keeps circles circles (mirrored or not) keeps the
  // axes; any other map is searched. The minor reference point is P(t* + π/2).
  const bool keepsCircles =
      std::fabs(std::fabs(m.a) - std::fabs(m.d)) <= 1e-14 && std::fabs(m.b) <= 1e-14 && std::fabs(m.c) <= 1e-14;
  const double tStar = keepsCircles ? 0 : SearchMajorAxis(arc);

  double qx, qy, mx, my;
  arc.ImageOffset(tStar, qx, qy);
  if (keepsCircles) {
    mx = arc.k12;  // exactly the image of Rot_theta(0, r·f)
    my = arc.k22;
  } else {
    arc.ImageOffset(tStar + kPi / 2, mx, my);
  }
  const double newR = std::hypot(qx, qy);
  const double newTheta = geom::AngleOf(qx, qy);

  double u, v;
  geom::Rotate(mx, my, -newTheta, u, v);
  const double minor = std::fmax(std::sqrt(std::fabs(newR * newR - u * u)), 1e-12);
  const double newF = std::fabs(v) / minor;

  double newStart = start, newSweep = sweep;
  // A degenerate image (radius 0 or flattened out) has no image angles:
  // start and sweep are kept as they are.
  const bool degenerate = !(newF > 0) || !std::isfinite(newF) || !std::isfinite(newR);
  if (whole != 1 && !degenerate) {
    auto imageAngle = [&](double alpha) {
      double dx, dy, iu, iv;
      arc.ImageOffset(alpha, dx, dy);
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
