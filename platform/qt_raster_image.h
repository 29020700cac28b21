// Raster images for the canvas, decoded by Qt's image readers: BMP, PNG,
// JPEG, GIF (first frame), ICO (its largest image) and TIFF (first page),
// each known by its first bytes and read by its own reader only. Loading
// reads the header; the pixels are decoded when the image is painted, at
// no more pixels than the painting needs. Pixels are taken as stored: no
// EXIF turn, no colour management.
#pragma once

#include <QByteArray>
#include <QImage>
#include <memory>

#include "qt_canvas_image.h"

// Refused before decoding when the header announces more pixels than
// this many bytes hold at four bytes a pixel.
constexpr qint64 kRasterImageByteLimit = qint64(1) << 30;

// nullptr when the bytes are none of those formats, their header cannot be
// read, or the image is too large. Pixels that then cannot be decoded are
// not drawn.
std::unique_ptr<TQtCanvasImage> LoadRasterImage(const QByteArray& bytes);

// The pixels of a raster image decoded so far, all of them when none were
// (for tests and benchmarks); nullptr for other images or undecodable ones.
const QImage* RasterImagePixels(const TQtCanvasImage& image);
