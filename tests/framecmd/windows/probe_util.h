// Helpers of the dialog probe: failure reports, files, windows of another
// process, and a screenshot of a window as a BMP file.
#pragma once

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

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

// The screen area of a window, as 24-bit pixels from the top row down.
class TWindowShot {
 public:
  explicit TWindowShot(HWND window);
  // Colour at a point of the window's client area (white outside the shot).
  COLORREF ClientPixel(int x, int y) const;
  bool SaveBmp(const std::filesystem::path& file) const;

 private:
  int width_ = 0, height_ = 0, stride_ = 0;
  POINT client_{};  // client origin within the shot
  std::vector<unsigned char> pixels_;
};
