// What the main window's start-up needs from the window beyond the batch:
// dates and times in the system's short form for the "/G" question.
#pragma once

#include <cstdint>
#include <string>

#include "batch_host.h"

class TWindowHost : public TBatchHost {
 public:
  // A POSIX time (seconds) as the system's short date and time, Shift-JIS.
  virtual std::string FormatShortDateTime(int64_t unixSeconds) = 0;
};
