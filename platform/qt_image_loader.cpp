#include "qt_image_loader.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

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

// The file's bytes and its lower-cased suffix; false when it cannot be read
// or is empty or too large.
bool ReadImageFile(const std::string& nativePath, QByteArray& bytes, QString& suffix) {
  QFile file(QString::fromStdString(nativePath));
  if (!file.open(QIODevice::ReadOnly)) return false;
  const qint64 size = file.size();
  if (size <= 0 || size > kImageFileByteLimit) return false;
  bytes = file.readAll();
  if (bytes.size() != size) return false;
  suffix = QFileInfo(file.fileName()).suffix().toLower();
  return true;
}

std::unique_ptr<TQtCanvasImage> LoadImageBytes(const QByteArray& bytes, const QString& suffix) {
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

}  // namespace

std::unique_ptr<TQtCanvasImage> LoadCanvasImageFile(const std::string& nativePath) {
  QByteArray bytes;
  QString suffix;
  return ReadImageFile(nativePath, bytes, suffix) ? LoadImageBytes(bytes, suffix) : nullptr;
}

std::unique_ptr<TQtCanvasImage> TCanvasImageCache::Load(const std::string& nativePath) {
  QByteArray bytes;
  QString suffix;
  if (!ReadImageFile(nativePath, bytes, suffix)) return nullptr;
  // The suffix only matters for a metafile its bytes do not reveal.
  QCryptographicHash hash(QCryptographicHash::Sha256);
  hash.addData(bytes);
  hash.addData(suffix.toUtf8());
  const QByteArray digest = hash.result();
  auto hit = std::find_if(entries_.begin(), entries_.end(), [&](const TEntry& e) { return e.Digest == digest; });
  if (hit == entries_.end()) {
    std::shared_ptr<const TQtCanvasImage> image = LoadImageBytes(bytes, suffix);
    if (!image) return nullptr;
    if (entries_.size() == kKept) entries_.pop_front();
    entries_.push_back(TEntry{digest, std::move(image)});
  } else {
    std::rotate(hit, hit + 1, entries_.end());
  }
  return std::make_unique<TSharedCanvasImage>(entries_.back().Image);
}
