// String and number routines shared by both programs. Texts are Shift-JIS
// byte strings; positions and lengths are 1-based byte counts unless a
// routine says characters. A lead byte is 0x80..0x9F or 0xE0..0xFD.
#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

inline bool IsSjisLeadByte(unsigned char b) {
  return (b >= 0x80 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFD);
}
// A byte that can end a double-byte character; after a lead byte any other
// byte stands alone when the text is converted.
inline bool IsSjisTrailByte(unsigned char b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }

// Rounding and numbers.
// Half away from zero; far-off values clamp to int32, NaN gives 0. Inline,
// as every device point goes through it: inside the int32 range the cast
// truncates toward zero exactly as trunc would, without a library call.
inline int32_t RoundToInt(double x) {
  if (x >= 0) {
    const double r = x + 0.5;
    return r < 2147483647.0 ? static_cast<int32_t>(r) : std::numeric_limits<int32_t>::max();
  }
  if (x < 0) {
    const double r = x - 0.5;
    return r > -2147483648.0 ? static_cast<int32_t>(r) : std::numeric_limits<int32_t>::min();
  }
  return 0;
}
// Nearest integer, ties to even (text sizes and pen widths); NaN gives 0,
// values beyond int32 saturate.
int32_t RoundToEvenInt(double x);
double RoundToDecimals(int32_t n, int32_t mode, double x);
void ExchangeDoubles(double& a, double& b);
// n decimals (negative n counts as 0, more than 18 as 18), ties away from zero.
// With the thousands separator and decimal point below.
std::string FormatNumberDecimals(int32_t n, double x);
// No separators, decimal point always ".".
std::string FormatFixedDecimals(int32_t n, double x);
// The general real-to-text form: up to 15 significant digits, no trailing
// zeros, no grouping; "1E15" style from 1e15 on and below 1e-4.
// decimal is the decimal point to use.
std::string FormatGeneralNumber(double v, char decimal = '.');
int32_t StrToIntOrZero(const std::string& s);
double StrToFloatOrZero(const std::string& s);
bool TextToBool(const std::string& s);
std::string BoolTo01(bool b);

// The separators of FormatNumberDecimals and of dimension texts. They start
// as "," and "." (the Japanese locale the drawings are made under) and are
// never taken from the process's C locale; the platform layer may set them.
// A thousands separator of '\0' means no grouping. Answers false, changing
// nothing, unless both are printable ASCII other than digits and differ
// (the decimal point may not be '\0').
bool SetNumberFormatSeparators(char thousands, char decimal);
char NumberThousandsSeparator();
char NumberDecimalSeparator();

// Geometry (angles in radians).
double RotateX(double x, double y, double cx, double cy, double a);
double RotateY(double x, double y, double cx, double cy, double a);
void RotatePoint(double& rx, double& ry, double x, double y, double cx, double cy, double a);
double VectorAngle(double dx, double dy);  // in [0, 2*pi)
double Distance(double x1, double y1, double x2, double y2);

// Shift-JIS text.
int32_t CharCountSJIS(const std::string& s);
std::string CopyCharsSJIS(const std::string& s, int32_t first, int32_t count);
std::string CopyBytesSJIS(const std::string& s, int32_t start, int32_t maxBytes, int32_t& taken);
std::string CopySafe(const std::string& s, int32_t start, int32_t count);
// A text's font name and content hold at most kTextMaxBytes bytes; the cut
// never splits a double-byte character.
constexpr int32_t kTextMaxBytes = 255;
std::string CutToContentLength(const std::string& s);
double TextLengthSJIS(const std::string& s, double w, double g);
std::string RepeatStr(const std::string& s, int32_t n);
// Fills parts (all slots emptied first) and answers the index of the last part.
int32_t SplitPath(const std::string& s, std::vector<std::string>& parts);
std::string RemoveSpaces(const std::string& s);
// Single-byte letters a..z upper-cased; both bytes of a double-byte
// character are kept as they are.
std::string UpperAsciiSJIS(const std::string& s);
// True when s holds a single-byte character that is one of `chars`. The text
// is walked character by character, so the trail byte of a double-byte
// character (ソ is 0x83 0x5C, 表 0x95 0x5C) never counts as "\\" or "|".
bool HasSingleByteCharSJIS(const std::string& s, const char* chars);
// Byte position (0-based) of the first occurrence of `what` that starts on a
// character boundary of s at or after `from`, or std::string::npos.
size_t FindOnCharBoundary(const std::string& s, const std::string& what, size_t from = 0);
std::string StripCaretM(const std::string& s);
std::string StripControlChars(const std::string& s);
std::string ToFullWidth(const std::string& s);
void StrToCharBuf(char* buffer, const std::string& s, int32_t n);
void FillCharBuf(char* buffer, char c, int32_t n);
