#include "qt_image_loader.h"

#include <QFile>
#include <QFileInfo>

#include "qt_raster_image.h"

namespace {

uint32_t Le32(const QByteArray& b, int at) {
  return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8 |
         uint32_t(uint8_t(b[at + 2])) << 16 | uint32_t(uint8_t(b[at + 3])) << 24;
}
uint16_t Le16(const QByteArray& b, int at) {
  return uint16_t(uint8_t(b[at]) | uint8_t(b[at + 1]) << 8);
}

enum class TImageKind { Raster, Wmf, Emf };

TImageKind KindByContent(const QByteArray& b, const QString& suffix) {
  // EMF: header record type 1 with the signature " EMF" at byte 40.
  if (b.size() >= 44 && Le32(b, 0) == 1 && b.mid(40, 4) == QByteArrayLiteral(" EMF"))
    return TImageKind::Emf;
  // WMF: the placeable key, or a plain header of 9 words (memory or disk).
  if (b.size() >= 22 && Le32(b, 0) == 0x9AC6CDD7u) return TImageKind::Wmf;
  if (b.size() >= 18 && (Le16(b, 0) == 1 || Le16(b, 0) == 2) && Le16(b, 2) == 9 &&
      (Le16(b, 4) == 0x0300 || Le16(b, 4) == 0x0100))
    return TImageKind::Wmf;
  if (suffix == QLatin1String("wmf")) return TImageKind::Wmf;
  if (suffix == QLatin1String("emf")) return TImageKind::Emf;
  return TImageKind::Raster;
}

}  // namespace

std::unique_ptr<TQtCanvasImage> LoadCanvasImageFile(const std::string& nativePath) {
  QFile file(QString::fromStdString(nativePath));
  if (!file.open(QIODevice::ReadOnly)) return nullptr;
  const qint64 size = file.size();
  if (size <= 0 || size > kImageFileByteLimit) return nullptr;
  const QByteArray bytes = file.readAll();
  if (bytes.size() != size) return nullptr;
  const QString suffix = QFileInfo(file.fileName()).suffix().toLower();
  switch (KindByContent(bytes, suffix)) {
    case TImageKind::Wmf:
      return LoadWmfImage(std::vector<uint8_t>(bytes.begin(), bytes.end()));
    case TImageKind::Emf:
      return LoadEmfImage(std::vector<uint8_t>(bytes.begin(), bytes.end()));
    case TImageKind::Raster:
      break;
  }
  return LoadRasterImage(bytes);
}
