// Loading a sheet for output, and rendering sheets into the preview's
// bitmaps (and the drawing-frame chooser's thumbnails).
#include <array>
#include <cmath>
#include <cstdlib>
#include <new>

#include "bind_images.h"
#include "file_io.h"
#include "form1_state.h"
#include "gval.h"
#include "render/canvas.h"
#include "sheet_names.h"
#include "sheet_output.h"
#include "sheet_view.h"
#include "sjis.h"
#include "unit_print.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// Layer modes of the attribute object.
constexpr int32_t kModeNormal = 1;
constexpr int32_t kModeHidden = 3;

// The paper label of the chooser's thumbnails: 10 points at 96 dpi.
constexpr int32_t kLabelFontHeight = 13;

}  // namespace

std::string PreviewBitmapPath(const std::string& folder, size_t row) {
  return folder + "sheet" + std::to_string(row + 1) + ".bmp";
}

double PaperWidthMm(int32_t paperSize) {
  switch (paperSize) {
    case 0: return 1189;
    case 1: return 841;
    case 2: return 594;
    case 3: return 420;
    case 4: return 297;
    case 8: return 1682;
    case 9: return 2378;
    case 10: return 3364;
    case 11: return 4756;
    case 12: return 10000;
    case 13: return 50000;
    case 14: return 100000;
    default: return 1189;
  }
}

std::string PaperLabel(int32_t paperSize) {
  const char* utf8 = "[？？]";
  switch (paperSize) {
    case 0: utf8 = "[Ａ０]"; break;
    case 1: utf8 = "[Ａ１]"; break;
    case 2: utf8 = "[Ａ２]"; break;
    case 3: utf8 = "[Ａ３]"; break;
    case 4: utf8 = "[Ａ４]"; break;
    case 8: utf8 = "[２Ａ]"; break;
    case 9: utf8 = "[３Ａ]"; break;
    case 10: utf8 = "[４Ａ]"; break;
    case 11: utf8 = "[５Ａ]"; break;
    case 12: utf8 = "[１０ｍ]"; break;
    case 13: utf8 = "[５０ｍ]"; break;
    case 14: utf8 = "[１００ｍ]"; break;
    default: break;
  }
  return Utf8ToSjis(utf8);
}

std::vector<TThumbnailItem> SheetPreviewItems(const std::string& bmpFolder) {
  std::vector<TThumbnailItem> items;
  for (size_t i = 0; i < Gval.SheetList.size() && items.size() < kMaxThumbnails; ++i) {
    const std::string& sheet = Gval.SheetList[i].First;
    if (sheet.empty()) continue;
    std::string bitmap = PreviewBitmapPath(bmpFolder, i);
    if (!FileExists(bitmap)) continue;
    items.push_back({std::move(bitmap), RemoveExtension(FileNameOf(sheet))});
  }
  return items;
}

std::string PrintFailureText() {
  std::string text = Utf8ToSjis("印刷できませんでした：") + GetPrinterName();
  const std::string reason = GetPrintFailureReason();
  if (!reason.empty()) text += "\r\n" + reason;
  return text;
}

