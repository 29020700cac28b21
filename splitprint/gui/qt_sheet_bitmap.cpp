#include "qt_sheet_bitmap.h"

#include <QBuffer>
#include <QByteArray>
#include <QPainter>
#include <QString>
#include <string_view>
#include <system_error>

#include "file_io.h"
#include "file_replace.h"
#include "qt_text.h"
#include "qt_canvas.h"

TQtSheetBitmap::TQtSheetBitmap() = default;

TQtSheetBitmap::~TQtSheetBitmap() { End(); }

void TQtSheetBitmap::End() {
  canvas_.reset();  // draws what it gathered
  if (painter_ && painter_->isActive()) painter_->end();
  painter_.reset();
}

TCanvas* TQtSheetBitmap::Begin(int32_t width, int32_t height) {
  End();
  image_ = QImage(width, height, QImage::Format_RGB32);
  if (image_.isNull()) return nullptr;
  image_.fill(Qt::white);
  painter_ = std::make_unique<QPainter>(&image_);
  canvas_ = std::make_unique<TQtCanvas>(*painter_);
  return canvas_.get();
}

bool TQtSheetBitmap::Save(const std::string& path) {
  End();
  lastSaveError_ = 0;
  if (image_.isNull()) return false;
  const QImage eightBit = image_.convertToFormat(QImage::Format_Indexed8);
  image_ = QImage();
  // Made whole in memory and put in place in one step: a full disk leaves
  // no empty or cut file behind, and the system's reason is kept.
  QByteArray bytes;
  QBuffer buffer(&bytes);
  if (!buffer.open(QIODevice::WriteOnly) || !eightBit.save(&buffer, "BMP")) return false;
  std::error_code error;
  if (!WriteFileReplacing(path, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), error)) {
    lastSaveError_ = error.value();
    return false;
  }
  return true;
}
