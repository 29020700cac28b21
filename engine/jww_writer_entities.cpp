// The element list and the block-definition list of a JWW file: object tags
// with the running index, common parts within what the target version
// accepts, SXF dimensions split for older targets, and only the block
// definitions that the block tree reaches, renumbered.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "bind_images.h"
#include "byte_io.h"
#include "func.h"
#include "jww_data.h"
#include "jww_write_context.h"
#include "jww_writer_images.h"

namespace {

constexpr const char* kClassNames[9] = {"",          "CDataSen",    "CDataEnko",
                                        "CDataTen",  "CDataMoji",   "CDataSunpou",
                                        "CDataSolid", "CDataBlock", "CDataList"};

// Texts are held in at most 255 bytes; a longer one set by the program is
// cut on a character boundary so the file reads back as written.
constexpr int32_t kTextMaxBytes = 255;

// The element arrays of the drawing or of one block definition.
struct ElementArrays {
  const std::vector<TEntJwwLine>& Lines;
  const std::vector<TEntJwwArc>& Arcs;
  const std::vector<TEntJwwPoint>& Points;
  const std::vector<TEntJwwText>& Texts;
  const std::vector<TEntJwwDimension>& Dimensions;
  const std::vector<TEntJwwSolid>& Solids;
  const std::vector<TEntJwwBlockInsert>& Inserts;

  // Rows may lie beyond the kind's count (the program lowers counts to hide
  // rows) but never beyond the array.
  bool Has(const TEntJwwOrder& o) const {
    if (o.Row < 0) return false;
    const auto row = static_cast<size_t>(o.Row);
    switch (o.Kind) {
      case kKindLine: return row < Lines.size();
      case kKindArc: return row < Arcs.size();
      case kKindPoint: return row < Points.size();
      case kKindText: return row < Texts.size();
      case kKindDimension: return row < Dimensions.size();
      case kKindSolid: return row < Solids.size();
      case kKindBlockInsert: return row < Inserts.size();
      default: return false;
    }
  }
};

ElementArrays ArraysOf(const TJwwData& d) {
  return {d.Lines, d.Arcs, d.Points, d.Texts, d.Dimensions, d.Solids, d.BlockInserts};
}

ElementArrays ArraysOf(const TEntJwwBlockDef& b) {
  return {b.Lines, b.Arcs, b.Points, b.Texts, b.Dimensions, b.Solids, b.Inserts};
}

size_t OrderRows(int32_t count, size_t rows) {
  return count <= 0 ? 0 : std::min(static_cast<size_t>(count), rows);
}

// A text's string as the file holds it.
std::string TextString(const std::string& stored, bool content) {
  std::string s = StripCaretM(stored);
  if (content) ReplaceRefString(s);
  if (s.size() <= static_cast<size_t>(kTextMaxBytes)) return s;
  int32_t taken = 0;
  return CopyBytesSJIS(s, 1, kTextMaxBytes, taken);
}

class EntityWriter {
 public:
  EntityWriter(const TJwwData& d, ByteWriter& out, JwwWriteContext& ctx)
      : d_(d), out_(out), ctx_(ctx), v_(ctx.Version) {}

  // Objects that the order list makes: one per element of kind 1..7 whose
  // row exists, six more per split SXF dimension.
  uint32_t CountObjects(const ElementArrays& a, const std::vector<TEntJwwOrder>& order,
                        size_t rows) const {
    uint32_t n = 0;
    for (size_t i = 0; i < rows; ++i) {
      const TEntJwwOrder& o = order[i];
      if (!a.Has(o)) continue;
      ++n;
      if (o.Kind == kKindDimension && IsSplit(a.Dimensions[o.Row])) n += 6;
    }
    return n;
  }

  void WriteList(const ElementArrays& a, const std::vector<TEntJwwOrder>& order, size_t rows) {
    for (size_t i = 0; i < rows; ++i) {
      const TEntJwwOrder& o = order[i];
      if (!a.Has(o)) continue;
      const auto r = static_cast<size_t>(o.Row);
      Tag(o.Kind);
      switch (o.Kind) {
        case kKindLine: Line(a.Lines[r]); break;
        case kKindArc: Arc(a.Arcs[r]); break;
        case kKindPoint: Point(a.Points[r], a.Points[r].Temporary); break;
        case kKindText: Text(a.Texts[r]); break;
        case kKindDimension: Dimension(a.Dimensions[r]); break;
        case kKindSolid: Solid(a.Solids[r]); break;
        case kKindBlockInsert: Insert(a.Inserts[r]); break;
        default: break;
      }
    }
  }

  void WriteDrawing() {
    const size_t rows = OrderRows(d_.EntityOrderCount, d_.EntityOrder.size());
    const ElementArrays a = ArraysOf(d_);
    TJwwData::WriteCount(out_, CountObjects(a, d_.EntityOrder, rows));
    WriteList(a, d_.EntityOrder, rows);
  }

