// The paper-frame convention: tag texts, and drawn paper frames, rectangles
// of frame lines (colour 9, line type 19, width 200) whose end points meet in
// a closed chain horizontal, vertical, horizontal, vertical, with the order
// in which frames are numbered. Both
// programs find and number frames through this code, so the numbers the
// paper-frame command writes are the order of the sheets the split-and-print
// program saves. Plain C++; builds for Linux and for Windows.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Tag texts (Shift-JIS) in colour 9: a sheet name, its layer list, a print
// origin.
inline constexpr char kSheetNameTag[] = "\x81\x79\x96\xBC\x81\x7A";  // 【名】
inline constexpr char kLayerListTag[] = "\x81\x79\x82\x6B\x81\x7A";  // 【Ｌ】
inline constexpr char kPrintOriginTag[] =
    "\x81\x79\x88\xF3\x8D\xFC\x8C\xB4\x93\x5F\x81\x7A";  // 【印刷原点】

// The characters a sheet name may not hold: , . \ / [ ] | blank ' " + * < > ?
// ~ (single-byte characters only).
inline constexpr char kForbiddenSheetNameChars[] = ",.\\/[]| '\"+*<>?~";
// True when the text holds one of them. Tested character by character: a
// double-byte character whose trail byte has the same value (ソ = 0x83 0x5C,
// 表 = 0x95 0x5C) is an ordinary character of the name.
bool HasForbiddenSheetNameChar(const std::string& text);

// Attributes of frame lines: pen colour 9, line type 19, width 200.
inline constexpr int kFrameColor = 9;
inline constexpr int kFrameLineType = 19;
inline constexpr int kFrameLineWidth = 200;
// Two end points meet when they differ by at most this much in x and in y.
inline constexpr double kMeetTolerance = 1e-8;

struct TFrameRect {
  double XMin = 0, YMin = 0, XMax = 0, YMax = 0;
};

// One row of the frame finder's working lists: the 1-based number of the
// frame that took the line (0 = not taken) and its coordinates as stored.
struct TFrameLine {
  int32_t Taken = 0;
  double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
};

// Horizontal: |x1 - x2| >= 1 and |y1 - y2| <= 1e-8. Vertical: the other way.
bool IsHorizontalFrameLine(double x1, double y1, double x2, double y2);
bool IsVerticalFrameLine(double x1, double y1, double x2, double y2);

// The chain search over the working lists: appends one rectangle per closed
// chain (horizontal, vertical, horizontal, vertical) to frames and marks the
// four lines taken with the frame's number (frames.size() after the
// append). Chains start only at the second end of a horizontal line and
// take the first match in list order at every step, going back to the next
// candidate of the step before when a step finds nothing. stop, when given,
// is asked before each chain is sought; when it answers true the search ends
// there (the frames found so far stay) and the result is false.
bool SearchFrameChains(std::vector<TFrameLine>& horizontal, std::vector<TFrameLine>& vertical,
                       std::vector<TFrameRect>& frames, const std::function<bool()>& stop = {});

// Orders frames by their cell keys for the numbering direction (0 rows
// first, top row first, left to right; other values columns first), giving
// exactly the order of a selection sort that exchanges the rectangle of row
// i with that of the best row after each scan.
void OrderFramesByNumbering(std::vector<TFrameRect>& frames, int32_t direction);
