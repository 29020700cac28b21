#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <fstream>

#include "system_reason.h"
#include "fake_key_poller.h"
#include "sheet_fixtures.h"

using namespace sheettest;
using jwwtest::Append;

namespace {

class SheetLoop : public ::testing::Test {
 protected:
  void SetUp() override {
    Gval.Reset();
    folder = jwwtest::FreshFolder("sheet_loop");
    TJwwData& d = form.WorkDrawing;
    jwwtest::SizeTables(d);
    d.Header.Signature = "JwwData.";
    d.Header.Version = 700;
    d.Header.PaperSize = 2;
    d.Header.PrintOriginX = 11;
    d.Header.PrintOriginY = 22;
    form.Separator = "_";
  }
  // Frames of A4 landscape side by side, 400 mm apart.
  void AddFrames(int n) {
    for (int i = 0; i < n; ++i) AddFrame(form.WorkDrawing, 400.0 * i, 0, 400.0 * i + 297, 210);
  }
  void AddLineInFrame(int frame, uint32_t id) {
    Append(form.WorkDrawing, jwwtest::MakeLine(400.0 * frame + 10, 10, 400.0 * frame + 50, 20, Common(id)));
  }
  std::vector<std::string> OutputNames() {
    std::vector<std::string> names;
    for (int32_t i = 0; i < Gval.SheetFrameCount; ++i) {
      const TZumenWakuField& f = Gval.SheetFrames[static_cast<size_t>(i)];
      for (int32_t k = 0; k < f.NameCount; ++k) names.push_back(f.OutputNames[static_cast<size_t>(k)]);
    }
    return names;
  }

