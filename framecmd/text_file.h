// File access of the paper-frame command through standard C++ and the
// engine's file routines, so the core builds the same for Linux and for
// Windows.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

// Reads up to maxLines lines (ends LF, CR LF or CR; the end is not kept).
// A line longer than maxLineBytes keeps only its first maxLineBytes bytes.
// moreAfter tells whether the file goes on after the last line taken.
// False when the file cannot be opened, is no regular file (a FIFO or a
// device is never read), a read error occurs or it is far larger than any
// settings file (the lines read before stay).
bool ReadFirstLines(const std::filesystem::path& path, size_t maxLines, size_t maxLineBytes,
                    std::vector<std::string>& lines, bool& moreAfter);

// The entry of folder whose name equals name ignoring ASCII case (a regular
// file or anything else), or folder / name when there is none.
std::filesystem::path FindIgnoringAsciiCase(const std::filesystem::path& folder, const std::string& name);
