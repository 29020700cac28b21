// File and folder names a Linux user has that Shift-JIS cannot hold (or
// holds only as another character): the wave dash U+301C that Japanese
// input methods type for "〜", the minus sign U+2212, "ü" and Hangul.
#pragma once

#include <string>
#include <vector>

namespace jwwtest {

struct TUnusualName {
  std::string Stem;  // UTF-8, as the file system stores it
  bool HasSjisForm;  // Shift-JIS holds it (through a look-alike character)
};

inline const std::vector<TUnusualName>& UnusualNames() {
  static const std::vector<TUnusualName> names = {
      {"1階\u301C2階", true}, {"断面\u22121", true}, {"Müller", false}, {"도면", false}};
  return names;
}

}  // namespace jwwtest
