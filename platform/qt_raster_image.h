// Raster images for the canvas, decoded by Qt's image readers: BMP, PNG,
// JPEG, GIF (first frame), ICO (its largest image) and TIFF (first page).
// Pixels are taken as stored: no EXIF turn, no colour management.
#pragma once

#include <QByteArray>
#include <QImage>
#include <memory>

#include "qt_canvas_image.h"

// Refused before decoding when the header announces more pixels than
// this many bytes hold at four bytes a pixel.
constexpr qint64 kRasterImageByteLimit = qint64(1) << 30;

// nullptr when the bytes are no image Qt can read, or too large.
std::unique_ptr<TQtCanvasImage> LoadRasterImage(const QByteArray& bytes);

// The decoded pixels of a raster image (for tests and benchmarks).
const QImage* RasterImagePixels(const TQtCanvasImage& image);