  std::string folder;
  TForm1 form;
};

TEST_F(SheetLoop, EmptyFramesUseUpANumberUnlessClosedUp) {
  AddFrames(3);
  AddLineInFrame(0, 1);
  AddLineInFrame(2, 3);
  form.SplitAndSave(folder, "plan.jww");
  EXPECT_EQ(OutputNames(), (std::vector<std::string>{folder + "1_plan.jww", "", folder + "3_plan.jww"}));
  EXPECT_EQ(FolderFiles(folder), (std::vector<std::string>{"1_plan.jww", "3_plan.jww"}));

  folder = jwwtest::FreshFolder("sheet_loop");
  form.Report.Clear();  // a new run
  form.CloseUpEmptyNumbers = true;
  form.SplitAndSave(folder, "plan.jww");
  EXPECT_EQ(FolderFiles(folder), (std::vector<std::string>{"1_plan.jww", "2_plan.jww"}));
  EXPECT_EQ(form.UnsavedSheetCount, 0);
}

// Escape is asked before each frame; the sheets saved before it stay.
TEST_F(SheetLoop, EscapeEndsTheLoopBeforeTheNextFrame) {
  AddFrames(6);
  for (int i = 0; i < 6; ++i) AddLineInFrame(i, static_cast<uint32_t>(i + 1));
  FakeKeyPoller keys;
  keys.PressEscapeAtPoll(6 + 3);  // after one poll per frame sought
  form.SplitAndSave(folder, "plan.jww");
  EXPECT_TRUE(form.AbortRun);
  EXPECT_EQ(FolderFiles(folder), (std::vector<std::string>{"1_plan.jww", "2_plan.jww"}));
}

TEST_F(SheetLoop, SeveralNamedSheetsOfOneFrame) {
  AddFrames(1);
  AddLineInFrame(0, 1);
  for (const char* name : {"A", "B", "C"}) Append(form.WorkDrawing, Tag(100, 100, S("【名】") + name));
  form.NamingPattern = 3;
  form.StartNumber = 5;
  form.SplitAndSave(folder, "plan.jww");
  EXPECT_EQ(FolderFiles(folder), (std::vector<std::string>{"5-1_plan_A.jww", "5-2_plan_B.jww", "5-3_plan_C.jww"}));
}

TEST_F(SheetLoop, SheetNamePatternWithoutNamesAndEmptySeparator) {
  AddFrames(2);
  AddLineInFrame(0, 1);
  AddLineInFrame(1, 2);
  form.NamingPattern = 5;
  form.SplitAndSave(folder, "plan.jww");
  EXPECT_EQ(FolderFiles(folder), (std::vector<std::string>{"plan_1.jww", "plan_2.jww"}));

  folder = jwwtest::FreshFolder("sheet_loop");
  form.NamingPattern = 0;
  form.Separator.clear();
  form.ZeroPad = 1;
  form.SplitAndSave(folder, "plan.jww");
  EXPECT_EQ(FolderFiles(folder), (std::vector<std::string>{"1plan.jww", "2plan.jww"}));  // 2 + 1 = 3: one digit
}

// Every coordinate, order item and count of the drawing, bit for bit.
std::vector<uint8_t> Snapshot(const TJwwData& d, int32_t lines) {
  std::vector<uint8_t> bytes;
  auto put = [&](const void* p, size_t n) {
    const auto* b = static_cast<const uint8_t*>(p);
    bytes.insert(bytes.end(), b, b + n);
  };
  for (int32_t i = 0; i < lines; ++i) put(&d.Lines[static_cast<size_t>(i)].X1, 4 * sizeof(double));
  for (const TEntJwwArc& e : d.Arcs) put(&e.CenterX, 2 * sizeof(double));
  for (const TEntJwwPoint& e : d.Points) put(&e.X, 2 * sizeof(double));
  for (const TEntJwwText& e : d.Texts) put(&e.StartX, 4 * sizeof(double));
  for (const TEntJwwDimension& e : d.Dimensions) {
    for (const TEntJwwLine* l : {&e.Line, &e.AuxLine1, &e.AuxLine2}) put(&l->X1, 4 * sizeof(double));
    put(&e.Text.StartX, 4 * sizeof(double));
    for (const TEntJwwPoint* p : {&e.Point1, &e.Point2, &e.AuxPoint1, &e.AuxPoint2}) put(&p->X, 2 * sizeof(double));
  }
  for (const TEntJwwSolid& e : d.Solids) put(&e.X1, 8 * sizeof(double));
  for (const TEntJwwBlockInsert& e : d.BlockInserts) put(&e.X, 2 * sizeof(double));
  for (int32_t i = 0; i < d.EntityOrderCount - (lines < d.LineCount ? 4 : 0); ++i)
    put(&d.EntityOrder[static_cast<size_t>(i)], sizeof(TEntJwwOrder));
  const int32_t counts[] = {lines, d.ArcCount, d.PointCount, d.TextCount, d.DimensionCount, d.SolidCount,
                            d.BlockInsertCount};
  put(counts, sizeof counts);
  return bytes;
}

TEST_F(SheetLoop, DrawingIsPutBackExactlyBetweenSheets) {
  TJwwData& d = form.WorkDrawing;
  // Frames whose centres are not round numbers, and elements at coordinates
  // that do not survive a move there and back in floating point.
  AddFrame(d, 0.1, 0.3, 297.3, 210.7);
  AddFrame(d, 1000.7, -0.9, 1297.1, 209.3);
  for (int i = 0; i < 50; ++i) {
    const double x = 0.1 * i + 1e-7 * i, y = 0.7 * i + 1.0 / 3;
    const double ox = i % 2 ? 1000.9 : 0;
    Append(d, jwwtest::MakeLine(ox + x, y, ox + x + 3.3, y + 0.1, Common(static_cast<uint32_t>(i))));
    Append(d, jwwtest::MakeArc(ox + x + 0.3, y, 1.1, 0.1, 1.3));
    Append(d, jwwtest::MakePoint(ox + x + 0.7, y + 0.9));
    Append(d, jwwtest::MakeText(ox + x + 0.11, y + 0.13, "t"));
    Append(d, jwwtest::MakeDimension(ox + x, y + 1.1, ox + x + 2.2, y + 1.1, "2.2"));
    Append(d, jwwtest::MakeSolid(ox + x, y, 0.3, 0.3));
    TEntJwwSolid curved = jwwtest::MakeSolid(ox + x, y, 0.3, 0.3);
    curved.Common.LineType = 101;
    curved.X2 = 0.5, curved.Y2 = 1, curved.X3 = 0, curved.Y3 = 0.1, curved.X4 = 1.1, curved.Y4 = 0;
    Append(d, curved);
    Append(d, jwwtest::MakeInsert(ox + x + 0.01, y + 0.03, 1));
  }
  const int32_t lines = d.LineCount;
  const std::vector<uint8_t> before = Snapshot(d, lines);
  form.DrawAuxFrame = true;
  form.Margin = 5;
  form.SplitAndSave(folder, "plan.jww");
  EXPECT_EQ(FolderFiles(folder).size(), 2u);
  EXPECT_EQ(d.LineCount, lines + 4);  // the auxiliary lines stay until the drawing is reset
  EXPECT_TRUE(Snapshot(d, lines) == before);
  EXPECT_EQ(d.Header.PaperSize, 2);  // put back after the last sheet
  EXPECT_EQ(d.Header.PrintOriginX, 11);
  EXPECT_EQ(d.Header.PrintOriginY, 22);
}

TEST_F(SheetLoop, SheetHeaderAndAuxiliaryRectangle) {
  TJwwData& d = form.WorkDrawing;
  AddFrame(d, 100, 50, 397, 260);
  Append(d, jwwtest::MakeLine(110, 60, 120, 70, Common(7)));
  form.DrawAuxFrame = true;
  form.Margin = 0;
  form.SplitAndSave(folder, "plan.jww");
  TJwwData sheet;
  ASSERT_TRUE(sheet.LoadFromFile(folder + "1_plan.jww"));
  EXPECT_EQ(sheet.Header.PaperSize, 4);
  EXPECT_EQ(sheet.Header.PrintOriginX, 0);
  EXPECT_EQ(sheet.Header.PrintOriginY, 0);
  EXPECT_EQ(sheet.Header.PrintScale, 1.0);
  EXPECT_EQ(sheet.Header.PrintRotation, 40);
  ASSERT_EQ(sheet.LineCount, 5);  // the line and the four auxiliary lines; no frame lines
  EXPECT_EQ(sheet.Lines[0].X1, 110 - 248.5);
  EXPECT_EQ(sheet.Lines[0].Y1, 60 - 155);
  const TEntJwwLine& a = sheet.Lines[1];
  EXPECT_EQ(a.Common.Color, 9);
  EXPECT_EQ(a.Common.LayerGroup, 15);
  EXPECT_EQ(a.Common.Layer, 15);
  EXPECT_EQ(a.X1, -148.5);
  EXPECT_EQ(a.Y1, -105);
  EXPECT_EQ(sheet.Lines[3].X1, 148.5);
  EXPECT_EQ(sheet.Lines[3].Y1, 105);

  // With a margin the rectangle shrinks; an older drawing keeps rotation 0.
  folder = jwwtest::FreshFolder("sheet_loop");
  form.Report.Clear();  // a new run
  form.WorkDrawing.LineCount -= 4;  // a fresh load would not hold the previous auxiliary lines
  form.WorkDrawing.EntityOrderCount -= 4;
  d.Header.Version = 230;
  form.Margin = 10;
  form.SplitAndSave(folder, "plan.jww");
  ASSERT_TRUE(sheet.LoadFromFile(folder + "1_plan.jww"));
  EXPECT_EQ(sheet.Header.Version, 230);
  EXPECT_EQ(sheet.Header.PrintRotation, 0);
  ASSERT_EQ(sheet.LineCount, 5);
  EXPECT_EQ(sheet.Lines[1].X1, -138.5);
  EXPECT_EQ(sheet.Lines[1].Y1, -95);
}

TEST_F(SheetLoop, SheetWithOnlyAuxiliaryLinesIsNotWritten) {
  AddFrames(2);
  AddLineInFrame(1, 1);
  form.DrawAuxFrame = true;
  form.SplitAndSave(folder, "plan.jww");
  EXPECT_EQ(OutputNames(), (std::vector<std::string>{"", folder + "2_plan.jww"}));
  EXPECT_EQ(FolderFiles(folder), (std::vector<std::string>{"2_plan.jww"}));
}

TEST_F(SheetLoop, SheetNeverReplacesTheDrawingBeingSplit) {
  TJwwData& d = form.WorkDrawing;
  AddFrames(2);
  AddLineInFrame(0, 1);
  AddLineInFrame(1, 2);
  Append(d, Tag(100, 100, S("【名】plan")));
  Append(d, Tag(500, 100, S("【名】other")));
  const std::string source = folder + "plan.jww";
  ASSERT_TRUE(jwwtest::JwwBuilder::FromModel(d).WriteFile(source, 700));
  const std::vector<uint8_t> bytes = FileBytes(source);
  form.DrawingPath = source;
  form.NamingPattern = 5;
  form.SplitAndSave(folder, "plan.jww");
  EXPECT_EQ(FileBytes(source), bytes);
  EXPECT_EQ(form.RefusedSheetPaths, (std::vector<std::string>{source}));
  EXPECT_EQ(OutputNames(), (std::vector<std::string>{"", folder + "other.jww"}));
  EXPECT_EQ(form.UnsavedSheetCount, 1);
  EXPECT_EQ(FolderFiles(folder), (std::vector<std::string>{"other.jww", "plan.jww"}));

  // Through another spelling of the same path as well.
  form.RefusedSheetPaths.clear();
  form.DrawingPath = folder + "./plan.jww";
  form.SplitAndSave(folder, "plan.jww");
  EXPECT_EQ(FileBytes(source), bytes);
  EXPECT_EQ(form.RefusedSheetPaths.size(), 1u);
}

TEST_F(SheetLoop, FailedSavesAreNotListedAndAreCounted) {
  AddFrames(2);
  AddLineInFrame(0, 1);
  AddLineInFrame(1, 2);
  form.SplitAndSave(folder + "missing/", "plan.jww");
  EXPECT_EQ(OutputNames(), (std::vector<std::string>{"", ""}));
  EXPECT_EQ(form.UnsavedSheetCount, 2);
  EXPECT_TRUE(FolderFiles(folder).empty());
  // Each failure keeps its path and the system's reason for the closing message.
  ASSERT_EQ(form.Report.UnsavedSheets.size(), 2u);
  EXPECT_EQ(form.Report.UnsavedSheets[1].Path, folder + "missing/2_plan.jww");
  EXPECT_EQ(form.Report.UnsavedSheets[1].Reason, SystemErrorText(ENOENT));
}

// A sheet file of an earlier run that the user made read-only is kept,
// and the sheet is listed unsaved with the system's reason.
TEST_F(SheetLoop, ReadOnlySheetOfAnEarlierRunIsKept) {
  AddFrames(2);
  AddLineInFrame(0, 1);
  AddLineInFrame(1, 2);
  const std::string kept = folder + "1_plan.jww";
  form.SplitAndSave(folder, "plan.jww");  // the earlier run
  const std::vector<uint8_t> bytes = FileBytes(kept);
  ::chmod(kept.c_str(), 0444);
  form.Report.Clear();  // a new run
  form.SplitAndSave(folder, "plan.jww");
  EXPECT_EQ(OutputNames(), (std::vector<std::string>{"", folder + "2_plan.jww"}));
  ASSERT_EQ(form.Report.UnsavedSheets.size(), 1u);
  EXPECT_EQ(form.Report.UnsavedSheets[0].Path, kept);
  EXPECT_EQ(form.Report.UnsavedSheets[0].Reason, SystemErrorText(EACCES));
  EXPECT_EQ(FileBytes(kept), bytes);
  struct stat st;
  ASSERT_EQ(::stat(kept.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0444u);
}

// A file this run saved is never replaced by a later sheet of the run: a
// sheet name equal to another sheet's composed name, and a second drawing
// of the same name, take the next "-k" name.
TEST_F(SheetLoop, SheetsOfOneRunNeverReplaceEachOther) {
  TJwwData& d = form.WorkDrawing;
  AddFrames(2);
  AddLineInFrame(0, 1);
  AddLineInFrame(1, 2);
  Append(d, Tag(500, 100, S("【名】plan_1")));
  form.NamingPattern = 5;
  form.SplitAndSave(folder, "plan.jww");
  EXPECT_EQ(OutputNames(), (std::vector<std::string>{folder + "plan_1.jww", folder + "plan_1-2.jww"}));
  form.SplitAndSave(folder, "plan.jww");  // another drawing plan.jww to the same folder
  EXPECT_EQ(OutputNames(), (std::vector<std::string>{folder + "plan_1-3.jww", folder + "plan_1-4.jww"}));
  EXPECT_EQ(FolderFiles(folder).size(), 4u);
}

// Sheets leave the disk's reserve free; the rest are listed unsaved, with the reason.
TEST_F(SheetLoop, SheetsLeaveTheDiskReserveFree) {
  const std::string disk = jwwtest::FreshFolder("sheet_loop_disk");
  if (::mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=1m") != 0)
    GTEST_SKIP() << "cannot mount a small disk: " << std::strerror(errno);
  AddFrames(6);
  for (int frame = 0; frame < 6; ++frame)
    for (uint32_t i = 0; i < (frame < 5 ? 2500 : 1); ++i) AddLineInFrame(frame, i);  // the last sheet would fit
  form.SheetDiskReserve = 400 << 10;
  form.SplitAndSave(disk, "plan.jww");
  const size_t saved = FolderFiles(disk).size();
  EXPECT_TRUE(saved > 0 && OutputNames().back().empty());
  EXPECT_EQ(form.UnsavedSheetCount, static_cast<int32_t>(6 - saved));
  for (const TRunReport::TFileTrouble& row : form.Report.UnsavedSheets)
    EXPECT_EQ(row.Reason, S("ディスクの空き容量が残り少ないため保存しませんでした")) << row.Path;
  ::umount2(disk.c_str(), MNT_DETACH);
}

// Names too long for a file, each of three frames, twice into one folder:
// every sheet saved under a name of its own, cut on a character boundary.
TEST_F(SheetLoop, LongDuplicateSheetNamesAreAllSaved) {
  std::string kanji = "b", kana;  // cut to 250 bytes, one short of "-2"; one byte in the drawing, three on disk
  for (int i = 0; i < 100; ++i) kanji += S("図"), kana += S("ｱｱ");
  for (const std::string& name : {std::string(300, 'a'), kanji, kana}) {
    form.WorkDrawing.FreeData();
    form.Report.Clear();  // a new run
    SetUp();
    AddFrames(3);
    for (int i = 0; i < 3; ++i) {
      AddLineInFrame(i, static_cast<uint32_t>(i));
      Append(form.WorkDrawing, Tag(400.0 * i + 100, 100, S("【名】") + name));
    }
    form.NamingPattern = 5;
    form.SplitAndSave(folder, "plan.jww");
    form.SplitAndSave(folder, "plan.jww");  // another drawing plan.jww to the same folder
    EXPECT_TRUE(form.Report.UnsavedSheets.empty()) << name;
    EXPECT_EQ(FolderFiles(folder).size(), 6u) << name;
    for (const std::string& file : FolderFiles(folder)) EXPECT_TRUE(file.size() <= 255 && IsValidUtf8(file)) << file;
  }
}

TEST_F(SheetLoop, UnsafeSheetNamesStayInsideTheFolder) {
  TJwwData& d = form.WorkDrawing;
  AddFrames(3);
  for (int i = 0; i < 3; ++i) AddLineInFrame(i, static_cast<uint32_t>(i));
  Append(d, Tag(100, 100, S("【名】A") + std::string("\x01", 1) + "B"));
  Append(d, Tag(500, 100, S("【名】C") + "\xFF" + "D"));
  Append(d, Tag(900, 100, S("【名】../x")));  // refused as a name: the sheet has none
  form.NamingPattern = 2;
  form.SplitAndSave(folder, "plan.jww");
  EXPECT_EQ(FolderFiles(folder), (std::vector<std::string>{"plan_3.jww", "plan_A_B.jww", "plan_C_D.jww"}));
}

}  // namespace
