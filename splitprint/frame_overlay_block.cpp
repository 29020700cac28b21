// The drawing-frame drawing as one block definition of the working drawing:
// its display area, the block's unique name and number, the white masks
// around the display area, and the insert each saved sheet gets (the copied
// elements: frame_overlay_copy.cpp).
#include <algorithm>
#include <cmath>
#include <limits>
#include <set>
#include <unordered_set>

#include "counted_rows.h"
#include "form1_state.h"
#include "frame_detect.h"
#include "func.h"

namespace {

constexpr char kBlockSuffix[] = "@@SFIGORGFLAG@@";
constexpr int32_t kMaxNameNumber = 99999999;
constexpr uint16_t kMaskColor = 10;
constexpr uint32_t kWhite = 0xFFFFFF;

// Where the block suffix starts, found in any letter case; npos when absent.
size_t SuffixAt(const std::string& name) { return UpperAsciiSJIS(name).find(kBlockSuffix); }

std::string CutBeforeSuffix(const std::string& name) {
  const size_t at = SuffixAt(name);
  return at == std::string::npos ? name : name.substr(0, at);
}

// Where the masks' outer edges lie: the paper of the class centred on the
// origin, widened to 2 mm beyond a display area that reaches past it.
std::array<double, 4> OuterRectangle(int32_t paperClass, const std::array<double, 4>& area) {
  const TPaperClass& paper = kPaperClasses[std::clamp(paperClass, 0, 9)];
  std::array<double, 4> r{-paper.WidthMm / 2, -paper.HeightMm / 2, paper.WidthMm / 2, paper.HeightMm / 2};
  if (r[0] > area[0]) r[0] = area[0] - 2;
  if (r[1] > area[1]) r[1] = area[1] - 2;
  if (r[2] < area[2]) r[2] = area[2] + 2;
  if (r[3] < area[3]) r[3] = area[3] + 2;
  return r;
}

// A number no block definition has: one above the largest, or, when the
// largest is the last number there is, the smallest unused one.
int32_t FreeBlockNumber(const std::vector<TEntJwwBlockDef>& defs) {
  if (defs.empty()) return 0;
  int32_t largest = defs[0].Number;
  for (const TEntJwwBlockDef& d : defs) largest = std::max(largest, d.Number);
  if (largest < std::numeric_limits<int32_t>::max()) return largest + 1;
  std::set<int32_t> used;
  for (const TEntJwwBlockDef& d : defs) used.insert(d.Number);
  int32_t n = 0;
  while (used.count(n)) ++n;  // fewer definitions than numbers: ends
  return n;
}

TEntJwwBlockDef& AppendBlockDef(TJwwData& w, const std::string& name, uint16_t layer) {
  w.BlockDefs.resize(CountedRows(w.BlockDefCount, w.BlockDefs));
  const int32_t number = FreeBlockNumber(w.BlockDefs);
  TEntJwwBlockDef& b = w.BlockDefs.emplace_back();
  b.Common = TEntJwwCommon{0, 1, 2, 0, layer, layer, 0};
  b.Number = number;
  b.Referenced = 1;
  b.Time = 0;
  b.Name = name;
  b.Used = 0;
  b.NewNumber = 0;
  w.BlockDefCount = static_cast<int32_t>(w.BlockDefs.size());
  w.BlockListCount = w.BlockDefCount;
  ++w.UsedBlockDefCount;
  return b;
}

// White solids over the bands between the outer rectangle and the display
// area: top, left, right, bottom.
void AddMasks(TEntJwwBlockDefElements& b, const std::array<double, 4>& o, const std::array<double, 4>& d, uint16_t layer) {
  const double bands[4][8] = {
      {o[0], d[3], o[2], d[3], o[2], o[3], o[0], o[3]},
      {o[0], d[1], d[0], d[1], d[0], d[3], o[0], d[3]},
      {d[2], d[1], o[2], d[1], o[2], d[3], d[2], d[3]},
      {o[0], o[1], o[2], o[1], o[2], d[1], o[0], d[1]},
  };
  for (const auto& c : bands) {
    TEntJwwSolid& s = b.Solids.emplace_back();
    s.Common = TEntJwwCommon{0, 1, kMaskColor, 0, layer, layer, 0};
    s.X1 = c[0], s.Y1 = c[1], s.X2 = c[2], s.Y2 = c[3], s.X3 = c[4], s.Y3 = c[5], s.X4 = c[6], s.Y4 = c[7];
    s.Rgb = kWhite;
    b.Order.push_back(TEntJwwOrder{kKindSolid, static_cast<int32_t>(b.Solids.size() - 1)});
  }
}

void SetBlockCounts(TEntJwwBlockDefElements& b) {
  b.LineCount = static_cast<int32_t>(b.Lines.size());
  b.ArcCount = static_cast<int32_t>(b.Arcs.size());
  b.PointCount = static_cast<int32_t>(b.Points.size());
  b.TextCount = static_cast<int32_t>(b.Texts.size());
  b.DimensionCount = static_cast<int32_t>(b.Dimensions.size());
  b.SolidCount = static_cast<int32_t>(b.Solids.size());
  b.InsertCount = 0;
  b.OrderCount = static_cast<int32_t>(b.Order.size());
}

}  // namespace

