#include "jww_data.h"

// Placeholder until the block tree lands.
void TJwwData::BuildBlockTree() {
  BlockTree.clear();
  BlockTreeCount = 0;
  UsedBlockDefCount = 0;
}
