// Names the program keeps for itself inside a run's private temporary
// folder: the run's lock file and the drawing-frame images' staging folder.
// No file taken from a drawing may use them.
#pragma once

#include <string>

inline constexpr char kRunLockName[] = ".lock";
inline constexpr char kFrameStagingName[] = "frame-images.tmp";

// Ignoring ASCII case, as a file system that ignores case would.
inline bool IsReservedTempName(const std::string& name) {
  for (const std::string reserved : {kRunLockName, kFrameStagingName}) {
    if (name.size() != reserved.size()) continue;
    bool same = true;
    for (size_t i = 0; same && i < name.size(); ++i) {
      char c = name[i];
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
      same = c == reserved[i];
    }
    if (same) return true;
  }
  return false;
}
