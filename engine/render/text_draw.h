// Text drawing: one text element or dimension value text onto the canvas,
// character by character with a turned logical font, with greeking, mirrored
// texts, end signs, text variables and the in-line "^" sequences.
#pragma once

#include <cstdint>
#include <string>

#include "canvas.h"

// Style flags: 1 bold, 2 italic, 4 underline, 8 strike-out. The face and the
// text are Shift-JIS; geometry in drawing millimetres, angles in radians.
//
// Text geometry: baseline from (x1, y1) to (x2, y2); h the height; w the
// width of a full-width character (a one-byte character is w/2 wide); sp the
// gap after a full-width character (sp/2 after a one-byte one).
void DrawTextEntity(TCanvas& canvas, int32_t style, const std::string& face, double x1,
                    double y1, double x2, double y2, double h, double w, double sp,
                    const std::string& text);

// One run of text in one style from (x, y) along the angle: a new font for
// the run (colour from the pen, clear brush), then one piece per character.
// A face beginning "@@" draws the run turned half a turn, one cell further.
void DrawTextString(TCanvas& canvas, int32_t style, const std::string& face, double x, double y,
                    double angle, double h, double w, double sp, const std::string& text);

// One character with its cell's lower-left corner at (x, y) (a negative h
// hangs the cell from the point), drawn only when a corner of the cell lies
// inside the view window.
void DrawTextPiece(TCanvas& canvas, double x, double y, double h, double w, double angle,
                   const std::string& piece);
