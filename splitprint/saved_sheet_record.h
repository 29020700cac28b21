// The record of the sheet files this program saved: path, size,
// modification time and a hash of the bytes written. A sheet may replace
// an existing file only when the record holds that file unchanged; any
// other file (the user's own, or a sheet edited since) is left as it is.
//
// The record is one text file in the user's state folder, replaced as a
// whole, kept to the newest kMaxSavedSheets sheets. A missing, foreign or
// damaged record reads as empty (a damaged line is skipped): at worst a
// sheet then takes another name, nothing is lost. Two programs at once each
// merge their sheets into the file as it is when they save.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

// Where the record is kept: "saved-sheets.txt" in Quillmoor's folder under
// $XDG_STATE_HOME (else ~/.local/state); empty when neither is known.
std::string SavedSheetRecordLocation();

class TSavedSheetRecord {
 public:
  static constexpr size_t kMaxSavedSheets = 20000;

  // Reads the record at file (native path). An empty file name keeps the
  // record in memory only, with what was noted so far.
  void Open(const std::string& file);
  // True when the file at path is a sheet this program saved and nobody has
  // changed since: size and modification time as recorded, and then its
  // bytes' hash.
  bool HoldsUnchanged(const std::string& path) const;
  // Notes the sheet just written at path with the bytes written.
  void Note(const std::string& path, std::string_view bytes);
  // Writes the record: the file as it is now (another program may have
  // saved sheets meanwhile) with the sheets noted since. False when it
  // could not be written; nothing is lost but the notes.
  bool Save();

  size_t Size() const { return sheets_.size(); }

 private:
  struct TSheet {
    int64_t Bytes = 0;
    int64_t ModifiedNs = 0;
    uint64_t Hash = 0;
    uint64_t Serial = 0;  // larger is newer
  };
  using TSheets = std::map<std::string, TSheet>;
  static TSheets Read(const std::string& file);
  void Put(TSheets& sheets, const std::string& key, TSheet sheet);
  static void KeepNewest(TSheets& sheets);

  std::string file_;
  TSheets sheets_;
  std::vector<std::pair<std::string, TSheet>> notes_;  // since the last Open or Save
  uint64_t nextSerial_ = 0;
};
