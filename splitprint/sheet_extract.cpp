// Turning the working drawing into one sheet and back. Elements that do not
// belong to the sheet are hidden in place: their order item's kind is raised
// by 100 and their kind's count lowered, which the writer honours. The kept
// elements are moved so that the frame centre lies at the origin; their old
// coordinates are kept and written back afterwards, so every sheet starts
// from the drawing exactly as loaded.
#include <algorithm>
#include <cmath>
#include <limits>

#include "counted_rows.h"
#include "form1_state.h"
#include "gval.h"
#include "frame_detect.h"
#include "func.h"
#include "sheet_select.h"

namespace {

constexpr char kImageTextMark[] = "^@BM";
constexpr double kBoxLimit = 1e30;  // boxes of larger coordinates are never used

// Calls f(x, y) for every point of the element that moves with the sheet.
template <typename F>
void ForEachMovedPoint(TJwwData& d, int32_t kind, size_t row, F&& f) {
  switch (kind) {
    case kKindLine: {
      TEntJwwLine& e = d.Lines[row];
      f(e.X1, e.Y1);
      f(e.X2, e.Y2);
      break;
    }
    case kKindArc: f(d.Arcs[row].CenterX, d.Arcs[row].CenterY); break;
    case kKindPoint: f(d.Points[row].X, d.Points[row].Y); break;
    case kKindText: {
      TEntJwwText& e = d.Texts[row];
      f(e.StartX, e.StartY);
      f(e.EndX, e.EndY);
      break;
    }
    case kKindDimension: {
      TEntJwwDimension& e = d.Dimensions[row];
      f(e.Line.X1, e.Line.Y1);
      f(e.Line.X2, e.Line.Y2);
      f(e.Text.StartX, e.Text.StartY);
      f(e.Text.EndX, e.Text.EndY);
      f(e.AuxLine1.X1, e.AuxLine1.Y1);
      f(e.AuxLine1.X2, e.AuxLine1.Y2);
      f(e.AuxLine2.X1, e.AuxLine2.Y1);
      f(e.AuxLine2.X2, e.AuxLine2.Y2);
      f(e.Point1.X, e.Point1.Y);
      f(e.Point2.X, e.Point2.Y);
      f(e.AuxPoint1.X, e.AuxPoint1.Y);
      f(e.AuxPoint2.X, e.AuxPoint2.Y);
      break;
    }
    case kKindSolid: {
      TEntJwwSolid& e = d.Solids[row];
      f(e.X1, e.Y1);
      if (e.Common.LineType <= 100) {
        f(e.X2, e.Y2);
        f(e.X3, e.Y3);
        f(e.X4, e.Y4);
      }
      break;
    }
    case kKindBlockInsert: f(d.BlockInserts[row].X, d.BlockInserts[row].Y); break;
    default: break;
  }
}

bool RowExists(const TJwwData& d, int32_t kind, int32_t row) {
  if (row < 0) return false;
  const auto r = static_cast<size_t>(row);
  switch (kind) {
    case kKindLine: return r < d.Lines.size();
    case kKindArc: return r < d.Arcs.size();
    case kKindPoint: return r < d.Points.size();
    case kKindText: return r < d.Texts.size();
    case kKindDimension: return r < d.Dimensions.size();
    case kKindSolid: return r < d.Solids.size();
    case kKindBlockInsert: return r < d.BlockInserts.size();
    default: return false;
  }
}

// The points the element is tested with.
TSheetShape ShapeOf(const TJwwData& d, int32_t kind, size_t row) {
  switch (kind) {
    case kKindLine: return LineShape(d.Lines[row]);
    case kKindArc: return ArcShape(d.Arcs[row]);
    case kKindPoint: return PointShape(d.Points[row].X, d.Points[row].Y);
    case kKindText: return TextShape(d.Texts[row]);
    case kKindDimension: return LineShape(d.Dimensions[row].Line);
    case kKindSolid: return SolidShape(d.Solids[row]);
    case kKindBlockInsert: return PointShape(d.BlockInserts[row].X, d.BlockInserts[row].Y);
    default: return TSheetShape{};
  }
}

const TEntJwwCommon& CommonOf(const TJwwData& d, int32_t kind, size_t row) {
  switch (kind) {
    case kKindLine: return d.Lines[row].Common;
    case kKindArc: return d.Arcs[row].Common;
    case kKindPoint: return d.Points[row].Common;
    case kKindText: return d.Texts[row].Common;
    case kKindDimension: return d.Dimensions[row].Line.Common;
    case kKindSolid: return d.Solids[row].Common;
    default: return d.BlockInserts[row].Common;
  }
}

// A float bound no larger (lower) or no smaller (upper) than the double.
float FloorToFloat(double v) {
  float f = static_cast<float>(v);
  if (static_cast<double>(f) > v) f = std::nextafter(f, -std::numeric_limits<float>::infinity());
  return f;
}
float CeilToFloat(double v) {
  float f = static_cast<float>(v);
  if (static_cast<double>(f) < v) f = std::nextafter(f, std::numeric_limits<float>::infinity());
  return f;
}

}  // namespace

