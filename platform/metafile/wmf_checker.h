// Checks a Windows metafile's records against its bytes before libwmf sees
// them, and hands back a copy libwmf can play safely: records up to the
// first damaged one (or the end-of-file record), then an end-of-file record,
// with the header's file and record sizes made true.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct TCheckedWmf {
  std::vector<uint8_t> Bytes;  // empty: no metafile
  bool Placeable = false;
  // The placeable header's box and units per inch.
  int16_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  uint16_t Inch = 0;
  bool SetsWindowOrigin = false;  // a SetWindowOrg record comes before the end
};

TCheckedWmf CheckWmf(const uint8_t* data, size_t size);
