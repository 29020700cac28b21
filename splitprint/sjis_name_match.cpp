#include "sjis_name_match.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>

#include "func.h"
#include "sjis.h"

namespace {

constexpr int kMaxEntriesPerFolder = 10000;

bool Exists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

// The name as Shift-JIS compares it; empty when the name holds a character
// Shift-JIS lacks (its "?" would match any other such character).
std::string SjisForm(const std::string& name) {
  const std::string sjis = Utf8ToSjis(name);
  if (std::count(sjis.begin(), sjis.end(), '?') != std::count(name.begin(), name.end(), '?')) return {};
  return UpperAsciiSJIS(sjis);
}

// The entry of folder (with '/') whose Shift-JIS form is `form`; empty when none.
std::string FindEntry(const std::string& folder, const std::string& form) {
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return {};
  std::string found;
  int read = 0;
  while (const dirent* entry = ::readdir(dir)) {
    if (++read > kMaxEntriesPerFolder) break;
    const std::string name = entry->d_name;
    if (name != "." && name != ".." && SjisForm(name) == form) {
      found = name;
      break;
    }
  }
  ::closedir(dir);
  return found;
}

}  // namespace

std::string MatchBySjisForm(const std::string& path) {
  if (path.empty() || path[0] != '/' || Exists(path)) return path;
  std::string matched = "/";
  size_t i = 1;
  while (i <= path.size()) {
    size_t end = path.find('/', i);
    if (end == std::string::npos) end = path.size();
    const std::string part = path.substr(i, end - i);
    i = end + 1;
    if (part.empty()) continue;
    std::string name = part;
    if (!Exists(matched + part)) {
      const std::string form = SjisForm(part);
      name = form.empty() ? std::string() : FindEntry(matched, form);
      if (name.empty()) return path;
    }
    matched += name + (end < path.size() ? "/" : "");
  }
  return Exists(matched) ? matched : path;
}