bool IsDisplayAreaLine(const TEntJwwLine& l) {
  constexpr int kAreaLineType = 16;
  return l.Common.Color == kFrameColor && l.Common.LineType == kAreaLineType && l.Common.Width == kFrameLineWidth;
}

int32_t TForm1::FrameOverlayLayer() const { return PrintOrder == 2 ? 0 : 15; }

void TForm1::FindDisplayArea() {
  DisplayAreaFound = false;
  DisplayArea = {0, 0, 0, 0};
  std::vector<TZumenWakuField> frames;
  SearchDrawnFrames(FrameDrawing, IsDisplayAreaLine, frames);
  // The search lists frames in the order it closes their chains; the first is the one wanted.
  if (frames.empty()) return;
  const TZumenWakuField& first = frames.front();
  DisplayArea = {first.XMin, first.YMin, first.XMax, first.YMax};
  DisplayAreaFound = true;
}

bool TForm1::BlockNameExists(const std::string& name) const {
  const std::string cut = CutBeforeSuffix(name);
  const size_t defs = CountedRows(WorkDrawing.BlockDefCount, WorkDrawing.BlockDefs);
  for (size_t i = 0; i < defs; ++i)
    if (CutBeforeSuffix(WorkDrawing.BlockDefs[i].Name) == cut) return true;
  return false;
}

std::string TForm1::MakeUniqueBlockName(const std::string& name) const {
  const size_t at = SuffixAt(name);
  const std::string head = at == std::string::npos ? name : name.substr(0, at);
  const std::string suffix = at == std::string::npos ? std::string() : name.substr(at);
  // The cut names taken, gathered once: the same answers as asking
  // BlockNameExists for every candidate.
  std::unordered_set<std::string> taken;
  const size_t defs = CountedRows(WorkDrawing.BlockDefCount, WorkDrawing.BlockDefs);
  for (size_t i = 0; i < defs; ++i) taken.insert(CutBeforeSuffix(WorkDrawing.BlockDefs[i].Name));
  for (int32_t n = 1; n <= kMaxNameNumber; ++n) {
    const std::string candidate = head + "_" + std::to_string(n) + suffix;
    if (!taken.count(CutBeforeSuffix(candidate))) return candidate;
  }
  return std::string();
}

