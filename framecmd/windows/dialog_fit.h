// The dialog's layout fitted to the font it is shown in: the places of
// dialog_layout.cpp are made for "ＭＳ ゴシック" of 13 px, and a Japanese face
// with wider glyphs (IPA Gothic under Wine) would cut the texts. Every
// control keeps its corner and grows to the width its text measures in the
// font; controls it then runs into on its row move right, group boxes grow
// around what they held, and the client area grows by what the controls
// outgrew it, keeping each right margin.
#pragma once

#include <windows.h>

#include <vector>

#include "dialog_ids.h"

struct TFittedDialog {
  std::vector<RECT> Controls;  // one per DialogControlPlaces() row, in its order
  RECT RadioItems[kRadioItemCount];
  int ClientWidth = 0, ClientHeight = 0;
};

TFittedDialog FitDialogToFont(HFONT font);
