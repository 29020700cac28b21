#include "wmf_checker.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr size_t kPlaceableBytes = 22, kHeaderBytes = 18;

uint16_t Word(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Dword(const uint8_t* p) { return Word(p) | (uint32_t{Word(p + 2)} << 16); }
void PutDword(uint8_t* p, uint32_t v) { std::memcpy(p, &v, 4); }  // little-endian hosts

// Words of parameters a record needs before its own counts say more.
size_t MinimumParams(uint16_t function) {
  switch (function) {
    case 0x0103: case 0x0102: case 0x0104: case 0x0106: case 0x0107: case 0x0108: case 0x0127: case 0x012D:
    case 0x01F0: case 0x012E: case 0x0109:
      return 1;
    case 0x020B: case 0x020C: case 0x020D: case 0x020E: case 0x0211: case 0x0213: case 0x0214: case 0x0220:
    case 0x0201: case 0x0209: case 0x0231:  // colours and flags: two words
    case 0x0142: case 0x0228:  // DIB pattern brush, fill region
      return 2;
    case 0x0410: case 0x0412: case 0x0415: case 0x0416: case 0x0418: case 0x041B: case 0x041F: case 0x0419:
    case 0x0429:  // frame region
      return 4;
    case 0x0548: return 5;  // extended flood fill
    case 0x061C: case 0x061D: return 6;  // round rectangle, pattern blit
    // Blits and DIB records: their fixed fields before any bitmap.
    case 0x0922: case 0x0940: return 7;
    case 0x0B23: case 0x0B41: case 0x0D33: return 9;
    case 0x0F43: return 11;
    case 0x081A: case 0x0817: case 0x0830: return 8;
    case 0x02FA: return 5;
    case 0x02FC: return 4;
    case 0x02FB: return 9;
    case 0x0324: case 0x0325: case 0x0538: case 0x0521: case 0x0A32: return 1;
    default: return 0;
  }
}

// Every scan of a region (count, top, bottom, left-right pairs, count
// again) within the record, its coordinates read as pairs whatever the
// count means.
bool RegionFits(const uint8_t* params, size_t words) {
  constexpr size_t kHeader = 11;
  if (words < kHeader) return false;
  const size_t scans = Word(params + 10);
  size_t at = kHeader;
  for (size_t i = 0; i < scans; ++i) {
    if (at + 1 > words) return false;
    at += 3 + 2 * size_t{Word(params + 2 * at)} + 1;
    if (at > words) return false;
  }
  return true;
}

// The record's fixed fields, then the counts inside it (points, polygons,
// characters), within its words: no field is read before it is known to be
// there.
bool CountsFit(uint16_t function, const uint8_t* params, size_t words) {
  if (words < MinimumParams(function)) return false;
  switch (function) {
    case 0x0324: case 0x0325:  // polygon, polyline
      return size_t{Word(params)} * 2 + 1 <= words;
    case 0x0538: {  // polypolygon
      const size_t polys = Word(params);
      if (polys + 1 > words) return false;
      size_t points = 0;
      for (size_t i = 0; i < polys; ++i) points += Word(params + 2 + 2 * i);
      return 1 + polys + 2 * points <= words;
    }
    case 0x0521:  // text out: count, string, y, x
      return 1 + (size_t{Word(params)} + 1) / 2 + 2 <= words;
    case 0x0A32: {  // extended text out: y, x, count, options, [rect], string
      if (words < 4) return false;
      const size_t count = Word(params + 4);
      const size_t rect = (Word(params + 6) & 0x0006) ? 4 : 0;
      return 4 + rect + (count + 1) / 2 <= words;
    }
    case 0x00F7: case 0x0037:  // create palette, set palette entries: start, count, entries
      return words >= 2 && 2 + size_t{Word(params + 2)} * 2 <= words;
    case 0x0626:  // escape: function, byte count, bytes
      return words >= 2 && 2 + (size_t{Word(params + 2)} + 1) / 2 <= words;
    case 0x06FF:  // create region: header, bounds, then the scans
      return RegionFits(params, words);
    default:
      return true;
  }
}

}  // namespace

TCheckedWmf CheckWmf(const uint8_t* data, size_t size) {
  TCheckedWmf out;
  if (!data) return out;
  size_t at = 0;
  if (size >= kPlaceableBytes && Dword(data) == kPlaceableKey) {
    out.Placeable = true;
    out.Left = static_cast<int16_t>(Word(data + 6));
    out.Top = static_cast<int16_t>(Word(data + 8));
    out.Right = static_cast<int16_t>(Word(data + 10));
    out.Bottom = static_cast<int16_t>(Word(data + 12));
    out.Inch = Word(data + 14);
    if (out.Inch == 0 || out.Right == out.Left || out.Bottom == out.Top) return out;
    at = kPlaceableBytes;
  }
  if (size - at < kHeaderBytes) return out;
  const uint8_t* header = data + at;
  const uint16_t type = Word(header), headerWords = Word(header + 2), version = Word(header + 4);
  if ((type != 1 && type != 2) || headerWords != 9 || (version != 0x0100 && version != 0x0300)) return out;

  size_t end = at + kHeaderBytes;
  uint32_t largest = 3;
  while (size - end >= 6) {
    const uint32_t words = Dword(data + end);
    const uint16_t function = Word(data + end + 4);
    if (words < 3 || words > (size - end) / 2) break;
    if (function == 0x0000) break;  // end of file
    if (!CountsFit(function, data + end + 6, words - 3)) break;
    if (function == 0x020B) out.SetsWindowOrigin = true;
    largest = std::max(largest, words);
    end += size_t{words} * 2;
  }
  out.Bytes.assign(data, data + end);
  const uint8_t eof[6] = {3, 0, 0, 0, 0, 0};
  out.Bytes.insert(out.Bytes.end(), eof, eof + 6);
  uint8_t* h = out.Bytes.data() + at;
  PutDword(h + 6, static_cast<uint32_t>((out.Bytes.size() - at) / 2));
  PutDword(h + 12, largest);
  return out;
}
