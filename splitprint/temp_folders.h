// The program's two temporary folders: "TEMP/" for the images extracted from
// drawings and "TMP/" for temporary sheets. They sit beside the program, or
// under the user's cache folder when the program folder cannot be written
// (an installed program). Each run works in private folders of its own
// inside them, named after its process ("run-<pid>-XXXXXX"), so two runs
// at once never touch each other's files, and nothing is deleted that no run
// made: the shared folders are removed only when empty. Paths are Shift-JIS with a trailing '/'.
#pragma once

#include <string>

// "$XDG_CACHE_HOME/quillmoor/", else "$HOME/.cache/quillmoor/"; empty when
// neither variable is set. Shift-JIS.
std::string UserCacheFolder();

class TTempFolders {
 public:
  TTempFolders() = default;
  TTempFolders(const TTempFolders&) = delete;
  TTempFolders& operator=(const TTempFolders&) = delete;
  ~TTempFolders() { Close(); }

  // Makes the folders under programFolder, else under cacheFolder, first
  // removing the run folders there whose process is gone. False when
  // neither can be written.
  bool Open(const std::string& programFolder, const std::string& cacheFolder);
  // Removes the private folders with the files left in them, then "TEMP/"
  // and "TMP/" when they are empty: other files there are kept.
  void Close();

  const std::string& Base() const { return base_; }            // where TEMP/ and TMP/ are
  const std::string& ImageFolder() const { return images_; }   // private, inside TEMP/
  const std::string& SheetFolder() const { return sheets_; }   // private, inside TMP/

 private:
  bool OpenUnder(const std::string& base);

  std::string base_, images_, sheets_;
};
