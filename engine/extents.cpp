// Queries run on a loaded drawing before it is split, rendered or printed:
// layer modes for the attribute object, the bounding box of everything the
// drawing shows (block contents included) and the element counts.
#include <algorithm>
#include <cmath>

#include "counted_rows.h"
#include "func.h"
#include "geometry.h"
#include "gra_attribute.h"
#include "gval.h"
#include "jww_data.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// Rows a count covers, never more than the array holds.

bool IsImageText(const std::string& content) { return content.compare(0, 4, "^@BM") == 0; }

// The box being grown: Gval's four extent globals.
struct TBox {
  double& xmin;
  double& ymin;
  double& xmax;
  double& ymax;
};

// Adds drawing points as they stand.
struct TPlainSink {
  TBox box;
  void operator()(double x, double y) const { ExtentAddPoint(x, y, 1.0, box.xmin, box.ymin, box.xmax, box.ymax); }
};

// Adds block-content points through a tree row's map.
struct TMappedSink {
  TBox box;
  double tx, ty, a, b, c, d;
  void operator()(double x, double y) const {
    ExtentAddMappedPoint(x, y, tx, ty, a, b, c, d, 1.0, box.xmin, box.ymin, box.xmax, box.ymax);
  }
};

// Degrees brought into [0, 360) without a loop (a huge or NaN angle would
// never get there by steps of 360).
double Wrap360(double deg) {
  double w = std::fmod(deg, 360.0);
  if (w < 0) w += 360.0;
  if (w >= 360.0) w -= 360.0;  // -tiny + 360 rounds to 360
  return w;
}

template <class Sink>
void AddEllipseAxisPoints(const Sink& add, double cx, double cy, double r, double f, double tilt) {
  for (int q = 0; q < 4; ++q) {
    double x, y;
    EllipsePoint(cx, cy, r, f, tilt, q * (kPi / 2), x, y);
    add(x, y);
  }
}

template <class Sink>
void AddLines(const Sink& add, const std::vector<TEntJwwLine>& lines, int32_t count) {
  const size_t n = CountedRows(count, lines);
  for (size_t i = 0; i < n; ++i) {
    add(lines[i].X1, lines[i].Y1);
    add(lines[i].X2, lines[i].Y2);
  }
}

template <class Sink>
void AddArc(const Sink& add, const TEntJwwArc& e) {
  const double cx = e.CenterX, cy = e.CenterY, r = e.Radius, f = e.Flatness, tilt = e.Tilt;
  if (e.FullCircle != 0) {
    AddEllipseAxisPoints(add, cx, cy, r, f, tilt);
    return;
  }
  double x, y;
  EllipsePoint(cx, cy, r, f, tilt, e.StartAngle, x, y);
  add(x, y);
  EllipsePoint(cx, cy, r, f, tilt, e.StartAngle + e.ArcAngle, x, y);
  add(x, y);
  // The axis points that lie on the arc.
  double s = Wrap360(e.StartAngle * 180 / kPi);
  double w = e.ArcAngle * 180 / kPi;
  if (w < 0) {
    s = Wrap360(s + w);
    w = -w;
  }
  for (int q = 0; q < 4; ++q) {
    double dq = q * 90.0 - s;
    if (dq < 0) dq += 360.0;
    if (dq <= w) {
      EllipsePoint(cx, cy, r, f, tilt, q * (kPi / 2), x, y);
      add(x, y);
    }
  }
}

template <class Sink>
void AddArcs(const Sink& add, const std::vector<TEntJwwArc>& arcs, int32_t count) {
  const size_t n = CountedRows(count, arcs);
  for (size_t i = 0; i < n; ++i) AddArc(add, arcs[i]);
}

template <class Sink>
void AddPoints(const Sink& add, const std::vector<TEntJwwPoint>& points, int32_t count) {
  const size_t n = CountedRows(count, points);
  for (size_t i = 0; i < n; ++i) add(points[i].X, points[i].Y);
}

