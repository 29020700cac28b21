// Names the program keeps for itself inside a run's private temporary
// folder: the run's lock file and the drawing-frame images' staging folder.
// No file taken from a drawing may use them.
#pragma once

#include <string>

#include "func.h"

inline constexpr char kRunLockName[] = ".lock";
inline constexpr char kFrameStagingName[] = "frame-images.tmp";

// Ignoring ASCII case, as a file system that ignores case would.
inline bool IsReservedTempName(const std::string& name) {
  const std::string upper = UpperAsciiSJIS(name);
  return upper == UpperAsciiSJIS(kRunLockName) || upper == UpperAsciiSJIS(kFrameStagingName);
}
