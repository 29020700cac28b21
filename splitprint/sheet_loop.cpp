// The sheet loop of one loaded drawing: frames found, every sheet numbered,
// named, cut out of the working drawing, saved in the drawing's own version
// and the drawing turned back, sheet after sheet.
#include <algorithm>
#include <array>
#include <string_view>
#include <system_error>
#include <vector>

#include "counted_rows.h"
#include "file_io.h"
#include "file_replace.h"
#include "form1_state.h"
#include "gval.h"
#include "sheet_names.h"
#include "sjis.h"

namespace {

constexpr int32_t kAuxLineCount = 4;

// Four lines on layer [F-F] in the auxiliary colour; the sheet extraction
// gives them each sheet's rectangle.
void AppendAuxFrameLines(TJwwData& d) {
  d.Lines.resize(static_cast<size_t>(std::max(d.LineCount, 0)));
  d.EntityOrder.resize(static_cast<size_t>(std::max(d.EntityOrderCount, 0)));
  for (int32_t i = 0; i < kAuxLineCount; ++i) {
    TEntJwwLine line;
    line.Common.Group = 0;
    line.Common.LayerGroup = 15;
    line.Common.Layer = 15;
    line.Common.Color = 9;
    line.Common.LineType = 1;
    line.Common.Width = 0;
    line.Common.Flags = 0;
    d.Lines.push_back(line);
    d.EntityOrder.push_back(TEntJwwOrder{kKindLine, d.LineCount});
    ++d.LineCount;
    ++d.EntityOrderCount;
  }
}

// True when saving at path would replace the drawing being split or one of
// the protected (listed) drawings: the same path, or the same file reached
// through another name (a link, "./", "//").
bool WouldReplaceDrawing(const std::string& path, const std::string& drawingPath,
                         const std::vector<std::pair<uint64_t, uint64_t>>& protectedFiles) {
  if (!drawingPath.empty() && path == drawingPath) return true;
  std::pair<uint64_t, uint64_t> target;
  if (!FileIdentity(path, target)) return false;  // nothing there yet
  std::pair<uint64_t, uint64_t> source;
  if (!drawingPath.empty() && FileIdentity(drawingPath, source) && source == target) return true;
  return std::find(protectedFiles.begin(), protectedFiles.end(), target) != protectedFiles.end();
}


// The sheet's path, or, when it is not free (use gives how it may be used),
// the first free one of name-2, name-3, ... (the "-k" of sheets within a
// frame). nameWith gives the file name with a suffix that fits. kept: the
// first file passed over that the run did not save, else empty.
template <typename NameWith, typename Use>
std::string FreshSheetPath(const std::string& folder, const NameWith& nameWith, const Use& use, std::string& kept) {
  kept.clear();
  std::string path = folder + nameWith(std::string()) + ".jww";
  for (int32_t k = 2;; ++k) {
    const TForm1::TSheetPathUse found = use(path);
    if (found == TForm1::TSheetPathUse::Free) return path;
    if (found == TForm1::TSheetPathUse::Kept && kept.empty()) kept = path;
    path = folder + nameWith("-" + std::to_string(k)) + ".jww";
  }
}

template <typename Paths>
std::vector<std::pair<uint64_t, uint64_t>> FileIdentities(const Paths& paths) {
  std::vector<std::pair<uint64_t, uint64_t>> ids;
  std::pair<uint64_t, uint64_t> id;
  for (const std::string& path : paths)
    if (!path.empty() && FileIdentity(path, id)) ids.push_back(id);
  return ids;
}

}  // namespace

void TForm1::ProtectListedDrawings() { ProtectedFiles = FileIdentities(FileList); }

TForm1::TSheetPathUse TForm1::SheetPathUse(const std::string& path) const {
  if (Report.SavedFiles.count(path) > 0) return TSheetPathUse::SavedThisRun;
  if (!PathTaken(path) || WouldReplaceDrawing(path, DrawingPath, ProtectedFiles)) return TSheetPathUse::Free;
  std::pair<uint64_t, uint64_t> id;
  if (FileIdentity(path, id) &&
      std::find(FrameDrawingFiles.begin(), FrameDrawingFiles.end(), id) != FrameDrawingFiles.end())
    return TSheetPathUse::Kept;
  return SavedSheets.HoldsUnchanged(path) ? TSheetPathUse::Free : TSheetPathUse::Kept;
}

bool TForm1::SaveOneSheet(const std::string& path, std::string& reason) {
  TJwwData& d = WorkDrawing;
  if (WouldReplaceDrawing(path, DrawingPath, ProtectedFiles)) {
    RefusedSheetPaths.push_back(path);
    return false;
  }
  const bool overlay = AddDrawingFrame && FrameDrawingLoaded;
  TOverlayLayerStates overlayLayer;
  if (overlay) {
    overlayLayer = ShowOverlayLayer();  // before the insert: the sheet's own elements only
    InsertFrameBlock();
    MarkSheetBlockDefs();
  }
  d.SetSaveOptions(0);
  // The sheet is built whole in memory first: a sheet that cannot be saved
  // whole never touches the file already at its path (an earlier run's
  // sheet, perhaps edited since).
  std::vector<uint8_t> bytes;
  const bool built = d.SaveToBytes(bytes, d.Header.Version);
  if (overlay) {
    RemoveFrameInsert(LoadedInsertCount);
    RestoreOverlayLayer(overlayLayer);
  }
  if (!built) {
    reason = SystemReason(d.LastSaveErrno);
    return false;
  }
  if (d.LastSaveDroppedImages > 0) {
    // A sheet without the images it shows is no sheet.
    reason = Utf8ToSjis("図面に埋め込まれた画像を取り出せませんでした");
    return false;
  }
  const std::string folder = FolderOf(path);
  if (Report.FoldersAtReserve.count(folder) > 0 || bytes.size() > RoomAboveReserve(folder, SheetDiskReserve)) {
    Report.FoldersAtReserve.insert(folder);
    reason = DiskReserveReason();
    return false;
  }
  std::error_code error;
  const std::string_view view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (!WriteFileReplacing(path, view, error)) {
    reason = SystemReason(error.value());
    return false;
  }
  Report.SavedFiles.insert(path);
  if (RecordSavedSheets) SavedSheets.Note(path, view);
  return true;
}

