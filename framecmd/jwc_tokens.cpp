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

void TokenizeJwcLine(const std::string& line, TJwcTokens& tokens) {
  tokens.N = 1;
  tokens.T[0].clear();
  bool separating = true;
  bool full = false;  // bytes of a 33rd or later token are dropped
  std::string* current = &tokens.T[0];
  auto append = [&](const char* p, size_t n) {
    if (!full) current->append(p, n);
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
        if (!current->empty() && !full) {
          if (tokens.N < kMaxTokens) {
            current = &tokens.T[tokens.N++];
            current->clear();
          } else {
            full = true;
          }
        }
        continue;
      }
    }
    if (b >= 32 && b <= 253) append(&line[i], 1);
  }
  if (tokens.N == 1 && tokens.T[0].empty()) tokens.N = 0;
}

std::vector<std::string> TokenizeJwcLine(const std::string& line) {
  TJwcTokens t;
  TokenizeJwcLine(line, t);
  return std::vector<std::string>(t.T, t.T + t.N);
}
