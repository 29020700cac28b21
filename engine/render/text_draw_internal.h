// Pieces of text drawing shared by its files.
#pragma once

#include <cstdint>
#include <string>

#include "canvas.h"

// Draws a text that holds "^" sequences (style, colour, raised, lowered and
// overlaid characters) from (x, y) along the angle.
void DrawTextSequences(TCanvas& canvas, int32_t style, const std::string& face, double x, double y,
                       double angle, double h, double w, double sp, const std::string& text);

// True when the text's last character is a lead byte without its trail byte.
bool EndsWithLoneLeadByte(const std::string& s);
