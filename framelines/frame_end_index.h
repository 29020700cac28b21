// The chain search's index of frame lines by their end points. Lines whose
// ends meet the same ends of the other list, each end some, form one group
// (lines that meet nothing at an end group by identical coordinates): they
// can stand for each other in every chain. A query gives groups, each
// through its first untaken line in list order, at the coordinates of the
// group's first line.
#pragma once

#include <cmath>
#include <cstdint>
#include <span>
#include <vector>

#include "frame_chain.h"
#include "frame_meet_ranks.h"

namespace frame_ends {

inline bool Meet(double ax, double ay, double bx, double by) {
  return std::fabs(ax - bx) <= kMeetTolerance && std::fabs(ay - by) <= kMeetTolerance;
}

// A query looks this far to each side of its point, more than the tolerance.
inline constexpr double kReach = 2e-8;

// The index cells a query reaches, at most two per axis.
struct CellRange {
  int64_t X0, X1, Y0, Y1;
};
CellRange CellsNear(double x, double y, double reach);
bool InCells(double x, double y, const CellRange& r);

struct Group {
  double X1, Y1, X2, Y2;
  uint32_t Begin, End;  // its rows in the member list, ascending
  uint32_t Head;        // members before Head are taken
  bool Failed = false;  // started no frame as a chain's first line
};

// A group with an end meeting a query point, its line to take and its other
// end, where the walk goes on.
struct Candidate {
  int32_t Line;
  int32_t GroupIndex;
  double FarX, FarY;
};

// Groups by the cell of each end: (cell, group) pairs sorted by cell, and an
// open-addressing table from a cell to its run of pairs.
class CellTable {
 public:
  void Build(std::vector<std::pair<uint64_t, int32_t>>& entries);
  std::span<const int32_t> Find(uint64_t cell) const;

 private:
  struct Slot {
    uint64_t Cell = 0;
    uint32_t Begin = 0, Count = 0;  // Count 0: an empty slot
  };
  std::vector<Slot> slots_;
  std::vector<int32_t> groups_;
  uint64_t mask_ = 0;
};

class EndIndex {
 public:
  // opposite: the ends of the other list (vertical lines for horizontal
  // ones and the other way round).
  EndIndex(std::vector<TFrameLine>& lines, MeetRanks& opposite);

  Group& GroupOf(int32_t line) { return groups_[static_cast<size_t>(groupOf_[static_cast<size_t>(line)])]; }
  Group& GroupAt(int32_t index) { return groups_[static_cast<size_t>(index)]; }

  // The first untaken member of a group other than `exclude`, or -1.
  int32_t Representative(Group& g, int32_t exclude);

  // How many groups the cells of a query at (x, y) hold: what Query costs.
  size_t Crowd(double x, double y) const;

  // Untaken lines (other than `exclude`) with an end meeting (x, y), one per
  // group, in list order, each with its other end.
  void Query(double x, double y, int32_t exclude, std::vector<Candidate>& out);

  // Groups with one end meeting (ax, ay) and the other end in the cells
  // within `reach` of (bx, by) (a superset: the caller tests that end
  // itself), each as fn(group index, other end x, y). Scans the cells of
  // whichever point holds fewer groups. A group may come twice; callers keep
  // a least value, which that leaves alone.
  template <typename Fn>
  void Join(double ax, double ay, double bx, double by, double reach, Fn&& fn) const {
    if (!std::isfinite(ax) || !std::isfinite(ay) || !std::isfinite(bx) || !std::isfinite(by)) return;
    const CellRange ra = CellsNear(ax, ay, kReach);
    const CellRange rb = CellsNear(bx, by, reach);
    std::span<const int32_t> cellsA[4], cellsB[4];
    const size_t nA = Cells(ra, cellsA), nB = Cells(rb, cellsB);
    const std::span<const int32_t>* scan = Total(cellsA, nA) <= Total(cellsB, nB) ? cellsA : cellsB;
    const size_t n = scan == cellsA ? nA : nB;
    for (size_t k = 0; k < n; ++k) {
      for (const int32_t gi : scan[k]) {
        double fx, fy;
        if (!FarEnd(groups_[static_cast<size_t>(gi)], ax, ay, fx, fy)) continue;
        if (!std::isfinite(fx) || !std::isfinite(fy) || !InCells(fx, fy, rb)) continue;
        fn(gi, fx, fy);
      }
    }
  }

 private:
  // The other end of g when one end meets (x, y), the first end tried first.
  static bool FarEnd(const Group& g, double x, double y, double& fx, double& fy);
  // The non-empty cells of a range; returns how many.
  size_t Cells(const CellRange& r, std::span<const int32_t> (&out)[4]) const;
  static size_t Total(const std::span<const int32_t>* cells, size_t n);

  std::vector<TFrameLine>& lines_;
  std::vector<Group> groups_;
  std::vector<int32_t> members_;
  std::vector<int32_t> groupOf_;
  CellTable cells_;
};

}  // namespace frame_ends
