// Pens, brushes, the device mapping of strokes and the clipped point runs.
#include "primitives.h"

#include <algorithm>
#include <cmath>

#include "clipping.h"
#include "counted_rows.h"
#include "func.h"
#include "gra_attribute.h"
#include "gval.h"

const TgraAttribute& DrawAttributes() {
  if (Gval.GraAttribute != nullptr) return *Gval.GraAttribute;
  static const TgraAttribute neutral;
  return neutral;
}

namespace {

// Grey and hidden layers override the pen's own colour.
int32_t ColorByLayerMode(int32_t layerIndex, int32_t pen) {
  const TgraAttribute& attr = DrawAttributes();
  switch (attr.GetLayerMode(layerIndex)) {
    case 2:
      return attr.GetGrayColor();
    case 3:
      return attr.GetBackgroundColor();
    default:
      return attr.GetPenColor(pen);
  }
}

TBrushStyle BrushStyleOfCode(int32_t code) {
  if (code == 1) return bsSolid;
  if (code >= 2 && code <= 7) return static_cast<TBrushStyle>(code);
  return bsClear;
}

void AppendDevicePoint(double x, double y) {
  Gval.DevicePoints.push_back({DeviceX(x), DeviceY(y)});
  Gval.DevicePointCount = static_cast<int32_t>(Gval.DevicePoints.size());
}

void ClearDevicePoints() {
  Gval.DevicePoints.clear();
  Gval.DevicePointCount = 0;
}

int32_t WindowOutCode(double x, double y) {
  return OutCode(x, y, Gval.ViewXMin, Gval.ViewYMin, Gval.ViewXMax, Gval.ViewYMax);
}

// Non-zero when every point of the world buffer lies beyond one window edge.
int32_t CommonOutCode(const TWorldPoint* pts, size_t n) {
  int32_t code = 15;
  for (size_t k = 0; k < n && code != 0; ++k) code &= WindowOutCode(pts[k].x, pts[k].y);
  return code;
}

// Points of the world buffer in use: its count, never beyond its length.
size_t WorldPointsInUse() {
  return CountedRows(Gval.WorldPointCount, Gval.WorldPoints);
}

struct TWindow {
  double xmin, ymin, xmax, ymax;
};

// One Sutherland-Hodgman stage: keeps the side of an axis-parallel edge where
// inside(p) holds, inserting the crossings.
template <class Inside, class Cross>
void ClipStage(const std::vector<TWorldPoint>& in, std::vector<TWorldPoint>& out, Inside inside,
               Cross cross) {
  out.clear();
  if (in.empty()) return;
  TWorldPoint prev = in.back();
  bool prevIn = inside(prev);
  for (const TWorldPoint& cur : in) {
    const bool curIn = inside(cur);
    if (curIn != prevIn) out.push_back(cross(prev, cur));
    if (curIn) out.push_back(cur);
    prev = cur;
    prevIn = curIn;
  }
}

TWorldPoint CrossX(const TWorldPoint& p, const TWorldPoint& q, double x) {
  const double t = (x - p.x) / (q.x - p.x);
  return {x, p.y + t * (q.y - p.y)};
}

TWorldPoint CrossY(const TWorldPoint& p, const TWorldPoint& q, double y) {
  const double t = (y - p.y) / (q.y - p.y);
  return {p.x + t * (q.x - p.x), y};
}

// The polygon cut to the window; the edges it gains run along the window.
void ClipPolygon(const std::vector<TWorldPoint>& pts, const TWindow& w, std::vector<TWorldPoint>& out) {
  std::vector<TWorldPoint> tmp;
  ClipStage(pts, out, [&](const TWorldPoint& p) { return p.x >= w.xmin; },
            [&](const TWorldPoint& p, const TWorldPoint& q) { return CrossX(p, q, w.xmin); });
  ClipStage(out, tmp, [&](const TWorldPoint& p) { return p.x <= w.xmax; },
            [&](const TWorldPoint& p, const TWorldPoint& q) { return CrossX(p, q, w.xmax); });
  ClipStage(tmp, out, [&](const TWorldPoint& p) { return p.y >= w.ymin; },
            [&](const TWorldPoint& p, const TWorldPoint& q) { return CrossY(p, q, w.ymin); });
  ClipStage(out, tmp, [&](const TWorldPoint& p) { return p.y <= w.ymax; },
            [&](const TWorldPoint& p, const TWorldPoint& q) { return CrossY(p, q, w.ymax); });
  out.swap(tmp);
}

}  // namespace

void SetBrushByCode(TCanvas& canvas, int32_t color, int32_t brushCode) {
  canvas.SetBrushColor(color);
  canvas.SetBrushStyle(BrushStyleOfCode(brushCode));
}

void SetBrushForEntity(TCanvas& canvas, int32_t layerIndex, int32_t pen, int32_t brushCode) {
  SetBrushByCode(canvas, ColorByLayerMode(layerIndex, pen), brushCode);
}

