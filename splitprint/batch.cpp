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

// Where the sheets of a run go: one folder, or each drawing's own folder.
struct TBatchDestination {
  std::string Folder;  // with its trailing '/'
  bool OwnFolder = false;
  bool Temporary = false;  // the sheets are deleted after the run
  bool FellBack = false;   // the chosen folder cannot be used: beside the source

  std::string FolderFor(const std::string& drawingPath) const { return OwnFolder ? FolderOf(drawingPath) : Folder; }
};

void BeginRun(TForm1& form) {
  form.Running = true;
  form.AbortRun = false;
  form.UnsavedSheetCount = 0;
  form.Report.Clear();
}

TBatchDestination ChooseDestination(TForm1& form) {
  TBatchDestination destination;
  const auto& checked = form.DestinationChecked;
  if (checked[kDestDesktop] || checked[kDestMyDocuments]) {
    const TUserFolders* folders = CurrentUserFolders();
    std::string native;
    if (folders) native = checked[kDestDesktop] ? folders->DesktopFolder() : folders->DocumentsFolder();
    destination.Folder = WithTrailingSlash(native);
    // No such folder named by the system, or none can be made: beside the source.
    destination.OwnFolder = destination.Folder.empty() || !MakeFolders(destination.Folder);
  } else if (checked[kDestSourceFolder]) {
    destination.OwnFolder = true;
  } else if (checked[kDestGivenFolder]) {
    if (FolderExists(form.GivenFolder)) {
      destination.Folder = WithTrailingSlash(form.GivenFolder);
    } else {
      // Told at the end of the run, with the folders the sheets went to.
      destination.OwnFolder = destination.FellBack = true;
      form.Report.UnusableDestination = {form.GivenFolder, UnusableFolderReason(form.GivenFolder)};
    }
  } else {
    destination.Folder = WithTrailingSlash(form.TempSheetFolder);
    destination.Temporary = true;
  }
  return destination;
}

void TakeSplitSettings(TForm1& form) {
  if (HasForbiddenSeparatorChar(form.Separator)) form.Separator.clear();
  form.ClampStartNumberAndMargin();
}

void EmptySheetList(TForm1& form) {
  Gval.SheetList.clear();
  Gval.SheetCount = 0;
  form.SheetRowKinds.clear();
}

void PrepareRun(TForm1& form, TBatchHost& host) {
  host.SetRunButtonsEnabled(false);
  host.ReadPrintOptions(form);
  form.Attributes().SetDrawAuxLines(form.PrintAuxLines);
  form.ApplyColorConversion();
  form.PagePrinted = false;
  EmptySheetList(form);
}

// Why the drawing's blocks were not exploded: a tree cut at its depth, or
// more copies (or tree rows) than memory is given for.
std::string NotExplodedText(const TJwwData& d) {
  if (d.BlockTreeCut && !d.BlockTreeTooLarge) return Utf8ToSjis("ブロックを分解できませんでした(入れ子が深すぎます) ");
  return Utf8ToSjis("ブロックを分解できませんでした(図面が大きすぎます) ");
}

// Loads the drawing into the working drawing; false when it is damaged (the
// drawing is then empty, never the part that was read).
bool LoadListedDrawing(TForm1& form, TBatchHost& host, const std::string& path) {
  form.DeleteRenamedImages();
  form.ResetDrawing();
  const bool whole = form.WorkDrawing.LoadFromFile(path);
  if (!whole) form.ResetDrawing();
  if (form.AddDrawingFrame) form.SaveBindImages();
  if (form.ExplodeBlocks && !form.WorkDrawing.ExplodeBlocks()) {
    // The drawing goes on with its blocks whole; the user is told.
    ++form.Report.DrawingsNotExploded;
    host.SetStatusText(NotExplodedText(form.WorkDrawing) + SjisTextFromPath(path));
  }
  return whole;
}

// Pens, line types, layers and extents of the loaded drawing.
void PrepareDrawing(TForm1& form) {
  form.LoadDrawingPens(TForm1::kPrintRealSizePitch);
  form.WorkDrawing.ApplyLayerAttributes();
  form.WorkDrawing.CalcExtents();
}

