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

  std::string config;
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg != nullptr && xdg[0] == '/') {
    config = xdg;
  } else {
    const char* home = std::getenv("HOME");
    config = std::string(home != nullptr ? home : "") + "/.config";
  }
  if (config.back() != '/') config += '/';
  return config + "quillmoor/quillmoor.dat";
}
