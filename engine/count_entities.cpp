// TJwwData::CountEntities: elements of each kind on one layer group and
// layer (or any), in the drawing itself and inside block inserts.
//
// A definition reached by many tree rows is counted once per row; its own
// counts are worked out once per definition and then added per row, so the
// cost is the definitions' elements plus the rows, not their product.
#include <algorithm>
#include <limits>
#include <vector>

#include "counted_rows.h"
#include "jww_data.h"

namespace {

constexpr uint8_t kKeepOwnLayers = 0x40;


struct TLayerFilter {
  int32_t group, layer;
  bool operator()(const TEntJwwCommon& c) const {
    return (group == -1 || c.LayerGroup == group) && (layer == -1 || c.Layer == layer);
  }
};

// lines, arcs, points, temporary points, texts, dimensions, solids
using TKindCounts = std::array<int64_t, 7>;

template <class T, class Pred>
int64_t CountRows(const std::vector<T>& rows, int32_t count, const Pred& pred) {
  const size_t n = CountedRows(count, rows);
  int64_t k = 0;
  for (size_t i = 0; i < n; ++i)
    if (pred(rows[i].Common)) ++k;
  return k;
}

template <class Pred>
void CountPoints(const std::vector<TEntJwwPoint>& points, int32_t count, const Pred& pred, int64_t& plain,
                 int64_t& temporary) {
  const size_t n = CountedRows(count, points);
  for (size_t i = 0; i < n; ++i) {
    if (!pred(points[i].Common)) continue;
    if (points[i].Temporary == 1) {
      ++temporary;
    } else {
      ++plain;
    }
  }
}

template <class Pred>
TKindCounts CountDefinition(const TEntJwwBlockDefElements& d, const Pred& pred) {
  TKindCounts k{};
  k[0] = CountRows(d.Lines, d.LineCount, pred);
  k[1] = CountRows(d.Arcs, d.ArcCount, pred);
  CountPoints(d.Points, d.PointCount, pred, k[2], k[3]);
  k[4] = CountRows(d.Texts, d.TextCount, pred);
  k[5] = CountRows(d.Dimensions, d.DimensionCount, pred);
  k[6] = CountRows(d.Solids, d.SolidCount, pred);
  return k;
}

int32_t Saturate(int64_t v) {
  return static_cast<int32_t>(std::min<int64_t>(v, std::numeric_limits<int32_t>::max()));
}

}  // namespace

void TJwwData::CountEntities(int32_t group, int32_t layer, std::array<int32_t, 15>& counters) const {
  counters.fill(0);
  const TLayerFilter match{group, layer};

  int64_t points = 0, temporary = 0;
  counters[0] = Saturate(CountRows(Lines, LineCount, match));
  counters[1] = Saturate(CountRows(Arcs, ArcCount, match));
  CountPoints(Points, PointCount, match, points, temporary);
  counters[2] = Saturate(points);
  counters[3] = Saturate(temporary);
  counters[4] = Saturate(CountRows(Texts, TextCount, match));
  counters[5] = Saturate(CountRows(Dimensions, DimensionCount, match));
  counters[6] = Saturate(CountRows(Solids, SolidCount, match));
  counters[7] = Saturate(CountRows(BlockInserts, BlockInsertCount, match));

  const size_t rows = CountedRows(BlockTreeCount, BlockTree);
  if (rows == 0) return;
  const size_t defs = CountedRows(BlockDefCount, BlockDefs);
  // Per definition: every element (rows that put contents on their own
  // layer) and the elements on the asked layer (rows that keep the
  // elements' layers); each worked out on first use.
  std::vector<TKindCounts> all(defs), own(defs);
  std::vector<uint8_t> haveAll(defs, 0), haveOwn(defs, 0);
  const auto any = [](const TEntJwwCommon&) { return true; };

  TKindCounts total{};
  for (size_t k = 0; k < rows; ++k) {
    const TEntJwwBlockTree& row = BlockTree[k];
    if (row.DefRow < 0 || static_cast<size_t>(row.DefRow) >= defs) continue;
    const size_t d = static_cast<size_t>(row.DefRow);
    const TKindCounts* add = nullptr;
    if (row.Common.LineType & kKeepOwnLayers) {
      if (!haveOwn[d]) {
        own[d] = CountDefinition(BlockDefs[d].Elements(), match);
        haveOwn[d] = 1;
      }
      add = &own[d];
    } else if (match(row.Common)) {
      if (!haveAll[d]) {
        all[d] = CountDefinition(BlockDefs[d].Elements(), any);
        haveAll[d] = 1;
      }
      add = &all[d];
    }
    if (add == nullptr) continue;
    // Rows times int32 counts stay far inside int64.
    for (size_t i = 0; i < total.size(); ++i) total[i] += (*add)[i];
  }
  for (size_t i = 0; i < total.size(); ++i) counters[8 + i] = Saturate(total[i]);
}
