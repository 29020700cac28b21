// Unpacking one gzip file (RFC 1952, through zlib) into a folder. The
// output is written to a private temporary file and moved into place only
// when the whole stream decoded and checked, so a damaged file leaves
// nothing behind; a name already taken in the folder (by a file or a link)
// is never replaced.
#pragma once

#include <cstdint>
#include <string>

enum class TGunzipStatus {
  Ok,
  OpenFailed,   // the input cannot be read
  DataError,    // not gzip, damaged, truncated or failing its check sum
  TooLarge,     // the output would exceed the limit
  WriteFailed,  // the output cannot be created, written or moved into place (its name is taken)
  NoName,       // neither a default nor a stored name is usable
};

struct TGunzipResult {
  TGunzipStatus Status = TGunzipStatus::OpenFailed;
  std::string OutputName;  // file name (in the folder) of the output on success
  uint64_t OutputBytes = 0;  // its size
};

// Unpacks gzPath into folder (native paths, folder with trailing separator).
// The output is named defaultName (Shift-JIS, as held in the drawing) unless
// the gzip header stores a name: then it gets that name's plain file-name
// part and the header's modification time (when not 0). A stored name that
// would replace the input itself, or is not usable, falls back to defaultName. All members of a multi-member file are
// joined; bytes after the last member that do not start a member are ignored.
TGunzipResult GunzipFileToFolder(const std::string& gzPath, const std::string& folder,
                                 const std::string& defaultName, uint64_t maxOutputBytes);
