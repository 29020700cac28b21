// Dates and times as the user's system writes them.
#pragma once

#include <cstdint>
#include <string>

// A POSIX time (seconds) in the system locale's short date and time form,
// local time, Shift-JIS.
std::string ShortDateTimeText(int64_t unixSeconds);
