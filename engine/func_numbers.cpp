// Numbers to text and back, and text to Boolean. Nothing here reads the
// process's C locale: the separators are our own setting.
#include <array>
#include <atomic>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <system_error>

#include "func.h"

namespace {

// Thousands separator in the high byte, decimal point in the low byte, so a
// reader on another thread always sees a pair that was set together.
std::atomic<uint16_t> g_separators{static_cast<uint16_t>((',' << 8) | '.')};

constexpr int kMaxDecimals = 18;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// True when |x| * 10^n lies exactly halfway between two integers, that is
// when the lowest set bit of x is worth 2^-(n + 1).
bool IsHalfway(double x, int n) {
  int e = 0;
  const double m = std::frexp(std::fabs(x), &e);  // |x| = m * 2^e, 0.5 <= m < 1
  if (m == 0) return false;
  const auto bits = static_cast<uint64_t>(std::ldexp(m, 53));  // exact
  return e - 53 + std::countr_zero(bits) == -(n + 1);
}

// Fixed point with n decimals; a tie goes away from zero (to_chars alone
// would go to the even digit). thousands == 0: no grouping.
std::string FormatDecimals(int32_t n, double x, char thousands, char decimal) {
  if (std::isnan(x)) return "NAN";
  if (std::isinf(x)) return x > 0 ? "INF" : "-INF";
  const int digits = n < 0 ? 0 : (n > kMaxDecimals ? kMaxDecimals : n);
  if (IsHalfway(x, digits)) x = std::nextafter(x, x > 0 ? HUGE_VAL : -HUGE_VAL);

  std::array<char, 400> buf;  // 309 integer digits, sign, point, 18 decimals
  const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), x, std::chars_format::fixed, digits);
  if (res.ec != std::errc()) return "0";
  std::string_view text(buf.data(), static_cast<size_t>(res.ptr - buf.data()));

  bool negative = false;
  if (!text.empty() && text.front() == '-') {
    negative = true;
    text.remove_prefix(1);
  }
  // A value that rounds to zero shows no sign ("0.00", never "-0.00").
  if (negative && text.find_first_not_of("0.") == std::string_view::npos) negative = false;

  const size_t point = text.find('.');
  const size_t intLen = point == std::string_view::npos ? text.size() : point;
  std::string out;
  out.reserve(text.size() + intLen / 3 + 2);
  if (negative) out.push_back('-');
  for (size_t i = 0; i < intLen; ++i) {
    if (thousands != 0 && i > 0 && (intLen - i) % 3 == 0) out.push_back(thousands);
    out.push_back(text[i]);
  }
  if (point != std::string_view::npos) {
    out.push_back(decimal);
    out.append(text.substr(point + 1));
  }
  return out;
}

bool IsSeparatorChar(char c) { return c >= 0x20 && c <= 0x7E && !IsDigit(c); }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

bool SetNumberFormatSeparators(char thousands, char decimal) {
  if (!IsSeparatorChar(decimal)) return false;
  if (thousands != 0 && (!IsSeparatorChar(thousands) || thousands == decimal)) return false;
  g_separators.store(static_cast<uint16_t>((static_cast<unsigned char>(thousands) << 8) |
                                           static_cast<unsigned char>(decimal)));
  return true;
}

char NumberThousandsSeparator() { return static_cast<char>(g_separators.load() >> 8); }

char NumberDecimalSeparator() { return static_cast<char>(g_separators.load() & 0xFF); }

std::string FormatNumberDecimals(int32_t n, double x) {
  const uint16_t seps = g_separators.load();
  return FormatDecimals(n, x, static_cast<char>(seps >> 8), static_cast<char>(seps & 0xFF));
}

std::string FormatFixedDecimals(int32_t n, double x) { return FormatDecimals(n, x, 0, '.'); }

int32_t StrToIntOrZero(const std::string& s) {
  const size_t len = s.size();
  size_t i = 0;
  while (i < len && s[i] == ' ') ++i;
  bool negative = false;
  if (i < len && (s[i] == '+' || s[i] == '-')) {
    negative = s[i] == '-';
    ++i;
  }
  bool hex = false;
  if (i < len && (s[i] == '$' || s[i] == 'x' || s[i] == 'X')) {
    hex = true;
    i += 1;
  } else if (i + 1 < len && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i >= len) return 0;  // no digits

  if (hex) {
    // Read as a 32-bit pattern: "$FFFFFFFF" is -1; more than 32 bits fail.
    uint32_t v = 0;
    for (; i < len; ++i) {
      const int d = HexValue(s[i]);
      if (d < 0 || (v & 0xF0000000u) != 0) return 0;
      v = (v << 4) | static_cast<uint32_t>(d);
    }
    return static_cast<int32_t>(negative ? 0u - v : v);
  }
  const uint64_t limit = negative ? 2147483648u : 2147483647u;
  uint64_t v = 0;
  for (; i < len; ++i) {
    if (!IsDigit(s[i])) return 0;
    v = v * 10 + static_cast<uint64_t>(s[i] - '0');
    if (v > limit) return 0;
  }
  return static_cast<int32_t>(negative ? 0u - v : v);
}

double StrToFloatOrZero(const std::string& s) {
  const size_t len = s.size();
  size_t i = 0;
  while (i < len && s[i] == ' ') ++i;
  size_t start = i;  // where from_chars begins: it takes "-" but not "+"
  if (i < len && (s[i] == '+' || s[i] == '-')) {
    if (s[i] == '+') start = i + 1;
    ++i;
  }
  auto skipDigits = [&] {
    const size_t from = i;
    while (i < len && IsDigit(s[i])) ++i;
    return i - from;
  };
  size_t mantissaDigits = skipDigits();
  if (i < len && s[i] == '.') {
    ++i;
    mantissaDigits += skipDigits();
  }
  if (mantissaDigits == 0) return 0;
  if (i < len && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < len && (s[i] == '+' || s[i] == '-')) ++i;
    if (skipDigits() == 0) return 0;
  }
  if (i != len) return 0;

  double v = 0;
  const char* first = s.data() + start;
  const char* last = s.data() + len;
  const auto res = std::from_chars(first, last, v, std::chars_format::general);
  // Out of range is an overflow (a failure) or an underflow (zero): both 0.
  if (res.ec != std::errc() || res.ptr != last) return 0;
  return v;
}

bool TextToBool(const std::string& s) {
  const std::string t = UpperAsciiSJIS(RemoveSpaces(s));
  static constexpr const char* kTrueWords[] = {
      "T", "TR", "TRU", "TRUE", "1",
      "\x82\x50",  // full-width one
      "\x81\x9B",  // white circle
      "ON",
      "\x90\x5E",  // "true" (shin)
      "\x90\xB3",  // "right" (sei)
  };
  for (const char* word : kTrueWords) {
    if (t == word) return true;
  }
  return false;
}

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