void TForm1::SplitAndSave(const std::string& folder, const std::string& sourceFileName) {
  TJwwData& d = WorkDrawing;
  RefusedSheetPaths.clear();
  int32_t auxLines = 0;
  AuxFrameLinesFrom = -1;
  if (DrawAuxFrame) {
    AuxFrameLinesFrom = std::max(d.LineCount, 0);
    AppendAuxFrameLines(d);
    auxLines = kAuxLineCount;
  }
  SaveEntityOrder();
  const std::array<int32_t, 7> counts = {d.LineCount,      d.ArcCount,   d.PointCount,      d.TextCount,
                                         d.DimensionCount, d.SolidCount, d.BlockInsertCount};
  LoadedInsertCount = d.BlockInsertCount;
  const int32_t paperSize = d.Header.PaperSize;
  const double originX = d.Header.PrintOriginX, originY = d.Header.PrintOriginY;

  FrameDrawingFiles = FileIdentities(FrameFiles);
  ClearSheetFrames();
  FindSheetFrames();
  AssignSheetNames();
  FindPrintOriginFrames();
  ClassifyFramePaper();

  const std::string base = RemoveExtension(sourceFileName);
  const int32_t frameCount = static_cast<int32_t>(CountedRows(Gval.SheetFrameCount, Gval.SheetFrames));
  int32_t number = StartNumber;
  int32_t loadedClass = -1;
  FrameDrawingLoaded = false;
  for (int32_t i = 0; i < frameCount; ++i) {
    // A drawing of many frames takes long even when they are empty.
    if (CheckAbort()) AbortRun = true;
    if (AbortRun) break;
    TZumenWakuField& frame = Gval.SheetFrames[static_cast<size_t>(i)];
    if (AddDrawingFrame && frame.PaperClass != loadedClass) {
      loadedClass = frame.PaperClass;
      DeleteAddedBindImages();
      RestoreBindImages();
      FrameDrawingLoaded = LoadFrameDrawing(loadedClass);
      MergeBindImages();
    }
    // Numbers follow the drawing alone: a sheet that could not be saved
    // still takes its number.
    int32_t nonEmpty = 0;
    const size_t sheets = frame.SheetSlots();
    for (size_t k = 0; k < sheets; ++k) {
      const std::string numberText = SheetNumberText(number, ZeroPad, frameCount, StartNumber, frame.NameCount,
                                                     static_cast<int32_t>(k));
      auto nameWith = [&](const std::string& suffix) {
        return SheetFileName(NamingPattern, numberText, Separator, base, frame.Names[k], suffix);
      };
      std::string kept;
      auto use = [this](const std::string& path) { return SheetPathUse(path); };
      frame.OutputNames[k] = FreshSheetPath(folder, nameWith, use, kept);
      ExtractSheet(i, static_cast<int32_t>(k));
      const int64_t elements = static_cast<int64_t>(d.LineCount) + d.ArcCount + d.PointCount + d.TextCount +
                               d.DimensionCount + d.SolidCount + d.BlockInsertCount;
      if (elements > auxLines) {
        ++nonEmpty;
        std::string reason;
        if (!SaveOneSheet(frame.OutputNames[k], reason)) {
          if (!reason.empty()) Report.UnsavedSheets.push_back({frame.OutputNames[k], reason, DrawingPath});
          frame.OutputNames[k].clear();  // not listed, never deleted
          ++UnsavedSheetCount;
        } else if (!kept.empty()) {
          Report.RenamedSheets.push_back({frame.OutputNames[k], KeptFileReason(kept)});
        }
      } else {
        frame.OutputNames[k].clear();  // nothing but the auxiliary lines
      }
      RestoreSheetOffset(i);
      RestoreEntityOrder();
      d.LineCount = counts[0];
      d.ArcCount = counts[1];
      d.PointCount = counts[2];
      d.TextCount = counts[3];
      d.DimensionCount = counts[4];
      d.SolidCount = counts[5];
      d.BlockInsertCount = counts[6];
    }
    if (!CloseUpEmptyNumbers || nonEmpty > 0) ++number;
  }
  if (AddDrawingFrame && loadedClass != -1) {
    DeleteAddedBindImages();
    RestoreBindImages();
    FrameDrawing.FreeData();
  }
  FrameDrawingLoaded = false;
  d.Header.PaperSize = paperSize;
  d.Header.PrintOriginX = originX;
  d.Header.PrintOriginY = originY;
}
