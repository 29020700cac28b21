#include "emf_player.h"

#include <uemf.h>
#include <uemf_safe.h>

#include <cmath>
#include <cstring>
#include <numbers>
#include <unordered_map>

#include "byte_io.h"
#include "dib_decoder.h"
#include "emf_state.h"
#include "metafile_geometry.h"
#include "sjis.h"

namespace {

constexpr size_t kHeaderBytes = 88;    // up to the reference device's size
constexpr size_t kMaxSavedStates = 1024;
constexpr double kMaxCoordinate = 1e9;  // picture pixels; beyond is no picture
constexpr double kMaxPicturePixels = 1e6;
constexpr uint32_t kMwtSet = 4;  // newer than libuemf's list

struct TEmfHeader {
  int32_t BoundsLeft = 0, BoundsTop = 0, BoundsRight = 0, BoundsBottom = 0;
  int32_t FrameLeft = 0, FrameTop = 0, FrameRight = 0, FrameBottom = 0;
  int32_t DeviceX = 0, DeviceY = 0, MillimetresX = 0, MillimetresY = 0;
  uint32_t Handles = 0;
};

bool ReadHeader(const uint8_t* data, size_t size, TEmfHeader& h) {
  if (size < kHeaderBytes) return false;
  ByteReader r(data, size);
  if (r.U32() != U_EMR_HEADER) return false;
  const uint32_t recordSize = r.U32();
  if (recordSize < kHeaderBytes || recordSize > size) return false;
  h.BoundsLeft = r.I32(), h.BoundsTop = r.I32(), h.BoundsRight = r.I32(), h.BoundsBottom = r.I32();
  h.FrameLeft = r.I32(), h.FrameTop = r.I32(), h.FrameRight = r.I32(), h.FrameBottom = r.I32();
  if (r.U32() != U_ENHMETA_SIGNATURE) return false;
  r.Skip(12);  // version, bytes, records
  h.Handles = r.U16();
  r.Skip(2 + 12);  // reserved, description, palette entries
  h.DeviceX = r.I32(), h.DeviceY = r.I32(), h.MillimetresX = r.I32(), h.MillimetresY = r.I32();
  return true;
}

bool PictureSize(const TEmfHeader& h, TMetafileSize& out) {
  const double w = std::round((static_cast<double>(h.FrameRight) - h.FrameLeft) * 96 / 2540);
  const double ht = std::round((static_cast<double>(h.FrameBottom) - h.FrameTop) * 96 / 2540);
  if (!(w >= 1 && ht >= 1 && w <= kMaxPicturePixels && ht <= kMaxPicturePixels)) return false;
  out.Width = static_cast<int32_t>(w);
  out.Height = static_cast<int32_t>(ht);
  return true;
}

TMetaColor ColorRef(uint32_t c) {
  return {static_cast<uint8_t>(c & 0xFF), static_cast<uint8_t>((c >> 8) & 0xFF), static_cast<uint8_t>((c >> 16) & 0xFF)};
}

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

class TEmfPlayer {
 public:
  TEmfPlayer(const TEmfHeader& h, TMetafileSink& sink) : sink_(sink) {
    if (h.DeviceX > 0 && h.DeviceY > 0 && h.MillimetresX > 0 && h.MillimetresY > 0) {
      page_.DevicePixelsX = h.DeviceX, page_.DevicePixelsY = h.DeviceY;
      page_.DeviceMmX = h.MillimetresX, page_.DeviceMmY = h.MillimetresY;
    }
    page_.FrameLeft = h.FrameLeft;
    page_.FrameTop = h.FrameTop;
  }

  // False at the end-of-file record.
  bool Play(uint32_t type, ByteReader& r, const uint8_t* record, size_t size);

 private:
  TXform Map() const { return LogicalToPicture(dc_, page_); }
  TMetaPoint ReadPoint(ByteReader& r, bool small) {
    if (small) {
      const auto x = static_cast<int16_t>(r.U16());
      const auto y = static_cast<int16_t>(r.U16());
      return {static_cast<double>(x), static_cast<double>(y)};
    }
    const double x = r.I32();
    return {x, static_cast<double>(r.I32())};
  }
  std::vector<TMetaPoint> ReadPoints(ByteReader& r, uint32_t count, bool small) {
    r.Require(size_t{count} * (small ? 4 : 8));
    std::vector<TMetaPoint> points;
    points.reserve(count);
    for (uint32_t i = 0; i < count; ++i) points.push_back(ReadPoint(r, small));
    return points;
  }

