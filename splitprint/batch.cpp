// The batch: every listed drawing loaded, prepared and split into sheet
// files; the sheets then ordered, previewed and printed through the window,
// and deleted again when they went to the temporary folder.
#include <algorithm>
#include <cmath>

#include "counted_rows.h"
#include "batch_host.h"
#include "bind_images.h"
#include "file_io.h"
#include "form1_state.h"
#include "gval.h"
#include "sheet_names.h"
#include "sheet_output.h"
#include "sjis.h"
#include "user_folders.h"
#include "unit_print.h"

namespace {

constexpr double kBatchRealSizePitch = 0.035;  // mm, real-size line-type unit when printing
constexpr int32_t kPrinterSet = 2;

// Bytes a separator may not hold: those of the sheet names, and ";" and ":".
bool HasForbiddenSeparatorByte(const std::string& separator) {
  return HasForbiddenSheetNameByte(separator) || separator.find_first_of(";:") != std::string::npos;
}

}  // namespace

TForm1::~TForm1() {
  if (Gval.GraAttribute == &OwnGraAttribute) Gval.GraAttribute = nullptr;
}

TgraAttribute& TForm1::Attributes() {
  if (Gval.GraAttribute == nullptr) Gval.GraAttribute = &OwnGraAttribute;
  return *Gval.GraAttribute;
}

void TForm1::ResetDrawing() {
  WorkDrawing.FreeData();
  DeleteBindImageGzFiles();
  DeleteBindImageFiles();
  ClearBindImages();
}

// ImageRenameList is never filled in this program, so there is nothing to
// delete: the routine only empties the list.
void TForm1::DeleteRenamedImages() {
  Gval.ImageRenameList.clear();
  Gval.ImageRenameCount = 0;
}

bool TForm1::FormCloseQuery() {
  if (!Running) return true;
  AbortRun = true;
  return false;
}

void TForm1::DeleteSheetFiles() {
  const size_t rows = std::min(Gval.SheetList.size(), SheetRowKinds.size());
  for (size_t i = 0; i < rows; ++i) {
    if (SheetRowKinds[i] != TSheetRowKind::SavedSheet) continue;
    const std::string& path = Gval.SheetList[i].First;
    if (FileExistsSjis(path)) DeleteFileSjis(path);
  }
}

void TForm1::SwapSheetRows(int32_t a, int32_t b) {
  const auto n = static_cast<int32_t>(std::min(Gval.SheetList.size(), SheetRowKinds.size()));
  if (a < 0 || b < 0 || a >= n || b >= n) return;
  std::swap(Gval.SheetList[static_cast<size_t>(a)], Gval.SheetList[static_cast<size_t>(b)]);
  std::swap(SheetRowKinds[static_cast<size_t>(a)], SheetRowKinds[static_cast<size_t>(b)]);
}

void TForm1::StartBatch(TBatchHost& host) {
  if (FileList.empty()) {
    const std::string text = Utf8ToSjis("図面ファイル名を指定して下さい。");
    host.SetStatusText(text);
    host.Inform(text);
    return;
  }
  if (host.Confirm(Utf8ToSjis("実行を開始します。よろしいですか？"))) RunBatch(host);
}

