#include "qt_raster_image.h"

#include <QBuffer>
#include <QColorSpace>
#include <QImageReader>
#include <algorithm>
#include <cmath>

namespace {

// The raster formats drawn, told by the file's first bytes (never by its
// name): any other content, whatever Qt could read of it, is no image here.
QByteArray RasterFormat(const QByteArray& b) {
  const auto startsWith = [&b](const char* magic, qsizetype n) { return b.startsWith(QByteArrayView(magic, n)); };
  if (startsWith("BM", 2)) return "bmp";
  if (startsWith("\x89PNG\r\n\x1a\n", 8)) return "png";
  if (startsWith("\xFF\xD8\xFF", 3)) return "jpeg";
  if (startsWith("GIF87a", 6) || startsWith("GIF89a", 6)) return "gif";
  if (startsWith("II*\0", 4) || startsWith("MM\0*", 4)) return "tiff";
  if (startsWith("\0\0\1\0", 4)) return "ico";
  return {};
}

bool TooLarge(const QSize& size) {
  return qint64(size.width()) * qint64(size.height()) * 4 > kRasterImageByteLimit;
}

// A reader of the bytes that uses the format's own plug-in only.
class TRasterReader {
 public:
  TRasterReader(const QByteArray& bytes, const QByteArray& format) : reader(&buffer, format) {
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    reader.setAutoDetectImageFormat(false);
    reader.setAutoTransform(false);
  }
  QBuffer buffer;
  QImageReader reader;
};

// The image of a file that is drawn: an icon's largest, the first frame or
// page of the others. -1 when the reader cannot get there.
int ChosenImage(QImageReader& reader) {
  if (reader.format() != "ico" || reader.imageCount() <= 1) return 0;
  int chosen = 0;
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
  return reader.jumpToImage(chosen) ? chosen : -1;
}

// The stored image, decoded when it is drawn at the size the drawing needs
// (decoded again only when a later drawing needs more pixels).
class TQtRasterImage : public TQtCanvasImage {
 public:
  TQtRasterImage(QByteArray bytes, QByteArray format, int index, QSize size)
      : bytes_(std::move(bytes)), format_(std::move(format)), index_(index), size_(size) {}
  int32_t Width() const override { return size_.width(); }
  int32_t Height() const override { return size_.height(); }

  void Paint(QPainter& painter, const QRectF& destination, const QRectF& source) const override {
    if (source.width() <= 0 || source.height() <= 0) return;
    // Only the part of the source inside the image is drawn, where the
    // whole source would have put it.
    const QRectF inside = source.intersected(QRectF(QPointF(0, 0), QSizeF(size_)));
    if (inside.isEmpty()) return;
    const double sx = destination.width() / source.width();
    const double sy = destination.height() / source.height();
    const QRectF target(destination.x() + (inside.x() - source.x()) * sx,
                        destination.y() + (inside.y() - source.y()) * sy, inside.width() * sx,
                        inside.height() * sy);
    // Device pixels per image pixel, whatever the painter's turn.
    const QTransform& t = painter.transform();
    const double scale = std::max(sx * std::hypot(t.m11(), t.m12()), sy * std::hypot(t.m21(), t.m22()));
    const QImage& pixels = PixelsAt(scale);
    if (pixels.isNull()) return;
    const double kx = double(pixels.width()) / size_.width(), ky = double(pixels.height()) / size_.height();
    painter.drawImage(target, pixels, QRectF(inside.x() * kx, inside.y() * ky, inside.width() * kx, inside.height() * ky));
  }

  // The pixels decoded so far; all of them when none were.
  const QImage& DecodedPixels() const { return decoded_.isNull() ? PixelsAt(1) : decoded_; }

  // Pixels for `scale` device pixels per image pixel, never more than stored.
  const QImage& PixelsAt(double scale) const {
    const double s = std::isfinite(scale) ? std::clamp(scale, 0.0, 1.0) : 1.0;
    const QSize need(std::max(1, int(std::ceil(size_.width() * s))), std::max(1, int(std::ceil(size_.height() * s))));
    if (decoded_.width() >= need.width() && decoded_.height() >= need.height()) return decoded_;
    if (!failed_) Decode(need);
    return decoded_;
  }

 private:
  void Decode(const QSize& need) const {
    TRasterReader r(bytes_, format_);
    if (index_ > 0 && !r.reader.jumpToImage(index_)) return Fail();
    if (need != size_) r.reader.setScaledSize(need);
    QImage image;
    if (!r.reader.read(&image) || image.isNull() || TooLarge(image.size())) return Fail();
    image.setColorSpace(QColorSpace());  // drawn as stored
    // One pixel layout the painter blends fast.
    image.convertTo(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    if (image.isNull()) return Fail();
    decoded_ = std::move(image);
  }
  void Fail() const {
    failed_ = true;
    decoded_ = QImage();
  }

  QByteArray bytes_, format_;
  int index_;
  QSize size_;
  mutable QImage decoded_;
  mutable bool failed_ = false;
};

}  // namespace

std::unique_ptr<TQtCanvasImage> LoadRasterImage(const QByteArray& bytes) {
  // Scans of large sheets pass Qt's default limit of 128 MB.
  QImageReader::setAllocationLimit(int(kRasterImageByteLimit >> 20));
  const QByteArray format = RasterFormat(bytes);
  if (format.isEmpty()) return nullptr;
  TRasterReader r(bytes, format);
  if (!r.reader.canRead()) return nullptr;
  const int index = ChosenImage(r.reader);
  if (index < 0) return nullptr;
  // Only the header is read here; the pixels when the image is drawn.
  const QSize size = r.reader.size();
  if (!size.isValid() || size.isEmpty() || TooLarge(size)) return nullptr;
  return std::make_unique<TQtRasterImage>(bytes, format, index, size);
}

const QImage* RasterImagePixels(const TQtCanvasImage& image) {
  const auto* shared = dynamic_cast<const TSharedCanvasImage*>(&image);
  const auto* raster = dynamic_cast<const TQtRasterImage*>(shared ? &shared->Shared() : &image);
  if (!raster) return nullptr;
  const QImage& pixels = raster->DecodedPixels();
  return pixels.isNull() ? nullptr : &pixels;
}
