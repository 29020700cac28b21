// The element list and the block-definition list of a JWW file: object tags
// with the running index, common parts within what the target version
// accepts, SXF dimensions split for older targets, and only the block
// definitions that the block tree reaches, renumbered.
#include <algorithm>
#include <cstring>
#include <cstdint>
#include <string>
#include <vector>

#include "counted_rows.h"
#include "bind_images.h"
#include "byte_io.h"
#include "element_arrays.h"
#include "func.h"
#include "jww_data.h"
#include "jww_write_context.h"
#include "jww_writer_images.h"

namespace {

constexpr const char* kClassNames[9] = {"",          "CDataSen",    "CDataEnko",
                                        "CDataTen",  "CDataMoji",   "CDataSunpou",
                                        "CDataSolid", "CDataBlock", "CDataList"};

// Fixed-size fields are gathered here and appended to the output in one
// step per element, far cheaper than one append per field. Whoever puts
// fields flushes them before anything else is written to the output (Out()
// does so); nothing is flushed on destruction, when later sections may
// already have been written.
class Record {
 public:
  explicit Record(ByteWriter& out) : out_(out) {}
  Record(const Record&) = delete;
  Record& operator=(const Record&) = delete;

  template <typename T>
  void Put(T v) {
    if (n_ + sizeof(T) > sizeof buf_) Flush();
    std::memcpy(buf_ + n_, &v, sizeof(T));
    n_ += sizeof(T);
  }
  void Flush() {
    out_.Bytes(buf_, n_);
    n_ = 0;
  }
  ByteWriter& Out() {
    Flush();
    return out_;
  }

 private:
  ByteWriter& out_;
  uint8_t buf_[512];
  size_t n_ = 0;
};

void PutCommon(Record& rec, const TEntJwwCommon& common, int32_t kind, int32_t version);

// True when StripCaretM would give the text back unchanged: no byte below
// 32 and no '^' at all (a '^' that is a trail byte goes the slow way).
bool IsCleanText(const std::string& s) {
  for (const char c : s) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x20 || b == '^') return false;
  }
  return true;
}

// A text's string as the file holds it: without "^m" and control
// characters, "%%" keys replaced, within 255 bytes.
void WriteTextString(ByteWriter& out, const std::string& stored, bool content) {
  const bool mayReplace = content && stored.size() >= 2 && stored[0] == '%' && stored[1] == '%';
  if (!mayReplace && stored.size() <= static_cast<size_t>(kTextMaxBytes) && IsCleanText(stored)) {
    TJwwData::WriteCString(out, stored);
    return;
  }
  std::string s = StripCaretM(stored);
  if (content) ReplaceRefString(s);
  // A longer text set by the program is cut so the file reads back as written.
  TJwwData::WriteCString(out, CutToContentLength(s));
}

class EntityWriter {
 public:
  EntityWriter(const TJwwData& d, ByteWriter& out, JwwWriteContext& ctx)
      : d_(d), out_(out), ctx_(ctx), v_(ctx.Version), rec_(out) {}

  // Objects that the order list makes: one per element of kind 1..7 whose
  // row exists, six more per split SXF dimension.
  uint32_t CountObjects(const TConstElementArrays& a, const std::vector<TEntJwwOrder>& order,
                        size_t rows) const {
    uint32_t n = 0;
    for (size_t i = 0; i < rows; ++i) {
      const TEntJwwOrder& o = order[i];
      if (!a.Names(o)) continue;
      ++n;
      if (o.Kind == kKindDimension && IsSplit(a.Dimensions[o.Row])) n += 6;
    }
    return n;
  }

