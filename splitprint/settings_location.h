// Where Quillmoor keeps its settings file: beside the program, named after
// it with ".dat", when the program's folder can be written (Tollwick finds
// it there as "quillmoor.dat"); otherwise in the user's configuration folder.
#pragma once

#include <string>

// Native paths. programFolder has its trailing '/'; programFileName is the
// program file's name (its extension, if any, is replaced by ".dat"). The
// fallback is $XDG_CONFIG_HOME/quillmoor/quillmoor.dat, else
// ~/.config/quillmoor/quillmoor.dat; the folder is not created here.
std::string SettingsFileLocation(const std::string& programFolder, const std::string& programFileName);

// A folder of Quillmoor's own under one of the user's XDG folders:
// "$<xdgVariable>/quillmoor/" when the variable holds an absolute path, else
// "$HOME/<underHome>/quillmoor/"; empty when neither is known. Native, with
// its trailing '/'; the folder is not created here.
std::string UserProgramFolder(const char* xdgVariable, const char* underHome);
