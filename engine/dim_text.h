// The value text of a dimension, made afresh from the length of its line
// under an affine map: the length times the layer group's scale factor,
// rounded and formatted as the dimension's format word says, with an
// optional radius or diameter sign and an optional unit.
#pragma once

#include <cstdint>
#include <string>

#include "func.h"  // FormatGeneralNumber, CutToContentLength

// Format word bits (the Width field of the dimension text's common part).
enum : uint16_t {
  kDimFollowsGeometry = 0x0002,  // read by the callers
  kDimFullWidth = 0x0008,
  kDimMetres = 0x0010,
  kDimUnit = 0x0020,
  kDimThousands = 0x0040,
  kDimKeepZeros = 0x0080,
  kDimTruncate = 0x0100,
  kDimRoundUp = 0x0200,
  kDimSignFront = 0x0400,
  kDimSignBehind = 0x0800,
};

// Sign word bits (the Flags field of the dimension text's common part).
enum : uint16_t {
  kDimSignRadius = 0x0100,
  kDimSignDiameter = 0x0200,
};

// Writes the value text of the line (x1, y1)-(x2, y2) mapped by
// ((a·x + b·y + tx) / s, (c·x + d·y + ty) / s) into text. A factor that is
// not positive counts as 1. The result is not cut; callers storing it in a
// text content cut it with CutToContentLength.
void FormatDimensionText(uint16_t formatWord, uint16_t signWord, std::string& text, double x1, double y1,
                         double x2, double y2, double factor, double tx, double ty, double a, double b,
                         double c, double d, double s);

