// Where a sheet lies in its picture, a printer page or a preview bitmap:
// the view that fits the drawing, and the part of a preview bitmap that the
// printed page covers.
#pragma once

#include <cstdint>

#include "render/canvas.h"  // TDeviceRect

struct TSheetView {
  double Scale = 1;  // device units per drawing millimetre
  double CenterX = 0, CenterY = 0;
};

// The view that fits the extents, as the drawing shows them turned by angle
// (radians, counter-clockwise) about the origin, into a device of width x
// height with 1 % to spare, centred on them and moved by the offset.
TSheetView FitTurnedExtents(double xmin, double ymin, double xmax, double ymax, double angle, int32_t width,
                            int32_t height, double offsetX, double offsetY);

// The part of a device of width x height that a page of pageWidthMm x
// pageHeightMm covers when the page is shrunk into it whole and centred;
// the whole device when the page has no size.
TDeviceRect ShrunkPageRect(double pageWidthMm, double pageHeightMm, int32_t width, int32_t height);
