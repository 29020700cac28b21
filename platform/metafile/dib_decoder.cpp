#include "dib_decoder.h"

#include <bit>
#include <cstring>

namespace {

constexpr uint32_t kBiRgb = 0, kBiBitfields = 3;
// Far beyond any picture a metafile needs (a 16384 x 16384 bitmap).
constexpr uint64_t kMaxPixels = uint64_t{1} << 28;

uint32_t Le32(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}
uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

struct TDibHeader {
  int64_t Width = 0, Height = 0;  // Height < 0: rows top down
  uint32_t BitCount = 0, Compression = 0, Colors = 0;
  size_t HeaderSize = 0, InfoSize = 0;  // header; header + masks + colour table
  uint32_t Masks[3] = {0, 0, 0};
  bool Core = false;  // 12-byte header with three-byte colour entries
};

bool ReadHeader(const uint8_t* info, size_t size, TDibHeader& h) {
  if (size < 12) return false;
  h.HeaderSize = Le32(info);
  if (h.HeaderSize == 12) {
    h.Core = true;
    h.Width = Le16(info + 4);
    h.Height = Le16(info + 6);
    h.BitCount = Le16(info + 10);
  } else {
    if (h.HeaderSize < 40 || h.HeaderSize > size) return false;
    h.Width = static_cast<int32_t>(Le32(info + 4));
    h.Height = static_cast<int32_t>(Le32(info + 8));
    h.BitCount = Le16(info + 14);
    h.Compression = Le32(info + 16);
    h.Colors = Le32(info + 32);
  }
  if (h.Width <= 0 || h.Height == 0) return false;
  const uint32_t bc = h.BitCount;
  if (bc != 1 && bc != 4 && bc != 8 && bc != 16 && bc != 24 && bc != 32) return false;
  if (h.Compression != kBiRgb && !(h.Compression == kBiBitfields && (bc == 16 || bc == 32))) return false;
  size_t masks = 0;
  if (h.Compression == kBiBitfields) {
    if (h.HeaderSize == 40) masks = 12;
    constexpr size_t at = 40;  // after a 40-byte header, or inside a longer one
    if (at + 12 > size) return false;
    for (int i = 0; i < 3; ++i) h.Masks[i] = Le32(info + at + 4 * i);
  }
  if (bc <= 8) {
    const uint32_t max = 1u << bc;
    if (h.Colors == 0 || h.Colors > max) h.Colors = max;
  } else {
    h.Colors = 0;  // colour tables of true-colour bitmaps only help palettes
  }
  const size_t entry = h.Core ? 3 : 4;
  h.InfoSize = h.HeaderSize + masks + size_t{h.Colors} * entry;
  if (bc <= 8 && h.InfoSize > size) return false;
  if (h.InfoSize > size) h.InfoSize = size;
  return true;
}

// A channel's value scaled to 0..255 from a bit-field mask.
uint8_t Channel(uint32_t v, uint32_t mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  const uint32_t max = mask >> shift;
  return static_cast<uint8_t>(((v & mask) >> shift) * 255 / max);
}

}  // namespace

size_t DibInfoSize(const uint8_t* dib, size_t size) {
  TDibHeader h;
  return ReadHeader(dib, size, h) ? h.InfoSize : 0;
}

std::shared_ptr<TMetaPixels> DecodeDib(const uint8_t* info, size_t infoSize, const uint8_t* bits, size_t bitsSize,
                                       const TMetafileSink& sink, bool* noRoom) {
  TDibHeader h;
  if (!info || !bits || !ReadHeader(info, infoSize, h)) return nullptr;
  const int64_t height = h.Height < 0 ? -h.Height : h.Height;
  const uint64_t stride = ((static_cast<uint64_t>(h.Width) * h.BitCount + 31) / 32) * 4;
  const uint64_t pixels = static_cast<uint64_t>(h.Width) * static_cast<uint64_t>(height);
  if (pixels > kMaxPixels || stride * static_cast<uint64_t>(height) > bitsSize) return nullptr;
  if (!sink.HasRoomFor(pixels * 4)) {
    if (noRoom) *noRoom = true;
    return nullptr;
  }

  std::vector<uint32_t> palette(h.Colors, 0xFF000000u);
  const size_t entry = h.Core ? 3 : 4;
  const uint8_t* table = info + h.InfoSize - size_t{h.Colors} * entry;
  for (uint32_t i = 0; i < h.Colors; ++i) {
    const uint8_t* e = table + i * entry;
    palette[i] = 0xFF000000u | (uint32_t{e[2]} << 16) | (uint32_t{e[1]} << 8) | e[0];
  }
  uint32_t masks[3] = {h.Masks[0], h.Masks[1], h.Masks[2]};
  if (h.Compression == kBiRgb && h.BitCount == 16) {
    masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
  }

  auto out = std::make_shared<TMetaPixels>();
  out->Width = static_cast<int32_t>(h.Width);
  out->Height = static_cast<int32_t>(height);
  out->Argb.resize(pixels);
  for (int64_t row = 0; row < height; ++row) {
    const uint8_t* src = bits + stride * static_cast<uint64_t>(row);
    const int64_t y = h.Height < 0 ? row : height - 1 - row;
    uint32_t* dst = out->Argb.data() + y * h.Width;
    for (int64_t x = 0; x < h.Width; ++x) {
      uint32_t argb = 0xFF000000u;
      switch (h.BitCount) {
        case 1: case 4: case 8: {
          const uint64_t bit = static_cast<uint64_t>(x) * h.BitCount;
          const uint32_t index = (src[bit / 8] >> (8 - h.BitCount - bit % 8)) & ((1u << h.BitCount) - 1);
          if (index < palette.size()) argb = palette[index];
          break;
        }
        case 16: {
          const uint32_t v = Le16(src + 2 * x);
          argb |= (uint32_t{Channel(v, masks[0])} << 16) | (uint32_t{Channel(v, masks[1])} << 8) | Channel(v, masks[2]);
          break;
        }
        case 24:
          argb |= (uint32_t{src[3 * x + 2]} << 16) | (uint32_t{src[3 * x + 1]} << 8) | src[3 * x];
          break;
        default: {
          const uint32_t v = Le32(src + 4 * x);
          if (h.Compression == kBiBitfields) {
            argb |= (uint32_t{Channel(v, masks[0])} << 16) | (uint32_t{Channel(v, masks[1])} << 8) | Channel(v, masks[2]);
          } else {
            argb |= v & 0x00FFFFFFu;  // the fourth byte is no alpha in a metafile's bitmap
          }
        }
      }
      dst[x] = argb;
    }
  }
  return out;
}

std::shared_ptr<TMetaPixels> DecodePackedDib(const uint8_t* dib, size_t size, const TMetafileSink& sink,
                                             bool* noRoom) {
  const size_t info = DibInfoSize(dib, size);
  if (info == 0) return nullptr;
  return DecodeDib(dib, info, dib + info, size - info, sink, noRoom);
}
