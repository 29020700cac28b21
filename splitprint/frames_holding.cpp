// Each edge test of the window rule depends on one coordinate and is
// monotone in it (x - xmin >= tol rises with x, x - xmax <= -tol falls, NaN
// and infinite cases included), so over the points sorted by x a frame holds
// a run of them in x, and likewise in y. A frame is then a rectangle of
// ranks. A sweep over the x ranks keeps the frames whose x run covers the
// current rank in a segment tree over y ranks; each node keeps a min-heap of
// frame indices, frames that left the sweep are dropped from the top lazily.
#include "frames_holding.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numeric>
#include <queue>

#include "clipping.h"

namespace {

using MinHeap = std::priority_queue<int32_t, std::vector<int32_t>, std::greater<>>;

// The edge bits of the window rule for one axis: v against [lo, hi].
int32_t AxisOut(double v, double lo, double hi) { return OutCode(v, 0, lo, -1, hi, 1); }

// The run [begin, end) of sorted positions whose coordinate lies strictly
// inside (lo, hi); empty when begin >= end.
std::pair<size_t, size_t> InsideRun(const std::vector<double>& sorted, double lo, double hi) {
  const auto first = std::partition_point(sorted.begin(), sorted.end(),
                                          [&](double v) { return (AxisOut(v, lo, hi) & kOutLeft) != 0; });
  const auto last = std::partition_point(first, sorted.end(),
                                         [&](double v) { return (AxisOut(v, lo, hi) & kOutRight) == 0; });
  return {static_cast<size_t>(first - sorted.begin()), static_cast<size_t>(last - sorted.begin())};
}

class FrameTree {
 public:
  explicit FrameTree(size_t leaves) {
    while (size_ < leaves) size_ <<= 1;
    heaps_.resize(2 * size_);
  }

  void Add(size_t begin, size_t end, int32_t frame) {
    for (size_t lo = begin + size_, hi = end + size_; lo < hi; lo >>= 1, hi >>= 1) {
      if (lo & 1) heaps_[lo++].push(frame);
      if (hi & 1) heaps_[--hi].push(frame);
    }
  }

  // The least live frame over the nodes above leaf, or -1.
  int32_t Least(size_t leaf, const std::vector<char>& live) {
    int32_t best = -1;
    for (size_t node = leaf + size_; node >= 1; node >>= 1) {
      MinHeap& h = heaps_[node];
      while (!h.empty() && !live[static_cast<size_t>(h.top())]) h.pop();
      if (!h.empty() && (best < 0 || h.top() < best)) best = h.top();
    }
    return best;
  }

 private:
  size_t size_ = 1;
  std::vector<MinHeap> heaps_;
};

}  // namespace

std::vector<int32_t> FirstFramesHolding(const std::vector<TZumenWakuField>& frames, size_t frameCount,
                                        const std::vector<std::pair<double, double>>& points) {
  std::vector<int32_t> answer(points.size(), -1);
  frameCount = std::min(frameCount, frames.size());
  // A point with a NaN coordinate is outside every frame and has no rank.
  std::vector<size_t> byX;
  for (size_t p = 0; p < points.size(); ++p) {
    if (!std::isnan(points[p].first) && !std::isnan(points[p].second)) byX.push_back(p);
  }
  if (byX.empty() || frameCount == 0) return answer;
  std::vector<size_t> byY = byX;
  std::stable_sort(byX.begin(), byX.end(), [&](size_t a, size_t b) { return points[a].first < points[b].first; });
  std::stable_sort(byY.begin(), byY.end(), [&](size_t a, size_t b) { return points[a].second < points[b].second; });
  const size_t n = byX.size();
  std::vector<double> xs(n), ys(n);
  std::vector<size_t> yRank(points.size());
  for (size_t i = 0; i < n; ++i) {
    xs[i] = points[byX[i]].first;
    ys[i] = points[byY[i]].second;
    yRank[byY[i]] = i;
  }

  // Frames by the x rank where they enter and where they leave the sweep.
  struct Span {
    size_t Y0, Y1;
  };
  std::vector<Span> spans(frameCount);
  std::vector<std::vector<int32_t>> enter(n + 1), leave(n + 1);
  for (size_t f = 0; f < frameCount; ++f) {
    const TZumenWakuField& w = frames[f];
    const auto [x0, x1] = InsideRun(xs, w.XMin, w.XMax);
    const auto [y0, y1] = InsideRun(ys, w.YMin, w.YMax);
    if (x0 >= x1 || y0 >= y1) continue;
    spans[f] = Span{y0, y1};
    enter[x0].push_back(static_cast<int32_t>(f));
    leave[x1].push_back(static_cast<int32_t>(f));
  }

  FrameTree tree(n);
  std::vector<char> live(frameCount, 0);
  for (size_t i = 0; i < n; ++i) {
    for (const int32_t f : leave[i]) live[static_cast<size_t>(f)] = 0;
    for (const int32_t f : enter[i]) {
      live[static_cast<size_t>(f)] = 1;
      tree.Add(spans[static_cast<size_t>(f)].Y0, spans[static_cast<size_t>(f)].Y1, f);
    }
    const size_t p = byX[i];
    answer[p] = tree.Least(yRank[p], live);
  }
  return answer;
}
