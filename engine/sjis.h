// Shift-JIS (Windows code page 932) conversions at the edges of the engine.
// glibc's iconv "CP932" table matches Windows byte for byte; a character
// without a CP932 form becomes one "?", however many bytes it takes.
#pragma once

#include <cstddef>
#include <string>

std::string Utf16ToSjis(const char16_t* units, size_t count);
std::string Utf8ToSjis(const std::string& utf8);
// The first `chars` characters of a UTF-8 text, counted as Utf8ToSjis counts
// them (a byte that is no UTF-8 counts as one); the whole text when shorter.
std::string Utf8Prefix(const std::string& utf8, size_t chars);
// Bytes that are not valid CP932 become U+FFFD.
std::string SjisToUtf8(const std::string& sjis);
// True when every byte sequence of the text is valid CP932.
bool IsValidSjis(const std::string& sjis);
// True when the text is well-formed UTF-8 (no overlong forms, no surrogates).
bool IsValidUtf8(const std::string& text);
