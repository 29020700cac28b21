// The command modes: paper frames at indicated points, tiles, sheet-name and
// print-origin texts, and the numbers of the frames already drawn. Every
// mode only queues lines; the queue becomes the interface file at close.
#include <algorithm>
#include <cmath>

#include "func.h"
#include "jwc_writer.h"
#include "tollwick_form.h"

namespace {

constexpr char kRotatedWord[] = " \x89\xF1\x93]";  //  回転
constexpr int32_t kMaxTiles = 200;

void FrameAttributes(TJwcData& d) {
  OutLayerGroup(d, d.FirstLayerGroup);
  OutLayer(d, d.FirstLayer);
  OutColor(d, kFrameColor, 0);
  OutLineType(d, kFrameLineType, 0);
  OutLineWidth(d, kFrameLineWidth);
}

// Four lines counter-clockwise from the lower-left corner.
void Frame(TJwcData& d, double x0, double y0, double w, double h) {
  OutLine(d, x0, y0, x0 + w, y0);
  OutLine(d, x0 + w, y0, x0 + w, y0 + h);
  OutLine(d, x0 + w, y0 + h, x0, y0 + h);
  OutLine(d, x0, y0 + h, x0, y0);
}

void RestoreTextType(TJwcData& d) {
  const TFreeTextSize& f = d.FirstFreeText;
  OutTextType(d, d.FirstTextType, f.Color, 0, f.Width, f.Height, f.Spacing);
}

// A count of tiles: the argument, or when 0 as many as fit; 1..200 before
// it becomes an integer, so no huge or odd quotient is ever converted.
int32_t TileCount(int32_t given, double paper, double size) {
  double v = given != 0 ? static_cast<double>(given) : std::trunc(paper / size);
  if (!(v >= 1)) v = 1;  // NaN too
  if (v > kMaxTiles) v = kMaxTiles;
  return static_cast<int32_t>(v);
}

}  // namespace

bool TForm1::IsAcceptableSheetName(const std::string& name) {
  if (name.empty()) return false;
  if (HasForbiddenSheetNameChar(name)) return false;
  // Nor a control byte: a line break would end the text command early.
  for (const char c : name) {
    if (static_cast<unsigned char>(c) < 32) return false;
  }
  // Quillmoor would split the name at a layer-list tag.
  return FindOnCharBoundary(name, kLayerListTag) == std::string::npos;
}

void TForm1::ClearFrameRects() {
  FrameRects.clear();
  FrameRects.shrink_to_fit();
  FrameCount = 0;
}

void TForm1::FindFrameRects() {
  ClearFrameRects();
  std::vector<TFrameLine> horizontal, vertical;
  for (const TJwwEntLine& l : Jwc.Lines) {
    const TJwwEntHeader& h = l.Header;
    if (h.Color != kFrameColor || h.LineType != kFrameLineType || h.LineWidth != kFrameLineWidth) continue;
    if (IsHorizontalFrameLine(l.X1, l.Y1, l.X2, l.Y2)) {
      horizontal.push_back(TFrameLine{0, l.X1, l.Y1, l.X2, l.Y2});
    } else if (IsVerticalFrameLine(l.X1, l.Y1, l.X2, l.Y2)) {
      vertical.push_back(TFrameLine{0, l.X1, l.Y1, l.X2, l.Y2});
    }
  }
  SearchFrameChains(horizontal, vertical, FrameRects);
  if (!FrameRects.empty()) OrderFramesByNumbering(FrameRects, NumberingDirection);
  FrameCount = static_cast<int32_t>(FrameRects.size());
}