// The image size of an image text: the first two values after the path
// (one value serves for both).
bool ImageTextSize(const std::string& content, double& w, double& h) {
  if (!IsImageText(content)) return false;
  const size_t comma = content.find(',');
  if (comma == std::string::npos) return false;
  const size_t wEnd = content.find(',', comma + 1);
  w = StrToFloatOrZero(content.substr(comma + 1, wEnd == std::string::npos ? std::string::npos : wEnd - comma - 1));
  if (wEnd == std::string::npos) {
    h = w;
  } else {
    const size_t hEnd = content.find(',', wEnd + 1);
    h = StrToFloatOrZero(
        content.substr(wEnd + 1, hEnd == std::string::npos ? std::string::npos : hEnd - wEnd - 1));
  }
  return true;
}

template <class Sink>
void AddTexts(const Sink& add, const std::vector<TEntJwwText>& texts, int32_t count, bool imageSizes) {
  const size_t n = CountedRows(count, texts);
  for (size_t i = 0; i < n; ++i) {
    const TEntJwwText& t = texts[i];
    add(t.StartX, t.StartY);
    add(t.EndX, t.EndY);
    double w, h;
    if (imageSizes && ImageTextSize(t.Content, w, h)) add(t.StartX + w, t.StartY + h);
  }
}

template <class Sink>
void AddDimensions(const Sink& add, const std::vector<TEntJwwDimension>& dims, int32_t count) {
  const size_t n = CountedRows(count, dims);
  for (size_t i = 0; i < n; ++i) {
    const TEntJwwDimension& e = dims[i];
    add(e.Line.X1, e.Line.Y1);
    add(e.Line.X2, e.Line.Y2);
    add(e.Text.StartX, e.Text.StartY);
    add(e.Text.EndX, e.Text.EndY);
    if (e.SxfMode != 0) {
      add(e.AuxLine1.X1, e.AuxLine1.Y1);
      add(e.AuxLine1.X2, e.AuxLine1.Y2);
      add(e.AuxLine2.X1, e.AuxLine2.Y1);
      add(e.AuxLine2.X2, e.AuxLine2.Y2);
    }
  }
}

template <class Sink>
void AddSolids(const Sink& add, const std::vector<TEntJwwSolid>& solids, int32_t count) {
  const size_t n = CountedRows(count, solids);
  for (size_t i = 0; i < n; ++i) {
    const TEntJwwSolid& e = solids[i];
    if (e.Common.LineType < 101) {
      add(e.X1, e.Y1);
      add(e.X2, e.Y2);
      add(e.X3, e.Y3);
      add(e.X4, e.Y4);
    } else {
      // Circular: centre X1, Y1; radius X2; flatness Y2; tilt X3.
      add(e.X1, e.Y1);
      AddEllipseAxisPoints(add, e.X1, e.Y1, e.X2, e.Y2, e.X3);
    }
  }
}

// The first point of the first kind that has rows.
bool SeedPoint(const TJwwData& m, double& x, double& y) {
  if (CountedRows(m.LineCount, m.Lines) > 0) {
    x = m.Lines[0].X1, y = m.Lines[0].Y1;
  } else if (CountedRows(m.ArcCount, m.Arcs) > 0) {
    x = m.Arcs[0].CenterX, y = m.Arcs[0].CenterY;
  } else if (CountedRows(m.PointCount, m.Points) > 0) {
    x = m.Points[0].X, y = m.Points[0].Y;
  } else if (CountedRows(m.TextCount, m.Texts) > 0) {
    x = m.Texts[0].StartX, y = m.Texts[0].StartY;
  } else if (CountedRows(m.DimensionCount, m.Dimensions) > 0) {
    x = m.Dimensions[0].Line.X1, y = m.Dimensions[0].Line.Y1;
  } else if (CountedRows(m.SolidCount, m.Solids) > 0) {
    x = m.Solids[0].X1, y = m.Solids[0].Y1;
  } else if (CountedRows(m.BlockInsertCount, m.BlockInserts) > 0) {
    x = m.BlockInserts[0].X, y = m.BlockInserts[0].Y;
  } else {
    return false;
  }
  return true;
}

