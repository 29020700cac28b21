#include "metafile_geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

// Chord error below a quarter pixel even when the picture is painted ten
// times its own size (a 96 dpi picture on a 600 dpi page), within bounds.
int SegmentsFor(double radiusPixels, double sweep) {
  if (!std::isfinite(radiusPixels) || !std::isfinite(sweep)) return 0;
  const double full = std::numbers::pi * std::sqrt(std::max(radiusPixels, 0.0) * 40.0);
  const double n = std::ceil(std::clamp(full, 8.0, 720.0) * std::abs(sweep) / kTwoPi);
  return static_cast<int>(std::clamp(n, 1.0, 720.0));
}

void AppendUtf8(std::string& out, uint32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

void AppendEllipseArc(std::vector<TMetaPoint>& out, double cx, double cy, double rx, double ry, double t0,
                      double sweep, double pixelsPerUnit) {
  const int n = SegmentsFor(std::max(std::abs(rx), std::abs(ry)) * std::abs(pixelsPerUnit), sweep);
  for (int i = 0; i <= n; ++i) {
    const double t = t0 + sweep * i / std::max(n, 1);
    out.push_back({cx + rx * std::cos(t), cy + ry * std::sin(t)});
  }
}

TMetaFigure ArcFigure(double left, double top, double right, double bottom, TMetaPoint start, TMetaPoint end,
                      TArcKind kind, bool decreasing, double pixelsPerUnit) {
  TMetaFigure figure;
  const double cx = (left + right) / 2, cy = (top + bottom) / 2;
  const double rx = std::abs(right - left) / 2, ry = std::abs(bottom - top) / 2;
  if (!(rx > 0) || !(ry > 0)) return figure;
  const double t0 = std::atan2((start.Y - cy) / ry, (start.X - cx) / rx);
  const double t1 = std::atan2((end.Y - cy) / ry, (end.X - cx) / rx);
  double sweep = decreasing ? t0 - t1 : t1 - t0;
  sweep = std::fmod(sweep, kTwoPi);
  if (sweep <= 1e-12) sweep += kTwoPi;
  AppendEllipseArc(figure.Points, cx, cy, rx, ry, t0, decreasing ? -sweep : sweep, pixelsPerUnit);
  if (kind == TArcKind::Pie) figure.Points.push_back({cx, cy});
  figure.Closed = kind != TArcKind::Arc;
  return figure;
}

TMetaFigure RoundRectFigure(double left, double top, double right, double bottom, double cornerWidth,
                            double cornerHeight, double pixelsPerUnit) {
  const double l = std::min(left, right), t = std::min(top, bottom);
  const double r = std::max(left, right), b = std::max(top, bottom);
  const double rx = std::min(std::abs(cornerWidth) / 2, (r - l) / 2);
  const double ry = std::min(std::abs(cornerHeight) / 2, (b - t) / 2);
  TMetaFigure figure{{}, true};
  if (!(rx > 0) || !(ry > 0)) {
    figure.Points = {{l, t}, {r, t}, {r, b}, {l, b}};
    return figure;
  }
  const double q = std::numbers::pi / 2;
  AppendEllipseArc(figure.Points, r - rx, t + ry, rx, ry, -q, q, pixelsPerUnit);
  AppendEllipseArc(figure.Points, r - rx, b - ry, rx, ry, 0, q, pixelsPerUnit);
  AppendEllipseArc(figure.Points, l + rx, b - ry, rx, ry, q, q, pixelsPerUnit);
  AppendEllipseArc(figure.Points, l + rx, t + ry, rx, ry, 2 * q, q, pixelsPerUnit);
  return figure;
}

void AppendBezier(std::vector<TMetaPoint>& out, TMetaPoint p0, TMetaPoint p1, TMetaPoint p2, TMetaPoint p3) {
  constexpr int kSteps = 16;
  for (int i = 1; i <= kSteps; ++i) {
    const double t = static_cast<double>(i) / kSteps, u = 1 - t;
    const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
    out.push_back({a * p0.X + b * p1.X + c * p2.X + d * p3.X, a * p0.Y + b * p1.Y + c * p2.Y + d * p3.Y});
  }
}

void BoundClipStep(TMetaClipStep& step) {
  constexpr size_t kMaxFigures = 64;
  if (step.Figures.size() <= kMaxFigures) return;
  double l = HUGE_VAL, t = HUGE_VAL, r = -HUGE_VAL, b = -HUGE_VAL;
  for (const TMetaFigure& f : step.Figures) {
    for (const TMetaPoint& p : f.Points) {
      l = std::min(l, p.X), t = std::min(t, p.Y), r = std::max(r, p.X), b = std::max(b, p.Y);
    }
  }
  step.Figures.clear();
  if (l <= r && t <= b) step.Figures.push_back(TMetaFigure{{{l, t}, {r, t}, {r, b}, {l, b}}, true});
}

std::string Utf16ToUtf8(const char16_t* units, size_t count) {
  std::string out;
  out.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    uint32_t c = units[i];
    if (c == 0) break;
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < count && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (units[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    AppendUtf8(out, c);
  }
  return out;
}
