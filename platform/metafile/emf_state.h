// The device context an EMF player keeps while it walks the records: the
// objects selected, text and background settings, and the mapping from
// logical units to the picture's pixels (world transform, mapping mode,
// window and viewport, reference device, frame).
#pragma once

#include <string>
#include <variant>

#include "metafile_geometry.h"
#include "metafile_room.h"
#include "metafile_sink.h"

// x' = x·M11 + y·M21 + Dx, y' = x·M12 + y·M22 + Dy (the order of XFORM).
struct TXform {
  double M11 = 1, M12 = 0, M21 = 0, M22 = 1, Dx = 0, Dy = 0;
  TMetaPoint Apply(double x, double y) const {
    return SnapToPixel(TMetaPoint{x * M11 + y * M21 + Dx, x * M12 + y * M22 + Dy});
  }
  double Determinant() const { return M11 * M22 - M12 * M21; }
};
// `first` applied, then `then`.
TXform Compose(const TXform& first, const TXform& then);

struct TEmfPen {
  TMetaPenStyle Style = TMetaPenStyle::Solid;
  double Width = 0;  // logical units; 0 = hairline
  bool Cosmetic = true;
  TMetaColor Color{0, 0, 0};
  TMetaCap Cap = TMetaCap::Round;
  TMetaJoin Join = TMetaJoin::Round;
};

struct TEmfBrush {
  TMetaBrushStyle Style = TMetaBrushStyle::Solid;
  TMetaColor Color{255, 255, 255};
  TMetaHatch Hatch = TMetaHatch::Horizontal;
  std::shared_ptr<const TMetaPixels> Pattern;
  // The pattern's pixels held from the sink's room for as long as some copy
  // of the brush (in the object table, the context or a saved one) keeps them.
  std::shared_ptr<const TRoomCharge> PatternCharge;
};

struct TEmfFont {
  int32_t Height = 0, Width = 0, Escapement = 0, Weight = 400;
  bool Italic = false, Underline = false, StrikeOut = false;
  uint8_t CharSet = 0;
  std::string Face;  // UTF-8
};

using TEmfObject = std::variant<std::monostate, TEmfPen, TEmfBrush, TEmfFont>;

enum : uint32_t {
  kMmText = 1, kMmLoMetric = 2, kMmHiMetric = 3, kMmLoEnglish = 4, kMmHiEnglish = 5, kMmTwips = 6,
  kMmIsotropic = 7, kMmAnisotropic = 8,
};

// A step of the clip in picture pixels with what it holds of the sink's
// room; shared by every context whose clip takes it over.
struct TEmfClipStep {
  TMetaClipStep Step;
  TRoomCharge Charge;
};

struct TEmfDc {
  uint32_t MapMode = kMmText;
  double WindowOrgX = 0, WindowOrgY = 0, WindowExtX = 1, WindowExtY = 1;
  double ViewportOrgX = 0, ViewportOrgY = 0, ViewportExtX = 1, ViewportExtY = 1;
  TXform World;

  TEmfPen Pen;
  TEmfBrush Brush;
  TEmfFont Font;
  TMetaColor TextColor{0, 0, 0};
  TMetaColor BackColor{255, 255, 255};
  bool OpaqueBackground = true;
  uint32_t TextAlign = 0;
  bool Winding = false;
  bool ClockwiseArcs = false;
  TMetaPoint Position;  // logical
  std::vector<std::shared_ptr<const TEmfClipStep>> Clip;  // none: no clipping
};

// The reference device and the frame, fixed by the header.
struct TEmfPage {
  // The reference device's size in pixels and millimetres (96 dpi unless
  // the header says otherwise).
  double DevicePixelsX = 960, DevicePixelsY = 960, DeviceMmX = 254, DeviceMmY = 254;
  double FrameLeft = 0, FrameTop = 0;  // 0.01 mm
};

// Device units of the reference device to picture pixels.
TXform DeviceToPicture(const TEmfPage& page);

// Logical units to picture pixels under the context's current mapping.
TXform LogicalToPicture(const TEmfDc& dc, const TEmfPage& page);