TForm1::TSheetPlacement TForm1::LoadSheet(TSheetOutputHost& host, const std::string& path, bool printing) {
  host.SetStatusText(Utf8ToSjis(printing ? "印刷中：" : "画像変換中：") + SjisTextFromPath(path) + Utf8ToSjis("　[ESC:中断]"));
  DrawingPath = path;
  DrawingFolder = FolderOf(path);
  DrawingAge = FileAgeSeconds(path);
  Gval.DrawingFileTime = DateTimeFromUnixTime(DrawingAge);

  LastSheetOutOfMemory = false;
  DeleteRenamedImages();
  ResetDrawing();
  // A sheet that does not load whole is drawn as an empty drawing.
  LastSheetWhole = WorkDrawing.LoadFromFile(path);
  if (!LastSheetWhole) ResetDrawing();
  LastSheetBlocksCut = WorkDrawing.BlockTreeCut;
  // A held image that cannot be unpacked leaves no file: it is drawn as its
  // white placeholder box and the rest of the sheet is still drawn.
  ExtractBindImages();

  LoadDrawingPens(printing ? kPrintRealSizePitch : kBitmapRealSizePitch);
  TgraAttribute& a = Attributes();
  WorkDrawing.ApplyLayerAttributes();
  WorkDrawing.CalcExtents();

  // Display-only layer groups and layers.
  const TJwwData& d = WorkDrawing;
  const size_t groups = std::min<size_t>(16, d.LayerGroups.size());
  switch (DisplayOnlyMode) {
    case 0:  // not printed
      for (size_t g = 0; g < groups; ++g) {
        const int32_t state = d.LayerGroups[g].State;
        if (state == 0) continue;
        for (size_t l = 0; l < 16; ++l) {
          const size_t row = g * 16 + l;
          if (state == 1 || (row < d.Layers.size() && d.Layers[row].State == 1))
            a.SetLayerMode(static_cast<int32_t>(row), kModeHidden);
        }
      }
      break;
    case 1:  // in the drawing's grey: the print colour of its pen 9
      if (d.Pens.size() > 9) a.SetGrayColor(d.Pens[9].PrintColor);
      break;
    case 2:  // in the chosen colour
      a.SetGrayColor(DisplayOnlyColor);
      break;
    default:  // as they are
      for (size_t g = 0; g < groups; ++g) {
        if (d.LayerGroups[g].State == 0) continue;
        for (size_t l = 0; l < 16; ++l) {
          const size_t row = g * 16 + l;
          if (row < d.Layers.size() && d.Layers[row].State != 0) a.SetLayerMode(static_cast<int32_t>(row), kModeNormal);
        }
      }
      break;
  }

  TSheetPlacement place;
  if (PrintMethod == 0) {
    place.Scale = d.Header.PrintScale;
    place.OffsetX = d.Header.PrintOriginX;
    place.OffsetY = d.Header.PrintOriginY;
    const int32_t turn = std::abs(d.Header.PrintRotation % 10);
    place.Angle = turn == 1 ? -kPi / 2 : turn == 2 ? kPi / 2 : 0;
  } else {
    place.Scale = GivenScale > 0 ? GivenScale : 1.0;
    place.OffsetX = OffsetX;
    place.OffsetY = OffsetY;
    place.Angle = Rotation * kPi / 180;
  }
  return place;
}

bool TForm1::SheetCanBeShown(const std::string& sheet) {
  const std::string reason = UnreadableDrawingReason(sheet, WorkDrawing);
  if (reason.empty()) return true;
  TRunReport::AddOnce(Report.UnshownSheets, sheet, reason);
  return false;
}

bool TForm1::LoadSheetWithinMemory(TSheetOutputHost& host, const std::string& path, bool printing,
                                   TSheetPlacement& place) {
  try {
    place = LoadSheet(host, path, printing);
    return true;
  } catch (const std::bad_alloc&) {
    LastSheetOutOfMemory = true;
    host.SetStatusText("");
    return false;
  }
}

bool TForm1::DrawSheetWithinMemory(TCanvas& canvas, double angle) {
  try {
    WorkDrawing.Draw(canvas, PrintOrder, -1, -1, true, true, false, angle);
    return true;
  } catch (const std::bad_alloc&) {
    LastSheetOutOfMemory = true;
    return false;
  }
}

void TForm1::NoteShownSheet(const std::string& sheet) {
  if (LastSheetOutOfMemory) TRunReport::AddOnce(Report.UnshownSheets, sheet, OutOfMemoryReason());
  if (!LastSheetWhole) TRunReport::AddOnce(Report.UnshownSheets, sheet, DamagedDrawingReason());
  if (LastSheetBlocksCut) TRunReport::AddOnce(Report.SheetsMissingBlocks, sheet, BlocksLeftOutReason());
}

bool TForm1::HasPrintableElements() const {
  std::array<int32_t, 15> counters{};
  WorkDrawing.CountEntities(-1, -1, counters);
  for (size_t i = 0; i < counters.size(); ++i)
    if (i != 3 && i != 11 && counters[i] > 0) return true;  // 3 and 11: temporary points
  return false;
}

namespace {

// A view scale that can be used: positive and finite; else one pixel a mm.
double UsableScale(double scale) { return std::isfinite(scale) && scale > 0 ? scale : 1.0; }

// What lies beyond the printed page is not printed: the bitmap shows it in
// light grey over whatever was drawn there.
void GreyOutsidePage(TCanvas& canvas, const TDeviceRect& page, int32_t width, int32_t height) {
  const int32_t right = page.Left + page.Width, bottom = page.Top + page.Height;
  const TDeviceRect bands[4] = {{0, 0, page.Left, height},
                                {right, 0, width - right, height},
                                {page.Left, 0, page.Width, page.Top},
                                {page.Left, bottom, page.Width, height - bottom}};
  const int32_t grey = RgbColor(211, 211, 211);
  canvas.SetPenStyle(psSolid);
  canvas.SetPenWidth(0);
  canvas.SetPenColor(grey);
  canvas.SetBrushStyle(bsSolid);
  canvas.SetBrushColor(grey);
  for (const TDeviceRect& b : bands) {
    if (b.Width <= 0 || b.Height <= 0) continue;
    const TDevicePoint corners[4] = {{b.Left, b.Top},
                                     {b.Left + b.Width - 1, b.Top},
                                     {b.Left + b.Width - 1, b.Top + b.Height - 1},
                                     {b.Left, b.Top + b.Height - 1}};
    canvas.Polygon(corners, 4);
  }
  canvas.SetBrushStyle(bsClear);
}

}  // namespace

