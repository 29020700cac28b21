#include <gtest/gtest.h>

#include "held_image_index.h"

namespace {

// The first name in list order that begins with the key, as a scan finds it.
TEST(HeldImageIndex, AnswersAsTheFirstMatchInListOrder) {
  const std::vector<std::string> list = {"PIC.BMP.GZ", "B.PNG", "PIC.BMP", "A.JPG", "PIC.BMP.GZ", "PICTURE.BMP",
                                         "\x83\x5C.BMP", "\x83\x5C\x83\x74.BMP"};
  const struct { std::vector<std::string> names; std::string key; int32_t row; } cases[] = {
      {list, "PIC.BMP", 0}, {list, "PICT", 5}, {list, "A.JPGX", -1},  // longer than the name
      {list, "\x83\x5C\x83", 7}, {list, "C", -1}, {{"AB", "B", "A"}, "A", 0}, {{"Z", "Y", "X"}, "X", 2}, {{}, "", -1},
  };
  for (const auto& c : cases) EXPECT_EQ(THeldImageIndex(c.names).Find(c.key), c.row) << c.key;
}

}  // namespace
