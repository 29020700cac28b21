// Printers through Qt Print Support (CUPS on Linux), and the built-in PDF
// file printer used when no printer is installed.
#pragma once

#include <memory>
#include <string>

#include "printer_device.h"

class QPrinter;
class QPainter;
class QString;
class TQtCanvas;

// Shared job and page handling over one QPrinter.
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
  bool NewPage() override;
  bool EndDoc() override;
  bool Printing() const override;
  // Ends the document and throws away what it made (see DiscardJob).
  bool AbortDoc() override;
  // The canvas over the open document's painter: device pixels, origin at
  // the top left of the printable area. Its strokes reach the page before
  // the next page begins and when the document ends.
  TCanvas* Canvas() override;
  // The painter of the open document (origin at the top left of the
  // printable area, device pixels); nullptr when no document is open. What
  // the canvas gathered is drawn first, so both can be mixed in order.
  QPainter* Painter();

 protected:
  // Called by BeginDoc before the job starts (the PDF printer picks its file).
  virtual bool PrepareJob(const QString& title);
  // Called after an aborted document's painter has ended: removes what the
  // job left behind. Nothing by default.
  virtual void DiscardJob() {}
  // Painting starts with the first page drawn rather than at BeginDoc, so a
  // document that ends without a page sends no job to the printer.
  void SetStartOnFirstPage(bool on) { startOnFirstPage_ = on; }
  QPrinter* Printer() const { return printer_.get(); }
  void ReplacePrinter(std::unique_ptr<QPrinter> printer);

 private:
  std::unique_ptr<QPrinter> printer_;
  std::unique_ptr<QPainter> painter_;
  std::unique_ptr<TQtCanvas> canvas_;  // over painter_ while a document is open
  bool docOpen_ = false;
  bool startOnFirstPage_ = false;
  // Begins painting the open document when it has not begun yet.
  bool StartPainting();
  bool Painting() const;
};

// The installed printers (QPrinterInfo); the current one starts as the
// system default, or the first printer when there is no default. A document
// ended before anything was drawn sends no job.
class TQtPrinterDevice : public TQPrinterDeviceBase {
 public:
  TQtPrinterDevice();
  std::vector<std::string> PrinterNames() const override;
  int32_t PrinterIndex() const override { return index_; }
  bool SetPrinterIndex(int32_t index) override;

 private:
  int32_t index_ = -1;
};

// One printer that writes each document as a PDF file into a folder: A4
// portrait at 600 dpi, the whole sheet printable. The file is named after
// the document title (characters a file name cannot hold become "_") with
// ".pdf"; an existing file is never replaced ("title (2).pdf" and so on).
class TPdfFilePrinter : public TQPrinterDeviceBase {
 public:
  TPdfFilePrinter();
  std::vector<std::string> PrinterNames() const override;
  int32_t PrinterIndex() const override { return index_; }
  bool SetPrinterIndex(int32_t index) override;

  // Folder of the PDF files (native path); empty means the user's
  // documents folder.
  void SetOutputFolder(const std::string& folder) { folder_ = folder; }
  const std::string& OutputFolder() const { return folder_; }
  // Native path of the file of the last document begun.
  const std::string& LastOutputPath() const { return lastPath_; }

 protected:
  bool PrepareJob(const QString& title) override;
  // An aborted document leaves no file.
  void DiscardJob() override;

 private:
  int32_t index_ = 0;
  std::string folder_;
  std::string lastPath_;
};

// The installed printers, or the PDF file printer when there are none. Needs
// a QGuiApplication.
std::unique_ptr<TPrinterDevice> CreateSystemPrinterDevice();

// List name of the PDF file printer (Shift-JIS "PDFファイル").
extern const char kPdfPrinterName[];
