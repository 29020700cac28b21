// The drawing-frame drawing as one block definition of the working drawing:
// its display area, the block's unique name, the white masks around the
// display area, the copied elements, and the insert each saved sheet gets.
#include <algorithm>
#include <cmath>
#include <unordered_set>

#include "counted_rows.h"
#include "form1_state.h"
#include "frame_detect.h"
#include "func.h"

namespace {

constexpr char kBlockSuffix[] = "@@SFIGORGFLAG@@";
constexpr int32_t kMaxNameNumber = 99999999;
constexpr int kAreaLineType = 16;  // the display area: colour 9, line type 16, width 200
constexpr uint16_t kMaskColor = 10;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr char kImageTextPrefix[] = "^@BM";

// Where the block suffix starts, found in any letter case; npos when absent.
size_t SuffixAt(const std::string& name) { return UpperAsciiSJIS(name).find(kBlockSuffix); }

std::string CutBeforeSuffix(const std::string& name) {
  const size_t at = SuffixAt(name);
  return at == std::string::npos ? name : name.substr(0, at);
}

bool IsAreaLine(const TEntJwwLine& l) {
  return l.Common.Color == kFrameColor && l.Common.LineType == kAreaLineType && l.Common.Width == kFrameLineWidth;
}

bool IsImageText(const TEntJwwText& t) { return t.Content.rfind(kImageTextPrefix, 0) == 0; }

// Skip rules of the copy, on the frame drawing's layer tables.
class CopyFilter {
 public:
  CopyFilter(const TJwwData& f, bool hidden, bool aux) : f_(f), hidden_(hidden), aux_(aux) {}

  bool Skip(const TEntJwwCommon& c, bool lineKind) const {
    if (!hidden_ && OnHiddenLayer(c)) return true;
    if (!aux_ && (c.Color == 9 || (lineKind && c.LineType == 9))) return true;
    return false;
  }

 private:
  bool OnHiddenLayer(const TEntJwwCommon& c) const {
    const size_t g = std::min<size_t>(c.LayerGroup, 15), l = std::min<size_t>(c.Layer, 15);
    if (g < f_.LayerGroups.size() && f_.LayerGroups[g].State == 0) return true;
    return g * 16 + l < f_.Layers.size() && f_.Layers[g * 16 + l].State == 0;
  }

  const TJwwData& f_;
  bool hidden_, aux_;
};

void PutOnLayer(TEntJwwCommon& c, uint16_t layer) {
  c.Group = 0;
  c.LayerGroup = layer;
  c.Layer = layer;
}

}  // namespace

int32_t TForm1::FrameOverlayLayer() const { return PrintOrder == 2 ? 0 : 15; }

