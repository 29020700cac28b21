#include "jww_data.h"

// Placeholder until the writer lands.
bool TJwwData::SaveToFile(const std::string&, int32_t) { return false; }
void TJwwData::SetSaveOptions(int32_t bits) { SaveOptions = (bits >= 0 && bits <= 15) ? bits : 0; }
