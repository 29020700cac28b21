// Opens an image file for the canvas: metafiles (WMF, EMF) go to their
// players, everything else to Qt's raster readers. The kind is told by the
// file's first bytes; the extension decides only when the bytes do not.
#pragma once

#include <memory>
#include <string>

#include "qt_canvas_image.h"

// Files larger than this are not read at all.
constexpr long long kImageFileByteLimit = 1LL << 30;

// nullptr when the file cannot be read or is no image we can draw.
std::unique_ptr<TQtCanvasImage> LoadCanvasImageFile(const std::string& nativePath);
