// The system's words for an error number, as the program shows them.
#pragma once

#include <string>

// Shift-JIS: the C library's Japanese text when it has one (a ja_JP.UTF-8
// locale with its message catalogue), its English text otherwise. Never
// follows the process locale.
std::string SystemErrorText(int error);
