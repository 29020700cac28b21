// ReadRegularFile on Windows, where a path in a folder names no pipe or
// device that could block: the kind is asked, then the file is read.
#ifdef _WIN32
#include <algorithm>
#include <fstream>
#include <system_error>

#include "regular_file.h"

bool ReadRegularFile(const std::filesystem::path& path, size_t maxBytes, std::string& bytes, bool& cut) {
  bytes.clear();
  cut = false;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  char buffer[8192];
  while (bytes.size() <= maxBytes) {
    const size_t want = std::min(sizeof buffer, maxBytes + 1 - bytes.size());
    in.read(buffer, static_cast<std::streamsize>(want));
    const std::streamsize n = in.gcount();
    if (n <= 0) break;
    bytes.append(buffer, static_cast<size_t>(n));
  }
  if (bytes.size() > maxBytes) {
    bytes.resize(maxBytes);
    cut = true;
  }
  return cut || !in.bad();
}
#endif
