// The record of saved sheets, as the next run or another program reads it.
#include "saved_sheet_record.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "jww_model_maker.h"

namespace {

void WriteText(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

TEST(SavedSheetRecord, OnlyUnchangedSheetsMayBeReplaced) {
  const std::string folder = jwwtest::FreshFolder("saved_sheet_record"), sheet = folder + "a%\n.jww";
  enum TChange { kNone, kOtherBytesSameSizeAndTime, kTouched, kGone };
  for (const TChange change : {kNone, kOtherBytesSameSizeAndTime, kTouched, kGone}) {
    TSavedSheetRecord record, other;  // other: another program at the same time
    record.Open(folder + "state/record.txt");
    other.Open(folder + "state/record.txt");
    WriteText(sheet, "sheet");
    WriteText(folder + "b.jww", "b");
    record.Note(folder + "./a%\n.jww", "sheet");
    other.Note(folder + "b.jww", "b");
    const auto time = std::filesystem::last_write_time(sheet);
    WriteText(sheet, change == kOtherBytesSameSizeAndTime ? "SHEET" : "sheet");
    std::filesystem::last_write_time(sheet, time + std::chrono::seconds(change == kTouched));
    if (change == kGone) std::remove(sheet.c_str());
    ASSERT_TRUE(record.Save() && other.Save());
    TSavedSheetRecord later;
    later.Open(folder + "state/record.txt");
    EXPECT_EQ(later.HoldsUnchanged(sheet), change == kNone) << change;
    EXPECT_TRUE(later.HoldsUnchanged(folder + "b.jww")) << change;
  }
}

// Bad lines are skipped, a foreign file is no record, only the newest sheets are kept.
TEST(SavedSheetRecord, DamagedRecordAndBound) {
  const std::string file = jwwtest::FreshFolder("saved_sheet_record_damaged") + "record.txt";
  std::string text = "quillmoor-saved-sheets 1\nx y z /bad\n1 2 zz /bad\n1 2 3 relative\n1 2 3 /cut%4\n";
  for (size_t i = 0; i < TSavedSheetRecord::kMaxSavedSheets + 5; ++i) text += "1 2 3 /s" + std::to_string(i) + "\n";
  TSavedSheetRecord record;
  WriteText(file, text + "1 2 3 /no-end");
  record.Open(file);
  EXPECT_EQ(record.Size(), TSavedSheetRecord::kMaxSavedSheets);
  WriteText(file, "not ours\n1 2 3 /x\n");
  record.Open(file);
  EXPECT_EQ(record.Size(), 0u);
}

}  // namespace
