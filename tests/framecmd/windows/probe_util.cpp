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

bool SaveWindowBitmap(HWND window, const std::filesystem::path& file) {
  RECT r{};
  GetWindowRect(window, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return false;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);

  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = w;
  info.biHeight = h;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  const int stride = (w * 3 + 3) & ~3;
  std::vector<char> pixels(static_cast<size_t>(stride) * h);
  GetDIBits(memory, bitmap, 0, h, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);

  BITMAPFILEHEADER header{};
  header.bfType = 0x4D42;  // "BM"
  header.bfOffBits = sizeof header + sizeof info;
  header.bfSize = header.bfOffBits + static_cast<DWORD>(pixels.size());
  std::ofstream out(file, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&header), sizeof header);
  out.write(reinterpret_cast<const char*>(&info), sizeof info);
  out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
  return static_cast<bool>(out);
}
