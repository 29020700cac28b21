#include "line_patterns.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "clipping.h"
#include "func.h"
#include "gra_attribute.h"
#include "gval.h"
#include "primitives.h"

namespace {

constexpr double kTolerance = 1e-14;
constexpr double kHalfPi = 1.57079632679489661923;
// More pattern periods than this on one visible stroke cannot be told apart
// on any device; such a stroke (a view window far larger than the device)
// is drawn plain rather than walked.
constexpr double kMaxPeriodsPerStroke = 1e6;

struct TPattern {
  int32_t count = 0;
  double amplitude = 0;
  std::array<double, kLineTypeMaxSegments> seg{};
};

// A table row from a drawing may hold anything: a pattern that is not made
// of finite numbers is not walked.
bool ReadPattern(int32_t lineType, TPattern& p) {
  const TgraAttribute& attr = DrawAttributes();
  p.count = attr.GetLineTypeSegments(lineType, p.seg.data());
  p.amplitude = attr.GetLineTypeAmplitude(lineType);
  if (p.count <= 0 || !std::isfinite(p.amplitude)) return false;
  return std::all_of(p.seg.begin(), p.seg.begin() + p.count, [](double v) { return std::isfinite(v); });
}

// Whether strokes of the line type are walked: not for solid types, for
// periods of 2 device units or less, nor for rows that are not finite.
bool WalksPattern(int32_t lineType, TPattern& pat) {
  const TgraAttribute& attr = DrawAttributes();
  const double period = attr.GetLineTypePeriod(lineType);
  return attr.GetLineTypeCount(lineType) != 0 && std::isfinite(period) && period * Gval.ViewScale > 2 &&
         ReadPattern(lineType, pat);
}

// The chords of an arc drawn plain. A chord whose ends round to one device
// point adds nothing to the strokes beside it, which cover that point with
// their caps, so only an arc made of nothing else draws one such stroke. (A
// million small arcs on a thumbnail are mostly such chords.)
class TPlainChords {
 public:
  explicit TPlainChords(TCanvas& canvas) : canvas_(canvas) {}
  void Add(double x1, double y1, double x2, double y2) {
    const int32_t r = ClipSegment(x1, y1, x2, y2, Gval.ViewXMin, Gval.ViewYMin, Gval.ViewXMax, Gval.ViewYMax);
    if (r == 2) {
      haveEnd_ = false;
      return;
    }
    // An unclipped chord starts where the last unclipped one ended.
    const bool reuse = r == 0 && haveEnd_;
    const int32_t X1 = reuse ? end_.x : DeviceX(x1), Y1 = reuse ? end_.y : DeviceY(y1);
    const int32_t X2 = DeviceX(x2), Y2 = DeviceY(y2);
    end_ = {X2, Y2};
    haveEnd_ = r == 0;
    if (X1 == X2 && Y1 == Y2) {
      dot_ = {X1, Y1};
      haveDot_ = true;
      return;
    }
    DrawDeviceLine(canvas_, X1, Y1, X2, Y2);
    drawn_ = true;
  }
  void Finish() {
    if (!drawn_ && haveDot_) DrawDeviceLine(canvas_, dot_.x, dot_.y, dot_.x, dot_.y);
  }

 private:
  TCanvas& canvas_;
  TDevicePoint dot_, end_;
  bool haveDot_ = false, drawn_ = false, haveEnd_ = false;
};

void Advance(int32_t& i, int32_t n) {
  if (++i >= n) i = 0;
}

}  // namespace

void ResetDashState() {
  Gval.DashOwner = -1;
  Gval.DashLineType = -1;
  Gval.DashEndX = 0;
  Gval.DashEndY = 0;
  Gval.DashSegment = 0;
  Gval.DashConsumed = 0;
}

