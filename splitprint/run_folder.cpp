#include "run_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <vector>

#include "folder_at.h"
#include "temp_names.h"

namespace {

// "run-<pid>-XXXXXX", the names Make gives; the process id itself tells
// nothing (the run may live on another host or in another namespace).
bool IsRunFolderName(const std::string& name) {
  constexpr size_t kPrefix = 4, kSuffix = 7;  // "run-" and "-XXXXXX"
  if (name.size() <= kPrefix + kSuffix || name.size() > kPrefix + 10 + kSuffix) return false;
  if (name.compare(0, kPrefix, "run-") != 0) return false;
  const size_t digitsEnd = name.size() - kSuffix;
  if (name[digitsEnd] != '-') return false;
  for (size_t i = kPrefix; i < digitsEnd; ++i)
    if (!std::isdigit(static_cast<unsigned char>(name[i]))) return false;
  for (size_t i = digitsEnd + 1; i < name.size(); ++i)
    if (!std::isalnum(static_cast<unsigned char>(name[i]))) return false;
  return true;
}

// An open-file-description lock: it belongs to the descriptor, so another
// descriptor conflicts with it even in the same process, and it goes when
// the descriptor is closed, however the run ends.
bool TryWriteLock(int fd) {
  struct flock lock {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  return ::fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

bool SameFile(const struct stat& st, dev_t device, ino_t inode) { return st.st_dev == device && st.st_ino == inode; }

// True when name in the folder dirFd (AT_FDCWD for a path) is, without
// following a link, the folder device/inode.
bool NameIsFolder(int dirFd, const char* name, dev_t device, ino_t inode) {
  struct stat st {};
  return ::fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode) && SameFile(st, device, inode);
}

void CloseIfOpen(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

// The run folder name in the folder parent, removed when its lock is free.
void RemoveIfEnded(int parent, const char* name) {
  struct stat st {};
  if (::fstatat(parent, name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid())
    return;
  int dir = ::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  struct stat held {};
  int lock = -1;
  if (dir >= 0 && ::fstat(dir, &held) == 0 && SameFile(held, st.st_dev, st.st_ino))
    lock = ::openat(dir, kRunLockName, O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  struct stat lockStat {};
  if (lock >= 0 && ::fstat(lock, &lockStat) == 0 && S_ISREG(lockStat.st_mode) && TryWriteLock(lock)) {
    RemoveFilesInFolder(dir);
    if (NameIsFolder(parent, name, held.st_dev, held.st_ino)) ::unlinkat(parent, name, AT_REMOVEDIR);
  }
  CloseIfOpen(lock);
  CloseIfOpen(dir);
}

}  // namespace

bool TRunFolder::Make(const std::string& parent, int& error) {
  Remove();
  // A start-up clean-up of another instance may take the lock between the
  // lock file's making and its locking, and then removes the folder: such
  // a folder is given up for a new one.
  for (int attempt = 0; attempt < 8; ++attempt) {
    std::string pattern = parent + "run-" + std::to_string(::getpid()) + "-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
      error = errno;
      return false;
    }
    path_ = pattern + "/";
    dir_ = ::open(pattern.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    struct stat st {};
    if (dir_ < 0 || ::fstat(dir_, &st) != 0) {
      error = errno;
      Release();  // not the folder made a moment ago: nothing of it is touched
      return false;
    }
    device_ = st.st_dev;
    inode_ = st.st_ino;
    // The file system decides in the end (a share may map every owner to
    // one): a folder that is not the user's alone is not used.
    if (st.st_uid != ::geteuid() || (st.st_mode & 077) != 0) {
      error = EACCES;
      Remove();
      return false;
    }
    lock_ = ::openat(dir_, kRunLockName, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (lock_ < 0) {
      error = errno;
      Remove();
      return false;
    }
    if (!TryWriteLock(lock_)) {
      error = errno;
      Remove();
      if (error == EAGAIN || error == EACCES) continue;
      return false;  // no locks on this file system
    }
    struct stat lockStat {}, named {};
    if (::fstat(lock_, &lockStat) == 0 && ::fstatat(dir_, kRunLockName, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
        SameFile(named, lockStat.st_dev, lockStat.st_ino) && NameIsFolder(AT_FDCWD, pattern.c_str(), device_, inode_)) {
      HoldFolder(path_, dir_);
      return true;
    }
    Remove();
  }
  error = EAGAIN;
  return false;
}

void TRunFolder::Remove() {
  if (dir_ >= 0) {
    RemoveFilesInFolder(dir_);
    path_.pop_back();  // the name without its '/', never followed if a link
    if (NameIsFolder(AT_FDCWD, path_.c_str(), device_, inode_)) ::rmdir(path_.c_str());
  }
  Release();
}

void TRunFolder::Release() {
  if (dir_ >= 0) ReleaseFolder(dir_);
  CloseIfOpen(lock_);
  CloseIfOpen(dir_);
  path_.clear();
  device_ = 0;
  inode_ = 0;
}

void RemoveEndedRunFolders(const std::string& parent) {
  const int folder = ::open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder < 0) return;
  for (const std::string& name : NamesInFolder(folder))
    if (IsRunFolderName(name)) RemoveIfEnded(folder, name.c_str());
  ::close(folder);
}
