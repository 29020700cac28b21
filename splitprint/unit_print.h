// Plain routines over the current printer: its name, resolution and page
// sizes, and the three print-job calls. Nothing is cached; every routine
// asks the device anew. Failures of the device are not handled here: they
// come back to the caller as results (false from the job calls). There is
// always a page: without a printer that reports one, the resolution and
// sizes are those of an A4 portrait page (210 x 297 mm at 254 dpi).
#pragma once

#include <cstdint>
#include <string>

class TPrinterDevice;

// The device the routines use, set by the program at start-up (its printers
// through the toolkit) or by tests; nullptr when there is none. The caller
// keeps ownership.
void SetCurrentPrinter(TPrinterDevice* device);
TPrinterDevice* CurrentPrinter();

// Shift-JIS "<標準プリンタ>", the name shown when no printer is current.
extern const char kDefaultPrinterLabel[];

std::string GetPrinterName();
int32_t GetPrinterDpiX();
int32_t GetPrinterDpiY();
int32_t GetPhysicalWidthPx();
int32_t GetPhysicalHeightPx();
double GetPhysicalWidthMm();
double GetPhysicalHeightMm();
int32_t GetPageWidthPx();
int32_t GetPageHeightPx();
double GetPageWidthMm();
double GetPageHeightMm();

// Millimetres to the nearest 0.01 mm (halves up) from pixels at dpi; 0 for a
// resolution that is not positive.
double PixelsToMm(int32_t px, int32_t dpi);

// The title is cut to its first 31 bytes on a character boundary.
// fileTitle, when given, is the title with its real characters (native
// bytes): files of the job are named after it, cut to the same characters.
bool PrintBeginDoc(const std::string& title, const std::string& fileTitle = {});
bool PrintNewPage();
bool PrintEndDoc();
// Cancels the current document: nothing of it is printed.
bool PrintAbortDoc();
// Why the last job could not begin, in the system's words (Shift-JIS);
// empty when the printer cannot tell.
std::string GetPrintFailureReason();
// Folder the last document was written to as a file (native path); empty
// when it went to a printer.
std::string GetPrintOutputFolder();
