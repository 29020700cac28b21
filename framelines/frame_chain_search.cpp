// Drawn paper frames: rectangles of frame lines whose end points meet in a
// closed chain horizontal, vertical, horizontal, vertical.
//
// The chain search gives exactly the result of trying every candidate line in
// list order at every step, but finds the candidates of a step through an
// index on end points instead of scanning the lists, so large drawings stay
// fast. Two observations keep it exact:
//  - A line's part in a chain depends only on its coordinates. (The rules
//    "H2 is not H" and "V2 is not V" never decide anything: a line cannot meet
//    a chain point with the same end twice, since its ends are at least 1 mm
//    apart while meeting points differ by 1e-8.) Lines with identical
//    coordinates therefore form one group, tried once, through the member
//    that comes first in list order among those not yet taken.
//  - Taking lines only removes candidates, so a horizontal line whose search
//    failed fails again later, and so does every identical line.
#include <algorithm>
#include <bit>
#include <cmath>
#include <unordered_map>

#include "frame_chain.h"

bool IsHorizontalFrameLine(double x1, double y1, double x2, double y2) {
  return std::fabs(x1 - x2) >= 1 && std::fabs(y1 - y2) <= kMeetTolerance;
}

bool IsVerticalFrameLine(double x1, double y1, double x2, double y2) {
  return std::fabs(x1 - x2) <= kMeetTolerance && std::fabs(y1 - y2) >= 1;
}

namespace {

bool Meet(double ax, double ay, double bx, double by) {
  return std::fabs(ax - bx) <= kMeetTolerance && std::fabs(ay - by) <= kMeetTolerance;
}

// Index cells are 1e-6 mm wide; a query looks 2e-8 to each side, more than the
// tolerance, so it spans at most two cells per axis. At |v| >= 2^40 - 1 the
// spacing of doubles exceeds the tolerance, so coordinates that meet there are
// equal and the raw bits serve as the key (a collision with a near key only
// costs a comparison: every candidate is checked with Meet).
constexpr double kCell = 1e-6;
constexpr double kReach = 2e-8;
constexpr double kFar = 0x1p40 - 1;

int64_t AxisKey(double v) {
  if (std::fabs(v) < kFar) return static_cast<int64_t>(std::floor(v / kCell));
  return std::bit_cast<int64_t>(v);
}

void AxisKeyRange(double v, int64_t& lo, int64_t& hi) {
  if (std::fabs(v) < kFar) {
    lo = AxisKey(v - kReach);
    hi = AxisKey(v + kReach);
  } else {
    lo = hi = AxisKey(v);
  }
}

uint64_t CellKey(int64_t kx, int64_t ky) {
  uint64_t h = static_cast<uint64_t>(kx) * 0x9E3779B97F4A7C15ull;
  h ^= static_cast<uint64_t>(ky) + 0x632BE59BD9B4E019ull + (h << 6) + (h >> 2);
  return h;
}

struct Coords {
  double X1, Y1, X2, Y2;
  bool operator==(const Coords&) const = default;
};

// Positive and negative zero behave alike, so they share a group.
double CanonicalZero(double v) { return v == 0 ? 0.0 : v; }

struct CoordsHash {
  size_t operator()(const Coords& c) const {
    uint64_t h = 0;
    for (double v : {c.X1, c.Y1, c.X2, c.Y2}) {
      h ^= std::bit_cast<uint64_t>(v) + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2);
    }
    return static_cast<size_t>(h);
  }
};

struct Group {
  Coords C;
  std::vector<int32_t> Members;  // rows of the working list, ascending
  size_t Head = 0;               // members before Head are taken
  bool Failed = false;           // started no frame as a chain's first line
};

// A candidate of one step: the line to take and the end the walk goes on from.
struct Candidate {
  int32_t Line;
  int32_t GroupIndex;
  double FarX, FarY;
};

class EndIndex {
 public:
  explicit EndIndex(std::vector<TFrameLine>& lines) : lines_(lines) {
    groupOf_.resize(lines.size());
    std::unordered_map<Coords, int32_t, CoordsHash> byCoords;
    byCoords.reserve(lines.size());
    for (size_t i = 0; i < lines.size(); ++i) {
      const TFrameLine& l = lines[i];
      const Coords c{CanonicalZero(l.X1), CanonicalZero(l.Y1), CanonicalZero(l.X2), CanonicalZero(l.Y2)};
      auto [it, added] = byCoords.try_emplace(c, static_cast<int32_t>(groups_.size()));
      if (added) groups_.push_back(Group{c, {}, 0, false});
      groups_[static_cast<size_t>(it->second)].Members.push_back(static_cast<int32_t>(i));
      groupOf_[i] = it->second;
    }
    buckets_.reserve(groups_.size() * 2);
    for (size_t g = 0; g < groups_.size(); ++g) {
      Insert(groups_[g].C.X1, groups_[g].C.Y1, static_cast<int32_t>(g));
      Insert(groups_[g].C.X2, groups_[g].C.Y2, static_cast<int32_t>(g));
    }
  }