bool TForm1::ParseImageText(const std::string& text, std::string& path, std::array<double, 6>& reals) {
  reals = {0, 0, 0, 0, 1.0, 0};
  path.clear();
  const size_t markLength = sizeof kImageTextMark - 1;
  if (text.size() <= markLength || text.compare(0, markLength, kImageTextMark) != 0) return false;
  const size_t comma = text.find(',', markLength);
  if (comma == std::string::npos) return false;
  path = text.substr(markLength, comma - markLength);
  size_t pos = comma + 1;
  int pieces = 0;
  for (; pieces < 6; ++pieces) {
    const size_t next = text.find(',', pos);
    // The sixth piece, or the last one there is, runs to the end of the text.
    const bool last = pieces == 5 || next == std::string::npos;
    reals[static_cast<size_t>(pieces)] = StrToFloatOrZero(last ? text.substr(pos) : text.substr(pos, next - pos));
    if (last) {
      ++pieces;
      break;
    }
    pos = next + 1;
  }
  if (pieces == 1) reals[1] = reals[0];
  return true;
}

void TForm1::SaveEntityOrder() {
  TJwwData& d = WorkDrawing;
  const size_t n = CountedRows(d.EntityOrderCount, d.EntityOrder);
  SavedEntityOrder.assign(d.EntityOrder.begin(), d.EntityOrder.begin() + static_cast<std::ptrdiff_t>(n));
  KeptItems.clear();
  KeptCoords.clear();

  // The test points of an element do not change from sheet to sheet (each
  // sheet puts the coordinates back exactly), so their boxes are measured
  // once per drawing. An element whose box lies wholly outside a frame has
  // every test point on the same outer side, so every test answers
  // "outside": it is dropped without running the tests.
  constexpr float kInf = std::numeric_limits<float>::infinity();
  EntityBoxes.assign(n, TEntityBox{-kInf, -kInf, kInf, kInf});
  for (size_t i = 0; i < n; ++i) {
    const TEntJwwOrder& o = SavedEntityOrder[i];
    if (!RowExists(d, o.Kind, o.Row)) continue;
    const TSheetShape s = ShapeOf(d, o.Kind, static_cast<size_t>(o.Row));
    if (s.PointCount == 0) continue;
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    ShapeBounds(s, x0, y0, x1, y1);
    const bool finite = std::fabs(x0) < kBoxLimit && std::fabs(x1) < kBoxLimit && std::fabs(y0) < kBoxLimit &&
                        std::fabs(y1) < kBoxLimit;
    if (!finite) continue;  // NaN or huge: always tested in full
    // A little room for the rounding of the text test, which turns the frame.
    const double room = 1e-9 * (1 + std::max({std::fabs(x0), std::fabs(x1), std::fabs(y0), std::fabs(y1)}));
    EntityBoxes[i] = TEntityBox{FloorToFloat(x0 - room), FloorToFloat(y0 - room), CeilToFloat(x1 + room),
                                CeilToFloat(y1 + room)};
  }
}

void TForm1::RestoreEntityOrder() {
  TJwwData& d = WorkDrawing;
  const size_t n = std::min(SavedEntityOrder.size(), CountedRows(d.EntityOrderCount, d.EntityOrder));
  std::copy_n(SavedEntityOrder.begin(), n, d.EntityOrder.begin());
}

