// Conversions between the core's Shift-JIS bytes and Windows' UTF-16, always
// through code page 932, whatever the system's ANSI code page is.
#pragma once

#include <string>
#include <vector>

// Characters without a Shift-JIS form become '?'.
std::string WideToSjis(const std::wstring& text);
std::wstring SjisToWide(const std::string& text);

// The command line's arguments after the program name, in Shift-JIS.
std::vector<std::string> CommandLineArgumentsSjis();

// Full path of the running executable (never the working directory).
std::wstring ProgramFileWide();
