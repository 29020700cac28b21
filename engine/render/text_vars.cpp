#include "text_vars.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <ctime>
#include <string_view>
#include <utility>
#include <vector>

#include "counted_rows.h"
#include "file_io.h"
#include "func.h"
#include "gval.h"

namespace {

// The unit's one piece of state: where "now" comes from.
std::function<double()> g_clock;

double Now() {
  if (g_clock) return g_clock();
  return DateTimeFromUnixTime(static_cast<int64_t>(std::time(nullptr)));
}

// Shift-JIS words.
constexpr const char* kWeekdays[7] = {
    "\x93\xFA", "\x8C\x8E", "\x89\xCE", "\x90\x85", "\x96\xD8", "\x8B\xE0", "\x93\x79",
};  // 日 月 火 水 木 金 土
constexpr const char* kWeekdaysLatin[7] = {"SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT"};
constexpr const char* kMonthsLatin[12] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                          "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
constexpr char kYearWord[] = "\x94\x4E";   // 年
constexpr char kMonthWord[] = "\x8C\x8E";  // 月
constexpr char kDayWord[] = "\x93\xFA";    // 日
constexpr char kMorning[] = "\x91\x4F";    // 前
constexpr char kAfternoon[] = "\x8C\xE3";  // 後
constexpr char kHalfDot[] = "\xA5";        // ･ (half-width middle dot)

struct TEraStart {
  int year, month, day;
  const char* name;
};
// Gregorian first days of the eras, newest last.
constexpr TEraStart kEras[] = {
    {1868, 9, 8, "\x96\xBE\x8E\xA1"},    // 明治
    {1912, 7, 30, "\x91\xE5\x90\xB3"},   // 大正
    {1926, 12, 25, "\x8F\xBA\x98\x61"},  // 昭和
    {1989, 1, 8, "\x95\xBD\x90\xAC"},    // 平成
    {2019, 5, 1, "\x97\xDF\x98\x61"},    // 令和
};

constexpr int64_t kMsPerDay = 86'400'000;
constexpr double kFirstDay = -693593.0;                 // 0001-01-01
constexpr double kLastMoment = 2958465.0 + 86399.0 / 86400.0;  // 9999-12-31 23:59:59

// Days since 1970-01-01 to a Gregorian date (proleptic).
void CivilFromDays(int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0));
}

std::string Two(int v) { return v >= 0 && v < 10 ? "0" + std::to_string(v) : std::to_string(v); }

std::string Four(int v) {
  std::string s = std::to_string(v);
  return s.size() < 4 ? std::string(4 - s.size(), '0') + s : s;
}

// A value of one character gets a blank or a zero in front of it.
std::string Led(std::string s, char lead) { return s.size() == 1 ? std::string(1, lead) + s : s; }

// "$" plain, "&" and "_" blank-led, "%" and "=" zero-led.
std::string ByPrefix(char prefix, int value) {
  const std::string s = std::to_string(value);
  switch (prefix) {
    case '&':
    case '_':
      return Led(s, ' ');
    case '%':
    case '=':
      return Led(s, '0');
    default:
      return s;
  }
}

bool IsNowPrefix(char c) { return c == '$' || c == '&' || c == '%'; }
bool IsFilePrefix(char c) { return c == '_' || c == '='; }

std::string DateSlashes(const TDateTimeFields& t) {
  return Four(t.Year) + "/" + Led(std::to_string(t.Month), ' ') + "/" + Led(std::to_string(t.Day), ' ');
}

std::string TimeColons(const TDateTimeFields& t) {
  return Two(t.Hour) + ":" + Two(t.Minute) + ":" + Two(t.Second);
}

// The letters of the date families and their values.
bool FamilyValue(char letter, const TDateTimeFields& t, int& value) {
  switch (letter) {
    case 'y': value = t.Year % 100; return true;
    case 'Y': value = JapaneseEra(t.Year, t.Month, t.Day).Year; return true;
    case 'm': value = t.Month; return true;
    case 'd': value = t.Day; return true;
    case 'H': value = t.Hour; return true;
    case 'M': value = t.Minute; return true;
    case 'S': value = t.Second; return true;
    case 'h': value = t.Hour % 12; return true;  // "12 AM/PM" is written 0
    default: return false;
  }
}

