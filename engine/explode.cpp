// TJwwData::ExplodeBlocks: every block insert becomes ordinary elements.
// Each row of the flattened block tree appends a placed copy of its
// definition's elements; then definitions, inserts and the tree are dropped.
//
// The rows to be appended and the bytes they take are counted first: an
// explosion past kMaxExplodeBytes is refused before anything changes, and
// otherwise every array is given room at once, so the walk never copies an
// array and memory grows with the output alone.
#include <algorithm>
#include <array>
#include <limits>
#include <new>
#include <string>

#include "counted_rows.h"
#include "element_arrays.h"
#include "explode_elements.h"
#include "jww_data.h"

namespace {

constexpr uint8_t kKeepOwnLayers = 0x40;

// Nested inserts in a small file can stand for more elements than memory
// holds. The copies may add this many bytes (records, order items and
// texts), about 2.5 million elements: far beyond any drawing made by hand,
// while a hostile one stays at a few hundred MB. Past it the explosion is
// refused before anything is allocated.
constexpr int64_t kMaxExplodeBytes = int64_t{256} << 20;
// Texts that the explosion may rewrite (image texts, dimension values) take
// up to this many bytes in the copy.
constexpr int64_t kRewrittenTextBytes = 255;

// Rows of each kind 1..6 that one copy of the definition appends (index 0
// holds the order items). Items naming no row of the definition are
// skipped by the walk, so they are not counted.
using TAppendCounts = std::array<int64_t, 7>;

struct TAppend {
  TAppendCounts Rows{};
  int64_t Bytes = 0;  // of the records, order items and text strings
};

// Items of kinds 1..6 naming a counted row are copied; nested inserts have
// rows of their own and other kinds are not elements.
bool ItemIsCopied(const TEntJwwBlockDefElements& d, const TEntJwwOrder& item) {
  if (item.Kind < kKindLine || item.Kind > kKindSolid || item.Row < 0) return false;
  return static_cast<size_t>(item.Row) < ElementArraysOf(d).CountedRowsOf(item.Kind);
}

int64_t TextBytes(const TEntJwwText& t, bool rewritten) {
  const auto content = static_cast<int64_t>(t.Content.size());
  return static_cast<int64_t>(t.FontName.size()) + (rewritten ? std::max(content, kRewrittenTextBytes) : content);
}

// Bytes of the copy of one item, beside its order item.
int64_t CopyBytes(const TEntJwwBlockDefElements& d, const TEntJwwOrder& item) {
  const size_t r = static_cast<size_t>(item.Row);
  switch (item.Kind) {
    case kKindLine: return sizeof(TEntJwwLine);
    case kKindArc: return sizeof(TEntJwwArc);
    case kKindPoint: return sizeof(TEntJwwPoint);
    case kKindText:
      return static_cast<int64_t>(sizeof(TEntJwwText)) + TextBytes(d.Texts[r], BeginsImageMark(d.Texts[r].Content));
    case kKindDimension: return static_cast<int64_t>(sizeof(TEntJwwDimension)) + TextBytes(d.Dimensions[r].Text, true);
    default: return sizeof(TEntJwwSolid);
  }
}

TAppend CountCopies(const TEntJwwBlockDefElements& d) {
  TAppend k;
  const size_t n = CountedRows(d.OrderCount, d.Order);
  for (size_t i = 0; i < n; ++i) {
    if (!ItemIsCopied(d, d.Order[i])) continue;
    ++k.Rows[static_cast<size_t>(d.Order[i].Kind)];
    ++k.Rows[0];
    k.Bytes += static_cast<int64_t>(sizeof(TEntJwwOrder)) + CopyBytes(d, d.Order[i]);
  }
  return k;
}

bool CopyItem(TJwwData& m, const TEntJwwBlockDefElements& d, const TEntJwwOrder& item, const TExplodePlacement& p) {
  const size_t r = static_cast<size_t>(item.Row);
  switch (item.Kind) {
    case kKindLine: return ExplodeLine(m, d.Lines[r], p);
    case kKindArc: return ExplodeArc(m, d.Arcs[r], p);
    case kKindPoint: return ExplodePoint(m, d.Points[r], p);
    case kKindText: return ExplodeText(m, d.Texts[r], p);
    case kKindDimension: return ExplodeDimension(m, d.Dimensions[r], p);
    case kKindSolid: return ExplodeSolid(m, d.Solids[r], p);
    default: return true;
  }
}

// Room for `more` rows beyond the count; false when the count would leave
// int32 or memory runs out. Nothing the consumers see changes.
template <class T>
bool Reserve(std::vector<T>& rows, int32_t count, int64_t more) {
  const int64_t have = std::max<int32_t>(count, 0);
  if (have + more > std::numeric_limits<int32_t>::max()) return false;
  rows.reserve(static_cast<size_t>(have + more));
  return true;
}

// Arrays exactly as long as their counts, so appended rows follow the last
// counted one. A count beyond its array (a damaged model) is lowered to
// the rows there are.
template <class T>
void FitToCount(std::vector<T>& rows, int32_t& count) {
  count = static_cast<int32_t>(CountedRows(count, rows));
  rows.resize(static_cast<size_t>(count));
}

bool PrepareArrays(TJwwData& m, const TAppendCounts& total) {
  try {
    if (!Reserve(m.EntityOrder, m.EntityOrderCount, total[0]) || !Reserve(m.Lines, m.LineCount, total[1]) ||
        !Reserve(m.Arcs, m.ArcCount, total[2]) || !Reserve(m.Points, m.PointCount, total[3]) ||
        !Reserve(m.Texts, m.TextCount, total[4]) || !Reserve(m.Dimensions, m.DimensionCount, total[5]) ||
        !Reserve(m.Solids, m.SolidCount, total[6]))
      return false;
  } catch (const std::exception&) {
    return false;
  }
  FitToCount(m.EntityOrder, m.EntityOrderCount);
  FitToCount(m.Lines, m.LineCount);
  FitToCount(m.Arcs, m.ArcCount);
  FitToCount(m.Points, m.PointCount);
  FitToCount(m.Texts, m.TextCount);
  FitToCount(m.Dimensions, m.DimensionCount);
  FitToCount(m.Solids, m.SolidCount);
  return true;
}

TExplodePlacement PlacementOf(const TEntJwwBlockTree& row) {
  TExplodePlacement p;
  p.Map = BlockTreeMap(row);
  p.KeepOwnLayers = (row.Common.LineType & kKeepOwnLayers) != 0;
  p.Layer = row.Common.Layer;
  p.LayerGroup = row.Common.LayerGroup;
  return p;
}

void DropBlocks(TJwwData& m) {
  m.BlockTree.clear();
  m.BlockTree.shrink_to_fit();
  m.BlockTreeCount = 0;
  m.UsedBlockDefCount = 0;
  m.BlockDefs.clear();  // each definition's order list and arrays go with it
  m.BlockDefs.shrink_to_fit();
  m.BlockDefCount = 0;
  m.BlockListCount = 0;
  m.BlockInserts.clear();
  m.BlockInserts.shrink_to_fit();
  m.BlockInsertCount = 0;
  // Where an insert stood the order list keeps an empty item.
  for (TEntJwwOrder& item : m.EntityOrder) {
    if (item.Kind == kKindBlockInsert) item = TEntJwwOrder{kKindNone, 0};
  }
}

}  // namespace

