#include "qt_metafile_sink.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "qt_font_faces.h"

namespace {

QColor ToQColor(const TMetaColor& c) { return QColor(c.R, c.G, c.B); }

Qt::BrushStyle HatchPattern(TMetaHatch h) {
  switch (h) {
    case TMetaHatch::Horizontal: return Qt::HorPattern;
    case TMetaHatch::Vertical: return Qt::VerPattern;
    case TMetaHatch::FDiagonal: return Qt::FDiagPattern;
    case TMetaHatch::BDiagonal: return Qt::BDiagPattern;
    case TMetaHatch::Cross: return Qt::CrossPattern;
    case TMetaHatch::DiagCross: return Qt::DiagCrossPattern;
  }
  return Qt::HorPattern;
}

QPen ToQPen(const TMetaPen& p) {
  if (p.Style == TMetaPenStyle::Null) return QPen(Qt::NoPen);
  QPen pen(ToQColor(p.Color));
  pen.setWidthF(p.Width);  // 0: Qt's one-pixel cosmetic pen
  switch (p.Style) {
    case TMetaPenStyle::Dash: pen.setStyle(Qt::DashLine); break;
    case TMetaPenStyle::Dot: pen.setStyle(Qt::DotLine); break;
    case TMetaPenStyle::DashDot: pen.setStyle(Qt::DashDotLine); break;
    case TMetaPenStyle::DashDotDot: pen.setStyle(Qt::DashDotDotLine); break;
    default: break;
  }
  pen.setCapStyle(p.Cap == TMetaCap::Square ? Qt::SquareCap : p.Cap == TMetaCap::Flat ? Qt::FlatCap : Qt::RoundCap);
  pen.setJoinStyle(p.Join == TMetaJoin::Bevel  ? Qt::BevelJoin
                   : p.Join == TMetaJoin::Miter ? Qt::MiterJoin
                                                : Qt::RoundJoin);
  return pen;
}

}  // namespace

void TQtMetafileSink::Shape(const TMetaShape& shape, const TMetaPen& pen, const TMetaBrush& brush) {
  QPainterPath path;
  path.setFillRule(shape.Winding ? Qt::WindingFill : Qt::OddEvenFill);
  for (const TMetaFigure& f : shape.Figures) {
    if (f.Points.empty()) continue;
    path.moveTo(f.Points[0].X, f.Points[0].Y);
    for (size_t i = 1; i < f.Points.size(); ++i) path.lineTo(f.Points[i].X, f.Points[i].Y);
    if (f.Closed) path.closeSubpath();
  }
  if (shape.Fill && brush.Style != TMetaBrushStyle::Null) {
    if (brush.Style == TMetaBrushStyle::Solid) {
      painter_.fillPath(path, ToQColor(brush.Color));
    } else if (brush.Style == TMetaBrushStyle::Pattern) {
      if (brush.Pattern && !brush.Pattern->Argb.empty()) {
        const TMetaPixels& px = *brush.Pattern;
        QBrush tiles(QImage(reinterpret_cast<const uchar*>(px.Argb.data()), px.Width, px.Height, px.Width * 4,
                            QImage::Format_ARGB32)
                         .copy());
        tiles.setTransform(painter_.worldTransform().inverted());  // tiles on device pixels, like hatches
        painter_.fillPath(path, tiles);
      }
    } else {
      if (brush.OpaqueBackground) painter_.fillPath(path, ToQColor(brush.Background));
      QBrush hatch(ToQColor(brush.Color), HatchPattern(brush.Hatch));
      // Undo the painter's scaling so the pattern stays on device pixels.
      hatch.setTransform(painter_.worldTransform().inverted());
      painter_.fillPath(path, hatch);
    }
  }
  if (shape.Stroke && pen.Style != TMetaPenStyle::Null) painter_.strokePath(path, ToQPen(pen));
}

