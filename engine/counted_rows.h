// The rows of an array that its count covers. Counts are kept beside the
// arrays and may be lowered to hide rows, or be damaged: a negative count
// covers nothing, and no count reaches past the array.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

inline size_t CountedRows(int32_t count, size_t size) {
  return count <= 0 ? 0 : std::min(static_cast<size_t>(count), size);
}

template <class T>
size_t CountedRows(int32_t count, const std::vector<T>& rows) {
  return CountedRows(count, rows.size());
}
