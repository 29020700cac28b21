#include "qt_printer_settings.h"

#include <QPageLayout>
#include <QPageSize>

#include <cmath>

namespace {

int32_t TenthsOfMm(double mm) { return ClampInt16(static_cast<int32_t>(std::lround(mm * 10.0))); }

}  // namespace

int32_t WindowsDuplexCode(QPrinter::DuplexMode mode, int32_t orientation) {
  switch (mode) {
    case QPrinter::DuplexLongSide: return 2;
    case QPrinter::DuplexShortSide: return 3;
    case QPrinter::DuplexAuto: return orientation == 2 ? 3 : 2;
    default: return 1;
  }
}

bool QtDuplexMode(int32_t code, QPrinter::DuplexMode& mode) {
  switch (code) {
    case 1: mode = QPrinter::DuplexNone; return true;
    case 2: mode = QPrinter::DuplexLongSide; return true;
    case 3: mode = QPrinter::DuplexShortSide; return true;
    default: return false;
  }
}

TDevModeValues DevModeFromPrinter(const QPrinter& printer, const TDevModeValues& kept) {
  TDevModeValues v;
  const QPageLayout layout = printer.pageLayout();
  v.Orientation = layout.orientation() == QPageLayout::Landscape ? 2 : 1;
  const QPageSize page = layout.pageSize();
  v.PaperSize = page.id() == QPageSize::Custom ? 0 : ClampInt16(page.windowsId());
  const QSizeF mm = page.size(QPageSize::Millimeter);  // portrait: width <= length
  v.PaperWidth = TenthsOfMm(mm.width());
  v.PaperLength = TenthsOfMm(mm.height());
  v.Scale = kept.Scale;
  v.PrintQuality = ClampInt16(printer.resolution());
  v.YResolution = kept.YResolution;
  v.Color = printer.colorMode() == QPrinter::Color ? 2 : 1;
  v.Duplex = WindowsDuplexCode(printer.duplex(), v.Orientation);
  v.Collate = printer.collateCopies() ? 1 : 0;
  return v;
}

void ApplyDevModeToPrinter(QPrinter& printer, const TDevModeValues& values, bool withPaperDimensions) {
  if (values.Orientation == 1) printer.setPageOrientation(QPageLayout::Portrait);
  if (values.Orientation == 2) printer.setPageOrientation(QPageLayout::Landscape);
  if (values.PaperSize == 0) {
    if (withPaperDimensions && values.PaperWidth > 0 && values.PaperLength > 0) {
      printer.setPageSize(QPageSize(QSizeF(values.PaperWidth / 10.0, values.PaperLength / 10.0), QPageSize::Millimeter,
                                    QString(), QPageSize::ExactMatch));
    }
  } else {
    const QPageSize::PageSizeId id = QPageSize::id(values.PaperSize);
    if (id != QPageSize::Custom) printer.setPageSize(QPageSize(id));
  }
  if (values.PrintQuality > 0) printer.setResolution(values.PrintQuality);
  if (values.Color == 1) printer.setColorMode(QPrinter::GrayScale);
  if (values.Color == 2) printer.setColorMode(QPrinter::Color);
  QPrinter::DuplexMode duplex;
  if (QtDuplexMode(values.Duplex, duplex)) printer.setDuplex(duplex);
  if (values.Collate == 0 || values.Collate == 1) printer.setCollateCopies(values.Collate == 1);
}

bool TQtPrinterSettings::ReadDevMode(TDevModeValues& values) {
  const QPrinter* printer = device_.QtPrinter();
  if (printer == nullptr) return false;
  if (kept_.YResolution <= 0) kept_.YResolution = printer->resolution();
  values = DevModeFromPrinter(*printer, kept_);
  if (device_.IsPdfFilePrinter() && kept_.PrintQuality > 0) values.PrintQuality = kept_.PrintQuality;
  return true;
}

bool TQtPrinterSettings::WriteDevMode(const TDevModeValues& values, bool withPaperDimensions) {
  QPrinter* printer = device_.QtPrinter();
  if (printer == nullptr || device_.Printing()) return false;
  TDevModeValues applied = values;
  // The PDF file printer keeps its own resolution (its page measures whole
  // millimetres); the quality is only kept for the settings file.
  if (device_.IsPdfFilePrinter()) applied.PrintQuality = 0;
  ApplyDevModeToPrinter(*printer, applied, withPaperDimensions);
  kept_.Scale = values.Scale;
  if (values.PrintQuality > 0) kept_.PrintQuality = values.PrintQuality;
  kept_.YResolution = values.YResolution;
  return true;
}
