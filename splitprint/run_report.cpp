#include "run_report.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "file_io.h"
#include "jww_data.h"
#include "sheet_names.h"
#include "sjis.h"
#include "system_reason.h"

namespace {

// "\r\n" + path + "：" + reason for every row, under its heading.
std::string TroubleList(const char* headingUtf8, const std::vector<TRunReport::TFileTrouble>& rows) {
  std::string text = Utf8ToSjis(headingUtf8);
  for (const TRunReport::TFileTrouble& row : rows) {
    text += "\r\n" + SjisTextFromPath(row.Path) + Utf8ToSjis("：") + row.Reason;
    if (!row.Source.empty()) text += Utf8ToSjis("（元図面：") + SjisTextFromPath(row.Source) + Utf8ToSjis("）");
  }
  return text;
}

std::string HexDigit(int32_t n) { return std::string(1, "0123456789ABCDEF"[n & 15]); }
// Where the sheets went in place of an unusable destination, and why.
std::string FallbackText(const TRunReport& report) {
  if (report.FallbackFolders.empty()) return std::string();
  const TRunReport::TFileTrouble& asked = report.UnusableDestination;
  std::string text = Utf8ToSjis("保存先フォルダに保存できなかったため、分割図面を元の図面と同じフォルダに保存しました。\r\n");
  if (!asked.Path.empty()) text += SjisTextFromPath(asked.Path) + Utf8ToSjis("：");
  text += asked.Reason;
  for (const std::string& folder : report.FallbackFolders) text += Utf8ToSjis("\r\n保存先：") + SjisTextFromPath(folder);
  return text;
}

}  // namespace

std::string DrawingMissingReason() { return Utf8ToSjis("ファイルがありません"); }
std::string NotAJwwDrawingReason() { return Utf8ToSjis("JWW形式の図面ではありません"); }
std::string SystemReason(int error) {
  if (error == 0) return Utf8ToSjis("図面を書き出せませんでした");
  return SystemErrorText(error);
}

std::string DiskReserveReason() { return Utf8ToSjis("ディスクの空き容量が残り少ないため保存しませんでした"); }
std::string KeptFileReason(const std::string& keptPath) {
  return Utf8ToSjis("既にあった") + SjisTextFromPath(FileNameOf(keptPath)) + Utf8ToSjis("はそのまま残しました");
}

std::string DamagedDrawingReason() { return Utf8ToSjis("図面が壊れています"); }
std::string OutOfMemoryReason() { return Utf8ToSjis("メモリが足りないため描けませんでした"); }
std::string BlocksLeftOutReason() { return Utf8ToSjis("ブロックの入れ子が深すぎるか数が多すぎるため一部を描いていません"); }

std::string HiddenFrameLayerReason(int32_t layer, bool groupHidden) {
  const std::string where = groupHidden ? "レイヤグループ[" + HexDigit(layer) + "]"
                                        : "レイヤ[" + HexDigit(layer) + "-" + HexDigit(layer) + "]";
  return Utf8ToSjis("図面枠を置く" + where + "が非表示で、分割図面にも同じ" +
                    (groupHidden ? std::string("レイヤグループ") : std::string("レイヤ")) +
                    "の要素があるため、図面枠は表示・印刷されません");
}

std::string PreviewNotMadeReason(int error) {
  std::string text = Utf8ToSjis("プレビュー画像を作れませんでした");
  if (error != 0) text += "(" + SystemReason(error) + ")";
  return text;
}

std::string UnusableFolderReason(const std::string& folder) {
  if (folder.empty()) return Utf8ToSjis("フォルダが指定されていません");
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(folder, error);
  if (error) return SystemReason(error.value());
  return SystemReason(std::filesystem::exists(status) && !std::filesystem::is_directory(status) ? ENOTDIR : ENOENT);
}

void TRunReport::AddFallbackFolder(const std::string& folder) {
  for (const std::string& known : FallbackFolders)
    if (known == folder) return;
  FallbackFolders.push_back(folder);
}

void TRunReport::AddOnce(std::vector<TFileTrouble>& rows, const std::string& path, const std::string& reason) {
  for (const TFileTrouble& row : rows)
    if (row.Path == path) return;
  rows.push_back({path, reason});
}

std::string UnreadableDrawingReason(const std::string& path, const TJwwData& reader) {
  if (!FileExists(path)) return DrawingMissingReason();
  std::FILE* f = OpenFile(path, "rb");
  if (f == nullptr) return SystemReason(errno);
  std::fclose(f);
  if (UpperExtension(path) != ".JWW" || !reader.IsJwwFile(path)) return NotAJwwDrawingReason();
  return std::string();
}

std::string RunTroubleNote(const TRunReport& report, int32_t unsavedSheets) {
  std::string note;
  if (!report.UnreadDrawings.empty())
    note += Utf8ToSjis("　読み込めなかった図面：") + std::to_string(report.UnreadDrawings.size());
  if (unsavedSheets > 0) note += Utf8ToSjis("　保存できなかった分割図面：") + std::to_string(unsavedSheets);
  if (!report.RenamedSheets.empty())
    note += Utf8ToSjis("　別の名前で保存した分割図面：") + std::to_string(report.RenamedSheets.size());
  if (report.DrawingsWithoutSheets > 0)
    note += Utf8ToSjis("　分割図面を保存できなかった図面：") + std::to_string(report.DrawingsWithoutSheets);
  if (report.DrawingsNotExploded > 0)
    note += Utf8ToSjis("　ブロックを分解できなかった図面：") + std::to_string(report.DrawingsNotExploded);
  if (!report.UnshownSheets.empty())
    note += Utf8ToSjis("　プレビュー・印刷できなかった図面：") + std::to_string(report.UnshownSheets.size());
  if (!report.SheetsMissingBlocks.empty())
    note += Utf8ToSjis("　ブロックを一部描けなかった図面：") + std::to_string(report.SheetsMissingBlocks.size());
  if (!report.HiddenFrameDrawings.empty())
    note += Utf8ToSjis("　図面枠が表示されない図面：") + std::to_string(report.HiddenFrameDrawings.size());
  return note;
}

std::string RunEndMessage(const TRunReport& report) {
  std::string text = FallbackText(report);
  auto add = [&text](const char* headingUtf8, const std::vector<TRunReport::TFileTrouble>& rows) {
    if (rows.empty()) return;
    if (!text.empty()) text += "\r\n\r\n";
    text += TroubleList(headingUtf8, rows);
  };
  add("読み込めなかった図面があります。", report.UnreadDrawings);
  add("保存できなかった分割図面があります。", report.UnsavedSheets);
  add("既にあるファイルを残して別の名前で保存した分割図面があります。", report.RenamedSheets);
  add("プレビュー・印刷できなかった図面があります。", report.UnshownSheets);
  add("ブロックを一部描けなかった図面があります。", report.SheetsMissingBlocks);
  add("図面枠が表示されない図面があります。", report.HiddenFrameDrawings);
  return text;
}
