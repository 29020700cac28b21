#include "dim_text.h"

#include <array>
#include <charconv>
#include <cmath>

#include "func.h"
#include "geometry.h"

namespace {


const char kSignRadius[] = "R";
const char kSignDiameter[] = "\x83\xD3";  // Greek small phi
const char kUnitMetres[] = "\x82\x8D";    // full-width m
const char kUnitMillimetres[] = "mm";

// 0 truncate, 1 round up, 2 half up.
int32_t RoundingMode(uint16_t formatWord) {
  const bool truncate = (formatWord & kDimTruncate) != 0;
  const bool up = (formatWord & kDimRoundUp) != 0;
  if (truncate && !up) return 0;
  if (up && !truncate) return 1;
  return 2;
}

// Removes trailing zeros after the decimal point; the point itself stays.
void StripTrailingZeros(std::string& t, char decimal) {
  if (t.find(decimal) == std::string::npos) return;
  while (!t.empty() && t.back() == '0') t.pop_back();
}

std::string NumberText(uint16_t formatWord, int32_t decimals, double v) {
  if (formatWord & kDimThousands) {
    std::string t = FormatNumberDecimals(decimals, v);
    if (!(formatWord & kDimKeepZeros)) StripTrailingZeros(t, NumberDecimalSeparator());
    return t;
  }
  if (formatWord & kDimKeepZeros) return FormatFixedDecimals(decimals, v);
  return FormatGeneralNumber(v, NumberDecimalSeparator());
}

}  // namespace


void FormatDimensionText(uint16_t formatWord, uint16_t signWord, std::string& text, double x1, double y1,
                         double x2, double y2, double factor, double tx, double ty, double a, double b,
                         double c, double d, double s) {
  double mx1, my1, mx2, my2;
  MapSegment(x1, y1, x2, y2, TAffineMap{a, b, c, d, tx, ty, s}, mx1, my1, mx2, my2);
  if (!(factor > 0)) factor = 1;  // NaN too
  double v = PointDistance(mx1, my1, mx2, my2) * factor;
  if (formatWord & kDimMetres) v /= 1000;
  const int32_t decimals = (formatWord / 4096) % 10;
  // Rounded by the dimension's own mode for every N, 0 included: the text
  // made afresh must read as the stored one (333, not 333.333333333333),
  // and the grouped and fixed forms must not round half up by themselves.
  v = RoundToDecimals(decimals, RoundingMode(formatWord), v);

  std::string t = NumberText(formatWord, decimals, v);

  const char* sign = nullptr;
  if (signWord & kDimSignRadius) {
    sign = kSignRadius;
  } else if (signWord & kDimSignDiameter) {
    sign = kSignDiameter;
  }
  if (sign != nullptr) {
    if (formatWord & kDimSignFront) {
      t = sign + t;
    } else if (formatWord & kDimSignBehind) {
      t += sign;
    }
  }
  if (formatWord & kDimFullWidth) t = ToFullWidth(t);
  if (formatWord & kDimUnit) t += (formatWord & kDimMetres) ? kUnitMetres : kUnitMillimetres;
  text = std::move(t);
}
