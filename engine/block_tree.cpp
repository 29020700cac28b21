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
//  - no more than kMaxBlockTreeRows rows are made: once a row's children
//    would pass it, no further rows are appended (each expanded row still has
//    all its children).
// The last two leave occurrences out; BlockTreeCut then tells the callers
// that the tree is not the whole drawing.
// The used flags do not depend on these bounds: every definition that the
// inserts reach is flagged, so the writer still keeps everything it needs.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <unordered_map>

#include "counted_rows.h"
#include "jww_data.h"

namespace {

constexpr int32_t kMaxBlockTreeDepth = 64;
constexpr size_t kMaxBlockTreeRows = 4'000'000;


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
  std::vector<TLocalMatrix> Local;
  std::vector<uint8_t> Cyclic;  // the definition can reach itself

  size_t Edges(size_t d) const { return Start[d + 1] - Start[d]; }
};

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

}  // namespace

void TJwwData::BuildBlockTree() {
  BlockTree.clear();
  BlockTreeCount = 0;
  BlockTreeCut = false;
  const size_t defCount = CountedRows(BlockDefCount, BlockDefs.size());
  for (size_t d = 0; d < defCount; ++d) {
    BlockDefs[d].Used = 0;
    BlockDefs[d].NewNumber = -1;
  }
  const size_t insertCount = CountedRows(BlockInsertCount, BlockInserts.size());
  if (insertCount == 0) {
    UsedBlockDefCount = 0;
    return;
  }

  // First (lowest) definition row for each block number.
  std::unordered_map<int32_t, int32_t> defByNumber;
  defByNumber.reserve(defCount);
  for (size_t d = 0; d < defCount; ++d)
    defByNumber.emplace(BlockDefs[d].Number, static_cast<int32_t>(d));
  auto findDef = [&](uint32_t blockNumber) -> int32_t {
    const auto it = defByNumber.find(static_cast<int32_t>(blockNumber));
    return it == defByNumber.end() ? -1 : it->second;
  };

  TDefGraph graph;
  graph.Start.assign(defCount + 1, 0);
  for (size_t d = 0; d < defCount; ++d)
    graph.Start[d + 1] = graph.Start[d] + CountedRows(BlockDefs[d].InsertCount, BlockDefs[d].Inserts.size());
  graph.Child.reserve(graph.Start[defCount]);
  graph.Local.reserve(graph.Start[defCount]);
  for (size_t d = 0; d < defCount; ++d) {
    for (size_t b = 0; b < graph.Edges(d); ++b) {
      graph.Child.push_back(findDef(BlockDefs[d].Inserts[b].BlockNumber));
      graph.Local.push_back(LocalMatrix(BlockDefs[d].Inserts[b]));
    }
  }
  MarkCycles(graph, defCount);

  auto setDefinition = [&](TEntJwwBlockTree& row, int32_t defRow) {
    row.DefRow = defRow;
    if (defRow >= 0) {
      TEntJwwBlockDef& def = BlockDefs[static_cast<size_t>(defRow)];
      row.Name = def.Name;
      def.Used = 1;
    }
  };

  BlockTree.reserve(std::min(insertCount, kMaxBlockTreeRows));
  BlockTreeCut = insertCount > kMaxBlockTreeRows;
  for (size_t i = 0; i < insertCount && i < kMaxBlockTreeRows; ++i) {
    const TEntJwwBlockInsert& ins = BlockInserts[i];
    TEntJwwBlockTree row;
    row.Common = ins.Common;
    row.Level = 0;
    row.Parent = -1;
    row.BlockNumber = static_cast<int32_t>(ins.BlockNumber);
    row.OriginX = ins.X;
    row.OriginY = ins.Y;
    const TLocalMatrix m = LocalMatrix(ins);
    row.M11 = m.M11;
    row.M12 = m.M12;
    row.M21 = m.M21;
    row.M22 = m.M22;
    setDefinition(row, findDef(ins.BlockNumber));
    BlockTree.push_back(std::move(row));
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
    if (n > kMaxBlockTreeRows - BlockTree.size()) {
      BlockTreeCut = true;
      break;
    }
    const TEntJwwBlockDef& def = BlockDefs[d];
    const double px = BlockTree[k].OriginX, py = BlockTree[k].OriginY;
    const double p11 = BlockTree[k].M11, p12 = BlockTree[k].M12;
    const double p21 = BlockTree[k].M21, p22 = BlockTree[k].M22;
    for (size_t b = 0; b < n; ++b) {
      const TEntJwwBlockInsert& ins = def.Inserts[b];
      const TLocalMatrix& l = graph.Local[graph.Start[d] + b];
      TEntJwwBlockTree row;
      row.Common = def.Common;
      row.Level = level + 1;
      row.Parent = static_cast<int32_t>(k);
      row.BlockNumber = static_cast<int32_t>(ins.BlockNumber);
      row.OriginX = px + p11 * ins.X + p12 * ins.Y;
      row.OriginY = py + p21 * ins.X + p22 * ins.Y;
      row.M11 = p11 * l.M11 + p12 * l.M21;
      row.M12 = p11 * l.M12 + p12 * l.M22;
      row.M21 = p21 * l.M11 + p22 * l.M21;
      row.M22 = p21 * l.M12 + p22 * l.M22;
      setDefinition(row, graph.Child[graph.Start[d] + b]);
      BlockTree.push_back(std::move(row));
    }
  }
  BlockTreeCount = static_cast<int32_t>(BlockTree.size());

  // Definitions beyond a bound are still in use: flag everything the
  // drawing's inserts reach (when no bound was hit this adds nothing).
  std::vector<int32_t> pending;
  auto reach = [&](int32_t d) {
    if (d >= 0 && BlockDefs[static_cast<size_t>(d)].Used == 0) {
      BlockDefs[static_cast<size_t>(d)].Used = 1;
      pending.push_back(d);
    }
  };
  for (size_t d = 0; d < defCount; ++d)
    if (BlockDefs[d].Used == 1) pending.push_back(static_cast<int32_t>(d));
  for (size_t i = 0; i < insertCount; ++i) reach(findDef(BlockInserts[i].BlockNumber));
  while (!pending.empty()) {
    const auto d = static_cast<size_t>(pending.back());
    pending.pop_back();
    for (size_t e = graph.Start[d]; e < graph.Start[d + 1]; ++e) reach(graph.Child[e]);
  }

  int32_t next = 0;
  for (size_t d = 0; d < defCount; ++d)
    if (BlockDefs[d].Used == 1) BlockDefs[d].NewNumber = next++;
  UsedBlockDefCount = next;
}
