// The general real-to-text form and the cut of text contents to 255 bytes.
#include <array>
#include <charconv>
#include <cmath>

#include "func.h"

namespace {

constexpr int32_t kContentBytes = 255;

}  // namespace

std::string FormatGeneralNumber(double v, char decimal) {
  if (std::isnan(v)) return "NAN";
  if (std::isinf(v)) return v > 0 ? "INF" : "-INF";
  if (v == 0) return "0";  // also for -0
  // Like printf's %.15g: trailing zeros already dropped; an exponent below
  // -4 or from 15 on.
  std::array<char, 64> buf;
  const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), v, std::chars_format::general, 15);
  if (res.ec != std::errc()) return "0";
  std::string raw(buf.data(), res.ptr);
  const size_t e = raw.find('e');
  std::string mantissa = raw.substr(0, e);
  for (char& ch : mantissa)
    if (ch == '.') ch = decimal;
  if (e == std::string::npos) return mantissa;
  // "1e+15" becomes "1E15", "1e-05" becomes "1E-5".
  const std::string exponent = raw.substr(e + 1);
  size_t i = 0;
  bool negative = false;
  if (i < exponent.size() && (exponent[i] == '+' || exponent[i] == '-')) negative = exponent[i++] == '-';
  while (i + 1 < exponent.size() && exponent[i] == '0') ++i;
  return mantissa + "E" + (negative ? "-" : "") + exponent.substr(i);
}

std::string CutToContentLength(const std::string& s) {
  if (s.size() <= static_cast<size_t>(kContentBytes)) return s;
  int32_t taken = 0;
  return CopyBytesSJIS(s, 1, kContentBytes, taken);
}
