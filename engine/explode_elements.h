// The per-kind steps of block explosion: each builds the copy of one element
// of a block definition placed by a tree row's map, appends it to the
// drawing's array of its kind and appends (kind, row) to the order list.
// Each answers false, leaving every count covering exactly the rows filled,
// when an array cannot grow.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "geometry.h"
#include "jww_data.h"

// What a tree row decides for the copies of its definition's elements.
struct TExplodePlacement {
  TAffineMap Map;              // divisor 1
  bool KeepOwnLayers = false;  // bit 0x40 of the row's line-type byte
  uint16_t Layer = 0;          // the row's layer and layer group, used
  uint16_t LayerGroup = 0;     // when KeepOwnLayers is false
};

// An image text's content: the explosion rewrites its size values.
bool BeginsImageMark(const std::string& content);

bool ExplodeLine(TJwwData& m, const TEntJwwLine& src, const TExplodePlacement& p);
bool ExplodeArc(TJwwData& m, const TEntJwwArc& src, const TExplodePlacement& p);
bool ExplodePoint(TJwwData& m, const TEntJwwPoint& src, const TExplodePlacement& p);
bool ExplodeText(TJwwData& m, const TEntJwwText& src, const TExplodePlacement& p);
bool ExplodeDimension(TJwwData& m, const TEntJwwDimension& src, const TExplodePlacement& p);
bool ExplodeSolid(TJwwData& m, const TEntJwwSolid& src, const TExplodePlacement& p);
