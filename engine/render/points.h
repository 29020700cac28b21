// Point elements: the temporary-point circle, the dot of an ordinary point
// and the eighteen symbols chosen by a point's code (arrowheads, crosses,
// squares, circles, triangles, an S-curve), built around a placed position.
#pragma once

#include <cstdint>

#include "canvas.h"

// (x, y) in drawing mm; angle in radians, counter-clockwise; factor is the
// symbol's size factor (1e-8 or less counts as 1); width in 0.01 mm
// (0: the pen's own width); colorOverride -1 for none.
void DrawPointEntity(TCanvas& canvas, int32_t temporary, int32_t code, double x, double y,
                     double angle, double factor, int32_t layerIndex, int32_t pen,
                     int32_t colorOverride, int32_t width);
