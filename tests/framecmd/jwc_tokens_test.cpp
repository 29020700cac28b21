// The line tokeniser: separators, quotes, "=", Shift-JIS pairs, limits.
#include <gtest/gtest.h>

#include "jwc_data.h"

namespace {

struct TokenCase {
  const char* name;
  std::string line;
  std::vector<std::string> tokens;
};

TEST(JwcTokens, SplitsLinesAsJwCadWritesThem) {
  const std::vector<TokenCase> cases = {
      {"blank runs count once", "hcc      1      1", {"hcc", "1", "1"}},
      {"leading blanks skipped", "   1 2", {"1", "2"}},
      {"tab separates", "1\t2", {"1", "2"}},
      {"trailing blank adds an empty token", "1 2 3 4 ", {"1", "2", "3", "4", ""}},
      {"quote is dropped and the rest is one token", "ch 1 2 1 0 \"a b \"c\"", {"ch", "1", "2", "1", "0", "a b \"c\""}},
      {"font line: quote glued to the keyword", "cn\"$<\x82\x6C\x82\x72 \x83\x53>", {"cn$<\x82\x6C\x82\x72 \x83\x53>"}},
      {"equals kept and switches off", "file=C:\\a b\\c.jww", {"file=C:\\a b\\c.jww"}},
      {"equals inside a later token", "x a=b c", {"x", "a=b c"}},
      {"lead byte takes a quote as trail byte", "a\x81\"b c", {"a\x81\"b", "c"}},
      {"lead byte takes a blank as trail byte", "a\x81 b", {"a\x81 b"}},
      {"lone lead byte at the end dropped", "ab \x82", {"ab", ""}},
      {"control bytes dropped", std::string("a\x01\x7f b\0c", 8), {"a\x7f", "bc"}},
      {"bytes 254 and 255 dropped", "a\xFE\xFF" "b", {"ab"}},
      {"half-width katakana kept", "\xB1\xB2", {"\xB1\xB2"}},
      {"tab after the quote dropped", "ch \"a\tb", {"ch", "ab"}},
      {"empty line", "", {}},
      {"blank line", "    ", {}},
  };
  for (const TokenCase& c : cases) EXPECT_EQ(TokenizeJwcLine(c.line), c.tokens) << c.name;
}

TEST(JwcTokens, KeepsAtMost32Tokens) {
  std::string line;
  for (int i = 1; i <= 40; ++i) line += std::to_string(i) + " ";
  const auto t = TokenizeJwcLine(line);
  ASSERT_EQ(t.size(), 32u);
  EXPECT_EQ(t[31], "32");  // the 33rd token's bytes are dropped, not glued on
  // After the limit a quote still cannot open a text token.
  EXPECT_EQ(TokenizeJwcLine(line + "\"tail").size(), 32u);
}

}  // namespace
