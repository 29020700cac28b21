// The interface state of the paper-frame command: everything read from
// Jw_cad's interface file "JWC_TEMP.TXT" (attributes, indicated points,
// selected elements) and the writer's output queue with its last emitted
// attributes. Text is Shift-JIS bytes throughout. No toolkit, no OS calls.
#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "jwc_line_rows.h"

// Eight words at the start of every element record.
struct TJwwEntHeader {
  int32_t HhpValue = 0;
  int32_t LayerGroup = 0;
  int32_t Layer = 0;
  int32_t Color = 0;  // text: colour of its text type; point: point code
  int32_t LineType = 0;
  int32_t LineWidth = 0;
  int32_t PendingFlags = 0;  // z1..z5 since the last element
  int32_t KindWord = 0;      // line: "pl" group; text: sub-kind; kinds 9..15: extended colour
  bool operator==(const TJwwEntHeader&) const = default;
};

struct TJwwEntLine {  // kind 1
  TJwwEntHeader Header;
  double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
};
struct TJwwEntCircle {  // kind 2
  TJwwEntHeader Header;
  double X = 0, Y = 0, R = 0;
};
struct TJwwEntArc {  // kind 3
  TJwwEntHeader Header;
  double V[7] = {};
};
struct TJwwEntText {  // kind 4
  TJwwEntHeader Header;
  int32_t CcValue = 0;
  int32_t TextType = 0;
  double Width = 0, Height = 0, Spacing = 0;
  double X = 0, Y = 0, DX = 0, DY = 0;
  std::string Font;  // at most 255 bytes, cut on a character boundary
  std::string Text;  // likewise
};
struct TJwwEntPoint {  // kind 5
  TJwwEntHeader Header;
  double X = 0, Y = 0;
};
struct TJwwEntPoint6 {  // kind 6
  TJwwEntHeader Header;
  double X = 0, Y = 0, A = 0, B = 0;
  int32_t N = 0;
};
struct TJwwEntMsg {  // kind 7: the held line, then a text of sub-kind 2
  TJwwEntHeader Header;
  TJwwEntLine Line;
  TJwwEntText Text;
};
struct TJwwEntBlk {  // kind 8
  TJwwEntHeader Header;
  double X = 0, Y = 0;
  std::string Name;
};
struct TJwwEntSl2 {  // kind 9
  TJwwEntHeader Header;
  double V[4] = {};
};
struct TJwwEntSl3 {  // kind 10
  TJwwEntHeader Header;
  double V[6] = {};
};
struct TJwwEntSl4 {  // kind 11
  TJwwEntHeader Header;
  double V[8] = {};
};
struct TJwwEntS7 {  // kinds 12 ("sc") and 13 ("se")
  TJwwEntHeader Header;
  double V[7] = {};
  int32_t N = 0;
};
struct TJwwEntS8 {  // kinds 14 ("so") and 15 ("sg")
  TJwwEntHeader Header;
  double V[8] = {};
};

// One indicated point ("hp" lines), rows 1..99 of a table of 100.
struct THpPoint {
  bool Used = false;
  double X = 0, Y = 0;
  int32_t Kind = 0;  // 0 plain, 1 "-", 2 "ln", 3 "ci", 4 "ch"
};

struct TTextTypeEntry {
  double Width = 3.0, Height = 3.0, Spacing = 0;
  int32_t Color = 2;
};

struct TFreeTextSize {
  double Width = 2.0, Height = 2.0, Spacing = 0;
  int32_t Color = 1;
  bool operator==(const TFreeTextSize&) const = default;
};

struct TEntityOrderItem {
  int32_t Kind = 0;  // 1..15
  int32_t Row = 0;   // 0-based row within that kind's list
};

// One queued output line. JoinsNext marks the keyword part of a text command:
// the entry after it (the text itself) is written on the same line.
struct TOutputEntry {
  std::string Text;
  bool JoinsNext = false;
};

inline constexpr char kDefaultFont[] = "<\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E>";  // <ＭＳ ゴシック>

