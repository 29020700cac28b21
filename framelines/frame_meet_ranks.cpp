#include "frame_meet_ranks.h"

#include <algorithm>
#include <cmath>

namespace frame_ends {

namespace {

// The run of sorted values within the tolerance of v: |value - v| grows
// away from v on either side, so the run is found by bisection.
void RunNear(const std::vector<double>& sorted, double v, uint32_t& lo, uint32_t& hi) {
  const auto first = std::partition_point(sorted.begin(), sorted.end(), [v](double a) {
    return a < v && std::fabs(a - v) > kMeetTolerance;
  });
  const auto last = std::partition_point(first, sorted.end(), [v](double a) {
    return !(a > v && std::fabs(a - v) > kMeetTolerance);
  });
  lo = static_cast<uint32_t>(first - sorted.begin());
  hi = static_cast<uint32_t>(last - sorted.begin());
}

}  // namespace

MeetKey MeetRanks::KeyOf(double x, double y) {
  if (!built_) {
    // An end with a coordinate that is not finite meets nothing: left out
    // of both lists alike, so that ranks in the two lists name the same ends.
    for (const TFrameLine& l : lines_) {
      for (const auto& [ex, ey] : {std::pair{l.X1, l.Y1}, std::pair{l.X2, l.Y2}}) {
        if (!std::isfinite(ex) || !std::isfinite(ey)) continue;
        xs_.push_back(ex);
        ys_.push_back(ey);
      }
    }
    std::sort(xs_.begin(), xs_.end());
    std::sort(ys_.begin(), ys_.end());
    built_ = true;
  }
  MeetKey key;
  RunNear(xs_, x, key[0], key[1]);
  RunNear(ys_, y, key[2], key[3]);
  return key;
}

}  // namespace frame_ends
