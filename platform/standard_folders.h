// The user's desktop and documents folders (on Linux the XDG desktop and
// documents folders). Native UTF-8 paths with a trailing '/'; empty when the
// system names no such folder. The folder need not exist.
#pragma once

#include <string>

std::string DesktopFolderPath();
std::string DocumentsFolderPath();