  TMetaPen PicturePen(const TXform& m) const;
  TMetaBrush PictureBrush() const;
  // Logical figures mapped and drawn (or added to the open path).
  void Draw(std::vector<TMetaFigure> figures, bool fill, bool stroke);
  void DrawPath(bool fill, bool stroke);
  void FillRect(TMetaPoint a, TMetaPoint b, TMetaColor color);
  bool ArcDecreasing() const { return (Map().Determinant() > 0) != dc_.ClockwiseArcs; }
  double PixelsPerUnit() const { return std::sqrt(std::abs(Map().Determinant())); }

  void PolyRecord(uint32_t type, ByteReader& r, bool small);
  void PolyPolyRecord(ByteReader& r, bool fill, bool small);
  void TextRecord(ByteReader& r, const uint8_t* record, size_t size, bool wide);
  void BitmapRecord(uint32_t type, ByteReader& r, const uint8_t* record, size_t size);
  void DrawBitmap(const uint8_t* record, size_t size, uint32_t offBmi, uint32_t cbBmi, uint32_t offBits,
                  uint32_t cbBits, TMetaPoint dest, TMetaPoint destSize, TMetaPoint src, TMetaPoint srcSize);
  void Select(uint32_t index);
  void CreateObject(uint32_t index, TEmfObject object);
  void Line(TMetaPoint to);

  TMetafileSink& sink_;
  TEmfPage page_;
  TEmfDc dc_;
  std::vector<TEmfDc> saved_;
  std::unordered_map<uint32_t, TEmfObject> objects_;
  bool inPath_ = false;
  bool newFigure_ = true;
  std::vector<TMetaFigure> path_;  // picture pixels
};

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
    for (TMetaFigure& f : shape.Figures) path_.push_back(std::move(f));
    newFigure_ = true;
    return;
  }
  shape.Fill = fill;
  shape.Stroke = stroke;
  shape.Winding = dc_.Winding;
  sink_.Shape(shape, PicturePen(m), PictureBrush());
}

void TEmfPlayer::DrawPath(bool fill, bool stroke) {
  TMetaShape shape;
  shape.Figures = std::move(path_);
  path_.clear();
  shape.Fill = fill;
  shape.Stroke = stroke;
  shape.Winding = dc_.Winding;
  if (!shape.Figures.empty()) sink_.Shape(shape, PicturePen(Map()), PictureBrush());
}