void SetPenForEntity(TCanvas& canvas, int32_t layerIndex, int32_t pen, int32_t lineType,
                     double widthMm) {
  const int32_t color = ColorByLayerMode(layerIndex, pen);
  int32_t width = 0;
  TPenStyle style = psSolid;
  if (DrawAttributes().GetLineWidthMode()) {
    double w = widthMm * Gval.ViewScale;
    if (!(w > 0)) w = 0;  // NaN too
    if (w > 400) w = 400;
    width = RoundToEvenInt(w);  // pen widths round ties to even
  } else if (lineType != 1 && lineType != 31) {
    style = psDot;
  }
  canvas.SetBrushStyle(bsClear);
  canvas.SetPenColor(color);
  canvas.SetPenWidth(width);
  canvas.SetPenStyle(style);
}

void DrawDeviceLine(TCanvas& canvas, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  canvas.MoveTo(x1, y1);
  canvas.LineTo(x2, y2);
}

void FlushPolyline(TCanvas& canvas) {
  canvas.Polyline(Gval.DevicePoints.data(), Gval.DevicePoints.size());
  ClearDevicePoints();
}

void FlushPolygon(TCanvas& canvas) {
  canvas.Polygon(Gval.DevicePoints.data(), Gval.DevicePoints.size());
  ClearDevicePoints();
}

void DrawLine(TCanvas& canvas, double x1, double y1, double x2, double y2) {
  if (ClipSegment(x1, y1, x2, y2, Gval.ViewXMin, Gval.ViewYMin, Gval.ViewXMax, Gval.ViewYMax) == 2)
    return;
  DrawDeviceLine(canvas, DeviceX(x1), DeviceY(y1), DeviceX(x2), DeviceY(y2));
}

void DrawRotatedRect(TCanvas& canvas, double x1, double y1, double x2, double y2, double angle) {
  const double corners[4][2] = {{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}};
  Gval.WorldPoints.clear();
  for (const auto& c : corners)
    Gval.WorldPoints.push_back({RotateX(c[0], c[1], x1, y1, angle), RotateY(c[0], c[1], x1, y1, angle)});
  Gval.WorldPointCount = 4;
  DrawPolygonBuffer(canvas);
  Gval.WorldPoints.clear();
  Gval.WorldPointCount = 0;
}

void DrawPolylineBuffer(TCanvas& canvas) {
  const TWorldPoint* used = Gval.WorldPoints.data();
  const size_t n = WorldPointsInUse();
  if (n < 2) return;
  if (CommonOutCode(used, n) != 0) return;
  ClearDevicePoints();
  for (size_t k = 1; k < n; ++k) {
    double x1 = used[k - 1].x, y1 = used[k - 1].y, x2 = used[k].x, y2 = used[k].y;
    const int32_t r =
        ClipSegment(x1, y1, x2, y2, Gval.ViewXMin, Gval.ViewYMin, Gval.ViewXMax, Gval.ViewYMax);
    if (r == 2) {
      if (Gval.DevicePoints.size() >= 2) FlushPolyline(canvas);
      ClearDevicePoints();
      continue;
    }
    if (Gval.DevicePoints.empty()) AppendDevicePoint(x1, y1);
    AppendDevicePoint(x2, y2);
    if (r == 1 && Gval.DevicePoints.size() >= 2) FlushPolyline(canvas);
  }
  if (Gval.DevicePoints.size() >= 2) FlushPolyline(canvas);
  ClearDevicePoints();
}

// A polygon reaching beyond the window is cut to the window widened by more
// than the pen, so that its filled part is right and the edges the cut adds
// stay out of sight; no vertex then lies far enough away to overflow device
// units. (An outline-only rule for long first edges left large solids hollow
// on high-resolution pages.) A vertex that is not finite draws nothing.
void DrawPolygonBuffer(TCanvas& canvas) {
  const TWorldPoint* pts = Gval.WorldPoints.data();
  const size_t n = WorldPointsInUse();
  if (n < 3) return;
  for (size_t k = 0; k < n; ++k)
    if (!std::isfinite(pts[k].x) || !std::isfinite(pts[k].y)) return;
  if (CommonOutCode(pts, n) != 0) return;

  double margin = (std::max(canvas.PenWidth(), 0) + 2) / Gval.ViewScale;
  if (!std::isfinite(margin) || margin < 0) margin = 0;
  const TWindow wide{Gval.ViewXMin - margin, Gval.ViewYMin - margin, Gval.ViewXMax + margin,
                     Gval.ViewYMax + margin};
  const bool inside = std::all_of(pts, pts + n, [&](const TWorldPoint& p) {
    return p.x >= wide.xmin && p.x <= wide.xmax && p.y >= wide.ymin && p.y <= wide.ymax;
  });
  ClearDevicePoints();
  if (inside) {
    for (size_t k = 0; k < n; ++k) AppendDevicePoint(pts[k].x, pts[k].y);
  } else {
    std::vector<TWorldPoint> cut;
    ClipPolygon(std::vector<TWorldPoint>(pts, pts + n), wide, cut);
    if (cut.size() < 3) return;
    for (const TWorldPoint& p : cut) AppendDevicePoint(p.x, p.y);
  }
  FlushPolygon(canvas);
}
