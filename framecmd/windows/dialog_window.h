// The settings dialog as a plain Win32 window over the core's dialog state:
// it shows what it is given and hands back what the user chose.
#pragma once

#include <string>

struct TDialogValues {
  int Left = 100, Top = 100;  // outer top-left corner of the window
  int PaperIndex = 0, PlacementIndex = 0;
  std::wstring Width, Height, Spacing;  // the three edits' texts
};

// Shows the dialog (minimised when asked) and runs its message loop until it
// closes. Answers true when OK closed it, with the chosen values in result.
bool RunSettingsDialog(const TDialogValues& initial, bool minimised, TDialogValues& result);
