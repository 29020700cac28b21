#include "sjis.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <string_view>

namespace {

// One conversion with a fallback for input that cannot be converted: the
// offending input unit (of `unit` bytes) is skipped and `replacement` written.
std::string Convert(const char* to, const char* from, std::string_view in, size_t unit,
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
    // EILSEQ or EINVAL (cut sequence at the end): replace one unit and go on.
    const size_t skip = srcLeft < unit ? srcLeft : unit;
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
  return Convert("CP932", "UTF-16LE", in, 2, "?");
}

std::string Utf8ToSjis(const std::string& utf8) { return Convert("CP932", "UTF-8", utf8, 1, "?"); }

std::string SjisToUtf8(const std::string& sjis) {
  return Convert("UTF-8", "CP932", sjis, 1, "\xEF\xBF\xBD");
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
