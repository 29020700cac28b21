// EMF shapes: poly-shapes, rectangles, ellipses, arcs, chords and pies,
// mapped to picture pixels and drawn, or collected into the open path.
#include <cmath>
#include <cstring>
#include <numbers>

#include "emf_records.h"
#include "metafile_geometry.h"

namespace emf_detail {

TMetaPen TEmfPlayer::PicturePen(const TXform& m) const {
  TMetaPen pen;
  pen.Style = dc_.Pen.Style;
  pen.Color = dc_.Pen.Color;
  pen.Cap = dc_.Pen.Cap;
  pen.Join = dc_.Pen.Join;
  const double w = dc_.Pen.Cosmetic ? 0 : dc_.Pen.Width * std::sqrt(std::abs(m.Determinant()));
  pen.Width = std::isfinite(w) ? std::min(w, 1e5) : 0;
  return pen;
}

TMetaBrush TEmfPlayer::PictureBrush() const {
  TMetaBrush b;
  b.Style = dc_.Brush.Style;
  b.Color = dc_.Brush.Color;
  b.Hatch = dc_.Brush.Hatch;
  b.Pattern = dc_.Brush.Pattern;
  b.OpaqueBackground = dc_.OpaqueBackground;
  b.Background = dc_.BackColor;
  return b;
}

void TEmfPlayer::Draw(std::vector<TMetaFigure> figures, bool fill, bool stroke) {
  const TXform m = Map();
  TMetaShape shape;
  for (TMetaFigure& f : figures) {
    bool usable = !f.Points.empty();
    for (TMetaPoint& p : f.Points) {
      p = m.Apply(p.X, p.Y);
      if (!(std::abs(p.X) <= kMaxCoordinate && std::abs(p.Y) <= kMaxCoordinate)) usable = false;
    }
    if (usable) shape.Figures.push_back(std::move(f));
  }
  if (shape.Figures.empty()) return;
  if (inPath_) {
    size_t points = 0;
    for (const TMetaFigure& f : shape.Figures) points += f.Points.size();
    if (!PathHasRoomFor(shape.Figures.size(), points)) return;
    for (TMetaFigure& f : shape.Figures) path_.push_back(std::move(f));
    newFigure_ = true;
    return;
  }
  shape.Fill = fill;
  shape.Stroke = stroke;
  shape.Winding = dc_.Winding;
  SyncClip();
  sink_.Shape(shape, PicturePen(m), PictureBrush());
}

bool TEmfPlayer::PathHasRoomFor(size_t figures, size_t points) {
  return Charge(pathCharge_, figures * sizeof(TMetaFigure) + points * sizeof(TMetaPoint));
}

bool TEmfPlayer::Charge(TRoomCharge& charge, size_t bytes) {
  if (outOfRoom_ || !charge.Add(bytes)) outOfRoom_ = true;
  return !outOfRoom_;
}

std::vector<TMetaFigure> TEmfPlayer::TakePath() {
  std::vector<TMetaFigure> figures = std::move(path_);
  path_.clear();
  pathCharge_.Clear();
  return figures;
}

void TEmfPlayer::DrawPath(bool fill, bool stroke) {
  TMetaShape shape;
  shape.Figures = TakePath();
  shape.Fill = fill;
  shape.Stroke = stroke;
  shape.Winding = dc_.Winding;
  if (shape.Figures.empty()) return;
  SyncClip();
  sink_.Shape(shape, PicturePen(Map()), PictureBrush());
}

void TEmfPlayer::FillRect(TMetaPoint a, TMetaPoint b, TMetaColor color) {
  const TEmfBrush keep = dc_.Brush;
  dc_.Brush = TEmfBrush{TMetaBrushStyle::Solid, color, TMetaHatch::Horizontal, nullptr, nullptr};
  const bool wasInPath = inPath_;
  inPath_ = false;
  Draw({TMetaFigure{{a, {b.X, a.Y}, b, {a.X, b.Y}}, true}}, true, false);
  inPath_ = wasInPath;
  dc_.Brush = keep;
}

// A stroke from the current position; inside a path it continues the
// figure the last move started.
void TEmfPlayer::Line(TMetaPoint to) {
  const TMetaPoint from = dc_.Position;
  dc_.Position = to;
  if (inPath_) {
    const TMetaPoint a = Map().Apply(from.X, from.Y), b = Map().Apply(to.X, to.Y);
    const bool start = newFigure_ || path_.empty() || path_.back().Closed;
    if (!PathHasRoomFor(start ? 1 : 0, start ? 2 : 1)) return;
    if (start) path_.push_back(TMetaFigure{{a}, false});
    newFigure_ = false;
    path_.back().Points.push_back(b);
    return;
  }
  Draw({TMetaFigure{{from, to}, false}}, false, true);
}

void TEmfPlayer::LinesTo(const std::vector<TMetaPoint>& points) {
  if (points.empty()) return;
  if (inPath_) {
    for (const TMetaPoint& p : points) Line(p);
    return;
  }
  TMetaFigure figure{{dc_.Position}, false};
  figure.Points.insert(figure.Points.end(), points.begin(), points.end());
  dc_.Position = points.back();
  Draw({std::move(figure)}, false, true);
}

void TEmfPlayer::PolyRecord(uint32_t type, ByteReader& r, bool small) {
  r.Skip(16);  // bounds
  const uint32_t count = r.U32();
  std::vector<TMetaPoint> points = ReadPoints(r, count, small);
  if (points.empty()) return;
  const uint32_t base = small ? type - U_EMR_POLYBEZIER16 + U_EMR_POLYBEZIER : type;
  const bool bezier = base == U_EMR_POLYBEZIER || base == U_EMR_POLYBEZIERTO;
  const bool to = base == U_EMR_POLYLINETO || base == U_EMR_POLYBEZIERTO;
  if (to) points.insert(points.begin(), dc_.Position);
  std::vector<TMetaPoint> line;
  // Each curve becomes 16 points: the room is asked for before they are made.
  const size_t curvePoints = (points.size() / 3 + 1) * 16;
  if (bezier && !sink_.HasRoomFor(curvePoints * sizeof(TMetaPoint))) {
    outOfRoom_ = outOfRoom_ || inPath_;
    return;
  }
  if (bezier) {
    line.push_back(points[0]);
    for (size_t i = 1; i + 2 < points.size(); i += 3) AppendBezier(line, points[i - 1], points[i], points[i + 1], points[i + 2]);
  } else {
    line = points;
  }
  if (to) {
    line.erase(line.begin());  // the current position
    LinesTo(line);
    return;
  }
  const bool polygon = base == U_EMR_POLYGON;
  Draw({TMetaFigure{std::move(line), polygon}}, polygon, true);
}

void TEmfPlayer::PolyPolyRecord(ByteReader& r, bool fill, bool small) {
  r.Skip(16);
  const uint32_t polys = r.U32();
  const uint32_t total = r.U32();
  r.Require(size_t{polys} * 4 + size_t{total} * (small ? 4 : 8));
  std::vector<uint32_t> counts(polys);
  uint64_t sum = 0;
  for (uint32_t& c : counts) sum += (c = r.U32());
  if (sum != total) return;
  std::vector<TMetaFigure> figures;
  for (uint32_t c : counts) figures.push_back(TMetaFigure{ReadPoints(r, c, small), fill});
  Draw(std::move(figures), fill, true);
}

void TEmfPlayer::ShapeRecord(uint32_t type, ByteReader& r) {
  switch (type) {
    case U_EMR_ELLIPSE: case U_EMR_RECTANGLE: case U_EMR_ROUNDRECT: {
      const TMetaPoint a = Corner(r), b = Corner(r);
      TMetaFigure figure{{}, true};
      if (type == U_EMR_RECTANGLE) {
        figure.Points = {a, {b.X, a.Y}, b, {a.X, b.Y}};
      } else if (type == U_EMR_ELLIPSE) {
        figure = ArcFigure(a.X, a.Y, b.X, b.Y, {b.X, (a.Y + b.Y) / 2}, {b.X, (a.Y + b.Y) / 2}, TArcKind::Chord, true,
                           PixelsPerUnit());
      } else {
        const TMetaPoint corner = Corner(r);
        figure = RoundRectFigure(a.X, a.Y, b.X, b.Y, corner.X, corner.Y, PixelsPerUnit());
      }
      Draw({std::move(figure)}, true, true);
      break;
    }
    case U_EMR_ARC: case U_EMR_ARCTO: case U_EMR_CHORD: case U_EMR_PIE: {
      const TMetaPoint a = Corner(r), b = Corner(r), start = Corner(r), end = Corner(r);
      const TArcKind kind = type == U_EMR_CHORD ? TArcKind::Chord : type == U_EMR_PIE ? TArcKind::Pie : TArcKind::Arc;
      TMetaFigure figure = ArcFigure(a.X, a.Y, b.X, b.Y, start, end, kind, ArcDecreasing(), PixelsPerUnit());
      if (figure.Points.empty()) break;
      if (type == U_EMR_ARCTO) {
        LinesTo(figure.Points);
        break;
      }
      Draw({std::move(figure)}, kind != TArcKind::Arc, true);
      break;
    }
    case U_EMR_ANGLEARC: {
      const TMetaPoint c = Corner(r);
      const double radius = r.U32();
      const double start = ReadFloat(r), sweep = ReadFloat(r);
      if (!std::isfinite(start) || !std::isfinite(sweep) || std::abs(sweep) > 3600) break;
      std::vector<TMetaPoint> points;
      const double ry = Map().Determinant() > 0 ? -radius : radius;  // counter-clockwise on the page
      const double deg = std::numbers::pi / 180;
      AppendEllipseArc(points, c.X, c.Y, radius, ry, start * deg, sweep * deg, PixelsPerUnit());
      LinesTo(points);
      break;
    }
    default: break;
  }
}

}  // namespace emf_detail
