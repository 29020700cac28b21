#include "qt_canvas.h"

#include <QPaintEngine>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "func.h"
#include "qt_canvas_glyph_batch.h"
#include "qt_canvas_image.h"
#include "qt_image_loader.h"
#include "sjis.h"

namespace {

// A polyline is drawn once it holds this many points, so memory stays flat.
constexpr size_t kMaxPathPoints = 8192;
// Polylines gathered into one path on vector devices, at most (points).
constexpr size_t kMaxBatchPoints = 65536;
// Dots up to this width are set pixel by pixel.
constexpr int kMaxPixelDot = 64;
// Decoded texts remembered, at most.
constexpr size_t kMaxDecodedTexts = 4096;

QColor WindowsColor(int32_t c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

Qt::BrushStyle QtBrushStyle(TBrushStyle s) {
  switch (s) {
    case bsSolid: return Qt::SolidPattern;
    case bsHorizontal: return Qt::HorPattern;
    case bsVertical: return Qt::VerPattern;
    case bsFDiagonal: return Qt::FDiagPattern;
    case bsBDiagonal: return Qt::BDiagPattern;
    case bsCross: return Qt::CrossPattern;
    case bsDiagCross: return Qt::DiagCrossPattern;
    case bsClear: break;
  }
  return Qt::NoBrush;
}

bool WithinTwoPixels(const std::vector<QPoint>& points) {
  const auto [minX, maxX] = std::minmax_element(
      points.begin(), points.end(), [](const QPoint& a, const QPoint& b) { return a.x() < b.x(); });
  const auto [minY, maxY] = std::minmax_element(
      points.begin(), points.end(), [](const QPoint& a, const QPoint& b) { return a.y() < b.y(); });
  return int64_t(maxX->x()) - minX->x() <= 1 && int64_t(maxY->y()) - minY->y() <= 1;
}

bool SameFontExceptTurn(const TLogFont& a, const TLogFont& b) {
  return a.Height == b.Height && a.Width == b.Width &&
         a.Weight == b.Weight && a.Italic == b.Italic && a.Underline == b.Underline &&
         a.StrikeOut == b.StrikeOut && a.FaceName == b.FaceName;
}

}  // namespace

TQtCanvas::TQtCanvas(QPainter& painter)
    : painter_(painter),
      base_(painter.transform()),
      vectorDevice_(painter.paintEngine() != nullptr &&
                    painter.paintEngine()->type() != QPaintEngine::Raster) {
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setRenderHint(QPainter::TextAntialiasing, false);
  painter_.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter_.setBackgroundMode(Qt::TransparentMode);  // hatch gaps show what lies below
  painter_.setBrushOrigin(0, 0);
}

TQtCanvas::~TQtCanvas() { Flush(); }

void TQtCanvas::Flush() {
  FlushStrokes();
  UseBaseTransform();  // the painter as it was handed over
}

// ---- Pen and brush ----

void TQtCanvas::SetPenColor(int32_t color) {
  if (color == penColor_) return;
  FlushStrokes();
  penColor_ = color;
  penDirty_ = true;
}

void TQtCanvas::SetPenWidth(int32_t width) {
  if (width == penWidth_) return;
  FlushStrokes();
  penWidth_ = width;
  penDirty_ = true;
}

void TQtCanvas::SetPenStyle(TPenStyle style) {
  if (style == penStyle_) return;
  FlushStrokes();
  penStyle_ = style;
  penDirty_ = true;
}

void TQtCanvas::SetBrushColor(int32_t color) {
  if (color == brushColor_) return;
  brushColor_ = color;
  brushDirty_ = true;
}

void TQtCanvas::SetBrushStyle(TBrushStyle style) {
  if (style == brushStyle_) return;
  brushStyle_ = style;
  brushDirty_ = true;
}

void TQtCanvas::ApplyPen() {
  if (!penDirty_) return;
  // Widths 0 and 1 are both the one-pixel hairline (Qt's cosmetic pen).
  const int width = penWidth_ > 1 ? penWidth_ : 0;
  QPen pen(WindowsColor(penColor_), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  // Dotted pens are a hairline pattern; wider pens draw solid.
  if (penStyle_ == psDot && width == 0) pen.setDashPattern({3.0, 3.0});
  painter_.setPen(pen);
  penDirty_ = false;
  textPenSet_ = false;
}

void TQtCanvas::ApplyDashedPen() {
  // Qt counts dashes and their offset in pen widths; the pen is wider than
  // the hairline here.
  const double width = penWidth_;
  QPen pen(WindowsColor(penColor_), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  QList<qreal> pattern;
  pattern.reserve(qsizetype(batchDashes_.size()));
  for (double d : batchDashes_) pattern.push_back(d / width);
  pen.setDashPattern(pattern);
  pen.setDashOffset(batchPhase_ / width);
  painter_.setPen(pen);
  penDirty_ = true;  // the next solid stroke sets its pen again
  textPenSet_ = false;
}

void TQtCanvas::ApplyBrush() {
  if (!brushDirty_) return;
  painter_.setBrush(QBrush(WindowsColor(brushColor_), QtBrushStyle(brushStyle_)));
  brushDirty_ = false;
  painterBrushClear_ = brushStyle_ == bsClear;
}

// ---- Strokes ----

void TQtCanvas::StrokePath() {
  if (path_.empty()) return;
  if (path_.size() >= 2 && vectorDevice_) {
    // PDF and printers: one path object for many polylines of one pen; each
    // draw call would otherwise write its own graphics state.
    UseBatchDashes({}, 0);
    batch_.moveTo(path_.front());
    for (size_t i = 1; i < path_.size(); ++i) batch_.lineTo(path_[i]);
    batchPoints_ += path_.size();
    if (batchPoints_ >= kMaxBatchPoints) DrawBatch();
  } else if (path_.size() == 2 && penWidth_ > 1 && penWidth_ <= kMaxPixelDot &&
             std::abs(path_[1].x() - path_[0].x()) <= 1 &&
             std::abs(path_[1].y() - path_[0].y()) <= 1) {
    // A wide stroke to a neighbouring pixel is its two end dots (the stroker
    // would spend a microsecond on the round caps of each).
    UseBaseTransform();
    DrawDot(path_[0]);
    DrawDot(path_[1]);
  } else if (path_.size() >= 2) {
    UseBaseTransform();
    ApplyPen();
    painter_.drawPolyline(path_.data(), int(path_.size()));
  } else if (pathHasZeroStroke_ && penWidth_ > 1) {
    DrawBatch();
    UseBaseTransform();
    ApplyPen();
    DrawDot(path_.front());
  }
  path_.clear();
  pathHasZeroStroke_ = false;
}

void TQtCanvas::DrawBatch() {
  if (batchPoints_ == 0) return;
  UseBaseTransform();
  if (batchDashes_.empty()) {
    ApplyPen();
  } else {
    ApplyDashedPen();
  }
  if (!painterBrushClear_) {
    painter_.setBrush(Qt::NoBrush);
    painterBrushClear_ = true;
    brushDirty_ = brushStyle_ != bsClear;
  }
  painter_.drawPath(batch_);
  batch_.clear();
  batchPoints_ = 0;
}

void TQtCanvas::UseBatchDashes(const std::vector<double>& dashes, double phase) {
  if (dashes == batchDashes_ && (dashes.empty() || phase == batchPhase_)) return;
  DrawBatch();
  batchDashes_ = dashes;
  batchPhase_ = phase;
}

void TQtCanvas::DashedPolyline(const TDevicePoint* points, size_t count, const double* dashes,
                               size_t dashCount, double phase) {
  if (points == nullptr || count < 2) return;
  StrokePath();  // solid strokes gathered before come first
  if (!vectorDevice_ || penWidth_ <= 1 || dashes == nullptr || dashCount < 2 || dashCount % 2 != 0 ||
      !std::isfinite(phase)) {
    // Not a pattern this device can take: drawn solid would be wrong, so
    // nothing is drawn (the engine only hands over what DrawsDashes allows).
    return;
  }
  dashScratch_.assign(dashes, dashes + dashCount);
  UseBatchDashes(dashScratch_, phase);
  batch_.moveTo(points[0].x, points[0].y);
  for (size_t i = 1; i < count; ++i) batch_.lineTo(points[i].x, points[i].y);
  batchPoints_ += count;
  if (batchPoints_ >= kMaxBatchPoints) DrawBatch();
}

void TQtCanvas::FlushStrokes() {
  StrokePath();
  DrawBatch();
}

void TQtCanvas::DrawDot(const QPoint& at) {
  // A stroke without length leaves a round dot of the pen's width. Small
  // dots are laid pixel by pixel: aliased ellipses of a few pixels come out
  // square or lopsided. Pixel centres within half the width of the dot's
  // centre are set; an even width centres it between pixels. Pages of
  // vector devices take one ellipse instead of a rectangle per row.
  const int w = penWidth_;
  const QColor colour = WindowsColor(penColor_);
  const double c = w % 2 == 0 ? -0.5 : 0.0;
  const double r2 = double(w) * w / 4.0;
  if (w <= kMaxPixelDot && !vectorDevice_) {
    const int lo = -(w / 2);
    for (int dy = lo; dy < lo + w; ++dy) {
      const double fy = dy - c;
      const double half = std::sqrt(std::max(0.0, r2 - fy * fy));
      const int left = int(std::ceil(c - half - 1e-9));
      const int right = int(std::floor(c + half + 1e-9));
      if (right >= left)
        painter_.fillRect(QRect(at.x() + left, at.y() + dy, right - left + 1, 1), colour);
    }
    return;
  }
  painter_.setPen(Qt::NoPen);
  painter_.setBrush(colour);
  textPenSet_ = false;
  painter_.drawEllipse(QRectF(at.x() + 0.5 + c - w / 2.0, at.y() + 0.5 + c - w / 2.0, w, w));
  penDirty_ = brushDirty_ = true;
  painterBrushClear_ = false;
}

void TQtCanvas::MoveTo(int32_t x, int32_t y) {
  const QPoint p(x, y);
  // A move to where the gathered polyline ends lets the next stroke continue it.
  if (!path_.empty() && path_.back() != p) StrokePath();
  current_ = p;
}

void TQtCanvas::LineTo(int32_t x, int32_t y) {
  const QPoint p(x, y);
  if (p == current_) {
    // Nothing to see at hairline widths; a dot at wider ones.
    if (penWidth_ > 1) {
      if (!path_.empty() && path_.back() != p) StrokePath();
      if (path_.empty()) path_.push_back(p);
      pathHasZeroStroke_ = true;
    }
    return;
  }
  if (path_.empty() || path_.back() != current_) {
    StrokePath();
    path_.push_back(current_);
  }
  path_.push_back(p);
  current_ = p;
  if (path_.size() >= kMaxPathPoints) StrokePath();
}

void TQtCanvas::Polyline(const TDevicePoint* points, size_t count) {
  if (count == 0 || points == nullptr) return;
  const QPoint first(points[0].x, points[0].y);
  if (path_.empty() || path_.back() != first) {
    StrokePath();
    path_.push_back(first);
  }
  // A polyline leaves the current point where it was.
  for (size_t i = 1; i < count; ++i) {
    const QPoint p(points[i].x, points[i].y);
    if (p == path_.back()) {
      pathHasZeroStroke_ = true;
      continue;
    }
    path_.push_back(p);
    if (path_.size() >= kMaxPathPoints) {
      StrokePath();
      path_.push_back(p);
    }
  }
  if (count == 1) StrokePath();  // a single point is no stroke
}

void TQtCanvas::Polygon(const TDevicePoint* points, size_t count) {
  FlushStrokes();
  if (count == 0 || points == nullptr) return;
  // Curves come as 72 points whatever their size: at thumbnail scale most of
  // them repeat the point before, which adds nothing to fill or outline.
  std::vector<QPoint>& corners = corners_;
  corners.clear();
  for (size_t i = 0; i < count; ++i) {
    const QPoint p(points[i].x, points[i].y);
    if (corners.empty() || corners.back() != p) corners.push_back(p);
  }
  while (corners.size() > 2 && corners.back() == corners.front()) corners.pop_back();
  if (corners.size() == 1 && count > 1) corners.push_back(corners.front());
  UseBaseTransform();
  ApplyPen();
  if (!vectorDevice_ && penWidth_ <= 1 && penStyle_ == psSolid && WithinTwoPixels(corners)) {
    // Within a 2 × 2 block the hairline outline covers every corner and
    // leaves no inside to fill: the corners are the whole polygon.
    painter_.drawPoints(corners.data(), int(corners.size()));
    return;
  }
  ApplyBrush();
  painter_.drawPolygon(corners.data(), int(corners.size()), Qt::OddEvenFill);
}

// ---- Text ----

void TQtCanvas::SetFont(const TLogFont& font) {
  const bool same = SameFontExceptTurn(font, logFont_);
  logFont_ = font;
  if (same && font_ != nullptr) return;
  font_ = nullptr;
  fontOnPainter_ = false;
}

void TQtCanvas::SetFontColor(int32_t color) { fontColor_ = WindowsColor(color); }

const QString& TQtCanvas::Decode(const std::string& sjis) {
  // Texts arrive a character at a time; converting each afresh costs more
  // than drawing it.
  const auto found = decoded_.find(sjis);
  if (found != decoded_.end()) return found->second;
  if (decoded_.size() >= kMaxDecodedTexts) decoded_.clear();
  return decoded_.emplace(sjis, QString::fromStdString(SjisToUtf8(sjis))).first->second;
}

void TQtCanvas::TextOut(int32_t x, int32_t y, const std::string& text) {
  FlushStrokes();
  if (text.empty() || logFont_.Height == 0) return;
  if (font_ == nullptr) {
    FlushGlyphs();  // the font cache may drop the fonts of the gathered run
    font_ = &fonts_.Get(logFont_, painter_.device());
  }
  // On PDF pages and printers characters gather into glyph runs.
  const bool batchable = vectorDevice_ && font_->plain && !font_->sideways && brushStyle_ != bsSolid;
  if (batchable &&
      glyphs_.Add(*font_, logFont_.Escapement, fontColor_, x, y, Decode(text)))
    return;
  FlushGlyphs();
  if (batchable && glyphs_.Add(*font_, logFont_.Escapement, fontColor_, x, y, Decode(text)))
    return;
  painter_.setTransform(TextPlacement(x, y, logFont_.Escapement) * base_);
  if (!fontOnPainter_) {
    painter_.setFont(font_->font);
    fontOnPainter_ = true;
  }
  if (!font_->sideways) {
    const QString& unicode = Decode(text);
    DrawUprightText(unicode);
  } else {
    // Each character in turn: two-byte ones on their side, one-byte ones upright.
    double total = 0;
    std::vector<std::pair<QString, bool>> pieces;
    for (size_t i = 0; i < text.size();) {
      const bool twoByte = IsSjisLeadByte(uint8_t(text[i])) && i + 1 < text.size();
      const size_t n = twoByte ? 2 : 1;
      pieces.emplace_back(Decode(text.substr(i, n)), twoByte);
      total += font_->metrics.horizontalAdvance(pieces.back().first);
      i += n;
    }
    if (brushStyle_ == bsSolid)
      painter_.fillRect(QRectF(0, 0, total, font_->cellHeight), WindowsColor(brushColor_));
    UseFontColour();
    for (const auto& [piece, twoByte] : pieces) {
      const double advance = font_->metrics.horizontalAdvance(piece);
      if (twoByte) {
        DrawSidewaysPiece(piece, advance);
      } else {
        painter_.drawText(QPointF(0, font_->ascent), piece);
      }
      painter_.translate(advance, 0);
    }
  }
  // The turn stays on the painter until a stroke needs the plain origin:
  // switching back and forth costs Qt its glyph placement caches.
  turned_ = true;
}

void TQtCanvas::FlushGlyphs() {
  if (glyphs_.Empty()) return;
  glyphs_.Draw(painter_, base_);
  turned_ = true;
  textPenSet_ = false;
  penDirty_ = true;
}

void TQtCanvas::UseBaseTransform() {
  FlushGlyphs();  // texts gathered before come first
  if (!turned_) return;
  painter_.setTransform(base_);
  turned_ = false;
}

void TQtCanvas::UseFontColour() {
  if (textPenSet_ && textPenColour_ == fontColor_) return;
  painter_.setPen(fontColor_);
  textPenColour_ = fontColor_;
  textPenSet_ = true;
  penDirty_ = true;  // the next stroke sets its pen again
}

void TQtCanvas::DrawUprightText(const QString& text) {
  // An opaque label: the brush fills the whole cell behind the glyphs. (The
  // advance costs a second layout of the text: only asked for here.)
  if (brushStyle_ == bsSolid) {
    const double cellWidth = font_->metrics.horizontalAdvance(text);
    painter_.fillRect(QRectF(0, 0, cellWidth, font_->cellHeight), WindowsColor(brushColor_));
  }
  UseFontColour();
  painter_.drawText(QPointF(0, font_->ascent), text);
}

void TQtCanvas::DrawSidewaysPiece(const QString& piece, double cellWidth) {
  if (cellWidth <= 0 || font_->em <= 0) return;
  // Turned a quarter counter-clockwise about the centre of the cell (advance
  // by em) and scaled so the glyph's own width becomes the font height and
  // its own height the cell width: the turned glyph fills the cell.
  const double h = font_->em;
  const QTransform saved = painter_.transform();
  painter_.translate(cellWidth / 2, h / 2);
  painter_.rotate(-90);
  painter_.scale(h / cellWidth, cellWidth / h);
  painter_.drawText(QPointF(-cellWidth / 2, -h / 2 + font_->ascent), piece);
  painter_.setTransform(saved);
}

// ---- Images ----

std::unique_ptr<TCanvasImage> TQtCanvas::LoadImage(const std::string& nativePath) {
  return images_.Load(nativePath);
}

void TQtCanvas::DrawImage(const TCanvasImage& image, const TDeviceRect& destination,
                          const TDeviceRect& source, double angleDegrees, int32_t pivotX,
                          int32_t pivotY) {
  FlushStrokes();
  FlushGlyphs();
  const auto* qtImage = dynamic_cast<const TQtCanvasImage*>(&image);
  if (qtImage == nullptr || !std::isfinite(angleDegrees)) return;
  if (destination.Width <= 0 || destination.Height <= 0) return;
  if (source.Width <= 0 || source.Height <= 0) return;
  painter_.setTransform(base_);
  turned_ = false;
  if (angleDegrees != 0) {
    painter_.translate(pivotX, pivotY);
    painter_.rotate(-angleDegrees);  // counter-clockwise on the page
    painter_.translate(-pivotX, -pivotY);
  }
  painter_.setRenderHint(QPainter::SmoothPixmapTransform, true);  // bilinear
  qtImage->Paint(painter_,
                 QRectF(destination.Left, destination.Top, destination.Width, destination.Height),
                 QRectF(source.Left, source.Top, source.Width, source.Height));
  painter_.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter_.setTransform(base_);
  turned_ = false;
  // A metafile player may have changed pen, brush and font.
  penDirty_ = brushDirty_ = true;
  painterBrushClear_ = false;
  textPenSet_ = fontOnPainter_ = false;
}
