// Replacing a file as one step, the one way every writer of both programs
// puts a file in place. The new bytes go to a temporary file of a unique
// name in the target's folder, are flushed and synced, get the target's
// mode, and are renamed over the target: the target is either the old file
// or the whole new one, and a failure leaves no temporary file.
//
// A symbolic link is followed: the file it names is replaced and the link
// stays. A link someone else may have put there is refused (on Linux, a
// link of another user in a folder that others can write, such as /tmp or
// a program folder shared by a group: the user's own files would otherwise
// be overwritten through it). A target the user may not write is refused
// (a rename needs only the folder's permission, so it must be asked first);
// "may not write" holds for a file without any write bit even for the
// superuser, as on Windows, where a read-only file refuses every user.
//
// Builds for Linux and, with mingw-w64, for Windows (Tollwick).
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>
#include <system_error>

class TFileReplacement {
 public:
  // Checks the target (after its links) and opens the temporary file in its
  // folder. On failure Error() says why and every other call fails.
  explicit TFileReplacement(const std::filesystem::path& target);
  ~TFileReplacement();  // removes the temporary file unless it was put in place
  TFileReplacement(const TFileReplacement&) = delete;
  TFileReplacement& operator=(const TFileReplacement&) = delete;

  bool Write(const void* data, size_t size);
  bool SetModificationTime(int64_t secondsSince1970);
  // Puts the file in place of the target, or of another file of the same
  // folder (a name known only once the bytes are written), checked as the
  // target is.
  bool Commit();
  bool CommitAs(const std::filesystem::path& target);

  // The system's reason for the first failure; empty while all went well.
  const std::error_code& Error() const { return error_; }

 private:
  bool Fail(std::error_code error);
  void CloseAndRemove();

  std::filesystem::path target_;  // the file the links lead to
  std::filesystem::path temp_;
  intptr_t handle_ = -1;          // file descriptor, or the Windows HANDLE
  std::error_code error_;
};

// Replaces target by bytes as above; false with the reason in error.
bool WriteFileReplacing(const std::filesystem::path& target, std::string_view bytes, std::error_code& error);

// The path a chain of symbolic links starting at path leads to (path itself
// when it is no link); relative links count from their own folder. Each
// link must pass LinkMayBeFollowed.
std::filesystem::path FollowLinks(const std::filesystem::path& path, std::error_code& error);
// Nothing when the link at path may be followed; else the reason (EACCES
// on Linux). Each system has its own rule.
std::error_code LinkMayBeFollowed(const std::filesystem::path& link);
