// Starts an external command the way Jw_cad does: CreateProcess on the
// program's drive path with its arguments, in the program's own folder, then
// a wait until it is idle. Prints what each step answered.
// Usage: jwcad_start_probe.exe <program drive path> [arguments ...]
// Exit status: 0 when the program was started, 1 when it was not.
#include <windows.h>

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fputs("usage: jwcad_start_probe.exe <program> [arguments ...]\n", stderr);
    return 2;
  }
  const std::wstring program = argv[1];
  std::wstring command = L"\"" + program + L"\"";
  for (int i = 2; i < argc; ++i) command += L" " + std::wstring(argv[i]);
  const size_t slash = program.find_last_of(L"\\/");
  const std::wstring folder = slash == std::wstring::npos ? std::wstring() : program.substr(0, slash + 1);

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_DEFAULT_ERROR_MODE, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
    std::printf("CreateProcess failed: error %lu\n", GetLastError());
    return 1;
  }
  std::printf("CreateProcess started the program\n");
  // Jw_cad waits until the command is idle; a program that is no Windows
  // program cannot say so, and the wait fails at once.
  const DWORD idle = WaitForInputIdle(process.hProcess, 30000);
  std::printf("WaitForInputIdle: %s\n", idle == 0 ? "idle" : idle == WAIT_TIMEOUT ? "timeout" : "failed");
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  std::fflush(stdout);
  return 0;
}
