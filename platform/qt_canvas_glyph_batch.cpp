#include "qt_canvas_glyph_batch.h"

#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>

#include "qt_canvas_font.h"

namespace {

// Runs are drawn at this many glyphs, so one text object stays small.
constexpr qsizetype kMaxGlyphs = 4096;

}  // namespace

QTransform TextPlacement(int32_t x, int32_t y, int32_t escapement) {
  QTransform t;
  t.translate(x, y);
  if (escapement % 3600 != 0) t.rotate(-double(escapement % 3600) / 10.0);
  return t;
}

bool TQtGlyphBatch::Add(const TQtCanvasFont& font, int32_t escapement, const QColor& colour,
                        int32_t x, int32_t y, const QString& text) {
  if (!Empty() && (&font != font_ || escapement != escapement_ || colour != colour_ ||
                   glyphs_.size() >= kMaxGlyphs))
    return false;
  const QRawFont& raw = font.RawFont();
  if (!raw.isValid()) return false;
  const QList<quint32> glyphs = raw.glyphIndexesForString(text);
  // A character the face lacks is left to the painter's font fallback.
  if (glyphs.isEmpty() || glyphs.contains(0u)) return false;
  if (Empty()) {
    font_ = &font;
    escapement_ = escapement;
    colour_ = colour;
    place_ = TextPlacement(x, y, escapement);
    toLocal_ = place_.inverted();
  }
  QPointF at = toLocal_.map(QPointF(x, y)) + QPointF(0, font.ascent);
  const QList<QPointF> advances = raw.advancesForGlyphIndexes(glyphs);
  for (qsizetype i = 0; i < glyphs.size(); ++i) {
    glyphs_.append(glyphs[i]);
    positions_.append(at);
    at += advances.value(i);
  }
  return true;
}

void TQtGlyphBatch::Draw(QPainter& painter, const QTransform& base) {
  if (Empty()) return;
  QGlyphRun run;
  run.setRawFont(font_->RawFont());
  run.setGlyphIndexes(glyphs_);
  run.setPositions(positions_);
  painter.setTransform(place_ * base);
  painter.setPen(colour_);
  painter.drawGlyphRun(QPointF(0, 0), run);
  glyphs_.clear();
  positions_.clear();
}
