// Where a sheet lies in its picture, a printer page or a preview bitmap:
// the view that fits the drawing.
#pragma once

#include <cstdint>

struct TSheetView {
  double Scale = 1;  // device units per drawing millimetre
  double CenterX = 0, CenterY = 0;
};

// The view that fits the extents, as the drawing shows them turned by angle
// (radians, counter-clockwise) about the origin, into a device of width x
// height with 1 % to spare, centred on them and moved by the offset.
TSheetView FitTurnedExtents(double xmin, double ymin, double xmax, double ymax, double angle, int32_t width,
                            int32_t height, double offsetX, double offsetY);