void TForm1::FindDisplayArea() {
  DisplayAreaFound = false;
  DisplayArea = {0, 0, 0, 0};
  std::vector<TZumenWakuField> frames;
  SearchDrawnFrames(FrameDrawing, IsAreaLine, frames);
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
  TJwwData& w = WorkDrawing;
  const TJwwData& f = FrameDrawing;
  const auto layer = static_cast<uint16_t>(FrameOverlayLayer());
  const TPaperClass& paper = kPaperClasses[std::clamp(paperClass, 0, 9)];
  const double* d = DisplayArea.data();  // x min, y min, x max, y max
  double x1 = -paper.WidthMm / 2, y1 = -paper.HeightMm / 2, x2 = paper.WidthMm / 2, y2 = paper.HeightMm / 2;
  if (x1 > d[0]) x1 = d[0] - 2;
  if (y1 > d[1]) y1 = d[1] - 2;
  if (x2 < d[2]) x2 = d[2] + 2;
  if (y2 < d[3]) y2 = d[3] + 2;

  const size_t defs = CountedRows(w.BlockDefCount, w.BlockDefs);
  int32_t number = 0;
  for (size_t i = 0; i < defs; ++i) number = std::max(number, w.BlockDefs[i].Number + 1);
  w.BlockDefs.resize(defs);
  TEntJwwBlockDef& b = w.BlockDefs.emplace_back();
  b.Common = TEntJwwCommon{0, 1, 2, 0, layer, layer, 0};
  b.Number = number;
  b.Referenced = 1;
  b.Time = 0;
  b.Name = name;
  b.Used = 0;
  b.NewNumber = 0;
  w.BlockDefCount = static_cast<int32_t>(defs) + 1;
  w.BlockListCount = w.BlockDefCount;
  ++w.UsedBlockDefCount;

  auto order = [&b](int32_t kind, size_t row) { b.Order.push_back(TEntJwwOrder{kind, static_cast<int32_t>(row)}); };
  if (DisplayAreaFound) {
    const double bands[4][8] = {
        {x1, d[3], x2, d[3], x2, y2, x1, y2},        // top
        {x1, d[1], d[0], d[1], d[0], d[3], x1, d[3]},  // left
        {d[2], d[1], x2, d[1], x2, d[3], d[2], d[3]},  // right
        {x1, y1, x2, y1, x2, d[1], x1, d[1]},        // bottom
    };
    for (const auto& c : bands) {
      TEntJwwSolid s;
      s.Common = TEntJwwCommon{0, 1, kMaskColor, 0, layer, layer, 0};
      s.X1 = c[0], s.Y1 = c[1], s.X2 = c[2], s.Y2 = c[3], s.X3 = c[4], s.Y3 = c[5], s.X4 = c[6], s.Y4 = c[7];
      s.Rgb = kWhite;
      b.Solids.push_back(s);
      order(kKindSolid, b.Solids.size() - 1);
    }
  }

  const CopyFilter filter(f, FrameHiddenLayers, FrameAuxElements);
  auto sizeText = [this](TEntJwwText& t) {
    t.SizeX = RoundToDecimals(8, 2, t.SizeX);
    t.SizeY = RoundToDecimals(8, 2, t.SizeY);
    t.Spacing = RoundToDecimals(8, 2, t.Spacing);
    t.Kind = static_cast<uint32_t>(FindTextSizeNo(t.Common.Color, t.SizeX, t.SizeY, t.Spacing));
  };
  auto copyAll = [&](const auto& rows, int32_t count, auto& into, int32_t kind, bool lineKind, auto&& accept,
                     auto&& adjust) {
    const size_t n = CountedRows(count, rows);
    for (size_t i = 0; i < n; ++i) {
      const auto& e = rows[i];
      if (!accept(e) || filter.Skip(e.Common, lineKind)) continue;
      auto& copy = into.emplace_back(e);
      PutOnLayer(copy.Common, layer);
      adjust(copy);
      order(kind, into.size() - 1);
    }
  };
  auto any = [](const auto&) { return true; };
  auto none = [](auto&) {};
  auto plainText = [](const TEntJwwText& t) { return !IsImageText(t); };
  auto imageText = [](const TEntJwwText& t) { return IsImageText(t); };

  copyAll(f.Solids, f.SolidCount, b.Solids, kKindSolid, false, any, none);
  copyAll(f.Texts, f.TextCount, b.Texts, kKindText, false, plainText, sizeText);
  copyAll(f.Lines, f.LineCount, b.Lines, kKindLine, true, [](const TEntJwwLine& l) { return !IsAreaLine(l); },
          none);
  copyAll(f.Arcs, f.ArcCount, b.Arcs, kKindArc, true, any, none);
  copyAll(f.Points, f.PointCount, b.Points, kKindPoint, false, any, none);
  copyAll(f.Texts, f.TextCount, b.Texts, kKindText, false, imageText, sizeText);
  // A dimension is judged by its line part and moved as a whole.
  const size_t dims = CountedRows(f.DimensionCount, f.Dimensions);
  for (size_t i = 0; i < dims; ++i) {
    const TEntJwwDimension& e = f.Dimensions[i];
    if (filter.Skip(e.Line.Common, true)) continue;
    TEntJwwDimension& copy = b.Dimensions.emplace_back(e);
    for (TEntJwwCommon* c : {&copy.Common, &copy.Line.Common, &copy.Text.Common, &copy.AuxLine1.Common,
                             &copy.AuxLine2.Common, &copy.Point1.Common, &copy.Point2.Common,
                             &copy.AuxPoint1.Common, &copy.AuxPoint2.Common})
      PutOnLayer(*c, layer);
    sizeText(copy.Text);
    order(kKindDimension, b.Dimensions.size() - 1);
  }

  b.LineCount = static_cast<int32_t>(b.Lines.size());
  b.ArcCount = static_cast<int32_t>(b.Arcs.size());
  b.PointCount = static_cast<int32_t>(b.Points.size());
  b.TextCount = static_cast<int32_t>(b.Texts.size());
  b.DimensionCount = static_cast<int32_t>(b.Dimensions.size());
  b.SolidCount = static_cast<int32_t>(b.Solids.size());
  b.InsertCount = 0;
  b.OrderCount = static_cast<int32_t>(b.Order.size());
}

void TForm1::InsertFrameBlock() {
  TJwwData& w = WorkDrawing;
  const auto layer = static_cast<uint16_t>(FrameOverlayLayer());
  const size_t defs = CountedRows(w.BlockDefCount, w.BlockDefs);
  int32_t number = defs > 0 ? w.BlockDefs[0].Number : 0;
  for (size_t i = 1; i < defs; ++i) number = std::max(number, w.BlockDefs[i].Number);
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

void TForm1::BuildSheetBlockTree() {
  // The tree over exactly the inserts the sheet holds: their rows gathered
  // from the order list, for the build only (the writer reads nothing of the
  // tree but the definitions' used flags and numbers).
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
  w.BuildBlockTree();
  std::swap(sheetInserts, w.BlockInserts);
  w.BlockInsertCount = count;
}

void TForm1::RemoveFrameInsert(int32_t loadedInsertCount) {
  TJwwData& w = WorkDrawing;
  --w.EntityOrderCount;
  --w.BlockInsertCount;
  w.BlockInserts.resize(FrameInsertRowsBefore);
  // The tree as the loaded drawing had it, for whatever the next sheet needs.
  const int32_t count = w.BlockInsertCount;
  w.BlockInsertCount = loadedInsertCount;
  w.BuildBlockTree();
  w.BlockInsertCount = count;
}
