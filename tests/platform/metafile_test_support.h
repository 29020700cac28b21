// Painting loaded metafiles into images for pixel probes.
#pragma once

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "qt_canvas_image.h"

namespace metatest {

inline void EnsureGui() {
  if (QCoreApplication::instance()) return;
  static int argc = 1;
  static char name[] = "platform_tests";
  static char* argv[] = {name, nullptr};
  new QGuiApplication(argc, argv);  // lives for the rest of the process
}

// The picture painted at its own size (or the given one) onto `background`.
inline QImage Render(const TQtCanvasImage& image, QColor background = Qt::white, double scale = 1) {
  QImage out(static_cast<int>(image.Width() * scale), static_cast<int>(image.Height() * scale),
             QImage::Format_RGB32);
  out.fill(background);
  QPainter p(&out);
  image.Paint(p, QRectF(0, 0, out.width(), out.height()), QRectF(0, 0, image.Width(), image.Height()));
  return out;
}

inline QRgb Px(const QImage& img, int x, int y) { return img.pixel(x, y) & 0xFFFFFF; }

// Pixels of the rectangle that differ from `background`.
inline int Inked(const QImage& img, QRect r, QRgb background = 0xFFFFFF) {
  int n = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) n += Px(img, x, y) != background;
  return n;
}

}  // namespace metatest
