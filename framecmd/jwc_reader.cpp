// Reading the interface file: state defaults, the line reader and the
// keyword dispatch. Element records are built in jwc_elements.cpp.
#include <fstream>

#include "func.h"
#include "jwc_data.h"
#include "jwc_elements.h"

namespace {

bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

// Token 0 from the 1-based byte position on.
std::string ValueFrom(const std::string& token, size_t position) {
  return token.size() >= position ? token.substr(position - 1) : std::string();
}

// One hexadecimal digit at the third byte of token 0; anything else, or a
// value outside 0..15, gives 0.
int32_t DigitAtThirdByte(const std::string& token) {
  if (token.size() < 3) return 0;
  const int32_t v = StrToIntOrZero(std::string("$") + token[2]);
  return v >= 0 && v <= 15 ? v : 0;
}

// The number text of an "hp"/"hhp" keyword, cut before the marker that
// decides the kind: "ch" over "ci" over "ln" (over "-" for points).
// searchFrom: markers count only when they begin at or after this 0-based
// position of text.
std::string CutAtKindMarker(const std::string& text, bool withDash, size_t searchFrom, int32_t& kind) {
  static constexpr const char* kMarkers[] = {"-", "ln", "ci", "ch"};
  kind = 0;
  size_t cut = std::string::npos;
  for (int32_t k = withDash ? 1 : 2; k <= 4; ++k) {
    const size_t at = text.find(kMarkers[k - 1], searchFrom);
    if (at != std::string::npos) {
      kind = k;
      cut = at;
    }
  }
  return cut == std::string::npos ? text : text.substr(0, cut);
}

void ApplyTextTypeArrays(TJwcData& d, const TJwcTokens& t) {
  const std::string& k = t[0];
  for (int i = 0; i < 10; ++i) {
    const std::string& v = t[static_cast<size_t>(i) + 1];
    if (k == "hcw") d.TextTypes[i].Width = StrToFloatOrZero(v);
    if (k == "hch") d.TextTypes[i].Height = StrToFloatOrZero(v);
    if (k == "hcd") d.TextTypes[i].Spacing = StrToFloatOrZero(v);
    if (k == "hcc") d.TextTypes[i].Color = StrToIntOrZero(v);
  }
}

// Items 8 to 18: names, attributes, flags and modes. True when handled.
bool ApplyAttributeLine(TJwcData& d, const TJwcTokens& t) {
  const std::string& k = t[0];
  const size_t n = t.size();
  if (StartsWith(k, "lgn")) {
    d.GroupNames[d.CurGroup] = ValueFrom(k, 4);
  } else if (StartsWith(k, "lyn")) {
    d.LayerNames[d.CurGroup * 16 + d.CurLayer] = ValueFrom(k, 4);
  } else if (StartsWith(k, "lg")) {
    const int32_t g = DigitAtThirdByte(k);
    if (d.FirstGroupLine) d.FirstLayerGroup = g;
    d.FirstGroupLine = false;
    d.CurGroup = g;
    if (n >= 2) d.GroupStates[g] = StrToIntOrZero(t[1]);
    d.PlMode = false;
  } else if (StartsWith(k, "ly")) {
    const int32_t l = DigitAtThirdByte(k);
    if (d.FirstLayerLine) d.FirstLayer = l;
    d.FirstLayerLine = false;
    d.CurLayer = l;
    if (n >= 2) d.LayerStates[d.CurGroup * 16 + l] = StrToIntOrZero(t[1]);
    d.PlMode = false;
  } else if (StartsWith(k, "lc")) {
    const int32_t c = StrToIntOrZero(ValueFrom(k, 3));
    if (d.FirstColorLine) d.FirstColor = c;
    d.FirstColorLine = false;
    d.CurColor = c;
    if (c == 10 && n >= 2) d.ExtColor = StrToIntOrZero(t[1]);
    d.PlMode = false;
  } else if (StartsWith(k, "lt")) {
    const int32_t v = StrToIntOrZero(ValueFrom(k, 3));
    if (d.FirstLineTypeLine) d.FirstLineType = v;
    d.FirstLineTypeLine = false;
    d.CurLineType = v;
    d.PlMode = false;
  } else if (StartsWith(k, "lw")) {
    const int32_t v = StrToIntOrZero(ValueFrom(k, 3));
    if (d.FirstLineWidthLine) d.FirstLineWidth = v;
    d.FirstLineWidthLine = false;
    d.CurLineWidth = v;
    d.PlMode = false;
  } else if (StartsWith(k, "cn$")) {
    const std::string name = ValueFrom(k, 4);
    if (d.FirstFont.empty()) d.FirstFont = name;
    d.CurFont = name;
    d.PlMode = false;
  } else if (StartsWith(k, "cn")) {
    const int32_t type = StrToIntOrZero(ValueFrom(k, 3));
    const bool free = type == 0 && n >= 5;
    TFreeTextSize size;
    if (free) {
      size = {StrToFloatOrZero(t[1]), StrToFloatOrZero(t[2]), StrToFloatOrZero(t[3]), StrToIntOrZero(t[4])};
    }
    if (d.FirstTextTypeLine) {
      d.FirstTextType = type;
      if (free) d.FirstFreeText = size;
    }
    d.FirstTextTypeLine = false;
    d.CurTextType = type;
    if (free) d.CurFreeText = size;
    d.PlMode = false;
  } else if (StartsWith(k, "cc")) {
    const int32_t v = k.size() >= 3 ? StrToIntOrZero(std::string(1, k[2])) : 0;
    d.CurCc = v >= 0 && v <= 8 ? v : 0;
    d.PlMode = false;
  } else if (k == "z1" || k == "z2" || k == "z3" || k == "z4" || k == "z5") {
    d.PendingFlags |= 1 << (k[1] - '1');
  } else if (StartsWith(k, "pn")) {
    d.PointCode = StrToIntOrZero(ValueFrom(k, 3));
    d.PlMode = false;
  } else if (k == "pl") {
    d.PlCounter += 1;
    d.PlMode = true;
    d.MsgMode = false;
  } else if (k == "msg") {
    d.MsgMode = true;
    d.PlMode = false;
  } else if (k == "#") {
    d.PlMode = false;
    d.MsgMode = false;
  } else {
    return false;
  }
  return true;
}

// Items 19 and 20: indicated points and the "hhp" value. True when handled.
bool ApplyPointLine(TJwcData& d, const TJwcTokens& t) {
  const std::string& k = t[0];
  if (StartsWith(k, "hp")) {
    if (t.size() < 3) return true;
    int32_t kind = 0;
    const int32_t p = StrToIntOrZero(CutAtKindMarker(ValueFrom(k, 3), true, 0, kind));
    if (p >= 1 && p <= 99) {
      d.Points[p] = THpPoint{true, StrToFloatOrZero(t[1]), StrToFloatOrZero(t[2]), kind};
      d.PointCount += 1;
    }
    return true;
  }
  if (StartsWith(k, "hhp")) {
    int32_t kind = 0;
    // Markers count when they begin beyond byte 4 of token 0, i.e. from the
    // second byte of the value on.
    d.HhpValue = StrToIntOrZero(CutAtKindMarker(ValueFrom(k, 4), false, 1, kind));
    return true;
  }
  return false;
}

}  // namespace

