// The dialog's font: the face the layout was made for, else the first
// Japanese face the system has, so the texts never fall back to glyphs
// without kana and kanji.
#pragma once

#include <windows.h>

HFONT CreateDialogFont(const wchar_t* preferredFace, int pixelHeight);
