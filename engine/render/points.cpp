#include "points.h"

#include <algorithm>
#include <initializer_list>

#include "func.h"
#include "gra_attribute.h"
#include "gval.h"
#include "primitives.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// Places symbol-local points (mm) at the point, turned by its angle.
struct TSymbolFrame {
  double x, y, angle;

  double X(double u, double v) const { return x + RotateX(u, v, 0, 0, angle); }
  double Y(double u, double v) const { return y + RotateY(u, v, 0, 0, angle); }

  void Line(TCanvas& canvas, double u1, double v1, double u2, double v2) const {
    DrawLine(canvas, X(u1, v1), Y(u1, v1), X(u2, v2), Y(u2, v2));
  }
  void Polygon(TCanvas& canvas, std::initializer_list<TWorldPoint> local) const {
    Gval.WorldPoints.clear();
    for (const TWorldPoint& p : local) Gval.WorldPoints.push_back({X(p.x, p.y), Y(p.x, p.y)});
    Gval.WorldPointCount = static_cast<int32_t>(Gval.WorldPoints.size());
    DrawPolygonBuffer(canvas);
    Gval.WorldPoints.clear();
    Gval.WorldPointCount = 0;
  }
  void Circle(TCanvas& canvas, double r) const { DrawEllipse(canvas, x, y, r, 1, 0); }
  void Arc(TCanvas& canvas, double u, double v, double r, double start, double sweep) const {
    DrawArc(canvas, X(u, v), Y(u, v), r, 1, angle, start, sweep);
  }
};

// Pens and brushes of one point, with its colour override.
struct TPointStyle {
  TCanvas& canvas;
  int32_t layer, pen, colorOverride;

  void Pen(double widthMm) const {
    SetPenForEntity(canvas, layer, pen, 1, widthMm);
    if (colorOverride >= 0) canvas.SetPenColor(colorOverride);
  }
  void TablePen() const { Pen(DrawAttributes().GetPenWidth(pen)); }
  void SolidFill() const { Fill(layer, pen); }
  void BackgroundFill() const { Fill(-1, -1); }  // no pen: the background colour

 private:
  void Fill(int32_t l, int32_t p) const {
    SetBrushForEntity(canvas, l, p, 1);
    if (colorOverride >= 0) canvas.SetBrushColor(colorOverride);
  }
};

// At least one device unit across.
double AtLeastOneUnit(double radius) { return std::max(radius, 1 / Gval.ViewScale); }

void DrawArrowhead(TCanvas& canvas, const TSymbolFrame& f, double U) {
  f.Polygon(canvas, {{0, 0}, {-6 * U, U}, {-6 * U, -U}});
}

void DrawSquare(TCanvas& canvas, const TSymbolFrame& f, double U) {
  f.Polygon(canvas, {{-U, -U}, {U, -U}, {U, U}, {-U, U}});
}

}  // namespace

void DrawPointEntity(TCanvas& canvas, int32_t temporary, int32_t code, double x, double y,
                     double angle, double factor, int32_t layerIndex, int32_t pen,
                     int32_t colorOverride, int32_t width) {
  const TgraAttribute& attr = DrawAttributes();
  const TPointStyle style{canvas, layerIndex, pen, colorOverride};
  const TSymbolFrame f{x, y, angle};
  if (temporary == 1) {
    style.Pen(0);
    f.Circle(canvas, 3 / Gval.ViewScale);
    return;
  }
  const double w = width != 0 ? width * 0.01 : attr.GetPenWidth(pen);
  style.Pen(w);
  const double F = factor > 1e-8 ? factor : 1.0;  // NaN counts as 1 too
  const double U = 1.25 * F;

  switch (code) {
    case 0:
      style.Pen(0);
      style.SolidFill();
      f.Circle(canvas, AtLeastOneUnit(attr.GetPointRadius(pen) + w / 2));
      break;
    case -1:
      for (double deg : {90.0, 30.0, 150.0}) {
        const double a = deg * kPi / 180;
        f.Line(canvas, RotateX(U, 0, 0, 0, a), RotateY(U, 0, 0, 0, a), RotateX(U, 0, 0, 0, a + kPi),
               RotateY(U, 0, 0, 0, a + kPi));
      }
      break;
    case -2:
    case 4:
      f.Circle(canvas, U);
      break;
    case -3:
      style.TablePen();
      style.SolidFill();
      f.Circle(canvas, AtLeastOneUnit(attr.GetPenWidth(pen) * F));
      break;
    case -4:
      f.Line(canvas, 0, U, 0, -U);
      f.Line(canvas, -U, 0, U, 0);
      break;
    case -5:
      f.Line(canvas, -U, -U, U, -U);
      f.Line(canvas, U, -U, U, U);
      f.Line(canvas, U, U, -U, U);
      f.Line(canvas, -U, U, -U, -U);
      break;
    case -6: {
      const double h = 1.1547 * U;
      f.Line(canvas, 0, 4 * U / 3, -h, -2 * U / 3);
      f.Line(canvas, -h, -2 * U / 3, h, -2 * U / 3);
      f.Line(canvas, h, -2 * U / 3, 0, 4 * U / 3);
      break;
    }
    case -7: {
      const double d = 0.70711 * U;
      f.Line(canvas, d, d, -d, -d);
      f.Line(canvas, -d, d, d, -d);
      break;
    }
    case 1:
      style.BackgroundFill();
      DrawArrowhead(canvas, f, U);
      break;
    case 2:
      style.BackgroundFill();
      DrawSquare(canvas, f, U);
      break;
    case 3:
      style.BackgroundFill();
      f.Circle(canvas, U);
      break;
    case 5:
      style.TablePen();
      style.SolidFill();
      DrawSquare(canvas, f, U);
      break;
    case 6:
      style.TablePen();
      style.SolidFill();
      DrawArrowhead(canvas, f, U);
      break;
    case 8:
      f.Arc(canvas, 2 * U, 0, 2 * U, kPi / 2, kPi / 2);
      f.Arc(canvas, -2 * U, 0, 2 * U, 3 * kPi / 2, kPi / 2);
      break;
    case 9:
      f.Line(canvas, 0, 0, -6 * U, U);
      f.Line(canvas, 0, 0, -6 * U, -U);
      break;
    case 10: {
      const double d = 1.41421 * U;
      f.Line(canvas, d, d, -d, -d);
      break;
    }
    case 11:
      DrawArrowhead(canvas, f, U);
      break;
    default:  // 7 and every unknown code: a filled disc
      style.TablePen();
      style.SolidFill();
      f.Circle(canvas, U);
      break;
  }
}
