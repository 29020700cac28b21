// TJwwData::BuildBlockTree: flattens nested block inserts into one row per
// insert occurrence, breadth first, each with its whole transform.
//
// Files may hold definitions that insert themselves, directly or through
// others, and small files may nest inserts so that the occurrences grow
// exponentially. Three bounds keep the build finite and linear in the rows
// it makes:
//  - a row whose definition already appears on its own ancestor chain stays
//    as a row but gets no children (the cycle is cut there); the chain is
//    only walked for definitions that lie on a cycle of the definition graph,
//    and never further than the depth bound;
//  - rows on the deepest level (kMaxBlockTreeDepth - 1) get no children;
//  - the rows take no more than kMaxBlockTreeBytes: once a row's children
//    would pass it, no further rows are appended (each expanded row still has
//    all its children).
// The last two leave occurrences out; BlockTreeCut then tells the callers
// that the tree is not the whole drawing (BlockTreeTooLarge that it was the
// size bound).
// The used flags do not depend on these bounds: every definition that the
// inserts reach is flagged, so the writer still keeps everything it needs.
// MarkUsedBlockDefs sets the same flags without building rows.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <new>
#include <utility>

#include "block_def_lookup.h"
#include "counted_rows.h"
#include "jww_data.h"

namespace {

constexpr int32_t kMaxBlockTreeDepth = 64;
// A drawing made by hand holds far fewer than a million block occurrences
// (80 MB of rows); nested inserts in a file of a few hundred KB can stand
// for billions. While the array grows its old rows stay beside the new for
// a moment, so the build takes at most about twice this.
constexpr size_t kMaxBlockTreeBytes = size_t{192} << 20;
constexpr size_t kMaxBlockTreeRows = kMaxBlockTreeBytes / sizeof(TEntJwwBlockTree);

struct TLocalMatrix {
  double M11, M12, M21, M22;
};

TLocalMatrix LocalMatrix(const TEntJwwBlockInsert& ins) {
  const double c = std::cos(ins.Angle);
  const double s = std::sin(ins.Angle);
  return {c * ins.ScaleX, -s * ins.ScaleY, s * ins.ScaleX, c * ins.ScaleY};
}

// The inserts inside the definitions, worked out once per build: a
// definition inserted many times would otherwise pay a look-up, sin and cos
// per row. Edges of definition d are [Start[d], Start[d + 1]).
struct TDefGraph {
  std::vector<size_t> Start;
  std::vector<int32_t> Child;  // definition row of each insert, -1 when none
  std::vector<TLocalMatrix> Local;  // only for the tree
  std::vector<uint8_t> Cyclic;  // the definition can reach itself (only for the tree)

