// Files reached through a folder's descriptor rather than by path. A run
// holds its private folders open (HoldFolder); a file under such a folder
// is then removed or moved through the descriptor, one name at a time and
// with no link followed, so a link put in place of the folder, or of a
// folder inside it, while the run goes on leads nowhere.
#pragma once

#include <string>
#include <vector>

// Registers fd as the folder path (with its trailing '/') until
// ReleaseFolder(fd). The caller keeps the descriptor open meanwhile.
void HoldFolder(const std::string& path, int fd);
void ReleaseFolder(int fd);

// Where a path is reached: the folder descriptor and the last name in it.
// Under a held folder each folder on the way is opened without following a
// link; any other path is taken as it is (AT_FDCWD and the whole path).
class TFolderAt {
 public:
  explicit TFolderAt(const std::string& path);
  ~TFolderAt();
  TFolderAt(const TFolderAt&) = delete;
  TFolderAt& operator=(const TFolderAt&) = delete;

  bool Ok() const { return ok_; }
  int Folder() const { return folder_; }
  const char* Name() const { return name_.c_str(); }

 private:
  int folder_;
  bool owned_ = false;
  bool ok_ = false;
  std::string name_;
};

// The names in the folder held by dir, "." and ".." left out.
std::vector<std::string> NamesInFolder(int dir);
// Files and links in the folder held by dir go; sub-folders stay.
void RemoveFilesInFolder(int dir);
