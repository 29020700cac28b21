#include "jww_data.h"

// Placeholder until the reader lands.
bool TJwwData::LoadFromFile(const std::string&) {
  Clear();
  return false;
}
bool TJwwData::LoadFromBytes(const uint8_t*, size_t) { return false; }
