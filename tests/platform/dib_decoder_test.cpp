#include "dib_decoder.h"

#include <gtest/gtest.h>

#include "byte_io.h"

namespace {

class TRoomySink : public TMetafileSink {
 public:
  size_t room = SIZE_MAX;
  void Shape(const TMetaShape&, const TMetaPen&, const TMetaBrush&) override {}
  void Text(const TMetaText&) override {}
  void Image(const TMetaImage&) override {}
  bool HasRoomFor(size_t bytes) const override { return bytes <= room; }
};

// A packed bitmap: 40-byte header, colour table (0x00RRGGBB), rows as given.
std::vector<uint8_t> Packed(int32_t w, int32_t h, uint16_t bits, uint32_t compression,
                            const std::vector<uint32_t>& table, const std::vector<uint8_t>& rows) {
  ByteWriter out;
  out.U32(40), out.I32(w), out.I32(h), out.U16(1), out.U16(bits), out.U32(compression), out.U32(0);
  out.I32(0), out.I32(0), out.U32(static_cast<uint32_t>(table.size())), out.U32(0);
  for (uint32_t c : table) out.U32(c);
  out.Bytes(rows.data(), rows.size());
  return out.Buffer();
}

}  // namespace

TEST(DibDecoder, DecodesEachDepthAndRowOrder) {
  struct Case {
    const char* name;
    std::vector<uint8_t> dib;
    std::vector<uint32_t> expected;  // ARGB, top row first
  };
  const std::vector<Case> cases = {
      // 2 × 2, bottom-up: the first row in the file is the lower one.
      {"1 bit, most significant bit first",
       Packed(2, 2, 1, 0, {0x000000, 0xFF0000}, {0x40, 0, 0, 0, 0x80, 0, 0, 0}),
       {0xFFFF0000, 0xFF000000, 0xFF000000, 0xFFFF0000}},
      {"4 bits, high nibble first", Packed(2, 1, 4, 0, {0, 0x00FF00, 0x0000FF}, {0x21, 0, 0, 0}),
       {0xFF0000FF, 0xFF00FF00}},
      {"8 bits, index past the table is black", Packed(2, 1, 8, 0, {0x123456}, {0, 7, 0, 0}),
       {0xFF123456, 0xFF000000}},
      {"16 bits, five per channel", Packed(1, 1, 16, 0, {}, {0x00, 0x7C, 0, 0}), {0xFFFF0000}},
      {"24 bits, blue green red", Packed(1, 1, 24, 0, {}, {0x03, 0x02, 0x01, 0}), {0xFF010203}},
      {"32 bits, fourth byte no alpha", Packed(1, 1, 32, 0, {}, {0x03, 0x02, 0x01, 0x00}), {0xFF010203}},
      {"top-down rows", Packed(1, -2, 24, 0, {}, {0xFF, 0, 0, 0, 0, 0, 0xFF, 0}), {0xFF0000FF, 0xFFFF0000}},
  };
  TRoomySink sink;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto pixels = DecodePackedDib(c.dib.data(), c.dib.size(), sink);
    ASSERT_TRUE(pixels);
    EXPECT_EQ(pixels->Argb, c.expected);
  }
}

TEST(DibDecoder, RefusesWhatItCannotDecodeSafely) {
  TRoomySink sink;
  const std::vector<uint8_t> ok = Packed(4, 4, 24, 0, {}, std::vector<uint8_t>(48, 0));
  struct Case {
    const char* name;
    std::vector<uint8_t> dib;
    size_t room;
  };
  const std::vector<Case> cases = {
      {"rows shorter than the header says", Packed(4, 5, 24, 0, {}, std::vector<uint8_t>(48, 0)), SIZE_MAX},
      {"huge dimensions", Packed(1 << 30, 1 << 30, 1, 0, {}, std::vector<uint8_t>(64, 0)), SIZE_MAX},
      {"zero width", Packed(0, 4, 24, 0, {}, {}), SIZE_MAX},
      {"run-length compressed", Packed(4, 4, 8, 1, {0}, std::vector<uint8_t>(64, 0)), SIZE_MAX},
      {"odd bit count", Packed(4, 4, 7, 0, {}, std::vector<uint8_t>(64, 0)), SIZE_MAX},
      {"header cut", std::vector<uint8_t>(ok.begin(), ok.begin() + 20), SIZE_MAX},
      {"no room in the recording", ok, 63},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    sink.room = c.room;
    EXPECT_FALSE(DecodePackedDib(c.dib.data(), c.dib.size(), sink));
  }
  sink.room = 64;
  EXPECT_TRUE(DecodePackedDib(ok.data(), ok.size(), sink));
}
