// Checks the test-side builder against the byte sizes of the file layout, so
// that tests built on it (and the writer's byte comparisons) rest on firm ground.
#include <gtest/gtest.h>

#include "jww_builder.h"

using namespace jwwtest;

namespace {

// Header bytes with every string empty (one length byte each).
size_t ExpectedHeaderSize(int32_t v) {
  size_t n = 8 + 4 + 1 + 8 + 16 * 148 + 56 + 20 + 4 + 4 + 72 + 272 + 28;
  if (v >= 300) n += 16;
  n += 52;
  n += v <= 230 ? 4 * 24 : 8 * 28 + 56;
  n += 168 + 160 + 128 + 164 + 44;
  if (v >= 223) n += 60;
  if (v >= 225) n += 32;
  if (v >= 230) n += 8;
  if (v >= 420) n += 257 * 8 + 257 * 17 + 33 * 16 + 33 * 85;
  return n + 280 + 100;
}

}  // namespace

TEST(JwwBuilder, HeaderSizeFollowsTheVersionSteps) {
  for (int32_t v : {220, 223, 225, 230, 231, 300, 350, 351, 420, 600, 700, 800}) {
    JwwBuilder b;
    const size_t tail = 2 + 2 + (v >= 700 ? 4 : 0);  // empty lists, empty image section
    EXPECT_EQ(b.Bytes(v).size(), ExpectedHeaderSize(v) + tail) << v;
  }
}

TEST(JwwBuilder, ElementSizesFollowTheLayout) {
  struct Case {
    JwwElement e;
    int32_t version;
    size_t bytes;  // object data without the tag
  };
  TEntJwwPoint symbol = MakePoint(0, 0, MakeCommon(0, 0, 1, 100));
  TEntJwwSolid coloured = MakeSolid(0, 0, 1, 1, MakeCommon(0, 0, 10));
  TEntJwwText text = MakeText(0, 0, "ab");
  text.FontName = "f";
  TEntJwwDimension dim = MakeDimension(0, 0, 1, 0, "ab");
  dim.Text.FontName = "f";
  const Case cases[] = {
      {MakeLine(0, 0, 1, 1), 351, 47},    {MakeLine(0, 0, 1, 1), 350, 45},
      {MakeCircle(0, 0, 1), 351, 75},     {MakePoint(0, 0), 351, 35},
      {symbol, 351, 55},                  {symbol, 300, 53},
      {MakeSolid(0, 0, 1, 1), 351, 79},   {coloured, 351, 83},
      {MakeInsert(0, 0, 1), 351, 59},     {text, 351, 83 + 2 + 3},
      {dim, 351, 15 + 47 + 83 + 5},       {dim, 420, 15 + 47 + 83 + 5 + 2 + 94 + 140},
  };
  for (const Case& c : cases) {
    JwwBuilder b;
    const size_t empty = b.Bytes(c.version).size();
    b.Elements().Items.push_back(c.e);
    const std::string name = ElementClassName(ElementKind(c.e));
    const size_t tag = 6 + name.size();
    EXPECT_EQ(b.Bytes(c.version).size() - empty, tag + c.bytes) << name << " v" << c.version;
  }
}

TEST(JwwBuilder, ClassTagsShareOneRunningIndex) {
  JwwBuilder b;
  b.AddLine(MakeLine(0, 0, 1, 1));   // class 1, object 2
  b.AddArc(MakeCircle(0, 0, 1));     // class 3, object 4
  b.AddLine(MakeLine(0, 0, 1, 1));   // ref 0x8001, object 5
  b.AddArc(MakeCircle(0, 0, 1));     // ref 0x8003, object 6
  const std::vector<uint8_t> bytes = b.Bytes(700);
  const size_t start = JwwBuilder().Bytes(700).size() - 8;  // header end
  const size_t third = start + 2 + (6 + 8 + 47) + (6 + 9 + 75);
  EXPECT_EQ(bytes[third] | bytes[third + 1] << 8, 0x8001);
  const size_t fourth = third + 2 + 47;
  EXPECT_EQ(bytes[fourth] | bytes[fourth + 1] << 8, 0x8003);
}
