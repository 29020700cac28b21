// The per-kind drawing routines of the model: each sets pen and brush for
// one element and draws it, placed, through the primitives.
#include <cmath>
#include <string>

#include "bind_images.h"
#include "dim_text.h"
#include "file_io.h"
#include "draw_model.h"
#include "func.h"
#include "gra_attribute.h"
#include "gval.h"
#include "image_draw.h"
#include "jww_data.h"
#include "line_patterns.h"
#include "points.h"
#include "primitives.h"
#include "text_draw.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr uint16_t kVerticalText = 0x20;

bool IsImageText(const std::string& content) {
  return content.rfind(kImageTextPrefix, 0) == 0 && content.find(',') != std::string::npos;
}

bool IsIdentityMatrix(const TAffineMap& m) {
  return std::fabs(m.a - 1) <= 1e-14 && std::fabs(m.b) <= 1e-14 && std::fabs(m.c) <= 1e-14 &&
         std::fabs(m.d - 1) <= 1e-14;
}

void OverridePen(TCanvas& canvas, int32_t colorOverride) {
  if (colorOverride >= 0) canvas.SetPenColor(colorOverride);
}

// Style flags of a text from its stored kind: 1 bold, 2 italic.
int32_t TextStyleFlags(uint32_t kind) {
  if (kind >= 30000) return 3;
  if (kind >= 20000) return 1;
  if (kind >= 10000) return 2;
  return 0;
}

bool StartsWithTempFolderTag(const std::string& path) {
  static const char kTag[] = "%temp%";
  if (path.size() < 6) return false;
  for (size_t k = 0; k < 6; ++k) {
    const char ch = path[k];
    const char lower = (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch - 'A' + 'a') : ch;
    if (lower != kTag[k]) return false;
  }
  return true;
}

// The numbers after the path of an image text: width, height, crop x, crop y,
// crop width and angle; the last one read takes the rest of the text.
struct TImageValues {
  double width = 0, height = 0, cropX = 0, cropY = 0, cropWidth = 1.0, angle = 0;
};

TImageValues ReadImageValues(const std::string& rest) {
  TImageValues v;
  double* fields[6] = {&v.width, &v.height, &v.cropX, &v.cropY, &v.cropWidth, &v.angle};
  size_t pos = 0;
  int read = 0;
  while (read < 6) {
    const size_t comma = read == 5 ? std::string::npos : rest.find(',', pos);
    const std::string field = rest.substr(pos, comma == std::string::npos ? std::string::npos : comma - pos);
    *fields[read++] = StrToFloatOrZero(field);
    if (comma == std::string::npos) break;
    pos = comma + 1;
  }
  if (read == 1) v.height = v.width;
  return v;
}

}  // namespace

static bool IsHeldImageText(const std::string& content) {
  return IsImageText(content) && StartsWithTempFolderTag(content.substr(4));
}

std::string ImageTextPath(const std::string& content) {
  if (!IsImageText(content)) return {};
  std::string path = content.substr(4, content.find(',') - 4);
  if (StartsWithTempFolderTag(path)) return HeldImagePath(path.substr(6));
  return PathFromSjisText(path);
}

