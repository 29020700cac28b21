#include "settings_location.h"

#include <unistd.h>

#include <cstdlib>

#include "file_io.h"

std::string UserProgramFolder(const char* xdgVariable, const char* underHome) {
  const char* xdg = std::getenv(xdgVariable);
  if (xdg && xdg[0] == '/') return WithTrailingSlash(xdg) + "quillmoor/";
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return WithTrailingSlash(home) + underHome + "/quillmoor/";
  return std::string();
}

std::string SettingsFileLocation(const std::string& programFolder, const std::string& programFileName) {
  std::string name = programFileName;
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  if (name.empty()) name = "quillmoor";
  // Replacing the file means creating a file in its folder.
  if (!programFolder.empty() && ::access(programFolder.c_str(), W_OK | X_OK) == 0) return programFolder + name + ".dat";
  const std::string config = UserProgramFolder("XDG_CONFIG_HOME", ".config");
  // No home known: under the root.
  return (config.empty() ? std::string("/.config/quillmoor/") : config) + "quillmoor.dat";
}
