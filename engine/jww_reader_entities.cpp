// Reading the object archive of a JWW file: the element list, the
// block-definition list and, from version 700, the held images.
//
// Every object count is checked against the bytes left before anything is
// allocated for it, using the smallest size an object of the list can have,
// so a damaged count fails at once instead of allocating without bound.
#include <algorithm>
#include <cstdio>

#include "bind_images.h"
#include "byte_io.h"
#include "element_arrays.h"
#include "file_io.h"
#include "func.h"
#include "jww_data.h"
#include "jww_read_cursor.h"
#include "new_file.h"

// Class index table of one file: the element lists and the block-definition
// list share one running index, taken by each new class and each object.
struct JwwReadContext {
  int32_t version = 0;
  size_t commonSize = 15;
  uint32_t nextIndex = 1;
  // Kind by class index (0: not a class, kKindBlockDef: "CDataList",
  // -1: a class of an unknown name). Never longer than the objects read.
  std::vector<int8_t> kindByIndex;
};

namespace {

constexpr int8_t kUnknownClass = -1;

int8_t KindOfClassName(const uint8_t* name, size_t n) {
  static const char* const names[] = {"CDataSen",    "CDataEnko",  "CDataTen",   "CDataMoji",
                                      "CDataSunpou", "CDataSolid", "CDataBlock", "CDataList"};
  for (int k = 0; k < 8; ++k) {
    const size_t len = std::char_traits<char>::length(names[k]);
    if (len == n && std::memcmp(names[k], name, n) == 0) return static_cast<int8_t>(k + 1);
  }
  return kUnknownClass;
}

uint32_t ReadCount(ByteReader& in) {
  const uint16_t n = in.U16();
  return n == 0xFFFF ? in.U32() : n;
}

// Fails unless `count` objects of at least `minBytes` each can still follow.
void RequireObjects(const ByteReader& in, uint64_t count, size_t minBytes) {
  if (count > in.Remaining() / minBytes) throw JwwReadError("object count beyond the data", in.Offset());
}

// Reads one object tag; a new class takes the next index. Answers the kind
// of the object's class; a tag that names no class seen before fails.
int8_t ReadTag(ByteReader& in, JwwReadContext& ctx) {
  const size_t at = in.Offset();
  const uint16_t tag = in.U16();
  uint32_t index;
  if (tag == 0xFFFF) {
    in.U16();  // schema
    const uint16_t n = in.U16();
    const int8_t kind = KindOfClassName(in.Take(n), n);
    const uint32_t classIndex = ctx.nextIndex++;
    if (ctx.kindByIndex.size() <= classIndex) ctx.kindByIndex.resize(classIndex + 1, 0);
    ctx.kindByIndex[classIndex] = kind;
    return kind;
  }
  if (tag == 0x7FFF) {
    index = in.U32() & 0x7FFFFFFFu;
  } else if (tag & 0x8000) {
    index = tag & 0x7FFFu;
  } else {
    throw JwwReadError("object tag is not a class", at);
  }
  if (index >= ctx.kindByIndex.size() || ctx.kindByIndex[index] == 0)
    throw JwwReadError("reference to an unknown class", at);
  return ctx.kindByIndex[index];
}

// The 13-byte common part of files before version 351 has no Width.
void CommonFrom(FieldCursor& c, bool wide, TEntJwwCommon& e) {
  c.Into(e.Group);
  c.Into(e.LineType);
  c.Into(e.Color);
  e.Width = wide ? c.Get<uint16_t>() : 0;
  c.Into(e.Layer);
  c.Into(e.LayerGroup);
  c.Into(e.Flags);
}

// The reader's seven target arrays and order list: the drawing's own or
// one block definition's.
// The arrays an element list is read into, and the scale of points stored
// without their tail.
struct ElementSink {
  TElementArrays arrays;
  double pointScaleWithoutTail;  // 1.0 in the drawing, 0 inside definitions
};

class EntityReader {
 public:
  EntityReader(TJwwData& d, ByteReader& in, JwwReadContext& ctx)
      : d_(d), in_(in), ctx_(ctx), wide_(ctx.version >= 351), cs_(ctx.commonSize) {}

  // Tags and element data of one element list of `count` elements (its
  // count already read) into `sink`. A block definition takes its own index
  // after its element count, before its elements.
  void ElementList(uint32_t count, ElementSink& sink, int32_t& orderCount, bool ownerTakesIndex) {
    RequireObjects(in_, count, 2 + cs_ + 20);  // the smallest object: a point
    sink.arrays.Order.assign(count, TEntJwwOrder{});
    orderCount = static_cast<int32_t>(count);
    if (ownerTakesIndex) ++ctx_.nextIndex;
    for (uint32_t i = 0; i < count; ++i) {
      const int8_t kind = ReadTag(in_, ctx_);
      sink.arrays.Order[i] = ReadElement(kind, sink);
      ++ctx_.nextIndex;
    }
  }

