// Text variables: a text element whose whole text is one of the variable
// codes ("$F", "%f", "=F", "$J", "%SS", ...) is drawn with the code's value:
// the drawing's path or name, its file time, today's date and time, its
// editing time, memo or scale. Dates are always written the Japanese way
// (weekdays 日..土, "/" and ":" separators, the Japanese era from Meiji on).
#pragma once

#include <functional>
#include <string>

// When the text is a variable (a text beginning "%%" counts as one), answers
// true and replaces the text with its value; otherwise answers false and
// leaves the text alone. The values come from Gval (file name, file time,
// edit time, memo, scales, TextVariables) and from the clock.
bool ExpandTextVariable(std::string& text);

// "Now" for the date codes: a date-time value (days since 1899-12-30, local
// time, the fraction the time of day). An empty function restores the
// system clock.
void SetTextVariableClock(std::function<double()> clock);

// The calendar fields of a date-time value, rounded to the millisecond.
// Values outside 0001-01-01 .. 9999-12-31 23:59:59 are clamped into it;
// NaN counts as 0 (1899-12-30 00:00:00).
struct TDateTimeFields {
  int Year = 1899, Month = 12, Day = 30;
  int Hour = 0, Minute = 0, Second = 0;
  int DayOfWeek = 6;  // 0 Sunday .. 6 Saturday
};
TDateTimeFields DecodeDateTimeValue(double dateTime);

// The Japanese era of a date: its name (Shift-JIS) and the year within it.
// Dates before Meiji (1868-09-08) have no era: an empty name and the
// Gregorian year.
struct TJapaneseEraYear {
  std::string Name;
  int Year = 0;
};
TJapaneseEraYear JapaneseEra(int year, int month, int day);
