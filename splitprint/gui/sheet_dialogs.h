// The run's dialogs after the sheet loop, as the main window calls them:
// the print order, the sheet preview and the printing of the sheets.
#pragma once

#include <functional>
#include <string>

class QWidget;
class TForm1;

// Modal print-order dialog over Gval.SheetList; true when Stop was pressed.
bool ShowPrintOrderDialog(QWidget* parent, TForm1& form);
// Renders and shows the sheets; may set form.BackToOrder or form.AbortRun.
void ShowSheetPreview(QWidget* parent, TForm1& form);
// Prints the sheets of Gval.SheetList in order; may set form.AbortRun.
void PrintSheetList(QWidget* parent, TForm1& form);

// Where the preview and the printing put their status texts (Shift-JIS).
// Unset, they go to the status bar of the parent's window, repainted at once.
void SetSheetStatusSink(std::function<void(const std::string&)> sink);
