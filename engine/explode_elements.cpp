// Copies of block-definition elements placed in the drawing by a tree row.
// Every copy keeps its common part (group, line type, colour, width, flags)
// and takes the row's layer and layer group unless the row keeps the
// elements' own.
#include <cmath>
#include <limits>
#include <new>
#include <string>

#include "dim_text.h"
#include "explode_elements.h"
#include "func.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2 * kPi;
constexpr uint16_t kSizesExchanged = 0x20;  // text flag: size x and y stored the other way round

void PlaceLayer(TEntJwwCommon& c, const TExplodePlacement& p) {
  if (p.KeepOwnLayers) return;
  c.Layer = p.Layer;
  c.LayerGroup = p.LayerGroup;
}

bool IsIdentityMatrix(const TAffineMap& m) {
  return std::fabs(m.a - 1) <= 1e-14 && std::fabs(m.b) <= 1e-14 && std::fabs(m.c) <= 1e-14 &&
         std::fabs(m.d - 1) <= 1e-14;
}

// Direction of end - start in degrees, in [0, 360).
double DirectionDegrees(double sx, double sy, double ex, double ey) {
  double deg = VectorAngle(ex - sx, ey - sy) * 180 / kPi;
  if (deg >= 360) deg -= 360;
  return deg;
}

// Makes the copy's row the next one of its kind and records it in the order
// list. The arrays are kept exactly as long as their counts (ExplodeBlocks
// reserves room once, so nothing is copied as they grow).
template <class T>
bool Append(TJwwData& m, std::vector<T>& rows, int32_t& count, int32_t kind, T&& copy) {
  if (count < 0) count = 0;
  if (count == std::numeric_limits<int32_t>::max() ||
      m.EntityOrderCount == std::numeric_limits<int32_t>::max())
    return false;
  if (m.EntityOrderCount < 0) m.EntityOrderCount = 0;
  try {
    if (rows.size() != static_cast<size_t>(count)) rows.resize(static_cast<size_t>(count));
    if (m.EntityOrder.size() != static_cast<size_t>(m.EntityOrderCount))
      m.EntityOrder.resize(static_cast<size_t>(m.EntityOrderCount));
    rows.push_back(std::move(copy));
  } catch (const std::exception&) {
    return false;
  }
  ++count;
  try {
    m.EntityOrder.push_back(TEntJwwOrder{kind, count - 1});
  } catch (const std::exception&) {
    rows.pop_back();
    --count;
    return false;
  }
  ++m.EntityOrderCount;
  return true;
}

// A point record as ExplodePoint places it (the layer rule not applied).
void MapPointRecord(TEntJwwPoint& pt, const TAffineMap& map) {
  int32_t code = 0;
  MapPointEntity(pt.Common.LineType, static_cast<int32_t>(pt.Code), pt.X, pt.Y, pt.Angle, pt.Scale, map, pt.X,
                 pt.Y, code, pt.Angle, pt.Scale);
  pt.Code = static_cast<uint32_t>(code);
}

void ZeroPointRecord(TEntJwwPoint& pt) {
  pt.X = pt.Y = 0;
  pt.Temporary = 0;
  pt.Code = 0;
  pt.Angle = 0;
  pt.Scale = 0;
}

// Text sizes as the mapping sees them (exchanged by flag 0x20), and back.
void ExchangeSizesIfFlagged(TEntJwwText& t) {
  if (t.Common.Flags & kSizesExchanged) ExchangeDoubles(t.SizeX, t.SizeY);
}

// Maps the text's ends, sizes, spacing and kind in place.
void MapTextRecord(TEntJwwText& t, const TAffineMap& map) {
  int32_t kind = 0;
  MapTextEntity(static_cast<int32_t>(t.Kind), t.StartX, t.StartY, t.EndX, t.EndY, t.SizeX, t.SizeY, t.Spacing,
                map, t.StartX, t.StartY, t.EndX, t.EndY, kind, t.SizeX, t.SizeY, t.Spacing);
  t.Kind = static_cast<uint32_t>(kind);
}

double RoundedSize(double v) {
  v = RoundToDecimals(4, 2, v);
  return v >= 1e-4 ? v : 1e-4;  // NaN too
}