void TForm1::ExtractSheet(int32_t frameIndex, int32_t sheetIndex) {
  KeptItems.clear();
  KeptCoords.clear();
  const int32_t frameCount = static_cast<int32_t>(CountedRows(Gval.SheetFrameCount, Gval.SheetFrames));
  if (frameIndex < 0 || frameIndex >= frameCount || sheetIndex < 0 || sheetIndex >= kMaxSheetsPerFrame) return;
  const TZumenWakuField& frame = Gval.SheetFrames[static_cast<size_t>(frameIndex)];
  TJwwData& d = WorkDrawing;
  const TSheetWindow win{frame.XMin, frame.YMin, frame.XMax, frame.YMax};
  const double cx = (frame.XMin + frame.XMax) / 2, cy = (frame.YMin + frame.YMax) / 2;
  const double w = std::fabs(frame.XMax - frame.XMin), h = std::fabs(frame.YMax - frame.YMin);

  // Header of the sheet.
  d.Header.PaperSize = SheetPaperSize(w, h);
  d.Header.PrintOriginX = 0;
  d.Header.PrintOriginY = 0;
  if (frame.Kind == 1) {
    d.Header.PrintScale = frame.Scale;
    d.Header.PrintRotation = frame.Rotated ? 1 : 0;
  } else {
    d.Header.PrintScale = 1.0;
    d.Header.PrintRotation = 0;
  }
  if (d.Header.Version >= 300) d.Header.PrintRotation += 40;

  // The auxiliary rectangle: the last four lines, in frame coordinates.
  const bool aux = DrawAuxFrame && d.LineCount >= 4 && d.Lines.size() >= static_cast<size_t>(d.LineCount);
  const int32_t firstAux = aux ? d.LineCount - 4 : d.LineCount;
  if (aux) {
    const double m = Margin;
    const double x0 = cx - w / 2 + m, y0 = cy - h / 2 + m, x1 = x0 + (w - 2 * m), y1 = y0 + (h - 2 * m);
    const double corners[5][2] = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}, {x0, y0}};
    for (int r = 0; r < 4; ++r) {
      TEntJwwLine& l = d.Lines[static_cast<size_t>(firstAux + r)];
      l.X1 = corners[r][0];
      l.Y1 = corners[r][1];
      l.X2 = corners[r + 1][0];
      l.Y2 = corners[r + 1][1];
    }
  }

  const std::string& layerList = frame.LayerLists[static_cast<size_t>(sheetIndex)];
  const int32_t layerGroup = frame.NameLayerGroups[static_cast<size_t>(sheetIndex)];
  const bool filter = !layerList.empty() && layerGroup != -1;
  const double room = 1e-9 * (1 + std::max({std::fabs(win.XMin), std::fabs(win.XMax), std::fabs(win.YMin),
                                            std::fabs(win.YMax)}));
  const double rejectX0 = win.XMin - room, rejectX1 = win.XMax + room;
  const double rejectY0 = win.YMin - room, rejectY1 = win.YMax + room;

  int32_t* counts[8] = {nullptr,          &d.LineCount,      &d.ArcCount,   &d.PointCount,
                        &d.TextCount,     &d.DimensionCount, &d.SolidCount, &d.BlockInsertCount};
  const size_t n = CountedRows(d.EntityOrderCount, d.EntityOrder);
  const size_t boxed = std::min(n, EntityBoxes.size());
  for (size_t i = 0; i < n; ++i) {
    TEntJwwOrder& o = d.EntityOrder[i];
    const int32_t kind = o.Kind;
    if (kind < kKindLine || kind > kKindBlockInsert || !RowExists(d, kind, o.Row)) continue;
    const auto row = static_cast<size_t>(o.Row);
    bool keep = false;
    if (kind == kKindLine && aux && o.Row >= firstAux) {
      keep = true;  // the auxiliary rectangle belongs to every sheet
    } else if (i < boxed && (EntityBoxes[i].XMax < rejectX0 || EntityBoxes[i].XMin > rejectX1 ||
                             EntityBoxes[i].YMax < rejectY0 || EntityBoxes[i].YMin > rejectY1)) {
      keep = false;
    } else if ((kind == kKindLine && IsFrameLine(d.Lines[row])) ||
               (kind == kKindText && (IsSheetNameTag(d.Texts[row]) || IsPrintOriginTagAtStart(d.Texts[row])))) {
      keep = false;
    } else if (filter && kind == kKindDimension) {
      const TEntJwwDimension& dim = d.Dimensions[row];
      keep = (PassesLayerFilter(dim.Line.Common, layerGroup, layerList) ||
              PassesLayerFilter(dim.Text.Common, layerGroup, layerList)) &&
             ShapeTouchesWindow(LineShape(dim.Line), win);
    } else if (filter && !PassesLayerFilter(CommonOf(d, kind, row), layerGroup, layerList)) {
      keep = false;
    } else {
      keep = ShapeTouchesWindow(ShapeOf(d, kind, row), win);
    }
    if (!keep) {
      o.Kind = kind + 100;
      --*counts[kind];
      continue;
    }
    KeptItems.push_back(static_cast<int32_t>(i));
    ForEachMovedPoint(d, kind, row, [&](double& x, double& y) {
      KeptCoords.push_back(x);
      KeptCoords.push_back(y);
      x -= cx;
      y -= cy;
    });
  }
}

void TForm1::RestoreSheetOffset(int32_t /*frameIndex*/) {
  // The kept elements get their own coordinates back (not "moved back by
  // the frame centre", which could differ from them in the last bit).
  TJwwData& d = WorkDrawing;
  size_t next = 0;
  for (const int32_t item : KeptItems) {
    const TEntJwwOrder& o = d.EntityOrder[static_cast<size_t>(item)];
    ForEachMovedPoint(d, o.Kind, static_cast<size_t>(o.Row), [&](double& x, double& y) {
      x = KeptCoords[next++];
      y = KeptCoords[next++];
    });
  }
  KeptItems.clear();
  KeptCoords.clear();
}
