// Starts a command as Jw_cad does: CreateProcess on the program's drive path
// with its arguments, in the program's folder, then a wait until it is idle.
// Prints what each step answered. Usage: jwcad_start_probe.exe <program> [arguments ...]
#include <windows.h>

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  const std::wstring program = argv[1];
  std::wstring command = L"\"" + program + L"\"";
  for (int i = 2; i < argc; ++i) command += L" " + std::wstring(argv[i]);
  const std::wstring folder = program.substr(0, program.find_last_of(L"\\/") + 1);  // empty without one
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_DEFAULT_ERROR_MODE, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
    std::printf("CreateProcess failed: error %lu\n", GetLastError());
    return 1;
  }
  std::printf("CreateProcess started the program\n");
  // A program that is no Windows program cannot say it is idle: the wait fails.
  const DWORD idle = WaitForInputIdle(process.hProcess, 30000);
  std::printf("WaitForInputIdle: %s\n", idle == 0 ? "idle" : idle == WAIT_TIMEOUT ? "timeout" : "failed");
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  std::fflush(stdout);
  return 0;
}
