// Text drawing: one text element or dimension value text onto the canvas,
// character by character with a turned logical font, with greeking, mirrored
// texts, end signs, text variables and the in-line "^" sequences.
#pragma once

#include <cstdint>
#include <string>

#include "canvas.h"

// Style flags: 1 bold, 2 italic, 4 underline, 8 strike-out. The face and the
// text are Shift-JIS; geometry in drawing millimetres.
void DrawTextEntity(TCanvas& canvas, int32_t style, const std::string& face, double x1,
                    double y1, double x2, double y2, double h, double w, double sp,
                    const std::string& text);