  void WriteBlockDefs() {
    const size_t defs = OrderRows(d_.BlockListCount, d_.BlockDefs.size());
    uint32_t used = 0;
    for (size_t i = 0; i < defs; ++i) used += d_.BlockDefs[i].Used ? 1 : 0;
    TJwwData::WriteCount(out_, used);
    for (size_t i = 0; i < defs; ++i) {
      const TEntJwwBlockDef& b = d_.BlockDefs[i];
      if (!b.Used) continue;
      Tag(kKindBlockDef);  // also takes the definition's own index
      TJwwData::WriteEntityCommon(out_, b.Common, kKindBlockDef, v_);
      out_.U32(MapNumber(static_cast<uint32_t>(b.Number)));
      out_.I32(b.Referenced);
      out_.I32(b.Time);
      // A negative time announces a 64-bit time; keep the file readable.
      if (b.Time < 0) out_.Zeros(8);
      TJwwData::WriteCString(out_, StripCaretM(b.Name));
      const ElementArrays a = ArraysOf(b);
      const size_t rows = OrderRows(b.OrderCount, b.Order.size());
      TJwwData::WriteCount(out_, CountObjects(a, b.Order, rows));
      WriteList(a, b.Order, rows);
    }
  }

 private:
  bool IsSplit(const TEntJwwDimension& dim) const { return ctx_.SplitSxf && dim.SxfMode != 0; }

  uint32_t MapNumber(uint32_t number) const {
    const auto it = ctx_.BlockNumberMap.find(number);
    return it == ctx_.BlockNumberMap.end() ? 0 : it->second;
  }

  // Class tag of the next object; the object takes the next index.
  void Tag(int32_t kind) {
    uint32_t& cls = ctx_.ClassIndex[kind];
    if (cls == 0) {
      const std::string name = kClassNames[kind];
      out_.U16(0xFFFF);
      out_.U16(static_cast<uint16_t>(v_));
      out_.U16(static_cast<uint16_t>(name.size()));
      out_.Bytes(name.data(), name.size());
      cls = ctx_.NextIndex++;
    } else {
      TJwwData::WriteClassRef(out_, cls);
    }
    ++ctx_.NextIndex;
  }

  void Common(const TEntJwwCommon& c, int32_t kind) { TJwwData::WriteEntityCommon(out_, c, kind, v_); }

  void Line(const TEntJwwLine& l) {
    Common(l.Common, kKindLine);
    out_.F64(l.X1);
    out_.F64(l.Y1);
    out_.F64(l.X2);
    out_.F64(l.Y2);
  }

  void Arc(const TEntJwwArc& a) {
    Common(a.Common, kKindArc);
    out_.F64(a.CenterX);
    out_.F64(a.CenterY);
    out_.F64(a.Radius);
    out_.F64(a.StartAngle);
    out_.F64(a.ArcAngle);
    out_.F64(a.Tilt);
    out_.F64(a.Flatness);
    out_.U32(a.FullCircle);
  }

  void Point(const TEntJwwPoint& p, uint32_t temporary) {
    Common(p.Common, kKindPoint);
    out_.F64(p.X);
    out_.F64(p.Y);
    out_.U32(temporary);
    if (p.Common.LineType == 100) {
      out_.U32(p.Code);
      out_.F64(p.Angle);
      out_.F64(p.Scale);
    }
  }

  void Text(const TEntJwwText& t) {
    Common(t.Common, kKindText);
    out_.F64(t.StartX);
    out_.F64(t.StartY);
    out_.F64(t.EndX);
    out_.F64(t.EndY);
    out_.U32(t.Kind);
    out_.F64(t.SizeX);
    out_.F64(t.SizeY);
    out_.F64(t.Spacing);
    out_.F64(t.Angle);
    TJwwData::WriteCString(out_, TextString(t.FontName, false));
    TJwwData::WriteCString(out_, TextString(t.Content, true));
  }

  void Dimension(const TEntJwwDimension& dim) {
    Common(dim.Common, kKindDimension);
    Line(dim.Line);
    Text(dim.Text);
    if (v_ >= 420) {
      out_.U16(dim.SxfMode);
      Line(dim.AuxLine1);
      Line(dim.AuxLine2);
      Point(dim.Point1, dim.Point1.Temporary);
      Point(dim.Point2, dim.Point2.Temporary);
      Point(dim.AuxPoint1, dim.AuxPoint1.Temporary);
      Point(dim.AuxPoint2, dim.AuxPoint2.Temporary);
    } else if (IsSplit(dim)) {
      Tag(kKindLine);
      Line(dim.AuxLine1);
      Tag(kKindLine);
      Line(dim.AuxLine2);
      Tag(kKindPoint);
      Point(dim.Point1, dim.Point1.Temporary);
      Tag(kKindPoint);
      Point(dim.Point2, dim.Point2.Temporary);
      Tag(kKindPoint);
      Point(dim.AuxPoint1, 1);
      Tag(kKindPoint);
      Point(dim.AuxPoint2, 1);
    }
  }

