// Reading the JWW header: signature, version and the version-dependent
// steps up to the current text settings. Fixed-size blocks are taken whole
// and their fields copied out.
#include "byte_io.h"
#include "jww_data.h"
#include "jww_read_cursor.h"

namespace {

template <typename T>
void Rows(std::vector<T>& v, size_t n) {
  v.assign(n, T{});
}

}  // namespace

void TJwwData::ReadHeader(ByteReader& in) {
  Rows(LayerGroups, 16);
  Rows(Layers, 256);
  Rows(Pens, 10);
  Rows(LineTypes, 8);
  Rows(RandomLines, 5);
  Rows(DoubleLines, 4);
  Rows(TextSizes, 10);
  Rows(ColorsEx, 257);
  Rows(LineTypesEx, 33);

  TEntJwwHeader& h = Header;
  const uint8_t* sig = in.Take(8);
  h.Signature.assign(reinterpret_cast<const char*>(sig), 8);
  h.Version = in.I32();
  const int32_t v = h.Version;
  if (v < 220) return;

  h.Memo = ReadCString(in);
  {
    FieldCursor c(in.Take(8 + 16 * 148 + 56 + 20 + 4 + 4 + 72));
    c.Into(h.PaperSize);
    c.Into(h.WriteLayerGroup);
    for (int g = 0; g < 16; ++g) {
      TEntJwwLayerGroup& lg = LayerGroups[g];
      c.Into(lg.State);
      c.Into(lg.WriteLayer);
      c.Into(lg.Scale);
      c.Into(lg.Protect);
      for (int l = 0; l < 16; ++l) {
        c.Into(Layers[g * 16 + l].State);
        c.Into(Layers[g * 16 + l].Protect);
      }
    }
    c.Skip(56);
    for (int32_t& d : h.DimensionSettings) c.Into(d);
    c.Skip(4);
    c.Into(h.MaxDrawWidth);
    c.Into(h.PrintOriginX);
    c.Into(h.PrintOriginY);
    c.Into(h.PrintScale);
    c.Into(h.PrintRotation);
    c.Into(h.GridMode);
    c.Into(h.GridMinDots);
    c.Into(h.GridPitchX);
    c.Into(h.GridPitchY);
    c.Into(h.GridOriginX);
    c.Into(h.GridOriginY);
  }
  // Real-size line widths are selected by a maximum width below -100.
  h.RealWidthMode = 0;
  h.RealWidthValue = h.MaxDrawWidth;
  if (h.MaxDrawWidth < -100) {
    const int32_t w = h.MaxDrawWidth;
    h.RealWidthMode = 1;
    if (w >= -500 && w <= -401) {
      h.RealWidthValue = 400 + w;  // 400 - |w|
    } else if (w >= -300 && w <= -201) {
      h.RealWidthValue = -w - 200;  // |w| - 200
    } else {
      h.RealWidthValue = -100;
    }
  }

  for (TEntJwwLayer& layer : Layers) layer.Name = ReadString(in);
  for (TEntJwwLayerGroup& group : LayerGroups) group.Name = ReadString(in);

  {
    const size_t jumps = v <= 230 ? 4 * 24 : 8 * 28 + 56;
    FieldCursor c(in.Take(28 + (v >= 300 ? 16 : 0) + 52 + jumps + 168 + 160 + 128 + 164 + 44));
    c.Into(h.ShadowLevel);
    c.Into(h.ShadowLatitude);
    c.Into(h.Shadow9To15);
    c.Into(h.WallShadowLevel);
    if (v >= 300) {
      c.Into(h.SkyMapLevel);
      c.Into(h.SkyMapRadius);
    }
    c.Into(h.Unit3D);
    c.Into(h.SavedViewScale);
    c.Into(h.SavedViewOriginX);
    c.Into(h.SavedViewOriginY);
    c.Into(h.RangeViewScale);
    c.Into(h.RangeViewOriginX);
    c.Into(h.RangeViewOriginY);
    if (v <= 230) {
      for (int j = 0; j < 4; ++j) {
        c.Into(h.JumpScale[j]);
        c.Into(h.JumpX[j]);
        c.Into(h.JumpY[j]);
      }
    } else {
      for (int j = 0; j < 8; ++j) {
        c.Into(h.JumpScale[j]);
        c.Into(h.JumpX[j]);
        c.Into(h.JumpY[j]);
        c.Into(h.JumpLayerGroup[j]);
      }
      for (double& d : h.ReservedReals1) c.Into(d);
      c.Into(h.ReservedInt1);
      for (double& d : h.ReservedReals2) c.Into(d);
      c.Into(h.TextBackgroundSize);
      c.Into(h.TextBackgroundMode);
    }
    for (double& d : h.MultiLineDistances) c.Into(d);
    c.Into(h.BothSideDistance);
    for (TEntJwwPen& p : Pens) {
      c.Into(p.Color);
      c.Into(p.Width);
    }
    for (TEntJwwPen& p : Pens) {
      c.Into(p.PrintColor);
      c.Into(p.PrintWidth);
      c.Into(p.PointRadius);
    }
    for (TEntJwwLineType& t : LineTypes) {
      c.Into(t.Pattern);
      c.Into(t.UnitDots);
      c.Into(t.Pitch);
      c.Into(t.PrintPitch);
    }
    for (TEntJwwRandomLine& r : RandomLines) {
      c.Into(r.Pattern);
      c.Into(r.Amplitude);
      c.Into(r.Pitch);
      c.Into(r.PrintAmplitude);
      c.Into(r.PrintPitch);
    }
    for (TEntJwwDoubleLine& t : DoubleLines) {
      c.Into(t.Pattern);
      c.Into(t.UnitDots);
      c.Into(t.Pitch);
      c.Into(t.PrintPitch);
    }
    for (int32_t& d : h.DrawSwitches) c.Into(d);
    const int32_t printValue = c.Get<int32_t>();
    h.SkipDisplayOnlyLayers = printValue % 10;
    h.DotPitchClass = printValue / 10;
  }

  if (v >= 223) {
    FieldCursor c(in.Take(60 + (v >= 225 ? 32 : 0) + (v >= 230 ? 8 : 0)));
    c.Into(h.DrawingTime);
    c.Into(h.Eye3DSet);
    for (int32_t& a : h.EyeAngles) c.Into(a);
    c.Into(h.PerspectiveHeight);
    c.Into(h.PerspectiveDistance);
    c.Into(h.BirdHeight);
    c.Into(h.BirdDistance);
    c.Into(h.IsoAngle);
    if (v >= 225) {
      c.Into(h.LastLineLength);
      c.Into(h.LastBoxWidth);
      c.Into(h.LastBoxHeight);
      c.Into(h.LastCircleRadius);
    }
    if (v >= 230) {
      c.Into(h.SolidAnyColor);
      c.Into(h.SolidColor);
    }
  }

  if (v >= 420) {
    {
      FieldCursor c(in.Take(257 * 8));
      for (TEntJwwColorExNo& e : ColorsEx) {
        c.Into(e.Color);
        c.Into(e.Width);
      }
    }
    for (TEntJwwColorExNo& e : ColorsEx) {
      e.Name = ReadString(in);
      FieldCursor c(in.Take(16));
      c.Into(e.PrintColor);
      c.Into(e.PrintWidth);
      c.Into(e.PointRadius);
    }
    {
      FieldCursor c(in.Take(33 * 16));
      for (TEntJwwLineTypeExNo& e : LineTypesEx) {
        c.Into(e.Pattern);
        c.Into(e.UnitDots);
        c.Into(e.Pitch);
        c.Into(e.PrintPitch);
      }
    }
    for (TEntJwwLineTypeExNo& e : LineTypesEx) {
      e.Name = ReadString(in);
      FieldCursor c(in.Take(84));
      c.Into(e.SegmentCount);
      for (double& d : e.Segments) c.Into(d);
    }
  }

  FieldCursor c(in.Take(280 + 100));
  for (TEntJwwTextSize& t : TextSizes) {
    c.Into(t.Width);
    c.Into(t.Height);
    c.Into(t.Spacing);
    c.Into(t.Color);
  }
  c.Into(h.TextWidth);
  c.Into(h.TextHeight);
  c.Into(h.TextSpacing);
  c.Into(h.TextColor);
  c.Into(h.TextKind);
  c.Into(h.TextLinePitch);
  c.Into(h.TextLineCount);
  c.Into(h.TextShiftOn);
  for (double& d : h.TextShiftX) c.Into(d);
  for (double& d : h.TextShiftY) c.Into(d);
}