// The values of an image text after its path: W, H, p3..p6. fields tells how
// many were present (up to 6).
struct TImageValues {
  std::string path;
  double v[6] = {0, 0, 0, 0, 1, 0};
  int fields = 0;
};

TImageValues ParseImageText(const std::string& content) {
  TImageValues out;
  const size_t comma = content.find(',');
  out.path = content.substr(4, comma - 4);
  size_t from = comma + 1;
  while (out.fields < 6) {
    const size_t next = content.find(',', from);
    out.v[out.fields++] = StrToFloatOrZero(content.substr(from, next == std::string::npos ? next : next - from));
    if (next == std::string::npos) break;
    from = next + 1;
  }
  return out;
}

// The image text's content rewritten for the mapped text: width and height
// measured under the map, the text's turn carried into the last value.
std::string MapImageContent(const std::string& content, const TAffineMap& map, const TEntJwwText& before,
                            const TEntJwwText& after) {
  const TImageValues iv = ParseImageText(content);
  const bool hasHeight = iv.fields >= 2;
  double w = iv.v[0];
  double ratio = 1;
  if (hasHeight) {
    if (std::fabs(w) < 1e-14) w = 100;
    ratio = iv.v[1] / w;
  }
  double x0, y0, x1, y1;
  MapPoint(0, 0, map, x0, y0);
  MapPoint(w, 0, map, x1, y1);
  const double mw = RoundedSize(PointDistance(x0, y0, x1, y1));
  const double mh = RoundedSize(mw * ratio);

  std::string out = "^@BM" + iv.path + "," + FormatGeneralNumber(mw);
  if (!hasHeight) return out;
  double turn = DirectionDegrees(after.StartX, after.StartY, after.EndX, after.EndY) -
                DirectionDegrees(before.StartX, before.StartY, before.EndX, before.EndY);
  turn = RoundToDecimals(2, 2, turn);
  const bool sixValues = iv.fields >= 6 || std::fabs(turn) > 1e-12;
  out += "," + FormatGeneralNumber(mh);
  if (!sixValues) return out;
  double p6 = iv.v[5] + turn;
  if (p6 < 0) p6 += 360;
  if (p6 > 360) p6 -= 360;
  for (double v : {iv.v[2], iv.v[3], iv.v[4], p6}) out += "," + FormatGeneralNumber(v);
  return out;
}

// A turn times a uniform scaling (mirrored or not) that is not itself
// axis-aligned: the turn, and the axis-aligned rest R(-turn)·M.
bool SplitTurn(const TAffineMap& m, double& turn, TAffineMap& aligned) {
  if (std::fabs(m.b) <= 1e-14 && std::fabs(m.c) <= 1e-14) return false;  // MapArc's short way already
  const double k1 = std::hypot(m.a, m.c), k2 = std::hypot(m.b, m.d);
  if (!(k1 > 0) || !std::isfinite(k1) || !std::isfinite(k2)) return false;
  if (std::fabs(k1 - k2) > 1e-12 * k1 || std::fabs(m.a * m.b + m.c * m.d) > 1e-12 * k1 * k2) return false;
  turn = std::atan2(m.c, m.a);
  const double det = m.a * m.d - m.b * m.c;
  aligned = TAffineMap{k1, 0, 0, det < 0 ? -k1 : k1, 0, 0, m.s};
  return true;
}

// Under a turn every parameter of a circle's image is as far from the centre
// as any other, and MapArc's search for the farthest one would settle
// wherever rounding happens to favour: the image's tilt, and so the axis
// points of the drawing's extents, would wander. Turning the result of the
// axis-aligned rest instead gives the answer the search gives without
// rounding (the first sample, t = 0, wins the tie).
void MapArcRecord(int32_t whole, double& cx, double& cy, double& r, double& f, double& start, double& sweep,
                  double& tilt, const TAffineMap& map) {
  double turn = 0;
  TAffineMap aligned;
  if (!SplitTurn(map, turn, aligned)) {
    MapArc(whole, cx, cy, r, f, start, sweep, tilt, map, cx, cy, r, f, start, sweep, tilt);
    return;
  }
  double mcx, mcy, mtilt;
  MapPoint(cx, cy, map, mcx, mcy);
  MapArc(whole, 0, 0, r, f, start, sweep, tilt, aligned, cx, cy, r, f, start, sweep, mtilt);
  mtilt = std::fmod(mtilt + turn, kTwoPi);
  if (mtilt < 0) mtilt += kTwoPi;
  cx = mcx;
  cy = mcy;
  tilt = mtilt;
}

}  // namespace

