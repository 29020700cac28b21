// TFileReplacement on Windows: CreateFileW with CREATE_NEW,
// FlushFileBuffers, MoveFileExW.
#ifdef _WIN32
#include <windows.h>

#include <atomic>
#include <string>

#include "file_replace.h"

namespace fs = std::filesystem;

namespace {

std::error_code LastError() {
  const DWORD error = ::GetLastError();
  return std::error_code(static_cast<int>(error != 0 ? error : ERROR_GEN_FAILURE), std::system_category());
}
std::error_code ErrorOf(DWORD error) { return std::error_code(static_cast<int>(error), std::system_category()); }

HANDLE HandleOf(intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

// Nothing when target may be replaced; its attributes when it exists (else
// INVALID_FILE_ATTRIBUTES). A read-only file refuses every user.
std::error_code CheckTarget(const fs::path& target, DWORD& attributes) {
  attributes = ::GetFileAttributesW(target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND ? std::error_code() : ErrorOf(error);
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return ErrorOf(ERROR_ACCESS_DENIED);
  if (attributes & FILE_ATTRIBUTE_READONLY) return ErrorOf(ERROR_ACCESS_DENIED);
  return std::error_code();
}

fs::path FolderOf(const fs::path& target) { return target.has_filename() ? target.parent_path() : target; }

// A short name of its own, so a leftover of any earlier name is no obstacle.
std::wstring TempName() {
  static std::atomic<uint32_t> serial{0};
  return L".~" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(serial++) + L"-" +
         std::to_wstring(::GetTickCount() % 1000000u) + L".tmp";
}

// The attributes the new file takes over from the one it replaces.
DWORD KeptAttributes(DWORD attributes) {
  if (attributes == INVALID_FILE_ATTRIBUTES) return FILE_ATTRIBUTE_NORMAL;
  const DWORD kept = attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                   FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
  return kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL;
}

}  // namespace

// Windows follows every link the user may read.
std::error_code LinkMayBeFollowed(const fs::path&) { return std::error_code(); }

TFileReplacement::TFileReplacement(const fs::path& target) {
  std::error_code error;
  target_ = target.has_filename() ? FollowLinks(target, error) : target;
  if (error) {
    Fail(error);
    return;
  }
  DWORD attributes = INVALID_FILE_ATTRIBUTES;
  if (target_.has_filename()) {
    error = CheckTarget(target_, attributes);
    if (error) {
      Fail(error);
      return;
    }
  }
  const fs::path folder = FolderOf(target_);
  for (int attempt = 0; attempt < 100 && handle_ == -1; ++attempt) {
    const fs::path temp = folder.empty() ? fs::path(TempName()) : folder / TempName();
    const HANDLE h = ::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, KeptAttributes(attributes),
                                   nullptr);
    if (h != INVALID_HANDLE_VALUE) {
      handle_ = reinterpret_cast<intptr_t>(h);
      temp_ = temp;
    } else if (::GetLastError() != ERROR_FILE_EXISTS) {
      Fail(LastError());
      return;
    }
  }
  if (handle_ == -1) Fail(ErrorOf(ERROR_FILE_EXISTS));
}

bool TFileReplacement::Write(const void* data, size_t size) {
  if (handle_ == -1) return false;
  const char* bytes = static_cast<const char*>(data);
  while (size > 0) {
    const DWORD chunk = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!::WriteFile(HandleOf(handle_), bytes, chunk, &written, nullptr) || written == 0) return Fail(LastError());
    bytes += written;
    size -= written;
  }
  return true;
}

bool TFileReplacement::SetModificationTime(int64_t secondsSince1970) {
  if (handle_ == -1) return false;
  // FILETIME counts 100 ns steps from 1601.
  const uint64_t ticks = static_cast<uint64_t>(secondsSince1970 + 11644473600LL) * 10000000ULL;
  FILETIME time;
  time.dwLowDateTime = static_cast<DWORD>(ticks & 0xFFFFFFFFu);
  time.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
  return ::SetFileTime(HandleOf(handle_), nullptr, nullptr, &time) || Fail(LastError());
}

bool TFileReplacement::CommitAs(const fs::path& target) {
  if (handle_ == -1) return false;
  std::error_code error;
  const fs::path resolved = FollowLinks(target, error);
  DWORD attributes = INVALID_FILE_ATTRIBUTES;
  if (!error) error = CheckTarget(resolved, attributes);
  if (error) return Fail(error);
  if (!::FlushFileBuffers(HandleOf(handle_))) return Fail(LastError());
  const HANDLE h = HandleOf(handle_);
  handle_ = -1;
  if (!::CloseHandle(h) ||
      !::MoveFileExW(temp_.c_str(), resolved.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return Fail(LastError());
  temp_.clear();
  return true;
}

void TFileReplacement::CloseAndRemove() {
  if (handle_ != -1) ::CloseHandle(HandleOf(handle_));
  handle_ = -1;
  if (!temp_.empty()) ::DeleteFileW(temp_.c_str());
  temp_.clear();
}
#endif
