#include "held_image_index.h"

#include <algorithm>
#include <numeric>

THeldImageIndex::THeldImageIndex(std::vector<std::string> upperNames) : size_(upperNames.size()) {
  std::vector<int32_t> order(size_);
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](int32_t a, int32_t b) { return upperNames[static_cast<size_t>(a)] < upperNames[static_cast<size_t>(b)]; });
  names_.reserve(size_);
  rows_.assign(2 * size_, INT32_MAX);
  for (size_t i = 0; i < size_; ++i) {
    names_.push_back(std::move(upperNames[static_cast<size_t>(order[i])]));
    rows_[size_ + i] = order[i];
  }
  for (size_t i = size_; i-- > 1;) rows_[i] = std::min(rows_[2 * i], rows_[2 * i + 1]);
}

int32_t THeldImageIndex::Find(const std::string& key) const {
  // The names that begin with the key follow one another from the first
  // name not below it.
  const auto first = std::lower_bound(names_.begin(), names_.end(), key);
  const auto last = std::partition_point(first, names_.end(),
                                         [&](const std::string& n) { return n.compare(0, key.size(), key) == 0; });
  size_t lo = static_cast<size_t>(first - names_.begin()) + size_;
  size_t hi = static_cast<size_t>(last - names_.begin()) + size_;
  int32_t best = INT32_MAX;
  for (; lo < hi; lo /= 2, hi /= 2) {
    if (lo & 1) best = std::min(best, rows_[lo++]);
    if (hi & 1) best = std::min(best, rows_[--hi]);
  }
  return best == INT32_MAX ? -1 : best;
}
