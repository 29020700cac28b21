#include "sheet_select.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#include "clipping.h"
#include "form1_state.h"
#include "frame_detect.h"
#include "func.h"
#include "geometry.h"

namespace {

constexpr double kPi = std::numbers::pi;
// Solid corners closer than this count as one point.
constexpr double kSameCorner = 1e-14;
// Bit of the common flags that marks a vertical text.
constexpr uint16_t kVerticalTextFlag = 0x20;

void AddPoint(TSheetShape& s, double x, double y) {
  s.X[s.PointCount] = x;
  s.Y[s.PointCount] = y;
  ++s.PointCount;
}

void AddEdge(TSheetShape& s, int from, int to) {
  s.From[s.EdgeCount] = static_cast<uint8_t>(from);
  s.To[s.EdgeCount] = static_cast<uint8_t>(to);
  ++s.EdgeCount;
}

// Closed polygon through the shape's points in order.
void CloseRing(TSheetShape& s) {
  for (int i = 0; i < s.PointCount; ++i) AddEdge(s, i, (i + 1) % s.PointCount);
}

void EllipseAt(TSheetShape& s, double cx, double cy, double r, double f, double tilt, double t) {
  double x = 0, y = 0;
  EllipsePoint(cx, cy, r, f, tilt, t, x, y);
  AddPoint(s, x, y);
}

// The four quarter points of a whole ellipse, joined in a ring.
void FullEllipse(TSheetShape& s, double cx, double cy, double r, double f, double tilt) {
  for (int q = 0; q < 4; ++q) EllipseAt(s, cx, cy, r, f, tilt, q * kPi / 2);
  CloseRing(s);
}

// Start, middle and end point of an arc.
void ArcThreePoints(TSheetShape& s, double cx, double cy, double r, double f, double tilt, double start,
                    double sweep) {
  EllipseAt(s, cx, cy, r, f, tilt, start);
  EllipseAt(s, cx, cy, r, f, tilt, start + sweep / 2);
  EllipseAt(s, cx, cy, r, f, tilt, start + sweep);
}

bool SamePoint(double x1, double y1, double x2, double y2) {
  return std::fabs(x1 - x2) < kSameCorner && std::fabs(y1 - y2) < kSameCorner;
}

}  // namespace

TSheetShape LineShape(const TEntJwwLine& e) {
  TSheetShape s;
  AddPoint(s, e.X1, e.Y1);
  AddPoint(s, e.X2, e.Y2);
  AddEdge(s, 0, 1);
  return s;
}

TSheetShape ArcShape(const TEntJwwArc& e) {
  TSheetShape s;
  if (e.FullCircle == 1) {
    FullEllipse(s, e.CenterX, e.CenterY, e.Radius, e.Flatness, e.Tilt);
  } else {
    ArcThreePoints(s, e.CenterX, e.CenterY, e.Radius, e.Flatness, e.Tilt, e.StartAngle, e.ArcAngle);
    CloseRing(s);
  }
  return s;
}

TSheetShape PointShape(double x, double y) {
  TSheetShape s;
  AddPoint(s, x, y);
  return s;
}

TSheetShape TextShape(const TEntJwwText& e) {
  TSheetShape s;
  const double d = VectorAngle(e.EndX - e.StartX, e.EndY - e.StartY);
  const double ux = std::cos(d), uy = std::sin(d);
  const double nx = std::cos(d + kPi / 2), ny = std::sin(d + kPi / 2);
  std::string path;
  std::array<double, 6> reals{};
  double length = 0, height = 0, farX = 0, farY = 0;
  if (TForm1::ParseImageText(e.Content, path, reals)) {
    length = std::fabs(reals[0]);
    height = std::fabs(reals[1]);
    farX = e.StartX + length * ux;
    farY = e.StartY + length * uy;
  } else {
    height = std::fabs((e.Common.Flags & kVerticalTextFlag) ? e.SizeX : e.SizeY);
    length = Distance(e.StartX, e.StartY, e.EndX, e.EndY);
    farX = e.EndX;
    farY = e.EndY;
  }
  AddPoint(s, e.StartX, e.StartY);                             // S
  AddPoint(s, e.StartX + height * nx, e.StartY + height * ny);  // S + T n
  AddPoint(s, farX, farY);                                      // far lower corner
  AddPoint(s, farX + height * nx, farY + height * ny);          // far upper corner
  AddEdge(s, 0, 1);
  AddEdge(s, 0, 2);
  AddEdge(s, 2, 3);
  AddEdge(s, 1, 3);
  s.IsTextBox = true;
  s.BoxX = e.StartX;
  s.BoxY = e.StartY;
  s.BoxL = length;
  s.BoxT = height;
  s.BoxAngle = d;
  return s;
}

