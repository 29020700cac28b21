// File-system access. A path is a native byte string (UTF-8 on Linux) and
// keeps the exact bytes the file system gave: it never goes through
// Shift-JIS, which would turn names like "1階〜2階.jww" or "Müller" into "?".
// Texts inside drawings stay Shift-JIS; the two meet only through the
// conversions below, where a drawing text names a file or a path is written
// into a Shift-JIS file.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

// A Shift-JIS text that names a file (an image text, a sheet name made from
// drawing texts) as a native path. ASCII passes through unchanged.
std::string PathFromSjisText(const std::string& sjisText);
// A native path as a Shift-JIS text, for drawings and Shift-JIS files; a
// character that Shift-JIS lacks becomes "?". Never opened again as a path.
std::string SjisTextFromPath(const std::string& path);

std::FILE* OpenFile(const std::string& path, const char* mode);
// What the folder's file system can still take from an unprivileged writer:
// bytes, inodes (both 0 of 0 when it keeps no inode count) and the block
// size that every file's bytes are rounded up to.
struct TFolderSpace {
  uint64_t FreeBytes = 0;
  uint64_t BlockBytes = 0;
  uint64_t FreeInodes = 0;
  uint64_t TotalInodes = 0;
  // Bytes that may still be written so that reserve bytes stay free.
  uint64_t RoomAbove(uint64_t reserve) const { return FreeBytes > reserve ? FreeBytes - reserve : 0; }
};
// False when that cannot be learned.
bool FolderSpaceOf(const std::string& folder, TFolderSpace& space);
// Free space that the program's own writes (held images, sheets) always
// leave on a disk, so that a huge drawing cannot fill it.
constexpr uint64_t kDiskReserveBytes = uint64_t{256} << 20;
// RoomAbove of the folder's file system; UINT64_MAX when its free space
// cannot be learned.
uint64_t RoomAboveReserve(const std::string& folder, uint64_t reserve);
bool FileExists(const std::string& path);
// True when anything is at path: a file, a folder, a link (a dangling one too).
bool PathTaken(const std::string& path);
bool FolderExists(const std::string& path);
// The file's identity (device, inode), the same whatever name reaches it;
// false when the file cannot be examined.
bool FileIdentity(const std::string& path, std::pair<uint64_t, uint64_t>& id);
// Creates the folder and any missing parents; true when it is there after.
bool MakeFolders(const std::string& path);
// The folder with one trailing '/' (an empty path stays empty).
std::string WithTrailingSlash(std::string folder);
// Under a folder a run holds (folder_at.h), through its descriptor.
bool RemoveFile(const std::string& path);
bool RenameFile(const std::string& from, const std::string& to);
// Moves a file to a name that is free: nothing there is ever replaced.
// Under a held folder, through its descriptor.
bool MoveFileWithoutReplacing(const std::string& from, const std::string& to);
// Removes the folder's files and links, then the folder when that leaves it
// empty; sub-folders stay, and a link in the folder's place is left alone.
// Under a held folder, through its descriptor.
void RemoveFolderWithFiles(std::string folder);
// Size in bytes, or -1 when the file cannot be examined.
int64_t FileSize(const std::string& path);
// Modification time in seconds since 1970; 0 when the file cannot be examined.
int64_t FileAgeSeconds(const std::string& path);
// Reads the whole regular file (never waits on a FIFO); false when it is
// none or cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& out);
