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

}  // namespace

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

std::string SafeSheetFileName(const std::string& name) {
  std::string out;
  size_t utf8Bytes = 0;
  const size_t limit = kMaxFileNameBytes - kExtensionBytes;
  for (size_t i = 0; i < name.size();) {
    const auto b = static_cast<unsigned char>(name[i]);
    std::string ch;
    if (IsSjisLeadByte(b) && i + 1 < name.size() && IsValidSjis(name.substr(i, 2))) {
      ch = name.substr(i, 2);
      i += 2;
    } else {
      const bool valid = b < 0x80 ? !IsUnsafeSingleByte(b) : (!IsSjisLeadByte(b) && IsValidSjis(name.substr(i, 1)));
      ch = valid ? name.substr(i, 1) : std::string("_");
      i += 1;
    }
    const size_t chBytes = b < 0x80 ? 1 : SjisToUtf8(ch).size();
    if (utf8Bytes + chBytes > limit) break;
    utf8Bytes += chBytes;
    out += ch;
  }
  return out;
}

std::string SheetFileName(int32_t pattern, const std::string& number, const std::string& separator,
                          const std::string& base, const std::string& sheetName) {
  auto native = [](const std::string& sjis) { return PathFromSjisText(SafeSheetFileName(sjis)); };
  std::string name = ComposeSheetName(pattern, native(number), native(separator), base, native(sheetName));
  const size_t limit = kMaxFileNameBytes - kExtensionBytes;
  if (name.size() > limit) {
    size_t cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;  // UTF-8 continuation
    name.resize(cut);
  }
  return name;
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
