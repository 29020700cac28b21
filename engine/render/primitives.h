// Canvas primitives: pens and brushes chosen from the drawing attributes,
// the world-to-device mapping, clipped strokes and the fixed-count curves
// (72 points closed, 73 open, 146 for rings). Everything else in the
// renderer draws through these routines.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>

#include "canvas.h"

class TgraAttribute;

// The attribute object the renderer reads: Gval.GraAttribute, or a neutral
// default one while none is installed.
const TgraAttribute& DrawAttributes();

// Cosines and sines of a curve's parameters t = start, start + step, ...
// (the parameter advancing by adding the step), at most 73 of them. The
// last few runs are remembered: most curves of a drawing share theirs.
struct TParameterRun {
  static constexpr int kMaxCount = 73;
  double start = 0, step = 0;
  int count = 0;
  std::array<double, kMaxCount> cosT{}, sinT{};
};
const TParameterRun& ParameterRun(double start, double step, int count);

// A point of an ellipse: local (rx·cos t, ry·sin t), turned by the tilt about
// the origin as RotateX/RotateY do it, then moved to the centre. The tilt's
// cosine and sine are taken once per curve.
struct TEllipseFrame {
  double cx, cy, rx, ry, cosTilt, sinTilt;
  TEllipseFrame(double cx_, double cy_, double rx_, double ry_, double tilt)
      : cx(cx_), cy(cy_), rx(rx_), ry(ry_), cosTilt(std::cos(tilt)), sinTilt(std::sin(tilt)) {}
  void At(double cosT, double sinT, double& x, double& y) const {
    const double u = rx * cosT, v = ry * sinT;
    x = (0 + cosTilt * u - sinTilt * v) + cx;
    y = (0 + sinTilt * u + cosTilt * v) + cy;
  }
};

// Brush codes: 1 solid, 2..7 the hatch with that style value, else clear.
void SetBrushByCode(TCanvas& canvas, int32_t color, int32_t brushCode);
void SetBrushForEntity(TCanvas& canvas, int32_t layerIndex, int32_t pen, int32_t brushCode);
void SetPenForEntity(TCanvas& canvas, int32_t layerIndex, int32_t pen, int32_t lineType,
                     double widthMm);

void DrawDeviceLine(TCanvas& canvas, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
void FlushPolyline(TCanvas& canvas);
void FlushPolygon(TCanvas& canvas);

// Drawing millimetres from here on.
void DrawLine(TCanvas& canvas, double x1, double y1, double x2, double y2);
void DrawRotatedRect(TCanvas& canvas, double x1, double y1, double x2, double y2, double angle);
void DrawEllipse(TCanvas& canvas, double cx, double cy, double radius, double flatness,
                 double tilt);
void DrawArc(TCanvas& canvas, double cx, double cy, double radius, double flatness, double tilt,
             double start, double sweep);
void DrawMappedEllipse(TCanvas& canvas, double cx, double cy, double radius, double flatness,
                       double tilt, double tx, double ty, double a, double b, double c, double d,
                       double s);
void DrawMappedArc(TCanvas& canvas, double cx, double cy, double radius, double flatness,
                   double tilt, double start, double sweep, double tx, double ty, double a,
                   double b, double c, double d, double s);
void DrawCircleSolid(TCanvas& canvas, int32_t code, double cx, double cy, double radius,
                     double flatness, double tilt, double start, double sweep, double q,
                     double tx, double ty, double a, double b, double c, double d, double s);
void DrawPolylineBuffer(TCanvas& canvas);
// Whether every point of the ellipse (centre, radius, flatness, any tilt)
// under the map lies well inside the window: its strokes need no clipping.
bool CurveInsideWindow(double cx, double cy, double radius, double flatness, double tx, double ty, double a,
                       double b, double c, double d, double s);
// Whether every point of the ellipse (centre, radius, flatness, any tilt)
// under the map rounds to the one device point at, well inside the window:
// such a curve can be drawn without walking it.
bool CurveWithinOneDevicePoint(double cx, double cy, double radius, double flatness, double tx,
                               double ty, double a, double b, double c, double d, double s,
                               TDevicePoint& at);
void DrawPolygonBuffer(TCanvas& canvas);
