// Images as the Qt canvas holds them: rasters decoded by Qt's readers and
// metafiles played by our own players. Each paints a source rectangle of
// its pixels into a destination rectangle of a painter.
#pragma once

#include <QPainter>
#include <QRectF>
#include <cstdint>
#include <memory>
#include <vector>

#include "render/canvas.h"

class TQtCanvasImage : public TCanvasImage {
 public:
  // Source in image pixels (a metafile's pixels are its frame at 96 dpi),
  // destination in the painter's current coordinates. Source parts beyond
  // the image stay undrawn.
  virtual void Paint(QPainter& painter, const QRectF& destination, const QRectF& source) const = 0;
};

// One loaded image shown by several image texts (see TCanvasImageCache).
class TSharedCanvasImage : public TQtCanvasImage {
 public:
  explicit TSharedCanvasImage(std::shared_ptr<const TQtCanvasImage> image) : image_(std::move(image)) {}
  int32_t Width() const override { return image_->Width(); }
  int32_t Height() const override { return image_->Height(); }
  void Paint(QPainter& painter, const QRectF& destination, const QRectF& source) const override {
    image_->Paint(painter, destination, source);
  }
  const TQtCanvasImage& Shared() const { return *image_; }

 private:
  std::shared_ptr<const TQtCanvasImage> image_;
};

// Metafile players: nullptr when the bytes are no metafile they can play.
std::unique_ptr<TQtCanvasImage> LoadWmfImage(const std::vector<uint8_t>& bytes);
std::unique_ptr<TQtCanvasImage> LoadEmfImage(const std::vector<uint8_t>& bytes);
