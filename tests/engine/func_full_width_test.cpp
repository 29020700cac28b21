#include <gtest/gtest.h>

#include <string>

#include "func.h"
#include "sjis.h"

namespace {

std::string S(const char* utf8) { return Utf8ToSjis(utf8); }

// UTF-8 of one code point of the Basic Multilingual Plane.
std::string Utf8(char32_t c) {
  std::string out;
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
  return out;
}

// Every half-width character against iconv's CP932: ASCII 0x21..0x7E must
// give what CP932 encodes for U+FF01..U+FF5E, the blank U+3000, and the
// half-width katakana U+FF61..U+FF9F their full-width counterparts.
TEST(ToFullWidth, TableMatchesIconvCp932) {
  ASSERT_EQ(ToFullWidth(" "), S("\u3000"));
  for (int b = 0x21; b <= 0x7E; ++b) {
    const std::string want = Utf8ToSjis(Utf8(0xFF01 + (b - 0x21)));
    ASSERT_EQ(want.size(), 2u) << b;
    EXPECT_EQ(ToFullWidth(std::string(1, static_cast<char>(b))), want) << "byte " << b;
  }
  const char32_t kana[] = U"。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソ"
                          U"タチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン゛゜";
  static_assert(sizeof kana / sizeof kana[0] == 63 + 1);
  for (int b = 0xA1; b <= 0xDF; ++b) {
    const std::string half(1, static_cast<char>(b));
    ASSERT_EQ(SjisToUtf8(half), Utf8(0xFF61 + (b - 0xA1))) << "byte " << b;
    const std::string want = Utf8ToSjis(Utf8(kana[b - 0xA1]));
    ASSERT_EQ(want.size(), 2u) << b;
    EXPECT_EQ(ToFullWidth(half), want) << "byte " << b;
  }
}

TEST(ToFullWidth, CharactersCp932SpellsItsOwnWay) {
  EXPECT_EQ(ToFullWidth("\\"), "\x81\x5F");   // U+FF3C
  EXPECT_EQ(ToFullWidth("~"), "\x81\x60");    // U+FF5E
  EXPECT_EQ(ToFullWidth("'"), "\xFA\x56");    // U+FF07
  EXPECT_EQ(ToFullWidth("\""), "\xFA\x57");   // U+FF02
  EXPECT_EQ(ToFullWidth("-"), "\x81\x7C");    // U+FF0D
}

TEST(ToFullWidth, VoicedMarksJoinWhereCp932HasTheCharacter) {
  struct Case {
    const char* half;
    const char* full;
  } cases[] = {
      {"ｶﾞｷﾞｸﾞｹﾞｺﾞ", "ガギグゲゴ"},
      {"ｻﾞｼﾞｽﾞｾﾞｿﾞ", "ザジズゼゾ"},
      {"ﾀﾞﾁﾞﾂﾞﾃﾞﾄﾞ", "ダヂヅデド"},
      {"ﾊﾞﾋﾞﾌﾞﾍﾞﾎﾞ", "バビブベボ"},
      {"ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ", "パピプペポ"},
      {"ｳﾞ", "ヴ"},
      {"ﾜﾞｦﾞ", "ワ゛ヲ゛"},  // no CP932 form: the mark stays apart
      {"ｱﾞｶﾟ", "ア゛カ゜"},
      {"ﾊﾞﾟ", "バ゜"},
      {"ﾞﾟ", "゛゜"},
      {"ｶﾞｰﾄﾞ", "ガード"},
      {"かﾞ", "カ゛"},  // only a half-width kana takes the mark
      {"ｶ", "カ"},
  };
  for (const auto& c : cases) EXPECT_EQ(SjisToUtf8(ToFullWidth(S(c.half))), c.full) << c.half;
}

TEST(ToFullWidth, HiraganaBecomeKatakana) {
  for (char32_t h = 0x3041; h <= 0x3093; ++h) {
    const std::string hira = Utf8ToSjis(Utf8(h));
    ASSERT_EQ(hira.size(), 2u);
    EXPECT_EQ(SjisToUtf8(ToFullWidth(hira)), Utf8(h + 0x60)) << static_cast<int>(h);
  }
  EXPECT_EQ(SjisToUtf8(ToFullWidth(S("ゝゞ"))), "ゝゞ");  // outside 0x829F..0x82F1
}

TEST(ToFullWidth, MixedText) {
  struct Case {
    std::string in, want;
  } cases[] = {
      {S("R12.5mm"), S("Ｒ１２．５ｍｍ")},
      {S("φ1,234"), S("φ１，２３４")},
      {S("ﾃｽﾄ 表示ab"), S("テスト　表示ａｂ")},   // 0x955C keeps its trail byte
      {S("ＡＢＣ漢字ア"), S("ＡＢＣ漢字ア")},   // full-width input stays
      {S("ｶﾞ") + "\x82", S("ガ") + "\x82"},  // a lead byte that ends s is kept alone
      {"\x81", "\x81"},
      {std::string("a\0b", 3), S("ａ") + std::string(1, '\0') + S("ｂ")},
      {"\t\x7F\xA0\xFE\xFF", "\t\x7F\xA0\xFE\xFF"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ToFullWidth(c.in), c.want) << SjisToUtf8(c.in);
}

TEST(ToFullWidth, LongTextHasNoSeams) {
  // A voiced mark right after a 126-byte boundary still joins its kana.
  const std::string text = std::string(125, 'a') + S("ｶﾞ");
  EXPECT_EQ(ToFullWidth(text), RepeatStr(S("ａ"), 125) + S("ガ"));
}

}  // namespace
