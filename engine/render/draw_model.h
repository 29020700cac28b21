// How the drawing model hands an element to its per-kind drawing routine:
// the placement map and whose layer the element counts on.
#pragma once

#include <cstdint>
#include <string>

#include "geometry.h"
#include "jwwtype.h"

struct TDrawPlacement {
  TAffineMap map;
  // The per-element flag of a block row: set, the elements keep their own
  // layers (and layer groups); clear, they all count as lying on the row's
  // layer. The drawing's own elements keep theirs.
  bool ownLayers = true;
  uint16_t rowLayerGroup = 0, rowLayer = 0;

  int32_t LayerGroupOf(const TEntJwwCommon& c) const { return ownLayers ? c.LayerGroup : rowLayerGroup; }
  int32_t LayerIndexOf(const TEntJwwCommon& c) const {
    return ownLayers ? c.LayerGroup * 16 + c.Layer : rowLayerGroup * 16 + rowLayer;
  }
};

// The image file an image text ("^@BM" path "," numbers) names, with a
// leading "%temp%" (any case) standing for the folder of held images.
// Empty when the text is no image text.
std::string ImageTextPath(const std::string& content);

// Drawing orders of TJwwData::Draw.
enum : int32_t { kDrawOrderNormal = 0, kDrawOrderByLayer = 1, kDrawOrderByLayerReversed = 2 };
