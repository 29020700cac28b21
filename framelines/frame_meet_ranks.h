// Which end points of a list of lines meet a point, named by ranks: the ends
// meeting (x, y) are exactly those whose x lies in ranks [X0, X1) of all
// ends sorted by x and whose y lies in ranks [Y0, Y1) sorted by y (the ends
// within the tolerance of a value form one run of a sorted list). Points
// with equal keys meet the same ends, however far apart the points are.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "frame_chain.h"

namespace frame_ends {

using MeetKey = std::array<uint32_t, 4>;

class MeetRanks {
 public:
  explicit MeetRanks(const std::vector<TFrameLine>& lines) : lines_(lines) {}

  // The key of the ends meeting (x, y), a finite point. The sorted lists
  // are made at the first call.
  MeetKey KeyOf(double x, double y);

 private:
  const std::vector<TFrameLine>& lines_;
  bool built_ = false;
  std::vector<double> xs_, ys_;
};

}  // namespace frame_ends