bool TForm1::RunMode() {
  TJwcData& d = Jwc;
  ResetOutputAttributes(d);
  if (d.BzSeen) AddOutputLine(d, "bz");
  double w = 0, h = 0, dx = 0, dy = 0;
  PaperSizeOf(PaperIndex, w, h);
  PlacementOffsetOf(PlacementIndex, w, h, dx, dy);

  auto textBlock = [&](const std::string& text, double x, double y) {
    OutLayerGroup(d, d.FirstLayerGroup);
    OutLayer(d, d.FirstLayer);
    OutFontName(d, d.FirstFont);
    OutTextType(d, 0, kFrameColor, 0, TextWidth, TextHeight, TextSpacing);
    OutCcValue(d, 0);
    OutText(d, 0, text, x, y, 1, 0);
    RestoreTextType(d);
  };

  switch (Mode) {
    case 1:
      FrameAttributes(d);
      Frame(d, d.Points[1].X + dx, d.Points[1].Y + dy, w, h);
      break;
    case 2:
      FrameAttributes(d);
      for (int p = 1; p <= 99 && d.Points[p].Used; ++p) Frame(d, d.Points[p].X + dx, d.Points[p].Y + dy, w, h);
      break;
    case 3: {
      const int32_t columns = TileCount(Param2, d.PaperWidth, w);
      const int32_t rows = TileCount(Param3, d.PaperHeight, h);
      const double cellW = Param2 != 0 ? d.PaperWidth / columns : w;
      const double cellH = Param3 != 0 ? d.PaperHeight / rows : h;
      const double gapX = columns == 1 ? 0 : 1.0;
      const double gapY = rows == 1 ? 0 : 1.0;
      FrameAttributes(d);
      for (int32_t r = 0; r < rows; ++r) {
        for (int32_t c = 0; c < columns; ++c) Frame(d, c * cellW, r * cellH, cellW - gapX, cellH - gapY);
      }
      break;
    }
    case 4:
    case 5: {
      if (!IsAcceptableSheetName(Param2Text)) return false;
      std::string text = kSheetNameTag + Param2Text;
      if (Mode == 5) {
        text += kLayerListTag;
        static constexpr char kHex[] = "0123456789ABCDEF";
        for (int layer = 0; layer < 16; ++layer) {
          if (d.LayerStates[d.FirstLayerGroup * 16 + layer] > 0) text += kHex[layer];
        }
      }
      // Jw_cad holds 255 bytes of a text: a longer tag is cut there, as
      // every queued entry is, rather than refused.
      text = CutToContentLength(text);
      textBlock(text, d.Points[1].X + 1, d.Points[1].Y + 1);
      break;
    }
    case 6: {
      FindFrameRects();
      if (FrameRects.empty()) return false;
      double minW = std::fabs(FrameRects[0].XMax - FrameRects[0].XMin);
      double minH = std::fabs(FrameRects[0].YMax - FrameRects[0].YMin);
      for (const TFrameRect& f : FrameRects) {
        minW = std::min(minW, std::fabs(f.XMax - f.XMin));
        minH = std::min(minH, std::fabs(f.YMax - f.YMin));
      }
      OutLayerGroup(d, d.FirstLayerGroup);
      OutLayer(d, d.FirstLayer);
      OutFontName(d, d.FirstFont);
      OutTextType(d, 0, kFrameColor, 0, minW / 4, minH / 3, 0);
      OutCcValue(d, 8);
      for (size_t i = 0; i < FrameRects.size(); ++i) {
        OutText(d, 0, std::to_string(i + 1), FrameRects[i].XMax - 1, FrameRects[i].YMax - 1, 1, 0);
      }
      RestoreTextType(d);
      ClearFrameRects();
      break;
    }
    case 7: {
      double scale = Param2Text.empty() ? 100 : StrToFloatOrZero(Param2Text);
      if (scale < 0.001 || scale > 1000000) scale = 100;
      std::string text = kPrintOriginTag + FormatGeneralNumber(scale, '.') + "%";
      if (Param3 == 1) text += kRotatedWord;
      textBlock(text, d.Points[1].X, d.Points[1].Y);
      break;
    }
    default:
      break;  // above 8: nothing more than "bz" or "hq"
  }
  SaveDialogSettings();
  return true;
}
