#include "qt_canvas.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "func.h"
#include "qt_canvas_image.h"
#include "qt_font_faces.h"
#include "qt_image_loader.h"
#include "sjis.h"

namespace {

// A polyline is drawn once it holds this many points, so memory stays flat.
constexpr size_t kMaxPathPoints = 8192;
// Glyphs beyond this many pixels would only exhaust the glyph caches.
constexpr int kMaxFontPixels = 16384;
// Dots up to this width are set pixel by pixel.
constexpr int kMaxPixelDot = 64;

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

bool SameFont(const TLogFont& a, const TLogFont& b) {
  return a.Height == b.Height && a.Width == b.Width && a.Escapement == b.Escapement &&
         a.Weight == b.Weight && a.Italic == b.Italic && a.Underline == b.Underline &&
         a.StrikeOut == b.StrikeOut && a.FaceName == b.FaceName;
}

}  // namespace

TQtCanvas::TQtCanvas(QPainter& painter) : painter_(painter), base_(painter.transform()) {
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setRenderHint(QPainter::TextAntialiasing, false);
  painter_.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter_.setBackgroundMode(Qt::TransparentMode);  // hatch gaps show what lies below
  painter_.setBrushOrigin(0, 0);
}

TQtCanvas::~TQtCanvas() { Flush(); }

void TQtCanvas::Flush() { StrokePath(); }

// ---- Pen and brush ----

void TQtCanvas::SetPenColor(int32_t color) {
  if (color == penColor_) return;
  StrokePath();
  penColor_ = color;
  penDirty_ = true;
}

void TQtCanvas::SetPenWidth(int32_t width) {
  if (width == penWidth_) return;
  StrokePath();
  penWidth_ = width;
  penDirty_ = true;
}

void TQtCanvas::SetPenStyle(TPenStyle style) {
  if (style == penStyle_) return;
  StrokePath();
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
}

void TQtCanvas::ApplyBrush() {
  if (!brushDirty_) return;
  painter_.setBrush(QBrush(WindowsColor(brushColor_), QtBrushStyle(brushStyle_)));
  brushDirty_ = false;
}

// ---- Strokes ----

void TQtCanvas::StrokePath() {
  if (path_.empty()) return;
  ApplyPen();
  if (path_.size() >= 2) {
    painter_.drawPolyline(path_.data(), int(path_.size()));
  } else if (pathHasZeroStroke_ && penWidth_ > 1) {
    DrawDot(path_.front());
  }
  path_.clear();
  pathHasZeroStroke_ = false;
}

