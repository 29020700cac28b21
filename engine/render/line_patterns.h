// Lines and arcs drawn with the dash patterns of the line-type table (the
// line-width mode): dashes and gaps, or a zig-zag for the random types. The
// pattern runs on from one stroke to the next when a stroke of the same
// owner and line type starts exactly where the last one ended; that state
// lives in Gval (Dash*).
#pragma once

#include <cstdint>

#include "canvas.h"

// Forgets the last stroke: the next one starts its pattern afresh.
void ResetDashState();

// One straight stroke in drawing mm. owner is the element's layer index.
void DrawPatternLine(int32_t owner, int32_t lineType, TCanvas& canvas, double x1, double y1,
                     double x2, double y2);

// An arc (or ellipse) as 72 patterned chords, through the map
// ((a·X + b·Y + tx)/s, (c·X + d·Y + ty)/s).
void DrawPatternArc(int32_t owner, int32_t lineType, TCanvas& canvas, double cx, double cy,
                    double radius, double flatness, double tilt, double start, double sweep,
                    double tx, double ty, double a, double b, double c, double d, double s);