// The path split at "\" and "/" ("/" cannot be a trail byte of Shift-JIS).
int32_t SplitDrawingPath(std::vector<std::string>& parts) {
  std::string path = SjisTextFromPath(Gval.DrawingFileName);
  for (size_t i = 0; i < path.size(); ++i) {
    if (IsSjisLeadByte(static_cast<unsigned char>(path[i]))) {
      ++i;
    } else if (path[i] == '/') {
      path[i] = '\\';
    }
  }
  parts.assign(81, std::string());
  return SplitPath(path, parts);
}

std::string FileNameWithExtension() {
  std::vector<std::string> parts;
  const int32_t last = SplitDrawingPath(parts);
  return parts[static_cast<size_t>(last)];
}

std::string FileNameStem() {
  std::string name = FileNameWithExtension();
  const size_t dot = name.rfind('.');  // "." is never a trail byte
  if (dot != std::string::npos) name.resize(dot);
  return name;
}

int HexDigit(char c) {
  if (c >= '1' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return 0;
}

bool PathCode(std::string_view code, std::string& out) {
  if (code.size() == 2 && code[1] == 'F' && IsNowPrefix(code[0])) {
    out = SjisTextFromPath(Gval.DrawingFileName);
    return true;
  }
  if (code == "%f") {
    out = FileNameWithExtension();
    return true;
  }
  if (code == "$f" || code == "&f") {
    out = FileNameStem();
    return true;
  }
  if (code.size() == 3 && code[1] == 'F' && IsNowPrefix(code[0]) && code[2] >= '1' && code[2] <= '9') {
    std::vector<std::string> parts;
    const int32_t k = SplitDrawingPath(parts) - (code[2] - '0');
    out = parts[static_cast<size_t>(std::max(k, 0))];
    return true;
  }
  if (code.size() == 3 && code[0] == '%' && code[1] == 'f' && HexDigit(code[2]) > 0) {
    const int n = HexDigit(code[2]);
    int32_t taken = 0;
    out = CopyBytesSJIS(FileNameStem(), 1, n, taken);
    if (n == 1 && taken == 0) out = kHalfDot;
    return true;
  }
  return false;
}

bool DrawingCode(std::string_view code, std::string& out) {
  if (code.size() == 2 && code[1] == 'T' && (IsNowPrefix(code[0]) || IsFilePrefix(code[0]))) {
    out = Gval.DrawingEditTime;
    return true;
  }
  if (code == "%mm") {
    out = Gval.DrawingMemo1 + kHalfDot + kHalfDot + Gval.DrawingMemo2;
    return true;
  }
  if (code == "%m1" || code == "%m2") {
    out = code[2] == '1' ? Gval.DrawingMemo1 : Gval.DrawingMemo2;
    return true;
  }
  return false;
}

// A scale of 0, infinite or NaN has no value: the code stays as written.
bool ScaleCode(std::string_view code, std::string& out) {
  const bool slash = code == "%SS" || code == "%SP";
  if (!slash && code != "%ss" && code != "%sp") return false;
  const bool perPrint = code[2] == 'P' || code[2] == 'p';
  const double r = perPrint ? Gval.DrawingScale / Gval.PrintScale : Gval.DrawingScale;
  if (!std::isfinite(r) || r == 0) return false;
  if (r >= 1) {
    out = (slash ? "1/" : "") + FormatGeneralNumber(r, NumberDecimalSeparator());
    return true;
  }
  const double q = std::trunc(10 / r + 0.5) / 10;  // 1/r to one decimal, half up
  if (!std::isfinite(q)) return false;
  out = FormatGeneralNumber(q, NumberDecimalSeparator()) + (slash ? "/1" : "");
  return true;
}

bool DateCode(std::string_view code, std::string& out) {
  if (code.size() < 2 || code.size() > 3) return false;
  const char prefix = code[0];
  const bool now = IsNowPrefix(prefix);
  if (!now && !IsFilePrefix(prefix)) return false;
  const std::string_view rest = code.substr(1);
  const TDateTimeFields t = DecodeDateTimeValue(now ? Now() : Gval.DrawingFileTime);

  if (rest.size() == 1) {
    const char letter = rest[0];
    int value = 0;
    if (FamilyValue(letter, t, value)) {
      out = ByPrefix(prefix, value);
      return true;
    }
    switch (letter) {
      case 'F':  // file time only; the "now" prefixes name the path
      case 'f':
        if (now) return false;
        out = prefix == '_' ? DateSlashes(t) : Four(t.Year) + "/" + Two(t.Month) + "/" + Two(t.Day);
        if (letter == 'F') out += " " + TimeColons(t);
        return true;
      case 'j':
        if (!now) return false;
        out = DateSlashes(t);
        return true;
      case 'J': {
        if (!now) return false;
        const TJapaneseEraYear era = JapaneseEra(t.Year, t.Month, t.Day);
        out = era.Name + std::to_string(era.Year) + kYearWord + Led(std::to_string(t.Month), ' ') +
              kMonthWord + Led(std::to_string(t.Day), ' ') + kDayWord;
        return true;
      }
      case 'w':
      case 'W':
        out = kWeekdays[t.DayOfWeek];
        return true;
      case 'n':
        out = t.Hour < 12 ? "AM" : "PM";
        return true;
      case 'N':
        out = t.Hour < 12 ? kMorning : kAfternoon;
        return true;
      default:
        return false;
    }
  }
  if (rest == "wa") {
    out = kWeekdaysLatin[t.DayOfWeek];
    return true;
  }
  if (rest == "ma") {
    out = kMonthsLatin[t.Month - 1];
    return true;
  }
  return false;
}

bool UserPair(const std::string& text, std::string& out) {
  if (text.size() < 2 || text[0] != '%' || text[1] != '%') return false;
  out = text;
  const size_t rows = CountedRows(Gval.TextVariableCount, Gval.TextVariables);
  for (size_t i = 0; i < rows; ++i) {
    if (Gval.TextVariables[i].First == text) {
      out = Gval.TextVariables[i].Second;
      break;
    }
  }
  return true;
}

}  // namespace

