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

namespace metatest {

// Where a text drawn at (50, 50) of a 100 × 100 picture put its ink, for the
// alignments top-left, baseline, top-right and top-centre.
struct AlignCase {
  uint16_t align;
  QRect inked, blank;
};
inline const std::vector<AlignCase>& AlignCases() {
  static const std::vector<AlignCase> cases = {
      {0, QRect(50, 50, 50, 30), QRect(0, 0, 100, 48)},
      {24, QRect(50, 30, 50, 20), QRect(0, 52, 100, 48)},
      {2, QRect(0, 50, 50, 30), QRect(52, 0, 48, 100)},
      {6, QRect(35, 50, 14, 30), QRect(0, 0, 100, 48)},
      {6, QRect(51, 50, 14, 30), QRect(0, 0, 30, 100)},
  };
  return cases;
}

// A pie from three o'clock to twelve o'clock in the box (10, 10)-(90, 90)
// fills the upper right quarter only (arcs run counter-clockwise).
inline const std::vector<std::tuple<int, int, bool>>& PieProbes() {
  static const std::vector<std::tuple<int, int, bool>> probes = {
      {70, 30, true}, {30, 30, false}, {70, 70, false}, {30, 70, false}};
  return probes;
}

}  // namespace metatest
