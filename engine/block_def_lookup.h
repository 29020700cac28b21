// First (lowest) definition row for each block number. A sorted array of
// (number, row) pairs: a file may hold millions of definitions, and a hash
// table would take several times their size in the file.
#pragma once

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "jwwtype.h"

class TDefLookup {
 public:
  TDefLookup(const std::vector<TEntJwwBlockDef>& defs, size_t defCount) {
    byNumber_.reserve(defCount);
    for (size_t d = 0; d < defCount; ++d) byNumber_.push_back({defs[d].Number, static_cast<int32_t>(d)});
    std::sort(byNumber_.begin(), byNumber_.end());
  }
  // -1 when no definition carries the number.
  int32_t Find(uint32_t blockNumber) const {
    const int32_t number = static_cast<int32_t>(blockNumber);
    const auto it = std::lower_bound(byNumber_.begin(), byNumber_.end(), std::pair<int32_t, int32_t>{number, INT32_MIN});
    return it == byNumber_.end() || it->first != number ? -1 : it->second;
  }

 private:
  std::vector<std::pair<int32_t, int32_t>> byNumber_;
};
