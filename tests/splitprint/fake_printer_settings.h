// Installed printers with device-mode values, for the settings tests.
#pragma once

#include <string>
#include <vector>

#include "printer_settings.h"

class TFakePrinterSettings : public TPrinterSettingsAccess {
 public:
  std::vector<std::string> Names{"Office Printer", "PDF"};
  std::vector<TDevModeValues> Values{TDevModeValues{1, 9, 2970, 2100, 100, 600, 600, 2, 1, 1}, TDevModeValues{}};
  int32_t Index = 0;
  // Each write, with whether paper length and width were written.
  struct TWrite {
    int32_t Printer;
    TDevModeValues Values;
    bool WithPaperDimensions;
  };
  std::vector<TWrite> Writes;

  std::vector<std::string> PrinterNames() const override { return Names; }
  int32_t PrinterIndex() const override { return Index; }
  bool SelectPrinter(int32_t index) override {
    if (index < -1 || index >= static_cast<int32_t>(Names.size())) return false;
    Index = index;
    return true;
  }
  bool ReadDevMode(TDevModeValues& values) override {
    if (Index < 0 || Index >= static_cast<int32_t>(Values.size())) return false;
    values = Values[static_cast<size_t>(Index)];
    return true;
  }
  bool WriteDevMode(const TDevModeValues& values, bool withPaperDimensions) override {
    if (Index < 0 || Index >= static_cast<int32_t>(Values.size())) return false;
    Writes.push_back(TWrite{Index, values, withPaperDimensions});
    TDevModeValues& v = Values[static_cast<size_t>(Index)];
    const TDevModeValues old = v;
    v = values;
    if (!withPaperDimensions) {
      v.PaperLength = old.PaperLength;
      v.PaperWidth = old.PaperWidth;
    }
    return true;
  }
};
