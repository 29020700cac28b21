// Curves of the metafile players turned into points: elliptic arcs, chords,
// pies and Bézier segments. Point counts are bounded whatever the input.
#pragma once

#include "metafile_sink.h"

#include <cmath>

// Mapped coordinates a rounding error away from a whole pixel are put on
// it, so aliased edges land where the metafile put them.
inline double SnapToPixel(double v) {
  const double r = std::round(v);
  return std::abs(v - r) < 1e-6 ? r : v;
}
inline TMetaPoint SnapToPixel(TMetaPoint p) { return {SnapToPixel(p.X), SnapToPixel(p.Y)}; }

enum class TArcKind : uint8_t { Arc, Chord, Pie };

// The arc of the ellipse inscribed in the box (left, top, right, bottom)
// from the ray through `start` to the ray through `end` (equal rays: the
// whole ellipse). `decreasing` runs the ellipse parameter downwards, which
// is counter-clockwise on a y-down page. `pixelsPerUnit` sets the fineness.
TMetaFigure ArcFigure(double left, double top, double right, double bottom, TMetaPoint start, TMetaPoint end,
                      TArcKind kind, bool decreasing, double pixelsPerUnit);

// A rectangle with corners rounded by quarter ellipses of the given axes
// (clamped to the rectangle).
TMetaFigure RoundRectFigure(double left, double top, double right, double bottom, double cornerWidth,
                            double cornerHeight, double pixelsPerUnit);

// Points of the ellipse arc centred on (cx, cy) from parameter t0 sweeping
// by `sweep` radians, appended to `out` (its first point included).
void AppendEllipseArc(std::vector<TMetaPoint>& out, double cx, double cy, double rx, double ry, double t0,
                      double sweep, double pixelsPerUnit);

// A cubic Bézier segment from p0 (already in `out`) to p3.
void AppendBezier(std::vector<TMetaPoint>& out, TMetaPoint p0, TMetaPoint p1, TMetaPoint p2, TMetaPoint p3);

// A clip step of more than a few dozen figures (regions come as rows of
// rectangles) becomes its bounding box: painters combine areas slowly.
void BoundClipStep(TMetaClipStep& step);

// Converts UTF-16 to UTF-8; unpaired surrogates become U+FFFD, and the text
// ends at the first NUL.
std::string Utf16ToUtf8(const char16_t* units, size_t count);
