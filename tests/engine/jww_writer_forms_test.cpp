// The archive forms the writer uses: strings, list counts, class references.
#include <gtest/gtest.h>

#include "byte_io.h"
#include "jww_data.h"

namespace {

std::vector<uint8_t> Bytes(std::initializer_list<int> b) {
  std::vector<uint8_t> v;
  for (int x : b) v.push_back(static_cast<uint8_t>(x));
  return v;
}

std::vector<uint8_t> Head(const std::vector<uint8_t>& v, size_t n) {
  return std::vector<uint8_t>(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(std::min(n, v.size())));
}

}  // namespace

TEST(JwwWriterForms, StringLengthPrefix) {
  struct Case {
    size_t length;
    std::vector<uint8_t> prefix;
  };
  const Case cases[] = {
      {0, Bytes({0})},
      {254, Bytes({254})},
      {255, Bytes({255, 255, 0})},
      {300, Bytes({255, 0x2C, 0x01})},  // the 300-byte memo of the edge cases
      {65533, Bytes({255, 0xFD, 0xFF})},
  };
  for (const Case& c : cases) {
    std::string text(c.length, 'a');
    for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char>('a' + i % 26);
    ByteWriter out;
    TJwwData::WriteCString(out, text);
    ASSERT_EQ(out.Size(), c.prefix.size() + c.length) << c.length;
    EXPECT_EQ(Head(out.Buffer(), c.prefix.size()), c.prefix) << c.length;
    EXPECT_EQ(std::string(out.Buffer().begin() + static_cast<std::ptrdiff_t>(c.prefix.size()), out.Buffer().end()),
              text);
  }
}

TEST(JwwWriterForms, StringsTooLongForTheShortFormAreCutOnACharacterBoundary) {
  // After 255 the lengths 0xFFFE and 0xFFFF announce the Unicode and the
  // 32-bit forms, so a text is cut to 65,533 bytes, and a double-byte
  // character that would straddle the cut goes.
  for (size_t n : {65534u, 65535u, 70000u}) {
    ByteWriter a;
    TJwwData::WriteCString(a, std::string(n, 'x'));
    EXPECT_EQ(Head(a.Buffer(), 3), Bytes({255, 0xFD, 0xFF})) << n;
    EXPECT_EQ(a.Size(), 3u + 65533u) << n;
  }

  std::string kanji;  // even start so a character spans bytes 65533/65534
  while (kanji.size() < 65536) kanji += "\x93\xfa";
  ByteWriter k;
  TJwwData::WriteCString(k, kanji);
  EXPECT_EQ(Head(k.Buffer(), 3), Bytes({255, 0xFC, 0xFF}));  // 65,532 bytes
  EXPECT_EQ(k.Size(), 3u + 65532u);
  EXPECT_EQ(static_cast<uint8_t>(k.Buffer().back()), 0xfa);
}

TEST(JwwWriterForms, CountsAndClassReferences) {
  struct Case {
    bool isCount;
    uint32_t value;
    std::vector<uint8_t> bytes;
  };
  const Case cases[] = {
      {true, 0, Bytes({0, 0})},
      {true, 65534, Bytes({0xFE, 0xFF})},
      {true, 65535, Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0, 0})},
      {true, 70000, Bytes({0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00})},
      {false, 1, Bytes({0x01, 0x80})},
      {false, 1000, Bytes({0xE8, 0x83})},
      {false, 32766, Bytes({0xFE, 0xFF})},
      {false, 32767, Bytes({0xFF, 0x7F, 0xFF, 0x7F, 0x00, 0x80})},
      {false, 40000, Bytes({0xFF, 0x7F, 0x40, 0x9C, 0x00, 0x80})},
  };
  for (const Case& c : cases) {
    ByteWriter out;
    if (c.isCount) {
      TJwwData::WriteCount(out, c.value);
    } else {
      TJwwData::WriteClassRef(out, c.value);
    }
    EXPECT_EQ(out.Buffer(), c.bytes) << (c.isCount ? "count " : "class ref ") << c.value;
  }
}

TEST(JwwWriterForms, SetSaveOptionsTakesOnlyBits0To15) {
  TJwwData d;
  for (auto [bits, kept] : {std::pair{0, 0}, {15, 15}, {9, 9}, {16, 0}, {-1, 0}}) {
    d.SetSaveOptions(bits);
    EXPECT_EQ(d.SaveOptions, kept) << bits;
  }
}
