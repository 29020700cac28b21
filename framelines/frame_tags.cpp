#include "frame_chain.h"

#include "func.h"

bool HasForbiddenSheetNameChar(const std::string& text) {
  return HasSingleByteCharSJIS(text, kForbiddenSheetNameChars);
}
