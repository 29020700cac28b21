#include "frame_chooser_list.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "file_io.h"
#include "sheet_names.h"

namespace {

bool HasJwwExtension(const std::string& name) {
  if (name.size() < 4) return false;
  const std::string ext = name.substr(name.size() - 4);
  return ext[0] == '.' && (ext[1] | 0x20) == 'j' && (ext[2] | 0x20) == 'w' && (ext[3] | 0x20) == 'w';
}

}  // namespace

std::string FrameChooserFolder(const std::string& path, const std::string& programFolder) {
  const std::string folder = FolderOf(path);
  return folder.empty() ? WithTrailingSlash(programFolder) : folder;
}

std::vector<std::string> ListFrameDrawings(const std::string& folder, size_t limit) {
  namespace fs = std::filesystem;
  std::vector<std::string> found;
  std::error_code ec;
  fs::directory_iterator it(fs::path(folder), ec);
  for (const fs::directory_iterator end; !ec && it != end && found.size() < limit; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.empty() || name[0] == '.' || !HasJwwExtension(name)) continue;
    std::error_code typeError;
    if (!it->is_regular_file(typeError)) continue;
    found.push_back(folder + name);
  }
  return found;
}

std::vector<TFrameChoiceRow> MakeFrameChoiceRows(const std::vector<std::string>& drawings,
                                                 const std::string& bmpFolder) {
  std::vector<TFrameChoiceRow> rows;
  const size_t n = std::min(drawings.size(), kMaxFrameChoices);
  rows.reserve(n);
  for (size_t i = 0; i < n; ++i) {
    const std::string& path = drawings[i];
    rows.push_back(TFrameChoiceRow{bmpFolder + "frame_choice_" + std::to_string(i + 1) + ".bmp",
                                   RemoveExtension(FileNameOf(path)), path});
  }
  return rows;
}

std::vector<TFrameChoiceRow> RenderFrameChoices(const std::vector<TFrameChoiceRow>& rows,
                                                const std::function<bool()>& aborted,
                                                const std::function<bool(const TFrameChoiceRow&)>& render) {
  std::vector<TFrameChoiceRow> made;
  for (const TFrameChoiceRow& row : rows) {
    if (aborted()) break;
    if (!FileExists(row.DrawingPath)) continue;  // gone since the listing
    if (!render(row)) break;
    made.push_back(row);
  }
  return made;
}

void DeleteFrameChoiceBitmaps(const std::vector<TFrameChoiceRow>& rows) {
  for (const TFrameChoiceRow& row : rows)
    if (FileExists(row.Bitmap)) RemoveFile(row.Bitmap);
}
