// A whole drawing fitted with a margin into a canvas or a paint device (a
// bitmap or a PDF page): by layer, line widths on, as printed, at a fixed
// "now" for the date variables.
#pragma once

#include <QPaintDevice>
#include <QPainter>
#include <algorithm>
#include <string>

#include "canvas_probe.h"
#include "gra_attribute.h"
#include "gval.h"
#include "jww_data.h"
#include "render/text_vars.h"

// Gval set so while it lives.
struct TFittedView {
  TgraAttribute attr;
  TFittedView(TJwwData& d, const std::string& drawingPath, int width, int height) {
    Gval.Reset();
    attr.SetLineWidthMode(true);
    Gval.GraAttribute = &attr;
    Gval.DrawingFileName = drawingPath;
    Gval.DrawingScale = Gval.PrintScale = 1;
    SetTextVariableClock([] { return 43586.5; });  // 2019-05-01 12:00
    d.ApplyLayerAttributes();
    d.CalcExtents();
    const double w = std::max(d.Extents[2] - d.Extents[0], 1.0);
    const double h = std::max(d.Extents[3] - d.Extents[1], 1.0);
    const double scale = std::min(width / w, height / h) * 0.96;
    SetView(width, height, scale, (d.Extents[0] + d.Extents[2]) / 2, (d.Extents[1] + d.Extents[3]) / 2);
  }
  ~TFittedView() {
    SetTextVariableClock(nullptr);
    Gval.Reset();
  }
};

inline void DrawFitted(TJwwData& d, const std::string& drawingPath, QPaintDevice& device, int width, int height) {
  EnsureGuiApp();
  const TFittedView view(d, drawingPath, width, height);
  QPainter painter(&device);
  TQtCanvas canvas(painter);
  d.Draw(canvas, 1, -1, -1, true, true, false, 0);
}
