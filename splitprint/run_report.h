// What one run of the batch could not do, gathered for its closing status
// and messages. Emptied at the start of every run.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

class TJwwData;

struct TRunReport {
  // A file the run could not read or write: its path and the reason
  // (Shift-JIS).
  struct TFileTrouble {
    std::string Path;
    std::string Reason;
    std::string Source = std::string();  // the drawing a sheet was cut from; empty: not told
  };
  // Listed drawings that could not be read (missing, not a JWW drawing,
  // damaged).
  std::vector<TFileTrouble> UnreadDrawings;
  // Sheets that were not saved.
  std::vector<TFileTrouble> UnsavedSheets;
  // Sheets saved under another name because a file the program may not
  // replace held theirs; the reason names the file kept.
  std::vector<TFileTrouble> RenamedSheets;
  // Files saved by this run (native paths), which no later sheet of the
  // run may replace.
  std::set<std::string> SavedFiles;
  // Folders (native) whose disk reached its reserve: no later sheet of the
  // run is saved there.
  std::set<std::string> FoldersAtReserve;
  // Drawings whose blocks were left unexploded because the block tree was
  // cut by its bounds.
  int32_t DrawingsNotExploded = 0;
  // Framed drawings none of whose sheets was saved (they are not listed).
  int32_t DrawingsWithoutSheets = 0;
  // Sheets (or drawings listed whole) the preview or the printing could not
  // load: gone since they were saved, or damaged.
  std::vector<TFileTrouble> UnshownSheets;
  // Sheets drawn without some of their blocks: the block tree was cut by
  // its bounds.
  std::vector<TFileTrouble> SheetsMissingBlocks;
  // Drawings whose sheets carry a title block on a layer the drawing hides,
  // left hidden because the sheets hold elements of their own there.
  std::vector<TFileTrouble> HiddenFrameDrawings;
  // The chosen destination folder could not be used (Path, empty when none
  // was given, and the reason); the sheets went beside their drawings, into
  // FallbackFolders.
  TFileTrouble UnusableDestination;
  std::vector<std::string> FallbackFolders;

  void Clear() { *this = TRunReport{}; }
  // Adds the row unless the same file is listed there already: a sheet is
  // told once, however often it was previewed and printed.
  static void AddOnce(std::vector<TFileTrouble>& rows, const std::string& path, const std::string& reason);
  // Notes a folder that received sheets in place of the destination.
  void AddFallbackFolder(const std::string& folder);
};

// The system's words for an error number (Shift-JIS); for 0 (no number
// known) the general "図面を書き出せませんでした".
std::string SystemReason(int error);
// The reasons a listed drawing could not be read (Shift-JIS).
std::string DrawingMissingReason();
std::string NotAJwwDrawingReason();
std::string DamagedDrawingReason();
// Why a sheet was not saved: the disk would fall below its reserve.
std::string DiskReserveReason();
// What a sheet saved under another name says of the file kept at its own.
std::string KeptFileReason(const std::string& keptPath);
// Why blocks of a drawing were left out when it was drawn (Shift-JIS).
std::string BlocksLeftOutReason();
// Why a drawing's title blocks do not show: the overlay's layer (or, with
// groupHidden, its layer group) is hidden and the sheets use it too.
std::string HiddenFrameLayerReason(int32_t layer, bool groupHidden);
// Why a sheet was not drawn: memory ran out while it was loaded or drawn.
std::string OutOfMemoryReason();
// Why a sheet's preview bitmap was not made; error is the system's error
// number, 0 when none is known (Shift-JIS).
std::string PreviewNotMadeReason(int error);
// Why the folder cannot take the sheets: not given, missing, no folder or
// the system's reason (Shift-JIS).
std::string UnusableFolderReason(const std::string& folder);

// Why the listed file cannot be taken as a JWW drawing: missing, cannot be
// opened (the system's reason), or not a JWW drawing by its extension or
// signature (read with reader). Empty when it can be loaded.
std::string UnreadableDrawingReason(const std::string& path, const TJwwData& reader);

// The closing status's tail: a count of each kind of trouble, each after a
// full-width blank; empty when there was none.
std::string RunTroubleNote(const TRunReport& report, int32_t unsavedSheets);
// The closing box: where the sheets went in place of an unusable folder;
// the drawings that could not be read; the sheets not saved, saved under
// another name, not previewed or printed, or drawn without some blocks;
// the drawings whose title blocks stay hidden; each with its reason. Empty
// when there is nothing to tell.
std::string RunEndMessage(const TRunReport& report);
