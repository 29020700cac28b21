// Which elements belong to a sheet: the frame-contact rules per element
// kind, the sheet's layer filter and the tag texts that never go into a
// sheet, plus the paper-size code a sheet is saved with. Pure functions over
// the element records; sheet extraction (sheet_extract.cpp) applies them.
#pragma once

#include <cstdint>
#include <string>

#include "jwwtype.h"

// A frame rectangle in drawing millimetres (min <= max).
struct TSheetWindow {
  double XMin = 0, YMin = 0, XMax = 0, YMax = 0;
};

// The points an element is tested with and the segments between them; a
// point element or block insert has one point and no segments (it is tested
// as a point). A text additionally carries its box for the test "the frame
// lies inside the text".
struct TSheetShape {
  int32_t PointCount = 0;
  double X[5] = {}, Y[5] = {};
  int32_t EdgeCount = 0;
  uint8_t From[4] = {}, To[4] = {};
  bool IsTextBox = false;
  double BoxX = 0, BoxY = 0;  // start point of the text
  double BoxL = 0, BoxT = 0;  // length along the text, height across it
  double BoxAngle = 0;        // direction of the text, radians
};

TSheetShape LineShape(const TEntJwwLine& e);
// Chords between points of the ellipse: four for a full circle, else three.
TSheetShape ArcShape(const TEntJwwArc& e);
TSheetShape PointShape(double x, double y);
TSheetShape TextShape(const TEntJwwText& e);
TSheetShape SolidShape(const TEntJwwSolid& e);

// The bounds of everything the contact test of the shape looks at (for a
// text also the box of the "frame inside the text" test).
void ShapeBounds(const TSheetShape& s, double& xmin, double& ymin, double& xmax, double& ymax);

// True when the element of this shape belongs to a sheet cut from the window:
// a point strictly inside, or a segment that is not wholly outside, or a
// text box that holds the whole window.
bool ShapeTouchesWindow(const TSheetShape& s, const TSheetWindow& w);

// The print-origin tag as sheets drop it: colour 9 and 【印刷原点】 at the
// very first byte (no trimming, unlike frame detection).
bool IsPrintOriginTagAtStart(const TEntJwwText& text);

// The sheet's layer filter: the element's layer group equals the sheet's and
// the upper-case hex digit of its layer occurs in the layer list.
bool PassesLayerFilter(const TEntJwwCommon& c, int32_t layerGroup, const std::string& layerList);

// Paper-size code of a sheet of frame size w x h: the smallest landscape
// paper that holds it (0 A0 .. 4 A4, 8 2A).
int32_t SheetPaperSize(double w, double h);
