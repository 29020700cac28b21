#include "printer_setup.h"

#include <QInputDialog>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QStringList>
#include <algorithm>
#include <string>
#include <vector>

#include "qt_printer_device.h"
#include "qt_printer_settings.h"
#include "qt_text.h"

namespace {

// The printer picked from the device's list; false when cancelled.
bool ChoosePrinter(QWidget* parent, TQPrinterDeviceBase& device, bool& changed) {
  const std::vector<std::string> names = device.PrinterNames();
  if (names.size() < 2) return true;
  QStringList items;
  for (const std::string& name : names) items << FromSjis(name);
  bool ok = false;
  const int current = std::max(0, device.PrinterIndex());
  const QString chosen = QInputDialog::getItem(parent, QStringLiteral("プリンタの選択"), QStringLiteral("プリンタ名："),
                                               items, current, false, &ok);
  if (!ok) return false;
  const auto index = static_cast<int32_t>(items.indexOf(chosen));
  if (index < 0 || index == device.PrinterIndex()) return true;
  changed = device.SetPrinterIndex(index);
  return changed;
}

// The print dialog of a printer of the system. Another printer chosen in it
// becomes the current one, with the values set for it.
bool SetUpSystemPrinter(QWidget* parent, TQPrinterDeviceBase& device) {
  QPrinter* printer = device.QtPrinter();
  QPrintDialog dialog(printer, parent);
  dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintCollateCopies);
  if (dialog.exec() != QDialog::Accepted) return false;
  const std::string chosen = ToSjis(printer->printerName());
  const std::vector<std::string> names = device.PrinterNames();
  for (size_t i = 0; i < names.size(); ++i) {
    if (names[i] != chosen || static_cast<int32_t>(i) == device.PrinterIndex()) continue;
    const TDevModeValues values = DevModeFromPrinter(*printer, TDevModeValues{});
    const QString file = printer->outputFileName();
    if (device.SetPrinterIndex(static_cast<int32_t>(i)) && device.QtPrinter() != nullptr) {
      ApplyDevModeToPrinter(*device.QtPrinter(), values, values.PaperSize == 0);
      device.QtPrinter()->setOutputFileName(file);
    }
    break;
  }
  return true;
}

}  // namespace

bool RunPrinterSetup(QWidget* parent, TQPrinterDeviceBase& device) {
  bool changed = false;
  if (!ChoosePrinter(parent, device, changed) || device.QtPrinter() == nullptr) return changed;
  if (!device.IsPdfFilePrinter()) {
    if (!SetUpSystemPrinter(parent, device)) return changed;
    changed = true;
  }
  if (device.QtPrinter() == nullptr) return changed;
  // Paper size and orientation, which the print dialog does not offer.
  QPageSetupDialog page(device.QtPrinter(), parent);
  return page.exec() == QDialog::Accepted || changed;
}
