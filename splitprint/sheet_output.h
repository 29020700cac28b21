// What rendering, previewing and printing the sheets need from the window:
// the status bar, a message box, a bitmap to draw thumbnails on and the
// sheet preview dialog. The Qt window implements it; tests use fakes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TCanvas;

// The hidden picture the preview bitmaps are drawn on, one at a time.
class TSheetBitmap {
 public:
  virtual ~TSheetBitmap() = default;
  // A white surface of the size to draw on; nullptr when none can be made.
  virtual TCanvas* Begin(int32_t width, int32_t height) = 0;
  // Writes what was drawn as an 8-bit bitmap file (native path) and
  // clears the picture; false when the file cannot be written.
  virtual bool Save(const std::string& sjisPath) = 0;
  // The system's error number of the last Save that failed; 0 when none is
  // known.
  virtual int LastSaveError() const { return 0; }
};

// How the sheet preview was left.
struct TPreviewAnswer {
  bool Stopped = false;      // "中断(&E)"
  bool BackPressed = false;  // "戻る(&B)"
};

class TSheetOutputHost {
 public:
  virtual ~TSheetOutputHost() = default;
  // Status bar text (Shift-JIS), repainted at once.
  virtual void SetStatusText(const std::string& text) = 0;
  // Information box with OK.
  virtual void Inform(const std::string& text) = 0;
  virtual TSheetBitmap& Bitmap() = 0;
  // The modal sheet preview over the bitmaps of Gval.SheetList's rows in
  // bmpFolder (see SheetPreviewItems).
  virtual TPreviewAnswer ShowPreview(const std::string& bmpFolder) = 0;
  // Handles the pending window messages once, between two sheets of the
  // preview or the printing: the window repaints, and a close request sets
  // the form's AbortRun. Hosts outside a run pump nothing.
  virtual void PumpMessages() {}
};

// Size of the preview bitmaps and thumbnails.
constexpr int32_t kBitmapWidth = 320;
constexpr int32_t kBitmapHeight = 240;

// The preview bitmap of SheetList row `row` in folder: named by the row, so
// that sheets of equal names from different folders keep their own pictures.
std::string PreviewBitmapPath(const std::string& folder, size_t row);

// Paper width in mm and label (Shift-JIS) by the header's paper-size code.
double PaperWidthMm(int32_t paperSize);
std::string PaperLabel(int32_t paperSize);

// One thumbnail to show: its bitmap file and its caption (Shift-JIS).
struct TThumbnailItem {
  std::string BitmapPath;
  std::string Caption;
};

// The most thumbnails a dialog shows.
constexpr size_t kMaxThumbnails = 10000;

// The preview's thumbnails: for every Gval.SheetList row with a sheet file
// name whose bitmap exists in bmpFolder, the bitmap and the sheet's file
// name without folder and extension; at most kMaxThumbnails.
std::vector<TThumbnailItem> SheetPreviewItems(const std::string& bmpFolder);

// The text shown when a print job cannot begin or end, with the system's
// reason when the printer gives one (Shift-JIS).
std::string PrintFailureText();