void TQtCanvas::DrawDot(const QPoint& at) {
  // A stroke without length leaves a round dot of the pen's width. Small
  // dots are laid pixel by pixel: aliased ellipses of a few pixels come out
  // square or lopsided. Pixel centres within half the width of the dot's
  // centre are set; an even width centres it between pixels.
  const int w = penWidth_;
  const QColor colour = WindowsColor(penColor_);
  const double c = w % 2 == 0 ? -0.5 : 0.0;
  const double r2 = double(w) * w / 4.0;
  if (w <= kMaxPixelDot) {
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
  painter_.drawEllipse(QRectF(at.x() + 0.5 + c - w / 2.0, at.y() + 0.5 + c - w / 2.0, w, w));
  penDirty_ = brushDirty_ = true;
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
  StrokePath();
  if (count == 0 || points == nullptr) return;
  std::vector<QPoint> corners;
  corners.reserve(count);
  for (size_t i = 0; i < count; ++i) corners.emplace_back(points[i].x, points[i].y);
  ApplyPen();
  ApplyBrush();
  painter_.drawPolygon(corners.data(), int(corners.size()), Qt::OddEvenFill);
}

// ---- Text ----

void TQtCanvas::SetFont(const TLogFont& font) {
  if (!fontDirty_ && SameFont(font, logFont_)) return;
  logFont_ = font;
  fontDirty_ = true;
}

void TQtCanvas::SetFontColor(int32_t color) { fontColor_ = WindowsColor(color); }

void TQtCanvas::PrepareFont() {
  if (!fontDirty_) return;
  fontDirty_ = false;
  std::string face = logFont_.FaceName;
  // One "@" asks for the vertical variant: two-byte characters lie on their side.
  sideways_ = !face.empty() && face[0] == '@' && (face.size() < 2 || face[1] != '@');
  if (sideways_) face.erase(0, 1);

  font_ = QFont();
  font_.setFamilies({FontFamilyForFace(QString::fromStdString(SjisToUtf8(face)))});
  const int64_t height = std::llabs(int64_t(logFont_.Height));
  font_.setPixelSize(int(std::clamp<int64_t>(height, 1, kMaxFontPixels)));
  // The logical width is the average character width, half the em of a
  // full-width face: stretch by twice width over height.
  if (logFont_.Width != 0 && height > 0) {
    const double stretch = 200.0 * std::fabs(double(logFont_.Width)) / double(height);
    font_.setStretch(int(std::clamp(std::lround(stretch), 1L, 4000L)));
  }
  font_.setWeight(QFont::Weight(std::clamp(logFont_.Weight <= 0 ? 400 : logFont_.Weight, 1, 1000)));
  font_.setItalic(logFont_.Italic);
  font_.setUnderline(logFont_.Underline);
  font_.setStrikeOut(logFont_.StrikeOut);
  font_.setKerning(false);
  // The render hint alone leaves grey edges on glyphs.
  font_.setStyleStrategy(QFont::NoAntialias);
  const QFontMetricsF metrics(font_, painter_.device());
  fontAscent_ = int(std::lround(metrics.ascent()));
  fontCellHeight_ = int(std::lround(metrics.ascent() + metrics.descent()));
  fontEm_ = font_.pixelSize();
}

void TQtCanvas::TextOut(int32_t x, int32_t y, const std::string& text) {
  StrokePath();
  if (text.empty() || logFont_.Height == 0) return;
  PrepareFont();
  painter_.setTransform(base_);
  painter_.translate(x, y);
  // Escapement: tenths of a degree counter-clockwise on the page (y points down).
  painter_.rotate(-double(logFont_.Escapement) / 10.0);
  painter_.setFont(font_);
  const QString unicode = QString::fromStdString(SjisToUtf8(text));
  if (!sideways_) {
    DrawUprightText(unicode, QFontMetricsF(font_, painter_.device()).horizontalAdvance(unicode));
  } else {
    // Each character in turn: two-byte ones on their side, one-byte ones upright.
    const QFontMetricsF metrics(font_, painter_.device());
    double total = 0;
    std::vector<std::pair<QString, bool>> pieces;
    for (size_t i = 0; i < text.size();) {
      const bool twoByte = IsSjisLeadByte(uint8_t(text[i])) && i + 1 < text.size();
      const size_t n = twoByte ? 2 : 1;
      pieces.emplace_back(QString::fromStdString(SjisToUtf8(text.substr(i, n))), twoByte);
      total += metrics.horizontalAdvance(pieces.back().first);
      i += n;
    }
    if (brushStyle_ == bsSolid)
      painter_.fillRect(QRectF(0, 0, total, fontCellHeight_), WindowsColor(brushColor_));
    painter_.setPen(fontColor_);
    for (const auto& [piece, twoByte] : pieces) {
      const double advance = metrics.horizontalAdvance(piece);
      if (twoByte) {
        DrawSidewaysPiece(piece, advance);
      } else {
        painter_.drawText(QPointF(0, fontAscent_), piece);
      }
      painter_.translate(advance, 0);
    }
  }
  painter_.setTransform(base_);
  penDirty_ = true;  // the text colour replaced the pen
}

void TQtCanvas::DrawUprightText(const QString& text, double cellWidth) {
  // An opaque label: the brush fills the whole cell behind the glyphs.
  if (brushStyle_ == bsSolid)
    painter_.fillRect(QRectF(0, 0, cellWidth, fontCellHeight_), WindowsColor(brushColor_));
  painter_.setPen(fontColor_);
  painter_.drawText(QPointF(0, fontAscent_), text);
}

void TQtCanvas::DrawSidewaysPiece(const QString& piece, double cellWidth) {
  if (cellWidth <= 0 || fontEm_ <= 0) return;
  // Turned a quarter counter-clockwise about the centre of the cell (advance
  // by em) and scaled so the glyph's own width becomes the font height and
  // its own height the cell width: the turned glyph fills the cell.
  const double h = fontEm_;
  const QTransform saved = painter_.transform();
  painter_.translate(cellWidth / 2, h / 2);
  painter_.rotate(-90);
  painter_.scale(h / cellWidth, cellWidth / h);
  painter_.drawText(QPointF(-cellWidth / 2, -h / 2 + fontAscent_), piece);
  painter_.setTransform(saved);
}

// ---- Images ----

std::unique_ptr<TCanvasImage> TQtCanvas::LoadImage(const std::string& nativePath) {
  return LoadCanvasImageFile(nativePath);
}

void TQtCanvas::DrawImage(const TCanvasImage& image, const TDeviceRect& destination,
                          const TDeviceRect& source, double angleDegrees, int32_t pivotX,
                          int32_t pivotY) {
  StrokePath();
  const auto* qtImage = dynamic_cast<const TQtCanvasImage*>(&image);
  if (qtImage == nullptr || !std::isfinite(angleDegrees)) return;
  if (destination.Width <= 0 || destination.Height <= 0) return;
  if (source.Width <= 0 || source.Height <= 0) return;
  painter_.setTransform(base_);
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
  // A metafile player may have changed pen and brush.
  penDirty_ = brushDirty_ = true;
}
