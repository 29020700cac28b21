#include "emf_state.h"

#include <algorithm>
#include <cmath>

TXform Compose(const TXform& a, const TXform& b) {
  TXform r;
  r.M11 = a.M11 * b.M11 + a.M12 * b.M21;
  r.M12 = a.M11 * b.M12 + a.M12 * b.M22;
  r.M21 = a.M21 * b.M11 + a.M22 * b.M21;
  r.M22 = a.M21 * b.M12 + a.M22 * b.M22;
  r.Dx = a.Dx * b.M11 + a.Dy * b.M21 + b.Dx;
  r.Dy = a.Dx * b.M12 + a.Dy * b.M22 + b.Dy;
  return r;
}

namespace {

// Logical units per millimetre of the fixed mapping modes (y upwards).
double UnitsPerMm(uint32_t mode) {
  switch (mode) {
    case kMmLoMetric: return 10;
    case kMmHiMetric: return 100;
    case kMmLoEnglish: return 100 / 25.4;
    case kMmHiEnglish: return 1000 / 25.4;
    case kMmTwips: return 1440 / 25.4;
    default: return 0;
  }
}

double Ratio(double num, double den) { return den == 0 ? 1 : num / den; }

}  // namespace

TXform DeviceToPicture(const TEmfPage& page) {
  // Device pixels to 0.01 mm, less the frame's corner, to 96 dpi pixels.
  // One product, so a 96 dpi reference device maps by exactly 1.
  const double k = 96.0 / 2540.0;
  TXform toPicture;
  toPicture.M11 = (9600 * page.DeviceMmX) / (2540 * page.DevicePixelsX);
  toPicture.M22 = (9600 * page.DeviceMmY) / (2540 * page.DevicePixelsY);
  toPicture.Dx = -page.FrameLeft * k;
  toPicture.Dy = -page.FrameTop * k;
  return toPicture;
}

TXform LogicalToPicture(const TEmfDc& dc, const TEmfPage& page) {
  double sx = 1, sy = 1;
  if (const double u = UnitsPerMm(dc.MapMode); u > 0) {
    sx = page.DevicePixelsX / page.DeviceMmX / u;
    sy = -page.DevicePixelsY / page.DeviceMmY / u;
  } else if (dc.MapMode == kMmAnisotropic || dc.MapMode == kMmIsotropic) {
    sx = Ratio(dc.ViewportExtX, dc.WindowExtX);
    sy = Ratio(dc.ViewportExtY, dc.WindowExtY);
    if (dc.MapMode == kMmIsotropic) {
      // The same scale both ways, the smaller one, each keeping its sign.
      const double m = std::min(std::abs(sx), std::abs(sy));
      sx = std::copysign(m, sx);
      sy = std::copysign(m, sy);
    }
  }
  // Page to device: (logical − window origin)·scale + viewport origin.
  TXform toDevice;
  toDevice.M11 = sx;
  toDevice.M22 = sy;
  toDevice.Dx = dc.ViewportOrgX - dc.WindowOrgX * sx;
  toDevice.Dy = dc.ViewportOrgY - dc.WindowOrgY * sy;
  return Compose(Compose(dc.World, toDevice), DeviceToPicture(page));
}
