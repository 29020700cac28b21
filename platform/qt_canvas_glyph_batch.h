// Characters put out one at a time, gathered into one glyph run while font,
// turn and colour stay the same. A PDF page then holds one text object per
// run instead of one per character (with its own graphics state), which
// keeps printed pages of many texts small and quick to write.
#pragma once

#include <QColor>
#include <QPointF>
#include <QTransform>
#include <QVector>

class QPainter;
class QString;
struct TQtCanvasFont;

class TQtGlyphBatch {
 public:
  bool Empty() const { return glyphs_.isEmpty(); }
  // Adds text with its cell's upper-left corner on (x, y); false (nothing
  // added) when it cannot join this batch or the font lacks a glyph of it.
  bool Add(const TQtCanvasFont& font, int32_t escapement, const QColor& colour, int32_t x,
           int32_t y, const QString& text);
  // Draws the run, the painter's transform then the run's; empties the batch.
  void Draw(QPainter& painter, const QTransform& base);

 private:
  const TQtCanvasFont* font_ = nullptr;
  int32_t escapement_ = 0;
  QColor colour_;
  QTransform place_;    // run frame to canvas
  QTransform toLocal_;  // canvas to run frame
  QVector<quint32> glyphs_;
  QVector<QPointF> positions_;
};

// Turn of a text in the painter's terms: tenths of a degree counter-clockwise
// on the page, where y points down.
QTransform TextPlacement(int32_t x, int32_t y, int32_t escapement);
