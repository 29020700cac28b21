// Large synthetic JWW drawings for benchmarks, streamed straight into bytes
// by the test-side archive encoder (no model is built on the way).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class TJwwData;

namespace jwwtest {

// The mixed drawing: a repeating cycle of 20 elements (8 lines, 3 arcs,
// 3 texts, 2 points of which one a symbol point, 2 solids of which one in a
// free colour, 1 dimension, 1 block insert) over 16 layer groups, followed
// by 10 block definitions of 6 elements each that the inserts refer to.
std::vector<uint8_t> SyntheticDrawingBytes(size_t elementCount, int32_t version = 700);

// A drawing of `elementCount` elements of one kind (1..7), the same element
// shapes as in the mixed drawing; no block definitions.
std::vector<uint8_t> SyntheticSingleKindBytes(int32_t kind, size_t elementCount, int32_t version = 700);

// The synthetic split of the benchmarks: the mixed drawing of a million
// elements (5000 x 50 mm) loaded into d, and `frames` paper frames of
// 49.9 x 60 mm side by side over it, about 10,000 elements each with 100.
void LoadSyntheticSplitDrawing(TJwwData& d, int frames);

}  // namespace jwwtest
