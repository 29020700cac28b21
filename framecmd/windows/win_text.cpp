#include "win_text.h"

#include <windows.h>
#include <shellapi.h>

namespace {
constexpr UINT kShiftJis = 932;
}

std::string WideToSjis(const std::wstring& text) {
  if (text.empty()) return {};
  // No best fit: "é" must become "?", not "e", a name the user did not give.
  constexpr DWORD kFlags = WC_NO_BEST_FIT_CHARS;
  const int length = static_cast<int>(text.size());
  const int n = WideCharToMultiByte(kShiftJis, kFlags, text.data(), length, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return {};
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(kShiftJis, kFlags, text.data(), length, out.data(), n, "?", nullptr);
  return out;
}

std::wstring SjisToWide(const std::string& text) {
  if (text.empty()) return {};
  const int n = MultiByteToWideChar(kShiftJis, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (n <= 0) return {};
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(kShiftJis, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

std::vector<std::string> CommandLineArgumentsSjis() {
  std::vector<std::string> args;
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!argv) return args;
  for (int i = 1; i < count; ++i) args.push_back(WideToSjis(argv[i]));
  LocalFree(argv);
  return args;
}

std::wstring ProgramFileWide() {
  // Long paths: grow the buffer until the whole name fits.
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) {
      buffer.resize(n);
      return buffer;
    }
    if (buffer.size() >= 32768) return {};
    buffer.resize(buffer.size() * 2);
  }
}
