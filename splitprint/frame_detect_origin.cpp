// Print-origin frames: a text "【印刷原点】50% 回転 N=3" stands for one
// printer page, at the given print scale, around the text's start point.
//
// The tags are first written as lines "<number>:倍率<percent>% [90°回転] X<x> Y<y> ",
// sorted as texts, and read back; the frame values come from those lines, so
// the coordinates are those of the 10-decimal text.
#include <algorithm>
#include <cstring>

#include "counted_rows.h"
#include "form1_state.h"
#include "frame_detect.h"
#include "frame_text.h"
#include "text_lines.h"
#include "func.h"
#include "unit_print.h"

namespace {

constexpr char kRotatedWord[] = "\x89\xF1\x93\x5D";         // 回転
constexpr char kFullPercent[] = "\x81\x93";                 // ％
constexpr char kScaleWord[] = "\x94\x7B\x97\xA6";           // 倍率
constexpr char kRotatedMark[] = "[90\x81\x8B\x89\xF1\x93\x5D] ";  // [90°回転] 
constexpr size_t kNumberBytes = 8;

bool IsPrintOriginTag(const TEntJwwText& text, std::string& rest) {
  if (text.Common.Color != kFrameColor) return false;
  const std::string trimmed = TrimBlanks(text.Content);
  const size_t tagLength = std::strlen(kPrintOriginTag);
  if (trimmed.compare(0, tagLength, kPrintOriginTag) != 0) return false;
  rest = trimmed.substr(tagLength);
  return true;
}

double ScalePercent(const std::string& s) {
  size_t d = s.find('%');
  if (d == std::string::npos) d = FindOnCharBoundary(s, kFullPercent);
  if (d == std::string::npos) return 100;
  const double percent = StrToFloatOrZero(s.substr(0, d));
  if (!(percent >= 0.001 && percent <= 1000000)) return 100;
  return percent;
}

// The frame number after "N=" (or the other prefixes); 0 when there is none
// or the 8 bytes after the prefix are not one whole integer.
int64_t FrameNumber(const std::string& s) {
  static const char* const kAsciiPrefixes[] = {"N=", "n=", "N:", "n:"};
  static const char* const kWidePrefixes[] = {
      "\x82\x6D\x81\x81",  // Ｎ＝
      "\x82\x8E\x81\x81",  // ｎ＝
      "\x82\x6D\x81\x46",  // Ｎ：
      "\x82\x8E\x81\x46",  // ｎ：
  };
  for (const auto* prefixes : {kAsciiPrefixes, kWidePrefixes}) {
    for (size_t p = 0; p < 4; ++p) {
      const std::string prefix = prefixes[p];
      const size_t at = FindOnCharBoundary(s, prefix);
      if (at == std::string::npos) continue;
      return StrToIntOrZero(s.substr(at + prefix.size(), kNumberBytes));
    }
  }
  return 0;
}

// Sign and at least `width` digits, like a "%.*d" format.
std::string PaddedNumber(int64_t n, size_t width) {
  std::string digits = std::to_string(n < 0 ? -static_cast<uint64_t>(n) : static_cast<uint64_t>(n));
  if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
  return n < 0 ? "-" + digits : digits;
}

size_t DecimalDigits(int64_t n) {
  return std::to_string(n < 0 ? -static_cast<uint64_t>(n) : static_cast<uint64_t>(n)).size();
}

// The text after `key` (searched from `from`) up to the next blank.
std::string FieldAfter(const std::string& line, const std::string& key, size_t& from) {
  const size_t at = FindOnCharBoundary(line, key, from);
  if (at == std::string::npos) {
    from = line.size();
    return std::string();
  }
  const size_t start = at + key.size();
  const size_t end = std::min(line.find(' ', start), line.size());
  from = end;
  return line.substr(start, end - start);
}

void MoveToPageCentre(int32_t baseCode, double a, double h, double& x, double& y) {
  switch (baseCode) {
    case 0: x += a; y += h; break;
    case 1: y += h; break;
    case 2: x -= a; y += h; break;
    case 3: x += a; break;
    case 5: x -= a; break;
    case 6: x += a; y -= h; break;
    case 7: y -= h; break;
    case 8: x -= a; y -= h; break;
    default: break;  // 4 is the centre already; other codes do not move
  }
}

}  // namespace

void TForm1::FindPrintOriginFrames() {
  std::vector<std::string> lines;
  std::vector<int64_t> numbers;
  const size_t textCount = CountedRows(WorkDrawing.TextCount, WorkDrawing.Texts);
  for (size_t t = 0; t < textCount; ++t) {
    const TEntJwwText& text = WorkDrawing.Texts[t];
    std::string s;
    if (!IsPrintOriginTag(text, s)) continue;
    std::string line = std::string(kScaleWord) + FormatGeneralNumber(ScalePercent(s)) + "% ";
    if (FindOnCharBoundary(s, kRotatedWord) != std::string::npos) line += kRotatedMark;
    line += "X" + FormatFixedDecimals(10, text.StartX) + " Y" + FormatFixedDecimals(10, text.StartY) + " ";
    lines.push_back(std::move(line));
    numbers.push_back(FrameNumber(s));
  }

  // Tags without a number follow the largest number given, in text order.
  // (64-bit numbers: a given number of 2147483647 must not overflow.)
  int64_t max = 0;
  bool any = false;
  for (int64_t n : numbers) {
    if (n != 0 && (!any || n > max)) max = n;
    any = any || n != 0;
  }
  for (int64_t& n : numbers) {
    if (n == 0) n = ++max;
  }
  const size_t width = DecimalDigits(max);
  for (size_t i = 0; i < lines.size(); ++i) lines[i] = PaddedNumber(numbers[i], width) + ":" + lines[i];
  std::stable_sort(lines.begin(), lines.end(),
                   [](const std::string& a, const std::string& b) { return CompareIgnoringCase(a, b) < 0; });
  if (lines.empty()) return;

  const double pageW = GetPhysicalWidthMm();
  const double pageH = GetPhysicalHeightMm();
  const int32_t baseCode = (WorkDrawing.Header.PrintRotation / 10) % 10;
  const bool centred = WorkDrawing.Header.Version >= 300;
  std::vector<TZumenWakuField>& frames = Gval.SheetFrames;
  frames.resize(static_cast<size_t>(std::max(Gval.SheetFrameCount, 0)));
  for (const std::string& line : lines) {
    size_t from = 0;
    const std::string percent = FieldAfter(line, kScaleWord, from);
    const double f = StrToFloatOrZero(percent.substr(0, percent.find('%'))) / 100;
    const bool rotated = FindOnCharBoundary(line, kRotatedWord) != std::string::npos;
    double x = StrToFloatOrZero(FieldAfter(line, "X", from));
    double y = StrToFloatOrZero(FieldAfter(line, "Y", from));
    if (centred) MoveToPageCentre(baseCode, pageW / 2, pageH / 2, x, y);
    TZumenWakuField frame;  // slots empty, layer groups -1
    frame.Kind = 1;
    frame.XMin = x - pageW / f / 2;
    frame.YMin = y - pageH / f / 2;
    frame.XMax = x + pageW / f / 2;
    frame.YMax = y + pageH / f / 2;
    frame.NameCount = 1;
    frame.Scale = f;
    frame.Rotated = rotated ? 1 : 0;
    frames.push_back(std::move(frame));
  }
  Gval.SheetFrameCount = static_cast<int32_t>(frames.size());
}
