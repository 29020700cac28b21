// Helpers of the pixel probes: a white bitmap with a canvas on it, and
// questions about where ink landed.
#pragma once

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <memory>

#include "qt_canvas.h"

inline void EnsureGuiApp() {
  if (QCoreApplication::instance()) return;
  static int argc = 1;
  static char name[] = "platform_tests";
  static char* argv[] = {name, nullptr};
  new QGuiApplication(argc, argv);  // lives for the rest of the process
}

// A white bitmap; Canvas() paints on it until Finish() hands it over.
class TProbeBitmap {
 public:
  TProbeBitmap(int w, int h) : image_(w, h, QImage::Format_RGB32) {
    EnsureGuiApp();
    image_.fill(Qt::white);
    painter_ = std::make_unique<QPainter>(&image_);
    canvas_ = std::make_unique<TQtCanvas>(*painter_);
  }
  TQtCanvas& Canvas() { return *canvas_; }
  const QImage& Finish() {
    canvas_.reset();
    painter_.reset();
    return image_;
  }

 private:
  QImage image_;
  std::unique_ptr<QPainter> painter_;
  std::unique_ptr<TQtCanvas> canvas_;
};

inline bool Ink(const QImage& im, int x, int y) {
  return im.valid(x, y) && (im.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
}

inline QRgb Rgb(const QImage& im, int x, int y) { return im.pixel(x, y) & 0xFFFFFF; }

// Bounding box of every pixel that is not white (empty when none).
inline QRect InkBox(const QImage& im) {
  QRect box;
  for (int y = 0; y < im.height(); ++y)
    for (int x = 0; x < im.width(); ++x)
      if (Ink(im, x, y)) box |= QRect(x, y, 1, 1);
  return box;
}

inline int InkCount(const QImage& im) {
  int n = 0;
  for (int y = 0; y < im.height(); ++y)
    for (int x = 0; x < im.width(); ++x) n += Ink(im, x, y);
  return n;
}
