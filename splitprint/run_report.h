// What one run of the batch could not do, gathered for its closing status
// and messages. Emptied at the start of every run.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

struct TRunReport {
  // A sheet that was not saved: its path and the reason (Shift-JIS).
  struct TUnsavedSheet {
    std::string Path;
    std::string Reason;
  };
  std::vector<TUnsavedSheet> UnsavedSheets;
  // Files saved by this run (native paths), which no later sheet of the
  // run may replace.
  std::set<std::string> SavedFiles;
  // Drawings whose blocks were left unexploded because the block tree was
  // cut by its bounds.
  int32_t DrawingsNotExploded = 0;
  // Framed drawings none of whose sheets was saved (they are not listed).
  int32_t DrawingsWithoutSheets = 0;

  void Clear() { *this = TRunReport{}; }
};
