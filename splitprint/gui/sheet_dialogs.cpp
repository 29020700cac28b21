// Placeholder bodies until the dialogs are written.
#include "sheet_dialogs.h"

bool ShowPrintOrderDialog(QWidget*, TForm1&) { return false; }
void ShowSheetPreview(QWidget*, TForm1&) {}
void PrintSheetList(QWidget*, TForm1&) {}
