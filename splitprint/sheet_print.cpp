// Printing the sheets on the current printer: one job for all of them or
// one job per sheet. A job that cannot begin or end stops the printing and
// the user is told; a one-document job that got no page is cancelled, so
// no blank sheet comes out.
#include <algorithm>
#include <cmath>

#include "file_io.h"
#include "form1_state.h"
#include "gval.h"
#include "printer_device.h"
#include "sheet_names.h"
#include "sheet_output.h"
#include "sheet_view.h"
#include "sjis.h"
#include "unit_print.h"

void TForm1::ReportPrintFailure(TSheetOutputHost& host) {
  PrintFailed = true;
  AbortRun = true;
  host.Inform(PrintFailureText());
}

bool TForm1::PrintSheet(TSheetOutputHost& host, const std::string& sheetFile) {
  TSheetPlacement place;
  if (!LoadSheetWithinMemory(host, sheetFile, true, place)) return true;
  const int32_t width = GetPageWidthPx(), height = GetPageHeightPx();
  double scale = 0, cx = 0, cy = 0;
  if (PrintMethod == 1) {
    // Fitted as the page shows the drawing: turned.
    const TSheetView view = FitTurnedExtents(Gval.ExtentXMin, Gval.ExtentYMin, Gval.ExtentXMax, Gval.ExtentYMax,
                                             place.Angle, width, height, place.OffsetX, place.OffsetY);
    scale = view.Scale;
    cx = view.CenterX;
    cy = view.CenterY;
  } else {
    scale = width * place.Scale / GetPageWidthMm();
    cx = place.OffsetX;
    cy = place.OffsetY;
  }
  SetView(width, height, std::isfinite(scale) && scale > 0 ? scale : 1.0, cx, cy);

  bool ok = true;
  if (HasPrintableElements()) {
    const bool oneDocument = OneDocument != 0;
    if (oneDocument) {
      if (PagePrinted) ok = PrintNewPage();
    } else {
      ok = PrintBeginDoc(Utf8ToSjis("Quillmoor_") + SjisTextFromPath(FileNameOf(sheetFile)),
                         "Quillmoor_" + FileNameOf(sheetFile));
    }
    TCanvas* canvas = ok && CurrentPrinter() ? CurrentPrinter()->Canvas() : nullptr;
    if (canvas) {
      // A sheet cut short by memory: its own job is cancelled; a page of the
      // one document stays, as it cannot be taken back.
      const bool drawn = DrawSheetWithinMemory(*canvas, place.Angle);
      if (!oneDocument && drawn) ok = PrintEndDoc();
      if (!oneDocument && !drawn) PrintAbortDoc();
      if (ok && (drawn || oneDocument)) PagePrinted = true;
    } else {
      ok = false;
      if (!oneDocument) PrintAbortDoc();
    }
    if (!ok) ReportPrintFailure(host);
  }
  host.SetStatusText("");
  return ok;
}

void TForm1::PrintSheets(TSheetOutputHost& host) {
  for (size_t i = 0; i < Gval.SheetList.size(); ++i) {
    host.PumpMessages();
    if (CheckAbort()) AbortRun = true;
    if (AbortRun) break;
    const std::string sheet = Gval.SheetList[i].First;
    if (sheet.empty() || !SheetCanBeShown(sheet)) continue;
    PrintSheet(host, sheet);
    NoteShownSheet(sheet);
  }
}

bool TForm1::BeginOneDocument() {
  PrintFailed = false;
  PagePrinted = false;
  return PrintBeginDoc(Utf8ToSjis("Quillmoor 印刷"));
}

bool TForm1::EndOneDocument() {
  if (!PagePrinted) {
    PrintAbortDoc();
    return true;
  }
  return PrintEndDoc();
}

std::string TForm1::PrintedFilesNote() const {
  if (!PagePrinted || PrintFailed) return {};
  const std::string folder = GetPrintOutputFolder();
  if (folder.empty()) return {};
  return Utf8ToSjis("　PDFファイルの保存先：") + SjisTextFromPath(folder);  // shown, never opened
}
