#include "temp_folders.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "file_io.h"
#include "settings_location.h"

std::string UserCacheFolder() { return UserProgramFolder("XDG_CACHE_HOME", ".cache"); }

namespace {

// Nothing when st is a folder of the user's that no one else can write;
// else the reason. The bits are asked, never access(2): the superuser
// passes that for any folder.
int PrivateFolderProblem(const struct stat& st) {
  if (!S_ISDIR(st.st_mode)) return ENOTDIR;
  if (st.st_uid != ::geteuid() || (st.st_mode & (S_IWGRP | S_IWOTH)) != 0) return EACCES;
  return 0;
}

}  // namespace

bool TTempFolders::Open(const std::string& programFolder, const std::string& cacheFolder) {
  Close();
  problems_.clear();
  // Beside the program only where no one else can reach in: another user
  // able to write there could swap a run folder for a link while it is used.
  if (!programFolder.empty()) {
    const std::string program = WithTrailingSlash(programFolder);
    struct stat st {};
    const int problem = ::stat(program.c_str(), &st) != 0 ? errno : PrivateFolderProblem(st);
    if (problem != 0) {
      problems_.push_back({program, problem});
    } else if (OpenUnder(program)) {
      return true;
    }
  }
  if (cacheFolder.empty()) return false;
  // The cache folder may not exist yet, nor its parent (~/.cache).
  const std::string cache = WithTrailingSlash(cacheFolder);
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(cache).parent_path().parent_path(), ec);
  return MakePrivate(cache) && OpenUnder(cache);
}

// Made private when missing; a folder of the user's that others can write
// is made private, anything else refused. Never a link in its place.
bool TTempFolders::MakePrivate(const std::string& folder) {
  std::string name = folder;
  while (name.size() > 1 && name.back() == '/') name.pop_back();
  int problem = 0;
  if (::mkdir(name.c_str(), 0700) != 0 && errno != EEXIST) problem = errno;
  const int fd = problem != 0 ? -1 : ::open(name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  struct stat st {};
  if (problem == 0 && (fd < 0 || ::fstat(fd, &st) != 0)) problem = errno == ELOOP ? ENOTDIR : errno;
  if (problem == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() && (st.st_mode & 022) != 0 &&
      ::fchmod(fd, st.st_mode & 07755) == 0)
    st.st_mode &= ~static_cast<mode_t>(022);
  if (problem == 0) problem = PrivateFolderProblem(st);
  if (fd >= 0) ::close(fd);
  if (problem == 0) return true;
  problems_.push_back({WithTrailingSlash(name), problem});
  return false;
}

bool TTempFolders::OpenUnder(const std::string& base) {
  base_ = base;
  int error = 0;
  bool made = MakePrivate(base + "TEMP") && MakePrivate(base + "TMP");
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
