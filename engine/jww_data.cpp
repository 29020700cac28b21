#include "jww_data.h"

#include <cstdio>
#include <cstring>

#include "file_io.h"

TJwwData::TJwwData() { Clear(); }

TJwwData::~TJwwData() { FreeData(); }

void TJwwData::Clear() {
  SaveOptions = 0;
  LayerGroups.clear();
  Layers.clear();
  Pens.clear();
  LineTypes.clear();
  RandomLines.clear();
  DoubleLines.clear();
  ColorsEx.clear();
  LineTypesEx.clear();
  TextSizes.clear();
  EntityOrder.clear();

  Lines.clear();
  Arcs.clear();
  Points.clear();
  Texts.clear();
  Dimensions.clear();
  Solids.clear();
  BlockInserts.clear();
  BlockDefs.clear();
  BlockTree.clear();
  LineCount = ArcCount = PointCount = TextCount = DimensionCount = 0;
  SolidCount = BlockInsertCount = BlockDefCount = BlockTreeCount = 0;
  UsedBlockDefCount = EntityOrderCount = BlockListCount = 0;
  BlockTreeCut = false;
  BlockTreeTooLarge = false;

  Header = TEntJwwHeader{};
}

void TJwwData::FreeData() {
  for (int32_t i = 0; i < BlockDefCount && i < static_cast<int32_t>(BlockDefs.size()); ++i) {
    BlockDefs[i].FreeElements();
  }
  Clear();
}

bool TJwwData::IsJwwFile(const std::string& path) const {
  std::FILE* f = OpenFile(path, "rb");
  if (!f) return false;
  char sig[8];
  const size_t got = std::fread(sig, 1, sizeof sig, f);
  std::fclose(f);
  return got == sizeof sig && std::memcmp(sig, "JwwData.", 8) == 0;
}
