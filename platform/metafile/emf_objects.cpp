// Pens, brushes and fonts of an EMF: created into the object table,
// selected from it or from the stock objects.
#include <cmath>
#include <cstring>
#include <numbers>

#include "dib_decoder.h"
#include "emf_records.h"
#include "metafile_geometry.h"

namespace emf_detail {

namespace {

TMetaPenStyle PenStyle(uint32_t style) {
  switch (style & U_PS_STYLE_MASK) {
    case U_PS_DASH: return TMetaPenStyle::Dash;
    case U_PS_DOT: case U_PS_ALTERNATE: return TMetaPenStyle::Dot;
    case U_PS_DASHDOT: return TMetaPenStyle::DashDot;
    case U_PS_DASHDOTDOT: return TMetaPenStyle::DashDotDot;
    case U_PS_NULL: return TMetaPenStyle::Null;
    default: return TMetaPenStyle::Solid;
  }
}

TEmfFont ReadFont(ByteReader& r) {
  TEmfFont f;
  f.Height = r.I32();
  f.Width = r.I32();
  f.Escapement = r.I32();
  r.Skip(4);  // orientation
  f.Weight = r.I32();
  f.Italic = r.U8() != 0;
  f.Underline = r.U8() != 0;
  f.StrikeOut = r.U8() != 0;
  f.CharSet = r.U8();
  r.Skip(4);
  char16_t face[U_LF_FACESIZE];
  for (char16_t& c : face) c = r.U16();
  f.Face = Utf16ToUtf8(face, U_LF_FACESIZE);
  return f;
}

}  // namespace

TMetaColor ColorRef(uint32_t c) {
  return {static_cast<uint8_t>(c & 0xFF), static_cast<uint8_t>((c >> 8) & 0xFF), static_cast<uint8_t>((c >> 16) & 0xFF)};
}


TEmfBrush MakeBrush(uint32_t style, uint32_t color, uint32_t hatch) {
  TEmfBrush b;
  b.Color = ColorRef(color);
  if (style == U_BS_SOLID) {
    b.Style = TMetaBrushStyle::Solid;
  } else if (style == U_BS_HATCHED && hatch <= U_HS_DIAGCROSS) {
    b.Style = TMetaBrushStyle::Hatched;
    b.Hatch = static_cast<TMetaHatch>(hatch);
  } else {
    b.Style = TMetaBrushStyle::Null;  // hollow, and the pattern brushes we do not draw
  }
  return b;
}

void TEmfPlayer::ObjectRecord(uint32_t type, ByteReader& r, const uint8_t* record, size_t size) {
  switch (type) {
    case U_EMR_CREATEPEN: {
      const uint32_t index = r.U32();
      TEmfPen pen;
      const uint32_t style = r.U32();
      pen.Style = PenStyle(style);
      pen.Width = r.I32();
      r.Skip(4);
      pen.Color = ColorRef(r.U32());
      pen.Cosmetic = pen.Width <= 0;
      CreateObject(index, pen);
      break;
    }
    case U_EMR_EXTCREATEPEN: {
      const uint32_t index = r.U32();
      r.Skip(16);  // bitmap of a pattern pen
      const uint32_t style = r.U32();
      TEmfPen pen;
      pen.Style = PenStyle(style);
      pen.Width = r.U32();
      const uint32_t brushStyle = r.U32();
      pen.Color = ColorRef(r.U32());
      pen.Cosmetic = (style & U_PS_TYPE_MASK) != U_PS_GEOMETRIC || pen.Width <= 0;
      if (brushStyle == U_BS_NULL) pen.Style = TMetaPenStyle::Null;
      const uint32_t cap = style & U_PS_ENDCAP_MASK, join = style & U_PS_JOIN_MASK;
      pen.Cap = cap == U_PS_ENDCAP_SQUARE ? TMetaCap::Square : cap == U_PS_ENDCAP_FLAT ? TMetaCap::Flat : TMetaCap::Round;
      pen.Join = join == U_PS_JOIN_BEVEL ? TMetaJoin::Bevel : join == U_PS_JOIN_MITER ? TMetaJoin::Miter : TMetaJoin::Round;
      CreateObject(index, pen);
      break;
    }
    case U_EMR_CREATEBRUSHINDIRECT: {
      const uint32_t index = r.U32();
      const uint32_t style = r.U32(), color = r.U32(), hatch = r.U32();
      CreateObject(index, MakeBrush(style, color, hatch));
      break;
    }
    case U_EMR_CREATEMONOBRUSH: case U_EMR_CREATEDIBPATTERNBRUSHPT: {
      const uint32_t index = r.U32();
      r.Skip(4);  // colour usage
      const uint32_t offBmi = r.U32(), cbBmi = r.U32(), offBits = r.U32(), cbBits = r.U32();
      TEmfBrush brush = MakeBrush(U_BS_NULL, 0, 0);
      if (offBmi <= size && cbBmi <= size - offBmi && offBits <= size && cbBits <= size - offBits) {
        bool noRoom = false;
        auto pixels = DecodeDib(record + offBmi, cbBmi, record + offBits, cbBits, sink_, &noRoom);
        if (noRoom) outOfRoom_ = true;
        if (pixels && IsPatternSize(*pixels)) {
          TRoomCharge charge(sink_);
          if (!Charge(charge, sizeof(TMetaPixels) + PixelBytes(*pixels))) break;
          brush.Style = TMetaBrushStyle::Pattern;
          brush.Pattern = std::move(pixels);
          brush.PatternCharge = std::make_shared<const TRoomCharge>(std::move(charge));
        }
      }
      CreateObject(index, std::move(brush));
      break;
    }
    case U_EMR_EXTCREATEFONTINDIRECTW: {
      const uint32_t index = r.U32();
      CreateObject(index, ReadFont(r));
      break;
    }
    default: break;
  }
}

void TEmfPlayer::CreateObject(uint32_t index, TEmfObject object) {
  // One object per record: the table never outgrows the file.
  if (index & U_STOCK_OBJECT) return;
  objects_[index] = std::move(object);
}

void TEmfPlayer::Select(uint32_t index) {
  if (index & U_STOCK_OBJECT) {
    switch (index) {
      case U_WHITE_BRUSH: dc_.Brush = MakeBrush(U_BS_SOLID, 0xFFFFFF, 0); break;
      case U_LTGRAY_BRUSH: dc_.Brush = MakeBrush(U_BS_SOLID, 0xC0C0C0, 0); break;
      case U_GRAY_BRUSH: dc_.Brush = MakeBrush(U_BS_SOLID, 0x808080, 0); break;
      case U_DKGRAY_BRUSH: dc_.Brush = MakeBrush(U_BS_SOLID, 0x404040, 0); break;
      case U_BLACK_BRUSH: dc_.Brush = MakeBrush(U_BS_SOLID, 0, 0); break;
      case U_NULL_BRUSH: dc_.Brush = MakeBrush(U_BS_NULL, 0, 0); break;
      case U_WHITE_PEN: dc_.Pen = TEmfPen{}; dc_.Pen.Color = {255, 255, 255}; break;
      case U_BLACK_PEN: dc_.Pen = TEmfPen{}; break;
      case U_NULL_PEN: dc_.Pen = TEmfPen{}; dc_.Pen.Style = TMetaPenStyle::Null; break;
      case U_OEM_FIXED_FONT: case U_ANSI_FIXED_FONT: case U_ANSI_VAR_FONT: case U_SYSTEM_FONT:
      case U_DEVICE_DEFAULT_FONT: case U_SYSTEM_FIXED_FONT: case U_DEFAULT_GUI_FONT:
        dc_.Font = TEmfFont{};
        break;
      default: break;
    }
    return;
  }
  const auto it = objects_.find(index);
  if (it == objects_.end()) return;
  if (const auto* pen = std::get_if<TEmfPen>(&it->second)) dc_.Pen = *pen;
  if (const auto* brush = std::get_if<TEmfBrush>(&it->second)) dc_.Brush = *brush;
  if (const auto* font = std::get_if<TEmfFont>(&it->second)) dc_.Font = *font;
}

}  // namespace emf_detail