void TJwwData::DrawImageText(TCanvas& canvas, bool lineWidthMode, const TDrawPlacement& place,
                             const TEntJwwText& e, int32_t colorOverride) const {
  if (!IsImageText(e.Content)) return;
  const std::string path = ImageTextPath(e.Content);
  const TImageValues v = ReadImageValues(e.Content.substr(e.Content.find(',') + 1));

  const TAffineMap& m = place.map;
  const double psi = VectorAngle(e.EndX - e.StartX, e.EndY - e.StartY);
  const double phi = v.angle * kPi / 180;
  double x1, y1, wx, wy, hx, hy, ax, ay;
  MapPoint(e.StartX, e.StartY, m, x1, y1);
  MapPoint(e.StartX + v.width * std::cos(psi), e.StartY + v.width * std::sin(psi), m, wx, wy);
  MapPoint(e.StartX - v.height * std::sin(psi), e.StartY + v.height * std::cos(psi), m, hx, hy);
  MapPoint(e.StartX + v.width * std::cos(phi), e.StartY + v.width * std::sin(phi), m, ax, ay);
  const double x2 = x1 + Distance(x1, y1, wx, wy);
  const double y2 = y1 + Distance(x1, y1, hx, hy);
  double q = VectorAngle(ax - x1, ay - y1) * 180 / kPi;
  if (q >= 360) q -= 360;

  if (lineWidthMode) {
    // A held image that could not be unpacked shows where it belongs.
    if (IsHeldImageText(e.Content) && !FileExists(path)) {
      if (std::isfinite(x2) && std::isfinite(y2) && std::isfinite(q))
        DrawImagePlaceholder(canvas, x1, y1, x2, y2, q);
      return;
    }
    ::DrawImage(canvas, path, x1, y1, x2, y2, v.cropX, v.cropY, v.cropWidth, q);
    return;
  }
  const int32_t layer = place.LayerIndexOf(e.Common);
  SetPenForEntity(canvas, layer, e.Common.Color, 1, 0);
  OverridePen(canvas, colorOverride);
  SetBrushForEntity(canvas, layer, e.Common.Color, 5);
  if (colorOverride >= 0) canvas.SetBrushColor(colorOverride);
  DrawRotatedRect(canvas, x1, y1, x2, y2, q * kPi / 180);
}

void TJwwData::DrawSolid(TCanvas& canvas, bool /*lineWidthMode*/, const TDrawPlacement& place,
                         const TEntJwwSolid& e, int32_t colorOverride) const {
  const int32_t layer = place.LayerIndexOf(e.Common);
  if (e.Common.Color == 10) {
    const TgraAttribute& attr = DrawAttributes();
    int32_t color = static_cast<int32_t>(e.Rgb);
    if (attr.GetLayerMode(layer) == 2) color = attr.GetGrayColor();
    if (attr.GetLayerMode(layer) == 3) color = attr.GetBackgroundColor();
    if (colorOverride >= 0) color = colorOverride;
    canvas.SetPenColor(color);
    canvas.SetPenStyle(psSolid);
    canvas.SetPenWidth(0);
    canvas.SetBrushColor(color);
    canvas.SetBrushStyle(bsSolid);
  } else {
    SetPenForEntity(canvas, layer, e.Common.Color, 1, 0);
    SetBrushForEntity(canvas, layer, e.Common.Color, 1);
    if (colorOverride >= 0) {
      canvas.SetPenColor(colorOverride);
      canvas.SetBrushColor(colorOverride);
    }
  }
  const TAffineMap& m = place.map;
  if (e.Common.LineType > 100) {
    DrawCircleSolid(canvas, e.Common.LineType, e.X1, e.Y1, e.X2, e.Y2, e.X3, e.Y3, e.X4, e.Y4, m.tx,
                    m.ty, m.a, m.b, m.c, m.d, m.s);
    return;
  }
  const double corners[4][2] = {{e.X1, e.Y1}, {e.X2, e.Y2}, {e.X3, e.Y3}, {e.X4, e.Y4}};
  Gval.WorldPoints.clear();
  for (const auto& c : corners) {
    TWorldPoint p;
    MapPoint(c[0], c[1], m, p.x, p.y);
    Gval.WorldPoints.push_back(p);
  }
  Gval.WorldPointCount = 4;
  DrawPolygonBuffer(canvas);
  Gval.WorldPoints.clear();
  Gval.WorldPointCount = 0;
}

