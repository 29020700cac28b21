// The parts of TFileReplacement that are the same on every system; the
// system calls are in file_replace_posix.cpp and file_replace_windows.cpp.
#include "file_replace.h"

namespace fs = std::filesystem;

fs::path FollowLinks(const fs::path& path, std::error_code& error) {
  error.clear();
  fs::path current = path;
  for (int hop = 0; hop < 40; ++hop) {  // the kernel's own limit of links in a row
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(current, ec))) return current;
    error = LinkMayBeFollowed(current);
    if (error) return current;
    const fs::path next = fs::read_symlink(current, ec);
    if (ec) {
      error = ec;
      return current;
    }
    current = next.is_absolute() ? next : current.parent_path() / next;
  }
  error = std::make_error_code(std::errc::too_many_symbolic_link_levels);
  return current;
}

TFileReplacement::~TFileReplacement() { CloseAndRemove(); }

bool TFileReplacement::Fail(std::error_code error) {
  if (!error_) error_ = error;
  CloseAndRemove();
  return false;
}

bool TFileReplacement::Commit() { return CommitAs(target_); }

bool WriteFileReplacing(const fs::path& target, std::string_view bytes, std::error_code& error) {
  TFileReplacement file(target);
  const bool ok = file.Write(bytes.data(), bytes.size()) && file.Commit();
  error = file.Error();
  return ok;
}
