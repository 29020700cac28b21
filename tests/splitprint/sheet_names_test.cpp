#include <gtest/gtest.h>

#include "sheet_names.h"
#include "sjis.h"

namespace {

struct NumberCase {
  int32_t number, zeroPad, frames, start, sheets, sheet;
  const char* expected;
};

TEST(SheetNumberText, PaddingFollowsFramesPlusStartNumber) {
  const NumberCase cases[] = {
      {1, 1, 12, 1, 1, 0, "01"},          // 12 + 1 = 13: two digits
      {12, 1, 12, 1, 1, 0, "12"},
      {1, 1, 9, 1, 1, 0, "01"},           // 9 + 1 = 10: two digits
      {9, 1, 9, 1, 1, 0, "09"},
      {0, 1, 10, 0, 1, 0, "00"},          // 10 + 0 = 10
      {9, 1, 10, 0, 1, 0, "09"},
      {1, 1, 8, 1, 1, 0, "1"},            // 8 + 1 = 9: one digit
      {1, 0, 12, 1, 1, 0, "1"},           // no padding
      {123, 1, 5, 1, 1, 0, "123"},        // already longer than the width
      {7, 1, 2000000, 9999, 1, 0, "000007"},  // at most six digits
      {5, 0, 3, 1, 3, 0, "5-1"},          // several sheets in the frame
      {5, 0, 3, 1, 3, 2, "5-3"},
      {3, 1, 12, 1, 2, 1, "03-2"},
  };
  for (const NumberCase& c : cases) {
    EXPECT_EQ(SheetNumberText(c.number, c.zeroPad, c.frames, c.start, c.sheets, c.sheet), c.expected)
        << "number " << c.number << " frames " << c.frames << " start " << c.start;
  }
}

struct PatternCase {
  int32_t pattern;
  const char* sheetName;
  const char* expected;
};

TEST(ComposeSheetName, SevenPatternsWithAndWithoutSheetName) {
  const PatternCase cases[] = {
      {0, "A", "5_plan"},   {0, "", "5_plan"},      {1, "A", "plan_5"},   {1, "", "plan_5"},
      {2, "A", "plan_A"},   {2, "", "plan_5"},      {3, "A", "5_plan_A"}, {3, "", "5_plan"},
      {4, "A", "plan_5_A"}, {4, "", "plan_5"},      {5, "A", "A"},        {5, "", "plan_5"},
      {6, "A", "5_A"},      {6, "", "5"},           {7, "A", "5_plan"},   {-1, "A", "5_plan"},
  };
  for (const PatternCase& c : cases)
    EXPECT_EQ(ComposeSheetName(c.pattern, "5", "_", "plan", c.sheetName), c.expected) << "pattern " << c.pattern;
  EXPECT_EQ(ComposeSheetName(0, "1", "", "plan", ""), "1plan");
  EXPECT_EQ(ComposeSheetName(3, "5-2", "_", "plan", "B"), "5-2_plan_B");
}

TEST(SafeSheetFileName, UnsafeBytesBecomeUnderscores) {
  const std::string nul("A\0B", 3);
  struct Case {
    std::string in, out;
  } cases[] = {
      {"plan_1", "plan_1"},
      {"a/b", "a_b"},
      {"../x", ".._x"},  // no folder part left: ".." alone is harmless inside a name
      {nul, "A_B"},
      {"A\x01\x1F\x7F" "B", "A___B"},
      {"a\\b", "a_b"},
      {"C\xFF" "D", "C_D"},               // no Shift-JIS byte
      {"E\x81", "E_"},                    // lead byte without its trail byte
      {"F\x81\x20G", "F_ G"},             // lead byte with an impossible trail byte
      {Utf8ToSjis("平面図"), Utf8ToSjis("平面図")},
      {Utf8ToSjis("ソファ"), Utf8ToSjis("ソファ")},  // trail byte 0x5C stays part of its character
      {Utf8ToSjis("ｱｲｳ"), Utf8ToSjis("ｱｲｳ")},        // half-width katakana
  };
  for (const Case& c : cases) {
    const std::string safe = SafeSheetFileName(c.in);
    EXPECT_EQ(safe, c.out);
    EXPECT_TRUE(IsValidSjis(safe));
    EXPECT_EQ(safe.find('/'), std::string::npos);
  }
}

TEST(SafeSheetFileName, LongNamesAreCutToOneFileNameOnACharacterBoundary) {
  std::string kanji;
  for (int i = 0; i < 120; ++i) kanji += Utf8ToSjis("図");  // 240 bytes, 360 in UTF-8
  const std::string safe = SafeSheetFileName(kanji);
  EXPECT_EQ(SjisToUtf8(safe).size(), 249u);  // 83 characters of 3 bytes; ".jww" still fits in 255
  EXPECT_EQ(safe.size() % 2, 0u);
  const std::string ascii(300, 'a');
  EXPECT_EQ(SafeSheetFileName(ascii).size(), 251u);
}

// The drawing's own name (native bytes) gives way; the number and the sheet
// name (Shift-JIS texts) stay, and so do the marks of repeated names.
TEST(SheetFileName, TheDrawingNameGivesWayToTheNumberAndTheSheetName) {
  auto zu = [](int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += "図";  // 3 bytes each
    return s;
  };
  const std::string d250(250, 'd');
  const std::string plan = "平面図";  // 9 bytes
  struct Case {
    int32_t pattern;
    std::string number, base, sheetName, expected;  // UTF-8
    std::string suffix = "";  // of a name taken already
  } cases[] = {
      {1, "12", "plan", "", "plan_12"},                                  // fits: as composed
      {1, "12", d250, "", std::string(248, 'd') + "_12"},                // 251 bytes, number kept
      {4, "3-2", d250, plan, std::string(251 - 14, 'd') + "_3-2_" + plan},
      {0, "5", zu(120), "", "5_" + zu(83)},                              // whole characters: 2 + 249
      {3, "7", zu(120), plan, "7_" + zu(79) + "_" + plan},               // 2 + 237 + 1 + 9 (238 would split one)
      {5, "1", d250, zu(200), zu(83)},                                   // no drawing name: cut at the end
      {4, "9", "base", zu(200), "_9_" + zu(82)},                         // drawing name gone, then cut at the end
      {1, "1", "1階〜2階 Müller", "", "1階〜2階 Müller_1"},              // names Shift-JIS lacks stay whole
      // The "~n" of a repeated sheet name and the "-k" of a taken name stay.
      {5, "1", "plan", zu(200) + "~1", zu(83) + "~1"},                    // 249 + 2
      {5, "1", "plan", zu(200) + "~1", zu(82) + "~1-2", "-2"},            // 246 + 4: 247 would split one
      {2, "1", d250, std::string(300, 'a') + "~12", "_" + std::string(245, 'a') + "~12-3", "-3"},
      {1, "1", d250, "", std::string(246, 'd') + "_1-10", "-10"},
  };
  for (const Case& c : cases) {
    const std::string name =
        SheetFileName(c.pattern, Utf8ToSjis(c.number), "_", c.base, Utf8ToSjis(c.sheetName), c.suffix);
    EXPECT_EQ(name, c.expected) << "pattern " << c.pattern;
    EXPECT_LE(name.size(), 251u);
  }
}

TEST(SheetPathParts, FolderNameAndExtension) {
  EXPECT_EQ(FolderOf("/a/b/plan.jww"), "/a/b/");
  EXPECT_EQ(FolderOf("plan.jww"), "");
  EXPECT_EQ(FileNameOf("/a/b/plan.x.jww"), "plan.x.jww");
  EXPECT_EQ(RemoveExtension("plan.x.jww"), "plan.x");
  EXPECT_EQ(RemoveExtension(".jww"), "");
  EXPECT_EQ(UpperExtension("/a.b/plan.Jww"), ".JWW");
  EXPECT_EQ(UpperExtension("/a.b/plan"), "");
}

}  // namespace