  void WriteList(const TConstElementArrays& a, const std::vector<TEntJwwOrder>& order, size_t rows) {
    for (size_t i = 0; i < rows; ++i) {
      const TEntJwwOrder& o = order[i];
      if (!a.Names(o)) continue;
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
    rec_.Flush();
  }

  void WriteDrawing() {
    const size_t rows = CountedRows(d_.EntityOrderCount, d_.EntityOrder.size());
    const TConstElementArrays a = ElementArraysOf(d_);
    TJwwData::WriteCount(rec_.Out(), CountObjects(a, d_.EntityOrder, rows));
    WriteList(a, d_.EntityOrder, rows);
  }

  void WriteBlockDefs() {
    const size_t defs = CountedRows(d_.BlockListCount, d_.BlockDefs.size());
    uint32_t used = 0;
    for (size_t i = 0; i < defs; ++i) used += d_.BlockDefs[i].Used ? 1 : 0;
    TJwwData::WriteCount(rec_.Out(), used);
    for (size_t i = 0; i < defs; ++i) {
      const TEntJwwBlockDef& b = d_.BlockDefs[i];
      if (!b.Used) continue;
      Tag(kKindBlockDef);  // also takes the definition's own index
      PutCommon(rec_, b.Common, kKindBlockDef, v_);
      rec_.Put<uint32_t>(MapNumber(static_cast<uint32_t>(b.Number)));
      rec_.Put<int32_t>(b.Referenced);
      rec_.Put<int32_t>(b.Time);
      // A negative time announces a 64-bit time; keep the file readable.
      if (b.Time < 0) rec_.Put<uint64_t>(0);
      TJwwData::WriteCString(rec_.Out(), StripCaretM(b.Name));
      const TEntJwwBlockDefElements& e = b.Elements();
      const TConstElementArrays a = ElementArraysOf(e);
      const size_t rows = CountedRows(e.OrderCount, e.Order.size());
      TJwwData::WriteCount(rec_.Out(), CountObjects(a, e.Order, rows));
      WriteList(a, e.Order, rows);
    }
    rec_.Flush();
  }

 private:
  bool IsSplit(const TEntJwwDimension& dim) const { return ctx_.SplitSxf && dim.SxfMode != 0; }

  // MapBlockNumber scans the definitions; each number is asked once.
  uint32_t MapNumber(uint32_t number) const {
    const auto [it, added] = ctx_.BlockNumberMap.try_emplace(number, 0);
    if (added) it->second = d_.MapBlockNumber(number);
    return it->second;
  }

  // Class tag of the next object; the object takes the next index.
  void Tag(int32_t kind) {
    uint32_t& cls = ctx_.ClassIndex[kind];
    if (cls == 0) {
      const std::string name = kClassNames[kind];
      ByteWriter& out = rec_.Out();
      out.U16(0xFFFF);
      out.U16(static_cast<uint16_t>(v_));
      out.U16(static_cast<uint16_t>(name.size()));
      out.Bytes(name.data(), name.size());
      cls = ctx_.NextIndex++;
    } else if (cls <= 32766) {
      rec_.Put<uint16_t>(static_cast<uint16_t>(0x8000 + cls));
    } else {
      TJwwData::WriteClassRef(rec_.Out(), cls);
    }
    ++ctx_.NextIndex;
  }

  void Common(const TEntJwwCommon& c, int32_t kind) { PutCommon(rec_, c, kind, v_); }

  void Line(const TEntJwwLine& l) {
    Common(l.Common, kKindLine);
    rec_.Put(l.X1);
    rec_.Put(l.Y1);
    rec_.Put(l.X2);
    rec_.Put(l.Y2);
  }

  void Arc(const TEntJwwArc& a) {
    Common(a.Common, kKindArc);
    rec_.Put(a.CenterX);
    rec_.Put(a.CenterY);
    rec_.Put(a.Radius);
    rec_.Put(a.StartAngle);
    rec_.Put(a.ArcAngle);
    rec_.Put(a.Tilt);
    rec_.Put(a.Flatness);
    rec_.Put<uint32_t>(a.FullCircle);
  }

  void Point(const TEntJwwPoint& p, uint32_t temporary) {
    Common(p.Common, kKindPoint);
    rec_.Put(p.X);
    rec_.Put(p.Y);
    rec_.Put<uint32_t>(temporary);
    if (p.Common.LineType == 100) {
      rec_.Put<uint32_t>(p.Code);
      rec_.Put(p.Angle);
      rec_.Put(p.Scale);
    }
  }

  void Text(const TEntJwwText& t) {
    Common(t.Common, kKindText);
    rec_.Put(t.StartX);
    rec_.Put(t.StartY);
    rec_.Put(t.EndX);
    rec_.Put(t.EndY);
    rec_.Put<uint32_t>(t.Kind);
    rec_.Put(t.SizeX);
    rec_.Put(t.SizeY);
    rec_.Put(t.Spacing);
    rec_.Put(t.Angle);
    WriteTextString(rec_.Out(), t.FontName, false);
    WriteTextString(out_, t.Content, true);
  }

  void Dimension(const TEntJwwDimension& dim) {
    Common(dim.Common, kKindDimension);
    Line(dim.Line);
    Text(dim.Text);
    if (v_ >= 420) {
      rec_.Put<uint16_t>(dim.SxfMode);
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
    rec_.Put(s.X1);
    rec_.Put(s.Y1);
    rec_.Put(s.X2);
    rec_.Put(s.Y2);
    rec_.Put(s.X3);
    rec_.Put(s.Y3);
    rec_.Put(s.X4);
    rec_.Put(s.Y4);
    if (s.Common.Color == 10) rec_.Put<uint32_t>(s.Rgb);
  }

  void Insert(const TEntJwwBlockInsert& b) {
    Common(b.Common, kKindBlockInsert);
    rec_.Put(b.X);
    rec_.Put(b.Y);
    rec_.Put(b.ScaleX);
    rec_.Put(b.ScaleY);
    rec_.Put(b.Angle);
    rec_.Put<uint32_t>(MapNumber(b.BlockNumber));
  }

  const TJwwData& d_;
  ByteWriter& out_;
  JwwWriteContext& ctx_;
  const int32_t v_;
  Record rec_;
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

void PutCommon(Record& rec, const TEntJwwCommon& common, int32_t kind, int32_t version) {
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
  rec.Put<uint32_t>(common.Group);
  rec.Put<uint8_t>(lt);
  rec.Put<uint16_t>(pen);
  if (version >= 351) rec.Put<uint16_t>(common.Width > 30000 ? 0 : common.Width);
  rec.Put<uint16_t>(common.Layer > 15 ? 0 : common.Layer);
  rec.Put<uint16_t>(common.LayerGroup > 15 ? 0 : common.LayerGroup);
  rec.Put<uint16_t>(common.Flags);
}

}  // namespace

void TJwwData::WriteEntityCommon(ByteWriter& out, const TEntJwwCommon& common, int32_t kind,
                                 int32_t version) {
  Record rec(out);
  PutCommon(rec, common, kind, version);
  rec.Flush();
}

uint32_t TJwwData::MapBlockNumber(uint32_t number) const {
  // The written definitions carry their new numbers. A number that names no
  // written definition (none carries it, or the first that does is not
  // used) stays a reference to nothing: it keeps its value unless a written
  // definition now carries that value, and then takes the first number past
  // all written ones.
  const size_t defs = CountedRows(BlockListCount, BlockDefs.size());
  bool decided = false;
  bool clashes = false;
  uint32_t pastWritten = 0;
  for (size_t i = 0; i < defs; ++i) {
    const TEntJwwBlockDef& b = BlockDefs[i];
    if (!decided && static_cast<uint32_t>(b.Number) == number) {
      if (b.Used) return static_cast<uint32_t>(b.NewNumber);
      decided = true;
    }
    if (!b.Used) continue;
    const auto written = static_cast<uint32_t>(b.NewNumber);
    clashes = clashes || written == number;
    pastWritten = std::max(pastWritten, written + 1);
  }
  return clashes ? pastWritten : number;
}

void TJwwData::WriteEntities(ByteWriter& out, int32_t version, JwwWriteContext& ctx) {
  ctx.Version = version;
  ctx.SplitSxf = version < 420 && Header.Version >= 420;
  ctx.BlockNumberMap.clear();

  EntityWriter w(*this, out, ctx);
  w.WriteDrawing();
  w.WriteBlockDefs();
  if (version >= 700) ctx.DroppedImages = WriteImageSection(*this, out);
}
