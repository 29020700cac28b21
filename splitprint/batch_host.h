// What the batch needs from the main window: the status bar, message boxes,
// the print-order dialog, the preview and printing of the sheets, the
// Escape key and the message pump. The Qt window implements it; tests run
// the whole batch with a fake.
#pragma once

#include <string>

class TForm1;

class TBatchHost {
 public:
  virtual ~TBatchHost() = default;

  // Status bar text (Shift-JIS), repainted at once.
  virtual void SetStatusText(const std::string& text) = 0;
  // Confirmation with Yes and No: true unless the answer is No.
  virtual bool Confirm(const std::string& text) = 0;
  // Information box with OK.
  virtual void Inform(const std::string& text) = 0;
  // The close and start buttons, disabled while a run is in progress.
  virtual void SetRunButtonsEnabled(bool enabled) = 0;
  // Takes the print-settings tab into the form's print fields.
  virtual void ReadPrintOptions(TForm1& form) = 0;
  // The modal print-order dialog over Gval.SheetList (rows move together
  // with form.SheetRowKinds); true when its Stop was pressed.
  virtual bool ShowOrderDialog(TForm1& form) = 0;
  // Renders and shows the sheets of Gval.SheetList; may set form.BackToOrder
  // or form.AbortRun.
  virtual void PreviewSheets(TForm1& form) = 0;
  // Prints the sheets of Gval.SheetList in order; may set form.AbortRun.
  virtual void PrintSheets(TForm1& form) = 0;
  // True while Escape is held down.
  virtual bool EscapeHeld() = 0;
  // Handles the pending window messages once (a close request arrives here).
  virtual void PumpMessages() = 0;
};
