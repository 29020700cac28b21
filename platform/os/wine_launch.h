// Starting a Windows program under Wine without waiting for it.
#pragma once

#include <string>
#include <vector>

// The program file named `name` in the folders of $PATH; empty when none.
std::string FindProgramOnPath(const std::string& name);

// Starts `wine <exe> <args...>` in `workFolder`, detached (its own session,
// never waited for, never left as a zombie of ours). False when wine is not
// on PATH or the process could not be made, entered into the folder or
// started; then *error, when given, holds the system's error number (ENOENT
// for a missing wine). A failure of wine itself is not seen. Paths are UTF-8.
bool StartUnderWine(const std::string& exe, const std::vector<std::string>& args, const std::string& workFolder,
                    int* error = nullptr);