int32_t TForm1::FindTextSizeNo(int32_t color, double sizeX, double sizeY, double spacing) const {
  const size_t sizes = std::min<size_t>(WorkDrawing.TextSizes.size(), 10);
  for (size_t i = 0; i < sizes; ++i) {
    const TEntJwwTextSize& s = WorkDrawing.TextSizes[i];
    if (s.Color == color && std::fabs(s.Width - sizeX) <= 1e-8 && std::fabs(s.Height - sizeY) <= 1e-8 &&
        std::fabs(s.Spacing - spacing) <= 1e-8)
      return static_cast<int32_t>(i) + 1;
  }
  return 0;
}

void TForm1::BuildFrameBlock(int32_t paperClass, const std::string& name) {
  const auto layer = static_cast<uint16_t>(FrameOverlayLayer());
  TEntJwwBlockDefElements& block = AppendBlockDef(WorkDrawing, name, layer).EditElements();
  if (DisplayAreaFound) AddMasks(block, OuterRectangle(paperClass, DisplayArea), DisplayArea, layer);
  CopyFrameElements(block, layer);
  SetBlockCounts(block);
}

void TForm1::InsertFrameBlock() {
  TJwwData& w = WorkDrawing;
  const auto layer = static_cast<uint16_t>(FrameOverlayLayer());
  const size_t defs = CountedRows(w.BlockDefCount, w.BlockDefs);
  // The definition BuildFrameBlock appended last; its number is the largest
  // unless the numbers above the drawing's largest had run out.
  const int32_t number = defs > 0 ? w.BlockDefs[defs - 1].Number : 0;
  TEntJwwBlockInsert insert;
  insert.Common = TEntJwwCommon{0, 1, 2, 0, layer, layer, 0};
  insert.ScaleX = 1.0;
  insert.ScaleY = 1.0;
  insert.BlockNumber = static_cast<uint32_t>(number);
  // A row after every row of the array, also after the rows of inserts the
  // sheet dropped (they keep their places and their order items).
  FrameInsertRowsBefore = w.BlockInserts.size();
  w.BlockInserts.push_back(insert);
  const auto items = static_cast<size_t>(std::max(w.EntityOrderCount, 0));
  w.EntityOrder.resize(items);
  w.EntityOrder.push_back(TEntJwwOrder{kKindBlockInsert, static_cast<int32_t>(FrameInsertRowsBefore)});
  ++w.EntityOrderCount;
  ++w.BlockInsertCount;
}

void TForm1::MarkSheetBlockDefs() {
  // The definitions that exactly the inserts the sheet holds reach: their
  // rows gathered from the order list, for the flags only (the writer reads
  // nothing of the tree but the definitions' used flags and numbers, so the
  // drawing's tree is left as it is).
  TJwwData& w = WorkDrawing;
  std::vector<TEntJwwBlockInsert> sheetInserts;
  const size_t items = CountedRows(w.EntityOrderCount, w.EntityOrder);
  for (size_t i = 0; i < items; ++i) {
    const TEntJwwOrder& o = w.EntityOrder[i];
    if (o.Kind == kKindBlockInsert && o.Row >= 0 && static_cast<size_t>(o.Row) < w.BlockInserts.size())
      sheetInserts.push_back(w.BlockInserts[static_cast<size_t>(o.Row)]);
  }
  const int32_t count = w.BlockInsertCount;
  std::swap(sheetInserts, w.BlockInserts);
  w.BlockInsertCount = static_cast<int32_t>(w.BlockInserts.size());
  w.MarkUsedBlockDefs();
  std::swap(sheetInserts, w.BlockInserts);
  w.BlockInsertCount = count;
}

void TForm1::RemoveFrameInsert(int32_t loadedInsertCount) {
  TJwwData& w = WorkDrawing;
  --w.EntityOrderCount;
  --w.BlockInsertCount;
  w.BlockInserts.resize(FrameInsertRowsBefore);
  // The flags as the loaded drawing had them, for a later sheet saved
  // without the overlay.
  const int32_t count = w.BlockInsertCount;
  w.BlockInsertCount = loadedInsertCount;
  w.MarkUsedBlockDefs();
  w.BlockInsertCount = count;
}
