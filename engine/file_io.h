// File-system access for the engine. Paths inside the engine are Shift-JIS
// byte strings like every other text; they are converted to the file
// system's UTF-8 here, at the edge. ASCII paths pass through unchanged.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

std::string SjisPathToNative(const std::string& sjisPath);
std::string NativePathToSjis(const std::string& nativePath);

std::FILE* OpenFileSjis(const std::string& sjisPath, const char* mode);
bool FileExistsSjis(const std::string& sjisPath);
bool FolderExistsSjis(const std::string& sjisPath);
// The file's identity (device, inode), the same whatever name reaches it;
// false when the file cannot be examined.
bool FileIdentitySjis(const std::string& sjisPath, std::pair<uint64_t, uint64_t>& id);
// Creates the folder and any missing parents; true when it is there after.
bool MakeFoldersSjis(const std::string& sjisPath);
// The folder with one trailing '/' (an empty path stays empty).
std::string WithTrailingSlash(std::string folder);
bool DeleteFileSjis(const std::string& sjisPath);
bool RenameFileSjis(const std::string& from, const std::string& to);
// Size in bytes, or -1 when the file cannot be examined.
int64_t FileSizeSjis(const std::string& sjisPath);
// Modification time in seconds since 1970; 0 when the file cannot be examined.
int64_t FileAgeSecondsSjis(const std::string& sjisPath);
// Reads the whole file; false when it cannot be opened or read.
bool ReadWholeFileSjis(const std::string& sjisPath, std::vector<uint8_t>& out);
