// Finding the held image a text names among many: the names sorted once,
// so each key costs a binary search and a range minimum instead of a scan.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class THeldImageIndex {
 public:
  // upperNames: the held images' names upper-cased, in list order.
  explicit THeldImageIndex(std::vector<std::string> upperNames);

  // The held image a key names: the first row (in list order) whose name
  // begins with the key, so "PIC.BMP" finds the stored "pic.bmp.gz"; -1
  // when none does.
  int32_t Find(const std::string& key) const;

 private:
  std::vector<std::string> names_;  // sorted
  size_t size_ = 0;
  // Segment tree over the sorted order: leaf size_ + i holds the row of
  // names_[i], each inner node the smallest row below it.
  std::vector<int32_t> rows_;
};