void TQtMetafileSink::Text(const TMetaText& text) {
  QFont font;
  // Windows' Japanese faces become their IPA twins, as on the canvas; a
  // sideways "@" face is drawn upright.
  QString face = QString::fromStdString(text.Font.Face);
  if (face.startsWith(QLatin1Char('@'))) face.remove(0, 1);
  font.setFamilies({FontFamilyForFace(face)});
  font.setStyleStrategy(QFont::NoAntialias);
  font.setWeight(static_cast<QFont::Weight>(std::clamp(text.Font.Weight == 0 ? 400 : text.Font.Weight, 1, 1000)));
  font.setItalic(text.Font.Italic);
  font.setUnderline(text.Font.Underline);
  font.setStrikeOut(text.Font.StrikeOut);
  double em = text.Font.Height;
  if (text.Font.CellHeight) {
    font.setPixelSize(100);
    const QFontMetricsF probe(font);
    const double cell = probe.ascent() + probe.descent();
    if (cell > 0) em = em * 100 / cell;
  }
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(std::clamp(em, 1.0, 1e6)))));
  if (text.Font.Width > 0 && em > 0) {
    font.setStretch(std::clamp(static_cast<int>(std::lround(200 * text.Font.Width / em)), 1, 4000));
  }
  const QString s = QString::fromStdString(text.Utf8);
  const QFontMetricsF fm(font);
  const double width = fm.horizontalAdvance(s);
  double x = 0, y = 0;  // left end of the baseline, relative to the origin
  if (text.HAlign == TMetaHAlign::Center) x = -width / 2;
  if (text.HAlign == TMetaHAlign::Right) x = -width;
  if (text.VAlign == TMetaVAlign::Top) y = fm.ascent();
  if (text.VAlign == TMetaVAlign::Bottom) y = -fm.descent();

  const TPainterStateKeeper keep(painter_);
  painter_.translate(text.Origin.X, text.Origin.Y);
  painter_.rotate(-text.Font.EscapementDegrees);
  if (text.OpaqueBackground) {
    painter_.fillRect(QRectF(x, y - fm.ascent(), width, fm.ascent() + fm.descent()), ToQColor(text.Background));
  }
  painter_.setFont(font);
  painter_.setPen(ToQColor(text.Color));
  painter_.drawText(QPointF(x, y), s);
}

void TQtMetafileSink::Image(const TMetaImage& image) {
  if (!image.Pixels || image.Pixels->Argb.empty()) return;
  const TMetaPixels& px = *image.Pixels;
  const QImage q(reinterpret_cast<const uchar*>(px.Argb.data()), px.Width, px.Height, px.Width * 4,
                 QImage::Format_ARGB32);
  // The unit square onto the parallelogram, the source rectangle into it.
  const QTransform onto(image.TopRight.X - image.TopLeft.X, image.TopRight.Y - image.TopLeft.Y,
                        image.BottomLeft.X - image.TopLeft.X, image.BottomLeft.Y - image.TopLeft.Y, image.TopLeft.X,
                        image.TopLeft.Y);
  if (!onto.isInvertible()) return;
  const QRectF source(image.SourceX, image.SourceY, image.SourceWidth, image.SourceHeight);
  const QRectF inside = source.normalized().intersected(QRectF(0, 0, px.Width, px.Height));
  if (inside.isEmpty() || source.width() == 0 || source.height() == 0) return;
  const TPainterStateKeeper keep(painter_);
  painter_.setTransform(onto, true);
  // Only the part of the source inside the bitmap is drawn.
  const QRectF unit((inside.x() - source.x()) / source.width(), (inside.y() - source.y()) / source.height(),
                    inside.width() / source.width(), inside.height() / source.height());
  painter_.setRenderHint(QPainter::SmoothPixmapTransform, true);
  painter_.drawImage(unit, q, inside);
}

void TQtMetafileSink::Clip(const TMetaClip& clip) {
  if (hasBaseClip_) {
    painter_.setClipPath(baseClip_);
  } else {
    painter_.setClipping(false);
  }
  if (clip.empty()) return;
  // Intersected rectangles alone (the common clip) need no area operations.
  QRectF box(QPointF(-1e8, -1e8), QPointF(1e8, 1e8));
  bool rectangles = true;
  for (const TMetaClipStep& step : clip) {
    const bool axisBox = step.Figures.size() == 1 && step.Figures[0].Points.size() == 4 &&
                         step.Figures[0].Points[0].Y == step.Figures[0].Points[1].Y &&
                         step.Figures[0].Points[1].X == step.Figures[0].Points[2].X &&
                         step.Figures[0].Points[2].Y == step.Figures[0].Points[3].Y &&
                         step.Figures[0].Points[3].X == step.Figures[0].Points[0].X;
    if (step.Exclude || !axisBox) {
      rectangles = false;
      break;
    }
    const auto& p = step.Figures[0].Points;
    box = box.intersected(QRectF(QPointF(p[0].X, p[0].Y), QPointF(p[2].X, p[2].Y)).normalized());
  }
  if (rectangles) {
    painter_.setClipRect(box, hasBaseClip_ ? Qt::IntersectClip : Qt::ReplaceClip);
    return;
  }
  constexpr double kPlane = 1e8;  // beyond any picture's coordinates
  QPainterPath kept;
  kept.addRect(-kPlane, -kPlane, 2 * kPlane, 2 * kPlane);
  for (const TMetaClipStep& step : clip) {
    QPainterPath area;
    area.setFillRule(Qt::WindingFill);
    for (const TMetaFigure& f : step.Figures) {
      QPolygonF polygon;
      for (const TMetaPoint& p : f.Points) polygon << QPointF(p.X, p.Y);
      area.addPolygon(polygon);
      area.closeSubpath();
    }
    kept = step.Exclude ? kept.subtracted(area) : kept.intersected(area);
  }
  painter_.setClipPath(kept, hasBaseClip_ ? Qt::IntersectClip : Qt::ReplaceClip);
}
