#include "jww_data.h"

// Placeholder until block explosion lands.
bool TJwwData::ExplodeBlocks() { return false; }
