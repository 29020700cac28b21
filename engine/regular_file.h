// Reading a small file that anyone may have put in its place: only a
// regular file (after links) is read, never a FIFO, device or folder, whose
// opening or reading could block or never end, and never more than a cap.
//
// Builds for Linux and, with mingw-w64, for Windows (Tollwick).
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

// The first maxBytes bytes of the regular file at path into bytes; cut
// tells whether the file goes on after them. False when path is no regular
// file or cannot be opened or read (bytes then holds what was read).
bool ReadRegularFile(const std::filesystem::path& path, size_t maxBytes, std::string& bytes, bool& cut);
