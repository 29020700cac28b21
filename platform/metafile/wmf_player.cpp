#include "wmf_player.h"

// libwmf's headers pull in freetype's; only this file sees them.
#include <libwmf/api.h>
#include <libwmf/defs.h>
#include <libwmf/ipa.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>

#include "dib_decoder.h"
#include "metafile_geometry.h"
#include "metafile_room.h"
#include "sjis.h"
#include "wmf_checker.h"

namespace {

constexpr size_t kLibraryBudgetBytes = size_t{256} << 20;
constexpr double kPixelsPerPoint = 96.0 / 72.0;  // libwmf's units are points
constexpr double kMaxPicturePixels = 1e6;
// Picture pixels; beyond, no picture, and painters lose precision.
constexpr double kMaxCoordinate = 1e7;
constexpr size_t kRoomToGoOn = size_t{64} << 10;
constexpr uint8_t kShiftJisCharset = 128;
constexpr uint32_t kSrcCopy = 0x00CC0020, kPatCopy = 0x00F00021, kBlackness = 0x00000042, kWhiteness = 0x00FF0062;

// libwmf's allocations, each with its size in front, within a budget.
struct TAllocator {
  size_t Used = 0;
  static constexpr size_t kFront = 16;
  static void* Malloc(void* context, size_t size) {
    auto* a = static_cast<TAllocator*>(context);
    if (size > kLibraryBudgetBytes - a->Used) return nullptr;
    auto* p = static_cast<uint8_t*>(std::malloc(size + kFront));
    if (!p) return nullptr;
    std::memcpy(p, &size, sizeof size);
    a->Used += size;
    return p + kFront;
  }
  static void Free(void* context, void* mem) {
    if (!mem) return;
    auto* p = static_cast<uint8_t*>(mem) - kFront;
    size_t size;
    std::memcpy(&size, p, sizeof size);
    static_cast<TAllocator*>(context)->Used -= size;
    std::free(p);
  }
  static void* Realloc(void* context, void* mem, size_t size) {
    if (!mem) return Malloc(context, size);
    size_t old;
    std::memcpy(&old, static_cast<uint8_t*>(mem) - kFront, sizeof old);
    void* fresh = Malloc(context, size);
    if (!fresh) return nullptr;
    std::memcpy(fresh, mem, std::min(old, size));
    Free(context, mem);
    return fresh;
  }
};

struct TWmfPlayer {
  TMetafileSink* Sink = nullptr;
  double OriginX = 0, OriginY = 0;  // libwmf coordinates of the picture's corner
  // libwmf scales logical units by the placeable header's units per inch
  // alone; Windows fits the window onto the picture. BoxWidth and BoxHeight
  // (logical units, 0 without a placeable header) let Map do the same.
  double BoxWidth = 0, BoxHeight = 0;
  const wmfBrush* DefaultBrush = nullptr;
  // Bitmaps libwmf had us decode (pattern brushes among them), held from the
  // sink's room until libwmf frees them.
  struct THeldBitmap {
    std::shared_ptr<TMetaPixels> Pixels;
    TRoomCharge Charge;
  };
  std::deque<THeldBitmap> Bitmaps;
  // A bitmap found no room: the picture is refused.
  bool OutOfRoom = false;

