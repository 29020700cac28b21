#include "file_io.h"

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "sjis.h"

namespace {
bool IsAscii(const std::string& s) {
  for (unsigned char c : s)
    if (c >= 0x80) return false;
  return true;
}
}  // namespace

std::string SjisPathToNative(const std::string& sjisPath) {
  return IsAscii(sjisPath) ? sjisPath : SjisToUtf8(sjisPath);
}

std::string NativePathToSjis(const std::string& nativePath) {
  return IsAscii(nativePath) ? nativePath : Utf8ToSjis(nativePath);
}

std::FILE* OpenFileSjis(const std::string& sjisPath, const char* mode) {
  return std::fopen(SjisPathToNative(sjisPath).c_str(), mode);
}

bool FileExistsSjis(const std::string& sjisPath) {
  struct stat st;
  return ::stat(SjisPathToNative(sjisPath).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool FolderExistsSjis(const std::string& sjisPath) {
  struct stat st;
  return !sjisPath.empty() && ::stat(SjisPathToNative(sjisPath).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool FileIdentitySjis(const std::string& sjisPath, std::pair<uint64_t, uint64_t>& id) {
  struct stat st;
  if (::stat(SjisPathToNative(sjisPath).c_str(), &st) != 0) return false;
  id = {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
  return true;
}

bool MakeFoldersSjis(const std::string& sjisPath) {
  if (sjisPath.empty()) return false;
  std::error_code ec;
  std::filesystem::create_directories(SjisPathToNative(sjisPath), ec);
  return FolderExistsSjis(sjisPath);
}

std::string WithTrailingSlash(std::string folder) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

bool DeleteFileSjis(const std::string& sjisPath) {
  return std::remove(SjisPathToNative(sjisPath).c_str()) == 0;
}

bool RenameFileSjis(const std::string& from, const std::string& to) {
  return std::rename(SjisPathToNative(from).c_str(), SjisPathToNative(to).c_str()) == 0;
}

int64_t FileSizeSjis(const std::string& sjisPath) {
  struct stat st;
  if (::stat(SjisPathToNative(sjisPath).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
  return static_cast<int64_t>(st.st_size);
}

int64_t FileAgeSecondsSjis(const std::string& sjisPath) {
  struct stat st;
  if (::stat(SjisPathToNative(sjisPath).c_str(), &st) != 0) return 0;
  return static_cast<int64_t>(st.st_mtime);
}

bool ReadWholeFileSjis(const std::string& sjisPath, std::vector<uint8_t>& out) {
  out.clear();
  std::FILE* f = OpenFileSjis(sjisPath, "rb");
  if (!f) return false;
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
