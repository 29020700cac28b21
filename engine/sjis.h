// Shift-JIS (Windows code page 932) conversions at the edges of the engine.
// glibc's iconv "CP932" table matches Windows byte for byte; a character
// without a CP932 form becomes "?".
#pragma once

#include <cstddef>
#include <string>

std::string Utf16ToSjis(const char16_t* units, size_t count);
std::string Utf8ToSjis(const std::string& utf8);
// Bytes that are not valid CP932 become U+FFFD.
std::string SjisToUtf8(const std::string& sjis);
// True when every byte sequence of the text is valid CP932.
bool IsValidSjis(const std::string& sjis);
// True when the text is well-formed UTF-8 (no overlong forms, no surrogates).
bool IsValidUtf8(const std::string& text);