void TForm1::RunBatch(TBatchHost& host) {
  Running = true;
  AbortRun = false;
  UnsavedSheetCount = 0;
  Report.Clear();

  // Destination.
  std::string destination;
  bool ownFolder = false;
  bool temporary = false;
  if (DestinationChecked[kDestDesktop] || DestinationChecked[kDestMyDocuments]) {
    const TUserFolders* folders = CurrentUserFolders();
    std::string native;
    if (folders) native = DestinationChecked[kDestDesktop] ? folders->DesktopFolder() : folders->DocumentsFolder();
    destination = WithTrailingSlash(NativePathToSjis(native));
    // No such folder named by the system, or none can be made: beside the source.
    ownFolder = destination.empty() || !MakeFoldersSjis(destination);
  } else if (DestinationChecked[kDestSourceFolder]) {
    ownFolder = true;
  } else if (DestinationChecked[kDestGivenFolder]) {
    if (FolderExistsSjis(GivenFolder)) {
      destination = WithTrailingSlash(GivenFolder);
    } else {
      ownFolder = true;
    }
  } else {
    destination = WithTrailingSlash(TempSheetFolder);
    temporary = true;
  }

  // Split settings.
  if (HasForbiddenSeparatorByte(Separator)) Separator.clear();
  StartNumber = std::clamp(StartNumber, 0, 9999);
  if (!(Margin >= 0)) Margin = 0;
  if (Margin > 100) Margin = 100;

  host.SetRunButtonsEnabled(false);
  host.ReadPrintOptions(*this);
  TgraAttribute& attributes = Attributes();
  attributes.SetDrawAuxLines(PrintAuxLines);
  attributes.SetColorConversion(true, Monochrome == 1 ? MonoThreshold : -1, WhiteToBlack == 1 ? WhiteThreshold : -1,
                                SxfWhiteToBlack == 1 ? SxfWhiteThreshold : -1);
  PagePrinted = false;
  Gval.SheetList.clear();
  Gval.SheetCount = 0;
  SheetRowKinds.clear();

  // No sheet may replace a listed drawing.
  ProtectedFiles.clear();
  for (const std::string& path : FileList) {
    std::pair<uint64_t, uint64_t> id;
    if (FileIdentitySjis(path, id)) ProtectedFiles.push_back(id);
  }

  const std::vector<std::string> files = FileList;  // the list may change while messages are pumped
  const size_t n = files.size();
  for (size_t i = 0; i < n; ++i) {
    if (host.EscapeHeld()) AbortRun = true;
    if (AbortRun) break;
    const std::string& path = files[i];
    const std::string folder = ownFolder ? FolderOf(path) : destination;
    host.SetStatusText(Utf8ToSjis("変換中(") + std::to_string(i + 1) + "/" + std::to_string(n) + ") " + path);
    // A listed file that is gone or is no JWW drawing is skipped; the user
    // is told why at the end.
    const std::string unreadable = UnreadableDrawingReason(path, WorkDrawing);
    if (!unreadable.empty()) Report.UnreadDrawings.push_back({path, unreadable});
    if (unreadable.empty()) {
      DeleteRenamedImages();
      ResetDrawing();
      // A drawing that does not load whole is processed as an empty drawing,
      // never as the part that was read.
      if (!WorkDrawing.LoadFromFile(path)) {
        ResetDrawing();
        Report.UnreadDrawings.push_back({path, DamagedDrawingReason()});
      }
      if (AddDrawingFrame) SaveBindImages();
      if (ExplodeBlocks && !WorkDrawing.ExplodeBlocks()) {
        // The drawing goes on with its blocks whole; the user is told.
        ++Report.DrawingsNotExploded;
        host.SetStatusText(Utf8ToSjis("ブロックを分解できませんでした(入れ子が深すぎます) ") + path);
      }
      attributes.InitPenColors();
      attributes.InitPenWidths();
      attributes.InitPointRadii();
      attributes.InitLineTypes();
      SetupPens(kPrinterSet);
      SetupLineTypes(kPrinterSet, kBatchRealSizePitch);
      WorkDrawing.ApplyLayerAttributes();
      WorkDrawing.CalcExtents();
      DrawingPath = path;
      DrawingFolder = FolderOf(path);
      DrawingAge = FileAgeSecondsSjis(path);
      Gval.DrawingFileTime = DateTimeFromUnixTime(DrawingAge);
      LoadRefFile();

      std::array<int32_t, 10>& switches = WorkDrawing.Header.DrawSwitches;
      if (PrintOrder == 0) switches[6] = 0;
      if (PrintOrder == 1) switches[6] = 1;
      if (PrintOrder == 2) switches[6] = -1;
      switches[2] = 62;
      switches[3] = 0;

      const int32_t unsavedBefore = UnsavedSheetCount;
      SplitAndSave(folder, FileNameOf(path));
      if (!RefusedSheetPaths.empty()) {
        std::string text = Utf8ToSjis("分割図面が一覧の図面を上書きするため保存しませんでした。");
        for (const std::string& refused : RefusedSheetPaths) text += "\r\n" + refused;
        host.Inform(text);
      }

      const size_t rowsBefore = Gval.SheetList.size();
      const size_t frames = CountedRows(Gval.SheetFrameCount, Gval.SheetFrames);
      for (size_t f = 0; f < frames; ++f) {
        const TZumenWakuField& frame = Gval.SheetFrames[f];
        const size_t sheets = frame.SheetSlots();
        for (size_t k = 0; k < sheets; ++k) {
          if (frame.OutputNames[k].empty()) continue;
          Gval.SheetList.push_back(TStr2List{frame.OutputNames[k], path});
          SheetRowKinds.push_back(TSheetRowKind::SavedSheet);
        }
      }
      // A drawing that gave no sheet stands for itself (no frames, or only
      // empty ones), unless sheets of it failed to save: that drawing is not
      // shown or printed unsplit.
      if (Gval.SheetList.size() == rowsBefore && UnsavedSheetCount == unsavedBefore) {
        Gval.SheetList.push_back(TStr2List{path, path});
        SheetRowKinds.push_back(TSheetRowKind::WholeDrawing);
      } else if (Gval.SheetList.size() == rowsBefore) {
        ++Report.DrawingsWithoutSheets;
      }
      Gval.SheetCount = static_cast<int32_t>(Gval.SheetList.size());
    }
    host.PumpMessages();
  }

  // Order, preview and print.
  BackToOrder = true;
  while (BackToOrder) {
    if (host.ShowOrderDialog(*this)) AbortRun = true;
    BackToOrder = false;
    if (PreviewAfterSplit && !AbortRun) host.PreviewSheets(*this);
    if (AbortRun) break;
  }
  if (PrintAfterSplit && !AbortRun) {
    // A job that cannot begin or end stops the printing; the user is told
    // once (the sheets' own failures are told where they happen).
    PrintFailed = false;
    const bool oneDocument = OneDocument != 0;
    if (oneDocument && !BeginOneDocument()) {
      AbortRun = true;
      host.Inform(PrintFailureText());
    } else {
      host.PrintSheets(*this);
      if (oneDocument && !EndOneDocument() && !PrintFailed) {
        AbortRun = true;
        host.Inform(PrintFailureText());
      }
    }
  }
  if (temporary) DeleteSheetFiles();

  Gval.SheetList.clear();
  Gval.SheetCount = 0;
  SheetRowKinds.clear();
  ResetDrawing();

  host.SetStatusText(RunEndStatus(Report, AbortRun, FileList.size(), UnsavedSheetCount));
  const std::string message = RunEndMessage(Report);
  if (!message.empty()) host.Inform(message);
  Running = false;
  host.SetRunButtonsEnabled(true);
}
