#include "qt_raster_image.h"

#include <QBuffer>
#include <QColorSpace>
#include <QImageReader>

namespace {

class TQtRasterImage : public TQtCanvasImage {
 public:
  explicit TQtRasterImage(QImage image) : image_(std::move(image)) {}
  int32_t Width() const override { return image_.width(); }
  int32_t Height() const override { return image_.height(); }
  const QImage& Pixels() const { return image_; }

  void Paint(QPainter& painter, const QRectF& destination, const QRectF& source) const override {
    if (source.width() <= 0 || source.height() <= 0) return;
    // Only the part of the source inside the image is drawn, where the
    // whole source would have put it.
    const QRectF inside = source.intersected(QRectF(image_.rect()));
    if (inside.isEmpty()) return;
    const double sx = destination.width() / source.width();
    const double sy = destination.height() / source.height();
    const QRectF target(destination.x() + (inside.x() - source.x()) * sx,
                        destination.y() + (inside.y() - source.y()) * sy, inside.width() * sx,
                        inside.height() * sy);
    painter.drawImage(target, image_, inside);
  }

 private:
  QImage image_;
};

bool TooLarge(const QSize& size) {
  return qint64(size.width()) * qint64(size.height()) * 4 > kRasterImageByteLimit;
}

}  // namespace

std::unique_ptr<TQtCanvasImage> LoadRasterImage(const QByteArray& bytes) {
  // Scans of large sheets pass Qt's default limit of 128 MB.
  QImageReader::setAllocationLimit(int(kRasterImageByteLimit >> 20));
  QBuffer buffer;
  buffer.setData(bytes);
  if (!buffer.open(QIODevice::ReadOnly)) return nullptr;
  QImageReader reader(&buffer);
  reader.setAutoTransform(false);
  if (!reader.canRead()) return nullptr;

  // An icon holds several sizes: the largest is drawn. Other formats give
  // their first frame or page.
  int chosen = 0;
  if (reader.format() == "ico" && reader.imageCount() > 1) {
    qint64 best = -1;
    for (int i = 0; i < reader.imageCount(); ++i) {
      if (!reader.jumpToImage(i)) break;
      const QSize s = reader.size();
      const qint64 area = qint64(s.width()) * s.height();
      if (s.isValid() && area > best) {
        best = area;
        chosen = i;
      }
    }
    if (!reader.jumpToImage(chosen)) return nullptr;
  }
  const QSize announced = reader.size();
  if (announced.isValid() && TooLarge(announced)) return nullptr;

  QImage image;
  if (!reader.read(&image) || image.isNull() || TooLarge(image.size())) return nullptr;
  image.setColorSpace(QColorSpace());  // drawn as stored
  // One pixel layout the painter blends fast.
  image.convertTo(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                          : QImage::Format_RGB32);
  if (image.isNull()) return nullptr;
  return std::make_unique<TQtRasterImage>(std::move(image));
}

const QImage* RasterImagePixels(const TQtCanvasImage& image) {
  const auto* raster = dynamic_cast<const TQtRasterImage*>(&image);
  return raster ? &raster->Pixels() : nullptr;
}
