// Reading interface-file text in tests.
#pragma once

#include <string>
#include <vector>

#include "jwc_data.h"

inline TJwcData ReadJwcLines(const std::vector<std::string>& lines) {
  TJwcData d;
  InitJwcData(d);
  for (const std::string& l : lines) ParseJwcLine(d, l);
  return d;
}

inline constexpr char kMsGothic[] = "<\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E>";  // <ＭＳ ゴシック>