bool TJwwData::ExplodeBlocks() {
  const size_t rows = CountedRows(BlockTreeCount, BlockTree);
  if (BlockTreeCount <= 0) return true;
  // Copies of a cut tree would lose elements without a trace.
  if (BlockTreeCut) return false;
  try {
    const size_t defs = CountedRows(BlockDefCount, BlockDefs);
    std::vector<TAppend> perDef(defs);
    std::vector<uint8_t> counted(defs, 0);
    TAppend total;
    for (size_t k = 0; k < rows; ++k) {
      const int32_t d = BlockTree[k].DefRow;
      if (d < 0 || static_cast<size_t>(d) >= defs) continue;
      if (!counted[static_cast<size_t>(d)]) {
        perDef[static_cast<size_t>(d)] = CountCopies(BlockDefs[static_cast<size_t>(d)].Elements());
        counted[static_cast<size_t>(d)] = 1;
      }
      const TAppend& one = perDef[static_cast<size_t>(d)];
      // Each term is bounded by what the definition holds in memory and the
      // sums stop at the budget: no int64 overflow.
      total.Bytes += one.Bytes;
      if (total.Bytes > kMaxExplodeBytes) return false;
      for (size_t i = 0; i < total.Rows.size(); ++i) total.Rows[i] += one.Rows[i];
    }
    if (!PrepareArrays(*this, total.Rows)) return false;

    for (size_t k = 0; k < rows; ++k) {
      const TEntJwwBlockTree& row = BlockTree[k];
      if (row.DefRow < 0 || static_cast<size_t>(row.DefRow) >= defs) continue;
      const TEntJwwBlockDefElements& def = BlockDefs[static_cast<size_t>(row.DefRow)].Elements();
      const TExplodePlacement placement = PlacementOf(row);
      const size_t n = CountedRows(def.OrderCount, def.Order);
      for (size_t i = 0; i < n; ++i) {
        const TEntJwwOrder& item = def.Order[i];
        if (!ItemIsCopied(def, item)) continue;
        if (!CopyItem(*this, def, item, placement)) return false;
      }
    }
  } catch (const std::exception&) {
    return false;  // the counts still cover exactly the rows filled
  }
  DropBlocks(*this);
  return true;
}
