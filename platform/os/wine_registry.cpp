#include "wine_registry.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

// The registry files are a few megabytes; a larger one is not Wine's.
constexpr std::streamsize kMaxRegFileBytes = 256 * 1024 * 1024;

const char kJwwOpenCommandKey[] = "Software\\\\Classes\\\\Jwwin.Document\\\\shell\\\\open\\\\command";

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringAsciiCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// UTF-16 units from \x escapes, joined into characters; a lone surrogate
// becomes U+FFFD.
class TUtf16Joiner {
 public:
  explicit TUtf16Joiner(std::string& out) : out_(out) {}
  void Unit(uint32_t u) {
    if (u >= 0xD800 && u <= 0xDBFF) {
      Flush();
      high_ = u;
      return;
    }
    if (u >= 0xDC00 && u <= 0xDFFF) {
      if (high_ != 0) {
        AppendUtf8(out_, 0x10000 + ((high_ - 0xD800) << 10) + (u - 0xDC00));
        high_ = 0;
      } else {
        AppendUtf8(out_, 0xFFFD);
      }
      return;
    }
    Flush();
    AppendUtf8(out_, u);
  }
  void Flush() {
    if (high_ != 0) AppendUtf8(out_, 0xFFFD);
    high_ = 0;
  }

 private:
  std::string& out_;
  uint32_t high_ = 0;
};

// The string of a value Wine stored as hex(1): UTF-16LE bytes written as
// comma-separated hex pairs (a string saved without its terminating NUL).
// The text ends at a NUL unit or at anything that is not a hex pair.
std::string StringFromUtf16Hex(const std::string& hex) {
  std::string out;
  TUtf16Joiner joiner(out);
  int low = -1;  // the first byte of a unit, waiting for the second
  for (size_t i = 0; i < hex.size();) {
    if (hex[i] == ',' || hex[i] == ' ' || hex[i] == '\t') {
      ++i;
      continue;
    }
    if (i + 1 >= hex.size() || HexDigit(hex[i]) < 0 || HexDigit(hex[i + 1]) < 0) break;
    const int byte = HexDigit(hex[i]) * 16 + HexDigit(hex[i + 1]);
    i += 2;
    if (low < 0) {
      low = byte;
      continue;
    }
    const uint32_t unit = static_cast<uint32_t>(low | (byte << 8));
    low = -1;
    if (unit == 0) break;
    joiner.Unit(unit);
  }
  joiner.Flush();
  return out;
}

bool ReadTextFile(const std::string& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0 || size > kMaxRegFileBytes) return false;
  in.seekg(0, std::ios::beg);
  text.assign(static_cast<size_t>(size), '\0');
  return static_cast<bool>(in.read(text.data(), size));
}

}  // namespace

std::string WinePrefixFolder() {
  std::string folder;
  const char* prefix = std::getenv("WINEPREFIX");
  if (prefix != nullptr && prefix[0] != '\0') {
    folder = prefix;
  } else {
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0') return std::string();
    folder = std::string(home) + "/.wine";
  }
  if (folder.back() != '/') folder += '/';
  return folder;
}

std::string UnescapeRegString(const std::string& text, size_t start) {
  std::string out;
  TUtf16Joiner joiner(out);
  size_t i = start;
  while (i < text.size() && text[i] != '"' && text[i] != '\n' && text[i] != '\r') {
    const char c = text[i];
    if (c != '\\' || i + 1 >= text.size()) {
      joiner.Flush();
      out += c;
      ++i;
      continue;
    }
    const char e = text[i + 1];
    i += 2;
    if (e == 'x' && i < text.size() && HexDigit(text[i]) >= 0) {
      uint32_t unit = 0;
      for (int n = 0; n < 4 && i < text.size() && HexDigit(text[i]) >= 0; ++n, ++i)
        unit = unit * 16 + static_cast<uint32_t>(HexDigit(text[i]));
      joiner.Unit(unit);
      continue;
    }
    if (e >= '0' && e <= '7') {
      uint32_t unit = static_cast<uint32_t>(e - '0');
      for (int n = 1; n < 3 && i < text.size() && text[i] >= '0' && text[i] <= '7'; ++n, ++i)
        unit = unit * 8 + static_cast<uint32_t>(text[i] - '0');
      joiner.Unit(unit);
      continue;
    }
    joiner.Flush();
    switch (e) {
      case 'n': out += '\n'; break;
      case 'r': out += '\r'; break;
      case 't': out += '\t'; break;
      default: out += e; break;  // \\ and \" and anything else stand for the character
    }
  }
  joiner.Flush();
  return out;
}

bool FindRegDefaultValue(const std::string& regText, const std::string& key, std::string& value) {
  bool inKey = false;
  size_t pos = 0;
  while (pos < regText.size()) {
    size_t end = regText.find('\n', pos);
    if (end == std::string::npos) end = regText.size();
    std::string line = regText.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line[0] == '[') {
      // "[name] timestamp": the name ends at the last ']' (names escape none).
      const size_t close = line.rfind(']');
      inKey = close != std::string::npos && EqualsIgnoringAsciiCase(line.substr(1, close - 1), key);
      continue;
    }
    if (!inKey || line.compare(0, 2, "@=") != 0) continue;
    if (line.compare(2, 7, "hex(1):") == 0) {
      // A line ending in a backslash goes on on the next one, after its indent.
      std::string hex = line.substr(9);
      while (!hex.empty() && hex.back() == '\\' && pos < regText.size()) {
        hex.pop_back();
        end = regText.find('\n', pos);
        if (end == std::string::npos) end = regText.size();
        hex += regText.substr(pos, end - pos);
        pos = end + 1;
        if (!hex.empty() && hex.back() == '\r') hex.pop_back();
      }
      value = StringFromUtf16Hex(hex);
      return true;
    }
    size_t q = 2;
    if (line.compare(q, 7, "str(2):") == 0) q += 7;
    if (q >= line.size() || line[q] != '"') continue;  // not a string value
    value = UnescapeRegString(line, q + 1);
    return true;
  }
  return false;
}

std::string ReadJwwOpenCommand(const std::string& prefix) {
  if (prefix.empty()) return std::string();
  for (const char* file : {"user.reg", "system.reg"}) {
    std::string text;
    std::string value;
    if (ReadTextFile(prefix + file, text) && FindRegDefaultValue(text, kJwwOpenCommandKey, value) && !value.empty())
      return value;
  }
  return std::string();
}

std::string CommandProgramPath(const std::string& command) {
  if (!command.empty() && command[0] == '"') {
    const size_t close = command.find('"', 1);
    return command.substr(1, close == std::string::npos ? std::string::npos : close - 1);
  }
  return command.substr(0, command.find(' '));
}