TSheetShape SolidShape(const TEntJwwSolid& e) {
  TSheetShape s;
  const int32_t code = e.Common.LineType;
  if (code <= 100) {
    AddPoint(s, e.X1, e.Y1);
    AddPoint(s, e.X2, e.Y2);
    if (SamePoint(e.X2, e.Y2, e.X3, e.Y3)) {
      AddEdge(s, 0, 1);  // a segment
      return s;
    }
    AddPoint(s, e.X3, e.Y3);
    if (!SamePoint(e.X4, e.Y4, e.X3, e.Y3)) AddPoint(s, e.X4, e.Y4);
    CloseRing(s);  // triangle or quadrilateral
    return s;
  }
  // Curved solids: centre, radius, flatness, tilt, start, sweep, sub-kind.
  const double cx = e.X1, cy = e.Y1, r = e.X2, f = e.Y2, tilt = e.X3, start = e.Y3, sweep = e.X4;
  const double v = std::trunc(e.Y4);  // NaN compares unequal to everything
  if (code == 111) {
    if (v != 0) {
      FullEllipse(s, cx, cy, r, f, tilt);
    } else {
      ArcThreePoints(s, cx, cy, r, f, tilt, start, sweep);
      CloseRing(s);
    }
  } else if (code == 101) {
    if (v == 100) {
      FullEllipse(s, cx, cy, r, f, tilt);
    } else if (v == 0) {
      ArcThreePoints(s, cx, cy, r, f, tilt, start, sweep);
      AddPoint(s, cx, cy);
      CloseRing(s);
    } else if (v == 5) {
      ArcThreePoints(s, cx, cy, r, f, tilt, start, sweep);
      CloseRing(s);
    } else {
      ArcThreePoints(s, cx, cy, r, f, tilt, start, sweep);
      double ax = 0, ay = 0;
      ArcTangentApex(cx, cy, r, f, tilt, start, sweep, ax, ay);
      AddPoint(s, ax, ay);
      CloseRing(s);
    }
  } else {
    for (int q = 0; q <= 4; ++q) EllipseAt(s, cx, cy, r, f, tilt, start + sweep * q / 4);
    for (int q = 0; q < 4; ++q) AddEdge(s, q, q + 1);  // open chain
  }
  return s;
}

void ShapeBounds(const TSheetShape& s, double& xmin, double& ymin, double& xmax, double& ymax) {
  xmin = xmax = s.X[0];
  ymin = ymax = s.Y[0];
  auto add = [&](double x, double y) {
    xmin = std::min(xmin, x);
    xmax = std::max(xmax, x);
    ymin = std::min(ymin, y);
    ymax = std::max(ymax, y);
  };
  for (int p = 1; p < s.PointCount; ++p) add(s.X[p], s.Y[p]);
  if (!s.IsTextBox) return;
  const double ux = std::cos(s.BoxAngle), uy = std::sin(s.BoxAngle);
  const double nx = -uy, ny = ux;
  add(s.BoxX + s.BoxL * ux, s.BoxY + s.BoxL * uy);
  add(s.BoxX + s.BoxT * nx, s.BoxY + s.BoxT * ny);
  add(s.BoxX + s.BoxL * ux + s.BoxT * nx, s.BoxY + s.BoxL * uy + s.BoxT * ny);
}

bool ShapeTouchesWindow(const TSheetShape& s, const TSheetWindow& w) {
  if (s.EdgeCount == 0) {
    return s.PointCount > 0 && PointVsWindow(s.X[0], s.Y[0], w.XMin, w.YMin, w.XMax, w.YMax) == 0;
  }
  for (int i = 0; i < s.EdgeCount; ++i) {
    const int a = s.From[i], b = s.To[i];
    if (SegmentVsWindow(s.X[a], s.Y[a], s.X[b], s.Y[b], w.XMin, w.YMin, w.XMax, w.YMax) < 2) return true;
  }
  if (!s.IsTextBox) return false;
  // No edge of the text box reaches the frame: the frame may still lie
  // inside the box. Turn the frame into the box's own axes and test its
  // edges against the box.
  const double cx[4] = {w.XMin, w.XMax, w.XMax, w.XMin};
  const double cy[4] = {w.YMin, w.YMin, w.YMax, w.YMax};
  double rx[4], ry[4];
  for (int i = 0; i < 4; ++i) RotateAbout(cx[i], cy[i], s.BoxX, s.BoxY, -s.BoxAngle, rx[i], ry[i]);
  const double bx0 = s.BoxX, by0 = s.BoxY, bx1 = s.BoxX + s.BoxL, by1 = s.BoxY + s.BoxT;
  for (int i = 0; i < 4; ++i) {
    const int j = (i + 1) % 4;
    if (SegmentVsWindow(rx[i], ry[i], rx[j], ry[j], bx0, by0, bx1, by1) < 2) return true;
  }
  return false;
}

bool IsPrintOriginTagAtStart(const TEntJwwText& text) {
  return text.Common.Color == kFrameColor &&
         text.Content.compare(0, std::strlen(kPrintOriginTag), kPrintOriginTag) == 0;
}

bool PassesLayerFilter(const TEntJwwCommon& c, int32_t layerGroup, const std::string& layerList) {
  if (static_cast<int32_t>(c.LayerGroup) != layerGroup || c.Layer > 15) return false;
  const char digit = "0123456789ABCDEF"[c.Layer];
  return layerList.find(digit) != std::string::npos;
}

int32_t SheetPaperSize(double w, double h) {
  if (w >= h) {
    if (w < 317) return 4;
    if (w < 440) return 3;
    if (w < 614) return 2;
    if (w < 861) return 1;
    return 0;
  }
  if (h < 230) return 4;
  if (h < 317) return 3;
  if (h < 440) return 2;
  if (h < 614) return 1;
  if (h < 861) return 0;
  return 8;
}