  double ScaleX(const wmfDC* dc) const {
    const double ext = dc && dc->Window.width != 0 ? std::abs(dc->Window.width) : BoxWidth;
    return BoxWidth > 0 ? kPixelsPerPoint * BoxWidth / ext : kPixelsPerPoint;
  }
  double ScaleY(const wmfDC* dc) const {
    const double ext = dc && dc->Window.height != 0 ? std::abs(dc->Window.height) : BoxHeight;
    return BoxHeight > 0 ? kPixelsPerPoint * BoxHeight / ext : kPixelsPerPoint;
  }
  double Scale(const wmfDC* dc) const { return std::sqrt(ScaleX(dc) * ScaleY(dc)); }
  TMetaPoint Map(const wmfD_Coord& c, const wmfDC* dc) const {
    return SnapToPixel(TMetaPoint{(c.x - OriginX) * ScaleX(dc), (c.y - OriginY) * ScaleY(dc)});
  }
};

bool Usable(TMetaPoint p) { return std::abs(p.X) <= kMaxCoordinate && std::abs(p.Y) <= kMaxCoordinate; }

TWmfPlayer& Player(wmfAPI* api) { return *static_cast<TWmfPlayer*>(api->device_data); }

TMetaColor Color(const wmfRGB& c) { return {c.r, c.g, c.b}; }

TMetaPen Pen(const TWmfPlayer& player, const wmfDC* dc) {
  TMetaPen pen;
  const wmfPen* p = dc->pen;
  if (!p) return pen;
  switch (p->lopnStyle & PS_STYLE_MASK) {
    case PS_DASH: pen.Style = TMetaPenStyle::Dash; break;
    case PS_DOT: case PS_ALTERNATE: pen.Style = TMetaPenStyle::Dot; break;
    case PS_DASHDOT: pen.Style = TMetaPenStyle::DashDot; break;
    case PS_DASHDOTDOT: pen.Style = TMetaPenStyle::DashDotDot; break;
    case PS_NULL: pen.Style = TMetaPenStyle::Null; break;
    default: break;
  }
  const unsigned cap = p->lopnStyle & PS_ENDCAP_MASK, join = p->lopnStyle & PS_JOIN_MASK;
  pen.Cap = cap == PS_ENDCAP_SQUARE ? TMetaCap::Square : cap == PS_ENDCAP_FLAT ? TMetaCap::Flat : TMetaCap::Round;
  pen.Join = join == PS_JOIN_BEVEL ? TMetaJoin::Bevel : join == PS_JOIN_MITER ? TMetaJoin::Miter : TMetaJoin::Round;
  // libwmf widens a zero-width pen to a device pixel: both are hairlines.
  const double w = p->width * player.Scale(dc);
  pen.Width = std::isfinite(w) && w >= 1.5 ? std::min(w, 1e5) : 0;
  pen.Color = Color(p->lopnColor);
  return pen;
}

// The bitmap of a pattern brush, when libwmf had us decode it (bmp.data is
// only ever set by BitmapRead).
std::shared_ptr<const TMetaPixels> PatternOf(const wmfBrush* b) {
  if ((b->lbStyle != BS_PATTERN && b->lbStyle != BS_DIBPATTERN) || !b->bmp.data) return nullptr;
  const auto& pixels = static_cast<const TWmfPlayer::THeldBitmap*>(b->bmp.data)->Pixels;
  if (!pixels || !IsPatternSize(*pixels)) return nullptr;
  return pixels;
}

TMetaBrush Brush(const TWmfPlayer& player, const wmfDC* dc) {
  TMetaBrush brush;
  brush.OpaqueBackground = dc->bgmode == OPAQUE;
  brush.Background = Color(dc->bgcolor);
  const wmfBrush* b = dc->brush;
  // libwmf starts with a hollow brush, Windows with a solid white one.
  if (!b || b == player.DefaultBrush) return brush;
  brush.Color = Color(b->lbColor);
  if (b->lbStyle == BS_SOLID) {
    brush.Style = TMetaBrushStyle::Solid;
  } else if (b->lbStyle == BS_HATCHED && b->lbHatch <= HS_DIAGCROSS) {
    brush.Style = TMetaBrushStyle::Hatched;
    brush.Hatch = static_cast<TMetaHatch>(b->lbHatch);
  } else if (auto pattern = PatternOf(b)) {
    brush.Style = TMetaBrushStyle::Pattern;
    brush.Pattern = std::move(pattern);
  } else {
    brush.Style = TMetaBrushStyle::Null;  // hollow, and pattern brushes we do not draw
  }
  return brush;
}

void Draw(wmfAPI* api, const wmfDC* dc, std::vector<TMetaFigure> figures, bool fill) {
  TWmfPlayer& p = Player(api);
  TMetaShape shape;
  for (TMetaFigure& f : figures) {
    bool usable = !f.Points.empty();
    for (const TMetaPoint& pt : f.Points) usable = usable && Usable(pt);
    if (usable) shape.Figures.push_back(std::move(f));
  }
  if (shape.Figures.empty()) return;
  shape.Fill = fill;
  shape.Winding = dc->polyfillmode == WINDING;
  p.Sink->Shape(shape, Pen(p, dc), Brush(p, dc));
}

std::vector<TMetaPoint> Points(wmfAPI* api, const wmfDC* dc, const wmfD_Coord* pts, size_t count) {
  std::vector<TMetaPoint> out;
  out.reserve(count);
  for (size_t i = 0; i < count; ++i) out.push_back(Player(api).Map(pts[i], dc));
  return out;
}

void FillRect(wmfAPI* api, TMetaPoint a, TMetaPoint b, TMetaColor color) {
  if (!Usable(a) || !Usable(b)) return;
  TMetaShape shape;
  shape.Figures.push_back(TMetaFigure{{a, {b.X, a.Y}, b, {a.X, b.Y}}, true});
  shape.Fill = true;
  shape.Stroke = false;
  TMetaBrush brush;
  brush.Color = color;
  Player(api).Sink->Shape(shape, TMetaPen{}, brush);
}

void DrawArc(wmfAPI* api, wmfDrawArc_t* a, TArcKind kind, bool whole) {
  const TWmfPlayer& p = Player(api);
  const TMetaPoint tl = p.Map(a->TL, a->dc), br = p.Map(a->BR, a->dc);
  TMetaPoint start{br.X, (tl.Y + br.Y) / 2}, end = start;
  if (!whole) {
    // libwmf hands the ray points relative to the centre.
    const TMetaPoint c{(tl.X + br.X) / 2, (tl.Y + br.Y) / 2};
    const double sx = p.ScaleX(a->dc), sy = p.ScaleY(a->dc);
    start = {c.X + a->start.x * sx, c.Y + a->start.y * sy};
    end = {c.X + a->end.x * sx, c.Y + a->end.y * sy};
  }
  // libwmf hands the ends the other way round: clockwise from its start.
  TMetaFigure f = ArcFigure(tl.X, tl.Y, br.X, br.Y, start, end, whole ? TArcKind::Chord : kind, false, 1);
  Draw(api, a->dc, {std::move(f)}, whole || kind != TArcKind::Arc);
}

// ---- libwmf callbacks ----

void Nothing(wmfAPI*) {}
void NoFlood(wmfAPI*, wmfFlood_t*) {}
void NoUserData(wmfAPI*, wmfUserData_t*) {}
void NoRegion(wmfAPI*, wmfPolyRectangle_t*) {}

// libwmf hands the clip region as rectangles whenever it changes.
void RegionClip(wmfAPI* api, wmfPolyRectangle_t* r) {
  const TWmfPlayer& p = Player(api);
  TMetaClip clip;
  if (r->count > 0 && r->TL && r->BR) {
    TMetaClipStep step;
    for (unsigned i = 0; i < r->count; ++i) {
      const TMetaPoint a = p.Map(r->TL[i], r->dc), b = p.Map(r->BR[i], r->dc);
      if (Usable(a) && Usable(b)) step.Figures.push_back(TMetaFigure{{a, {b.X, a.Y}, b, {a.X, b.Y}}, true});
    }
    BoundClipStep(step);
    clip.push_back(std::move(step));
  }
  p.Sink->Clip(clip);
}

void UserDataInit(wmfAPI* api, wmfUserData_t* u) {
  TWmfPlayer& p = Player(api);
  if (!p.DefaultBrush && u && u->dc) p.DefaultBrush = u->dc->brush;
}

void DrawPixel(wmfAPI* api, wmfDrawPixel_t* d) {
  const TWmfPlayer& p = Player(api);
  const TMetaPoint a = p.Map(d->pt, d->dc);
  const double w = d->pixel_width * p.ScaleX(d->dc), h = d->pixel_height * p.ScaleY(d->dc);
  FillRect(api, a, {a.X + w, a.Y + h}, Color(d->color));
}

void DrawPie(wmfAPI* api, wmfDrawArc_t* a) { DrawArc(api, a, TArcKind::Pie, false); }
void DrawChord(wmfAPI* api, wmfDrawArc_t* a) { DrawArc(api, a, TArcKind::Chord, false); }
void DrawArcOnly(wmfAPI* api, wmfDrawArc_t* a) { DrawArc(api, a, TArcKind::Arc, false); }
void DrawEllipse(wmfAPI* api, wmfDrawArc_t* a) { DrawArc(api, a, TArcKind::Chord, true); }

void DrawLine(wmfAPI* api, wmfDrawLine_t* l) {
  const TWmfPlayer& p = Player(api);
  Draw(api, l->dc, {TMetaFigure{{p.Map(l->from, l->dc), p.Map(l->to, l->dc)}, false}}, false);
}

void PolyLine(wmfAPI* api, wmfPolyLine_t* l) {
  if (l->pt) Draw(api, l->dc, {TMetaFigure{Points(api, l->dc, l->pt, l->count), false}}, false);
}

void DrawPolygon(wmfAPI* api, wmfPolyLine_t* l) {
  if (l->pt) Draw(api, l->dc, {TMetaFigure{Points(api, l->dc, l->pt, l->count), true}}, true);
}

void DrawPolyPolygon(wmfAPI* api, wmfPolyPoly_t* l) {
  if (!l->pt || !l->count) return;
  std::vector<TMetaFigure> figures;
  for (unsigned i = 0; i < l->npoly; ++i) {
    if (l->pt[i]) figures.push_back(TMetaFigure{Points(api, l->dc, l->pt[i], l->count[i]), true});
  }
  Draw(api, l->dc, std::move(figures), true);
}

void DrawRectangle(wmfAPI* api, wmfDrawRectangle_t* r) {
  const TWmfPlayer& p = Player(api);
  const TMetaPoint a = p.Map(r->TL, r->dc), b = p.Map(r->BR, r->dc);
  Draw(api, r->dc, {RoundRectFigure(a.X, a.Y, b.X, b.Y, r->width * p.ScaleX(r->dc), r->height * p.ScaleY(r->dc), 1)},
       true);
}

void RopDraw(wmfAPI* api, wmfROP_Draw_t* r) {
  const TWmfPlayer& p = Player(api);
  const TMetaPoint a = p.Map(r->TL, r->dc), b = p.Map(r->BR, r->dc);
  if (r->ROP == kPatCopy) {
    TMetaShape shape;
    shape.Figures.push_back(TMetaFigure{{a, {b.X, a.Y}, b, {a.X, b.Y}}, true});
    shape.Fill = true;
    shape.Stroke = false;
    p.Sink->Shape(shape, TMetaPen{}, Brush(p, r->dc));
  } else if (r->ROP == kBlackness) {
    FillRect(api, a, b, {0, 0, 0});
  } else if (r->ROP == kWhiteness) {
    FillRect(api, a, b, {255, 255, 255});
  }
}

void BitmapRead(wmfAPI* api, wmfBMP_Read_t* r) {
  r->bmp.data = nullptr;
  r->bmp.width = r->bmp.height = 0;
  if (!r->buffer || r->length <= 0) return;
  TWmfPlayer& p = Player(api);
  bool noRoom = false;
  auto pixels = DecodePackedDib(r->buffer, static_cast<size_t>(r->length), *p.Sink, &noRoom);
  p.OutOfRoom = p.OutOfRoom || noRoom;
  if (!pixels || pixels->Width > 0xFFFF || pixels->Height > 0xFFFF) return;
  TRoomCharge charge(*p.Sink);
  if (!charge.Add(sizeof(TMetaPixels) + PixelBytes(*pixels))) {
    p.OutOfRoom = true;
    return;
  }
  r->bmp.width = static_cast<U16>(pixels->Width);
  r->bmp.height = static_cast<U16>(pixels->Height);
  p.Bitmaps.push_back({std::move(pixels), std::move(charge)});
  r->bmp.data = &p.Bitmaps.back();
}

void BitmapFree(wmfAPI*, wmfBMP* bmp) {
  // The slot stays (libwmf may still hold its address); the pixels go, unless
  // the recording keeps them, which then charges them itself.
  if (!bmp || !bmp->data) return;
  auto* held = static_cast<TWmfPlayer::THeldBitmap*>(bmp->data);
  held->Pixels.reset();
  held->Charge.Clear();
  bmp->data = nullptr;
}

void BitmapDraw(wmfAPI* api, wmfBMP_Draw_t* d) {
  if (!d->bmp.data) return;
  const auto& pixels = static_cast<const TWmfPlayer::THeldBitmap*>(d->bmp.data)->Pixels;
  if (!pixels || d->crop.w == 0 || d->crop.h == 0) return;
  if (d->type != kSrcCopy && d->type != 0) return;
  TMetaImage image;
  image.Pixels = pixels;
  image.SourceX = d->crop.x;
  image.SourceY = d->crop.y;
  image.SourceWidth = d->crop.w;
  image.SourceHeight = d->crop.h;
  const TWmfPlayer& p = Player(api);
  const TMetaPoint at = p.Map(d->pt, d->dc);
  const double w = d->crop.w * d->pixel_width * p.ScaleX(d->dc), h = d->crop.h * d->pixel_height * p.ScaleY(d->dc);
  if (!Usable(at) || !Usable({at.X + w, at.Y + h})) return;
  image.TopLeft = at;
  image.TopRight = {at.X + w, at.Y};
  image.BottomLeft = {at.X, at.Y + h};
  Player(api).Sink->Image(image);
}

std::string Decode(const char* s, uint8_t charset) {
  if (!s) return {};
  const std::string raw(s);
  if (charset == kShiftJisCharset) return SjisToUtf8(raw);
  std::u16string latin(raw.begin(), raw.end());
  for (char16_t& c : latin) c = static_cast<unsigned char>(c);
  return Utf16ToUtf8(latin.data(), latin.size());
}

float StringWidth(wmfAPI*, wmfFont* font, char* s);

// libwmf moves the point from the top to a baseline one font height lower,
// and from the centre or right end to the left by half its own estimate of
// the width; undone here, the sink aligns with the real glyph metrics.
wmfD_Coord ReferencePoint(const wmfDrawText_t* t) {
  const unsigned align = t->dc->textalign;
  const double a = U16_2_S16(static_cast<U16>(t->dc->font->lfEscapement)) / 10.0 * 3.14159265358979323846 / 180;
  const double alongX = std::cos(a), alongY = -std::sin(a), downX = std::sin(a), downY = std::cos(a);
  wmfD_Coord c = t->pt;
  if ((align & TA_BASELINE) == TA_TOP) {
    c.x -= static_cast<float>(downX * t->font_height);
    c.y -= static_cast<float>(downY * t->font_height);
  }
  const unsigned h = align & TA_CENTER;
  if (h == TA_CENTER || h == TA_RIGHT) {
    const double half = StringWidth(nullptr, t->dc->font, t->str) * t->font_height * t->font_ratio / 2;
    c.x += static_cast<float>(alongX * half);
    c.y += static_cast<float>(alongY * half);
  }
  return c;
}

void DrawText(wmfAPI* api, wmfDrawText_t* t) {
  const TWmfPlayer& p = Player(api);
  const wmfDC* dc = t->dc;
  const wmfFont* font = dc->font;
  if (!font || !t->str) return;
  TMetaText text;
  text.Utf8 = Decode(t->str, font->lfCharSet);
  if (text.Utf8.empty()) return;
  text.Origin = p.Map(ReferencePoint(t), dc);
  text.Font.Height = t->font_height * p.ScaleY(dc);
  text.Font.CellHeight = U16_2_S16(font->lfHeight) > 0;
  // libwmf reports a width of 0 (the face's own) as a ratio of exactly 1.
  text.Font.Width = t->font_ratio == 1 ? 0 : t->font_ratio * text.Font.Height;
  if (!Usable(text.Origin) || !(text.Font.Height <= kMaxPicturePixels) ||
      !(std::abs(text.Font.Width) <= kMaxPicturePixels)) {
    return;
  }
  text.Font.EscapementDegrees = font->lfEscapement / 10.0;
  text.Font.Weight = font->lfWeight;
  text.Font.Italic = font->lfItalic, text.Font.Underline = font->lfUnderline, text.Font.StrikeOut = font->lfStrikeOut;
  text.Font.Face = Decode(font->lfFaceName, font->lfCharSet);
  text.Color = Color(dc->textcolor);
  const unsigned h = dc->textalign & TA_CENTER, v = dc->textalign & TA_BASELINE;
  text.HAlign = h == TA_CENTER ? TMetaHAlign::Center : h == TA_RIGHT ? TMetaHAlign::Right : TMetaHAlign::Left;
  text.VAlign = v == TA_BASELINE ? TMetaVAlign::Baseline : v == TA_BOTTOM ? TMetaVAlign::Bottom : TMetaVAlign::Top;
  text.OpaqueBackground = dc->bgmode == OPAQUE;
  text.Background = Color(dc->bgcolor);
  if (t->flags & ETO_OPAQUE) FillRect(api, p.Map(t->TL, dc), p.Map(t->BR, dc), Color(dc->bgcolor));
  p.Sink->Text(text);
}

void MapFont(wmfAPI*, wmfFont*) {}

// Widths in points of a one-point font, for libwmf's bounding box: full
// width for two-byte characters, a little over half for the rest.
float StringWidth(wmfAPI*, wmfFont* font, char* s) {
  if (!s) return 0;
  const bool sjis = font && font->lfCharSet == kShiftJisCharset;
  float w = 0;
  for (const unsigned char* c = reinterpret_cast<unsigned char*>(s); *c; ++c) {
    const bool lead = sjis && ((*c >= 0x81 && *c <= 0x9F) || (*c >= 0xE0 && *c <= 0xFC)) && c[1];
    w += lead ? 1.0f : 0.55f;
    if (lead) ++c;
  }
  return w;
}

void SetUpDevice(wmfAPI* api) {
  auto* f = static_cast<wmfFunctionReference*>(wmf_calloc(api, 1, sizeof(wmfFunctionReference)));
  auto* fonts = static_cast<wmfFontData*>(wmf_calloc(api, 1, sizeof(wmfFontData)));
  if (!f || !fonts) return;  // libwmf reports the failed allocation
  api->function_reference = f;
  fonts->map = MapFont;
  fonts->stringwidth = StringWidth;
  api->font_data = fonts;
  f->device_open = f->device_close = f->device_begin = f->device_end = Nothing;
  f->flood_interior = f->flood_exterior = NoFlood;
  f->draw_pixel = DrawPixel;
  f->draw_pie = DrawPie;
  f->draw_chord = DrawChord;
  f->draw_arc = DrawArcOnly;
  f->draw_ellipse = DrawEllipse;
  f->draw_line = DrawLine;
  f->poly_line = PolyLine;
  f->draw_polygon = DrawPolygon;
  f->draw_polypolygon = DrawPolyPolygon;
  f->draw_rectangle = DrawRectangle;
  f->rop_draw = RopDraw;
  f->bmp_draw = BitmapDraw;
  f->bmp_read = BitmapRead;
  f->bmp_free = BitmapFree;
  f->draw_text = DrawText;
  f->udata_init = UserDataInit;
  f->udata_copy = f->udata_set = f->udata_free = NoUserData;
  f->region_frame = f->region_paint = NoRegion;
  f->region_clip = RegionClip;
}

// The frame in libwmf's units and the size in pixels.
bool Frame(wmfAPI* api, const TCheckedWmf& wmf, const wmfD_Rect& box, TWmfPlayer& player, TMetafileSize& size) {
  double w, h;
  if (wmf.Placeable) {
    // libwmf counts from the window origin; without one, from zero.
    const double pointsPerUnit = 72.0 / wmf.Inch;
    player.BoxWidth = std::abs(wmf.Right - wmf.Left);
    player.BoxHeight = std::abs(wmf.Bottom - wmf.Top);
    player.OriginX = wmf.SetsWindowOrigin ? 0 : std::min(wmf.Left, wmf.Right) * pointsPerUnit;
    player.OriginY = wmf.SetsWindowOrigin ? 0 : std::min(wmf.Top, wmf.Bottom) * pointsPerUnit;
    w = std::round(std::abs(wmf.Right - wmf.Left) * 96.0 / wmf.Inch);
    h = std::round(std::abs(wmf.Bottom - wmf.Top) * 96.0 / wmf.Inch);
  } else {
    unsigned int dw = 0, dh = 0;
    if (wmf_display_size(api, &dw, &dh, 96, 96) != wmf_E_None) return false;
    player.OriginX = box.TL.x;
    player.OriginY = box.TL.y;
    w = dw, h = dh;
  }
  if (!(w >= 1 && h >= 1 && w <= kMaxPicturePixels && h <= kMaxPicturePixels)) return false;
  size.Width = static_cast<int32_t>(w);
  size.Height = static_cast<int32_t>(h);
  return true;
}

// Ends the play once the sink is full (nothing more would be kept), or a
// bitmap found no room.
int StopWhenFull(void* context, float) {
  const auto* player = static_cast<const TWmfPlayer*>(context);
  return !player->OutOfRoom && player->Sink->HasRoomFor(kRoomToGoOn) ? 0 : 1;
}

}  // namespace

