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
  // inside: the whole curve lies well inside the window, so no chord is clipped.
  TPlainChords(TCanvas& canvas, bool inside) : canvas_(canvas), inside_(inside) {}
  void Add(double x1, double y1, double x2, double y2) {
    const int32_t r =
        inside_ ? 0 : ClipSegment(x1, y1, x2, y2, Gval.ViewXMin, Gval.ViewYMin, Gval.ViewXMax, Gval.ViewYMax);
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
  const bool inside_;
  TDevicePoint dot_, end_;
  bool haveDot_ = false, drawn_ = false, haveEnd_ = false;
};

void Advance(int32_t& i, int32_t n) {
  if (++i >= n) i = 0;
}

// Where a stroke starting at (x1, y1) begins in the pattern: on from the
// last patterned stroke when it has the same owner and line type and ends
// exactly there, else at the pattern's start.
void StartInPattern(int32_t owner, int32_t lineType, double x1, double y1, int32_t n, int32_t& i, double& u) {
  i = 0;
  u = 0;
  if (owner == Gval.DashOwner && lineType == Gval.DashLineType && std::fabs(Gval.DashEndX - x1) <= kTolerance &&
      std::fabs(Gval.DashEndY - y1) <= kTolerance) {
    i = Gval.DashSegment;
    u = Gval.DashConsumed;
  }
  if (i < 0 || i >= n || !std::isfinite(u)) {
    i = 0;
    u = 0;
  }
}

void StoreState(int32_t owner, int32_t lineType, double x2, double y2, int32_t i, double u) {
  Gval.DashOwner = owner;
  Gval.DashLineType = lineType;
  Gval.DashEndX = x2;
  Gval.DashEndY = y2;
  Gval.DashSegment = i;
  Gval.DashConsumed = u;
}

// Walks one visible stroke from segment i with u consumed, leaving i and u
// where it ends. With a canvas every dash (or zig-zag leg) is drawn; without
// one only the place in the pattern is followed.
void WalkStroke(const TPattern& pat, TCanvas* canvas, double x1, double y1, double x2, double y2, int32_t& i,
                double& u) {
  double L = Distance(x1, y1, x2, y2);
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
    if (canvas != nullptr && !zigzag) {
      if (seg >= 0) DrawLine(*canvas, cx, cy, px, py);
    } else if (canvas != nullptr) {
      double wx = px, wy = py;
      if (L - step > kTolerance) {
        if (seg > 0) wx += lx, wy += ly;
        if (seg < 0) wx += rx, wy += ry;
      }
      DrawLine(*canvas, vx, vy, wx, wy);
      vx = wx, vy = wy;
    }
    cx = px, cy = py;
    L -= step;
    if (L <= kTolerance) {
      u += step;
      break;
    }
    u = 0;
    Advance(i, pat.count);
  }
}

// A pattern as a device dashes it: lengths of dash, gap, dash, ... in
// device units, even in count, beginning with the pattern's first dash
// (lead mm into the pattern). Dashes or gaps in a row join into one, a dot
// (a dash of 0) stays a dash of 0: with round caps each dash is drawn as
// the walk draws it.
struct TDeviceDashes {
  std::array<double, kLineTypeMaxSegments + 1> lengths{};
  size_t count = 0;
  double leadMm = 0, periodMm = 0;
};

// Whether the canvas draws the dashes of this pattern as the walk would:
// a vector device, a pen wider than the hairline (whose dots and ends
// devices draw their own ways), dashes rather than a zig-zag, and a dash
// in the pattern.
bool DeviceDashesFor(const TCanvas& canvas, const TPattern& pat, TDeviceDashes& out) {
  if (!canvas.DrawsDashes() || canvas.PenWidth() <= 1 || std::fabs(pat.amplitude) >= kTolerance) return false;
  int32_t first = -1;
  for (int32_t j = 0; j < pat.count && first < 0; ++j)
    if (pat.seg[static_cast<size_t>(j)] >= 0) first = j;
  if (first < 0) return false;
  out = TDeviceDashes{};
  bool lastIsDash = false;
  for (int32_t k = 0; k < pat.count; ++k) {
    const double seg = pat.seg[static_cast<size_t>((first + k) % pat.count)];
    const bool dash = seg >= 0;
    if (k == 0 || dash != lastIsDash) ++out.count;
    out.lengths[out.count - 1] += std::fabs(seg) * Gval.ViewScale;
    lastIsDash = dash;
    out.periodMm += std::fabs(seg);
  }
  for (int32_t j = 0; j < first; ++j) out.leadMm += std::fabs(pat.seg[static_cast<size_t>(j)]);
  if (out.count % 2 == 1) out.lengths[out.count++] = 0;  // the last dash runs into the first
  return out.periodMm > 0;
}

// How far into the device's pattern a stroke starts that the walk would
// start at segment i with u consumed (device units).
double DevicePhase(const TPattern& pat, const TDeviceDashes& d, int32_t i, double u) {
  double at = u;
  for (int32_t j = 0; j < i; ++j) at += std::fabs(pat.seg[static_cast<size_t>(j)]);
  double phase = std::fmod(at - d.leadMm, d.periodMm);
  if (phase < 0) phase += d.periodMm;
  return phase * Gval.ViewScale;
}

// Shorter strokes (device units) are walked: their ends may round to one
// point, where devices differ on drawing a dot.
constexpr double kMinDeviceDashedLength = 2;

}  // namespace

