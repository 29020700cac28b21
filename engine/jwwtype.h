// Records of one JWW drawing: the header, the layer and pen tables and the
// element kinds. Plain aligned structs; the file's bytes are read and written
// field by field (see byte_io.h), never by copying the structs whole.
// All text is Shift-JIS bytes exactly as in the file.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Element kinds as they appear in TEntJwwOrder.Kind.
enum : int32_t {
  kKindNone = 0,
  kKindLine = 1,
  kKindArc = 2,
  kKindPoint = 3,
  kKindText = 4,
  kKindDimension = 5,
  kKindSolid = 6,
  kKindBlockInsert = 7,
  kKindBlockDef = 8,  // only as a writer kind for common-part rules
};

struct TEntJwwHeader {
  std::string Signature;  // at most 8 bytes: "JwwData."
  int32_t Version = 0;
  std::string Memo;  // may hold CR LF
  int32_t PaperSize = 0;
  int32_t WriteLayerGroup = 0;
  std::array<int32_t, 5> DimensionSettings{};
  int32_t MaxDrawWidth = 0;
  uint8_t RealWidthMode = 0;   // derived by the reader
  int32_t RealWidthValue = 0;  // derived by the reader
  double PrintOriginX = 0, PrintOriginY = 0;
  double PrintScale = 1.0;
  int32_t PrintRotation = 0;
  int32_t GridMode = 0;
  double GridMinDots = 1.0;
  double GridPitchX = 1.0, GridPitchY = 1.0;
  double GridOriginX = 0, GridOriginY = 0;
  double ShadowLevel = 0;
  double ShadowLatitude = 0;
  int32_t Shadow9To15 = 0;
  double WallShadowLevel = 0;
  double SkyMapLevel = 0, SkyMapRadius = 0;
  int32_t Unit3D = 0;
  double SavedViewScale = 1.0;
  double SavedViewOriginX = 0, SavedViewOriginY = 0;
  double RangeViewScale = 1.0;
  double RangeViewOriginX = 0, RangeViewOriginY = 0;
  std::array<double, 8> JumpScale{1, 1, 1, 1, 1, 1, 1, 1};
  std::array<double, 8> JumpX{};
  std::array<double, 8> JumpY{};
  std::array<int32_t, 8> JumpLayerGroup{-1, -1, -1, -1, -1, -1, -1, -1};
  std::array<double, 3> ReservedReals1{};
  int32_t ReservedInt1 = 0;
  std::array<double, 2> ReservedReals2{};
  double TextBackgroundSize = 0;
  int32_t TextBackgroundMode = 0;
  std::array<double, 10> MultiLineDistances{};
  double BothSideDistance = 0;
  std::array<int32_t, 10> DrawSwitches{};
  int32_t SkipDisplayOnlyLayers = 0;
  int32_t DotPitchClass = 0;
  int32_t DrawingTime = 0;
  int32_t Eye3DSet = 0;
  std::array<int32_t, 3> EyeAngles{};
  double PerspectiveHeight = 0, PerspectiveDistance = 0;
  double BirdHeight = 0, BirdDistance = 0;
  double IsoAngle = 0;
  double LastLineLength = 0;
  double LastBoxWidth = 0, LastBoxHeight = 0;
  double LastCircleRadius = 0;
  int32_t SolidAnyColor = 0;
  int32_t SolidColor = 0;
  double TextWidth = 0, TextHeight = 0, TextSpacing = 0;
  int32_t TextColor = 0, TextKind = 0;
  double TextLinePitch = 0, TextLineCount = 0;
  int32_t TextShiftOn = 0;
  std::array<double, 3> TextShiftX{};
  std::array<double, 3> TextShiftY{};
};

struct TEntJwwLayerGroup {
  int32_t State = 0;  // 0 hidden, 1 display only, 2+ editable
  int32_t WriteLayer = 0;
  double Scale = 0;  // scale denominator
  int32_t Protect = 0;
  std::string Name;
};

struct TEntJwwLayer {
  int32_t State = 0;
  int32_t Protect = 0;
  std::string Name;
};

struct TEntJwwPen {
  int32_t Color = 0;
  int32_t Width = 0;
  int32_t PrintColor = 0;
  int32_t PrintWidth = 0;
  double PointRadius = 0;
};

struct TEntJwwLineType {
  int32_t Pattern = 0;
  int32_t UnitDots = 0;
  int32_t Pitch = 0;
  int32_t PrintPitch = 0;
};

struct TEntJwwRandomLine {
  int32_t Pattern = 0;
  int32_t Amplitude = 0;
  int32_t Pitch = 0;
  int32_t PrintAmplitude = 0;
  int32_t PrintPitch = 0;
};

using TEntJwwDoubleLine = TEntJwwLineType;

struct TEntJwwColorExNo {
  int32_t Color = 0;
  int32_t Width = 0;
  std::string Name;
  int32_t PrintColor = 0;
  int32_t PrintWidth = 0;
  double PointRadius = 0;
};

struct TEntJwwLineTypeExNo {
  int32_t Pattern = 0;
  int32_t UnitDots = 0;
  int32_t Pitch = 0;
  int32_t PrintPitch = 0;
  std::string Name;
  int32_t SegmentCount = 0;
  std::array<double, 10> Segments{};
};

