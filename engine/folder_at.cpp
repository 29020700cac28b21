#include "folder_at.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <mutex>
#include <utility>

namespace {

std::mutex heldMutex;
std::vector<std::pair<std::string, int>> held;  // folder path with '/', descriptor

// The held folder whose path begins path, the longest one; -1 for none.
int HeldFolderOf(const std::string& path, size_t& prefix) {
  std::lock_guard<std::mutex> lock(heldMutex);
  int found = -1;
  prefix = 0;
  for (const auto& [folder, fd] : held)
    if (folder.size() > prefix && path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0) {
      found = fd;
      prefix = folder.size();
    }
  return found;
}

bool IsPlainName(const std::string& name) { return !name.empty() && name != "." && name != ".."; }

}  // namespace

void HoldFolder(const std::string& path, int fd) {
  if (path.empty() || path.back() != '/' || fd < 0) return;
  std::lock_guard<std::mutex> lock(heldMutex);
  held.emplace_back(path, fd);
}

void ReleaseFolder(int fd) {
  std::lock_guard<std::mutex> lock(heldMutex);
  std::erase_if(held, [fd](const auto& row) { return row.second == fd; });
}

TFolderAt::TFolderAt(const std::string& path) : folder_(AT_FDCWD) {
  size_t prefix = 0;
  const int root = HeldFolderOf(path, prefix);
  if (root < 0) {
    name_ = path;
    ok_ = !path.empty();
    return;
  }
  folder_ = root;
  size_t start = prefix;
  for (size_t slash = path.find('/', start); slash != std::string::npos; slash = path.find('/', start)) {
    const std::string part = path.substr(start, slash - start);
    start = slash + 1;
    if (!IsPlainName(part)) return;
    const int next = ::openat(folder_, part.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (owned_) ::close(folder_);
    folder_ = next;
    owned_ = next >= 0;
    if (next < 0) return;
  }
  name_ = path.substr(start);
  ok_ = IsPlainName(name_);
}

TFolderAt::~TFolderAt() {
  if (owned_) ::close(folder_);
}

std::vector<std::string> NamesInFolder(int dir) {
  std::vector<std::string> names;
  const int copy = ::dup(dir);
  DIR* listing = copy >= 0 ? ::fdopendir(copy) : nullptr;
  if (listing == nullptr) {
    if (copy >= 0) ::close(copy);
    return names;
  }
  ::rewinddir(listing);  // the copy shares its position with dir
  while (const dirent* entry = ::readdir(listing))
    if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
      names.emplace_back(entry->d_name);
  ::closedir(listing);
  return names;
}

void RemoveFilesInFolder(int dir) {
  // Names are taken before anything is removed, so that removing never
  // disturbs the reading.
  for (const std::string& name : NamesInFolder(dir)) {
    struct stat st {};
    if (::fstatat(dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || S_ISDIR(st.st_mode)) continue;
    ::unlinkat(dir, name.c_str(), 0);
  }
}
