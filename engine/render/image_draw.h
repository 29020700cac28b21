// Images named by image texts: a raster or metafile drawn into a rectangle of
// the drawing, cropped and turned, through the canvas's image support.
#pragma once

#include <string>

#include "canvas.h"

// (x1, y1) is the lower-left corner before the turn and its centre; crops are
// fractions of the image; angle in degrees, counter-clockwise. The path is
// native (ImageTextPath). Draws nothing on any failure.
void DrawImage(TCanvas& canvas, const std::string& path, double x1, double y1, double x2,
               double y2, double cropX, double cropY, double cropWidth, double angle);

// The white box drawn in place of an image: outlined in the background
// colour, turned by angle degrees about (x1, y1). Used for images too small
// to show and for held images that could not be unpacked.
void DrawImagePlaceholder(TCanvas& canvas, double x1, double y1, double x2, double y2,
                          double angle);
