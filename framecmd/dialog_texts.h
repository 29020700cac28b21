// The settings dialog's fixed texts (Shift-JIS) and look, for the window
// shells. Labels are listed in the order the dialog shows them.
#pragma once

#include <cstdint>

struct TControlText {
  const char* Control;  // control name, e.g. "Label1"
  const char* Text;     // Shift-JIS
  uint32_t Color;       // text colour as 0xRRGGBB
};

inline constexpr uint32_t kTextBlack = 0x000000;
inline constexpr uint32_t kTextRed = 0xFF0000;
inline constexpr uint32_t kTextMaroon = 0x800000;

inline constexpr int kDialogClientWidth = 446;
inline constexpr int kDialogClientHeight = 377;
inline constexpr int kDialogFontHeightPx = 13;
inline constexpr uint32_t kDialogBackground = 0xFFFFFF;
inline constexpr int kEditMaxChars = 6;

extern const char kDialogCaption[];      // 用紙枠の作図（Quillmoor用）
extern const char kApplicationTitle[];   // 用紙枠の作図
extern const char kDialogFontName[];     // ＭＳ ゴシック

// Labels, the group box, the radio group's caption and the two buttons.
extern const TControlText kDialogTexts[];
extern const int kDialogTextCount;

// Looks a control's text up by name; nullptr when unknown.
const char* DialogTextOf(const char* control);

// ComboBox1: paper sizes by paper index.
extern const char* const kPaperItems[10];
// RadioGroup1 (three columns; item i at row i mod 3, column i div 3).
extern const char* const kPlacementItems[9];
inline constexpr int kPlacementColumns = 3;
