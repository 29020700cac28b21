// The paper-frame convention inside a drawing and the building blocks of
// frame detection that other parts of the program (sheet extraction, the
// drawing-frame overlay) and the tests use. The TForm1 methods that run the
// whole detection are declared in form1_state.h.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "frame_chain.h"
#include "gval.h"
#include "jwwtype.h"

// A line of colour 9, line type 19 and width 200 (any layer).
bool IsFrameLine(const TEntJwwLine& line);
// A line of a drawing-frame drawing's display area: colour 9, line type 16,
// width 200 (frame_overlay_block.cpp).
bool IsDisplayAreaLine(const TEntJwwLine& line);
// Colour 9, kind a multiple of 100, content starting with 【名】 at byte 1.
bool IsSheetNameTag(const TEntJwwText& text);

// The frame-line search and the numbering order of frame_chain.h over the
// frame list's records: new frames are appended with kind 0 and numbered
// after those already in the list; ordering exchanges only the rectangles.
// stop as in frame_chain.h.
bool SearchFrameChains(std::vector<TFrameLine>& horizontal, std::vector<TFrameLine>& vertical,
                       std::vector<TZumenWakuField>& frames, const std::function<bool()>& stop = {});
void OrderFramesByNumbering(std::vector<TZumenWakuField>& frames, int32_t direction);

class TJwwData;
// Rectangles drawn in the drawing with the lines isFrameLine accepts (paper
// frames, or a drawing-frame drawing's display area), appended to frames in
// the order the search closes them. False when stop ended the search.
bool SearchDrawnFrames(const TJwwData& drawing, bool (*isFrameLine)(const TEntJwwLine&),
                       std::vector<TZumenWakuField>& frames, const std::function<bool()>& stop = {});

// Paper classes 0..9: A0..A4 landscape, then A0..A4 portrait.
struct TPaperClass {
  const char* Name;  // Shift-JIS, e.g. "Ａ０横"
  double WidthMm;
  double HeightMm;
};
extern const TPaperClass kPaperClasses[10];

// The class of a frame of the given size (the smallest paper that holds it).
int32_t PaperClassOf(double width, double height);
