#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "jww_data.h"

namespace {

TEntJwwBlockInsert Insert(uint32_t number, double x = 0, double y = 0, double sx = 1, double sy = 1,
                          double angle = 0) {
  TEntJwwBlockInsert ins;
  ins.BlockNumber = number;
  ins.X = x;
  ins.Y = y;
  ins.ScaleX = sx;
  ins.ScaleY = sy;
  ins.Angle = angle;
  return ins;
}

TEntJwwBlockDef Def(int32_t number, const std::string& name, std::vector<TEntJwwBlockInsert> inserts = {}) {
  TEntJwwBlockDef def;
  def.Number = number;
  def.Name = name;
  def.EditElements().Inserts = std::move(inserts);
  def.EditElements().InsertCount = static_cast<int32_t>(def.Elements().Inserts.size());
  def.Used = 7;  // stale values the build must overwrite
  def.NewNumber = 42;
  return def;
}

void SetModel(TJwwData& d, std::vector<TEntJwwBlockDef> defs, std::vector<TEntJwwBlockInsert> inserts) {
  d.BlockDefs = std::move(defs);
  d.BlockDefCount = static_cast<int32_t>(d.BlockDefs.size());
  d.BlockInserts = std::move(inserts);
  d.BlockInsertCount = static_cast<int32_t>(d.BlockInserts.size());
}

struct TPoint {
  double x, y;
};

TPoint Map(const TEntJwwBlockTree& r, double x, double y) {
  return {r.OriginX + r.M11 * x + r.M12 * y, r.OriginY + r.M21 * x + r.M22 * y};
}

// The order the rest of the engine relies on: level 0 first, parents before
// children, children of one parent consecutive, levels never going down.
void ExpectTreeInvariants(const TJwwData& d) {
  ASSERT_EQ(static_cast<size_t>(d.BlockTreeCount), d.BlockTree.size());
  for (int32_t i = 0; i < d.BlockTreeCount; ++i) {
    const TEntJwwBlockTree& r = d.BlockTree[static_cast<size_t>(i)];
    if (i < d.BlockInsertCount) {
      EXPECT_EQ(r.Level, 0) << i;
      EXPECT_EQ(r.Parent, -1) << i;
      continue;
    }
    ASSERT_GE(r.Parent, 0) << i;
    ASSERT_LT(r.Parent, i) << i;
    EXPECT_EQ(r.Level, d.BlockTree[static_cast<size_t>(r.Parent)].Level + 1) << i;
    const TEntJwwBlockTree& prev = d.BlockTree[static_cast<size_t>(i - 1)];
    EXPECT_GE(r.Level, prev.Level) << i;
    EXPECT_GE(r.Parent, prev.Parent) << i;
  }
  // The used flags alone, as saves needing no tree take them: as the build
  // gives them, whatever tree there is left alone.
  TJwwData marked;
  SetModel(marked, d.BlockDefs, d.BlockInserts);
  for (TEntJwwBlockDef& def : marked.BlockDefs) def.Used = 7, def.NewNumber = 42;
  marked.BlockTree.resize(1), marked.BlockTreeCount = 1;
  marked.MarkUsedBlockDefs();
  EXPECT_EQ(marked.UsedBlockDefCount, d.UsedBlockDefCount);
  for (size_t r = 0; r < d.BlockDefs.size(); ++r)
    EXPECT_EQ(std::pair(marked.BlockDefs[r].Used, marked.BlockDefs[r].NewNumber),
              std::pair(d.BlockDefs[r].Used, d.BlockDefs[r].NewNumber)) << "row " << r;
  EXPECT_TRUE(marked.BlockTreeCount == 1 && marked.BlockTree.size() == 1);
}

TEST(BlockTree, OneInsertOfADefinitionHoldingTwoInsertsGivesThreeRows) {
  TJwwData d;
  TEntJwwBlockDef inner = Def(2, "inner");
  TEntJwwBlockDef outer = Def(1, "outer", {Insert(2, 10, 0), Insert(2, 20, 0)});
  outer.Common.Layer = 3;
  outer.Common.Color = 5;
  TEntJwwBlockInsert top = Insert(1);
  top.Common.Layer = 9;
  SetModel(d, {inner, outer}, {top});
  d.BuildBlockTree();

  ASSERT_EQ(d.BlockTreeCount, 3);
  ExpectTreeInvariants(d);
  const auto& t = d.BlockTree;
  EXPECT_EQ(t[0].DefRow, 1);
  EXPECT_EQ(d.BlockDefs[static_cast<size_t>(t[0].DefRow)].Name, "outer");
  EXPECT_EQ(t[0].Common.Layer, 9);  // the drawing's insert
  for (int i : {1, 2}) {
    EXPECT_EQ(t[i].Level, 1);
    EXPECT_EQ(t[i].Parent, 0);
    EXPECT_EQ(t[i].DefRow, 0);
    EXPECT_EQ(t[i].BlockNumber, 2);
    EXPECT_EQ(d.BlockDefs[static_cast<size_t>(t[i].DefRow)].Name, "inner");
    EXPECT_EQ(t[i].Common.Layer, 3);  // the definition holding the insert
    EXPECT_EQ(t[i].Common.Color, 5);
  }
  EXPECT_DOUBLE_EQ(t[1].OriginX, 10);
  EXPECT_DOUBLE_EQ(t[2].OriginX, 20);
  EXPECT_EQ(d.BlockDefs[0].Used, 1);
  EXPECT_EQ(d.BlockDefs[1].Used, 1);
  EXPECT_EQ(d.BlockDefs[0].NewNumber, 0);  // definition-row order
  EXPECT_EQ(d.BlockDefs[1].NewNumber, 1);
  EXPECT_EQ(d.UsedBlockDefCount, 2);
}

TEST(BlockTree, InsertTransformMapsDefinitionPoints) {
  TJwwData d;
  SetModel(d, {Def(1, "a")}, {Insert(1, 100, 50, 2, 3, std::numbers::pi / 2)});
  d.BuildBlockTree();
  ASSERT_EQ(d.BlockTreeCount, 1);
  const TPoint p = Map(d.BlockTree[0], 1, 0);
  EXPECT_NEAR(p.x, 100, 1e-12);
  EXPECT_NEAR(p.y, 52, 1e-12);
  const TPoint q = Map(d.BlockTree[0], 0, 1);
  EXPECT_NEAR(q.x, 97, 1e-12);
  EXPECT_NEAR(q.y, 50, 1e-12);
}

// A nested row maps a point as its parent's map applied to the child
// insert's own placement of that point.
TEST(BlockTree, NestedRowsComposeParentAndChildTransforms) {
  struct Case {
    TEntJwwBlockInsert outer, inner;
  };
  const Case cases[] = {
      {Insert(1, 100, 50, 2, 3, std::numbers::pi / 2), Insert(2, 5, 7, 1, 1, 0)},
      {Insert(1, -10, 4, 1, 1, 0.3), Insert(2, 2, -1, 0.5, 4, -1.2)},
      {Insert(1, 0, 0, -1, 1, 0), Insert(2, 1, 1, 2, -2, std::numbers::pi)},
  };
  for (const Case& c : cases) {
    TJwwData d;
    SetModel(d, {Def(1, "outer", {c.inner}), Def(2, "inner")}, {c.outer});
    d.BuildBlockTree();
    ASSERT_EQ(d.BlockTreeCount, 2);
    for (const TPoint pt : {TPoint{0, 0}, TPoint{1, 0}, TPoint{0, 1}, TPoint{3, -2}}) {
      const double ci = std::cos(c.inner.Angle), si = std::sin(c.inner.Angle);
      const double lx = c.inner.X + ci * c.inner.ScaleX * pt.x - si * c.inner.ScaleY * pt.y;
      const double ly = c.inner.Y + si * c.inner.ScaleX * pt.x + ci * c.inner.ScaleY * pt.y;
      const TPoint want = Map(d.BlockTree[0], lx, ly);
      const TPoint got = Map(d.BlockTree[1], pt.x, pt.y);
      EXPECT_NEAR(got.x, want.x, 1e-9);
      EXPECT_NEAR(got.y, want.y, 1e-9);
    }
  }
}

TEST(BlockTree, DefinitionLookUpCases) {
  TJwwData d;
  // Row 0 and 1 share number 5; row 2 is reached by nothing; 9 has no definition.
  SetModel(d, {Def(5, "first", {Insert(9)}), Def(5, "second"), Def(6, "unreached")},
           {Insert(5), Insert(9)});
  d.BuildBlockTree();
  ASSERT_EQ(d.BlockTreeCount, 3);
  ExpectTreeInvariants(d);
  EXPECT_EQ(d.BlockTree[0].DefRow, 0);
  EXPECT_EQ(d.BlockDefs[static_cast<size_t>(d.BlockTree[0].DefRow)].Name, "first");
  for (int i : {1, 2}) {  // the drawing's insert of 9 and the one inside "first"
    EXPECT_EQ(d.BlockTree[i].DefRow, -1);
    EXPECT_EQ(d.BlockTree[i].BlockNumber, 9);
  }
  EXPECT_EQ(d.BlockTree[2].Parent, 0);
  EXPECT_EQ(d.BlockDefs[0].Used, 1);
  EXPECT_EQ(d.BlockDefs[0].NewNumber, 0);
  for (int r : {1, 2}) {
    EXPECT_EQ(d.BlockDefs[r].Used, 0);
    EXPECT_EQ(d.BlockDefs[r].NewNumber, -1);
  }
  EXPECT_EQ(d.UsedBlockDefCount, 1);
}

TEST(BlockTree, RemovingTheLastInsertEmptiesTheTreeAndFlags) {
  TJwwData d;
  SetModel(d, {Def(1, "a", {Insert(2)}), Def(2, "b")}, {Insert(1)});
  d.BuildBlockTree();
  ASSERT_EQ(d.BlockTreeCount, 2);
  d.BlockInsertCount = 0;  // the application lowers the count
  d.BuildBlockTree();
  EXPECT_EQ(d.BlockTreeCount, 0);
  EXPECT_TRUE(d.BlockTree.empty());
  EXPECT_EQ(d.UsedBlockDefCount, 0);
  for (const auto& def : d.BlockDefs) {
    EXPECT_EQ(def.Used, 0);
    EXPECT_EQ(def.NewNumber, -1);
  }
}

TEST(BlockTree, RowsComeLevelByLevelWithSiblingsInInsertOrder) {
  TJwwData d;
  SetModel(d,
           {Def(1, "a", {Insert(2, 1), Insert(3, 2)}), Def(2, "b", {Insert(3, 3), Insert(3, 4)}),
            Def(3, "c")},
           {Insert(1), Insert(2), Insert(3)});
  d.BuildBlockTree();
  ExpectTreeInvariants(d);
  // 3 drawing rows; a -> b, c; b -> c, c; then b(row 3) -> c, c.
  const std::vector<int32_t> parents = {-1, -1, -1, 0, 0, 1, 1, 3, 3};
  const std::vector<int32_t> numbers = {1, 2, 3, 2, 3, 3, 3, 3, 3};
  ASSERT_EQ(d.BlockTreeCount, 9);
  for (size_t i = 0; i < parents.size(); ++i) {
    EXPECT_EQ(d.BlockTree[i].Parent, parents[i]) << i;
    EXPECT_EQ(d.BlockTree[i].BlockNumber, numbers[i]) << i;
  }
  EXPECT_DOUBLE_EQ(d.BlockTree[7].OriginX, 1 + 3);
  EXPECT_DOUBLE_EQ(d.BlockTree[8].OriginX, 1 + 4);
}

TEST(BlockTree, DefinitionsInsertingThemselvesAreCutOnTheirOwnChain) {
  {
    TJwwData d;  // a holds a
    SetModel(d, {Def(1, "a", {Insert(1, 5)})}, {Insert(1)});
    d.BuildBlockTree();
    ASSERT_EQ(d.BlockTreeCount, 2);
    EXPECT_EQ(d.BlockTree[1].Parent, 0);
    EXPECT_EQ(d.BlockTree[1].DefRow, 0);
    EXPECT_EQ(d.UsedBlockDefCount, 1);
  }
  {
    TJwwData d;  // a -> b -> a, and b also holds c
    SetModel(d, {Def(1, "a", {Insert(2)}), Def(2, "b", {Insert(1), Insert(3)}), Def(3, "c")},
             {Insert(1), Insert(2)});
    d.BuildBlockTree();
    ExpectTreeInvariants(d);
    // a(0) b(1) | b(2) from a | a(3) c(4) from b(1) | a(5) c(6) from b(2) | b(7) from a(3)
    const std::vector<int32_t> parents = {-1, -1, 0, 1, 1, 2, 2, 3};
    const std::vector<int32_t> numbers = {1, 2, 2, 1, 3, 1, 3, 2};
    ASSERT_EQ(d.BlockTreeCount, static_cast<int32_t>(parents.size()));
    for (size_t i = 0; i < parents.size(); ++i) {
      EXPECT_EQ(d.BlockTree[i].Parent, parents[i]) << i;
      EXPECT_EQ(d.BlockTree[i].BlockNumber, numbers[i]) << i;
    }
    EXPECT_FALSE(d.BlockTreeCut);  // cutting a cycle leaves nothing out
    EXPECT_EQ(d.UsedBlockDefCount, 3);
  }
}

// x -> a -> b -> c -> a, and c also holds the plain definition x (no cycle
// through x: x is not reached from a).
TEST(BlockTree, LongerCyclesAreCutWhereTheyCloseOnly) {
  TJwwData d;
  SetModel(d,
           {Def(10, "x", {Insert(1)}), Def(1, "a", {Insert(2)}), Def(2, "b", {Insert(3)}),
            Def(3, "c", {Insert(1), Insert(20)}), Def(20, "leaf")},
           {Insert(10)});
  d.BuildBlockTree();
  ExpectTreeInvariants(d);
  // x a b c | a leaf (from c); the second a is on its own chain: cut.
  const std::vector<int32_t> numbers = {10, 1, 2, 3, 1, 20};
  ASSERT_EQ(d.BlockTreeCount, static_cast<int32_t>(numbers.size()));
  for (size_t i = 0; i < numbers.size(); ++i) EXPECT_EQ(d.BlockTree[i].BlockNumber, numbers[i]) << i;
  EXPECT_EQ(d.BlockTree[4].Parent, 3);
  EXPECT_EQ(d.BlockTree[5].Parent, 3);
  EXPECT_EQ(d.UsedBlockDefCount, 5);
}

// 200,000 definitions each holding the next, the last holding the first.
TEST(BlockTree, AVeryLongCycleIsHandledWithoutDeepRecursion) {
  TJwwData d;
  const int n = 200'000;
  std::vector<TEntJwwBlockDef> defs;
  defs.reserve(n);
  for (int i = 0; i < n; ++i) defs.push_back(Def(i, "d", {Insert(static_cast<uint32_t>((i + 1) % n))}));
  SetModel(d, std::move(defs), {Insert(0)});
  d.BuildBlockTree();
  EXPECT_EQ(d.BlockTreeCount, 64);
  EXPECT_TRUE(d.BlockTreeCut);  // the depth bound stops it before the cycle closes
  EXPECT_EQ(d.UsedBlockDefCount, n);
}

TEST(BlockTree, DeepChainsStopAtTheDepthBoundButKeepEveryDefinitionInUse) {
  TJwwData d;
  std::vector<TEntJwwBlockDef> defs;
  const int chain = 100;
  for (int i = 0; i < chain; ++i)
    defs.push_back(i + 1 < chain ? Def(i, "d", {Insert(static_cast<uint32_t>(i + 1), 1)}) : Def(i, "d"));
  SetModel(d, defs, {Insert(0)});
  d.BuildBlockTree();
  ExpectTreeInvariants(d);
  ASSERT_EQ(d.BlockTreeCount, 64);
  EXPECT_EQ(d.BlockTree.back().Level, 63);
  EXPECT_DOUBLE_EQ(d.BlockTree.back().OriginX, 63);
  EXPECT_TRUE(d.BlockTreeCut);
  EXPECT_FALSE(d.BlockTreeTooLarge);
  EXPECT_EQ(d.UsedBlockDefCount, chain);  // the writer must keep the whole chain
  EXPECT_EQ(d.BlockDefs[chain - 1].NewNumber, chain - 1);
}

// Two inserts of the next definition, 40 levels deep: 2^40 occurrences.
TEST(BlockTree, ExponentialFanOutStopsAtTheRowBound) {
  TJwwData d;
  std::vector<TEntJwwBlockDef> defs;
  const int levels = 40;
  for (int i = 0; i < levels; ++i) {
    const auto next = static_cast<uint32_t>(i + 1);
    defs.push_back(i + 1 < levels ? Def(i, "d", {Insert(next), Insert(next)}) : Def(i, "d"));
  }
  SetModel(d, defs, {Insert(0)});
  d.BuildBlockTree();
  EXPECT_GT(d.BlockTreeCount, 1'000'000);
  EXPECT_LE(d.BlockTreeCount, 10'000'000);
  ExpectTreeInvariants(d);
  // Every expanded row has both children: the row count is odd (1 + 2k).
  EXPECT_EQ(d.BlockTreeCount % 2, 1);
  EXPECT_TRUE(d.BlockTreeCut);
  EXPECT_TRUE(d.BlockTreeTooLarge);
  EXPECT_LE(d.BlockTree.capacity() * sizeof(TEntJwwBlockTree), size_t{256} << 20);  // bounded by bytes
  EXPECT_EQ(d.UsedBlockDefCount, levels);
}

TEST(BlockTree, CountsBeyondTheArraysAreNotTrusted) {
  TJwwData d;
  SetModel(d, {Def(1, "a", {Insert(2)}), Def(2, "b")}, {Insert(1)});
  d.BlockDefs[0].EditElements().InsertCount = 1000;
  d.BlockDefCount = 50;
  d.BlockInsertCount = 7;
  d.BuildBlockTree();
  EXPECT_EQ(d.BlockTreeCount, 2);
  EXPECT_EQ(d.UsedBlockDefCount, 2);

  d.BlockDefs[0].EditElements().InsertCount = -3;
  d.BuildBlockTree();
  EXPECT_EQ(d.BlockTreeCount, 1);
  EXPECT_EQ(d.UsedBlockDefCount, 1);
}

}  // namespace