bool TForm1::RenderToBitmap(TSheetOutputHost& host, const std::string& drawingFile, const std::string& bitmapFile,
                            bool thumbnail, bool label) {
  TSheetPlacement place;
  if (!LoadSheetWithinMemory(host, drawingFile, false, place)) return false;
  const int32_t width = kBitmapWidth, height = kBitmapHeight;
  double scale = 0, cx = 0, cy = 0, angle = 0;
  if (thumbnail) {
    scale = width / PaperWidthMm(WorkDrawing.Header.PaperSize);
  } else if (PrintMethod == 1) {
    const TSheetView view = FitTurnedExtents(Gval.ExtentXMin, Gval.ExtentYMin, Gval.ExtentXMax, Gval.ExtentYMax,
                                             place.Angle, width, height, place.OffsetX, place.OffsetY);
    scale = view.Scale;
    cx = view.CenterX;
    cy = view.CenterY;
    angle = place.Angle;
  } else {
    scale = std::min(place.Scale * width / GetPageWidthMm(), place.Scale * height / GetPageHeightMm());
    cx = place.OffsetX;
    cy = place.OffsetY;
    angle = place.Angle;
  }
  SetView(width, height, UsableScale(scale), cx, cy);

  bool ok = true;
  if (HasPrintableElements()) {
    TSheetBitmap& bitmap = host.Bitmap();
    TCanvas* canvas = bitmap.Begin(width, height);
    // A sheet cut short by memory leaves no bitmap: it is not shown in part.
    const bool drawn = canvas && DrawSheetWithinMemory(*canvas, angle);
    if (drawn) {
      // At a scale the page may be narrower (or lower) than the bitmap.
      if (!thumbnail && PrintMethod != 1)
        GreyOutsidePage(*canvas, ShrunkPageRect(GetPageWidthMm(), GetPageHeightMm(), width, height), width, height);
      if (label) {
        TLogFont font;
        font.Height = kLabelFontHeight;
        font.FaceName = Utf8ToSjis("ＭＳ ゴシック");
        canvas->SetFont(font);
        canvas->SetFontColor(RgbColor(0, 0, 255));
        canvas->SetBrushStyle(bsSolid);
        canvas->SetBrushColor(RgbColor(166, 202, 240));
        canvas->TextOut(0, 0, PaperLabel(WorkDrawing.Header.PaperSize));
        canvas->SetBrushStyle(bsClear);
      }
    }
    ok = drawn && bitmap.Save(bitmapFile);
  }
  host.SetStatusText("");
  return ok;
}

void TForm1::PreviewSheets(TSheetOutputHost& host) {
  const size_t rows = Gval.SheetList.size();
  for (size_t i = 0; i < rows; ++i) {
    host.PumpMessages();
    if (CheckAbort()) AbortRun = true;
    if (AbortRun) break;
    const std::string sheet = Gval.SheetList[i].First;
    if (sheet.empty() || !SheetCanBeShown(sheet)) continue;
    const bool made = RenderToBitmap(host, sheet, PreviewBitmapPath(TempSheetFolder, i), false, false);
    NoteShownSheet(sheet);  // a sheet out of memory or damaged is told so, not as a missing picture
    if (!made) TRunReport::AddOnce(Report.UnshownSheets, sheet, PreviewNotMadeReason(host.Bitmap().LastSaveError()));
  }
  // Only pictures are shown: without any the dialog would open empty.
  if (!AbortRun && !SheetPreviewItems(TempSheetFolder).empty()) {
    const TPreviewAnswer answer = host.ShowPreview(TempSheetFolder);
    if (answer.Stopped) AbortRun = true;
    if (answer.BackPressed) BackToOrder = true;
  }
  for (size_t i = 0; i < rows; ++i) {
    const std::string bitmap = PreviewBitmapPath(TempSheetFolder, i);
    if (FileExists(bitmap)) RemoveFile(bitmap);
  }
}
