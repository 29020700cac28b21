#include "frame_text.h"

#include "func.h"

namespace {

// One character folded to upper case: ASCII a-z, and full-width ａ-ｚ
// (0x82 0x81..0x9A) to Ａ-Ｚ (0x82 0x60..0x79). Returns its byte length.
size_t FoldedChar(const std::string& s, size_t i, unsigned& code) {
  const auto b = static_cast<unsigned char>(s[i]);
  if (IsSjisLeadByte(b)) {
    const unsigned trail = i + 1 < s.size() ? static_cast<unsigned char>(s[i + 1]) : 0x100;
    if (b == 0x82 && trail >= 0x81 && trail <= 0x9A) {
      code = 0x8200 + trail - 0x21;
    } else {
      code = (static_cast<unsigned>(b) << 8) + trail;
    }
    return 2;
  }
  code = (b >= 'a' && b <= 'z') ? b - 32u : b;
  return 1;
}

}  // namespace

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    unsigned ca, cb;
    i += FoldedChar(a, i, ca);
    j += FoldedChar(b, j, cb);
    if (ca != cb) return false;
  }
  return i >= a.size() && j >= b.size();
}

std::string IgnoringCaseKey(const std::string& s) {
  // Three bytes a character: codes run up to 0x10000.
  std::string key;
  key.reserve(s.size() * 3);
  for (size_t i = 0; i < s.size();) {
    unsigned code;
    i += FoldedChar(s, i, code);
    key += static_cast<char>(code >> 16);
    key += static_cast<char>((code >> 8) & 0xFF);
    key += static_cast<char>(code & 0xFF);
  }
  return key;
}

int CompareIgnoringCase(const std::string& a, const std::string& b) {
  const int c = UpperAsciiSJIS(a).compare(UpperAsciiSJIS(b));
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}