struct TJwcData {
  std::string DrawingFile;
  double HkValue = 0;
  double GroupScales[16] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
  double PaperWidth = 1189, PaperHeight = 841;
  TTextTypeEntry TextTypes[10];  // text types 1..10
  bool BzSeen = false;
  double HnValues[4] = {};

  int32_t FirstLayerGroup = 0, FirstLayer = 0, FirstColor = 1, FirstLineType = 1, FirstLineWidth = 0,
          FirstTextType = 1;
  TFreeTextSize FirstFreeText;
  std::string FirstFont;

  THpPoint Points[100];
  int32_t PointCount = 0;
  int32_t GroupStates[16] = {};
  std::string GroupNames[16];
  int32_t LayerStates[256] = {};
  std::string LayerNames[256];
  int32_t HhpValue = 0;

  // Current attributes: the reader's running state, then the writer's last
  // emitted values.
  int32_t CurGroup = 0, CurLayer = 0, CurColor = 1, CurLineType = 1, CurLineWidth = 0, CurTextType = 1;
  TFreeTextSize CurFreeText;
  int32_t CurCc = 0;
  std::string CurFont = kDefaultFont;

  int32_t PendingFlags = 0;
  int32_t PlCounter = 0;
  bool PlMode = false, MsgMode = false;
  int32_t PointCode = 1;
  int32_t ExtColor = 0;
  TJwwEntLine HeldLine;  // set by InitJwcData

  // Cleared by the first line of each: lg, ly, lc, lt, lw, cn.
  bool FirstGroupLine = true, FirstLayerLine = true, FirstColorLine = true, FirstLineTypeLine = true,
       FirstLineWidthLine = true, FirstTextTypeLine = true;

  // The element lists grow a block at a time: a list of millions never
  // stands twice in memory while it is moved to a larger array. The lines,
  // the one list Tollwick searches, are held compactly and read by value.
  template <class T>
  using Rows = std::deque<T>;
  Rows<TEntityOrderItem> EntityOrder;
  TJwcLineRowsOf<TJwwEntLine> Lines;
  Rows<TJwwEntCircle> Circles;
  Rows<TJwwEntArc> Arcs;
  Rows<TJwwEntText> Texts;
  Rows<TJwwEntPoint> Points3;
  Rows<TJwwEntPoint6> Points6;
  Rows<TJwwEntMsg> Msgs;
  Rows<TJwwEntBlk> Blocks;
  Rows<TJwwEntSl2> Sl2;
  Rows<TJwwEntSl3> Sl3;
  Rows<TJwwEntSl4> Sl4;
  Rows<TJwwEntS7> Sc, Se;
  Rows<TJwwEntS8> So, Sg;

  // Writer: the output queue and the must-emit flags of its emitters.
  std::vector<TOutputEntry> Output;
  bool MustGroup = true, MustLayer = true, MustColor = true, MustLineType = true, MustLineWidth = true,
       MustTextType = true, MustCc = true, MustFont = true;
};

// Every field to its default; element lists, order list and queue emptied.
void InitJwcData(TJwcData& d);
// Reads the file line by line (lines end at LF, CR LF or CR). False when the
// file cannot be opened (nothing read) or a read error stops it (what was
// parsed stays).
bool ReadJwcFile(TJwcData& d, const std::filesystem::path& path);
// Tokenises one line (without its line end) and applies it.
void ParseJwcLine(TJwcData& d, const std::string& line);
void FreeJwcData(TJwcData& d);

// Number of elements of kind 1..15 read so far (0 for any other kind).
size_t ElementCount(const TJwcData& d, int32_t kind);

// The tokens of one line: at most 32; a line of one empty token has none.
struct TJwcTokens {
  std::string T[32];
  size_t N = 0;
  size_t size() const { return N; }
  const std::string& operator[](size_t i) const { return T[i]; }
};
// The tokeniser on its own; the strings of tokens are reused.
void TokenizeJwcLine(const std::string& line, TJwcTokens& tokens);
std::vector<std::string> TokenizeJwcLine(const std::string& line);
