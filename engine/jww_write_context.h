// State of one save: the target version, whether SXF dimensions are split,
// the running object index shared by every list of the file, the index of
// each class's first appearance, and a look-up of block numbers.
#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <unordered_map>

struct JwwWriteContext {
  int32_t Version = 0;
  // Target below 420 while the model is 420 or later: SXF dimensions are
  // written as a plain dimension plus two lines and four points.
  bool SplitSxf = false;
  uint32_t NextIndex = 1;
  // Index of each class by writer kind 1..8 (8 = "CDataList"); 0 = not yet
  // written.
  std::array<uint32_t, 9> ClassIndex{};
  // Block number -> TJwwData::MapBlockNumber's answer, remembered so the
  // definitions are scanned once per number rather than once per insert.
  std::unordered_map<uint32_t, uint32_t> BlockNumberMap;
  // Held images referred to by texts that the image section had to leave out.
  uint32_t DroppedImages = 0;
};

// A save that cannot be completed (an image file that cannot be read).
// Thrown inside the writer only; SaveToBytes and SaveToFile answer false.
struct JwwWriteError : std::runtime_error {
  using std::runtime_error::runtime_error;
};
