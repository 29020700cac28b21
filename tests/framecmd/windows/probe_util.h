// Helpers of the dialog probe: failure reports, files, windows of another
// process, and a screenshot of a window as a BMP file.
#pragma once

#include <windows.h>

#include <filesystem>
#include <string>

// Prints "FAIL <what>" (UTF-8) and counts it.
void Fail(const std::wstring& what);
int FailureCount();
void Note(const std::wstring& what);

std::string ReadBytes(const std::filesystem::path& file);  // "" when missing
void WriteBytes(const std::filesystem::path& file, const std::string& bytes);

std::wstring WindowText(HWND window);
// An edit's text lives in the control, not in its window title: ask it.
std::wstring EditText(HWND edit);
// The top-level window of the process with this caption, waiting up to timeoutMs.
HWND WaitForProcessWindow(DWORD processId, const std::wstring& caption, DWORD timeoutMs);

// Whether the process shows any visible top-level window before it ends
// (waiting up to timeoutMs); ends it when it does not end in time.
bool ProcessShowsWindow(HANDLE process, DWORD processId, DWORD timeoutMs);

// Copies the window's screen area into a 24-bit BMP file.
bool SaveWindowBitmap(HWND window, const std::filesystem::path& file);
