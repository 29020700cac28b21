// Printers through Qt Print Support (CUPS on Linux), and the built-in PDF
// file printer, always in the list.
#pragma once

#include <QString>
#include <memory>
#include <set>
#include <string>

#include "printer_device.h"

class QPrinter;
class QPainter;
class TQtCanvas;

// Shared job and page handling over one QPrinter, and the built-in PDF file
// printer, which any such device can switch to.
class TQPrinterDeviceBase : public TPrinterDevice {
 public:
  TQPrinterDeviceBase();
  ~TQPrinterDeviceBase() override;
  // The printer object of the current printer (its settings are changed
  // through it); nullptr when there is none.
  QPrinter* QtPrinter() const { return printer_.get(); }

  int32_t DpiX() const override;
  int32_t DpiY() const override;
  int32_t PhysicalWidthPx() const override;
  int32_t PhysicalHeightPx() const override;
  int32_t PageWidthPx() const override;
  int32_t PageHeightPx() const override;
  bool BeginDoc(const std::string& title) override;
  bool BeginNamedDoc(const std::string& title, const std::string& fileTitle) override;
  bool NewPage() override;
  bool EndDoc() override;
  bool Printing() const override;
  // Ends the document and throws away the file it made.
  bool AbortDoc() override;
  std::string FailureReason() const override { return failureReason_; }
  std::string OutputFileFolder() const override;
  // The canvas over the open document's painter: device pixels, origin at
  // the top left of the printable area. Its strokes reach the page before
  // the next page begins and when the document ends.
  TCanvas* Canvas() override;
  // The painter of the open document (origin at the top left of the
  // printable area, device pixels); nullptr when no document is open. What
  // the canvas gathered is drawn first, so both can be mixed in order.
  QPainter* Painter();

  // True while the current printer is the PDF file printer.
  bool IsPdfFilePrinter() const { return pdfFilePrinter_; }
  // Folder of the PDF file printer's files (native path); empty means the
  // user's documents folder (made when missing), else the home folder.
  void SetOutputFolder(const std::string& folder) { folder_ = folder; }
  const std::string& OutputFolder() const { return folder_; }
  // Native path of the file of the last document begun; empty when it went
  // to a printer.
  const std::string& LastOutputPath() const { return lastPath_; }

 protected:
  // Painting starts with the first page drawn rather than at BeginDoc, so a
  // document that ends without a page sends no job to the printer.
  void SetStartOnFirstPage(bool on) { startOnFirstPage_ = on; }
  QPrinter* Printer() const { return printer_.get(); }
  void ReplacePrinter(std::unique_ptr<QPrinter> printer);
  // Makes the current printer the PDF file printer: A4 portrait, the whole
  // sheet printable, at 508 dpi (20 pixels a millimetre, so that the page
  // measures its own size in millimetres).
  void UsePdfFilePrinter();

 private:
  std::unique_ptr<QPrinter> printer_;
  std::unique_ptr<QPainter> painter_;
  std::unique_ptr<TQtCanvas> canvas_;  // over painter_ while a document is open
  bool docOpen_ = false;
  bool startOnFirstPage_ = false;
  bool pdfFilePrinter_ = false;
  std::string folder_;
  // The file of the current or last document (also as a native path);
  // whether its job made it.
  QString lastFile_;
  std::string lastPath_;
  bool lastPathMade_ = false;
  std::string failureReason_;
  // Printing to a file: the file chosen in the print dialog, and the one
  // the printer was last pointed at (another one means a new choice).
  QString chosenFile_, assignedFile_;
  // Every file a document of this device was written to: never replaced.
  std::set<QString> written_;

  // Begins painting the open document when it has not begun yet.
  bool StartPainting();
  bool Painting() const;
  // Picks the file of the next document, when it goes to a file; the PDF
  // file printer names it after fileTitle.
  bool PrepareJob(const QString& fileTitle);
  bool PreparePdfFile(const QString& fileTitle);
  // Points the printer at `wanted`, or at the first free "name (2).ext",
  // "name (3).ext", ... when wanted exists (unless mayReplace) or was
  // written by this device. False, with the system's reason, when no file
  // can be made there.
  bool ClaimOutputFile(const QString& wanted, bool mayReplace);
  // Removes the file of a document that came to nothing.
  void DiscardJob(bool painted);
  // Page sizes of the PDF file printer from its page size in millimetres.
  int32_t PdfPagePx(bool width, bool printable) const;
};

// The installed printers (QPrinterInfo) followed by the PDF file printer,
// which is always in the list; the current one starts as the system
// default, or the first printer, or the PDF file printer when there is no
// other. A document ended before anything was drawn sends no job.
class TQtPrinterDevice : public TQPrinterDeviceBase {
 public:
  TQtPrinterDevice();
  std::vector<std::string> PrinterNames() const override;
  int32_t PrinterIndex() const override { return index_; }
  bool SetPrinterIndex(int32_t index) override;

 private:
  int32_t index_ = -1;
};

// Only the PDF file printer: each document becomes a PDF file in a folder,
// named after the document title or, given to BeginNamedDoc, the name it
// was made from (characters a file name cannot hold become "_"), with
// ".pdf"; an existing file is never replaced ("title (2).pdf" and so on).
class TPdfFilePrinter : public TQPrinterDeviceBase {
 public:
  TPdfFilePrinter();
  std::vector<std::string> PrinterNames() const override;
  int32_t PrinterIndex() const override { return index_; }
  bool SetPrinterIndex(int32_t index) override;

 private:
  int32_t index_ = 0;
};

// The installed printers and the PDF file printer. Needs a QGuiApplication.
std::unique_ptr<TPrinterDevice> CreateSystemPrinterDevice();

// List name of the PDF file printer (Shift-JIS "PDFファイル").
extern const char kPdfPrinterName[];
