// The Qt fonts behind the canvas's logical fonts: family by the face map,
// pixel size (em) = logical height, stretch 2 × width / height, weight,
// style, no anti-aliasing; with the metrics the canvas places text by.
#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QRawFont>
#include <memory>
#include <string>
#include <unordered_map>

#include "render/canvas.h"

class QPaintDevice;

struct TQtCanvasFont {
  TQtCanvasFont(const TLogFont& logFont, QPaintDevice* device);

  QFont font;
  QFontMetricsF metrics;
  int ascent = 0;      // baseline below the cell's top
  int cellHeight = 0;  // ascent + descent
  int em = 0;
  bool sideways = false;  // a face with one "@": two-byte characters lie on their side
  // Glyph runs can stand for drawText: no lines through or under the text
  // (stretch, weight and slant stay with the glyph tables).
  bool plain = false;

  // The font as glyph tables, made when first asked for.
  const QRawFont& RawFont() const;

 private:
  mutable std::unique_ptr<QRawFont> raw_;
};

// Fonts made so far, by logical font (the escapement is no part of a font:
// the canvas turns the text itself). Drawings use a handful of sizes.
class TQtCanvasFontCache {
 public:
  const TQtCanvasFont& Get(const TLogFont& logFont, QPaintDevice* device);

 private:
  std::unordered_map<std::string, std::unique_ptr<TQtCanvasFont>> fonts_;
};