  void Solid(const TEntJwwSolid& s) {
    Common(s.Common, kKindSolid);
    out_.F64(s.X1);
    out_.F64(s.Y1);
    out_.F64(s.X2);
    out_.F64(s.Y2);
    out_.F64(s.X3);
    out_.F64(s.Y3);
    out_.F64(s.X4);
    out_.F64(s.Y4);
    if (s.Common.Color == 10) out_.U32(s.Rgb);
  }

  void Insert(const TEntJwwBlockInsert& b) {
    Common(b.Common, kKindBlockInsert);
    out_.F64(b.X);
    out_.F64(b.Y);
    out_.F64(b.ScaleX);
    out_.F64(b.ScaleY);
    out_.F64(b.Angle);
    out_.U32(MapNumber(b.BlockNumber));
  }

  const TJwwData& d_;
  ByteWriter& out_;
  JwwWriteContext& ctx_;
  const int32_t v_;
};

uint8_t MapLineTypeBelow420(uint8_t lt) {
  // Extended line types 31..45 onto the basic ones; 46..62 have none.
  static constexpr uint8_t kMap[15] = {1, 4, 3, 6, 8, 8, 2, 5, 7, 6, 6, 8, 8, 17, 17};
  if (lt >= 31 && lt <= 45) return kMap[lt - 31];
  if (lt >= 46 && lt <= 62) return 0;
  return lt;
}

uint16_t MapPenBelow420(uint16_t pen) {
  // Extended pens 101..116 onto the basic ones; 117..356 have none.
  static constexpr uint16_t kMap[16] = {2, 8, 3, 6, 4, 5, 1, 2, 5, 8, 4, 3, 6, 5, 2, 2};
  if (pen >= 101 && pen <= 116) return kMap[pen - 101];
  if (pen >= 117 && pen <= 356) return 0;
  return pen;
}

}  // namespace

void TJwwData::WriteEntityCommon(ByteWriter& out, const TEntJwwCommon& common, int32_t kind,
                                 int32_t version) {
  uint8_t lt = common.LineType;
  uint16_t pen = common.Color;
  const bool curve = kind == kKindLine || kind == kKindArc;
  if (version < 420) {
    if (curve) lt = MapLineTypeBelow420(lt);
    if (kind >= kKindLine && kind <= kKindSolid) pen = MapPenBelow420(pen);
  }
  if (curve) {
    if (!((lt >= 1 && lt <= 9) || (lt >= 11 && lt <= 19) || (lt >= 31 && lt <= 62))) lt = 0;
  } else if (kind == kKindPoint) {
    if (lt != 1 && lt != 100) lt = 1;
  } else if (kind == kKindText) {
    if (lt < 1 || lt > 9) lt = 1;
  }
  if (kind >= kKindLine && kind <= kKindSolid) {
    const uint16_t basicMax = kind == kKindSolid ? 10 : 9;
    if (!((pen >= 1 && pen <= basicMax) || (pen >= 101 && pen <= 356))) pen = 0;
  }
  out.U32(common.Group);
  out.U8(lt);
  out.U16(pen);
  if (version >= 351) out.U16(common.Width > 30000 ? 0 : common.Width);
  out.U16(common.Layer > 15 ? 0 : common.Layer);
  out.U16(common.LayerGroup > 15 ? 0 : common.LayerGroup);
  out.U16(common.Flags);
}

uint32_t TJwwData::MapBlockNumber(uint32_t number) const {
  const size_t defs = OrderRows(BlockListCount, BlockDefs.size());
  for (size_t i = 0; i < defs; ++i) {
    const TEntJwwBlockDef& b = BlockDefs[i];
    if (static_cast<uint32_t>(b.Number) != number) continue;
    return b.Used ? static_cast<uint32_t>(b.NewNumber) : number;
  }
  return 0;
}

void TJwwData::WriteEntities(ByteWriter& out, int32_t version, JwwWriteContext& ctx) {
  ctx.Version = version;
  ctx.SplitSxf = version < 420 && Header.Version >= 420;
  // The first definition carrying a number decides, as in MapBlockNumber.
  ctx.BlockNumberMap.clear();
  const size_t defs = OrderRows(BlockListCount, BlockDefs.size());
  for (size_t i = defs; i-- > 0;) {
    const TEntJwwBlockDef& b = BlockDefs[i];
    const auto number = static_cast<uint32_t>(b.Number);
    ctx.BlockNumberMap[number] = b.Used ? static_cast<uint32_t>(b.NewNumber) : number;
  }

  EntityWriter w(*this, out, ctx);
  w.WriteDrawing();
  w.WriteBlockDefs();
  if (version >= 700) WriteImageSection(*this, out);
}
