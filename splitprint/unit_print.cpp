#include "unit_print.h"

#include <QGuiApplication>
#include <cmath>
#include <memory>
#include <vector>

#include "func.h"
#include "printer_device.h"
#include "qt_printer_device.h"

const char kDefaultPrinterLabel[] = "<\x95\x57\x8F\x80\x83\x76\x83\x8A\x83\x93\x83\x5E>";  // <標準プリンタ>

namespace {

TPrinterDevice* g_current = nullptr;
std::unique_ptr<TPrinterDevice> g_system;

// The printer objects must go before the application object does.
void ReleaseSystemPrinter() { g_system.reset(); }

}  // namespace

void SetCurrentPrinter(TPrinterDevice* device) { g_current = device; }

TPrinterDevice* CurrentPrinter() {
  if (g_current) return g_current;
  if (!g_system && qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    g_system = CreateSystemPrinterDevice();
    qAddPostRoutine(ReleaseSystemPrinter);
  }
  return g_system.get();
}

std::string GetPrinterName() {
  TPrinterDevice* p = CurrentPrinter();
  if (!p) return kDefaultPrinterLabel;
  const int32_t index = p->PrinterIndex();
  const std::vector<std::string> names = p->PrinterNames();
  if (index < 0 || index >= static_cast<int32_t>(names.size())) return kDefaultPrinterLabel;
  return names[static_cast<size_t>(index)];
}

int32_t GetPrinterDpiX() { return CurrentPrinter() ? CurrentPrinter()->DpiX() : 0; }
int32_t GetPrinterDpiY() { return CurrentPrinter() ? CurrentPrinter()->DpiY() : 0; }
int32_t GetPhysicalWidthPx() { return CurrentPrinter() ? CurrentPrinter()->PhysicalWidthPx() : 0; }
int32_t GetPhysicalHeightPx() { return CurrentPrinter() ? CurrentPrinter()->PhysicalHeightPx() : 0; }
int32_t GetPageWidthPx() { return CurrentPrinter() ? CurrentPrinter()->PageWidthPx() : 0; }
int32_t GetPageHeightPx() { return CurrentPrinter() ? CurrentPrinter()->PageHeightPx() : 0; }

double PixelsToMm(int32_t px, int32_t dpi) {
  if (dpi <= 0) return 0;  // no printer: no size instead of a division by zero
  return std::trunc(static_cast<double>(px) * 2540.0 / dpi + 0.5) / 100;
}

double GetPhysicalWidthMm() { return PixelsToMm(GetPhysicalWidthPx(), GetPrinterDpiX()); }
double GetPhysicalHeightMm() { return PixelsToMm(GetPhysicalHeightPx(), GetPrinterDpiY()); }
double GetPageWidthMm() { return PixelsToMm(GetPageWidthPx(), GetPrinterDpiX()); }
double GetPageHeightMm() { return PixelsToMm(GetPageHeightPx(), GetPrinterDpiY()); }

bool PrintBeginDoc(const std::string& title) {
  TPrinterDevice* p = CurrentPrinter();
  if (!p) return false;
  int32_t taken = 0;
  return p->BeginDoc(CopyBytesSJIS(title, 1, 31, taken));
}

bool PrintNewPage() { return CurrentPrinter() && CurrentPrinter()->NewPage(); }
bool PrintEndDoc() { return CurrentPrinter() && CurrentPrinter()->EndDoc(); }
