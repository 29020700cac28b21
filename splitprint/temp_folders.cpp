#include "temp_folders.h"

#include <signal.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <system_error>
#include <vector>

#include "file_io.h"

namespace {

// A new folder of this run inside parent (with '/'); empty on failure.
std::string MakePrivateFolder(const std::string& parent) {
  std::string pattern = parent + "run-" + std::to_string(::getpid()) + "-XXXXXX";
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

// The process that made a run folder, from its name "run-<pid>-XXXXXX";
// 0 for any other name (older runs named theirs "run-XXXXXX").
pid_t RunFolderProcess(const std::string& name) {
  constexpr size_t kPrefix = 4, kSuffix = 7;  // "run-" and "-XXXXXX"
  if (name.size() <= kPrefix + kSuffix || name.compare(0, kPrefix, "run-") != 0) return 0;
  const size_t digitsEnd = name.size() - kSuffix;
  if (name[digitsEnd] != '-') return 0;
  long long pid = 0;
  for (size_t i = kPrefix; i < digitsEnd; ++i) {
    if (name[i] < '0' || name[i] > '9' || pid > std::numeric_limits<pid_t>::max() / 10) return 0;
    pid = pid * 10 + (name[i] - '0');
  }
  for (size_t i = digitsEnd + 1; i < name.size(); ++i)
    if (!std::isalnum(static_cast<unsigned char>(name[i]))) return 0;
  return pid <= std::numeric_limits<pid_t>::max() ? static_cast<pid_t>(pid) : 0;
}

// A process of another user answers EPERM: it is alive all the same.
bool ProcessIsAlive(pid_t pid) { return ::kill(pid, 0) == 0 || errno == EPERM; }

// Run folders that a killed or crashed run left in parent (with '/') go,
// as that run would have removed them at its end.
void RemoveStaleRunFolders(const std::string& parent) {
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(parent, ec)) {
    const pid_t pid = RunFolderProcess(entry.path().filename().string());
    if (pid <= 0 || ProcessIsAlive(pid) || entry.is_symlink(ec) || !entry.is_directory(ec)) continue;
    RemovePrivateFolder(entry.path().string() + "/");
  }
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
  RemoveStaleRunFolders(base + "TEMP/");
  RemoveStaleRunFolders(base + "TMP/");
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
