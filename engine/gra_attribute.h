// TgraAttribute: everything that decides how an element looks apart from its
// geometry — layer modes, pens, line types, background and the colour
// conversion for monochrome printing. One instance per run (Gval.GraAttribute);
// the application fills it before every drawing and the renderer only reads it.
//
// A plain data holder: setters ignore indexes outside their table, getters
// answer a neutral value there (mode 1, background colour, width 0, radius 0.1,
// no dashes). Colours are Windows colour values: red + 256·green + 65536·blue.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

constexpr int32_t RgbColor(int32_t r, int32_t g, int32_t b) { return r + 256 * g + 65536 * b; }

constexpr int32_t kLayerRowCount = 256;     // row = group * 16 + layer
constexpr int32_t kPenRowCount = 265;       // pens 1..9 and 101..356
constexpr int32_t kLineTypeRowCount = 50;   // types 1..9, 11..19, 31..62
constexpr int32_t kLineTypeMaxSegments = 32;

struct TjwvLayer {
  int32_t Mode = 0;  // 1 normal, 2 grey, 3 hidden
  double Scale = 0;  // 1 / the scale of the layer's group
  std::string GroupLabel;  // "[" + group hex digit + "] " + group name
  std::string LayerLabel;  // "(" + layer hex digit + ") " + layer name
};

struct TjwvPen {
  int32_t Color = 0;
  double Width = 0;        // mm
  double PointRadius = 0;  // mm
};

struct TjwvLineType {
  int32_t Count = 0;     // 0..32 segments, 0 = solid
  double Amplitude = 0;  // mm; non-zero only for the random (zig-zag) types
  std::array<double, kLineTypeMaxSegments> Segments{};  // mm: + dash, - gap
  double Period = 0;     // sum of |segment| over the first Count segments
};

class TgraAttribute {
 public:
  // Create: allocates the three tables (all zero), then Reset.
  TgraAttribute();
  // Destroy: counts 0, tables released.
  ~TgraAttribute();
  TgraAttribute(const TgraAttribute&) = default;
  TgraAttribute& operator=(const TgraAttribute&) = default;

  bool LineWidthMode = false;
  bool ColorConversion = false;
  int32_t MonoThreshold = -1;       // 0..255, -1 = no monochrome
  int32_t LightThreshold = -1;      // white-to-black for pens 1..9, -1 = off
  int32_t SxfLightThreshold = -1;   // the same for pens 101..356
  int32_t BackgroundMode = 0;       // 0 white background, 1 black
  int32_t BackgroundColor = RgbColor(255, 255, 255);
  int32_t ForegroundColor = 0;
  int32_t GrayColor = RgbColor(128, 128, 128);
  bool DrawAuxLines = false;        // not touched by Reset
  std::vector<TjwvLayer> Layers;
  int32_t LayerCount = 0;
  std::vector<TjwvPen> Pens;
  int32_t PenCount = 0;
  std::vector<TjwvLineType> LineTypes;
  int32_t LineTypeCount = 0;

  // Every field but DrawAuxLines to its start value, then all the Init* tables.
  void Reset();

  void SetLineWidthMode(bool on) { LineWidthMode = on; }
  bool GetLineWidthMode() const { return LineWidthMode; }
  void SetColorConversion(bool on, int32_t mono, int32_t light, int32_t sxfLight);

  void InitLayers();
  void InitPenColors();  // for the current background mode
  void InitPenWidths();
  void InitPointRadii();
  void InitLineTypes();

  // 0: white background, black foreground; 1: the reverse; other modes ignored.
  // The pen colours are not touched.
  void SetBackgroundMode(int32_t mode);
  int32_t GetBackgroundColor() const { return BackgroundColor; }
  void SetGrayColor(int32_t color) { GrayColor = color; }
  int32_t GetGrayColor() const { return GrayColor; }
  void SetDrawAuxLines(int32_t on) { DrawAuxLines = on != 0; }
  bool GetDrawAuxLines() const { return DrawAuxLines; }

  // Pen number to table row: 1..9 -> 0..8, 101..356 -> 9..264, else -1.
  static int32_t PenIndex(int32_t pen);
  // Line-type number to row: 1..9 -> 0..8, 11..19 -> 9..17, 31..62 -> 18..49, else -1.
  static int32_t LineTypeIndex(int32_t type);

  void SetLayer(int32_t row, int32_t mode, double scale, const std::string& groupName,
                const std::string& layerName);
  void SetLayerMode(int32_t row, int32_t mode);
  int32_t GetLayerMode(int32_t row) const;

  void SetPen(int32_t pen, int32_t color, double width, double pointRadius);
  int32_t GetPenColor(int32_t pen) const;  // with the colour conversion applied
  double GetPenWidth(int32_t pen) const;
  double GetPointRadius(int32_t pen) const;

  // Setters take table rows; getters take line-type numbers.
  void SetLineTypeCount(int32_t row, int32_t count);
  void SetLineTypeAmplitude(int32_t row, double amplitude);
  void SetLineTypeSegment(int32_t row, int32_t index, double length);
  void UpdateLineTypePeriod(int32_t row);
  int32_t GetLineTypeCount(int32_t type) const;
  double GetLineTypeAmplitude(int32_t type) const;
  // Copies the first Count segments into buffer and answers Count.
  int32_t GetLineTypeSegments(int32_t type, double* buffer) const;
  double GetLineTypePeriod(int32_t type) const;

 private:
  const TjwvPen* PenRow(int32_t pen) const;
  const TjwvLineType* LineTypeRow(int32_t type) const;
  TjwvLineType* LineTypeAtRow(int32_t row);
};