struct TEntJwwTextSize {
  double Width = 0;
  double Height = 0;
  double Spacing = 0;
  int32_t Color = 0;
};

struct TEntJwwOrder {
  int32_t Kind = 0;  // kKindLine..kKindBlockInsert; 0 = empty row
  int32_t Row = 0;   // 0-based row in the kind's array
};

// The common part of every element: 15 bytes in files from version 351,
// 13 bytes (no Width) before.
struct TEntJwwCommon {
  uint32_t Group = 0;
  uint8_t LineType = 0;
  uint16_t Color = 0;  // pen: 1..9, 10 free solid colour, 101..356 extended
  uint16_t Width = 0;
  uint16_t Layer = 0;
  uint16_t LayerGroup = 0;
  uint16_t Flags = 0;
};

struct TEntJwwLine {
  TEntJwwCommon Common;
  double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
};

struct TEntJwwArc {
  TEntJwwCommon Common;
  double CenterX = 0, CenterY = 0;
  double Radius = 0;
  double StartAngle = 0;
  double ArcAngle = 0;
  double Tilt = 0;
  double Flatness = 0;
  uint32_t FullCircle = 0;
};

struct TEntJwwPoint {
  TEntJwwCommon Common;
  double X = 0, Y = 0;
  uint32_t Temporary = 0;
  uint32_t Code = 0;    // only with line type 100
  double Angle = 0;     // only with line type 100
  double Scale = 0;     // only with line type 100
};

struct TEntJwwText {
  TEntJwwCommon Common;
  double StartX = 0, StartY = 0, EndX = 0, EndY = 0;
  uint32_t Kind = 0;
  double SizeX = 0, SizeY = 0;
  double Spacing = 0;
  double Angle = 0;  // degrees
  std::string FontName;  // at most 255 bytes
  std::string Content;   // at most 255 bytes
};

struct TEntJwwDimension {
  TEntJwwCommon Common;
  TEntJwwLine Line;
  TEntJwwText Text;
  uint16_t SxfMode = 0;  // 0 = plain dimension; SXF part from version 420
  TEntJwwLine AuxLine1, AuxLine2;
  TEntJwwPoint Point1, Point2, AuxPoint1, AuxPoint2;
};

struct TEntJwwSolid {
  TEntJwwCommon Common;
  double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0, X3 = 0, Y3 = 0, X4 = 0, Y4 = 0;
  uint32_t Rgb = 0;  // only with pen 10
};

struct TEntJwwBlockInsert {
  TEntJwwCommon Common;
  double X = 0, Y = 0;
  double ScaleX = 0, ScaleY = 0;
  double Angle = 0;  // radians
  uint32_t BlockNumber = 0;
};

// The elements of one block definition: its order list and the seven
// element arrays with their counts.
struct TEntJwwBlockDefElements {
  int32_t OrderCount = 0;
  std::vector<TEntJwwOrder> Order;
  int32_t LineCount = 0, ArcCount = 0, PointCount = 0, TextCount = 0,
          DimensionCount = 0, SolidCount = 0, InsertCount = 0;
  std::vector<TEntJwwLine> Lines;
  std::vector<TEntJwwArc> Arcs;
  std::vector<TEntJwwPoint> Points;
  std::vector<TEntJwwText> Texts;
  std::vector<TEntJwwDimension> Dimensions;
  std::vector<TEntJwwSolid> Solids;
  std::vector<TEntJwwBlockInsert> Inserts;
};

struct TEntJwwBlockDef {
  TEntJwwCommon Common;
  int32_t Number = 0;
  int32_t Referenced = 0;
  int32_t Time = 0;
  std::string Name;
  uint8_t Used = 0;        // set by BuildBlockTree
  int32_t NewNumber = -1;  // the writer's number for a used definition

  // A file may hold millions of empty definitions: the elements are made
  // only when a definition gets some. Reading never makes them.
  const TEntJwwBlockDefElements& Elements() const { return elements_ ? *elements_ : kNoElements; }
  TEntJwwBlockDefElements& EditElements() {
    if (!elements_) elements_.reset(new TEntJwwBlockDefElements());
    return *elements_;
  }
  // Drops the elements (and their memory) altogether.
  void FreeElements() { elements_.reset(); }

 private:
  // Copied with the definition, element by element.
  struct TElementsPtr : std::unique_ptr<TEntJwwBlockDefElements> {
    TElementsPtr() = default;
    TElementsPtr(const TElementsPtr& o) : unique_ptr(o ? std::make_unique<TEntJwwBlockDefElements>(*o) : nullptr) {}
    TElementsPtr(TElementsPtr&&) noexcept = default;
    TElementsPtr& operator=(TElementsPtr o) noexcept {
      swap(o);
      return *this;
    }
  };
  static inline const TEntJwwBlockDefElements kNoElements{};
  TElementsPtr elements_;
};

// One flattened block insert occurrence: maps a definition point (x, y) to
// (OriginX + M11*x + M12*y, OriginY + M21*x + M22*y) in the drawing.
struct TEntJwwBlockTree {
  TEntJwwCommon Common;
  int32_t Level = 0;
  int32_t Parent = -1;
  int32_t BlockNumber = 0;
  int32_t DefRow = -1;  // the definition's name is BlockDefs[DefRow].Name
  double OriginX = 0, OriginY = 0;
  double M11 = 1, M12 = 0, M21 = 0, M22 = 1;
};
