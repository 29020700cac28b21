// A printer with fixed page sizes that records its print jobs.
#pragma once

#include <new>
#include <string>
#include <vector>

#include "printer_device.h"
#include "recording_canvas.h"

// A recording canvas that runs out of memory at the first element's pen while Armed.
class TOutOfMemoryCanvas : public TRecordingCanvas {
 public:
  bool Armed = false;
  void SetPenColor(int32_t c) override { Armed ? throw std::bad_alloc() : TRecordingCanvas::SetPenColor(c); }
};

class TFakePrinter : public TPrinterDevice {
 public:
  std::vector<std::string> Names{"Fake Printer"};
  int32_t Index = 0;
  int32_t Dpi[2] = {600, 600};
  int32_t Physical[2] = {4960, 7016};  // A4 portrait at 600 dpi
  int32_t Page[2] = {4800, 6800};
  std::vector<std::string> Titles;  // every document begun
  std::vector<std::string> FileTitles;  // the real names given beside them
  int32_t Pages = 0;                // pages of all documents
  bool Open = false;
  bool RefuseBegin = false;  // every BeginDoc fails
  bool FailEnd = false;      // every EndDoc fails (the document still closes)
  int32_t Aborts = 0;        // documents cancelled
  TOutOfMemoryCanvas Drawn;  // what every page got
  int32_t OutOfMemoryPage = 0;  // the page (from 1) whose drawing runs out of memory

  std::vector<std::string> PrinterNames() const override { return Names; }
  int32_t PrinterIndex() const override { return Index; }
  bool SetPrinterIndex(int32_t index) override {
    if (Open || index < -1 || index >= static_cast<int32_t>(Names.size())) return false;
    Index = index;
    return true;
  }
  int32_t DpiX() const override { return Dpi[0]; }
  int32_t DpiY() const override { return Dpi[1]; }
  int32_t PhysicalWidthPx() const override { return Physical[0]; }
  int32_t PhysicalHeightPx() const override { return Physical[1]; }
  int32_t PageWidthPx() const override { return Page[0]; }
  int32_t PageHeightPx() const override { return Page[1]; }
  bool BeginDoc(const std::string& title) override {
    if (Open || RefuseBegin) return false;
    Open = true;
    Titles.push_back(title);
    Drawn.Armed = ++Pages == OutOfMemoryPage;
    return true;
  }
  bool BeginNamedDoc(const std::string& title, const std::string& fileTitle) override {
    FileTitles.push_back(fileTitle);
    return BeginDoc(title);
  }
  bool NewPage() override {
    if (!Open) return false;
    Drawn.Armed = ++Pages == OutOfMemoryPage;
    return true;
  }
  bool EndDoc() override {
    if (!Open) return false;
    Open = false;
    return !FailEnd;
  }
  bool AbortDoc() override {
    if (!Open) return false;
    Open = false;
    ++Aborts;
    return true;
  }
  bool Printing() const override { return Open; }
  TCanvas* Canvas() override { return Open ? &Drawn : nullptr; }
};

// A physical page of whole tenths of millimetres, exact in millimetres: at
// 254 dpi one pixel is 0.1 mm.
inline void SetFakePageMm(TFakePrinter& p, double widthMm, double heightMm) {
  p.Dpi[0] = p.Dpi[1] = 254;
  p.Physical[0] = static_cast<int32_t>(widthMm * 10 + 0.5);
  p.Physical[1] = static_cast<int32_t>(heightMm * 10 + 0.5);
}
