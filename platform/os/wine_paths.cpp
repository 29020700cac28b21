#include "wine_paths.h"

#include <dirent.h>
#include <sys/stat.h>

#include <climits>
#include <cstdlib>
#include <vector>

#include "ascii_case.h"

namespace {

bool Exists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

std::string RealPath(const std::string& path) {
  char* resolved = ::realpath(path.c_str(), nullptr);
  if (resolved == nullptr) return std::string();
  std::string out(resolved);
  std::free(resolved);
  return out;
}

}  // namespace

std::string FindEntryIgnoringCase(const std::string& folder, const std::string& name) {
  if (name.empty() || name == "." || name == "..") return std::string();
  const std::string base = folder.empty() || folder.back() == '/' ? folder : folder + "/";
  if (Exists(base + name)) return name;
  DIR* dir = ::opendir(base.empty() ? "." : base.c_str());
  if (dir == nullptr) return std::string();
  std::string found;
  while (const dirent* entry = ::readdir(dir)) {
    if (EqualsIgnoringAsciiCase(entry->d_name, name)) {
      found = entry->d_name;
      break;
    }
  }
  ::closedir(dir);
  return found;
}

std::string ResolveIgnoringCase(const std::string& folder, const std::string& relativeWindowsPath) {
  std::vector<std::string> parts;
  size_t i = 0;
  while (i <= relativeWindowsPath.size()) {
    size_t end = relativeWindowsPath.find_first_of("\\/", i);
    if (end == std::string::npos) end = relativeWindowsPath.size();
    const std::string part = relativeWindowsPath.substr(i, end - i);
    i = end + 1;
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
      continue;
    }
    parts.push_back(part);
  }
  std::string path = folder;
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  bool matching = true;  // below a component without a match nothing can be found
  for (const std::string& part : parts) {
    std::string name;
    if (matching) name = FindEntryIgnoringCase(path, part);
    if (name.empty()) {
      matching = false;
      name = part;
    }
    path += (path == "/" ? "" : "/") + name;
  }
  return path;
}

std::string WindowsToUnixPath(const std::string& prefix, const std::string& windowsPath) {
  if (prefix.empty() || windowsPath.size() < 2 || windowsPath[1] != ':') return std::string();
  const char letter = LowerAscii(windowsPath[0]);
  if (letter < 'a' || letter > 'z') return std::string();
  // The drive's own folder, so that the path reads as the user knows it.
  const std::string drive = RealPath(prefix + "dosdevices/" + letter + ":");
  struct stat st;
  if (drive.empty() || ::stat(drive.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return std::string();

  return ResolveIgnoringCase(drive, windowsPath.substr(2));
}

std::string UnixToWindowsPath(const std::string& prefix, const std::string& unixPath) {
  if (prefix.empty() || unixPath.empty() || unixPath[0] != '/') return std::string();
  std::string path = RealPath(unixPath);
  if (path.empty()) path = unixPath;
  size_t bestLength = 0;
  char bestLetter = 0;
  std::string bestRest;
  for (char letter = 'a'; letter <= 'z'; ++letter) {
    const std::string target = RealPath(prefix + "dosdevices/" + letter + ":");
    if (target.empty()) continue;
    std::string rest;
    if (target == "/") {
      rest = path.substr(1);
    } else if (path == target) {
      rest.clear();
    } else if (path.size() > target.size() && path.compare(0, target.size(), target) == 0 &&
               path[target.size()] == '/') {
      rest = path.substr(target.size() + 1);
    } else {
      continue;
    }
    if (bestLetter == 0 || target.size() > bestLength) {
      bestLength = target.size();
      bestLetter = letter;
      bestRest = rest;
    }
  }
  if (bestLetter == 0) return std::string();
  std::string out;
  out += static_cast<char>(bestLetter - 'a' + 'A');
  out += ":\\";
  for (char c : bestRest) out += c == '/' ? '\\' : c;
  return out;
}

std::string WindowsFolderOf(const std::string& windowsPath) {
  const size_t slash = windowsPath.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : windowsPath.substr(0, slash + 1);
}