namespace {

// Pen of a line or arc: the element's own width (0.01 mm) or its pen's.
void SetStrokePen(TCanvas& canvas, int32_t layer, const TEntJwwCommon& c, int32_t colorOverride) {
  const double width = c.Width != 0 ? c.Width * 0.01 : DrawAttributes().GetPenWidth(c.Color);
  SetPenForEntity(canvas, layer, c.Color, c.LineType, width);
  OverridePen(canvas, colorOverride);
}

}  // namespace

void TJwwData::DrawLine(TCanvas& canvas, bool lineWidthMode, const TDrawPlacement& place,
                        const TEntJwwLine& e, int32_t colorOverride) const {
  const int32_t layer = place.LayerIndexOf(e.Common);
  SetStrokePen(canvas, layer, e.Common, colorOverride);
  double x1, y1, x2, y2;
  MapPoint(e.X1, e.Y1, place.map, x1, y1);
  MapPoint(e.X2, e.Y2, place.map, x2, y2);
  if (lineWidthMode)
    DrawPatternLine(layer, e.Common.LineType, canvas, x1, y1, x2, y2);
  else
    ::DrawLine(canvas, x1, y1, x2, y2);
}

void TJwwData::DrawArc(TCanvas& canvas, bool lineWidthMode, const TDrawPlacement& place,
                       const TEntJwwArc& e, int32_t colorOverride) const {
  const int32_t layer = place.LayerIndexOf(e.Common);
  SetStrokePen(canvas, layer, e.Common, colorOverride);
  const bool full = e.FullCircle != 0;
  const double start = full ? 0 : e.StartAngle;
  const double sweep = full ? 2 * kPi : e.ArcAngle;
  const TAffineMap& m = place.map;
  if (lineWidthMode)
    DrawPatternArc(layer, e.Common.LineType, canvas, e.CenterX, e.CenterY, e.Radius, e.Flatness, e.Tilt,
                   start, sweep, m.tx, m.ty, m.a, m.b, m.c, m.d, m.s);
  else if (full)
    DrawMappedEllipse(canvas, e.CenterX, e.CenterY, e.Radius, e.Flatness, e.Tilt, m.tx, m.ty, m.a, m.b,
                      m.c, m.d, m.s);
  else
    DrawMappedArc(canvas, e.CenterX, e.CenterY, e.Radius, e.Flatness, e.Tilt, start, sweep, m.tx, m.ty,
                  m.a, m.b, m.c, m.d, m.s);
}

void TJwwData::DrawPoint(TCanvas& canvas, bool /*lineWidthMode*/, const TDrawPlacement& place,
                         const TEntJwwPoint& e, int32_t colorOverride) const {
  double x, y, angle, factor;
  int32_t code;
  MapPointEntity(e.Common.LineType, static_cast<int32_t>(e.Code), e.X, e.Y, e.Angle, e.Scale, place.map,
                 x, y, code, angle, factor);
  DrawPointEntity(canvas, static_cast<int32_t>(e.Temporary), code, x, y, angle, factor,
                  place.LayerIndexOf(e.Common), e.Common.Color, colorOverride, e.Common.Width);
}

namespace {

// The steps DrawText and DrawDimensionText share: the scale the text
// variables show, the pen (the font colour follows it), the sizes.
struct TTextSetup {
  double sizeX, sizeY;
  int32_t style;
  std::string face;
};

TTextSetup PrepareText(TCanvas& canvas, const std::vector<TEntJwwLayerGroup>& groups,
                       const TDrawPlacement& place, const TEntJwwText& e, int32_t colorOverride) {
  if (place.ownLayers) {
    const size_t g = static_cast<size_t>(e.Common.LayerGroup);
    if (g < groups.size()) Gval.DrawingScale = groups[g].Scale;
  }
  SetPenForEntity(canvas, place.LayerIndexOf(e.Common), e.Common.Color, 1, 0);
  OverridePen(canvas, colorOverride);
  TTextSetup t{e.SizeX / place.map.s, e.SizeY / place.map.s, TextStyleFlags(e.Kind), e.FontName};
  if (e.Common.Flags & kVerticalText) {
    std::swap(t.sizeX, t.sizeY);
    t.face = "@" + t.face;
  }
  return t;
}

}  // namespace

