#include "probe_util.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

namespace {
int gFailures = 0;

void PrintUtf8(const std::wstring& line) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n > 0 ? n : 1), '\0');
  WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, out.data(), n, nullptr, nullptr);
  std::printf("%s\n", out.c_str());
  std::fflush(stdout);
}

struct TSearch {
  DWORD ProcessId;
  const std::wstring* Caption;
  HWND Found;
};

BOOL CALLBACK MatchAnyVisible(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<TSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != search->ProcessId || !IsWindowVisible(window)) return TRUE;
  search->Found = window;
  return FALSE;
}

BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<TSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != search->ProcessId || WindowText(window) != *search->Caption) return TRUE;
  search->Found = window;
  return FALSE;
}
}  // namespace

void Fail(const std::wstring& what) {
  ++gFailures;
  PrintUtf8(L"FAIL " + what);
}
int FailureCount() { return gFailures; }
void Note(const std::wstring& what) { PrintUtf8(what); }

std::string ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::filesystem::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::wstring WindowText(HWND window) {
  wchar_t buffer[512] = {};
  GetWindowTextW(window, buffer, 512);
  return buffer;
}

std::wstring EditText(HWND edit) {
  wchar_t buffer[64] = {};
  SendMessageW(edit, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(buffer));
  return buffer;
}

HWND WaitForProcessWindow(DWORD processId, const std::wstring& caption, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  do {
    TSearch search{processId, &caption, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    if (search.Found && IsWindowVisible(search.Found)) return search.Found;
    Sleep(50);
  } while (GetTickCount64() < end);
  return nullptr;
}

bool ProcessShowsWindow(HANDLE process, DWORD processId, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  while (WaitForSingleObject(process, 5) == WAIT_TIMEOUT) {
    TSearch search{processId, nullptr, nullptr};
    EnumWindows(MatchAnyVisible, reinterpret_cast<LPARAM>(&search));
    if (search.Found || GetTickCount64() > end) {
      TerminateProcess(process, 99);
      WaitForSingleObject(process, 5000);
      return true;
    }
  }
  return false;
}

TWindowShot::TWindowShot(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  client_ = POINT{origin.x - r.left, origin.y - r.top};
  width_ = r.right - r.left;
  height_ = r.bottom - r.top;
  if (width_ <= 0 || height_ <= 0) return;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width_, height_);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width_, height_, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width_;
  info.bmiHeader.biHeight = -height_;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  stride_ = (width_ * 3 + 3) & ~3;
  pixels_.resize(static_cast<size_t>(stride_) * height_);
  GetDIBits(memory, bitmap, 0, height_, pixels_.data(), &info, DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

COLORREF TWindowShot::ClientPixel(int x, int y) const {
  x += client_.x;
  y += client_.y;
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return RGB(255, 255, 255);
  const unsigned char* p = &pixels_[static_cast<size_t>(y) * stride_ + static_cast<size_t>(x) * 3];
  return RGB(p[2], p[1], p[0]);
}

bool TWindowShot::SaveBmp(const std::filesystem::path& file) const {
  if (pixels_.empty()) return false;
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width_;
  info.biHeight = -height_;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  BITMAPFILEHEADER header{};
  header.bfType = 0x4D42;  // "BM"
  header.bfOffBits = sizeof header + sizeof info;
  header.bfSize = header.bfOffBits + static_cast<DWORD>(pixels_.size());
  std::ofstream out(file, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&header), sizeof header);
  out.write(reinterpret_cast<const char*>(&info), sizeof info);
  out.write(reinterpret_cast<const char*>(pixels_.data()), static_cast<std::streamsize>(pixels_.size()));
  return static_cast<bool>(out);
}