void ResetDashState() {
  Gval.DashOwner = -1;
  Gval.DashLineType = -1;
  Gval.DashEndX = 0;
  Gval.DashEndY = 0;
  Gval.DashSegment = 0;
  Gval.DashConsumed = 0;
}

namespace {

// A patterned stroke; with deviceDashes a vector device may dash it.
void DrawPatternStroke(int32_t owner, int32_t lineType, TCanvas& canvas, double x1, double y1, double x2,
                       double y2, bool deviceDashes) {
  TPattern pat;
  if (!WalksPattern(lineType, pat)) {
    DrawLine(canvas, x1, y1, x2, y2);
    return;
  }
  const double period = DrawAttributes().GetLineTypePeriod(lineType);
  if (ClipSegment(x1, y1, x2, y2, Gval.ViewXMin, Gval.ViewYMin, Gval.ViewXMax, Gval.ViewYMax) == 2)
    return;
  const double L = Distance(x1, y1, x2, y2);
  if (!(L / period <= kMaxPeriodsPerStroke)) {
    DrawLine(canvas, x1, y1, x2, y2);
    return;
  }
  int32_t i = 0;
  double u = 0;
  StartInPattern(owner, lineType, x1, y1, pat.count, i, u);
  TDeviceDashes dashes;
  if (deviceDashes && L * Gval.ViewScale >= kMinDeviceDashedLength && DeviceDashesFor(canvas, pat, dashes)) {
    const TDevicePoint ends[2] = {{DeviceX(x1), DeviceY(y1)}, {DeviceX(x2), DeviceY(y2)}};
    canvas.DashedPolyline(ends, 2, dashes.lengths.data(), dashes.count, DevicePhase(pat, dashes, i, u));
    WalkStroke(pat, nullptr, x1, y1, x2, y2, i, u);
  } else {
    WalkStroke(pat, &canvas, x1, y1, x2, y2, i, u);
  }
  StoreState(owner, lineType, x2, y2, i, u);
}

}  // namespace

void DrawPatternLine(int32_t owner, int32_t lineType, TCanvas& canvas, double x1, double y1,
                     double x2, double y2) {
  DrawPatternStroke(owner, lineType, canvas, x1, y1, x2, y2, true);
}

namespace {

// An arc wholly inside the window whose chords the walk would carry one
// pattern around: handed to the device as one dashed polyline, the place
// in the pattern followed chord by chord as the walk would. False (nothing
// drawn, no state changed) where the walk must draw it.
bool DashArcOnDevice(int32_t owner, int32_t lineType, TCanvas& canvas, const TPattern& pat,
                     const std::array<TWorldPoint, 73>& pts) {
  TDeviceDashes dashes;
  if (!DeviceDashesFor(canvas, pat, dashes)) return false;
  const double period = DrawAttributes().GetLineTypePeriod(lineType);
  double length = 0;
  for (size_t k = 0; k < pts.size(); ++k) {
    if (!std::isfinite(pts[k].x) || !std::isfinite(pts[k].y)) return false;
    if (OutCode(pts[k].x, pts[k].y, Gval.ViewXMin, Gval.ViewYMin, Gval.ViewXMax, Gval.ViewYMax) != 0) return false;
    if (k == 0) continue;
    const double chord = Distance(pts[k - 1].x, pts[k - 1].y, pts[k].x, pts[k].y);
    if (!(chord / period <= kMaxPeriodsPerStroke)) return false;
    length += chord;
  }
  if (!(length * Gval.ViewScale >= kMinDeviceDashedLength)) return false;
  int32_t i = 0;
  double u = 0;
  StartInPattern(owner, lineType, pts[0].x, pts[0].y, pat.count, i, u);
  std::array<TDevicePoint, 73> device;
  for (size_t k = 0; k < pts.size(); ++k) device[k] = {DeviceX(pts[k].x), DeviceY(pts[k].y)};
  canvas.DashedPolyline(device.data(), device.size(), dashes.lengths.data(), dashes.count,
                        DevicePhase(pat, dashes, i, u));
  // Each chord starts exactly where the one before ended: the pattern runs on.
  for (size_t k = 1; k < pts.size(); ++k) WalkStroke(pat, nullptr, pts[k - 1].x, pts[k - 1].y, pts[k].x, pts[k].y, i, u);
  StoreState(owner, lineType, pts.back().x, pts.back().y, i, u);
  return true;
}

}  // namespace

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
  const TEllipseFrame frame(cx, cy, radius, radius * flatness, tilt);
  const TParameterRun& run = ParameterRun(start, sweep / 72, 73);
  std::array<TWorldPoint, 73> pts;
  for (size_t k = 0; k < pts.size(); ++k) {
    double X, Y;
    frame.At(run.cosT[k], run.sinT[k], X, Y);
    pts[k] = {(a * X + b * Y + tx) / s, (c * X + d * Y + ty) / s};
  }
  if (walks && DashArcOnDevice(owner, lineType, canvas, pat, pts)) return;
  // Chords drawn one by one are walked even on vector devices: a dashed
  // path each, every one in its own phase, would cost more than its dashes.
  TPlainChords plain(canvas, !walks && CurveInsideWindow(cx, cy, radius, flatness, tx, ty, a, b, c, d, s));
  for (size_t k = 1; k < pts.size(); ++k) {
    if (walks) DrawPatternStroke(owner, lineType, canvas, pts[k - 1].x, pts[k - 1].y, pts[k].x, pts[k].y, false);
    if (!walks) plain.Add(pts[k - 1].x, pts[k - 1].y, pts[k].x, pts[k].y);
  }
  plain.Finish();
}
