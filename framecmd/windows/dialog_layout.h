// Where the settings dialog's controls sit in its 446 x 377 client area and
// what kind of window each is. Their texts and colours are the core's
// (dialog_texts.h), looked up by control name.
#pragma once

#include <windows.h>

#include <span>

enum class TControlKind { Label, ComboBox, GroupBox, Edit, Button, DefaultButton };

struct TControlPlace {
  int Id;
  const char* Name;  // the core's control name
  TControlKind Kind;
  int X, Y, W, H;
};

std::span<const TControlPlace> DialogControlPlaces();

// Cell of radio item i: row i mod 3, column i div 3.
RECT RadioItemRect(int item);
