// Numbering order of drawn frames. Every frame gets a cell key from its
// centre (cells of half the smallest frame width and height); frames are
// then ordered by a selection sort that, after each scan, exchanges the
// rectangle of row i with that of the best row. The exchange is not stable,
// so equal keys end up in an order of their own; the sort is reproduced
// exactly, but with a tournament tree that finds each scan's best row in
// O(log n) instead of O(n).
#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "frame_chain.h"

namespace {

struct Keys {
  std::vector<double> Kx, Ky;
  bool RowsFirst = true;

  // True when row j comes before row best (the scan's replacement test).
  bool ComesFirst(size_t j, size_t best) const {
    if (RowsFirst) {
      if (std::fabs(Ky[best] - Ky[j]) > kMeetTolerance) return Ky[j] > Ky[best];
      return Kx[j] < Kx[best];
    }
    if (std::fabs(Kx[best] - Kx[j]) > kMeetTolerance) return Kx[j] < Kx[best];
    return Ky[j] > Ky[best];
  }

  void Swap(std::vector<TFrameRect>& frames, size_t a, size_t b) {
    std::swap(frames[a].XMin, frames[b].XMin);
    std::swap(frames[a].YMin, frames[b].YMin);
    std::swap(frames[a].XMax, frames[b].XMax);
    std::swap(frames[a].YMax, frames[b].YMax);
    std::swap(Kx[a], Kx[b]);
    std::swap(Ky[a], Ky[b]);
  }
};

// The tree finds the scan's answer only when the test is a strict weak order:
// all keys finite and no two different primary keys within the tolerance
// (keys are multiples of a cell of at least half a millimetre, so this holds
// for every sane drawing). Otherwise the plain scan runs.
bool TreeIsExact(const Keys& k) {
  for (size_t i = 0; i < k.Kx.size(); ++i) {
    if (!std::isfinite(k.Kx[i]) || !std::isfinite(k.Ky[i])) return false;
  }
  std::vector<double> primary = k.RowsFirst ? k.Ky : k.Kx;
  std::sort(primary.begin(), primary.end());
  for (size_t i = 1; i < primary.size(); ++i) {
    if (primary[i] != primary[i - 1] && primary[i] - primary[i - 1] <= kMeetTolerance) return false;
  }
  return true;
}

void PlainSelectionSort(std::vector<TFrameRect>& frames, Keys& k) {
  const size_t n = frames.size();
  for (size_t i = 0; i + 1 < n; ++i) {
    size_t best = i;
    for (size_t j = i + 1; j < n; ++j) {
      if (k.ComesFirst(j, best)) best = j;
    }
    k.Swap(frames, i, best);
  }
}

// Leaves hold row positions (npos for rows already placed); an inner node
// holds the leftmost best row of its range, i.e. what a left-to-right scan
// over that range would keep.
void TreeSelectionSort(std::vector<TFrameRect>& frames, Keys& k) {
  constexpr size_t npos = std::numeric_limits<size_t>::max();
  const size_t n = frames.size();
  size_t size = 1;
  while (size < n) size <<= 1;
  std::vector<size_t> tree(2 * size, npos);
  auto combine = [&](size_t left, size_t right) {
    if (left == npos) return right;
    if (right == npos) return left;
    return k.ComesFirst(right, left) ? right : left;
  };
  auto update = [&](size_t pos, size_t value) {
    size_t node = size + pos;
    tree[node] = value;
    for (node >>= 1; node >= 1; node >>= 1) tree[node] = combine(tree[2 * node], tree[2 * node + 1]);
  };
  for (size_t i = 0; i < n; ++i) tree[size + i] = i;
  for (size_t node = size - 1; node >= 1; --node) tree[node] = combine(tree[2 * node], tree[2 * node + 1]);
  for (size_t i = 0; i + 1 < n; ++i) {
    const size_t best = tree[1];
    k.Swap(frames, i, best);
    update(i, npos);
    if (best != i) update(best, best);  // row best now holds what row i held
  }
}

}  // namespace

void OrderFramesByNumbering(std::vector<TFrameRect>& frames, int32_t direction) {
  if (frames.empty()) return;
  double minW = std::numeric_limits<double>::infinity();
  double minH = std::numeric_limits<double>::infinity();
  for (const TFrameRect& f : frames) {
    minW = std::min(minW, f.XMax - f.XMin);
    minH = std::min(minH, f.YMax - f.YMin);
  }
  const double cellW = minW / 2;
  const double cellH = minH / 2;
  Keys k;
  k.RowsFirst = direction == 0;
  k.Kx.resize(frames.size());
  k.Ky.resize(frames.size());
  for (size_t i = 0; i < frames.size(); ++i) {
    const TFrameRect& f = frames[i];
    k.Kx[i] = std::trunc(((f.XMin + f.XMax) / 2) / cellW) * cellW;
    k.Ky[i] = std::trunc(((f.YMin + f.YMax) / 2) / cellH) * cellH;
  }
  if (TreeIsExact(k)) {
    TreeSelectionSort(frames, k);
  } else {
    PlainSelectionSort(frames, k);
  }
}
