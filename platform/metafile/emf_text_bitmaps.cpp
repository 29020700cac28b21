// EMF texts (ExtTextOut, wide and eight-bit) and bitmaps (blits and
// stretched device-independent bitmaps).
#include <cmath>
#include <cstring>
#include <numbers>

#include "emf_records.h"
#include "dib_decoder.h"
#include "metafile_geometry.h"
#include "sjis.h"

namespace emf_detail {

void TEmfPlayer::TextRecord(ByteReader& r, const uint8_t* record, size_t size, bool wide) {
  r.Skip(16 + 12);  // bounds, graphics mode, scales
  const TMetaPoint reference = ReadPoint(r, false);
  const uint32_t chars = r.U32();
  const uint32_t offString = r.U32();
  const uint32_t options = r.U32();
  const bool hasRect = !(options & U_ETO_NO_RECT);
  TMetaPoint rectA, rectB;
  if (hasRect) {
    rectA = ReadPoint(r, false);
    rectB = ReadPoint(r, false);
  }
  const size_t bytes = size_t{chars} * (wide ? 2 : 1);
  if (offString > size || bytes > size - offString) return;
  if (hasRect && (options & U_ETO_OPAQUE)) FillRect(rectA, rectB, dc_.BackColor);
  // Glyph numbers of the writer's font mean nothing without that font.
  if (options & U_ETO_GLYPH_INDEX) return;

  TMetaText text;
  if (wide) {
    std::u16string units(chars, u'\0');
    std::memcpy(units.data(), record + offString, bytes);
    text.Utf8 = Utf16ToUtf8(units.data(), units.size());
  } else {
    const std::string raw(reinterpret_cast<const char*>(record + offString), bytes);
    if (dc_.Font.CharSet == U_SHIFTJIS_CHARSET) {
      text.Utf8 = SjisToUtf8(raw);
    } else {
      std::u16string latin;
      for (unsigned char c : raw) latin.push_back(c);
      text.Utf8 = Utf16ToUtf8(latin.data(), latin.size());
    }
  }
  if (text.Utf8.empty()) return;

  const TXform m = Map();
  const TMetaPoint origin = (dc_.TextAlign & U_TA_UPDATECP) ? dc_.Position : reference;
  text.Origin = m.Apply(origin.X, origin.Y);
  if (!(std::abs(text.Origin.X) <= kMaxCoordinate && std::abs(text.Origin.Y) <= kMaxCoordinate)) return;
  const double yScale = std::hypot(m.M21, m.M22), xScale = std::hypot(m.M11, m.M12);
  const TEmfFont& f = dc_.Font;
  text.Font.Height = f.Height == 0 ? 16 : std::abs(static_cast<double>(f.Height)) * yScale;
  text.Font.CellHeight = f.Height > 0;
  text.Font.Width = std::abs(static_cast<double>(f.Width)) * xScale;
  text.Font.EscapementDegrees = f.Escapement / 10.0;
  text.Font.Weight = f.Weight;
  text.Font.Italic = f.Italic, text.Font.Underline = f.Underline, text.Font.StrikeOut = f.StrikeOut;
  text.Font.Face = f.Face;
  if (!(text.Font.Height <= kMaxPicturePixels) || !(text.Font.Width <= kMaxPicturePixels)) return;
  text.Color = dc_.TextColor;
  const uint32_t h = dc_.TextAlign & (U_TA_CENTER | U_TA_RIGHT);
  text.HAlign = h == U_TA_CENTER ? TMetaHAlign::Center : h == U_TA_RIGHT ? TMetaHAlign::Right : TMetaHAlign::Left;
  const uint32_t v = dc_.TextAlign & U_TA_BASELINE;
  text.VAlign = v == U_TA_BASELINE ? TMetaVAlign::Baseline : v == U_TA_BOTTOM ? TMetaVAlign::Bottom : TMetaVAlign::Top;
  text.OpaqueBackground = dc_.OpaqueBackground;
  text.Background = dc_.BackColor;
  SyncClip();
  sink_.Text(text);
}

void TEmfPlayer::DrawBitmap(const uint8_t* record, size_t size, uint32_t offBmi, uint32_t cbBmi, uint32_t offBits,
                            uint32_t cbBits, TMetaPoint dest, TMetaPoint destSize, TMetaPoint src, TMetaPoint srcSize) {
  if (offBmi > size || cbBmi > size - offBmi || offBits > size || cbBits > size - offBits || cbBmi < 12) return;
  auto pixels = DecodeDib(record + offBmi, cbBmi, record + offBits, cbBits, sink_);
  if (!pixels) return;
  int32_t headerHeight = 0;
  if (cbBmi >= 12) std::memcpy(&headerHeight, record + offBmi + 8, 4);
  TMetaImage image;
  image.SourceX = src.X;
  image.SourceWidth = srcSize.X;
  image.SourceHeight = srcSize.Y;
  // Rows of a bottom-up bitmap count from its lower edge.
  const bool bottomUp = headerHeight > 0 && cbBmi >= 40;
  image.SourceY = bottomUp ? pixels->Height - src.Y - srcSize.Y : src.Y;
  const TXform m = Map();
  image.TopLeft = m.Apply(dest.X, dest.Y);
  image.TopRight = m.Apply(dest.X + destSize.X, dest.Y);
  image.BottomLeft = m.Apply(dest.X, dest.Y + destSize.Y);
  for (const TMetaPoint& p : {image.TopLeft, image.TopRight, image.BottomLeft}) {
    if (!(std::abs(p.X) <= kMaxCoordinate && std::abs(p.Y) <= kMaxCoordinate)) return;
  }
  image.Pixels = std::move(pixels);
  SyncClip();
  sink_.Image(image);
}

void TEmfPlayer::BitmapRecord(uint32_t type, ByteReader& r, const uint8_t* record, size_t size) {
  r.Skip(16);  // bounds
  const TMetaPoint dest = ReadPoint(r, false);
  if (type == U_EMR_STRETCHDIBITS || type == U_EMR_SETDIBITSTODEVICE) {
    const TMetaPoint src = ReadPoint(r, false);
    const TMetaPoint srcSize = ReadPoint(r, false);
    const uint32_t offBmi = r.U32(), cbBmi = r.U32(), offBits = r.U32(), cbBits = r.U32();
    r.Skip(4);  // colour usage
    if (type == U_EMR_SETDIBITSTODEVICE) {
      DrawBitmap(record, size, offBmi, cbBmi, offBits, cbBits, dest, srcSize, src, srcSize);
      return;
    }
    const uint32_t rop = r.U32();
    const TMetaPoint destSize = ReadPoint(r, false);
    if (rop == U_SRCCOPY) DrawBitmap(record, size, offBmi, cbBmi, offBits, cbBits, dest, destSize, src, srcSize);
    return;
  }
  // Bit and stretch blits: with no bitmap the raster operation paints the
  // rectangle with the brush, black or white.
  const TMetaPoint destSize = ReadPoint(r, false);
  const uint32_t rop = r.U32();
  const TMetaPoint src = ReadPoint(r, false);
  r.Skip(24 + 4 + 4);  // source transform, background colour, usage
  const uint32_t offBmi = r.U32(), cbBmi = r.U32(), offBits = r.U32(), cbBits = r.U32();
  const TMetaPoint srcSize = type == U_EMR_STRETCHBLT ? ReadPoint(r, false) : destSize;
  const TMetaPoint far{dest.X + destSize.X, dest.Y + destSize.Y};
  if (cbBmi == 0) {
    if (rop == U_PATCOPY && dc_.Brush.Style != TMetaBrushStyle::Null) {
      const bool wasInPath = inPath_;
      inPath_ = false;
      Draw({TMetaFigure{{dest, {far.X, dest.Y}, far, {dest.X, far.Y}}, true}}, true, false);
      inPath_ = wasInPath;
    } else if (rop == U_BLACKNESS) {
      FillRect(dest, far, {0, 0, 0});
    } else if (rop == U_WHITENESS) {
      FillRect(dest, far, {255, 255, 255});
    }
    return;
  }
  if (rop == U_SRCCOPY) DrawBitmap(record, size, offBmi, cbBmi, offBits, cbBits, dest, destSize, src, srcSize);
}

}  // namespace emf_detail
