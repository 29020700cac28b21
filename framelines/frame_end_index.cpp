#include "frame_end_index.h"

#include <algorithm>
#include <array>
#include <bit>

namespace frame_ends {

namespace {

// Index cells are 1e-6 mm wide, so a query spans at most two cells per axis.
// At |v| >= 2^40 - 1 the spacing of doubles exceeds the tolerance, so
// coordinates that meet there are equal and the raw bits serve as the key (a
// collision with a near key only costs a comparison: every candidate is
// checked with Meet).
constexpr double kCell = 1e-6;
constexpr double kFar = 0x1p40 - 1;

int64_t AxisKey(double v) {
  if (std::fabs(v) < kFar) return static_cast<int64_t>(std::floor(v / kCell));
  return std::bit_cast<int64_t>(v);
}

void AxisKeyRange(double v, double reach, int64_t& lo, int64_t& hi) {
  if (std::fabs(v) < kFar) {
    lo = AxisKey(v - reach);
    hi = AxisKey(v + reach);
  } else {
    lo = hi = AxisKey(v);
  }
}

uint64_t CellKey(int64_t kx, int64_t ky) {
  uint64_t h = static_cast<uint64_t>(kx) * 0x9E3779B97F4A7C15ull;
  h ^= static_cast<uint64_t>(ky) + 0x632BE59BD9B4E019ull + (h << 6) + (h >> 2);
  return h;
}

// A full mix, so that table slots (the low bits) depend on every input bit:
// coordinates such as 2.5 leave the low bits of a double empty.
uint64_t SlotHash(uint64_t v) {
  v ^= v >> 30;
  v *= 0xBF58476D1CE4E5B9ull;
  v ^= v >> 27;
  v *= 0x94D049BB133111EBull;
  return v ^ (v >> 31);
}

// Positive and negative zero behave alike, so they share a group. (Frame
// lines hold no NaN: the line tests refuse it.)
uint64_t CoordBits(double v) { return std::bit_cast<uint64_t>(v == 0 ? 0.0 : v); }

// For each of n items, the first item whose key (key(i), an array of
// integers) equals its own, through an open-addressing table.
template <class KeyOf>
std::vector<int32_t> FirstOfEqualKeys(size_t n, const KeyOf& key) {
  size_t size = 8;
  while (size < 2 * n) size <<= 1;
  std::vector<int32_t> table(size, -1);
  std::vector<int32_t> first(n);
  for (size_t i = 0; i < n; ++i) {
    const auto k = key(i);
    uint64_t h = 0;
    for (const auto v : k) h = SlotHash(h ^ static_cast<uint64_t>(v));
    size_t s = h & (size - 1);
    while (table[s] >= 0 && key(static_cast<size_t>(table[s])) != k) s = (s + 1) & (size - 1);
    if (table[s] < 0) table[s] = static_cast<int32_t>(i);
    first[i] = table[s];
  }
  return first;
}

// For each line, whether a line with other coordinates has both ends in the
// same index cells.
std::vector<bool> SharingCells(const std::vector<TFrameLine>& lines,
                               const std::vector<std::array<uint64_t, 5>>& bits) {
  const std::vector<int32_t> first = FirstOfEqualKeys(lines.size(), [&](size_t i) {
    const TFrameLine& l = lines[i];
    return std::array<int64_t, 4>{AxisKey(l.X1), AxisKey(l.Y1), AxisKey(l.X2), AxisKey(l.Y2)};
  });
  std::vector<bool> crowded(lines.size());
  for (size_t i = 0; i < lines.size(); ++i)
    if (bits[static_cast<size_t>(first[i])] != bits[i]) crowded[static_cast<size_t>(first[i])] = true;
  for (size_t i = 0; i < lines.size(); ++i) crowded[i] = crowded[static_cast<size_t>(first[i])];
  return crowded;
}

}  // namespace

CellRange CellsNear(double x, double y, double reach) {
  CellRange r;
  AxisKeyRange(x, reach, r.X0, r.X1);
  AxisKeyRange(y, reach, r.Y0, r.Y1);
  return r;
}

bool InCells(double x, double y, const CellRange& r) {
  const int64_t kx = AxisKey(x), ky = AxisKey(y);
  return kx >= r.X0 && kx <= r.X1 && ky >= r.Y0 && ky <= r.Y1;
}

void CellTable::Build(std::vector<std::pair<uint64_t, int32_t>>& entries) {
  std::sort(entries.begin(), entries.end());
  entries.erase(std::unique(entries.begin(), entries.end()), entries.end());
  size_t cells = 0;
  for (size_t i = 0; i < entries.size(); ++i) cells += i == 0 || entries[i].first != entries[i - 1].first;
  size_t size = 8;
  while (size < 2 * cells) size <<= 1;
  slots_.assign(size, Slot{});
  mask_ = size - 1;
  groups_.resize(entries.size());
  for (size_t i = 0; i < entries.size();) {
    size_t j = i;
    while (j < entries.size() && entries[j].first == entries[i].first) {
      groups_[j] = entries[j].second;
      ++j;
    }
    uint64_t s = SlotHash(entries[i].first) & mask_;
    while (slots_[s].Count != 0) s = (s + 1) & mask_;
    slots_[s] = Slot{entries[i].first, static_cast<uint32_t>(i), static_cast<uint32_t>(j - i)};
    i = j;
  }
}

std::span<const int32_t> CellTable::Find(uint64_t cell) const {
  if (slots_.empty()) return {};
  for (uint64_t s = SlotHash(cell) & mask_; slots_[s].Count != 0; s = (s + 1) & mask_) {
    if (slots_[s].Cell == cell) return {groups_.data() + slots_[s].Begin, slots_[s].Count};
  }
  return {};
}

EndIndex::EndIndex(std::vector<TFrameLine>& lines, MeetRanks& opposite) : lines_(lines) {
  // A line's key: its coordinates' bits; or, where another line lies in
  // the same index cells and both of its ends meet some ends of the other
  // list, those ends (found by bisection, so only where it may pay).
  std::vector<std::array<uint64_t, 5>> keys(lines.size());
  for (size_t i = 0; i < lines.size(); ++i) {
    const TFrameLine& l = lines[i];
    keys[i] = {CoordBits(l.X1), CoordBits(l.Y1), CoordBits(l.X2), CoordBits(l.Y2), 0};
  }
  const std::vector<bool> crowded = SharingCells(lines, keys);
  for (size_t i = 0; i < lines.size(); ++i) {
    const TFrameLine& l = lines[i];
    if (!crowded[i]) continue;
    if (!std::isfinite(l.X1) || !std::isfinite(l.Y1) || !std::isfinite(l.X2) || !std::isfinite(l.Y2)) continue;
    const MeetKey a = opposite.KeyOf(l.X1, l.Y1), b = opposite.KeyOf(l.X2, l.Y2);
    auto pair = [](uint32_t lo, uint32_t hi) { return uint64_t{lo} << 32 | hi; };
    auto some = [](const MeetKey& k) { return k[0] < k[1] && k[2] < k[3]; };
    if (some(a) && some(b)) keys[i] = {pair(a[0], a[1]), pair(a[2], a[3]), pair(b[0], b[1]), pair(b[2], b[3]), 1};
  }
  // Groups in order of first appearance. A group's coordinates are those of
  // its first line.
  const std::vector<int32_t> first = FirstOfEqualKeys(lines.size(), [&](size_t i) -> const auto& { return keys[i]; });
  std::vector<uint32_t> counts;
  groupOf_.resize(lines.size());
  for (size_t i = 0; i < lines.size(); ++i) {
    const auto f = static_cast<size_t>(first[i]);
    if (f < i) {
      groupOf_[i] = groupOf_[f];
    } else {
      groupOf_[i] = static_cast<int32_t>(groups_.size());
      const TFrameLine& l = lines[i];
      // Begin holds the first row until the member list is laid out.
      groups_.push_back(Group{l.X1 == 0 ? 0.0 : l.X1, l.Y1 == 0 ? 0.0 : l.Y1, l.X2 == 0 ? 0.0 : l.X2,
                              l.Y2 == 0 ? 0.0 : l.Y2, static_cast<uint32_t>(i), 0, 0});
      counts.push_back(0);
    }
    ++counts[static_cast<size_t>(groupOf_[i])];
  }
  // Members by group, each group's rows ascending.
  uint32_t at = 0;
  for (size_t g = 0; g < groups_.size(); ++g) {
    groups_[g].Begin = groups_[g].Head = groups_[g].End = at;
    at += counts[g];
  }
  members_.resize(lines.size());
  for (size_t i = 0; i < lines.size(); ++i) {
    Group& g = groups_[static_cast<size_t>(groupOf_[i])];
    members_[g.End++] = static_cast<int32_t>(i);
  }
  std::vector<std::pair<uint64_t, int32_t>> entries;
  entries.reserve(groups_.size() * 2);
  for (size_t g = 0; g < groups_.size(); ++g) {
    const Group& gr = groups_[g];
    for (const auto& [x, y] : {std::pair{gr.X1, gr.Y1}, std::pair{gr.X2, gr.Y2}}) {
      if (std::isfinite(x) && std::isfinite(y)) entries.emplace_back(CellKey(AxisKey(x), AxisKey(y)), g);
    }
  }
  cells_.Build(entries);
}

int32_t EndIndex::Representative(Group& g, int32_t exclude) {
  auto taken = [&](uint32_t k) { return lines_[static_cast<size_t>(members_[k])].Taken != 0; };
  while (g.Head < g.End && taken(g.Head)) ++g.Head;
  for (uint32_t k = g.Head; k < g.End; ++k) {
    const int32_t line = members_[k];
    if (line != exclude && !taken(k)) return line;
  }
  return -1;
}

bool EndIndex::FarEnd(const Group& g, double x, double y, double& fx, double& fy) {
  if (Meet(x, y, g.X1, g.Y1)) {
    fx = g.X2;
    fy = g.Y2;
    return true;
  }
  if (Meet(x, y, g.X2, g.Y2)) {
    fx = g.X1;
    fy = g.Y1;
    return true;
  }
  return false;
}

size_t EndIndex::Cells(const CellRange& r, std::span<const int32_t> (&out)[4]) const {
  size_t n = 0;
  for (int64_t kx = r.X0; kx <= r.X1; ++kx) {
    for (int64_t ky = r.Y0; ky <= r.Y1; ++ky) {
      const std::span<const int32_t> cell = cells_.Find(CellKey(kx, ky));
      if (!cell.empty()) out[n++] = cell;
    }
  }
  return n;
}

size_t EndIndex::Total(const std::span<const int32_t>* cells, size_t n) {
  size_t total = 0;
  for (size_t k = 0; k < n; ++k) total += cells[k].size();
  return total;
}

size_t EndIndex::Crowd(double x, double y) const {
  if (!std::isfinite(x) || !std::isfinite(y)) return 0;
  std::span<const int32_t> cells[4];
  const size_t n = Cells(CellsNear(x, y, kReach), cells);
  return Total(cells, n);
}

void EndIndex::Query(double x, double y, int32_t exclude, std::vector<Candidate>& out) {
  out.clear();
  if (!std::isfinite(x) || !std::isfinite(y)) return;  // such a point meets nothing
  std::span<const int32_t> cells[4];
  const size_t n = Cells(CellsNear(x, y, kReach), cells);
  for (size_t k = 0; k < n; ++k) {
    for (const int32_t gi : cells[k]) {
      Group& g = groups_[static_cast<size_t>(gi)];
      double fx, fy;
      if (!FarEnd(g, x, y, fx, fy)) continue;
      const int32_t line = Representative(g, exclude);
      if (line >= 0) out.push_back(Candidate{line, gi, fx, fy});
    }
  }
  if (out.size() > 1) {
    std::sort(out.begin(), out.end(), [](const Candidate& a, const Candidate& b) { return a.Line < b.Line; });
    // Two cells of one query can share a hash: keep one copy.
    out.erase(std::unique(out.begin(), out.end(),
                          [](const Candidate& a, const Candidate& b) { return a.Line == b.Line; }),
              out.end());
  }
}

}  // namespace frame_ends
