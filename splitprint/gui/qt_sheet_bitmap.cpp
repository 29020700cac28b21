#include "qt_sheet_bitmap.h"

#include <QPainter>
#include <QString>

#include "file_io.h"
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
  if (image_.isNull()) return false;
  const QImage eightBit = image_.convertToFormat(QImage::Format_Indexed8);
  image_ = QImage();
  return eightBit.save(FromPath(path), "BMP");
}
