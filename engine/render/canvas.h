// The one surface every drawing routine of the engine draws through: the
// preview bitmap, a printer page, a thumbnail or a test's recorder. Device
// units are pixels of the target, x to the right, y downwards. Colours are
// Windows colour values (red + 256·green + 65536·blue), texts Shift-JIS.
//
// The engine knows no toolkit: the Qt implementation lives in platform/,
// the recording one in tests/support/. The names follow the canvas of the
// drawing routines (pen styles ps*, brush styles bs*).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "gval.h"  // TDevicePoint

enum TPenStyle : int32_t { psSolid = 0, psDot = 1 };

// In this order, values 0..7.
enum TBrushStyle : int32_t {
  bsSolid = 0,
  bsClear = 1,
  bsHorizontal = 2,
  bsVertical = 3,
  bsFDiagonal = 4,
  bsBDiagonal = 5,
  bsCross = 6,
  bsDiagCross = 7,
};

// A logical font as the text routines fill it. Heights and widths are device
// units (width 0: the face's own proportions), escapement tenths of a degree
// counter-clockwise.
struct TLogFont {
  int32_t Height = 0;
  int32_t Width = 0;
  int32_t Escapement = 0;
  int32_t Weight = 400;  // 700 = bold
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;
  std::string FaceName;  // Shift-JIS, at most 31 bytes
};

// Cuts a face name to the 31 bytes a logical font holds (on a character
// boundary, so no half character reaches the font matcher).
std::string CutFaceName(const std::string& face);

// An image loaded by a canvas: a raster or a metafile, sized in pixels.
class TCanvasImage {
 public:
  virtual ~TCanvasImage() = default;
  virtual int32_t Width() const = 0;
  virtual int32_t Height() const = 0;
};

struct TDeviceRect {
  int32_t Left = 0, Top = 0, Width = 0, Height = 0;
};

class TCanvas {
 public:
  virtual ~TCanvas() = default;

  // Pen: colour, width in device units (0 = one-pixel hairline), style.
  virtual void SetPenColor(int32_t color) = 0;
  virtual int32_t PenColor() const = 0;
  virtual void SetPenWidth(int32_t width) = 0;
  virtual int32_t PenWidth() const = 0;
  virtual void SetPenStyle(TPenStyle style) = 0;

  virtual void SetBrushColor(int32_t color) = 0;
  virtual void SetBrushStyle(TBrushStyle style) = 0;

  // Strokes with the current pen.
  virtual void MoveTo(int32_t x, int32_t y) = 0;
  virtual void LineTo(int32_t x, int32_t y) = 0;
  virtual void Polyline(const TDevicePoint* points, size_t count) = 0;
  // Filled with the current brush (odd-even), outlined with the current pen.
  virtual void Polygon(const TDevicePoint* points, size_t count) = 0;

  // Vector devices (PDF, printers) dash strokes themselves: one path with
  // its pattern instead of a stroke per dash. DrawsDashes says whether
  // DashedPolyline may be called; bitmaps and recorders answer false and
  // get the dashes one by one.
  virtual bool DrawsDashes() const { return false; }
  // A polyline with the current pen, dashed by the device: dashes holds the
  // lengths of dash, gap, dash, gap ... in device units (an even count), and
  // the polyline starts phase units into that pattern.
  virtual void DashedPolyline(const TDevicePoint* /*points*/, size_t /*count*/, const double* /*dashes*/,
                              size_t /*dashCount*/, double /*phase*/) {}

  // Text: the font stays until replaced; the text colour is separate from
  // the pen's. TextOut puts the upper-left corner of the first character's
  // cell on (x, y), turned by the font's escapement about that point; with a
  // solid brush the cell is filled with the brush colour first.
  virtual void SetFont(const TLogFont& font) = 0;
  virtual void SetFontColor(int32_t color) = 0;
  virtual void TextOut(int32_t x, int32_t y, const std::string& text) = 0;

  // Images. LoadImage takes a native (UTF-8) path and answers nullptr when
  // the file is not an image the canvas can read. DrawImage draws the source
  // rectangle (image pixels) into the destination rectangle (device units),
  // turned by angleDegrees counter-clockwise on the page about the device
  // point (pivotX, pivotY); source pixels beyond the image stay undrawn.
  virtual std::unique_ptr<TCanvasImage> LoadImage(const std::string& nativePath) = 0;
  virtual void DrawImage(const TCanvasImage& image, const TDeviceRect& destination,
                         const TDeviceRect& source, double angleDegrees,
                         int32_t pivotX, int32_t pivotY) = 0;
};

