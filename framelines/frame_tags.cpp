#include "frame_chain.h"

bool HasForbiddenSheetNameByte(const std::string& text) {
  return text.find_first_of(",.\\/[]| '\"+*<>?~") != std::string::npos;
}
