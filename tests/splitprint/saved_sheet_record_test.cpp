// The record of saved sheets: which files a sheet may replace, the record
// read back by another program, and a damaged or oversized record.
#include "saved_sheet_record.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <functional>

#include "jww_model_maker.h"

namespace {

void WriteText(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

// The file changed, then its modification time set to what it was, plus
// seconds.
void KeepTime(const std::string& path, const std::function<void()>& change, time_t seconds = 0) {
  struct stat st;
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  change();
  st.st_mtim.tv_sec += seconds;
  const struct timespec times[2] = {st.st_atim, st.st_mtim};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

TEST(SavedSheetRecord, OnlyUnchangedSheetsMayBeReplaced) {
  const std::string folder = jwwtest::FreshFolder("saved_sheet_record");
  const std::string sheet = folder + "sheet.jww";
  const struct {
    const char* name;
    std::function<void()> change;
    bool unchanged;
  } cases[] = {
      {"as saved", [] {}, true},
      {"same size and time, other bytes", [&] { KeepTime(sheet, [&] { WriteText(sheet, "SHEET"); }); }, false},
      {"longer", [&] { KeepTime(sheet, [&] { WriteText(sheet, "sheet!"); }); }, false},
      {"touched", [&] { KeepTime(sheet, [] {}, 1); }, false},
      {"gone", [&] { std::remove(sheet.c_str()); }, false},
  };
  for (const auto& c : cases) {
    TSavedSheetRecord record;
    record.Open(folder + "state/record.txt");
    WriteText(sheet, "sheet");
    record.Note(folder + "./sheet.jww", "sheet");
    c.change();
    EXPECT_EQ(record.HoldsUnchanged(sheet), c.unchanged) << c.name;
    EXPECT_TRUE(record.Save()) << c.name;
    TSavedSheetRecord later;  // the next run, or another program
    later.Open(folder + "state/record.txt");
    EXPECT_EQ(later.HoldsUnchanged(sheet), c.unchanged) << c.name;
    EXPECT_FALSE(later.HoldsUnchanged(folder + "record.txt")) << c.name;
  }
}

// Two programs at once each add their sheets to the record as it is; bad
// lines are skipped, and the record keeps only the newest sheets.
TEST(SavedSheetRecord, MergedToleratedAndBounded) {
  const std::string folder = jwwtest::FreshFolder("saved_sheet_record_merge");
  const std::string file = folder + "record.txt";
  TSavedSheetRecord a, b;
  a.Open(file);
  b.Open(file);
  WriteText(folder + "a%\n.jww", "a");
  WriteText(folder + "b.jww", "b");
  a.Note(folder + "a%\n.jww", "a");
  b.Note(folder + "b.jww", "b");
  ASSERT_TRUE(a.Save() && b.Save());
  TSavedSheetRecord both;
  both.Open(file);
  EXPECT_TRUE(both.HoldsUnchanged(folder + "a%\n.jww") && both.HoldsUnchanged(folder + "b.jww"));

  std::string text = "quillmoor-saved-sheets 1\nx y z /bad\n1 2 zz /bad\n1 2 3 relative\n1 2 3 /cut%4\n";
  for (size_t i = 0; i < TSavedSheetRecord::kMaxSavedSheets + 5; ++i) text += "1 2 3 /s" + std::to_string(i) + "\n";
  WriteText(file, text + "1 2 3 /no-end");
  both.Open(file);
  EXPECT_EQ(both.Size(), TSavedSheetRecord::kMaxSavedSheets);
  WriteText(file, "not our record\n1 2 3 /x\n");
  both.Open(file);
  EXPECT_EQ(both.Size(), 0u);
}

}  // namespace
