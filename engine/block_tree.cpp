// TJwwData::BuildBlockTree: flattens nested block inserts into one row per
// insert occurrence, breadth first, each with its whole transform.
//
// Files may hold definitions that insert themselves, directly or through
// others, and small files may nest inserts so that the occurrences grow
// exponentially. Three bounds keep the build finite and linear in the rows
// it makes:
//  - a row whose definition already appears on its own ancestor chain stays
//    as a row but gets no children (the cycle is cut there);
//  - rows on the deepest level (kMaxBlockTreeDepth - 1) get no children;
//  - no more than kMaxBlockTreeRows rows are made: once a row's children
//    would pass it, no further rows are appended (each expanded row still has
//    all its children).
// The used flags do not depend on these bounds: every definition that the
// inserts reach is flagged, so the writer still keeps everything it needs.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <unordered_map>

#include "jww_data.h"

namespace {

constexpr int32_t kMaxBlockTreeDepth = 64;
constexpr size_t kMaxBlockTreeRows = 4'000'000;

size_t ValidRows(int32_t count, size_t arraySize) {
  if (count <= 0) return 0;
  return std::min(static_cast<size_t>(count), arraySize);
}

struct TLocalMatrix {
  double M11, M12, M21, M22;
};

TLocalMatrix LocalMatrix(const TEntJwwBlockInsert& ins) {
  const double c = std::cos(ins.Angle);
  const double s = std::sin(ins.Angle);
  return {c * ins.ScaleX, -s * ins.ScaleY, s * ins.ScaleX, c * ins.ScaleY};
}

}  // namespace

void TJwwData::BuildBlockTree() {
  BlockTree.clear();
  BlockTreeCount = 0;
  const size_t defCount = ValidRows(BlockDefCount, BlockDefs.size());
  for (size_t d = 0; d < defCount; ++d) {
    BlockDefs[d].Used = 0;
    BlockDefs[d].NewNumber = -1;
  }
  const size_t insertCount = ValidRows(BlockInsertCount, BlockInserts.size());
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
  auto setDefinition = [&](TEntJwwBlockTree& row, uint32_t blockNumber) {
    row.DefRow = findDef(blockNumber);
    if (row.DefRow >= 0) {
      TEntJwwBlockDef& def = BlockDefs[static_cast<size_t>(row.DefRow)];
      row.Name = def.Name;
      def.Used = 1;
    }
  };

  BlockTree.reserve(std::min(insertCount, kMaxBlockTreeRows));
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
    setDefinition(row, ins.BlockNumber);
    BlockTree.push_back(std::move(row));
  }

  // Breadth first: the array grows behind k while k walks it.
  for (size_t k = 0; k < BlockTree.size(); ++k) {
    // Row k's values are copied before the array grows.
    const int32_t defRow = BlockTree[k].DefRow;
    if (defRow < 0) continue;
    const TEntJwwBlockDef& def = BlockDefs[static_cast<size_t>(defRow)];
    const size_t n = ValidRows(def.InsertCount, def.Inserts.size());
    if (n == 0) continue;
    const int32_t level = BlockTree[k].Level;
    if (level >= kMaxBlockTreeDepth - 1) continue;
    bool onOwnChain = false;  // at most kMaxBlockTreeDepth steps
    for (int32_t a = BlockTree[k].Parent; a >= 0; a = BlockTree[static_cast<size_t>(a)].Parent) {
      if (BlockTree[static_cast<size_t>(a)].DefRow == defRow) {
        onOwnChain = true;
        break;
      }
    }
    if (onOwnChain) continue;
    if (n > kMaxBlockTreeRows - BlockTree.size()) break;
    const double px = BlockTree[k].OriginX, py = BlockTree[k].OriginY;
    const double p11 = BlockTree[k].M11, p12 = BlockTree[k].M12;
    const double p21 = BlockTree[k].M21, p22 = BlockTree[k].M22;
    for (size_t b = 0; b < n; ++b) {
      const TEntJwwBlockInsert& ins = def.Inserts[b];
      TEntJwwBlockTree row;
      row.Common = def.Common;
      row.Level = level + 1;
      row.Parent = static_cast<int32_t>(k);
      row.BlockNumber = static_cast<int32_t>(ins.BlockNumber);
      row.OriginX = px + p11 * ins.X + p12 * ins.Y;
      row.OriginY = py + p21 * ins.X + p22 * ins.Y;
      const TLocalMatrix l = LocalMatrix(ins);
      row.M11 = p11 * l.M11 + p12 * l.M21;
      row.M12 = p11 * l.M12 + p12 * l.M22;
      row.M21 = p21 * l.M11 + p22 * l.M21;
      row.M22 = p21 * l.M12 + p22 * l.M22;
      setDefinition(row, ins.BlockNumber);
      BlockTree.push_back(std::move(row));
    }
  }
  BlockTreeCount = static_cast<int32_t>(BlockTree.size());

  // Definitions beyond a bound are still in use: flag everything the
  // drawing's inserts reach (when no bound was hit this adds nothing).
  std::vector<int32_t> pending;
  for (size_t d = 0; d < defCount; ++d)
    if (BlockDefs[d].Used == 1) pending.push_back(static_cast<int32_t>(d));
  for (size_t i = 0; i < insertCount; ++i) {
    const int32_t d = findDef(BlockInserts[i].BlockNumber);
    if (d >= 0 && BlockDefs[static_cast<size_t>(d)].Used == 0) {
      BlockDefs[static_cast<size_t>(d)].Used = 1;
      pending.push_back(d);
    }
  }
  while (!pending.empty()) {
    const TEntJwwBlockDef& def = BlockDefs[static_cast<size_t>(pending.back())];
    pending.pop_back();
    const size_t n = ValidRows(def.InsertCount, def.Inserts.size());
    for (size_t b = 0; b < n; ++b) {
      const int32_t d = findDef(def.Inserts[b].BlockNumber);
      if (d >= 0 && BlockDefs[static_cast<size_t>(d)].Used == 0) {
        BlockDefs[static_cast<size_t>(d)].Used = 1;
        pending.push_back(d);
      }
    }
  }

  int32_t next = 0;
  for (size_t d = 0; d < defCount; ++d)
    if (BlockDefs[d].Used == 1) BlockDefs[d].NewNumber = next++;
  UsedBlockDefCount = next;
}
