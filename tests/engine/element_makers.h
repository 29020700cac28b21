// Element records for the extent, count and explosion tests: each maker sets
// the geometry and a common part on (group, layer) with pen 1, solid line.
#pragma once

#include <cstdint>
#include <string>

#include "jww_data.h"
#include "jww_model_maker.h"

namespace elemtest {

inline TEntJwwCommon On(uint16_t group, uint16_t layer, uint8_t lineType = 1) {
  TEntJwwCommon c;
  c.LayerGroup = group;
  c.Layer = layer;
  c.LineType = lineType;
  c.Color = 1;
  return c;
}

inline TEntJwwLine Line(double x1, double y1, double x2, double y2, TEntJwwCommon c = On(0, 0)) {
  TEntJwwLine e;
  e.Common = c;
  e.X1 = x1, e.Y1 = y1, e.X2 = x2, e.Y2 = y2;
  return e;
}

inline TEntJwwArc Arc(double cx, double cy, double r, double start, double sweep, double f = 1, double tilt = 0,
                      uint32_t full = 0, TEntJwwCommon c = On(0, 0)) {
  TEntJwwArc e;
  e.Common = c;
  e.CenterX = cx, e.CenterY = cy, e.Radius = r, e.StartAngle = start, e.ArcAngle = sweep;
  e.Flatness = f, e.Tilt = tilt, e.FullCircle = full;
  return e;
}

inline TEntJwwArc Circle(double cx, double cy, double r, double f = 1, double tilt = 0, TEntJwwCommon c = On(0, 0)) {
  return Arc(cx, cy, r, 0, 2 * 3.14159265358979323846, f, tilt, 1, c);
}

inline TEntJwwPoint Point(double x, double y, uint32_t temporary = 0, TEntJwwCommon c = On(0, 0)) {
  TEntJwwPoint e;
  e.Common = c;
  e.X = x, e.Y = y, e.Temporary = temporary;
  return e;
}

inline TEntJwwText Text(double sx, double sy, double ex, double ey, const std::string& content,
                        TEntJwwCommon c = On(0, 0)) {
  TEntJwwText e;
  e.Common = c;
  e.StartX = sx, e.StartY = sy, e.EndX = ex, e.EndY = ey;
  e.SizeX = 2.5, e.SizeY = 2.5, e.Spacing = 0;
  e.FontName = "MS Gothic";
  e.Content = content;
  return e;
}

inline TEntJwwDimension Dimension(double x1, double y1, double x2, double y2, const std::string& value,
                                  TEntJwwCommon c = On(0, 0)) {
  TEntJwwDimension e;
  e.Common = c;
  e.Line = Line(x1, y1, x2, y2, c);
  e.Text = Text(x1, y1 + 1, x2, y2 + 1, value, c);
  return e;
}

inline TEntJwwSolid Quad(double x1, double y1, double x2, double y2, double x3, double y3, double x4, double y4,
                         TEntJwwCommon c = On(0, 0)) {
  TEntJwwSolid e;
  e.Common = c;
  e.X1 = x1, e.Y1 = y1, e.X2 = x2, e.Y2 = y2, e.X3 = x3, e.Y3 = y3, e.X4 = x4, e.Y4 = y4;
  return e;
}

// A circular solid: the line type is the shape code.
inline TEntJwwSolid RoundSolid(uint8_t code, double cx, double cy, double r, double f, double tilt, double start,
                               double sweep, double y4, TEntJwwCommon c = On(0, 0)) {
  c.LineType = code;
  return Quad(cx, cy, r, f, tilt, start, sweep, y4, c);
}

inline TEntJwwBlockInsert Insert(uint32_t number, double x, double y, double sx = 1, double sy = 1,
                                 double angle = 0, TEntJwwCommon c = On(0, 0)) {
  TEntJwwBlockInsert e;
  e.Common = c;
  e.BlockNumber = number;
  e.X = x, e.Y = y, e.ScaleX = sx, e.ScaleY = sy, e.Angle = angle;
  return e;
}

// A model with its tables sized, as the reader leaves it before elements.
inline void EmptyModel(TJwwData& m) {
  m.FreeData();
  jwwtest::SizeTables(m);
  for (auto& g : m.LayerGroups) g.Scale = 1, g.State = 2;
  for (auto& l : m.Layers) l.State = 2;
}

}  // namespace elemtest