void TEmfPlayer::FillRect(TMetaPoint a, TMetaPoint b, TMetaColor color) {
  const TEmfBrush keep = dc_.Brush;
  dc_.Brush = TEmfBrush{TMetaBrushStyle::Solid, color, TMetaHatch::Horizontal};
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
    if (newFigure_ || path_.empty() || path_.back().Closed) path_.push_back(TMetaFigure{{a}, false});
    newFigure_ = false;
    path_.back().Points.push_back(b);
    return;
  }
  Draw({TMetaFigure{{from, to}, false}}, false, true);
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
  if (bezier) {
    line.push_back(points[0]);
    for (size_t i = 1; i + 2 < points.size(); i += 3) AppendBezier(line, points[i - 1], points[i], points[i + 1], points[i + 2]);
  } else {
    line = points;
  }
  if (to) {
    dc_.Position = points.back();
    if (inPath_) {
      for (size_t i = 1; i < line.size(); ++i) {
        dc_.Position = line[i - 1];
        Line(line[i]);
      }
      return;
    }
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

  TMetaText text;
  if (wide) {
    std::u16string units(chars, u'\0');
    std::memcpy(units.data(), record + offString, bytes);
    text.Utf8 = Utf16ToUtf8(units.data(), units.size());
  } else {
    const std::string raw(reinterpret_cast<const char*>(record + offString), bytes);
    text.Utf8 = dc_.Font.CharSet == U_SHIFTJIS_CHARSET ? SjisToUtf8(raw) : Utf16ToUtf8(std::u16string(raw.begin(), raw.end()).data(), raw.size());
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

bool FiniteXform(const TXform& x) {
  return std::isfinite(x.M11) && std::isfinite(x.M12) && std::isfinite(x.M21) && std::isfinite(x.M22) &&
         std::isfinite(x.Dx) && std::isfinite(x.Dy);
}

double ReadFloat(ByteReader& r) {
  const uint32_t bits = r.U32();
  float v;
  std::memcpy(&v, &bits, 4);
  return v;
}

TXform ReadXform(ByteReader& r) {
  auto f = [&r] { return ReadFloat(r); };
  TXform x;
  x.M11 = f(), x.M12 = f(), x.M21 = f(), x.M22 = f(), x.Dx = f(), x.Dy = f();
  return x;
}

TMetaPoint Corner(ByteReader& r) {
  const double x = r.I32();
  return {x, static_cast<double>(r.I32())};
}

bool TEmfPlayer::Play(uint32_t type, ByteReader& r, const uint8_t* record, size_t size) {
  r.Skip(8);
  switch (type) {
    case U_EMR_EOF: return false;
    case U_EMR_POLYBEZIER: case U_EMR_POLYGON: case U_EMR_POLYLINE: case U_EMR_POLYBEZIERTO: case U_EMR_POLYLINETO:
      PolyRecord(type, r, false);
      break;
    case U_EMR_POLYBEZIER16: case U_EMR_POLYGON16: case U_EMR_POLYLINE16: case U_EMR_POLYBEZIERTO16:
    case U_EMR_POLYLINETO16:
      PolyRecord(type, r, true);
      break;
    case U_EMR_POLYPOLYLINE: PolyPolyRecord(r, false, false); break;
    case U_EMR_POLYPOLYGON: PolyPolyRecord(r, true, false); break;
    case U_EMR_POLYPOLYLINE16: PolyPolyRecord(r, false, true); break;
    case U_EMR_POLYPOLYGON16: PolyPolyRecord(r, true, true); break;
    case U_EMR_SETWINDOWEXTEX: dc_.WindowExtX = r.I32(), dc_.WindowExtY = r.I32(); break;
    case U_EMR_SETWINDOWORGEX: dc_.WindowOrgX = r.I32(), dc_.WindowOrgY = r.I32(); break;
    case U_EMR_SETVIEWPORTEXTEX: dc_.ViewportExtX = r.I32(), dc_.ViewportExtY = r.I32(); break;
    case U_EMR_SETVIEWPORTORGEX: dc_.ViewportOrgX = r.I32(), dc_.ViewportOrgY = r.I32(); break;
    case U_EMR_SCALEVIEWPORTEXTEX: case U_EMR_SCALEWINDOWEXTEX: {
      const double xNum = r.I32(), xDen = r.I32(), yNum = r.I32(), yDen = r.I32();
      if (xDen == 0 || yDen == 0) break;
      double& ex = type == U_EMR_SCALEVIEWPORTEXTEX ? dc_.ViewportExtX : dc_.WindowExtX;
      double& ey = type == U_EMR_SCALEVIEWPORTEXTEX ? dc_.ViewportExtY : dc_.WindowExtY;
      ex = ex * xNum / xDen;
      ey = ey * yNum / yDen;
      break;
    }
    case U_EMR_SETMAPMODE: {
      const uint32_t mode = r.U32();
      if (mode >= kMmText && mode <= kMmAnisotropic) dc_.MapMode = mode;
      break;
    }
    case U_EMR_SETBKMODE: dc_.OpaqueBackground = r.U32() == U_OPAQUE; break;
    case U_EMR_SETPOLYFILLMODE: dc_.Winding = r.U32() == U_WINDING; break;
    case U_EMR_SETTEXTALIGN: dc_.TextAlign = r.U32(); break;
    case U_EMR_SETTEXTCOLOR: dc_.TextColor = ColorRef(r.U32()); break;
    case U_EMR_SETBKCOLOR: dc_.BackColor = ColorRef(r.U32()); break;
    case U_EMR_SETARCDIRECTION: dc_.ClockwiseArcs = r.U32() == U_AD_CLOCKWISE; break;
    case U_EMR_MOVETOEX:
      dc_.Position = Corner(r);
      newFigure_ = true;
      break;
    case U_EMR_LINETO: Line(Corner(r)); break;
    case U_EMR_SAVEDC:
      if (saved_.size() < kMaxSavedStates) saved_.push_back(dc_);
      break;
    case U_EMR_RESTOREDC: {
      const int32_t n = r.I32();
      // Negative: that many states back; positive: the n-th state saved.
      const size_t keep = n < 0 ? (static_cast<size_t>(-static_cast<int64_t>(n)) <= saved_.size() ? saved_.size() + n : SIZE_MAX)
                                : (n >= 1 && static_cast<size_t>(n) <= saved_.size() ? static_cast<size_t>(n) - 1 : SIZE_MAX);
      if (keep == SIZE_MAX) break;
      dc_ = saved_[keep];
      saved_.resize(keep);
      break;
    }
    case U_EMR_SETWORLDTRANSFORM: {
      const TXform x = ReadXform(r);
      if (FiniteXform(x)) dc_.World = x;
      break;
    }
    case U_EMR_MODIFYWORLDTRANSFORM: {
      const TXform x = ReadXform(r);
      const uint32_t mode = r.U32();
      if (!FiniteXform(x)) break;
      if (mode == U_MWT_IDENTITY) dc_.World = TXform{};
      if (mode == U_MWT_LEFTMULTIPLY) dc_.World = Compose(x, dc_.World);
      if (mode == U_MWT_RIGHTMULTIPLY) dc_.World = Compose(dc_.World, x);
      if (mode == kMwtSet) dc_.World = x;
      break;
    }
    case U_EMR_SELECTOBJECT: Select(r.U32()); break;
    case U_EMR_DELETEOBJECT: objects_.erase(r.U32()); break;
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
    case U_EMR_CREATEMONOBRUSH: case U_EMR_CREATEDIBPATTERNBRUSHPT:
      CreateObject(r.U32(), MakeBrush(U_BS_NULL, 0, 0));
      break;
    case U_EMR_EXTCREATEFONTINDIRECTW: {
      const uint32_t index = r.U32();
      CreateObject(index, ReadFont(r));
      break;
    }
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
        Line(figure.Points.front());
        for (size_t i = 1; i < figure.Points.size(); ++i) Line(figure.Points[i]);
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
      for (const TMetaPoint& p : points) Line(p);
      break;
    }
    case U_EMR_SETPIXELV: {
      const TMetaPoint p = Corner(r);
      const TXform m = Map();
      const double sx = m.M11 != 0 ? 1 / std::abs(m.M11) : 1, sy = m.M22 != 0 ? 1 / std::abs(m.M22) : 1;
      FillRect(p, {p.X + sx, p.Y + sy}, ColorRef(r.U32()));
      break;
    }
    case U_EMR_BEGINPATH: inPath_ = true, newFigure_ = true, path_.clear(); break;
    case U_EMR_ENDPATH: inPath_ = false; break;
    case U_EMR_ABORTPATH: inPath_ = false, path_.clear(); break;
    case U_EMR_CLOSEFIGURE:
      if (!path_.empty()) path_.back().Closed = true;
      newFigure_ = true;
      break;
    case U_EMR_FILLPATH: DrawPath(true, false); break;
    case U_EMR_STROKEANDFILLPATH: DrawPath(true, true); break;
    case U_EMR_STROKEPATH: DrawPath(false, true); break;
    case U_EMR_SELECTCLIPPATH: path_.clear(); break;
    case U_EMR_EXTTEXTOUTW: TextRecord(r, record, size, true); break;
    case U_EMR_EXTTEXTOUTA: TextRecord(r, record, size, false); break;
    case U_EMR_BITBLT: case U_EMR_STRETCHBLT: case U_EMR_STRETCHDIBITS: case U_EMR_SETDIBITSTODEVICE:
      BitmapRecord(type, r, record, size);
      break;
    default: break;  // comments (EMF+ among them), clipping, palettes, ...
  }
  return true;
}

}  // namespace

bool ReadEmfSize(const uint8_t* data, size_t size, TMetafileSize& out) {
  TEmfHeader h;
  return data && ReadHeader(data, size, h) && PictureSize(h, out);
}

bool PlayEmf(const uint8_t* data, size_t size, TMetafileSink& sink) {
  TEmfHeader h;
  TMetafileSize pictureSize;
  if (!data || !ReadHeader(data, size, h) || !PictureSize(h, pictureSize)) return false;
  TEmfPlayer player(h, sink);
  size_t at = 0;
  while (size - at >= 8) {
    uint32_t type, length;
    std::memcpy(&type, data + at, 4);
    std::memcpy(&length, data + at + 4, 4);
    // The record must lie within the bytes before libuemf looks inside it.
    if (length < 8 || length % 4 != 0 || length > size - at) break;
    const uint8_t* record = data + at;
    at += length;
    if (at == length) continue;  // the header
    if (!U_emf_record_safe(reinterpret_cast<const char*>(record))) continue;
    try {
      ByteReader r(record, length);
      if (!player.Play(type, r, record, length)) break;
    } catch (const JwwReadError&) {
      // A record shorter than its fields is skipped.
    }
  }
  return true;
}