void TJwwData::DrawText(TCanvas& canvas, bool /*lineWidthMode*/, const TDrawPlacement& place,
                        const TEntJwwText& e, int32_t colorOverride) const {
  if (IsImageText(e.Content)) return;
  const TTextSetup t = PrepareText(canvas, LayerGroups, place, e, colorOverride);
  double sx, sy, ex, ey, w, h, sp;
  int32_t kind;
  MapTextEntity(static_cast<int32_t>(e.Kind), e.StartX, e.StartY, e.EndX, e.EndY, t.sizeX, t.sizeY, e.Spacing,
                place.map, sx, sy, ex, ey, kind, w, h, sp);
  DrawTextEntity(canvas, t.style, t.face, sx, sy, ex, ey, h, w, sp, e.Content);
}

void TJwwData::DrawDimensionText(TCanvas& canvas, bool /*lineWidthMode*/, const TDrawPlacement& place,
                                 const TEntJwwText& e, const std::string& valueText,
                                 int32_t colorOverride) const {
  const TTextSetup t = PrepareText(canvas, LayerGroups, place, e, colorOverride);
  double sx, sy, ex, ey, w, h, sp;
  int32_t kind;
  MapDimensionText(static_cast<int32_t>(e.Kind), e.StartX, e.StartY, e.EndX, e.EndY, t.sizeX, t.sizeY,
                   e.Spacing, valueText, place.map, sx, sy, ex, ey, kind, w, h, sp);
  DrawTextEntity(canvas, t.style, t.face, sx, sy, ex, ey, h, w, sp, valueText);
}

void TJwwData::DrawDimension(TCanvas& canvas, bool lineWidthMode, const TDrawPlacement& place,
                             const TEntJwwDimension& e, int32_t colorOverride, bool skipAuxiliary) const {
  const auto auxLine = [&](const TEntJwwLine& l) {
    return skipAuxiliary && (l.Common.LineType == 9 || l.Common.Color == 9);
  };
  const auto auxPen = [&](const TEntJwwCommon& c) { return skipAuxiliary && c.Color == 9; };
  if (e.SxfMode != 0) {
    if (!auxLine(e.AuxLine1)) DrawLine(canvas, lineWidthMode, place, e.AuxLine1, colorOverride);
    if (!auxLine(e.AuxLine2)) DrawLine(canvas, lineWidthMode, place, e.AuxLine2, colorOverride);
    if (!auxPen(e.Point1.Common)) DrawPoint(canvas, lineWidthMode, place, e.Point1, colorOverride);
    if (!auxPen(e.Point2.Common)) DrawPoint(canvas, lineWidthMode, place, e.Point2, colorOverride);
  }
  if (!auxLine(e.Line)) DrawLine(canvas, lineWidthMode, place, e.Line, colorOverride);
  if (auxPen(e.Text.Common)) return;
  const TAffineMap& m = place.map;
  if (IsIdentityMatrix(m) || !(e.Text.Common.Width & kDimFollowsGeometry)) {
    DrawText(canvas, lineWidthMode, place, e.Text, colorOverride);
    return;
  }
  const size_t g = static_cast<size_t>(place.LayerGroupOf(e.Line.Common));
  const double factor = g < LayerGroups.size() ? LayerGroups[g].Scale : 1.0;
  std::string value;
  FormatDimensionText(e.Text.Common.Width, e.Text.Common.Flags, value, e.Line.X1, e.Line.Y1, e.Line.X2,
                      e.Line.Y2, factor, m.tx, m.ty, m.a, m.b, m.c, m.d, m.s);
  DrawDimensionText(canvas, lineWidthMode, place, e.Text, value, colorOverride);
}
