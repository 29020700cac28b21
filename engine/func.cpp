#include "func.h"

#include <cmath>

int32_t RoundToInt(double x) {
  return x >= 0 ? static_cast<int32_t>(std::trunc(x + 0.5)) : static_cast<int32_t>(std::trunc(x - 0.5));
}

std::string CopyBytesSJIS(const std::string& s, int32_t start, int32_t maxBytes, int32_t& taken) {
  taken = 0;
  const int32_t len = static_cast<int32_t>(s.size());
  if (len == 0 || start < 1 || start > len || maxBytes <= 0) return std::string();
  std::string out;
  const int64_t last = static_cast<int64_t>(start) + maxBytes - 1;
  for (int32_t i = 1; i <= len;) {
    const auto b = static_cast<unsigned char>(s[i - 1]);
    if (IsSjisLeadByte(b)) {
      if (i >= start && i + 1 <= last) {
        out.push_back(s[i - 1]);
        if (i < len) out.push_back(s[i]);
        taken += 2;
      }
      i += 2;
    } else {
      if (i >= start && i <= last) {
        out.push_back(s[i - 1]);
        taken += 1;
      }
      i += 1;
    }
  }
  return out;
}

std::string RemoveSpaces(const std::string& s) {
  std::string out;
  const size_t len = s.size();
  for (size_t i = 0; i < len;) {
    const auto b = static_cast<unsigned char>(s[i]);
    if (IsSjisLeadByte(b)) {
      if (i + 1 >= len) {
        out.push_back(s[i]);
        break;
      }
      if (!(b == 0x81 && static_cast<unsigned char>(s[i + 1]) == 0x40)) out.append(s, i, 2);
      i += 2;
    } else {
      if (b > 0x20) out.push_back(s[i]);
      i += 1;
    }
  }
  return out;
}

std::string StripCaretM(const std::string& s) {
  if (s.empty()) return std::string();
  std::string out;
  const size_t len = s.size();
  for (size_t i = 0; i < len;) {
    const auto b = static_cast<unsigned char>(s[i]);
    if (IsSjisLeadByte(b)) {
      out.append(s, i, 2);  // a lead byte at the end is kept alone
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
  const size_t len = s.size();
  out.reserve(len);
  for (size_t i = 0; i < len;) {
    const auto b = static_cast<unsigned char>(s[i]);
    if (IsSjisLeadByte(b)) {
      if (i + 1 >= len) break;  // a lead byte that ends the text is dropped
      out.append(s, i, 2);
      i += 2;
    } else {
      if (b >= 0x20) out.push_back(s[i]);
      i += 1;
    }
  }
  return out;
}

// ---- Placeholders, replaced by the full routines. ----
double RoundToDecimals(int32_t, int32_t, double x) { return x; }
void ExchangeDoubles(double& a, double& b) {
  const double t = a;
  a = b;
  b = t;
}
std::string FormatNumberDecimals(int32_t, double) { return std::string(); }
std::string FormatFixedDecimals(int32_t, double) { return std::string(); }
int32_t StrToIntOrZero(const std::string&) { return 0; }
double StrToFloatOrZero(const std::string&) { return 0; }
bool TextToBool(const std::string&) { return false; }
std::string BoolTo01(bool b) { return b ? "1" : "0"; }
double RotateX(double x, double y, double cx, double cy, double a) {
  return cx + std::cos(a) * (x - cx) - std::sin(a) * (y - cy);
}
double RotateY(double x, double y, double cx, double cy, double a) {
  return cy + std::sin(a) * (x - cx) + std::cos(a) * (y - cy);
}
void RotatePoint(double& rx, double& ry, double x, double y, double cx, double cy, double a) {
  rx = RotateX(x, y, cx, cy, a);
  ry = RotateY(x, y, cx, cy, a);
}
double VectorAngle(double, double) { return 0; }
double Distance(double x1, double y1, double x2, double y2) { return std::hypot(x2 - x1, y2 - y1); }
int32_t CharCountSJIS(const std::string&) { return 0; }
std::string CopyCharsSJIS(const std::string&, int32_t, int32_t) { return std::string(); }
std::string CopySafe(const std::string&, int32_t, int32_t) { return std::string(); }
double TextLengthSJIS(const std::string&, double, double) { return 0; }
std::string RepeatStr(const std::string&, int32_t) { return std::string(); }
int32_t SplitPath(const std::string&, std::vector<std::string>&) { return 0; }
std::string ToFullWidth(const std::string& s) { return s; }
void StrToCharBuf(char*, const std::string&, int32_t) {}
void FillCharBuf(char*, char, int32_t) {}