bool BeginsImageMark(const std::string& content) { return content.compare(0, 4, "^@BM") == 0; }

bool ExplodeLine(TJwwData& m, const TEntJwwLine& src, const TExplodePlacement& p) {
  TEntJwwLine e = src;
  PlaceLayer(e.Common, p);
  MapSegment(src.X1, src.Y1, src.X2, src.Y2, p.Map, e.X1, e.Y1, e.X2, e.Y2);
  return Append(m, m.Lines, m.LineCount, kKindLine, std::move(e));
}

bool ExplodeArc(TJwwData& m, const TEntJwwArc& src, const TExplodePlacement& p) {
  TEntJwwArc e = src;
  PlaceLayer(e.Common, p);
  MapArcRecord(src.FullCircle == 1 ? 1 : 0, e.CenterX, e.CenterY, e.Radius, e.Flatness, e.StartAngle, e.ArcAngle,
               e.Tilt, p.Map);
  return Append(m, m.Arcs, m.ArcCount, kKindArc, std::move(e));
}

bool ExplodePoint(TJwwData& m, const TEntJwwPoint& src, const TExplodePlacement& p) {
  TEntJwwPoint e = src;
  PlaceLayer(e.Common, p);
  MapPointRecord(e, p.Map);
  return Append(m, m.Points, m.PointCount, kKindPoint, std::move(e));
}

bool ExplodeText(TJwwData& m, const TEntJwwText& src, const TExplodePlacement& p) {
  try {
    TEntJwwText e = src;
    PlaceLayer(e.Common, p);
    ExchangeSizesIfFlagged(e);
    MapTextRecord(e, p.Map);
    if (BeginsImageMark(src.Content) && src.Content.find(',') != std::string::npos) {
      // The turn of an image lives in its last value, never in the angle.
      e.Content = CutToContentLength(MapImageContent(src.Content, p.Map, src, e));
      e.EndX = e.StartX + TextLengthSJIS(e.Content, e.SizeX, e.Spacing);
      e.EndY = e.StartY;
      e.Angle = 0;
    } else {
      e.Angle = DirectionDegrees(e.StartX, e.StartY, e.EndX, e.EndY);
    }
    ExchangeSizesIfFlagged(e);
    return Append(m, m.Texts, m.TextCount, kKindText, std::move(e));
  } catch (const std::exception&) {
    return false;
  }
}

