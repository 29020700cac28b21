// A private folder of one run inside a shared one (TEMP/ or TMP/), which
// other users may be able to write. It is made 0700 under a name of this
// process ("run-<pid>-XXXXXX") and held open for the life of the run, with a
// write lock on its ".lock" file: a lock holds across the hosts sharing a
// network folder and across process namespaces, where a process id tells
// nothing. Removal goes through the held descriptor and never follows a
// link put in the folder's place.
#pragma once

#include <sys/types.h>

#include <string>

class TRunFolder {
 public:
  TRunFolder() = default;
  TRunFolder(const TRunFolder&) = delete;
  TRunFolder& operator=(const TRunFolder&) = delete;
  ~TRunFolder() { Remove(); }

  // Makes and locks a new run folder in parent (with '/'). False with the
  // system's error number in error.
  bool Make(const std::string& parent, int& error);
  // The folder's files go (sub-folders are left alone), then the folder
  // itself when its name still leads to it; the lock is given up last.
  void Remove();

  // With its trailing '/'; empty when there is none.
  const std::string& Path() const { return path_; }

 private:
  void Release();

  std::string path_;
  int dir_ = -1, lock_ = -1;
  dev_t device_ = 0;
  ino_t inode_ = 0;
};

// Removes the run folders in parent (with '/') whose run has ended: the lock
// of their ".lock" file is free. A folder is left alone when in doubt: no
// lock file, a lock that cannot be tried, another user's folder, a link.
void RemoveEndedRunFolders(const std::string& parent);
