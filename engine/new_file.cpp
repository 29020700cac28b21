#include "new_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

#include "file_io.h"

namespace {

std::atomic<uint32_t> tempCounter{0};

}  // namespace

TNewFile::TNewFile(const std::string& folder) {
  for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
    const std::string temp = folder + ".new-" + std::to_string(::getpid()) + "-" + std::to_string(tempCounter++);
    fd_ = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd_ >= 0) temp_ = temp;
    else if (errno != EEXIST) return;
  }
}

TNewFile::~TNewFile() {
  if (fd_ >= 0) ::close(fd_);
  if (!temp_.empty()) ::unlink(temp_.c_str());
}

bool TNewFile::Write(const void* data, size_t size) {
  const char* bytes = static_cast<const char*>(data);
  while (fd_ >= 0 && size > 0) {
    const ssize_t n = ::write(fd_, bytes, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes += n;
    size -= static_cast<size_t>(n);
  }
  return fd_ >= 0;
}

bool TNewFile::SetModificationTime(int64_t secondsSince1970) {
  struct timespec times[2] = {};
  times[0].tv_nsec = UTIME_OMIT;
  times[1].tv_sec = static_cast<time_t>(secondsSince1970);
  return fd_ >= 0 && ::futimens(fd_, times) == 0;
}

bool TNewFile::PlaceAs(const std::string& path) {
  if (fd_ < 0) return false;
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) return false;
  if (!MoveFileWithoutReplacing(temp_, path)) return false;
  temp_.clear();
  return true;
}
