#include "emf_player.h"

#include <uemf.h>
#include <uemf_safe.h>

#include <cmath>
#include <cstring>
#include <numbers>
#include <unordered_map>

#include "emf_records.h"

namespace emf_detail {

namespace {

constexpr size_t kHeaderBytes = 88;  // up to the reference device's size
constexpr size_t kMaxSavedStates = 1024;
constexpr uint32_t kMwtSet = 4;      // newer than libuemf's list
constexpr size_t kRoomToGoOn = size_t{64} << 10;

// The record types libuemf has a safety check for. For the others it checks
// nothing and writes a warning to standard error for every record, so they
// are not handed to it: the player's own reads are bounded by the record.
bool LibuemfChecks(uint32_t type) {
  switch (type) {
    case U_EMR_UNDEF69: case U_EMR_POLYTEXTOUTA: case U_EMR_POLYTEXTOUTW: case U_EMR_GLSRECORD:
    case U_EMR_GLSBOUNDEDRECORD: case U_EMR_DRAWESCAPE: case U_EMR_EXTESCAPE: case U_EMR_UNDEF107:
    case U_EMR_FORCEUFIMAPPING: case U_EMR_NAMEDESCAPE: case U_EMR_COLORCORRECTPALETTE: case U_EMR_SETICMPROFILEA:
    case U_EMR_SETICMPROFILEW: case U_EMR_UNDEF117: case U_EMR_SETLINKEDUFIS: case U_EMR_SETTEXTJUSTIFICATION:
    case U_EMR_COLORMATCHTOTARGETW:
      return false;
    default:
      return type >= U_EMR_MIN && type <= U_EMR_MAX;
  }
}

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

bool FiniteXform(const TXform& x) {
  return std::isfinite(x.M11) && std::isfinite(x.M12) && std::isfinite(x.M21) && std::isfinite(x.M22) &&
         std::isfinite(x.Dx) && std::isfinite(x.Dy);
}

TXform ReadXform(ByteReader& r) {
  auto f = [&r] { return ReadFloat(r); };
  TXform x;
  x.M11 = f(), x.M12 = f(), x.M21 = f(), x.M22 = f(), x.Dx = f(), x.Dy = f();
  return x;
}

}  // namespace

double ReadFloat(ByteReader& r) {
  const uint32_t bits = r.U32();
  float v;
  std::memcpy(&v, &bits, 4);
  return v;
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
    case U_EMR_SAVEDC: {
      if (saved_.size() >= kMaxSavedStates) break;
      // The clip's steps and the brush pattern are shared, and charged where made.
      TSavedDc saved{dc_, TRoomCharge(sink_)};
      const size_t bytes = sizeof(TSavedDc) + dc_.Font.Face.size() + dc_.Clip.size() * sizeof(dc_.Clip[0]);
      if (Charge(saved.Charge, bytes)) saved_.push_back(std::move(saved));
      break;
    }
    case U_EMR_RESTOREDC: {
      const int32_t n = r.I32();
      // Negative: that many states back; positive: the n-th state saved.
      const size_t keep = n < 0 ? (static_cast<size_t>(-static_cast<int64_t>(n)) <= saved_.size() ? saved_.size() + n : SIZE_MAX)
                                : (n >= 1 && static_cast<size_t>(n) <= saved_.size() ? static_cast<size_t>(n) - 1 : SIZE_MAX);
      if (keep == SIZE_MAX) break;
      dc_ = std::move(saved_[keep].Dc);
      saved_.erase(saved_.begin() + static_cast<std::ptrdiff_t>(keep), saved_.end());
      clipChanged_ = true;
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
    case U_EMR_CREATEPEN: case U_EMR_EXTCREATEPEN: case U_EMR_CREATEBRUSHINDIRECT: case U_EMR_CREATEMONOBRUSH:
    case U_EMR_CREATEDIBPATTERNBRUSHPT: case U_EMR_EXTCREATEFONTINDIRECTW:
      ObjectRecord(type, r, record, size);
      break;
    case U_EMR_ELLIPSE: case U_EMR_RECTANGLE: case U_EMR_ROUNDRECT: case U_EMR_ARC: case U_EMR_ARCTO: case U_EMR_CHORD:
    case U_EMR_PIE: case U_EMR_ANGLEARC:
      ShapeRecord(type, r);
      break;
    case U_EMR_SETPIXELV: {
      const TMetaPoint p = Corner(r);
      const TXform m = Map();
      const double sx = m.M11 != 0 ? 1 / std::abs(m.M11) : 1, sy = m.M22 != 0 ? 1 / std::abs(m.M22) : 1;
      FillRect(p, {p.X + sx, p.Y + sy}, ColorRef(r.U32()));
      break;
    }
    case U_EMR_BEGINPATH: inPath_ = true, newFigure_ = true, TakePath(); break;
    case U_EMR_ENDPATH: inPath_ = false; break;
    case U_EMR_ABORTPATH: inPath_ = false, TakePath(); break;
    case U_EMR_CLOSEFIGURE:
      if (!path_.empty()) path_.back().Closed = true;
      newFigure_ = true;
      break;
    case U_EMR_FILLPATH: DrawPath(true, false); break;
    case U_EMR_STROKEANDFILLPATH: DrawPath(true, true); break;
    case U_EMR_STROKEPATH: DrawPath(false, true); break;
    case U_EMR_INTERSECTCLIPRECT: case U_EMR_EXCLUDECLIPRECT: case U_EMR_EXTSELECTCLIPRGN: case U_EMR_SELECTCLIPPATH:
      ClipRecord(type, r);
      break;
    case U_EMR_EXTTEXTOUTW: TextRecord(r, record, size, true); break;
    case U_EMR_EXTTEXTOUTA: TextRecord(r, record, size, false); break;
    case U_EMR_BITBLT: case U_EMR_STRETCHBLT: case U_EMR_STRETCHDIBITS: case U_EMR_SETDIBITSTODEVICE:
      BitmapRecord(type, r, record, size);
      break;
    default: break;  // comments (EMF+ among them), clipping, palettes, ...
  }
  return true;
}

}  // namespace emf_detail

using emf_detail::TEmfHeader;
using emf_detail::TEmfPlayer;
using emf_detail::PictureSize;
using emf_detail::ReadHeader;
using emf_detail::kRoomToGoOn;
using emf_detail::LibuemfChecks;

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
  // Once the sink is full nothing more would be kept.
  while (size - at >= 8 && sink.HasRoomFor(kRoomToGoOn)) {
    uint32_t type, length;
    std::memcpy(&type, data + at, 4);
    std::memcpy(&length, data + at + 4, 4);
    // The record must lie within the bytes before libuemf looks inside it.
    if (length < 8 || length % 4 != 0 || length > size - at) break;
    const uint8_t* record = data + at;
    at += length;
    if (at == length) continue;  // the header
    if (LibuemfChecks(type) && !U_emf_record_safe(reinterpret_cast<const char*>(record))) continue;
    try {
      ByteReader r(record, length);
      if (!player.Play(type, r, record, length)) break;
    } catch (const JwwReadError&) {
      // A record shorter than its fields is skipped.
    }
    if (player.OutOfRoom()) return false;
  }
  return sink.HasRoomFor(kRoomToGoOn) || !player.HoldsPath();
}
