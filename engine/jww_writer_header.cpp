// The header of a JWW file for a target version: every step the version
// has, with the writer's clamps and the names of unnamed extended pens and
// line types.
#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "byte_io.h"
#include "func.h"
#include "jww_data.h"

namespace {

// The table arrays have fixed lengths once a file was read; a model built in
// code may hold fewer rows, and the missing ones are written as zero rows.
template <typename T>
const T& RowOr(const std::vector<T>& rows, size_t i) {
  static const T empty{};
  return i < rows.size() ? rows[i] : empty;
}

int32_t ColorOrZero(int32_t c) { return (c < 0 || c > 0xFFFFFF) ? 0 : c; }

int32_t ClampInt(int32_t v, int32_t lo, int32_t hi) { return std::min(std::max(v, lo), hi); }

// A name that is empty once blanks and control characters are gone gets the
// fallback name.
std::string NameOr(const std::string& stored, const char* prefix, int row) {
  std::string name = StripCaretM(stored);
  if (RemoveSpaces(name).empty()) name = prefix + std::to_string(row);
  return name;
}

bool IsEvenSegmentCount(int32_t n) { return n == 2 || n == 4 || n == 6 || n == 8; }

int32_t PrintValue(const TEntJwwHeader& h, int32_t version) {
  if (version < 600) return h.SkipDisplayOnlyLayers;
  const int64_t dotClass = h.DotPitchClass <= 0 ? 1 : h.DotPitchClass;
  const int64_t v = static_cast<int64_t>(h.SkipDisplayOnlyLayers) + 10 * dotClass;
  return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

}  // namespace

void TJwwData::WriteHeader(ByteWriter& out, int32_t version) {
  const TEntJwwHeader& h = Header;
  const int32_t v = version;

  // Steps 1 to 4: signature, version, memo, paper and current group.
  out.Bytes("JwwData.", 8);
  out.I32(v);
  WriteCString(out, h.Memo);
  out.I32(h.PaperSize);
  out.I32(h.WriteLayerGroup);

  // Step 5: layer groups with their layers.
  for (size_t g = 0; g < 16; ++g) {
    const TEntJwwLayerGroup& grp = RowOr(LayerGroups, g);
    out.I32(grp.State);
    out.I32(grp.WriteLayer);
    out.F64(grp.Scale);
    out.I32(grp.Protect);
    for (size_t l = 0; l < 16; ++l) {
      const TEntJwwLayer& layer = RowOr(Layers, g * 16 + l);
      out.I32(layer.State);
      out.I32(layer.Protect);
    }
  }

  // Steps 6 to 10.
  out.Zeros(56);
  for (int32_t s : h.DimensionSettings) out.I32(s);
  out.Zeros(4);
  out.I32(v <= 420 && h.MaxDrawWidth < -101 ? -101 : h.MaxDrawWidth);
  out.F64(h.PrintOriginX);
  out.F64(h.PrintOriginY);
  out.F64(h.PrintScale);
  out.I32(h.PrintRotation);
  out.I32(h.GridMode);
  out.F64(h.GridMinDots);
  out.F64(h.GridPitchX);
  out.F64(h.GridPitchY);
  out.F64(h.GridOriginX);
  out.F64(h.GridOriginY);

  // Step 11: layer names, then group names.
  for (size_t i = 0; i < 256; ++i) WriteCString(out, StripCaretM(RowOr(Layers, i).Name));
  for (size_t g = 0; g < 16; ++g) WriteCString(out, StripCaretM(RowOr(LayerGroups, g).Name));

  // Steps 12 to 14.
  out.F64(h.ShadowLevel);
  out.F64(h.ShadowLatitude);
  out.I32(h.Shadow9To15);
  out.F64(h.WallShadowLevel);
  if (v >= 300) {
    out.F64(h.SkyMapLevel);
    out.F64(h.SkyMapRadius);
  }
  out.I32(h.Unit3D);
  out.F64(h.SavedViewScale);
  out.F64(h.SavedViewOriginX);
  out.F64(h.SavedViewOriginY);
  out.F64(h.RangeViewScale);
  out.F64(h.RangeViewOriginX);
  out.F64(h.RangeViewOriginY);

  // Step 15: four view jumps up to 230, eight with layer groups from 231.
  if (v <= 230) {
    for (size_t j = 0; j < 4; ++j) {
      out.F64(h.JumpScale[j]);
      out.F64(h.JumpX[j]);
      out.F64(h.JumpY[j]);
    }
  } else {
    for (size_t j = 0; j < 8; ++j) {
      out.F64(h.JumpScale[j]);
      out.F64(h.JumpX[j]);
      out.F64(h.JumpY[j]);
      out.I32(h.JumpLayerGroup[j]);
    }
    for (double r : h.ReservedReals1) out.F64(r);
    out.I32(h.ReservedInt1);
    for (double r : h.ReservedReals2) out.F64(r);
    out.F64(h.TextBackgroundSize);
    out.I32(h.TextBackgroundMode);
  }

  // Steps 16 and 17: pens 0..9 within the ranges Jw_cad accepts.
  for (double d : h.MultiLineDistances) out.F64(d);
  out.F64(h.BothSideDistance);
  for (size_t p = 0; p < 10; ++p) {
    const TEntJwwPen& pen = RowOr(Pens, p);
    out.I32(ColorOrZero(pen.Color));
    out.I32(ClampInt(pen.Width, 1, 16));
  }
  for (size_t p = 0; p < 10; ++p) {
    const TEntJwwPen& pen = RowOr(Pens, p);
    out.I32(p == 0 ? 0xFFFFFF : ColorOrZero(pen.PrintColor));
    out.I32(ClampInt(pen.PrintWidth, 1, 500));
    double r = pen.PointRadius;
    if (r < 0.1) r = 0.1;
    if (r > 10) r = 10;
    out.F64(r);
  }

  // Steps 18 and 19: line types, random and double-length lines.
  for (size_t i = 0; i < 8; ++i) {
    const TEntJwwLineType& lt = RowOr(LineTypes, i);
    out.I32(lt.Pattern);
    out.I32(lt.UnitDots);
    out.I32(lt.Pitch);
    out.I32(lt.PrintPitch);
  }
  for (size_t i = 0; i < 5; ++i) {
    const TEntJwwRandomLine& rl = RowOr(RandomLines, i);
    out.I32(rl.Pattern);
    out.I32(rl.Amplitude);
    out.I32(rl.Pitch);
    out.I32(rl.PrintAmplitude);
    out.I32(rl.PrintPitch);
  }
  for (size_t i = 0; i < 4; ++i) {
    const TEntJwwDoubleLine& dl = RowOr(DoubleLines, i);
    out.I32(dl.Pattern);
    out.I32(dl.UnitDots);
    out.I32(dl.Pitch);
    out.I32(dl.PrintPitch);
  }

  // Steps 20 to 23.
  for (int32_t s : h.DrawSwitches) out.I32(s);
  out.I32(PrintValue(h, v));
  if (v >= 223) {
    out.I32(h.DrawingTime);
    out.I32(h.Eye3DSet);
    for (int32_t a : h.EyeAngles) out.I32(a);
    out.F64(h.PerspectiveHeight);
    out.F64(h.PerspectiveDistance);
    out.F64(h.BirdHeight);
    out.F64(h.BirdDistance);
    out.F64(h.IsoAngle);
  }
  if (v >= 225) {
    out.F64(h.LastLineLength);
    out.F64(h.LastBoxWidth);
    out.F64(h.LastBoxHeight);
    out.F64(h.LastCircleRadius);
  }
  if (v >= 230) {
    out.I32(h.SolidAnyColor);
    out.I32(h.SolidColor);
  }

  // Steps 24 to 27: extended pens and line types.
  if (v >= 420) {
    for (size_t i = 0; i < 257; ++i) {
      const TEntJwwColorExNo& c = RowOr(ColorsEx, i);
      out.I32(c.Color);
      out.I32(c.Width);
    }
    for (size_t i = 0; i < 257; ++i) {
      const TEntJwwColorExNo& c = RowOr(ColorsEx, i);
      WriteCString(out, NameOr(c.Name, "Color_", static_cast<int>(i)));
      out.I32(i >= 17 ? c.Color : c.PrintColor);
      out.I32(c.PrintWidth);
      out.F64(c.PointRadius);
    }
    for (size_t i = 0; i < 33; ++i) {
      const TEntJwwLineTypeExNo& lt = RowOr(LineTypesEx, i);
      if (i >= 17 && !IsEvenSegmentCount(lt.SegmentCount)) {
        out.U32(0xC3C3C3C3u);
        out.I32(8);
        out.I32(1);
        out.I32(8);
        continue;
      }
      out.I32(lt.Pattern == 0 ? -1 : lt.Pattern);
      out.I32(lt.UnitDots);
      out.I32(lt.Pitch);
      out.I32(lt.PrintPitch);
    }
    for (size_t i = 0; i < 33; ++i) {
      const TEntJwwLineTypeExNo& lt = RowOr(LineTypesEx, i);
      if (i >= 17 && !IsEvenSegmentCount(lt.SegmentCount)) {
        WriteCString(out, "LType_" + std::to_string(i));
        out.I32(2);
        out.F64(1.0);
        out.F64(1.0);
        out.Zeros(8 * 8);
        continue;
      }
      WriteCString(out, NameOr(lt.Name, "LType_", static_cast<int>(i)));
      out.I32(lt.SegmentCount);
      for (double s : lt.Segments) out.F64(s);
    }
  }

  // Steps 28 and 29: text kinds and the current text settings.
  for (size_t i = 0; i < 10; ++i) {
    const TEntJwwTextSize& ts = RowOr(TextSizes, i);
    out.F64(ts.Width);
    out.F64(ts.Height);
    out.F64(ts.Spacing);
    out.I32(ts.Color);
  }
  out.F64(h.TextWidth);
  out.F64(h.TextHeight);
  out.F64(h.TextSpacing);
  out.I32(h.TextColor);
  out.I32(h.TextKind);
  out.F64(h.TextLinePitch);
  out.F64(h.TextLineCount);
  out.I32(h.TextShiftOn);
  for (double s : h.TextShiftX) out.F64(s);
  for (double s : h.TextShiftY) out.F64(s);
}
