// Shift-JIS text routines that never split a double-byte character.
#include <cstring>
#include <limits>

#include "func.h"

namespace {

// Byte length of the character at i: 2 for a lead byte (1 when it ends s).
size_t CharLength(const std::string& s, size_t i) {
  return IsSjisLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
}

}  // namespace

int32_t CharCountSJIS(const std::string& s) {
  int32_t count = 0;
  for (size_t i = 0; i < s.size(); i += CharLength(s, i)) ++count;
  return count;
}

std::string CopyCharsSJIS(const std::string& s, int32_t first, int32_t count) {
  const int32_t chars = CharCountSJIS(s);
  if (chars == 0 || chars < first || count <= 0) return std::string();
  const int64_t last = static_cast<int64_t>(first) + count - 1;
  std::string out;
  int64_t index = 1;
  for (size_t i = 0; i < s.size() && index <= last; ++index) {
    const size_t n = CharLength(s, i);
    if (index >= first) out.append(s, i, n);
    i += n;
  }
  return out;
}

std::string CopyBytesSJIS(const std::string& s, int32_t start, int32_t maxBytes, int32_t& taken) {
  taken = 0;
  const int64_t len = static_cast<int64_t>(s.size());
  if (len == 0 || start < 1 || start > len || maxBytes <= 0) return std::string();
  const int64_t last = static_cast<int64_t>(start) + maxBytes - 1;
  std::string out;
  // Walk from the first byte, so a trail byte is never mistaken for a character.
  for (int64_t i = 1; i <= len && i <= last;) {
    if (IsSjisLeadByte(static_cast<unsigned char>(s[i - 1]))) {
      // A lead byte that ends s is copied alone and still counts 2.
      if (i >= start && i + 1 <= last) {
        out.append(s, static_cast<size_t>(i - 1), 2);
        taken += 2;
      }
      i += 2;
    } else {
      if (i >= start) {
        out.push_back(s[i - 1]);
        taken += 1;
      }
      i += 1;
    }
  }
  return out;
}

std::string CopySafe(const std::string& s, int32_t start, int32_t count) {
  const int64_t from = start < 1 ? 1 : start;
  if (from > static_cast<int64_t>(s.size()) || count < 1) return std::string();
  return s.substr(static_cast<size_t>(from - 1), static_cast<size_t>(count));
}

double TextLengthSJIS(const std::string& s, double w, double g) {
  // A lead byte that ends s is measured as a double-byte character.
  double length = 0;
  for (size_t i = 0; i < s.size();) {
    const bool wide = IsSjisLeadByte(static_cast<unsigned char>(s[i]));
    length += wide ? w : w / 2;
    i += wide ? 2 : 1;
    if (i < s.size()) length += wide ? g : g / 2;
  }
  return length;
}

std::string RepeatStr(const std::string& s, int32_t n) {
  if (n <= 0 || s.empty()) return std::string();
  // Lengths are int32 byte counts throughout; a longer result is not made.
  if (s.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max()) / static_cast<size_t>(n)) {
    return std::string();
  }
  std::string out;
  out.reserve(s.size() * static_cast<size_t>(n));
  for (int32_t k = 0; k < n; ++k) out += s;
  return out;
}

int32_t SplitPath(const std::string& s, std::vector<std::string>& parts) {
  if (parts.empty()) return 0;
  for (auto& part : parts) part.clear();
  const size_t last = parts.size() - 1;
  size_t index = 0;
  const size_t len = s.size();
  for (size_t i = 0; i < len;) {
    const size_t n = CharLength(s, i);
    if (n == 1 && s[i] == '\\') {
      i += i + 1 < len && s[i + 1] == '\\' ? 2 : 1;
      if (index < last) {
        ++index;
      } else {
        parts[last].clear();  // the last slot keeps only the text after the last separator
      }
      continue;
    }
    parts[index].append(s, i, n);
    i += n;
  }
  return static_cast<int32_t>(index);
}

std::string RemoveSpaces(const std::string& s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    const size_t n = CharLength(s, i);
    const auto b = static_cast<unsigned char>(s[i]);
    if (n == 2) {
      if (!(b == 0x81 && static_cast<unsigned char>(s[i + 1]) == 0x40)) out.append(s, i, 2);
    } else if (b > 0x20) {
      out.push_back(s[i]);  // a lead byte that ends s lands here too
    }
    i += n;
  }
  return out;
}

std::string StripCaretM(const std::string& s) {
  if (s.empty()) return std::string();
  std::string out;
  out.reserve(s.size());
  const size_t len = s.size();
  for (size_t i = 0; i < len;) {
    const auto b = static_cast<unsigned char>(s[i]);
    if (IsSjisLeadByte(b)) {
      out.append(s, i, 2);  // a lead byte that ends s is kept alone
      i += 2;
    } else if (b == '^' && i + 1 < len && s[i + 1] == 'm') {
      i += 2;
    } else {
      if (b >= 0x20) out.push_back(s[i]);
      i += 1;
    }
  }
  if (out.empty()) out = " ";
  return out;
}

std::string StripControlChars(const std::string& s) {
  std::string out;
  out.reserve(s.size());
  const size_t len = s.size();
  for (size_t i = 0; i < len;) {
    const auto b = static_cast<unsigned char>(s[i]);
    if (IsSjisLeadByte(b)) {
      if (i + 1 >= len) break;  // a lead byte that ends s is dropped
      out.append(s, i, 2);
      i += 2;
    } else {
      if (b >= 0x20) out.push_back(s[i]);
      i += 1;
    }
  }
  return out;
}

void StrToCharBuf(char* buffer, const std::string& s, int32_t n) {
  if (buffer == nullptr) return;
  const int64_t want = n < 0 ? -static_cast<int64_t>(n) : n;
  const size_t count = static_cast<size_t>(want) < s.size() ? static_cast<size_t>(want) : s.size();
  if (count > 0) std::memcpy(buffer, s.data(), count);
}

void FillCharBuf(char* buffer, char c, int32_t n) {
  if (buffer == nullptr || n <= 0) return;
  std::memset(buffer, static_cast<unsigned char>(c), static_cast<size_t>(n));
}

std::string CutToContentLength(const std::string& s) {
  if (s.size() <= static_cast<size_t>(kTextMaxBytes)) return s;
  int32_t taken = 0;
  return CopyBytesSJIS(s, 1, kTextMaxBytes, taken);
}

std::string UpperAsciiSJIS(const std::string& s) {
  std::string out = s;
  for (size_t i = 0; i < out.size(); ++i) {
    const auto b = static_cast<unsigned char>(out[i]);
    if (IsSjisLeadByte(b)) {
      ++i;  // a trail byte is never a letter of its own
    } else if (b >= 'a' && b <= 'z') {
      out[i] = static_cast<char>(b - 'a' + 'A');
    }
  }
  return out;
}

bool HasSingleByteCharSJIS(const std::string& s, const char* chars) {
  for (size_t i = 0; i < s.size(); i += CharLength(s, i)) {
    if (CharLength(s, i) == 1 && s[i] != '\0' && std::strchr(chars, s[i]) != nullptr) return true;
  }
  return false;
}

size_t FindOnCharBoundary(const std::string& s, const std::string& what, size_t from) {
  if (what.empty()) return from <= s.size() ? from : std::string::npos;
  for (size_t i = 0; i < s.size();) {
    if (i >= from && s.compare(i, what.size(), what) == 0) return i;
    i += IsSjisLeadByte(static_cast<unsigned char>(s[i])) ? 2 : 1;
  }
  return std::string::npos;
}
