#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "held_image_index.h"

namespace {

// The rule the index must keep: the first name in list order that begins
// with the key.
int32_t FirstWithPrefix(const std::vector<std::string>& names, const std::string& key) {
  for (size_t i = 0; i < names.size(); ++i)
    if (names[i].compare(0, key.size(), key) == 0) return static_cast<int32_t>(i);
  return -1;
}

TEST(HeldImageIndex, AnswersAsTheFirstMatchInListOrder) {
  struct Case {
    std::vector<std::string> names;
    std::string key;
    int32_t row;
  };
  const std::vector<std::string> list = {"PIC.BMP.GZ", "B.PNG", "PIC.BMP", "A.JPG", "PIC.BMP.GZ", "PICTURE.BMP",
                                         "\x83\x5C.BMP", "\x83\x5C\x83\x74.BMP", ""};
  const Case cases[] = {
      {list, "PIC.BMP", 0},          // the stored ".gz" name comes first in the list
      {list, "PIC.BMP.GZ", 0},       // a duplicate: the earlier row
      {list, "PIC", 0},
      {list, "PICT", 5},
      {list, "A.JPG", 3},
      {list, "A.JPGX", -1},          // longer than the name
      {list, "\x83\x5C", 6},
      {list, "\x83\x5C\x83", 7},
      {list, "", 0},                 // every name begins with the empty key
      {list, "C", -1},
      {list, "\xFF", -1},
      {{"B", "A", "AB"}, "A", 1},
      {{"AB", "B", "A"}, "A", 0},
      {{"", "X"}, "", 0},
      {{"Z", "Y", "X"}, "X", 2},
      {{}, "", -1},
      {{}, "PIC", -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    EXPECT_EQ(FirstWithPrefix(c.names, c.key), c.row);  // the table itself follows the rule
    EXPECT_EQ(THeldImageIndex(c.names).Find(c.key), c.row);
  }
}

// Every prefix of every name of a list full of shared prefixes and
// repeats, against the scan.
TEST(HeldImageIndex, EveryPrefixOfManyNamesMatchesTheScan) {
  std::vector<std::string> names;
  for (int i = 0; i < 300; ++i) names.push_back("IMG" + std::to_string((i * 37) % 101) + (i % 3 ? ".BMP" : ".BMP.GZ"));
  const THeldImageIndex index(names);
  for (const std::string& n : names)
    for (size_t len = 0; len <= n.size() + 1; ++len) {
      const std::string key = len <= n.size() ? n.substr(0, len) : n + "X";
      ASSERT_EQ(index.Find(key), FirstWithPrefix(names, key)) << key;
    }
}

}  // namespace
