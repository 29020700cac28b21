#include "file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "folder_at.h"
#include "sjis.h"

namespace {
bool IsAscii(const std::string& s) {
  for (unsigned char c : s)
    if (c >= 0x80) return false;
  return true;
}
}  // namespace

std::string PathFromSjisText(const std::string& sjisText) {
  return IsAscii(sjisText) ? sjisText : SjisToUtf8(sjisText);
}

std::string SjisTextFromPath(const std::string& path) {
  return IsAscii(path) ? path : Utf8ToSjis(path);
}

std::FILE* OpenFile(const std::string& path, const char* mode) {
  return std::fopen(path.c_str(), mode);
}

bool FolderSpaceOf(const std::string& folder, TFolderSpace& space) {
  struct statvfs st;
  if (::statvfs(folder.empty() ? "." : folder.c_str(), &st) != 0) return false;
  space.FreeBytes = static_cast<uint64_t>(st.f_bavail) * static_cast<uint64_t>(st.f_frsize);
  space.BlockBytes = static_cast<uint64_t>(st.f_frsize);
  space.FreeInodes = static_cast<uint64_t>(st.f_favail);
  space.TotalInodes = static_cast<uint64_t>(st.f_files);
  return true;
}

uint64_t RoomAboveReserve(const std::string& folder, uint64_t reserve) {
  TFolderSpace space;
  return FolderSpaceOf(folder, space) ? space.RoomAbove(reserve) : UINT64_MAX;
}

bool PathTaken(const std::string& path) {
  struct stat st;
  return !path.empty() && ::lstat(path.c_str(), &st) == 0;
}

bool FileExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool FolderExists(const std::string& path) {
  struct stat st;
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool FileIdentity(const std::string& path, std::pair<uint64_t, uint64_t>& id) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return false;
  id = {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
  return true;
}

bool MakeFolders(const std::string& path) {
  if (path.empty()) return false;
  std::error_code ec;
  std::filesystem::create_directories(path, ec);
  return FolderExists(path);
}

std::string WithTrailingSlash(std::string folder) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

bool RemoveFile(const std::string& path) {
  const TFolderAt at(path);
  if (!at.Ok()) return false;
  if (at.Folder() == AT_FDCWD) return std::remove(path.c_str()) == 0;
  return ::unlinkat(at.Folder(), at.Name(), 0) == 0;
}

bool MoveFileWithoutReplacing(const std::string& from, const std::string& to) {
  const TFolderAt a(from), b(to);
  if (!a.Ok() || !b.Ok()) return false;
  if (::renameat2(a.Folder(), a.Name(), b.Folder(), b.Name(), RENAME_NOREPLACE) == 0) return true;
  // File systems without it take a hard link, which never replaces either.
  if (errno != EINVAL && errno != ENOSYS) return false;
  if (::linkat(a.Folder(), a.Name(), b.Folder(), b.Name(), 0) != 0) return false;
  ::unlinkat(a.Folder(), a.Name(), 0);
  return true;
}

void RemoveFolderWithFiles(std::string folder) {
  while (!folder.empty() && folder.back() == '/') folder.pop_back();
  const TFolderAt at(folder);
  if (!at.Ok()) return;
  const int dir = ::openat(at.Folder(), at.Name(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (dir < 0) return;
  RemoveFilesInFolder(dir);
  ::close(dir);
  ::unlinkat(at.Folder(), at.Name(), AT_REMOVEDIR);
}

bool RenameFile(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0;
}

int64_t FileSize(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
  return static_cast<int64_t>(st.st_size);
}

int64_t FileAgeSeconds(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return 0;
  return static_cast<int64_t>(st.st_mtime);
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& out) {
  out.clear();
  // Opened without waiting: a FIFO with no writer would block open(2).
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  std::FILE* f = fd >= 0 ? ::fdopen(fd, "rb") : nullptr;
  if (!f) {
    if (fd >= 0) ::close(fd);
    return false;
  }
  struct stat st;
  if (::fstat(fileno(f), &st) != 0 || !S_ISREG(st.st_mode)) {
    std::fclose(f);
    return false;
  }
  out.resize(static_cast<size_t>(st.st_size));
  const size_t got = out.empty() ? 0 : std::fread(out.data(), 1, out.size(), f);
  const bool ok = got == out.size() && !std::ferror(f);
  std::fclose(f);
  if (!ok) out.clear();
  return ok;
}
