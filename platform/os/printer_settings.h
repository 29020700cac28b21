// The chosen printer and its device settings as the settings file keeps
// them: the list name and ten device-mode values in Windows' codes. The Qt
// implementation maps them onto a QPrinter; tests use a fake.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Device-mode values, each a signed 16-bit quantity in the file.
struct TDevModeValues {
  int32_t Orientation = 2;     // 1 portrait, 2 landscape
  int32_t PaperSize = 0;       // Windows paper code; 0 user-defined
  int32_t PaperLength = 2970;  // 0.1 mm, used with paper size 0
  int32_t PaperWidth = 2100;   // 0.1 mm, used with paper size 0
  int32_t Scale = 100;         // percent
  int32_t PrintQuality = 300;  // dpi when above 0
  int32_t YResolution = 300;
  int32_t Color = 1;           // 1 monochrome, 2 colour
  int32_t Duplex = 0;          // 1 simplex, 2 long edge, 3 short edge
  int32_t Collate = 0;         // 0 off, 1 on
};

// A value as a signed 16-bit device-mode field holds it.
inline int32_t ClampInt16(int32_t v) { return v < -32768 ? -32768 : (v > 32767 ? 32767 : v); }

class TPrinterSettingsAccess {
 public:
  virtual ~TPrinterSettingsAccess() = default;
  // List names of the installed printers (Shift-JIS); empty when none.
  virtual std::vector<std::string> PrinterNames() const = 0;
  // Row of the current printer, -1 when none is current.
  virtual int32_t PrinterIndex() const = 0;
  virtual bool SelectPrinter(int32_t index) = 0;
  // The current printer's device-mode values; false when it has none.
  virtual bool ReadDevMode(TDevModeValues& values) = 0;
  // Writes the values into the current printer; paper length and width only
  // when withPaperDimensions (user-defined paper). False when it has none.
  virtual bool WriteDevMode(const TDevModeValues& values, bool withPaperDimensions) = 0;
};
