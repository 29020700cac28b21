// The user's desktop and documents folders (on Linux the XDG desktop and
// documents folders). Native UTF-8 paths with a trailing '/'; empty when the
// system names no such folder. The folder need not exist.
#pragma once

#include <string>

#include "user_folders.h"

std::string DesktopFolderPath();
std::string DocumentsFolderPath();

// The same folders for the program's core (SetUserFolders).
class TQtUserFolders : public TUserFolders {
 public:
  std::string DesktopFolder() const override { return DesktopFolderPath(); }
  std::string DocumentsFolder() const override { return DocumentsFolderPath(); }
};