bool ExplodeDimension(TJwwData& m, const TEntJwwDimension& src, const TExplodePlacement& p) {
  try {
    TEntJwwDimension e = src;
    const TAffineMap& map = p.Map;
    if (src.SxfMode != 0) {
      MapSegment(src.AuxLine1.X1, src.AuxLine1.Y1, src.AuxLine1.X2, src.AuxLine1.Y2, map, e.AuxLine1.X1,
                 e.AuxLine1.Y1, e.AuxLine1.X2, e.AuxLine1.Y2);
      MapSegment(src.AuxLine2.X1, src.AuxLine2.Y1, src.AuxLine2.X2, src.AuxLine2.Y2, map, e.AuxLine2.X1,
                 e.AuxLine2.Y1, e.AuxLine2.X2, e.AuxLine2.Y2);
      for (TEntJwwPoint* pt : {&e.Point1, &e.Point2, &e.AuxPoint1, &e.AuxPoint2}) MapPointRecord(*pt, map);
    } else {
      e.AuxLine1.X1 = e.AuxLine1.Y1 = e.AuxLine1.X2 = e.AuxLine1.Y2 = 0;
      e.AuxLine2.X1 = e.AuxLine2.Y1 = e.AuxLine2.X2 = e.AuxLine2.Y2 = 0;
      for (TEntJwwPoint* pt : {&e.Point1, &e.Point2, &e.AuxPoint1, &e.AuxPoint2}) ZeroPointRecord(*pt);
    }
    MapSegment(src.Line.X1, src.Line.Y1, src.Line.X2, src.Line.Y2, map, e.Line.X1, e.Line.Y1, e.Line.X2,
               e.Line.Y2);

    const uint16_t formatWord = src.Text.Common.Width;
    TEntJwwText& t = e.Text;
    ExchangeSizesIfFlagged(t);
    if (!IsIdentityMatrix(map) && (formatWord & kDimFollowsGeometry) && !BeginsImageMark(src.Text.Content)) {
      // A group outside the table has no factor: FormatDimensionText takes 1.
      const size_t g = src.Line.Common.LayerGroup;
      const double factor = g < m.LayerGroups.size() ? m.LayerGroups[g].Scale : 1.0;
      std::string value;
      FormatDimensionText(formatWord, src.Text.Common.Flags, value, src.Line.X1, src.Line.Y1, src.Line.X2,
                          src.Line.Y2, factor, map.tx, map.ty, map.a, map.b, map.c, map.d, 1.0);
      value = CutToContentLength(value);
      int32_t kind = 0;
      MapDimensionText(static_cast<int32_t>(t.Kind), t.StartX, t.StartY, t.EndX, t.EndY, t.SizeX, t.SizeY,
                       t.Spacing, value, map, t.StartX, t.StartY, t.EndX, t.EndY, kind, t.SizeX, t.SizeY,
                       t.Spacing);
      t.Kind = static_cast<uint32_t>(kind);
      t.Content = std::move(value);
    } else {
      MapTextRecord(t, map);
    }
    t.Angle = DirectionDegrees(t.StartX, t.StartY, t.EndX, t.EndY);
    ExchangeSizesIfFlagged(t);

    for (TEntJwwCommon* c : {&e.Common, &e.Line.Common, &e.Text.Common, &e.AuxLine1.Common, &e.AuxLine2.Common,
                             &e.Point1.Common, &e.Point2.Common, &e.AuxPoint1.Common, &e.AuxPoint2.Common})
      PlaceLayer(*c, p);
    return Append(m, m.Dimensions, m.DimensionCount, kKindDimension, std::move(e));
  } catch (const std::exception&) {
    return false;
  }
}

bool ExplodeSolid(TJwwData& m, const TEntJwwSolid& src, const TExplodePlacement& p) {
  TEntJwwSolid e = src;
  PlaceLayer(e.Common, p);
  const TAffineMap& map = p.Map;
  const int32_t code = src.Common.LineType;
  // Circular solids: X1, Y1 centre; X2 radius; Y2 flatness; X3 tilt;
  // Y3 start; X4 sweep; Y4 shape number (101, 111) or inner radius (105, 106).
  if (code == 101 || code == 111) {
    const double shape = std::trunc(src.Y4);
    const int32_t whole = code == 101 ? (shape == 100) : (shape != 0);  // NaN: 111 whole, 101 not
    MapArcRecord(whole, e.X1, e.Y1, e.X2, e.Y2, e.Y3, e.X4, e.X3, map);
  } else if (code == 105 || code == 106) {
    const int32_t whole = std::fabs(src.X4) <= 1e-14 || src.X4 >= kTwoPi || src.X4 <= -kTwoPi;
    double innerFlatness = src.Y2;
    if (code == 106) {
      // Keeps the ring's width constant between its two ellipses. Without an
      // inner radius (or with a result that is no flatness) the outer
      // flatness is kept.
      const double q = (src.X2 * src.Y2 - src.X2) / src.Y4 + 1;
      if (src.Y4 != 0 && std::isfinite(q) && q > 1e-14) innerFlatness = q;
    }
    double cx = src.X1, cy = src.Y1, r = src.Y4, f = innerFlatness, start = src.Y3, sweep = src.X4,
           tilt = src.X3;
    MapArcRecord(whole, cx, cy, r, f, start, sweep, tilt, map);
    MapArcRecord(whole, e.X1, e.Y1, e.X2, e.Y2, e.Y3, e.X4, e.X3, map);
    e.Y4 = r;
  } else {
    // Quadrilaterals, and shape codes without a transformation of their own:
    // the four corners.
    MapSegment(src.X1, src.Y1, src.X2, src.Y2, map, e.X1, e.Y1, e.X2, e.Y2);
    MapSegment(src.X3, src.Y3, src.X4, src.Y4, map, e.X3, e.Y3, e.X4, e.Y4);
  }
  return Append(m, m.Solids, m.SolidCount, kKindSolid, std::move(e));
}
