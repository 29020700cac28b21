#include "unit_print.h"

#include <cmath>
#include <vector>

#include "func.h"
#include "sjis.h"
#include "printer_device.h"

const char kDefaultPrinterLabel[] = "<\x95\x57\x8F\x80\x83\x76\x83\x8A\x83\x93\x83\x5E>";  // <標準プリンタ>

namespace {

TPrinterDevice* g_current = nullptr;

// The page when no printer has one: A4 portrait, as the built-in PDF printer
// gives it, at 254 dpi so that it is exactly 210 x 297 mm.
constexpr int32_t kFallbackDpi = 254;
constexpr int32_t kFallbackWidthPx = 2100;
constexpr int32_t kFallbackHeightPx = 2970;

// True when the current printer reports a page to measure.
bool HasPage(const TPrinterDevice* p) {
  return p && p->DpiX() > 0 && p->DpiY() > 0 && p->PhysicalWidthPx() > 0 && p->PhysicalHeightPx() > 0;
}

}  // namespace

void SetCurrentPrinter(TPrinterDevice* device) { g_current = device; }

TPrinterDevice* CurrentPrinter() { return g_current; }

std::string GetPrinterName() {
  TPrinterDevice* p = CurrentPrinter();
  if (!p) return kDefaultPrinterLabel;
  const int32_t index = p->PrinterIndex();
  const std::vector<std::string> names = p->PrinterNames();
  if (index < 0 || index >= static_cast<int32_t>(names.size())) return kDefaultPrinterLabel;
  return names[static_cast<size_t>(index)];
}

// Without a printer that has a page, the sizes are those of the fallback A4
// page, so frames made from the page size are never empty.
int32_t GetPrinterDpiX() { return HasPage(g_current) ? g_current->DpiX() : kFallbackDpi; }
int32_t GetPrinterDpiY() { return HasPage(g_current) ? g_current->DpiY() : kFallbackDpi; }
int32_t GetPhysicalWidthPx() { return HasPage(g_current) ? g_current->PhysicalWidthPx() : kFallbackWidthPx; }
int32_t GetPhysicalHeightPx() { return HasPage(g_current) ? g_current->PhysicalHeightPx() : kFallbackHeightPx; }
int32_t GetPageWidthPx() { return HasPage(g_current) ? g_current->PageWidthPx() : kFallbackWidthPx; }
int32_t GetPageHeightPx() { return HasPage(g_current) ? g_current->PageHeightPx() : kFallbackHeightPx; }

double PixelsToMm(int32_t px, int32_t dpi) {
  if (dpi <= 0) return 0;  // no printer: no size instead of a division by zero
  return std::trunc(static_cast<double>(px) * 2540.0 / dpi + 0.5) / 100;
}

double GetPhysicalWidthMm() { return PixelsToMm(GetPhysicalWidthPx(), GetPrinterDpiX()); }
double GetPhysicalHeightMm() { return PixelsToMm(GetPhysicalHeightPx(), GetPrinterDpiY()); }
double GetPageWidthMm() { return PixelsToMm(GetPageWidthPx(), GetPrinterDpiX()); }
double GetPageHeightMm() { return PixelsToMm(GetPageHeightPx(), GetPrinterDpiY()); }

bool PrintBeginDoc(const std::string& title, const std::string& fileTitle) {
  TPrinterDevice* p = CurrentPrinter();
  if (!p) return false;
  int32_t taken = 0;
  const std::string cut = CopyBytesSJIS(title, 1, 31, taken);
  if (fileTitle.empty()) return p->BeginDoc(cut);
  return p->BeginNamedDoc(cut, Utf8Prefix(fileTitle, static_cast<size_t>(CharCountSJIS(cut))));
}

bool PrintNewPage() { return CurrentPrinter() && CurrentPrinter()->NewPage(); }
bool PrintEndDoc() { return CurrentPrinter() && CurrentPrinter()->EndDoc(); }
bool PrintAbortDoc() { return CurrentPrinter() && CurrentPrinter()->AbortDoc(); }
std::string GetPrintFailureReason() { return CurrentPrinter() ? CurrentPrinter()->FailureReason() : std::string(); }
std::string GetPrintOutputFolder() { return CurrentPrinter() ? CurrentPrinter()->OutputFileFolder() : std::string(); }
