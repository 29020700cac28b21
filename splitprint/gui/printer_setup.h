// The print tab's printer set-up: which printer, then its page.
#pragma once

class QWidget;
class TQPrinterDeviceBase;

// When the device lists more than one printer, the user first picks one
// (the PDF file printer is always among them). A printer of the system is
// then set up in the print dialog (copies, duplex, printing to a file),
// and every printer in the page set-up (paper size and orientation). True
// when something was chosen (the caller shows the printer anew).
bool RunPrinterSetup(QWidget* parent, TQPrinterDeviceBase& device);