void InitJwcData(TJwcData& d) {
  d = TJwcData{};
  d.HeldLine = TJwwEntLine{};
  d.HeldLine.Header.Color = 1;
  d.HeldLine.Header.LineType = 1;
  d.HeldLine.X2 = 1;
}

void FreeJwcData(TJwcData& d) { InitJwcData(d); }

void ParseJwcLine(TJwcData& d, const std::string& line) {
  // One token buffer per thread, reused line after line.
  thread_local TJwcTokens t;
  TokenizeJwcLine(line, t);
  if (t.size() == 0) return;
  const std::string& k = t[0];
  const size_t n = t.size();

  if (k.find("file=") != std::string::npos) {
    d.DrawingFile = ValueFrom(k, 6);
  } else if (k == "hk" && n >= 2) {
    d.HkValue = StrToFloatOrZero(t[1]);
  } else if (k == "hs" && n >= 17) {
    for (int i = 0; i < 16; ++i) d.GroupScales[i] = StrToFloatOrZero(t[static_cast<size_t>(i) + 1]);
  } else if (k == "hzs" && n >= 3) {
    d.PaperWidth = StrToFloatOrZero(t[1]);
    d.PaperHeight = StrToFloatOrZero(t[2]);
  } else if ((k == "hcw" || k == "hch" || k == "hcd" || k == "hcc") && n >= 11) {
    ApplyTextTypeArrays(d, t);
  } else if (k == "bz") {
    d.BzSeen = true;
  } else if (k == "hn" && n >= 5) {
    for (int i = 0; i < 4; ++i) d.HnValues[i] = StrToFloatOrZero(t[static_cast<size_t>(i) + 1]);
  } else if (ApplyAttributeLine(d, t) || ApplyPointLine(d, t) || AddElementLine(d, t)) {
    // handled
  } else if (n == 4 && LooksLikeNumber(k)) {
    AddPlainLine(d, t);
  }
}

bool ReadJwcFile(TJwcData& d, const std::filesystem::path& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::string line;
  std::string chunk(1 << 16, '\0');
  bool pendingCr = false;  // a CR ended the last line; skip an LF right after it
  while (true) {
    in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    const auto got = static_cast<size_t>(in.gcount());
    if (got == 0) break;
    size_t start = 0;
    for (size_t i = 0; i < got; ++i) {
      const char c = chunk[i];
      if (c != '\n' && c != '\r') continue;
      if (c == '\n' && pendingCr && i == start && line.empty()) {
        pendingCr = false;
        start = i + 1;
        continue;
      }
      line.append(chunk, start, i - start);
      ParseJwcLine(d, line);
      line.clear();
      pendingCr = c == '\r';
      start = i + 1;
    }
    if (start < got) {
      line.append(chunk, start, got - start);
      pendingCr = false;
    }
    if (in.bad()) return false;
    if (in.eof()) break;
  }
  if (in.bad()) return false;
  if (!line.empty()) ParseJwcLine(d, line);
  return true;
}

size_t ElementCount(const TJwcData& d, int32_t kind) {
  switch (kind) {
    case 1: return d.Lines.size();
    case 2: return d.Circles.size();
    case 3: return d.Arcs.size();
    case 4: return d.Texts.size();
    case 5: return d.Points3.size();
    case 6: return d.Points6.size();
    case 7: return d.Msgs.size();
    case 8: return d.Blocks.size();
    case 9: return d.Sl2.size();
    case 10: return d.Sl3.size();
    case 11: return d.Sl4.size();
    case 12: return d.Sc.size();
    case 13: return d.Se.size();
    case 14: return d.So.size();
    case 15: return d.Sg.size();
    default: return 0;
  }
}
