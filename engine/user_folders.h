// The user's desktop and documents folders as the program sees them. The
// program installs an implementation over the toolkit's standard paths at
// start-up; tests install fakes. Native UTF-8 paths with a trailing '/';
// empty when the system names no such folder (the folder need not exist).
#pragma once

#include <string>

class TUserFolders {
 public:
  virtual ~TUserFolders() = default;
  virtual std::string DesktopFolder() const = 0;
  virtual std::string DocumentsFolder() const = 0;
};

// The folders in use; nullptr (no folders known) until one is set. The
// caller keeps ownership.
void SetUserFolders(const TUserFolders* folders);
const TUserFolders* CurrentUserFolders();
