// Opens an image file for the canvas: metafiles (WMF, EMF) go to their
// players, everything else to Qt's raster readers. The kind is told by the
// file's first bytes; the extension decides only when the bytes do not.
#pragma once

#include <QByteArray>
#include <deque>
#include <memory>
#include <string>

#include "qt_canvas_image.h"

// Files larger than this are not read at all.
constexpr long long kImageFileByteLimit = 1LL << 30;

// nullptr when the file cannot be read or is no image we can draw.
std::unique_ptr<TQtCanvasImage> LoadCanvasImageFile(const std::string& nativePath);

// The images one canvas has loaded, known by their content: a file that
// several image texts show is read for each, but decoded once, at the most
// pixels any of them needs. The last few images are kept.
class TCanvasImageCache {
 public:
  std::unique_ptr<TQtCanvasImage> Load(const std::string& nativePath);

 private:
  struct TEntry {
    QByteArray Digest;
    std::shared_ptr<const TQtCanvasImage> Image;
  };
  static constexpr size_t kKept = 8;
  std::deque<TEntry> entries_;  // the one used last at the back
};
