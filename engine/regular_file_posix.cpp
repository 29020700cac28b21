// ReadRegularFile on Linux: the file is opened without waiting (a FIFO
// with no writer would block open(2)) and examined through the descriptor,
// so what is read is what was examined.
#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "regular_file.h"

bool ReadRegularFile(const std::filesystem::path& path, size_t maxBytes, std::string& bytes, bool& cut) {
  bytes.clear();
  cut = false;
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  char buffer[8192];
  while (ok) {
    // One byte beyond the cap tells whether the file goes on.
    const size_t want = std::min(sizeof buffer, maxBytes + 1 - bytes.size());
    const ssize_t n = ::read(fd, buffer, want);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = n == 0;
      break;
    }
    bytes.append(buffer, static_cast<size_t>(n));
    if (bytes.size() > maxBytes) {
      bytes.resize(maxBytes);
      cut = true;
      break;
    }
  }
  ::close(fd);
  return ok;
}
#endif
