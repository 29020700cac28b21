#include "temp_folders.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "file_io.h"
#include "settings_location.h"

std::string UserCacheFolder() { return UserProgramFolder("XDG_CACHE_HOME", ".cache"); }

bool TTempFolders::Open(const std::string& programFolder, const std::string& cacheFolder) {
  Close();
  problems_.clear();
  if (!programFolder.empty() && OpenUnder(WithTrailingSlash(programFolder))) return true;
  if (cacheFolder.empty()) return false;
  // The cache folder may not exist yet, nor its parent (~/.cache).
  const std::string cache = WithTrailingSlash(cacheFolder);
  return MakeShared(cache) && OpenUnder(cache);
}

// Made with the user's umask, as any folder of the user's.
bool TTempFolders::MakeShared(const std::string& folder) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (FolderExists(folder)) return true;
  problems_.push_back({WithTrailingSlash(folder), ec ? ec.value() : ENOTDIR});
  return false;
}

bool TTempFolders::OpenUnder(const std::string& base) {
  base_ = base;
  int error = 0;
  bool made = MakeShared(base + "TEMP") && MakeShared(base + "TMP");
  if (made) {
    RemoveEndedRunFolders(base + "TEMP/");
    RemoveEndedRunFolders(base + "TMP/");
    if (!images_.Make(base + "TEMP/", error)) {
      problems_.push_back({base + "TEMP/", error});
      made = false;
    } else if (!sheets_.Make(base + "TMP/", error)) {
      problems_.push_back({base + "TMP/", error});
      made = false;
    }
  }
  if (!made) Close();  // removes what was made here, when empty
  return made;
}

void TTempFolders::Close() {
  images_.Remove();
  sheets_.Remove();
  if (!base_.empty()) {
    ::rmdir((base_ + "TEMP").c_str());
    ::rmdir((base_ + "TMP").c_str());
  }
  base_.clear();
}
