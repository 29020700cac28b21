#include <gtest/gtest.h>
#include <locale.h>

#include <array>
#include <cerrno>
#include <string>
#include <vector>

#include "func.h"
#include "sjis.h"
#include "system_reason.h"

namespace {

std::string S(const char* utf8) { return Utf8ToSjis(utf8); }

// A character Shift-JIS lacks becomes one "?", however many bytes it
// takes; a byte that is no UTF-8 at all becomes one "?" too.
TEST(Utf8ToSjis, OneQuestionMarkPerMissingCharacter) {
  const std::pair<std::string, std::string> cases[] = {
      {"1_평면도.jww", "1_???.jww"}, {"über", "?ber"}, {"a\xF0\x9F\x98\x80" "b", "a?b"},
      {"平面図", "\x95\xBD\x96\xCA\x90\x7D"}, {"a\xFF\xFE" "b", "a??b"},
      {"a\xED\x8F", "a?"}, {"\x80\x80", "??"},  // cut at the end; continuations without a lead
  };
  for (const auto& [utf8, sjis] : cases) EXPECT_EQ(Utf8ToSjis(utf8), sjis) << utf8;
  const std::pair<std::u16string, std::string> wide[] = {
      {u"평면도", "???"}, {u"a\U0001F600b", "a?b"}, {u"a\xD800" u"b", "a?b"}};
  for (const auto& [utf16, sjis] : wide) EXPECT_EQ(Utf16ToSjis(utf16.data(), utf16.size()), sjis) << sjis;
}

// The system's reasons as the program shows them: Japanese, whatever the
// process locale.
TEST(SystemErrorText, JapaneseWhateverTheProcessLocale) {
  const locale_t japanese = newlocale(LC_ALL_MASK, "ja_JP.UTF-8", static_cast<locale_t>(nullptr));
  if (japanese == static_cast<locale_t>(nullptr)) GTEST_SKIP() << "no ja_JP.UTF-8 locale (tools/setup.sh makes it)";
  freelocale(japanese);
  const std::string before = setlocale(LC_ALL, nullptr);
  for (const char* processLocale : {"C", "de_DE.UTF-8"}) {
    setlocale(LC_ALL, processLocale);
    EXPECT_EQ(SjisToUtf8(SystemErrorText(EACCES)), "許可がありません") << processLocale;
  }
  setlocale(LC_ALL, before.c_str());
}

TEST(CopyBytesSJIS, WholeCharactersOnly) {
  struct Case {
    std::string s;
    int32_t start, maxBytes;
    std::string want;
    int32_t taken;
  } cases[] = {
      {S("あいう"), 1, 5, S("あい"), 4},
      {S("あいう"), 2, 4, S("い"), 2},  // the first character starts before 2
      {S("あいう"), 1, 6, S("あいう"), 6},
      {S("aあb"), 1, 2, "a", 1},
      {S("aあb"), 2, 2, S("あ"), 2},
      {S("aあb"), 3, 5, "b", 1},       // byte 3 is a trail byte
      {"ab\x82", 3, 1, "", 0},          // a lone lead byte still needs 2
      {"ab\x82", 3, 2, "\x82", 2},      // copied alone, counts 2
      {"abc", 0, 2, "", 0},
      {"abc", 4, 2, "", 0},
      {"abc", 1, 0, "", 0},
      {"", 1, 1, "", 0},
      {"abc", 2, 2147483647, "bc", 2},  // no overflow at the limit
      {"\xFE\xFF" "a", 1, 2, "\xFE\xFF", 2},  // 0xFE and 0xFF are single bytes
      {"\x80" "ab", 1, 2, "\x80" "a", 2},     // 0x80 is a lead byte
  };
  for (const auto& c : cases) {
    int32_t taken = -1;
    EXPECT_EQ(CopyBytesSJIS(c.s, c.start, c.maxBytes, taken), c.want) << c.start << " " << c.maxBytes;
    EXPECT_EQ(taken, c.taken) << c.start << " " << c.maxBytes;
  }
}

TEST(CopyCharsSJIS, CountsCharacters) {
  EXPECT_EQ(CharCountSJIS(S("aあb")), 3);
  EXPECT_EQ(CharCountSJIS("a\x82"), 2);  // a lead byte that ends s is one character
  EXPECT_EQ(CharCountSJIS(""), 0);
  struct Case {
    std::string s;
    int32_t first, count;
    std::string want;
  } cases[] = {
      {S("aあb"), 2, 5, S("あb")},
      {S("aあb"), 1, 2, S("aあ")},
      {S("aあb"), 0, 2, "a"},  // index 0 lies outside [1, count]
      {S("aあb"), -5, 2147483647, S("aあb")},
      {S("aあb"), 3, 1, "b"},
      {S("aあb"), 4, 1, ""},
      {S("aあb"), 1, 0, ""},
      {"", 1, 1, ""},
      {"a\x82", 2, 1, "\x82"},
  };
  for (const auto& c : cases) EXPECT_EQ(CopyCharsSJIS(c.s, c.first, c.count), c.want) << c.first << " " << c.count;
}

TEST(CopySafe, ByteRanges) {
  EXPECT_EQ(CopySafe("abcdef", 2, 3), "bcd");
  EXPECT_EQ(CopySafe("abcdef", -4, 2), "ab");
  EXPECT_EQ(CopySafe("abcdef", 5, 100), "ef");
  EXPECT_EQ(CopySafe("abcdef", 7, 1), "");
  EXPECT_EQ(CopySafe("abcdef", 1, 0), "");
  EXPECT_EQ(CopySafe("abcdef", 3, 2147483647), "cdef");
}

TEST(TextLengthSJIS, WidthsAndGaps) {
  EXPECT_DOUBLE_EQ(TextLengthSJIS(S("aあ"), 4, 1), 6.5);
  EXPECT_DOUBLE_EQ(TextLengthSJIS(S("あa"), 4, 1), 7);
  EXPECT_DOUBLE_EQ(TextLengthSJIS("a", 4, 1), 2);
  EXPECT_DOUBLE_EQ(TextLengthSJIS("", 4, 1), 0);
  EXPECT_DOUBLE_EQ(TextLengthSJIS("a\x82", 4, 1), 2 + 0.5 + 4);
}

TEST(RepeatStr, Counts) {
  EXPECT_EQ(RepeatStr("ab", 3), "ababab");
  EXPECT_EQ(RepeatStr("ab", 0), "");
  EXPECT_EQ(RepeatStr("ab", -2), "");
  EXPECT_EQ(RepeatStr("", 2147483647), "");  // returns at once
  EXPECT_EQ(RepeatStr("abc", 2147483647), "");  // beyond int32 bytes: not made
}

TEST(SplitPath, SlotsAndLastIndex) {
  struct Case {
    std::string s;
    size_t slots;
    int32_t want;
    std::vector<std::string> parts;
  } cases[] = {
      {"C:\\a\\b.jww", 81, 2, {"C:", "a", "b.jww"}},
      {"\\\\srv\\x", 81, 2, {"", "srv", "x"}},
      {"plain", 81, 0, {"plain"}},
      {"a\\", 81, 1, {"a", ""}},
      {"a\\\\\\b", 81, 2, {"a", "", "b"}},  // a pair, then a single backslash
      {S("表\\示"), 81, 1, {S("表"), S("示")}},  // 0x955C: the trail byte is no separator
      {"a\\b\\c\\d", 2, 1, {"a", "d"}},           // the last slot keeps the tail
      {"a\\b", 1, 0, {"b"}},
      {"x\x81", 81, 0, {"x\x81"}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> parts(c.slots, "stale");
    EXPECT_EQ(SplitPath(c.s, parts), c.want) << c.s;
    for (size_t i = 0; i < c.slots; ++i) {
      EXPECT_EQ(parts[i], i < c.parts.size() ? c.parts[i] : "") << c.s << " slot " << i;
    }
  }
  std::vector<std::string> none;
  EXPECT_EQ(SplitPath("a\\b", none), 0);
  EXPECT_TRUE(none.empty());
}

TEST(RemoveAndStrip, ByTheWalk) {
  struct Case {
    std::string s, removeSpaces, stripCaretM, stripControl;
  } cases[] = {
      {S("a　b c"), "abc", S("a　b c"), S("a　b c")},
      {"^m", "^m", " ", "^m"},
      {"", "", "", ""},
      {"a^Mb", "a^Mb", "a^Mb", "a^Mb"},
      {"a^mb^m", "a^mb^m", "ab", "a^mb^m"},
      {"\t\r\na\x01", "a", "a", "a"},
      {"\x01", "", " ", ""},
      {"a\x81", "a\x81", "a\x81", "a"},           // a lead byte that ends s
      {"\x81\x20\x81\x40", "\x81\x20", "\x81\x20\x81\x40", "\x81\x20\x81\x40"},
      {"\x83^m", "\x83^m", "\x83^m", "\x83^m"},    // 0x835E is a character, then "m"
      {"\x83^^m", "\x83^^m", "\x83^", "\x83^^m"},
      {"\x83\x0A", "\x83\x0A", "\x83\x0A", "\x83\x0A"},  // a trail byte below 0x20 stays
      {"\x7F\xFF", "\x7F\xFF", "\x7F\xFF", "\x7F\xFF"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RemoveSpaces(c.s), c.removeSpaces) << c.s;
    EXPECT_EQ(StripCaretM(c.s), c.stripCaretM) << c.s;
    EXPECT_EQ(StripControlChars(c.s), c.stripControl) << c.s;
  }
}

TEST(CharBuffers, NeverWriteBeyondN) {
  std::array<char, 8> buf;
  buf.fill('#');
  StrToCharBuf(buf.data() + 1, "abcdef", 3);
  EXPECT_EQ(std::string(buf.data(), 8), "#abc####");
  buf.fill('#');
  StrToCharBuf(buf.data(), "abcdef", -2);  // |n|
  EXPECT_EQ(std::string(buf.data(), 8), "ab######");
  buf.fill('#');
  StrToCharBuf(buf.data(), "ab", 6);  // no terminator, no padding
  EXPECT_EQ(std::string(buf.data(), 8), "ab######");
  StrToCharBuf(nullptr, "ab", 2);

  buf.fill('#');
  FillCharBuf(buf.data() + 2, 'x', 3);
  EXPECT_EQ(std::string(buf.data(), 8), "##xxx###");
  FillCharBuf(buf.data(), 'y', 0);
  FillCharBuf(buf.data(), 'y', -5);
  FillCharBuf(nullptr, 'y', 5);
  EXPECT_EQ(std::string(buf.data(), 8), "##xxx###");
}

}  // namespace
