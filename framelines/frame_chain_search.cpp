// Drawn paper frames: rectangles of frame lines whose end points meet in a
// closed chain horizontal, vertical, horizontal, vertical.
//
// The chain search gives exactly the result of trying every candidate line in
// list order at every step, but finds the candidates of a step through an
// index on end points instead of scanning the lists, so large drawings stay
// fast. These observations keep it exact:
//  - Every step asks only whether an end of a horizontal line meets an end of
//    a vertical one. (The rules "H2 is not H" and "V2 is not V" never decide
//    anything: a line cannot meet a chain point with the same end twice,
//    since its ends are at least 1 mm apart while meeting points differ by
//    1e-8.) So a line's part in a chain depends only on which ends of the
//    other list its two ends meet, and lines alike in that form one group
//    (identical lines, and near-identical ones meeting the same ends), tried
//    once, through the member that comes first in list order among those not
//    yet taken, at the coordinates of its first member.
//  - Taking lines only removes candidates, so a horizontal line whose search
//    failed fails again later, and so does every line of its group.
//  - The first match in list order is the least (V, H2, V2) in list order
//    among all closed chains from H, however they are found. Only the first
//    step is open (the height of the frame); once V is known, H2 must end
//    near (x of H's first end, y of V's far end) and V2 must join H2's far end
//    to H's first end, so each is looked up from whichever of its two end
//    points has fewer lines. The open step is walked from whichever end of H
//    has fewer vertical lines meeting it (forwards from the second end, or
//    backwards from the first keeping the least chain), so lines crowding one
//    point cost little.
#include <algorithm>
#include <cmath>

#include "frame_chain.h"
#include "frame_end_index.h"
#include "frame_meet_ranks.h"

bool IsHorizontalFrameLine(double x1, double y1, double x2, double y2) {
  return std::fabs(x1 - x2) >= 1 && std::fabs(y1 - y2) <= kMeetTolerance;
}

bool IsVerticalFrameLine(double x1, double y1, double x2, double y2) {
  return std::fabs(x1 - x2) <= kMeetTolerance && std::fabs(y1 - y2) >= 1;
}

namespace {

using frame_ends::Candidate;
using frame_ends::EndIndex;
using frame_ends::Group;
using frame_ends::kReach;
using frame_ends::Meet;
using frame_ends::MeetRanks;

// The far end of H2 lies within three tolerances of a known point in x
// (through V2 and its two ends) and two in y (through H2's two ends).
constexpr double kBoxReach = 4e-8;

// A closed chain by its lines' rows; the least in list order wins.
struct Chain {
  int32_t V = -1, H2 = -1, V2 = -1;
  bool Found() const { return V >= 0; }
  bool Before(const Chain& o) const {
    if (!o.Found()) return true;
    if (V != o.V) return V < o.V;
    if (H2 != o.H2) return H2 < o.H2;
    return V2 < o.V2;
  }
};

class ChainFinder {
 public:
  ChainFinder(std::vector<TFrameLine>& horizontal, std::vector<TFrameLine>& vertical)
      : hEnds_(horizontal), vEnds_(vertical), h_(horizontal, vEnds_), v_(vertical, hEnds_) {}

  EndIndex& Horizontal() { return h_; }

  // The first chain in list order from horizontal line hLine (first end s,
  // second end e).
  Chain Find(int32_t hLine, double sx, double sy, double ex, double ey) {
    if (!std::isfinite(sx) || !std::isfinite(sy)) return Chain{};  // nothing meets its first end
    return v_.Crowd(ex, ey) <= v_.Crowd(sx, sy) ? FromSecondEnd(hLine, sx, sy, ex, ey)
                                                 : FromFirstEnd(hLine, sx, sy, ex, ey);
  }

 private:
  // The least V2 (row) joining (x, y) to s.
  int32_t Closing(double x, double y, int32_t exclude, double sx, double sy) {
    int32_t best = -1;
    v_.Join(x, y, sx, sy, kReach, [&](int32_t g, double fx, double fy) {
      if (!Meet(fx, fy, sx, sy)) return;
      const int32_t line = v_.Representative(v_.GroupAt(g), exclude);
      if (line >= 0 && (best < 0 || line < best)) best = line;
    });
    return best;
  }

  // Tries the vertical lines at e in list order, as the chain is defined.
  Chain FromSecondEnd(int32_t hLine, double sx, double sy, double ex, double ey) {
    v_.Query(ex, ey, -1, step1_);
    for (const Candidate& v : step1_) {
      Chain best;
      h_.Join(v.FarX, v.FarY, sx, v.FarY, kBoxReach, [&](int32_t g, double fx, double fy) {
        const int32_t h2 = h_.Representative(h_.GroupAt(g), hLine);
        if (h2 < 0 || (best.Found() && h2 >= best.H2)) return;
        const int32_t v2 = Closing(fx, fy, v.Line, sx, sy);
        if (v2 >= 0) best = Chain{v.Line, h2, v2};
      });
      if (best.Found()) return best;
    }
    return Chain{};
  }

  // Walks the chain backwards from the vertical lines at s and keeps the
  // least chain.
  Chain FromFirstEnd(int32_t hLine, double sx, double sy, double ex, double ey) {
    v_.Query(sx, sy, -1, step1_);
    Chain best;
    for (const Candidate& v2 : step1_) {
      h_.Join(v2.FarX, v2.FarY, ex, v2.FarY, kBoxReach, [&](int32_t hg, double h2x, double h2y) {
        const int32_t h2 = h_.Representative(h_.GroupAt(hg), hLine);
        if (h2 < 0) return;
        v_.Join(h2x, h2y, ex, ey, kReach, [&](int32_t vg, double fx, double fy) {
          if (!Meet(fx, fy, ex, ey)) return;
          const int32_t v = v_.Representative(v_.GroupAt(vg), -1);
          if (v < 0) return;
          const Chain c{v, h2, v2.Line};
          if (c.Before(best)) best = c;
        });
      });
    }
    return best;
  }

  MeetRanks hEnds_, vEnds_;  // before the indices, which are grouped by them
  EndIndex h_, v_;
  std::vector<Candidate> step1_;
};

}  // namespace

bool SearchFrameChains(std::vector<TFrameLine>& horizontal, std::vector<TFrameLine>& vertical,
                       std::vector<TFrameRect>& frames, const std::function<bool()>& stop) {
  ChainFinder finder(horizontal, vertical);
  for (size_t hi = 0; hi < horizontal.size(); ++hi) {
    TFrameLine& h = horizontal[hi];
    if (h.Taken != 0) continue;
    Group& hGroup = finder.Horizontal().GroupOf(static_cast<int32_t>(hi));
    if (hGroup.Failed) continue;
    if (stop && stop()) return false;
    const Chain c = finder.Find(static_cast<int32_t>(hi), h.X1, h.Y1, h.X2, h.Y2);
    if (!c.Found()) {
      hGroup.Failed = true;
      continue;
    }
    TFrameRect frame;
    frame.XMin = std::min(h.X1, h.X2);
    frame.XMax = std::max(h.X1, h.X2);
    const TFrameLine& vl = vertical[static_cast<size_t>(c.V)];
    frame.YMin = std::min(vl.Y1, vl.Y2);
    frame.YMax = std::max(vl.Y1, vl.Y2);
    frames.push_back(frame);
    const auto number = static_cast<int32_t>(frames.size());
    h.Taken = number;
    vertical[static_cast<size_t>(c.V)].Taken = number;
    horizontal[static_cast<size_t>(c.H2)].Taken = number;
    vertical[static_cast<size_t>(c.V2)].Taken = number;
  }
  return true;
}
