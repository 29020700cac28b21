// A file made in a folder under a private temporary name and put in place
// under its final name only once complete. Nothing that is already there is
// replaced (a file, a folder, a link) and no link is ever followed, so a
// name planted in the folder cannot redirect the write.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class TNewFile {
 public:
  // folder: native path with trailing separator.
  explicit TNewFile(const std::string& folder);
  ~TNewFile();  // removes the temporary file unless it was put in place
  TNewFile(const TNewFile&) = delete;
  TNewFile& operator=(const TNewFile&) = delete;

  bool Ok() const { return fd_ >= 0; }
  bool Write(const void* data, size_t size);
  bool SetModificationTime(int64_t secondsSince1970);
  // False when anything is under path already, or the move fails.
  bool PlaceAs(const std::string& path);

 private:
  int fd_ = -1;
  std::string temp_;
};