  void BlockDefList() {
    const uint32_t count = ReadCount(in_);
    RequireObjects(in_, count, 2 + cs_ + 12 + 1 + 2);
    d_.BlockDefs.assign(count, TEntJwwBlockDef{});
    d_.BlockDefCount = d_.BlockListCount = static_cast<int32_t>(count);
    for (uint32_t i = 0; i < count; ++i) {
      TEntJwwBlockDef& def = d_.BlockDefs[i];
      ReadTag(in_, ctx_);  // every object of this list is a block definition
      {
        FieldCursor c(in_.Take(cs_ + 12));
        CommonFrom(c, wide_, def.Common);
        c.Into(def.Number);
        c.Into(def.Referenced);
        c.Into(def.Time);
      }
      if (def.Time < 0) {
        in_.Skip(8);  // a 64-bit time; the definition is then known by its position
        def.Time = static_cast<int32_t>(i + 1);
      }
      def.Name = d_.ReadString(in_);
      const uint32_t elements = ReadCount(in_);
      if (elements == 0) {
        ++ctx_.nextIndex;  // the definition's own index; it gets no element arrays
        continue;
      }
      TEntJwwBlockDefElements& e = def.EditElements();
      ElementSink sink{ElementArraysOf(e), 0.0};
      ElementList(elements, sink, e.OrderCount, true);
    }
  }

 private:
  TEntJwwOrder ReadElement(int8_t kind, ElementSink& s) {
    switch (kind) {
      case kKindLine:
        return Stored(kKindLine, s.arrays.Lines, s.arrays.LineCount, ReadLine());
      case kKindArc:
        return Stored(kKindArc, s.arrays.Arcs, s.arrays.ArcCount, ReadArc());
      case kKindPoint:
        return Stored(kKindPoint, s.arrays.Points, s.arrays.PointCount, ReadPoint(s.pointScaleWithoutTail));
      case kKindText: {
        TEntJwwText t;
        ReadText(t);
        return Stored(kKindText, s.arrays.Texts, s.arrays.TextCount, std::move(t));
      }
      case kKindDimension: {
        TEntJwwDimension dim;
        ReadDimension(dim);
        return Stored(kKindDimension, s.arrays.Dimensions, s.arrays.DimensionCount, std::move(dim));
      }
      case kKindSolid:
        return Stored(kKindSolid, s.arrays.Solids, s.arrays.SolidCount, ReadSolid());
      case kKindBlockInsert:
        return Stored(kKindBlockInsert, s.arrays.Inserts, s.arrays.InsertCount, ReadInsert());
      default:
        // A definition or a class of another name: its size is unknown, so
        // the list cannot be read on.
        throw JwwReadError("object of an unsupported class", in_.Offset());
    }
  }

  // Appends a completely read element; the array length always equals the count.
  template <typename T>
  static TEntJwwOrder Stored(int32_t kind, std::vector<T>& rows, int32_t& count, T&& e) {
    rows.push_back(std::move(e));
    const int32_t row = count++;
    return TEntJwwOrder{kind, row};
  }

  TEntJwwLine ReadLine() {
    TEntJwwLine e;
    FieldCursor c(in_.Take(cs_ + 32));
    LineFrom(c, e);
    return e;
  }

  void LineFrom(FieldCursor& c, TEntJwwLine& e) const {
    CommonFrom(c, wide_, e.Common);
    c.Into(e.X1);
    c.Into(e.Y1);
    c.Into(e.X2);
    c.Into(e.Y2);
  }

  TEntJwwArc ReadArc() {
    TEntJwwArc e;
    FieldCursor c(in_.Take(cs_ + 60));
    CommonFrom(c, wide_, e.Common);
    c.Into(e.CenterX);
    c.Into(e.CenterY);
    c.Into(e.Radius);
    c.Into(e.StartAngle);
    c.Into(e.ArcAngle);
    c.Into(e.Tilt);
    c.Into(e.Flatness);
    c.Into(e.FullCircle);
    return e;
  }

  // A point; a symbol point (line type 100) carries 20 more bytes.
  TEntJwwPoint ReadPoint(double scaleWithoutTail) {
    TEntJwwPoint e;
    {
      FieldCursor c(in_.Take(cs_ + 20));
      CommonFrom(c, wide_, e.Common);
      c.Into(e.X);
      c.Into(e.Y);
      c.Into(e.Temporary);
    }
    if (e.Common.LineType == 100) {
      FieldCursor c(in_.Take(20));
      c.Into(e.Code);
      c.Into(e.Angle);
      c.Into(e.Scale);
    } else {
      e.Code = 0;
      e.Angle = 0;
      e.Scale = scaleWithoutTail;
    }
    return e;
  }

  void ReadText(TEntJwwText& e) {
    {
      FieldCursor c(in_.Take(cs_ + 68));
      CommonFrom(c, wide_, e.Common);
      c.Into(e.StartX);
      c.Into(e.StartY);
      c.Into(e.EndX);
      c.Into(e.EndY);
      c.Into(e.Kind);
      c.Into(e.SizeX);
      c.Into(e.SizeY);
      c.Into(e.Spacing);
      c.Into(e.Angle);
    }
    e.FontName = d_.ReadString(in_);
    e.FontName = CutToContentLength(e.FontName);
    e.Content = d_.ReadString(in_);
    e.Content = CutToContentLength(e.Content);
  }

