// Points the XDG user folders (desktop, documents) at folders under a test
// folder for the life of the object.
#pragma once

#include <cstdlib>
#include <fstream>
#include <string>

class XdgFolders {
 public:
  explicit XdgFolders(const std::string& root) {
    const char* old = std::getenv("XDG_CONFIG_HOME");
    had_ = old != nullptr;
    if (had_) old_ = old;
    std::ofstream(root + "user-dirs.dirs") << "XDG_DESKTOP_DIR=\"" << root << "desk\"\n"
                                           << "XDG_DOCUMENTS_DIR=\"" << root << "docs\"\n";
    ::setenv("XDG_CONFIG_HOME", root.substr(0, root.size() - 1).c_str(), 1);
  }
  XdgFolders(const XdgFolders&) = delete;
  XdgFolders& operator=(const XdgFolders&) = delete;
  ~XdgFolders() {
    if (had_) {
      ::setenv("XDG_CONFIG_HOME", old_.c_str(), 1);
    } else {
      ::unsetenv("XDG_CONFIG_HOME");
    }
  }

 private:
  bool had_ = false;
  std::string old_;
};