  Group& GroupOf(int32_t line) { return groups_[static_cast<size_t>(groupOf_[static_cast<size_t>(line)])]; }

  // The first untaken member of a group other than `exclude`, or -1.
  int32_t Representative(Group& g, int32_t exclude) {
    while (g.Head < g.Members.size() && lines_[static_cast<size_t>(g.Members[g.Head])].Taken != 0) ++g.Head;
    for (size_t k = g.Head; k < g.Members.size(); ++k) {
      const int32_t line = g.Members[k];
      if (line != exclude && lines_[static_cast<size_t>(line)].Taken == 0) return line;
    }
    return -1;
  }

  // Untaken lines (other than `exclude`) with an end meeting (x, y), one per
  // group, in list order, each with its other end.
  void Query(double x, double y, int32_t exclude, std::vector<Candidate>& out) {
    out.clear();
    if (!std::isfinite(x) || !std::isfinite(y)) return;  // such a point meets nothing
    int64_t x0, x1, y0, y1;
    AxisKeyRange(x, x0, x1);
    AxisKeyRange(y, y0, y1);
    for (int64_t kx = x0; kx <= x1; ++kx) {
      for (int64_t ky = y0; ky <= y1; ++ky) {
        const auto it = buckets_.find(CellKey(kx, ky));
        if (it == buckets_.end()) continue;
        for (int32_t gi : it->second) {
          Group& g = groups_[static_cast<size_t>(gi)];
          double fx, fy;
          if (Meet(x, y, g.C.X1, g.C.Y1)) {
            fx = g.C.X2;
            fy = g.C.Y2;
          } else if (Meet(x, y, g.C.X2, g.C.Y2)) {
            fx = g.C.X1;
            fy = g.C.Y1;
          } else {
            continue;
          }
          const int32_t line = Representative(g, exclude);
          if (line >= 0) out.push_back(Candidate{line, gi, fx, fy});
        }
      }
    }
    if (out.size() > 1) {
      std::sort(out.begin(), out.end(), [](const Candidate& a, const Candidate& b) { return a.Line < b.Line; });
      // Two cells of one query can share a hash bucket: keep one copy.
      out.erase(std::unique(out.begin(), out.end(),
                            [](const Candidate& a, const Candidate& b) { return a.Line == b.Line; }),
                out.end());
    }
  }

 private:
  void Insert(double x, double y, int32_t group) {
    if (!std::isfinite(x) || !std::isfinite(y)) return;
    std::vector<int32_t>& bucket = buckets_[CellKey(AxisKey(x), AxisKey(y))];
    if (bucket.empty() || bucket.back() != group) bucket.push_back(group);
  }

  std::vector<TFrameLine>& lines_;
  std::vector<Group> groups_;
  std::vector<int32_t> groupOf_;
  std::unordered_map<uint64_t, std::vector<int32_t>> buckets_;
};

}  // namespace

void SearchFrameChains(std::vector<TFrameLine>& horizontal, std::vector<TFrameLine>& vertical,
                       std::vector<TFrameRect>& frames) {
  EndIndex hIndex(horizontal);
  EndIndex vIndex(vertical);
  std::vector<Candidate> step1, step2, step3;
  for (size_t hi = 0; hi < horizontal.size(); ++hi) {
    TFrameLine& h = horizontal[hi];
    if (h.Taken != 0) continue;
    Group& hGroup = hIndex.GroupOf(static_cast<int32_t>(hi));
    if (hGroup.Failed) continue;
    const int32_t hLine = static_cast<int32_t>(hi);
    bool found = false;
    vIndex.Query(h.X2, h.Y2, -1, step1);
    for (const Candidate& v : step1) {
      hIndex.Query(v.FarX, v.FarY, hLine, step2);
      for (const Candidate& h2 : step2) {
        vIndex.Query(h2.FarX, h2.FarY, v.Line, step3);
        for (const Candidate& v2 : step3) {
          if (!Meet(v2.FarX, v2.FarY, h.X1, h.Y1)) continue;
          TFrameRect frame;
          frame.XMin = std::min(h.X1, h.X2);
          frame.XMax = std::max(h.X1, h.X2);
          const TFrameLine& vl = vertical[static_cast<size_t>(v.Line)];
          frame.YMin = std::min(vl.Y1, vl.Y2);
          frame.YMax = std::max(vl.Y1, vl.Y2);
          frames.push_back(frame);
          const auto number = static_cast<int32_t>(frames.size());
          h.Taken = number;
          vertical[static_cast<size_t>(v.Line)].Taken = number;
          horizontal[static_cast<size_t>(h2.Line)].Taken = number;
          vertical[static_cast<size_t>(v2.Line)].Taken = number;
          found = true;
          break;
        }
        if (found) break;
      }
      if (found) break;
    }
    if (!found) hGroup.Failed = true;
  }
}