  void ReadDimension(TEntJwwDimension& e) {
    {
      FieldCursor c(in_.Take(cs_ + cs_ + 32));
      CommonFrom(c, wide_, e.Common);
      LineFrom(c, e.Line);
    }
    ReadText(e.Text);
    if (ctx_.version >= 420) {
      {
        FieldCursor c(in_.Take(2 + 2 * (cs_ + 32)));
        c.Into(e.SxfMode);
        LineFrom(c, e.AuxLine1);
        LineFrom(c, e.AuxLine2);
      }
      for (TEntJwwPoint* p : {&e.Point1, &e.Point2, &e.AuxPoint1, &e.AuxPoint2}) *p = ReadPoint(0.0);
      return;
    }
    // Older files have no SXF part: the parts take the dimension's attributes.
    e.SxfMode = 0;
    for (TEntJwwLine* l : {&e.AuxLine1, &e.AuxLine2}) {
      *l = TEntJwwLine{};
      TJwwData::CopyEntityCommon(e.Common, l->Common);
    }
    for (TEntJwwPoint* p : {&e.Point1, &e.Point2, &e.AuxPoint1, &e.AuxPoint2}) {
      *p = TEntJwwPoint{};
      TJwwData::CopyEntityCommon(e.Common, p->Common);
      p->Common.LineType = 0;
    }
  }

  // A solid; pen 10 (a free colour) carries its RGB value.
  TEntJwwSolid ReadSolid() {
    TEntJwwSolid e;
    {
      FieldCursor c(in_.Take(cs_ + 64));
      CommonFrom(c, wide_, e.Common);
      for (double* v : {&e.X1, &e.Y1, &e.X2, &e.Y2, &e.X3, &e.Y3, &e.X4, &e.Y4}) c.Into(*v);
    }
    e.Rgb = e.Common.Color == 10 ? in_.U32() : 0;
    return e;
  }

  TEntJwwBlockInsert ReadInsert() {
    TEntJwwBlockInsert e;
    FieldCursor c(in_.Take(cs_ + 44));
    CommonFrom(c, wide_, e.Common);
    c.Into(e.X);
    c.Into(e.Y);
    c.Into(e.ScaleX);
    c.Into(e.ScaleY);
    c.Into(e.Angle);
    c.Into(e.BlockNumber);
    return e;
  }

  TJwwData& d_;
  ByteReader& in_;
  JwwReadContext& ctx_;
  const bool wide_;
  const size_t cs_;
};

// Writes one held image into TempFolder in chunks of 2048 bytes, as a new
// file: whatever is there already under its name (the image of the same
// name before it, a link) stays as it is and this image is not written.
bool ExtractImage(const std::string& path, const uint8_t* data, size_t size) {
  TNewFile f(BindImg.TempFolder);
  constexpr size_t kChunk = 2048;
  for (size_t at = 0; f.Ok() && at < size; at += kChunk) {
    if (!f.Write(data + at, std::min(kChunk, size - at))) return false;
  }
  return f.PlaceAs(path);
}

void ReadImages(TJwwData& d, ByteReader& in) {
  ClearBindImages();
  if (!BindImg.BindImageExtractFlag && !BindImg.BindImageKeepFlag) return;
  const uint32_t count = in.U32();
  RequireObjects(in, count, 1 + 4);
  BindImg.BindImages.assign(count, TBindImageType{});
  BindImg.BindImageCount = static_cast<int32_t>(count);
  for (uint32_t i = 0; i < count; ++i) {
    TBindImageType& row = BindImg.BindImages[i];
    const std::string stored = d.ReadString(in);
    // Only the bare file name is kept, so that neither this extraction nor
    // the writer or the delete routines can reach outside TempFolder.
    row.Name = BindImageFileName(stored);
    const uint32_t size = in.U32();
    row.Size = static_cast<int32_t>(size);
    if (stored.empty() || size == 0) continue;
    const uint8_t* data = in.Take(size);  // fails before any file is made
    // Images past the drawing's room are not written.
    if (BindImg.BindImageExtractFlag && !row.Name.empty() && size <= BindImageRoom() &&
        ExtractImage(HeldImagePath(row.Name), data, size))
      ChargeBindImageBytes(size);
  }
}

}  // namespace

void TJwwData::CopyEntityCommon(const TEntJwwCommon& from, TEntJwwCommon& to) { to = from; }

void TJwwData::ReadEntities(ByteReader& in) {
  JwwReadContext ctx;
  ctx.version = Header.Version;
  ctx.commonSize = Header.Version >= 351 ? 15 : 13;
  EntityReader reader(*this, in, ctx);
  ElementSink sink{ElementArraysOf(*this), 1.0};
  reader.ElementList(ReadCount(in), sink, EntityOrderCount, false);
  reader.BlockDefList();
  if (Header.Version >= 700) ReadImages(*this, in);
}
