// The file list of the first tab: adding dropped and chosen drawings,
// removing rows, and the texts the window shows about it.
#include <algorithm>

#include "file_io.h"
#include "form1_state.h"
#include "sheet_names.h"
#include "sjis.h"
#include "text_lines.h"

namespace {

std::string AddedText(int32_t count) { return std::to_string(count) + Utf8ToSjis("個のファイルを一覧に追加しました。"); }

}  // namespace

std::string TForm1::AddDroppedFiles(const std::vector<std::string>& paths) {
  int32_t added = 0;
  for (const std::string& path : paths) {
    if (path.empty() || UpperExtension(path) != ".JWW" || !FileExists(path)) continue;
    FileList.push_back(path);  // a name dropped twice is listed twice
    ++added;
  }
  return AddedText(added);
}

std::string TForm1::AddChosenFiles(const std::vector<std::string>& paths) {
  if (!paths.empty()) AddFolder = FolderOf(paths.front());
  int32_t added = 0;
  for (const std::string& path : paths) {
    if (path.empty() || UpperExtension(path) != ".JWW" || !FileExists(path)) continue;
    const std::string upper = UpperCaseSjis(path);
    const bool listed = std::any_of(FileList.begin(), FileList.end(),
                                    [&](const std::string& row) { return UpperCaseSjis(row) == upper; });
    if (listed) continue;
    FileList.push_back(path);
    ++added;
  }
  return AddedText(added);
}

std::string TForm1::RemoveFilesQuestion(int32_t selectedCount) {
  return Utf8ToSjis("選択した") + std::to_string(selectedCount) +
         Utf8ToSjis("個のファイルを一覧から削除します。よろしいですか？");
}

std::string TForm1::RemoveFiles(const std::vector<int32_t>& rows) {
  std::vector<int32_t> sorted = rows;
  std::sort(sorted.begin(), sorted.end());
  sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
  int32_t removed = 0;
  for (auto it = sorted.rbegin(); it != sorted.rend(); ++it) {
    if (*it < 0 || *it >= static_cast<int32_t>(FileList.size())) continue;
    FileList.erase(FileList.begin() + *it);
    ++removed;
  }
  return std::to_string(removed) + Utf8ToSjis("個のファイルを一覧から削除しました。");
}