bool PlayWmf(const uint8_t* data, size_t size, TMetafileSink& sink, TMetafileSize& pictureSize) {
  TCheckedWmf wmf = CheckWmf(data, size);
  if (wmf.Bytes.empty()) return false;
  TAllocator allocator;
  TWmfPlayer player;
  player.Sink = &sink;
  wmfAPI_Options options{};
  options.context = &allocator;
  options.malloc = TAllocator::Malloc;
  options.realloc = TAllocator::Realloc;
  options.free = TAllocator::Free;
  options.function = SetUpDevice;
  const unsigned long flags = WMF_OPT_ALLOC | WMF_OPT_FUNCTION | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
  wmfAPI* api = nullptr;
  if (wmf_lite_create(&api, flags, &options) != wmf_E_None) {
    if (api) wmf_lite_destroy(api);
    return false;
  }
  api->device_data = &player;
  bool ok = false;
  wmfD_Rect box{};
  if (api->function_reference && api->font_data &&
      wmf_mem_open(api, wmf.Bytes.data(), static_cast<long>(wmf.Bytes.size())) == wmf_E_None &&
      wmf_scan(api, 0, &box) == wmf_E_None && Frame(api, wmf, box, player, pictureSize)) {
    ok = true;
    wmf_status_function(api, &player, StopWhenFull);
    wmf_play(api, 0, &box);  // a failure part way keeps what was drawn
  }
  wmf_lite_destroy(api);
  return ok && !player.OutOfRoom;
}
