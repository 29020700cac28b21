// Start-up and shut-down of the main window, and the command line: the
// interactive window, the "/G" run Jw_cad starts, the "/S" settings editor.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <filesystem>

#include "bind_images.h"
#include "file_io.h"
#include "form1_state.h"
#include "gval.h"
#include "sheet_names.h"
#include "sjis.h"
#include "window_host.h"
#include "wine_registry.h"

namespace {

bool IsListableDrawing(const std::string& path) {
  return !path.empty() && UpperExtension(path) == ".JWW" && FileExists(path);
}

// Removes an empty folder; a folder with anything in it stays.
void RemoveFolderIfEmpty(const std::string& folder) {
  if (!folder.empty()) ::rmdir(folder.c_str());
}

void MakeFolder(const std::string& folder) {
  std::error_code ec;
  if (!folder.empty()) std::filesystem::create_directories(folder, ec);
}

// Every folder tried, with the system's reason.
std::string TempFoldersProblemText(const std::vector<TTempFolders::TProblem>& problems) {
  std::string text = Utf8ToSjis("作業フォルダを作れませんでした。");
  for (const TTempFolders::TProblem& problem : problems)
    text += "\r\n" + SjisTextFromPath(problem.Folder) + Utf8ToSjis("：") + SystemReason(problem.Error);
  return text;
}

}  // namespace

bool TForm1::RefuseRunWithoutTempFolders(TBatchHost& host) const {
  if (TempFolderProblem.empty()) return false;
  host.SetStatusText(TempFolderProblem);
  host.Inform(TempFolderProblem);
  return true;
}

int32_t TForm1::AddCommandLineFiles(const std::vector<std::string>& arguments, const std::string& workingFolder) {
  int32_t added = 0;
  for (const std::string& argument : arguments) {
    if (argument.empty()) continue;
    std::filesystem::path path(argument);
    if (path.is_relative()) path = std::filesystem::path(workingFolder) / path;
    const std::string native = path.lexically_normal().string();
    if (!IsListableDrawing(native)) continue;
    FileList.push_back(native);
    ++added;
  }
  return added;
}

TForm1::TStartMode TForm1::FormShow(const std::vector<std::string>& arguments, const std::string& workingFolder) {
  Running = false;
  AbortRun = false;
  BackToOrder = false;

  LoadSettings(SettingsPath);

  DrawingPath.clear();
  DrawingFolder.clear();
  RefFileName.clear();
  DrawingAge = 0;
  ResetDrawingGlobalsForStartup();
  SheetRowKinds.clear();
  BindImg.RefStrList.clear();
  BindImg.RefStrCount = 0;
  ClearBindImages();

  // Never the shared TEMP/ and TMP/ themselves: another user's file there
  // would be replaced by an image of the drawing, and deleted afterwards.
  TempFolderProblem.clear();
  if (TempFolder.empty() || TempSheetFolder.empty()) {
    if (TempFolders.Open(Gval.ProgramFolder, UserCacheFolder())) {
      if (TempFolder.empty()) TempFolder = TempFolders.ImageFolder();
      if (TempSheetFolder.empty()) TempSheetFolder = TempFolders.SheetFolder();
    } else {
      TempFolderProblem = TempFoldersProblemText(TempFolders.Problems());
    }
  }
  BindImg.TempFolder = TempFolder;
  // Without a folder of their own, images are neither unpacked nor looked
  // for (a bare name would be taken in the current folder).
  BindImg.BindImageExtractFlag = TempFolder.empty() ? 0 : 1;
  BindImg.BindImageKeepFlag = BindImg.BindImageExtractFlag;
  MakeFolder(TempFolder);
  MakeFolder(TempSheetFolder);

  FrameDrawing.Clear();
  FrameDrawingLoaded = false;

  TgraAttribute& attributes = Attributes();
  attributes.SetLineWidthMode(true);
  attributes.SetBackgroundMode(0);
  attributes.InitPenColors();
  attributes.SetDrawAuxLines(PrintAuxLines);
  ApplyColorConversion();
  ClearSheetFrames();

  WinePrefix = WinePrefixFolder();
  FindJwCadFolder();
  ReadRefFileSetting();

  FileList.clear();
  if (arguments.size() == 1 && arguments[0] == "/G") {
    const std::string drawing = ReadJwcTempFileName();
    if (IsListableDrawing(drawing)) FileList.push_back(drawing);
    return TStartMode::JwCadRun;
  }
  if (arguments.size() == 1 && arguments[0] == "/S") return TStartMode::SettingsOnly;
  AddCommandLineFiles(arguments, workingFolder);
  return TStartMode::Interactive;
}

void TForm1::RunJwCadStart(TWindowHost& host) {
  if (RefuseRunWithoutTempFolders(host)) return;
  if (ConfirmSaved && FileList.size() == 1) {
    const std::string& path = FileList[0];
    const std::string text = Utf8ToSjis("上書き保存を行いましたか？\r\n　ファイル名：") + SjisTextFromPath(path) + "\r\n" +
                             Utf8ToSjis("　タイムスタンプ：") + host.FormatShortDateTime(FileAgeSeconds(path)) +
                             "\r\n" + Utf8ToSjis("　現在の日時 ：") +
                             host.FormatShortDateTime(static_cast<int64_t>(std::time(nullptr)));
    if (!host.Confirm(text)) {
      host.Inform(Utf8ToSjis("実行を中止しました。"));
      return;
    }
  }
  if (FileList.size() == 1) {
    RunBatch(host);
  } else {
    host.Inform(Utf8ToSjis("JWW形式図面ファイルを開いて実行して下さい。"));
  }
}

bool TForm1::FormClose() {
  if (HasForbiddenSeparatorChar(Separator)) Separator.clear();
  ClampStartNumberAndMargin();

  FileList.clear();
  ClearSheetFrames();
  SavedEntityOrder.clear();
  DeleteRenamedImages();
  BindImg.RefStrList.clear();
  BindImg.RefStrCount = 0;
  Gval.SheetList.clear();
  Gval.SheetCount = 0;
  SheetRowKinds.clear();
  ClearBindImages();
  WorkDrawing.FreeData();
  FrameDrawing.FreeData();
  FrameDrawingLoaded = false;

  // The run's own folders go with what is left in them; the shared ones,
  // and folders the caller chose, only when empty.
  TempFolders.Close();
  RemoveFolderIfEmpty(TempFolder);
  RemoveFolderIfEmpty(TempSheetFolder);

  return SaveSettings(SettingsPath);
}
