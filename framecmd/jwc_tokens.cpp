// The line tokeniser of the interface file.
//
// A separating switch starts on. With it on, blanks and tabs separate tokens
// (only a non-empty token is closed), a double quote is dropped and an "="
// kept, and both switch it off: the rest of the line is one token. A lead
// byte always takes the byte after it, so a trail byte that looks like a
// quote or a blank never acts as one.
#include "func.h"
#include "jwc_data.h"

namespace {

constexpr size_t kMaxTokens = 32;

}  // namespace

std::vector<std::string> TokenizeJwcLine(const std::string& line) {
  std::vector<std::string> tokens(1);
  bool separating = true;
  bool full = false;  // bytes of a 33rd or later token are dropped
  auto append = [&](const char* p, size_t n) {
    if (!full) tokens.back().append(p, n);
  };
  const size_t len = line.size();
  for (size_t i = 0; i < len; ++i) {
    const auto b = static_cast<unsigned char>(line[i]);
    if (IsSjisLeadByte(b)) {
      if (i + 1 >= len) break;  // a lone lead byte at the end is dropped
      append(&line[i], 2);
      ++i;
      continue;
    }
    if (separating) {
      if (b == '"') {
        separating = false;
        continue;
      }
      if (b == '=') {
        append(&line[i], 1);
        separating = false;
        continue;
      }
      if (b == ' ' || b == '\t') {
        if (!tokens.back().empty() || full) {
          if (tokens.size() < kMaxTokens) {
            tokens.emplace_back();
          } else {
            full = true;
          }
        }
        continue;
      }
    }
    if (b >= 32 && b <= 253) append(&line[i], 1);
  }
  if (tokens.size() == 1 && tokens[0].empty()) tokens.clear();
  return tokens;
}
