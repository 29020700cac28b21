#include "gval.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <limits>

#include "func.h"

TGvalGlobals Gval;

namespace {

TKeyStatePoller* g_poller = nullptr;

// RoundToInt clamps far points (a printer's pixels per mm times a clamped
// extent of 1e8 mm), which would not fit int32, instead of wrapping them.
int32_t RoundToIntSaturated(double v) { return RoundToInt(v); }

}  // namespace

int32_t DeviceX(double x) { return RoundToIntSaturated((x - Gval.ViewXMin) * Gval.ViewScale); }

int32_t DeviceY(double y) {
  const int64_t d = int64_t{Gval.DeviceHeight} - RoundToIntSaturated((y - Gval.ViewYMin) * Gval.ViewScale);
  return static_cast<int32_t>(std::clamp<int64_t>(d, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

void SetView(int32_t deviceWidth, int32_t deviceHeight, double scale, double cx, double cy) {
  Gval.DeviceWidth = deviceWidth;
  Gval.DeviceHeight = deviceHeight;
  Gval.ViewScale = scale;
  Gval.ViewXMin = cx - deviceWidth * 0.5 / scale;
  Gval.ViewYMin = cy - deviceHeight * 0.5 / scale;
  Gval.ViewXMax = cx + deviceWidth * 0.5 / scale;
  Gval.ViewYMax = cy + deviceHeight * 0.5 / scale;
}

double DateTimeFromUnixTime(int64_t seconds) {
  const time_t t = static_cast<time_t>(seconds);
  struct tm local {};
  int64_t offset = 0;
  if (::localtime_r(&t, &local) != nullptr) offset = local.tm_gmtoff;
  constexpr double kUnixEpochDays = 25569.0;  // 1970-01-01 as a date-time
  return kUnixEpochDays + static_cast<double>(seconds + offset) / 86400.0;
}

void ResetDrawingGlobalsForStartup() {
  Gval.DrawingFileName.clear();
  Gval.DrawingEditTime.clear();
  Gval.DrawingMemo1.clear();
  Gval.DrawingMemo2.clear();
  Gval.DrawingScale = 1.0;
  Gval.PrintScale = 1.0;
  Gval.DrawingFileTime = DateTimeFromUnixTime(static_cast<int64_t>(std::time(nullptr)));
  Gval.ImageRenameList.clear();
  Gval.ImageRenameCount = 0;
  Gval.SheetList.clear();
  Gval.SheetCount = 0;
}

void SetKeyStatePoller(TKeyStatePoller* poller) { g_poller = poller; }

TKeyStatePoller* GetKeyStatePoller() { return g_poller; }

bool CheckAbort() { return g_poller != nullptr && g_poller->EscapeDown(); }
