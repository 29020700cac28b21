#include "sjis.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <string_view>

namespace {

// The bytes of the character that starts at p (left bytes remain): what a
// failed conversion skips, so that one character gives one replacement.
using TCharLength = size_t (*)(const unsigned char* p, size_t left);

size_t OneByte(const unsigned char*, size_t) { return 1; }

// A lead byte with the continuation bytes that follow it; a stray or
// invalid byte alone.
size_t Utf8CharLength(const unsigned char* p, size_t left) {
  const unsigned char b = p[0];
  const size_t expected = b >= 0xC2 && b <= 0xDF ? 2 : b >= 0xE0 && b <= 0xEF ? 3 : b >= 0xF0 && b <= 0xF4 ? 4 : 1;
  size_t n = 1;
  while (n < expected && n < left && (p[n] & 0xC0) == 0x80) ++n;
  return n;
}

// A surrogate pair is one character.
size_t Utf16LeCharLength(const unsigned char* p, size_t left) {
  if (left < 4) return left < 2 ? left : 2;
  const unsigned first = p[0] | (p[1] << 8), second = p[2] | (p[3] << 8);
  return first >= 0xD800 && first <= 0xDBFF && second >= 0xDC00 && second <= 0xDFFF ? 4 : 2;
}

// One conversion with a fallback for input that cannot be converted: the
// offending character is skipped and `replacement` written.
std::string Convert(const char* to, const char* from, std::string_view in, TCharLength charLength,
                    std::string_view replacement) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string();
  std::string out;
  out.reserve(in.size() * 2 + 8);
  char* src = const_cast<char*>(in.data());
  size_t srcLeft = in.size();
  char buf[1024];
  while (srcLeft > 0) {
    char* dst = buf;
    size_t dstLeft = sizeof buf;
    const size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    out.append(buf, static_cast<size_t>(dst - buf));
    if (rc != static_cast<size_t>(-1)) continue;
    if (errno == E2BIG) continue;
    // EILSEQ or EINVAL (cut sequence at the end): replace one character and go on.
    const size_t skip = charLength(reinterpret_cast<const unsigned char*>(src), srcLeft);
    src += skip;
    srcLeft -= skip;
    out.append(replacement);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  char* dst = buf;
  size_t dstLeft = sizeof buf;
  iconv(cd, nullptr, nullptr, &dst, &dstLeft);
  out.append(buf, static_cast<size_t>(dst - buf));
  iconv_close(cd);
  return out;
}

}  // namespace

std::string Utf16ToSjis(const char16_t* units, size_t count) {
  std::string_view in(reinterpret_cast<const char*>(units), count * sizeof(char16_t));
  return Convert("CP932", "UTF-16LE", in, Utf16LeCharLength, "?");
}

std::string Utf8ToSjis(const std::string& utf8) { return Convert("CP932", "UTF-8", utf8, Utf8CharLength, "?"); }

std::string Utf8Prefix(const std::string& utf8, size_t chars) {
  const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
  size_t at = 0;
  for (size_t n = 0; n < chars && at < utf8.size(); ++n) at += Utf8CharLength(p + at, utf8.size() - at);
  return utf8.substr(0, at);
}

std::string SjisToUtf8(const std::string& sjis) {
  return Convert("UTF-8", "CP932", sjis, OneByte, "\xEF\xBF\xBD");
}

bool IsValidSjis(const std::string& sjis) {
  iconv_t cd = iconv_open("UTF-8", "CP932");
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  char* src = const_cast<char*>(sjis.data());
  size_t srcLeft = sjis.size();
  char buf[1024];
  bool ok = true;
  while (srcLeft > 0) {
    char* dst = buf;
    size_t dstLeft = sizeof buf;
    if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) == static_cast<size_t>(-1) && errno != E2BIG) {
      ok = false;
      break;
    }
  }
  iconv_close(cd);
  return ok;
}

bool IsValidUtf8(const std::string& text) {
  static const uint32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
  size_t i = 0;
  while (i < text.size()) {
    const auto b = static_cast<unsigned char>(text[i]);
    size_t extra = 0;
    if (b >= 0x80) extra = (b >> 5) == 0x6 ? 1 : (b >> 4) == 0xE ? 2 : (b >> 3) == 0x1E ? 3 : 4;
    if (extra > 3 || text.size() - i <= extra) return false;
    uint32_t cp = extra == 0 ? b : b & (0x3Fu >> extra);
    for (size_t k = 1; k <= extra; ++k) {
      const auto c = static_cast<unsigned char>(text[i + k]);
      if ((c & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (c & 0x3F);
    }
    if (cp < kSmallest[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += extra + 1;
  }
  return true;
}
