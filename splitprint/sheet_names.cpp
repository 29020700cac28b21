#include "sheet_names.h"

#include <algorithm>

#include "file_io.h"
#include "func.h"
#include "sjis.h"

namespace {

constexpr size_t kMaxFileNameBytes = 255;  // one file name on Linux file systems
constexpr size_t kExtensionBytes = 4;      // ".jww"
constexpr int32_t kMaxPadDigits = 6;

int32_t DecimalDigits(int64_t v) {
  int32_t digits = 1;
  for (v = v < 0 ? -v : v; v >= 10; v /= 10) ++digits;
  return digits;
}

bool IsUnsafeSingleByte(unsigned char b) { return b < 0x20 || b == 0x7F || b == '/' || b == '\\'; }

// Bytes of one file name the composed name may take: the file system's
// limit less ".jww".
constexpr size_t kMaxNameBytes = kMaxFileNameBytes - kExtensionBytes;

// Length in bytes of one Shift-JIS character starting at i of a safe name.
size_t CharacterBytes(const std::string& safe, size_t i) {
  return IsSjisLeadByte(static_cast<unsigned char>(safe[i])) && i + 1 < safe.size() ? 2 : 1;
}

// Bytes the character takes in the file system's UTF-8.
size_t Utf8Bytes(const std::string& character) {
  return static_cast<unsigned char>(character[0]) < 0x80 ? 1 : SjisToUtf8(character).size();
}

// Every byte that is not part of a valid Shift-JIS character, every control
// byte, "/" and "\" turned into "_"; nothing cut.
std::string SafeCharacters(const std::string& name) {
  std::string out;
  for (size_t i = 0; i < name.size();) {
    const auto b = static_cast<unsigned char>(name[i]);
    if (IsSjisLeadByte(b) && i + 1 < name.size() && IsValidSjis(name.substr(i, 2))) {
      out += name.substr(i, 2);
      i += 2;
    } else {
      const bool valid = b < 0x80 ? !IsUnsafeSingleByte(b) : (!IsSjisLeadByte(b) && IsValidSjis(name.substr(i, 1)));
      out += valid ? name.substr(i, 1) : std::string("_");
      i += 1;
    }
  }
  return out;
}

// The longest head of a safe name, whole characters, whose UTF-8 form takes
// at most limit bytes.
std::string CutToBytes(const std::string& safe, size_t limit) {
  size_t bytes = 0, i = 0;
  while (i < safe.size()) {
    const size_t n = CharacterBytes(safe, i);
    const size_t utf8 = Utf8Bytes(safe.substr(i, n));
    if (bytes + utf8 > limit) break;
    bytes += utf8;
    i += n;
  }
  return safe.substr(0, i);
}

std::string CutToFileName(const std::string& safe) { return CutToBytes(safe, kMaxNameBytes); }

// The head of a native (UTF-8) name of at most limit bytes, never ending
// inside a character.
std::string CutUtf8(const std::string& name, size_t limit) {
  if (name.size() <= limit) return name;
  size_t cut = limit;
  while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;  // UTF-8 continuation
  return name.substr(0, cut);
}

// Where the "~n" that AssignSheetNames gives a repeated sheet name starts
// in a native sheet name; its size when there is none. In UTF-8 the byte of
// "~" is never part of another character.
size_t DuplicateMarkStart(const std::string& sheetName) {
  const size_t tilde = sheetName.rfind('~');
  if (tilde == std::string::npos || tilde + 1 == sheetName.size()) return sheetName.size();
  for (size_t i = tilde + 1; i < sheetName.size(); ++i)
    if (sheetName[i] < '0' || sheetName[i] > '9') return sheetName.size();
  return tilde;
}

}  // namespace

bool HasForbiddenSeparatorChar(const std::string& separator) {
  return HasForbiddenSheetNameChar(separator) || HasSingleByteCharSJIS(separator, ";:");
}

std::string SheetNumberText(int32_t number, int32_t zeroPad, int32_t frameCount, int32_t startNumber,
                            int32_t sheetsInFrame, int32_t sheetIndex) {
  std::string text = std::to_string(number);
  if (zeroPad == 1) {
    const int32_t width =
        std::min(kMaxPadDigits, DecimalDigits(static_cast<int64_t>(frameCount) + startNumber));
    if (static_cast<int32_t>(text.size()) < width) text.insert(0, static_cast<size_t>(width) - text.size(), '0');
  }
  if (sheetsInFrame > 1) text += "-" + std::to_string(sheetIndex + 1);
  return text;
}

std::string ComposeSheetName(int32_t pattern, const std::string& number, const std::string& separator,
                             const std::string& base, const std::string& sheetName) {
  const std::string& sep = separator;
  const bool named = !sheetName.empty();
  switch (pattern) {
    case 1: return base + sep + number;
    case 2: return named ? base + sep + sheetName : base + sep + number;
    case 3: return named ? number + sep + base + sep + sheetName : number + sep + base;
    case 4: return named ? base + sep + number + sep + sheetName : base + sep + number;
    case 5: return named ? sheetName : base + sep + number;
    case 6: return named ? number + sep + sheetName : number;
    default: return number + sep + base;
  }
}

std::string SafeSheetFileName(const std::string& name) { return CutToFileName(SafeCharacters(name)); }

std::string SheetFileName(int32_t pattern, const std::string& number, const std::string& separator,
                          const std::string& base, const std::string& sheetName, const std::string& suffix) {
  auto native = [](const std::string& sjis) { return PathFromSjisText(SafeCharacters(sjis)); };
  const std::string nativeNumber = native(number), nativeSeparator = native(separator);
  const size_t limit = kMaxNameBytes - std::min(suffix.size(), kMaxNameBytes);
  auto compose = [&](const std::string& b, const std::string& sheet) {
    return ComposeSheetName(pattern, nativeNumber, nativeSeparator, b, sheet);
  };
  const std::string nativeSheetName = native(sheetName);
  std::string name = compose(base, nativeSheetName);
  if (name.size() <= limit) return name + suffix;
  // The drawing's name gives way first: the number and the sheet name tell
  // the sheets apart.
  std::string cutBase = base;
  if (compose(std::string(), nativeSheetName).size() < name.size()) {
    const size_t over = name.size() - limit;
    cutBase = CutUtf8(base, base.size() > over ? base.size() - over : 0);
    name = compose(cutBase, nativeSheetName);
  }
  // Then the sheet name, short of its duplicate mark.
  const size_t mark = DuplicateMarkStart(nativeSheetName);
  if (name.size() > limit && mark > 0) {
    const size_t over = name.size() - limit;
    const std::string stem = CutUtf8(nativeSheetName.substr(0, mark), mark > over ? mark - over : 0);
    name = compose(cutBase, stem + nativeSheetName.substr(mark));
  }
  return CutUtf8(name, limit) + suffix;
}

std::string FileNameOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string RemoveExtension(const std::string& fileName) {
  const size_t dot = fileName.rfind('.');
  return dot == std::string::npos ? fileName : fileName.substr(0, dot);
}

std::string UpperExtension(const std::string& path) {
  const std::string name = FileNameOf(path);
  const size_t dot = name.rfind('.');
  if (dot == std::string::npos) return std::string();
  return UpperAsciiSJIS(name.substr(dot));
}
