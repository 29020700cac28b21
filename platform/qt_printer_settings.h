// The settings file's printer values over Qt printers: Windows device-mode
// codes read from and written to a QPrinter, and the printer list of a
// TQPrinterDeviceBase as the settings see it.
#pragma once

#include <QPrinter>

#include "printer_settings.h"
#include "qt_printer_device.h"

// The printer's values in Windows codes. Scale and y resolution have no Qt
// counterpart: they are taken from `kept`.
TDevModeValues DevModeFromPrinter(const QPrinter& printer, const TDevModeValues& kept);

// Writes the values Qt can hold: orientation 1/2, a known paper code (0 with
// withPaperDimensions: a custom size of width x length in 0.1 mm; an unknown
// code leaves the paper), print quality above 0 as the resolution, colour
// 1 grey / 2 colour, duplex 1/2/3 (other values leave it), collate 0/1.
void ApplyDevModeToPrinter(QPrinter& printer, const TDevModeValues& values, bool withPaperDimensions);

// Duplex in Windows codes: 1 none, 2 long edge, 3 short edge; automatic
// duplex counts as the long edge of the page as it lies (orientation 1/2).
int32_t WindowsDuplexCode(QPrinter::DuplexMode mode, int32_t orientation);
// The Qt mode of a code; false for codes that leave the printer's duplex.
bool QtDuplexMode(int32_t code, QPrinter::DuplexMode& mode);

class TQtPrinterSettings : public TPrinterSettingsAccess {
 public:
  explicit TQtPrinterSettings(TQPrinterDeviceBase& device) : device_(device) {
    kept_.PrintQuality = 0;
    kept_.YResolution = 0;
  }
  std::vector<std::string> PrinterNames() const override { return device_.PrinterNames(); }
  int32_t PrinterIndex() const override { return device_.PrinterIndex(); }
  bool SelectPrinter(int32_t index) override { return device_.SetPrinterIndex(index); }
  bool ReadDevMode(TDevModeValues& values) override;
  bool WriteDevMode(const TDevModeValues& values, bool withPaperDimensions) override;

 private:
  TQPrinterDeviceBase& device_;
  TDevModeValues kept_;  // scale, y resolution (and the PDF printer's quality) as last written
};
