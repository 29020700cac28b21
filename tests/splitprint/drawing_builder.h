// Builds the elements of a working drawing in memory for frame tests.
#pragma once

#include <string>

#include "jww_data.h"

struct LineAttrs {
  int Color = 9;
  int LineType = 19;
  int Width = 200;
};

inline void AddLine(TJwwData& d, double x1, double y1, double x2, double y2, LineAttrs a = {}) {
  TEntJwwLine l;
  l.Common.Color = static_cast<uint16_t>(a.Color);
  l.Common.LineType = static_cast<uint8_t>(a.LineType);
  l.Common.Width = static_cast<uint16_t>(a.Width);
  l.X1 = x1;
  l.Y1 = y1;
  l.X2 = x2;
  l.Y2 = y2;
  d.Lines.push_back(l);
  d.LineCount = static_cast<int32_t>(d.Lines.size());
}

// A rectangle of frame lines drawn counter-clockwise from its lower left corner.
inline void AddFrameRect(TJwwData& d, double x0, double y0, double x1, double y1, LineAttrs a = {}) {
  AddLine(d, x0, y0, x1, y0, a);
  AddLine(d, x1, y0, x1, y1, a);
  AddLine(d, x1, y1, x0, y1, a);
  AddLine(d, x0, y1, x0, y0, a);
}

inline void AddText(TJwwData& d, const std::string& content, double x, double y, int color = 9,
                    uint32_t kind = 0, int layerGroup = 0) {
  TEntJwwText t;
  t.Common.Color = static_cast<uint16_t>(color);
  t.Common.LayerGroup = static_cast<uint16_t>(layerGroup);
  t.Kind = kind;
  t.StartX = x;
  t.StartY = y;
  t.EndX = x + 10;
  t.EndY = y;
  t.Content = content;
  d.Texts.push_back(t);
  d.TextCount = static_cast<int32_t>(d.Texts.size());
}
