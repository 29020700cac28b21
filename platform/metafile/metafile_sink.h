// What the metafile players draw through: shapes, texts and images in the
// picture's own pixels (its frame at 96 dpi, origin at the frame's upper-left
// corner, y downwards). The players know no toolkit; the Qt painter sink
// lives in platform/, a recording sink keeps a played picture for later.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct TMetaPoint {
  double X = 0, Y = 0;
};

struct TMetaColor {
  uint8_t R = 0, G = 0, B = 0;
  bool operator==(const TMetaColor&) const = default;
};

enum class TMetaPenStyle : uint8_t { Solid, Dash, Dot, DashDot, DashDotDot, Null };
enum class TMetaCap : uint8_t { Round, Square, Flat };
enum class TMetaJoin : uint8_t { Round, Bevel, Miter };

struct TMetaPen {
  TMetaPenStyle Style = TMetaPenStyle::Solid;
  double Width = 0;  // picture pixels; 0 = a one-pixel hairline on any target
  TMetaColor Color;
  TMetaCap Cap = TMetaCap::Round;
  TMetaJoin Join = TMetaJoin::Round;
};

// Hatches as Windows numbers them (horizontal, vertical, forward diagonal
// "\\", backward diagonal "/", cross, diagonal cross).
enum class TMetaHatch : uint8_t { Horizontal, Vertical, FDiagonal, BDiagonal, Cross, DiagCross };
enum class TMetaBrushStyle : uint8_t { Null, Solid, Hatched, Pattern };

struct TMetaPixels;

struct TMetaBrush {
  TMetaBrushStyle Style = TMetaBrushStyle::Solid;
  TMetaColor Color{255, 255, 255};
  TMetaHatch Hatch = TMetaHatch::Horizontal;
  std::shared_ptr<const TMetaPixels> Pattern;  // tiled on the target's pixels
  // The gaps between hatch lines: filled with Background when opaque.
  bool OpaqueBackground = false;
  TMetaColor Background{255, 255, 255};
};

struct TMetaFigure {
  std::vector<TMetaPoint> Points;
  bool Closed = false;
};

struct TMetaShape {
  std::vector<TMetaFigure> Figures;
  bool Fill = false;    // closed figures filled with the brush
  bool Stroke = true;   // figures outlined with the pen
  bool Winding = false; // fill rule: winding, else odd-even
};

enum class TMetaHAlign : uint8_t { Left, Center, Right };
enum class TMetaVAlign : uint8_t { Top, Baseline, Bottom };

struct TMetaFont {
  double Height = 0;          // picture pixels
  bool CellHeight = false;    // Height is the cell (ascent + descent), else the em
  double Width = 0;           // average character width; 0 = the face's own
  double EscapementDegrees = 0;  // counter-clockwise on the picture
  int32_t Weight = 400;
  bool Italic = false, Underline = false, StrikeOut = false;
  std::string Face;  // UTF-8
};

struct TMetaText {
  TMetaPoint Origin;  // the reference point the alignment refers to
  std::string Utf8;
  TMetaFont Font;
  TMetaColor Color;
  TMetaHAlign HAlign = TMetaHAlign::Left;
  TMetaVAlign VAlign = TMetaVAlign::Top;
  bool OpaqueBackground = false;
  TMetaColor Background{255, 255, 255};
};

// Decoded pixels, 0xAARRGGBB per pixel, rows top down.
struct TMetaPixels {
  int32_t Width = 0, Height = 0;
  std::vector<uint32_t> Argb;
};

// A source rectangle of the pixels drawn onto the parallelogram spanned by
// TopLeft, TopRight and BottomLeft.
struct TMetaImage {
  std::shared_ptr<const TMetaPixels> Pixels;
  double SourceX = 0, SourceY = 0, SourceWidth = 0, SourceHeight = 0;
  TMetaPoint TopLeft, TopRight, BottomLeft;
};

// Clipping as steps applied in order to the whole plane: each keeps the
// inside of the union of its figures, or with Exclude the outside. No
// steps: no clipping.
struct TMetaClipStep {
  std::vector<TMetaFigure> Figures;
  bool Exclude = false;
};
using TMetaClip = std::vector<TMetaClipStep>;

class TMetafileSink {
 public:
  virtual ~TMetafileSink() = default;
  virtual void Shape(const TMetaShape& shape, const TMetaPen& pen, const TMetaBrush& brush) = 0;
  virtual void Text(const TMetaText& text) = 0;
  virtual void Image(const TMetaImage& image) = 0;
  // Applies to everything drawn after it, until the next.
  virtual void Clip(const TMetaClip& /*clip*/) {}
  // Asked before a player decodes pixels or builds large shapes: false makes
  // it skip them (a recording keeps within its memory budget this way).
  virtual bool HasRoomFor(size_t /*bytes*/) const { return true; }
  // What a player keeps for itself while it plays comes out of the same
  // room (see TRoomCharge): false, and nothing taken, when there is none.
  virtual bool Hold(size_t bytes) { return HasRoomFor(bytes); }
  virtual void Release(size_t /*bytes*/) {}
};

// A player's answer: the picture's size in pixels, or not a picture at all.
struct TMetafileSize {
  int32_t Width = 0, Height = 0;
};