  size_t Edges(size_t d) const { return Start[d + 1] - Start[d]; }
};

TDefGraph DefGraph(const std::vector<TEntJwwBlockDef>& defs, size_t defCount, const TDefLookup& findDef,
                   bool withTransforms) {
  TDefGraph g;
  g.Start.assign(defCount + 1, 0);
  for (size_t d = 0; d < defCount; ++d)
    g.Start[d + 1] = g.Start[d] + CountedRows(defs[d].Elements().InsertCount, defs[d].Elements().Inserts.size());
  g.Child.reserve(g.Start[defCount]);
  if (withTransforms) g.Local.reserve(g.Start[defCount]);
  for (size_t d = 0; d < defCount; ++d) {
    for (size_t b = 0; b < g.Edges(d); ++b) {
      g.Child.push_back(findDef.Find(defs[d].Elements().Inserts[b].BlockNumber));
      if (withTransforms) g.Local.push_back(LocalMatrix(defs[d].Elements().Inserts[b]));
    }
  }
  return g;
}

// Marks the definitions that lie on a cycle: members of a strongly connected
// component of more than one definition, or holding an insert of themselves.
// Tarjan's algorithm without recursion (nesting may be deep).
void MarkCycles(TDefGraph& g, size_t defCount) {
  g.Cyclic.assign(defCount, 0);
  constexpr int32_t kUnvisited = -1;
  std::vector<int32_t> index(defCount, kUnvisited), low(defCount, 0);
  std::vector<uint8_t> onStack(defCount, 0);
  std::vector<int32_t> stack;
  std::vector<std::pair<int32_t, size_t>> work;  // definition, next edge
  int32_t counter = 0;
  for (size_t root = 0; root < defCount; ++root) {
    if (index[root] != kUnvisited) continue;
    work.emplace_back(static_cast<int32_t>(root), 0);
    while (!work.empty()) {
      const int32_t v = work.back().first;
      const auto vs = static_cast<size_t>(v);
      if (work.back().second == 0 && index[vs] == kUnvisited) {
        index[vs] = low[vs] = counter++;
        stack.push_back(v);
        onStack[vs] = 1;
      }
      bool descended = false;
      while (work.back().second < g.Edges(vs)) {
        const int32_t w = g.Child[g.Start[vs] + work.back().second++];
        if (w < 0) continue;
        const auto ws = static_cast<size_t>(w);
        if (w == v) g.Cyclic[vs] = 1;
        if (index[ws] == kUnvisited) {
          work.emplace_back(w, 0);
          descended = true;
          break;
        }
        if (onStack[ws]) low[vs] = std::min(low[vs], index[ws]);
      }
      if (descended) continue;
      if (low[vs] == index[vs]) {
        size_t first = stack.size();  // v and everything above it form the component
        while (stack[--first] != v) {
        }
        const bool cycle = stack.size() - first > 1;
        for (size_t m = first; m < stack.size(); ++m) {
          onStack[static_cast<size_t>(stack[m])] = 0;
          if (cycle) g.Cyclic[static_cast<size_t>(stack[m])] = 1;
        }
        stack.resize(first);
      }
      work.pop_back();
      if (!work.empty()) {
        const auto parent = static_cast<size_t>(work.back().first);
        low[parent] = std::min(low[parent], low[vs]);
      }
    }
  }
}

// Used 0 and NewNumber -1 for the counted definitions, and the counts of
// definitions and inserts. False (no definition in use) when the drawing
// inserts nothing.
bool ClearUsedFlags(TJwwData& m, size_t& defCount, size_t& insertCount) {
  defCount = CountedRows(m.BlockDefCount, m.BlockDefs.size());
  for (size_t d = 0; d < defCount; ++d) {
    m.BlockDefs[d].Used = 0;
    m.BlockDefs[d].NewNumber = -1;
  }
  insertCount = CountedRows(m.BlockInsertCount, m.BlockInserts.size());
  if (insertCount == 0) m.UsedBlockDefCount = 0;
  return insertCount > 0;
}

// Flags every definition that the drawing's inserts reach, directly or
// through other definitions, and numbers the flagged ones in row order.
void FlagReachedDefinitions(TJwwData& m, size_t defCount, size_t insertCount, const TDefLookup& findDef,
                            const TDefGraph& g) {
  std::vector<int32_t> pending;
  auto reach = [&](int32_t d) {
    if (d >= 0 && m.BlockDefs[static_cast<size_t>(d)].Used == 0) {
      m.BlockDefs[static_cast<size_t>(d)].Used = 1;
      pending.push_back(d);
    }
  };
  for (size_t i = 0; i < insertCount; ++i) reach(findDef.Find(m.BlockInserts[i].BlockNumber));
  while (!pending.empty()) {
    const auto d = static_cast<size_t>(pending.back());
    pending.pop_back();
    for (size_t e = g.Start[d]; e < g.Start[d + 1]; ++e) reach(g.Child[e]);
  }
  int32_t next = 0;
  for (size_t d = 0; d < defCount; ++d)
    if (m.BlockDefs[d].Used == 1) m.BlockDefs[d].NewNumber = next++;
  m.UsedBlockDefCount = next;
}

// Room for n more rows (the caller checked that they stay within the
// bound): the array doubles as usual, but its last step goes to the bound
// rather than past it. False when memory runs out (the rows are kept).
bool MakeRoom(std::vector<TEntJwwBlockTree>& rows, size_t n) {
  const size_t need = rows.size() + n;
  if (need <= rows.capacity()) return true;
  try {
    rows.reserve(std::min(std::max(need, 2 * rows.capacity()), kMaxBlockTreeRows));
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

}  // namespace

void TJwwData::MarkUsedBlockDefs() {
  size_t defCount = 0, insertCount = 0;
  if (!ClearUsedFlags(*this, defCount, insertCount)) return;
  const TDefLookup findDef(BlockDefs, defCount);
  FlagReachedDefinitions(*this, defCount, insertCount, findDef, DefGraph(BlockDefs, defCount, findDef, false));
}

void TJwwData::BuildBlockTree() {
  BlockTree.clear();
  BlockTreeCount = 0;
  BlockTreeCut = false;
  BlockTreeTooLarge = false;
  size_t defCount = 0, insertCount = 0;
  if (!ClearUsedFlags(*this, defCount, insertCount)) return;

  const TDefLookup findDef(BlockDefs, defCount);
  TDefGraph graph = DefGraph(BlockDefs, defCount, findDef, true);
  MarkCycles(graph, defCount);
  auto tooLarge = [&] { BlockTreeCut = BlockTreeTooLarge = true; };

  size_t topRows = std::min(insertCount, kMaxBlockTreeRows);
  if (topRows < insertCount) tooLarge();
  if (!MakeRoom(BlockTree, topRows)) {
    tooLarge();
    topRows = 0;
  }
  for (size_t i = 0; i < topRows; ++i) {
    const TEntJwwBlockInsert& ins = BlockInserts[i];
    TEntJwwBlockTree row;
    row.Common = ins.Common;
    row.Level = 0;
    row.Parent = -1;
    row.BlockNumber = static_cast<int32_t>(ins.BlockNumber);
    row.DefRow = findDef.Find(ins.BlockNumber);
    row.OriginX = ins.X;
    row.OriginY = ins.Y;
    const TLocalMatrix m = LocalMatrix(ins);
    row.M11 = m.M11;
    row.M12 = m.M12;
    row.M21 = m.M21;
    row.M22 = m.M22;
    BlockTree.push_back(row);
  }

  // Breadth first: the array grows behind k while k walks it.
  for (size_t k = 0; k < BlockTree.size(); ++k) {
    // Row k's values are copied before the array grows.
    const int32_t defRow = BlockTree[k].DefRow;
    if (defRow < 0) continue;
    const auto d = static_cast<size_t>(defRow);
    const size_t n = graph.Edges(d);
    if (n == 0) continue;
    const int32_t level = BlockTree[k].Level;
    if (level >= kMaxBlockTreeDepth - 1) {
      BlockTreeCut = true;
      continue;
    }
    if (graph.Cyclic[d]) {
      bool onOwnChain = false;  // at most kMaxBlockTreeDepth steps
      for (int32_t a = BlockTree[k].Parent; a >= 0 && !onOwnChain;
           a = BlockTree[static_cast<size_t>(a)].Parent)
        onOwnChain = BlockTree[static_cast<size_t>(a)].DefRow == defRow;
      if (onOwnChain) continue;
    }
    if (n > kMaxBlockTreeRows - BlockTree.size() || !MakeRoom(BlockTree, n)) {
      tooLarge();
      break;
    }
    const TEntJwwBlockDef& def = BlockDefs[d];
    const double px = BlockTree[k].OriginX, py = BlockTree[k].OriginY;
    const double p11 = BlockTree[k].M11, p12 = BlockTree[k].M12;
    const double p21 = BlockTree[k].M21, p22 = BlockTree[k].M22;
    for (size_t b = 0; b < n; ++b) {
      const TEntJwwBlockInsert& ins = def.Elements().Inserts[b];
      const TLocalMatrix& l = graph.Local[graph.Start[d] + b];
      TEntJwwBlockTree row;
      row.Common = def.Common;
      row.Level = level + 1;
      row.Parent = static_cast<int32_t>(k);
      row.BlockNumber = static_cast<int32_t>(ins.BlockNumber);
      row.DefRow = graph.Child[graph.Start[d] + b];
      row.OriginX = px + p11 * ins.X + p12 * ins.Y;
      row.OriginY = py + p21 * ins.X + p22 * ins.Y;
      row.M11 = p11 * l.M11 + p12 * l.M21;
      row.M12 = p11 * l.M12 + p12 * l.M22;
      row.M21 = p21 * l.M11 + p22 * l.M21;
      row.M22 = p21 * l.M12 + p22 * l.M22;
      BlockTree.push_back(row);
    }
  }
  BlockTreeCount = static_cast<int32_t>(BlockTree.size());
  FlagReachedDefinitions(*this, defCount, insertCount, findDef, graph);
}
