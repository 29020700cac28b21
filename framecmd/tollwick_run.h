// Tollwick's start: the one entry point both shells call.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tollwick_form.h"

struct TTollwickRun {
  int ExitStatus = 0;       // 1 when a mode run could not write the interface file
  bool ShowDialog = false;  // no argument, 8, 0, a negative number or a word
  bool Minimised = false;   // show the dialog minimised
};

// argsSjis: the arguments after the program name, in Shift-JIS.
// programFolder: the program's folder as the file system names it.
// programName: the program's file name without extension (its settings file
// is programName + ".dat"). A mode run reads, queues, saves the
// settings and writes the interface file; for the dialog, form is left
// filled for the shell, which then calls Button1Click or Button2Click.
TTollwickRun RunTollwick(TForm1& form, const std::vector<std::string>& argsSjis,
                         const std::filesystem::path& programFolder, const std::filesystem::path& programName);
