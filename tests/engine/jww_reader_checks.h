// Checks shared by the reader tests: a loaded (or partly loaded) model must
// be consistent whatever the input was.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "jww_data.h"

namespace jwwtest {

inline int32_t CountOfKind(int32_t kind, int32_t lines, int32_t arcs, int32_t points, int32_t texts,
                           int32_t dims, int32_t solids, int32_t inserts) {
  const int32_t counts[] = {0, lines, arcs, points, texts, dims, solids, inserts};
  return kind >= 1 && kind <= 7 ? counts[kind] : 0;
}

// Counts match the array lengths and every order row names an existing row
// (or is an empty row of kind 0).
inline ::testing::AssertionResult OrderIsConsistent(const std::vector<TEntJwwOrder>& order, int32_t orderCount,
                                                    int32_t lines, int32_t arcs, int32_t points, int32_t texts,
                                                    int32_t dims, int32_t solids, int32_t inserts) {
  if (orderCount < 0 || static_cast<size_t>(orderCount) > order.size())
    return ::testing::AssertionFailure() << "order count " << orderCount << " vs " << order.size();
  int32_t used = 0;
  bool ended = false;  // rows after the last element read stay empty
  for (int32_t i = 0; i < orderCount; ++i) {
    const TEntJwwOrder& o = order[i];
    if (o.Kind == 0) {
      ended = true;
      continue;
    }
    if (ended) return ::testing::AssertionFailure() << "order row " << i << " after an empty row";
    const int32_t n = CountOfKind(o.Kind, lines, arcs, points, texts, dims, solids, inserts);
    if (o.Row < 0 || o.Row >= n)
      return ::testing::AssertionFailure() << "order row " << i << " names row " << o.Row << " of kind " << o.Kind;
    ++used;
  }
  if (used != lines + arcs + points + texts + dims + solids + inserts)
    return ::testing::AssertionFailure() << used << " order rows for the elements read";
  return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult ModelIsConsistent(const TJwwData& d) {
  auto same = [](size_t n, int32_t count) { return count >= 0 && static_cast<size_t>(count) == n; };
  if (!same(d.Lines.size(), d.LineCount) || !same(d.Arcs.size(), d.ArcCount) ||
      !same(d.Points.size(), d.PointCount) || !same(d.Texts.size(), d.TextCount) ||
      !same(d.Dimensions.size(), d.DimensionCount) || !same(d.Solids.size(), d.SolidCount) ||
      !same(d.BlockInserts.size(), d.BlockInsertCount))
    return ::testing::AssertionFailure() << "an element count differs from its array";
  if (!same(d.BlockDefs.size(), d.BlockDefCount) || d.BlockListCount != d.BlockDefCount)
    return ::testing::AssertionFailure() << "block definition counts";
  if (d.BlockTreeCount < 0 || static_cast<size_t>(d.BlockTreeCount) > d.BlockTree.size())
    return ::testing::AssertionFailure() << "block tree count";
  auto r = OrderIsConsistent(d.EntityOrder, d.EntityOrderCount, d.LineCount, d.ArcCount, d.PointCount,
                             d.TextCount, d.DimensionCount, d.SolidCount, d.BlockInsertCount);
  if (!r) return r;
  for (const TEntJwwBlockDef& block : d.BlockDefs) {
    const TEntJwwBlockDefElements& def = block.Elements();
    if (!same(def.Lines.size(), def.LineCount) || !same(def.Arcs.size(), def.ArcCount) ||
        !same(def.Points.size(), def.PointCount) || !same(def.Texts.size(), def.TextCount) ||
        !same(def.Dimensions.size(), def.DimensionCount) || !same(def.Solids.size(), def.SolidCount) ||
        !same(def.Inserts.size(), def.InsertCount))
      return ::testing::AssertionFailure() << "a definition's count differs from its array";
    r = OrderIsConsistent(def.Order, def.OrderCount, def.LineCount, def.ArcCount, def.PointCount, def.TextCount,
                          def.DimensionCount, def.SolidCount, def.InsertCount);
    if (!r) return r << " in definition " << block.Name;
  }
  for (const TEntJwwText& t : d.Texts)
    if (t.Content.size() > 255 || t.FontName.size() > 255) return ::testing::AssertionFailure() << "long text";
  return ::testing::AssertionSuccess();
}

}  // namespace jwwtest
