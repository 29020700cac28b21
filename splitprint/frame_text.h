// Small Shift-JIS text helpers of frame detection.
#pragma once

#include <cstddef>
#include <string>

// Removes leading and trailing bytes up to 32 (blanks and control characters).
std::string TrimBytesUpTo32(const std::string& s);
// Byte position (0-based) of the first occurrence of `what` that starts on a
// character boundary of s, or std::string::npos.
size_t FindOnCharBoundary(const std::string& s, const std::string& what, size_t from = 0);
// Equality ignoring the case of single-byte and full-width Latin letters.
bool EqualIgnoringCase(const std::string& a, const std::string& b);
// Three-way byte comparison ignoring the case of single-byte letters.
int CompareIgnoringCase(const std::string& a, const std::string& b);
