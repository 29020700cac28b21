#include "jww_data.h"

// Placeholders until layer attributes, extents and counts land.
void TJwwData::ApplyLayerAttributes() {}
void TJwwData::CalcExtents() {}
void TJwwData::CountEntities(int32_t, int32_t, std::array<int32_t, 15>& counters) const {
  counters.fill(0);
}
