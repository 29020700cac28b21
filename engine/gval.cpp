#include "gval.h"

#include "func.h"

TGvalGlobals Gval;

namespace {
TKeyStatePoller* g_poller = nullptr;
}

int32_t DeviceX(double x) { return RoundToInt((x - Gval.ViewXMin) * Gval.ViewScale); }

int32_t DeviceY(double y) {
  return Gval.DeviceHeight - RoundToInt((y - Gval.ViewYMin) * Gval.ViewScale);
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

void SetKeyStatePoller(TKeyStatePoller* poller) { g_poller = poller; }

TKeyStatePoller* GetKeyStatePoller() { return g_poller; }

bool CheckAbort() { return g_poller != nullptr && g_poller->EscapeDown(); }
