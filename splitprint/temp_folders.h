// The program's two temporary folders: "TEMP/" for the images extracted from
// drawings and "TMP/" for temporary sheets. They sit beside the program
// when the program folder, "TEMP/" and "TMP/" are the user's and no one
// else can write them; otherwise (an installed program, a folder a group
// shares) under the user's cache folder, checked the same way. Each run
// works in private folders of its own inside them (TRunFolder), so two
// runs at once never touch each other's files, and nothing is deleted that
// no run made: the shared folders are removed only when empty. Paths are
// Shift-JIS with a trailing '/'.
#pragma once

#include <string>
#include <vector>

#include "run_folder.h"

// "$XDG_CACHE_HOME/quillmoor/", else "$HOME/.cache/quillmoor/"; empty when
// neither variable is set. Shift-JIS.
std::string UserCacheFolder();

class TTempFolders {
 public:
  // A folder that could not be made, with the system's error number.
  struct TProblem {
    std::string Folder;
    int Error = 0;
  };

  TTempFolders() = default;
  TTempFolders(const TTempFolders&) = delete;
  TTempFolders& operator=(const TTempFolders&) = delete;
  ~TTempFolders() { Close(); }

  // Makes the folders under programFolder, else under cacheFolder, first
  // removing the run folders there whose run has ended. False when neither
  // can be used; Problems() then says why (EACCES: another user's folder,
  // or one that others can write).
  bool Open(const std::string& programFolder, const std::string& cacheFolder);
  // Removes the private folders with the files left in them, then "TEMP/"
  // and "TMP/" when they are empty: other files there are kept.
  void Close();

  const std::string& Base() const { return base_; }            // where TEMP/ and TMP/ are
  const std::string& ImageFolder() const { return images_.Path(); }  // private, inside TEMP/
  const std::string& SheetFolder() const { return sheets_.Path(); }  // private, inside TMP/
  // What the last Open could not make, in the order tried.
  const std::vector<TProblem>& Problems() const { return problems_; }

 private:
  bool OpenUnder(const std::string& base);
  bool MakePrivate(const std::string& folder);

  std::string base_;
  TRunFolder images_, sheets_;
  std::vector<TProblem> problems_;
};
