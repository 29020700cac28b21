// TFileReplacement on Linux: open(2) with O_EXCL, fsync(2), rename(2).
#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <ctime>
#include <string>

#include "file_replace.h"

namespace fs = std::filesystem;

namespace {

std::error_code LastError() { return std::error_code(errno != 0 ? errno : EIO, std::generic_category()); }
std::error_code ErrorOf(int error) { return std::error_code(error, std::generic_category()); }

// Nothing when target may be replaced; its status in st when it exists.
std::error_code CheckTarget(const fs::path& target, struct stat& st, bool& exists) {
  exists = false;
  if (::stat(target.c_str(), &st) != 0) return errno == ENOENT ? std::error_code() : LastError();
  exists = true;
  if (S_ISDIR(st.st_mode)) return ErrorOf(EISDIR);
  if (!S_ISREG(st.st_mode)) return ErrorOf(EINVAL);
  // The superuser passes access(2) for any file; one without a write bit is
  // protected all the same.
  if ((st.st_mode & 0222) == 0) return ErrorOf(EACCES);
  if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) return LastError();
  return std::error_code();
}

fs::path FolderOf(const fs::path& target) {
  return target.has_filename() ? target.parent_path() : target;
}

// A short name of its own, so a target name near the file system's limit
// can still be written, and a leftover of any earlier name is no obstacle.
std::string TempName() {
  static std::atomic<uint32_t> serial{0};
  struct timespec now {};
  ::clock_gettime(CLOCK_REALTIME, &now);
  return ".~" + std::to_string(::getpid()) + "-" + std::to_string(serial++) + "-" +
         std::to_string(static_cast<uint32_t>(now.tv_nsec) % 1000000u) + ".tmp";
}

}  // namespace

// Only the user's own links are followed in a folder that others can write
// (its group or world write bit): anyone else there could have put a link
// to the user's files in place of the file written. This is stricter than
// the kernel's rule (fs.protected_symlinks), which guards sticky
// world-writable folders only, and holds whatever the sysctl says. The
// bits are asked, never access(2): the superuser passes that for any folder.
std::error_code LinkMayBeFollowed(const fs::path& link) {
  struct stat linkStat {}, folderStat {};
  if (::lstat(link.c_str(), &linkStat) != 0) return LastError();
  if (!S_ISLNK(linkStat.st_mode) || linkStat.st_uid == ::geteuid()) return std::error_code();
  const fs::path folder = link.parent_path();
  if (::stat(folder.empty() ? "." : folder.c_str(), &folderStat) != 0) return LastError();
  if ((folderStat.st_mode & (S_IWGRP | S_IWOTH)) == 0) return std::error_code();
  return ErrorOf(EACCES);
}

TFileReplacement::TFileReplacement(const fs::path& target) {
  std::error_code error;
  target_ = target.has_filename() ? FollowLinks(target, error) : target;
  if (error) {
    Fail(error);
    return;
  }
  struct stat st {};
  bool exists = false;
  if (target_.has_filename()) {
    error = CheckTarget(target_, st, exists);
    if (error) {
      Fail(error);
      return;
    }
  }
  const fs::path folder = FolderOf(target_);
  for (int attempt = 0; attempt < 100 && handle_ < 0; ++attempt) {
    const fs::path temp = folder.empty() ? fs::path(TempName()) : folder / TempName();
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd >= 0) {
      handle_ = fd;
      temp_ = temp;
    } else if (errno != EEXIST) {
      Fail(LastError());  // a missing or read-only folder
      return;
    }
  }
  if (handle_ < 0) {
    Fail(ErrorOf(EEXIST));
    return;
  }
  if (exists) {
    // The owner first: a change of owner clears the set-id bits.
    if (st.st_uid != ::geteuid() || st.st_gid != ::getegid()) {
      [[maybe_unused]] const int ignored = ::fchown(static_cast<int>(handle_), st.st_uid, st.st_gid);
    }
    if (::fchmod(static_cast<int>(handle_), st.st_mode & 07777) != 0) Fail(LastError());
  }
}

bool TFileReplacement::Write(const void* data, size_t size) {
  if (handle_ < 0) return false;
  const char* bytes = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = ::write(static_cast<int>(handle_), bytes, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return Fail(LastError());
    }
    bytes += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

bool TFileReplacement::SetModificationTime(int64_t secondsSince1970) {
  if (handle_ < 0) return false;
  struct timespec times[2] = {};
  times[0].tv_nsec = UTIME_OMIT;
  times[1].tv_sec = static_cast<time_t>(secondsSince1970);
  return ::futimens(static_cast<int>(handle_), times) == 0 || Fail(LastError());
}

bool TFileReplacement::CommitAs(const fs::path& target) {
  if (handle_ < 0) return false;
  std::error_code error;
  const fs::path resolved = FollowLinks(target, error);
  struct stat st {};
  bool exists = false;
  if (!error) error = CheckTarget(resolved, st, exists);
  if (error) return Fail(error);
  if (::fsync(static_cast<int>(handle_)) != 0) return Fail(LastError());
  const int fd = static_cast<int>(handle_);
  handle_ = -1;
  if (::close(fd) != 0 || ::rename(temp_.c_str(), resolved.c_str()) != 0) return Fail(LastError());
  temp_.clear();
  // The new name reaches the disk with the folder.
  const fs::path folder = FolderOf(resolved);
  const int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

void TFileReplacement::CloseAndRemove() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
  handle_ = -1;
  if (!temp_.empty()) ::unlink(temp_.c_str());
  temp_.clear();
}
#endif