// The drawing's path, folder and file time, and its REF_FILE table.
void TakeDrawingFile(TForm1& form, const std::string& path) {
  form.DrawingPath = path;
  form.DrawingFolder = FolderOf(path);
  form.DrawingAge = FileAgeSeconds(path);
  Gval.DrawingFileTime = DateTimeFromUnixTime(form.DrawingAge);
  form.LoadRefFile();
}

// The drawing switches every sheet of the drawing carries.
void SetSheetDrawSwitches(TForm1& form) {
  std::array<int32_t, 10>& switches = form.WorkDrawing.Header.DrawSwitches;
  if (form.PrintOrder == 0) switches[6] = 0;
  if (form.PrintOrder == 1) switches[6] = 1;
  if (form.PrintOrder == 2) switches[6] = -1;
  switches[2] = 62;
  switches[3] = 0;
}

void SplitAndTellRefused(TForm1& form, TBatchHost& host, const std::string& folder, const std::string& path) {
  form.SplitAndSave(folder, FileNameOf(path));
  if (form.RefusedSheetPaths.empty()) return;
  std::string text = Utf8ToSjis("分割図面が一覧の図面を上書きするため保存しませんでした。");
  for (const std::string& refused : form.RefusedSheetPaths) text += "\r\n" + SjisTextFromPath(refused);
  host.Inform(text);
}

// The drawing's saved sheets into the sheet list, in frame order. A drawing
// that gave no sheet stands for itself (no frames, or only empty ones),
// unless sheets of it failed to save: that drawing is not shown or printed
// unsplit.
void ListDrawingSheets(TForm1& form, const std::string& path, int32_t unsavedBefore) {
  const size_t rowsBefore = Gval.SheetList.size();
  const size_t frames = CountedRows(Gval.SheetFrameCount, Gval.SheetFrames);
  for (size_t f = 0; f < frames; ++f) {
    const TZumenWakuField& frame = Gval.SheetFrames[f];
    const size_t sheets = frame.SheetSlots();
    for (size_t k = 0; k < sheets; ++k) {
      if (frame.OutputNames[k].empty()) continue;
      Gval.SheetList.push_back(TStr2List{frame.OutputNames[k], path});
      form.SheetRowKinds.push_back(TForm1::TSheetRowKind::SavedSheet);
    }
  }
  if (Gval.SheetList.size() == rowsBefore && form.UnsavedSheetCount == unsavedBefore) {
    Gval.SheetList.push_back(TStr2List{path, path});
    form.SheetRowKinds.push_back(TForm1::TSheetRowKind::WholeDrawing);
  } else if (Gval.SheetList.size() == rowsBefore) {
    ++form.Report.DrawingsWithoutSheets;
  }
  Gval.SheetCount = static_cast<int32_t>(Gval.SheetList.size());
}

// One listed drawing: loaded, prepared, split and its sheets listed. A file
// that is gone or is no JWW drawing is skipped; the user is told why at the
// end, and so for a damaged drawing, which goes on as an empty one.
void SplitListedDrawing(TForm1& form, TBatchHost& host, const std::string& path, const std::string& folder) {
  const std::string unreadable = UnreadableDrawingReason(path, form.WorkDrawing);
  if (!unreadable.empty()) {
    form.Report.UnreadDrawings.push_back({path, unreadable});
    return;
  }
  if (!LoadListedDrawing(form, host, path)) form.Report.UnreadDrawings.push_back({path, DamagedDrawingReason()});
  PrepareDrawing(form);
  TakeDrawingFile(form, path);
  SetSheetDrawSwitches(form);
  const int32_t unsavedBefore = form.UnsavedSheetCount;
  SplitAndTellRefused(form, host, folder, path);
  if (form.RecordSavedSheets) form.SavedSheets.Save();
  ListDrawingSheets(form, path, unsavedBefore);
}

bool SavedSheetRowFrom(const TForm1& form, size_t row) {
  for (size_t i = row; i < form.SheetRowKinds.size(); ++i)
    if (form.SheetRowKinds[i] == TForm1::TSheetRowKind::SavedSheet) return true;
  return false;
}

