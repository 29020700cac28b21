// The drawing globals shared by the engine and the split-and-print program
// for the whole run: frame and sheet lists, facts about the drawing last
// loaded, the view window and device mapping, scratch point buffers, the
// dash state of the line renderer and the Escape poll. They live in one
// struct so that a test can reset them all at once (Gval.Reset()).
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

class TgraAttribute;

// A pair of strings: rows of SheetList, ImageRenameList, TextVariables.
struct TStr2List {
  std::string First;
  std::string Second;
};

// The most sheets one paper frame holds (its sheet slots).
constexpr int32_t kMaxSheetsPerFrame = 16;

// One paper frame found in a drawing.
struct TZumenWakuField {
  int32_t Kind = 0;  // 0 drawn frame, 1 print-origin frame
  double XMin = 0, YMin = 0, XMax = 0, YMax = 0;
  int32_t NameCount = 0;
  std::array<std::string, kMaxSheetsPerFrame> Names;
  std::array<int32_t, kMaxSheetsPerFrame> NameLayerGroups{-1, -1, -1, -1, -1, -1, -1, -1,
                                                          -1, -1, -1, -1, -1, -1, -1, -1};
  std::array<std::string, kMaxSheetsPerFrame> LayerLists;
  std::array<std::string, kMaxSheetsPerFrame> OutputNames;
  // Sheet slots in use: NameCount within 0..kMaxSheetsPerFrame.
  size_t SheetSlots() const { return static_cast<size_t>(std::clamp(NameCount, 0, kMaxSheetsPerFrame)); }
  double Scale = 1.0;
  uint8_t Rotated = 0;
  int32_t PaperClass = 0;
};

struct TDevicePoint {
  int32_t x = 0, y = 0;
};

struct TWorldPoint {
  double x = 0, y = 0;
};

struct TGvalGlobals {
  int32_t SheetFrameCount = 0;
  std::vector<TZumenWakuField> SheetFrames;
  int32_t SheetCount = 0;
  std::vector<TStr2List> SheetList;
  std::string ProgramFolder;  // with trailing separator
  std::string DrawingFileName;
  std::string DrawingEditTime;
  std::string DrawingMemo1;
  std::string DrawingMemo2;
  double DrawingScale = 0;
  double PrintScale = 0;
  double DrawingFileTime = 0;  // days, as a date-time value
  double ViewXMin = 0, ViewYMin = 0;
  double ViewXMax = 0, ViewYMax = 0;
  double ViewScale = 0;  // device units per drawing millimetre
  int32_t DeviceWidth = 0;
  int32_t DeviceHeight = 0;
  double ExtentXMin = 0, ExtentYMin = 0, ExtentXMax = 0, ExtentYMax = 0;
  int32_t DevicePointCount = 0;
  std::vector<TDevicePoint> DevicePoints;
  int32_t WorldPointCount = 0;
  std::vector<TWorldPoint> WorldPoints;
  TgraAttribute* GraAttribute = nullptr;  // owned by the main window
  int32_t DashOwner = 0;
  int32_t DashLineType = 0;
  double DashEndX = 0, DashEndY = 0;
  int32_t DashSegment = 0;
  double DashConsumed = 0;
  std::vector<TStr2List> ImageRenameList;
  int32_t ImageRenameCount = 0;
  std::vector<TStr2List> TextVariables;
  int32_t TextVariableCount = 0;
  uint8_t AbortRequested = 0;
  uint8_t AbortPumpMessages = 0;
  int32_t AbortPollEnabled = 0;

  // Back to the state at program start (all zero, empty, no attribute object).
  void Reset() { *this = TGvalGlobals{}; }
};

extern TGvalGlobals Gval;

// What the main window sets at its start-up, beyond program start: the facts
// about the last drawing emptied, DrawingScale and PrintScale 1.0,
// DrawingFileTime the current time, ImageRenameList and SheetList emptied
// with their counts 0. ProgramFolder and GraAttribute are left to the caller.
void ResetDrawingGlobalsForStartup();

// A date-time value (days since 1899-12-30, local time, the fraction the
// time of day) for a POSIX time in seconds.
double DateTimeFromUnixTime(int64_t seconds);

// Device mapping: x right, y down from the top of a surface of DeviceHeight.
// Results beyond the int32 range saturate; NaN maps to 0 before the flip.
int32_t DeviceX(double x);
int32_t DeviceY(double y);

// Sets DeviceWidth/Height, ViewScale and the view window centred on (cx, cy).
void SetView(int32_t deviceWidth, int32_t deviceHeight, double scale, double cx, double cy);

// Where CheckAbort learns whether Escape is held. The engine knows no
// keyboard; the platform layer (or a test) installs a poller.
class TKeyStatePoller {
 public:
  virtual ~TKeyStatePoller() = default;
  // True while the Escape key is down at the moment of the call.
  virtual bool EscapeDown() = 0;
};

// Installs the poller (nullptr: Escape is never seen as down).
void SetKeyStatePoller(TKeyStatePoller* poller);
TKeyStatePoller* GetKeyStatePoller();

// True when Escape is down now; a press that already ended does not count.
bool CheckAbort();
