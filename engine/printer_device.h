// The printer as the program sees it: a list of printers with a current
// one, its resolution and page sizes in device pixels, and one print job at
// a time. The program installs its Qt implementation (platform/
// qt_printer_device.h) at start-up; tests use a fake with fixed page sizes.
// No toolkit type appears here. Names are Shift-JIS, like every text of the
// engine.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TCanvas;

class TPrinterDevice {
 public:
  virtual ~TPrinterDevice() = default;

  // The printer list; names are Shift-JIS.
  virtual std::vector<std::string> PrinterNames() const = 0;
  // Row of the current printer in the list; -1 when none is current (the
  // system default printer, if any, is then used).
  virtual int32_t PrinterIndex() const = 0;
  // False (and nothing changed) for an index outside -1 .. list size - 1 or
  // while a document is open.
  virtual bool SetPrinterIndex(int32_t index) = 0;

  // Resolution in dots per inch and sizes in device pixels of the current
  // printer, read afresh on every call; 0 when there is no printer.
  virtual int32_t DpiX() const = 0;
  virtual int32_t DpiY() const = 0;
  virtual int32_t PhysicalWidthPx() const = 0;   // the whole sheet
  virtual int32_t PhysicalHeightPx() const = 0;
  virtual int32_t PageWidthPx() const = 0;       // the printable area
  virtual int32_t PageHeightPx() const = 0;

  // One print job: false when the job cannot start (no printer, a document
  // already open), when there is no open document, or when the device fails.
  virtual bool BeginDoc(const std::string& title) = 0;
  // BeginDoc for a title made from a native name (a path's bytes, which
  // Shift-JIS may not hold): a device that writes each job to a file names
  // it after fileTitle, the title's characters as they really are.
  virtual bool BeginNamedDoc(const std::string& title, const std::string& /*fileTitle*/) { return BeginDoc(title); }
  virtual bool NewPage() = 0;
  virtual bool EndDoc() = 0;
  virtual bool Printing() const = 0;
  // Cancels the open document so that nothing comes out of it; a device that
  // cannot cancel ends the document instead.
  virtual bool AbortDoc() { return EndDoc(); }

  // Why the last job could not begin, in the system's words (Shift-JIS);
  // empty when the device cannot tell.
  virtual std::string FailureReason() const { return {}; }
  // Folder of the file the last document was written to (the PDF file
  // printer, printing to a file), a native path; empty when it went to a
  // printer.
  virtual std::string OutputFileFolder() const { return {}; }

  // The canvas of the open document, with its origin at the top left of the
  // printable area and device pixels as units; nullptr when no document is
  // open or the device has nothing to draw on.
  virtual TCanvas* Canvas() = 0;
};
