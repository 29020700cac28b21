#include "temp_folders.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

#include "file_io.h"

namespace {

std::string WithSlash(std::string folder) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

// Creates the folder when missing; true when it is there afterwards.
bool EnsureFolder(const std::string& sjis) {
  const std::string native = SjisPathToNative(sjis);
  if (::mkdir(native.c_str(), 0777) == 0) return true;
  struct stat st;
  return errno == EEXIST && ::stat(native.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// A new folder of this run inside parent (with '/'); empty on failure.
std::string MakePrivateFolder(const std::string& parent) {
  std::string pattern = SjisPathToNative(parent) + "run-XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (::mkdtemp(buffer.data()) == nullptr) return std::string();
  return NativePathToSjis(std::string(buffer.data())) + "/";
}

void RemoveIfEmpty(const std::string& sjis) {
  if (!sjis.empty()) ::rmdir(SjisPathToNative(sjis).c_str());
}

// A private folder holds nothing but what this run made: its files go
// (sub-folders are left alone), then the folder.
void RemovePrivateFolder(const std::string& sjis) {
  if (sjis.empty()) return;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(SjisPathToNative(sjis), ec))
    if (entry.is_regular_file(ec) || entry.is_symlink(ec)) std::filesystem::remove(entry.path(), ec);
  RemoveIfEmpty(sjis);
}

}  // namespace

std::string UserCacheFolder() {
  const char* cache = std::getenv("XDG_CACHE_HOME");
  if (cache && cache[0] == '/') return NativePathToSjis(WithSlash(cache) + "quillmoor/");
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return NativePathToSjis(WithSlash(home) + ".cache/quillmoor/");
  return std::string();
}

bool TTempFolders::Open(const std::string& programFolder, const std::string& cacheFolder) {
  Close();
  if (!programFolder.empty() && OpenUnder(WithSlash(programFolder))) return true;
  if (cacheFolder.empty()) return false;
  // The cache folder may not exist yet, nor its parent (~/.cache).
  const std::string cache = WithSlash(cacheFolder);
  for (size_t slash = cache.find('/', 1); slash != std::string::npos; slash = cache.find('/', slash + 1))
    EnsureFolder(cache.substr(0, slash));
  return OpenUnder(cache);
}

bool TTempFolders::OpenUnder(const std::string& base) {
  base_ = base;
  if (!EnsureFolder(base + "TEMP") || !EnsureFolder(base + "TMP")) {
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