void DrawPatternLine(int32_t owner, int32_t lineType, TCanvas& canvas, double x1, double y1,
                     double x2, double y2) {
  TPattern pat;
  if (!WalksPattern(lineType, pat)) {
    DrawLine(canvas, x1, y1, x2, y2);
    return;
  }
  const double period = DrawAttributes().GetLineTypePeriod(lineType);
  if (ClipSegment(x1, y1, x2, y2, Gval.ViewXMin, Gval.ViewYMin, Gval.ViewXMax, Gval.ViewYMax) == 2)
    return;
  double L = Distance(x1, y1, x2, y2);
  if (!(L / period <= kMaxPeriodsPerStroke)) {
    DrawLine(canvas, x1, y1, x2, y2);
    return;
  }

  int32_t i = 0;
  double u = 0;
  if (owner == Gval.DashOwner && lineType == Gval.DashLineType &&
      std::fabs(Gval.DashEndX - x1) <= kTolerance && std::fabs(Gval.DashEndY - y1) <= kTolerance) {
    i = Gval.DashSegment;
    u = Gval.DashConsumed;
  }
  const int32_t n = pat.count;
  if (i < 0 || i >= n || !std::isfinite(u)) {
    i = 0;
    u = 0;
  }

  const double theta = VectorAngle(x2 - x1, y2 - y1);
  const double ux = std::cos(theta), uy = std::sin(theta);
  const double A = pat.amplitude;
  const bool zigzag = std::fabs(A) >= kTolerance;
  const double lx = A * std::cos(theta + kHalfPi), ly = A * std::sin(theta + kHalfPi);
  const double rx = A * std::cos(theta - kHalfPi), ry = A * std::sin(theta - kHalfPi);
  double cx = x1, cy = y1;  // cursor on the line
  double vx = x1, vy = y1;  // previous zig-zag vertex
  while (true) {
    const double seg = pat.seg[static_cast<size_t>(i)];
    const double step = std::clamp(std::fabs(seg) - u, 0.0, L);
    const double px = cx + step * ux, py = cy + step * uy;
    if (!zigzag) {
      if (seg >= 0) DrawLine(canvas, cx, cy, px, py);
    } else {
      double wx = px, wy = py;
      if (L - step > kTolerance) {
        if (seg > 0) wx += lx, wy += ly;
        if (seg < 0) wx += rx, wy += ry;
      }
      DrawLine(canvas, vx, vy, wx, wy);
      vx = wx, vy = wy;
    }
    cx = px, cy = py;
    L -= step;
    if (L <= kTolerance) {
      u += step;
      break;
    }
    u = 0;
    Advance(i, n);
  }

  Gval.DashOwner = owner;
  Gval.DashLineType = lineType;
  Gval.DashEndX = x2;
  Gval.DashEndY = y2;
  Gval.DashSegment = i;
  Gval.DashConsumed = u;
}

void DrawPatternArc(int32_t owner, int32_t lineType, TCanvas& canvas, double cx, double cy,
                    double radius, double flatness, double tilt, double start, double sweep,
                    double tx, double ty, double a, double b, double c, double d, double s) {
  TPattern pat;
  const bool walks = WalksPattern(lineType, pat);
  TDevicePoint at;
  if (!walks && CurveWithinOneDevicePoint(cx, cy, radius, flatness, tx, ty, a, b, c, d, s, at)) {
    DrawDeviceLine(canvas, at.x, at.y, at.x, at.y);
    return;
  }
  TPlainChords plain(canvas);
  const TEllipseFrame frame(cx, cy, radius, radius * flatness, tilt);
  const TParameterRun& run = ParameterRun(start, sweep / 72, 73);
  double px = 0, py = 0;
  for (int k = 0; k <= 72; ++k) {
    double X, Y;
    frame.At(run.cosT[static_cast<size_t>(k)], run.sinT[static_cast<size_t>(k)], X, Y);
    const double x = (a * X + b * Y + tx) / s, y = (c * X + d * Y + ty) / s;
    if (k > 0 && walks) DrawPatternLine(owner, lineType, canvas, px, py, x, y);
    if (k > 0 && !walks) plain.Add(px, py, x, y);
    px = x, py = y;
  }
  plain.Finish();
}