void SetTextVariableClock(std::function<double()> clock) { g_clock = std::move(clock); }

TDateTimeFields DecodeDateTimeValue(double dateTime) {
  if (std::isnan(dateTime)) dateTime = 0;
  dateTime = std::clamp(dateTime, kFirstDay, kLastMoment);
  const auto ms = static_cast<int64_t>(std::llround(dateTime * static_cast<double>(kMsPerDay)));
  // The whole days count towards zero and the time of day is the absolute
  // fraction, as date-time values before 1899-12-30 are stored.
  const int64_t days = ms / kMsPerDay;
  const int64_t time = (ms < 0 ? -ms : ms) % kMsPerDay;
  TDateTimeFields t;
  CivilFromDays(days - 25569, t.Year, t.Month, t.Day);
  t.Hour = static_cast<int>(time / 3'600'000);
  t.Minute = static_cast<int>(time / 60'000 % 60);
  t.Second = static_cast<int>(time / 1000 % 60);
  t.DayOfWeek = static_cast<int>(((days % 7) + 7 + 6) % 7);  // day 0 was a Saturday
  return t;
}

TJapaneseEraYear JapaneseEra(int year, int month, int day) {
  const auto key = [](int y, int m, int d) { return (int64_t{y} * 100 + m) * 100 + d; };
  const int64_t date = key(year, month, day);
  for (size_t i = std::size(kEras); i-- > 0;) {
    const TEraStart& e = kEras[i];
    if (date >= key(e.year, e.month, e.day)) return {e.name, year - e.year + 1};
  }
  return {std::string(), year};
}

bool ExpandTextVariable(std::string& text) {
  std::string value;
  if (UserPair(text, value) || PathCode(text, value) || DrawingCode(text, value) ||
      ScaleCode(text, value) || DateCode(text, value)) {
    text = std::move(value);
    return true;
  }
  return false;
}