void SplitListedDrawings(TForm1& form, TBatchHost& host, const TBatchDestination& destination) {
  const std::vector<std::string> files = form.FileList;  // the list may change while messages are pumped
  const size_t n = files.size();
  for (size_t i = 0; i < n; ++i) {
    if (host.EscapeHeld()) form.AbortRun = true;
    if (form.AbortRun) break;
    const std::string& path = files[i];
    host.SetStatusText(Utf8ToSjis("変換中(") + std::to_string(i + 1) + "/" + std::to_string(n) + ") " + SjisTextFromPath(path));
    const size_t rowsBefore = form.SheetRowKinds.size();
    SplitListedDrawing(form, host, path, destination.FolderFor(path));
    if (destination.FellBack && SavedSheetRowFrom(form, rowsBefore)) form.Report.AddFallbackFolder(destination.FolderFor(path));
    host.PumpMessages();
  }
}

// The order dialog, shown once in every run that has sheets to order, and
// the preview, which may go back to it. A run without any goes straight to
// its closing box, which tells why.
void OrderAndPreview(TForm1& form, TBatchHost& host) {
  if (Gval.SheetList.empty()) return;
  form.BackToOrder = true;
  while (form.BackToOrder) {
    if (host.ShowOrderDialog(form)) form.AbortRun = true;
    form.BackToOrder = false;
    if (form.PreviewAfterSplit && !form.AbortRun) host.PreviewSheets(form);
    if (form.AbortRun) break;
  }
}

void PrintRun(TForm1& form, TBatchHost& host) {
  if (!form.PrintAfterSplit || form.AbortRun || Gval.SheetList.empty()) return;
  // A job that cannot begin or end stops the printing; the user is told
  // once (the sheets' own failures are told where they happen).
  form.PrintFailed = false;
  const bool oneDocument = form.OneDocument != 0;
  if (oneDocument && !form.BeginOneDocument()) {
    form.PrintFailed = form.AbortRun = true;
    host.Inform(PrintFailureText());
    return;
  }
  host.PrintSheets(form);
  if (oneDocument && !form.EndOneDocument() && !form.PrintFailed) {
    form.PrintFailed = form.AbortRun = true;
    host.Inform(PrintFailureText());
  }
}

void EndRun(TForm1& form, TBatchHost& host) {
  EmptySheetList(form);
  form.ResetDrawing();
  std::string status = !form.AbortRun   ? Utf8ToSjis("実行完了(") + std::to_string(form.FileList.size()) + ")"
                       : form.PrintFailed ? Utf8ToSjis("印刷できなかったため実行を中断しました")
                                          : Utf8ToSjis("実行を中断しました(ESC)");
  status += form.PrintedFilesNote();
  host.SetStatusText(status + RunTroubleNote(form.Report, form.UnsavedSheetCount));
  const std::string message = RunEndMessage(form.Report);
  if (!message.empty()) host.Inform(message);
  form.Running = false;
  host.SetRunButtonsEnabled(true);
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
    if (FileExists(path)) RemoveFile(path);
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
  if (RefuseRunWithoutTempFolders(host)) return;
  if (host.Confirm(Utf8ToSjis("実行を開始します。よろしいですか？"))) RunBatch(host);
}

// The run's steps, in order: start, destination, split settings, set-up,
// every listed drawing split, order and preview, printing, deletion of
// temporary sheets, clean-up and the closing report.
void TForm1::RunBatch(TBatchHost& host) {
  BeginRun(*this);
  const TBatchDestination destination = ChooseDestination(*this);
  SavedSheets.Open(SavedSheetRecordPath);
  RecordSavedSheets = !destination.Temporary;
  TakeSplitSettings(*this);
  PrepareRun(*this, host);
  ProtectListedDrawings();
  SplitListedDrawings(*this, host, destination);
  OrderAndPreview(*this, host);
  PrintRun(*this, host);
  if (destination.Temporary) DeleteSheetFiles();
  EndRun(*this, host);
}