// The definition a tree row shows, or nullptr.
const TEntJwwBlockDefElements* RowDefinition(const TJwwData& m, const TEntJwwBlockTree& row) {
  if (row.DefRow < 0 || static_cast<size_t>(row.DefRow) >= CountedRows(m.BlockDefCount, m.BlockDefs)) return nullptr;
  return &m.BlockDefs[static_cast<size_t>(row.DefRow)].Elements();
}

// An axis that no real coordinate reached (every one was NaN) is left empty
// by the extent routines, min above max; it becomes the single value 0.
void CloseEmptyAxis(double& lo, double& hi) {
  if (lo > hi) lo = hi = 0;
}

}  // namespace

void TJwwData::ApplyLayerAttributes() {
  TgraAttribute* attr = Gval.GraAttribute;
  if (attr == nullptr) return;
  attr->InitLayers();
  static const std::string kNoName;
  for (int32_t i = 0; i < 256; ++i) {
    const size_t g = static_cast<size_t>(i / 16);
    // Rows missing from a damaged model read as shown, scale 1, no name.
    const TEntJwwLayerGroup* group = g < LayerGroups.size() ? &LayerGroups[g] : nullptr;
    const TEntJwwLayer* layer = static_cast<size_t>(i) < Layers.size() ? &Layers[static_cast<size_t>(i)] : nullptr;
    const int32_t gs = group != nullptr ? group->State : 2;
    const int32_t ls = layer != nullptr ? layer->State : 2;
    int32_t mode = 1;
    if (gs == 0 || ls == 0) {
      mode = 3;
    } else if (gs == 1 || ls == 1) {
      mode = 2;
    }
    double scale = 1.0;
    if (group != nullptr && group->Scale > 0) {
      const double inv = 1.0 / group->Scale;
      if (std::isfinite(inv) && inv > 0) scale = inv;  // an infinite denominator would give 0
    }
    attr->SetLayer(i, mode, scale, group != nullptr ? group->Name : kNoName,
                   layer != nullptr ? layer->Name : kNoName);
  }
}

void TJwwData::CalcExtents() {
  double seedX = 0, seedY = 0;
  if (SeedPoint(*this, seedX, seedY)) {
    TBox box{Gval.ExtentXMin, Gval.ExtentYMin, Gval.ExtentXMax, Gval.ExtentYMax};
    ExtentInit(seedX, seedY, 1.0, box.xmin, box.ymin, box.xmax, box.ymax);

    const TPlainSink plain{box};
    AddLines(plain, Lines, LineCount);
    AddArcs(plain, Arcs, ArcCount);
    AddPoints(plain, Points, PointCount);
    AddTexts(plain, Texts, TextCount, true);
    AddDimensions(plain, Dimensions, DimensionCount);
    AddSolids(plain, Solids, SolidCount);

    const size_t rows = CountedRows(BlockTreeCount, BlockTree);
    for (size_t k = 0; k < rows; ++k) {
      const TEntJwwBlockTree& row = BlockTree[k];
      const TEntJwwBlockDefElements* def = RowDefinition(*this, row);
      if (def == nullptr) continue;
      const TMappedSink mapped{box, row.OriginX, row.OriginY, row.M11, row.M12, row.M21, row.M22};
      AddLines(mapped, def->Lines, def->LineCount);
      AddArcs(mapped, def->Arcs, def->ArcCount);
      AddPoints(mapped, def->Points, def->PointCount);
      AddTexts(mapped, def->Texts, def->TextCount, false);
      AddDimensions(mapped, def->Dimensions, def->DimensionCount);
      AddSolids(mapped, def->Solids, def->SolidCount);
    }
    CloseEmptyAxis(Gval.ExtentXMin, Gval.ExtentXMax);
    CloseEmptyAxis(Gval.ExtentYMin, Gval.ExtentYMax);
  }
  Extents = {Gval.ExtentXMin, Gval.ExtentYMin, Gval.ExtentXMax, Gval.ExtentYMax};
}
