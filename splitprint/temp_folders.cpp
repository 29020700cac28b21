#include "temp_folders.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

#include "file_io.h"

namespace {

// A new folder of this run inside parent (with '/'); empty on failure.
std::string MakePrivateFolder(const std::string& parent) {
  std::string pattern = parent + "run-XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (::mkdtemp(buffer.data()) == nullptr) return std::string();
  return std::string(buffer.data()) + "/";
}

void RemoveIfEmpty(const std::string& folder) {
  if (!folder.empty()) ::rmdir(folder.c_str());
}

// A private folder holds nothing but what this run made: its files go
// (sub-folders are left alone), then the folder.
void RemovePrivateFolder(const std::string& folder) {
  if (folder.empty()) return;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
    if (entry.is_regular_file(ec) || entry.is_symlink(ec)) std::filesystem::remove(entry.path(), ec);
  RemoveIfEmpty(folder);
}

}  // namespace

std::string UserCacheFolder() {
  const char* cache = std::getenv("XDG_CACHE_HOME");
  if (cache && cache[0] == '/') return WithTrailingSlash(cache) + "quillmoor/";
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return WithTrailingSlash(home) + ".cache/quillmoor/";
  return std::string();
}

bool TTempFolders::Open(const std::string& programFolder, const std::string& cacheFolder) {
  Close();
  if (!programFolder.empty() && OpenUnder(WithTrailingSlash(programFolder))) return true;
  if (cacheFolder.empty()) return false;
  // The cache folder may not exist yet, nor its parent (~/.cache).
  const std::string cache = WithTrailingSlash(cacheFolder);
  return MakeFolders(cache) && OpenUnder(cache);
}

bool TTempFolders::OpenUnder(const std::string& base) {
  base_ = base;
  if (!MakeFolders(base + "TEMP") || !MakeFolders(base + "TMP")) {
    Close();  // removes what was made here, when empty
    return false;
  }
  images_ = MakePrivateFolder(base + "TEMP/");
  sheets_ = MakePrivateFolder(base + "TMP/");
  if (images_.empty() || sheets_.empty()) {
    Close();
    return false;
  }
  return true;
}

void TTempFolders::Close() {
  RemovePrivateFolder(images_);
  RemovePrivateFolder(sheets_);
  if (!base_.empty()) {
    RemoveIfEmpty(base_ + "TEMP");
    RemoveIfEmpty(base_ + "TMP");
  }
  base_.clear();
  images_.clear();
  sheets_.clear();
}
