// The whole batch on drawings written to disk by the test-side builder,
// with a fake main window; every sheet is read back with the reader.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

#include "bind_images.h"
#include "file_io.h"
#include "sheet_fixtures.h"
#include "system_reason.h"

using namespace sheettest;
using jwwtest::JwwBuilder;

namespace {

using Ids = std::vector<uint32_t>;

// Block 1 holds an insert of block 2, which holds one line.
void AddNestedBlocks(JwwBuilder& b) {
  jwwtest::JwwBuilderBlockDef& outer = b.AddBlockDef(1, "outer");
  outer.Elements.Add(jwwtest::MakeInsert(5, 5, 2, Common(21)));
  outer.Elements.Add(jwwtest::MakeLine(0, 0, 10, 0, Common(22)));
  jwwtest::JwwBuilderBlockDef& inner = b.AddBlockDef(2, "inner");
  inner.Elements.Add(jwwtest::MakeLine(0, 0, 0, 10, Common(23)));
}

// Two A3 frames side by side. The left one holds two sheets: 平面図 with the
// layer list 01 of group 2, and 立面図 without a filter; the right one has no
// sheet name.
JwwBuilder MainDrawing() {
  JwwBuilder b;
  b.Header().PrintRotation = 40;
  b.Header().DrawSwitches[6] = 7;
  AddFrame(b, 0, 0, 420, 297);
  AddFrame(b, 500, 0, 920, 297);
  b.AddText(Tag(10, 10, S("【名】平面図【Ｌ】01"), 2));
  b.AddText(Tag(20, 20, S("【名】立面図")));
  b.AddLine(jwwtest::MakeLine(100, 100, 200, 150, Common(1, 2, 0)));
  b.AddLine(jwwtest::MakeLine(100, 200, 200, 210, Common(2, 2, 5)));
  b.AddLine(jwwtest::MakeLine(300, 100, 5000, 100, Common(3)));        // reaches far out of the frame
  b.AddLine(jwwtest::MakeLine(600, 100, 700, 100, Common(4)));
  b.AddArc(jwwtest::MakeCircle(210, 148.5, 1000, Common(5)));          // around the whole frame
  b.AddPoint(jwwtest::MakePoint(0, 50, Common(6)));                    // on the frame edge
  b.AddText(jwwtest::MakeText(550, 50, "ROOM", Common(7)));
  b.AddSolid(jwwtest::MakeSolid(50, 50, 10, 10, Common(8, 2, 1)));
  b.AddBlockInsert(jwwtest::MakeInsert(800, 200, 1, Common(9)));
  b.AddBlockInsert(jwwtest::MakeInsert(1000, 100, 1, Common(10)));     // inserted outside
  TEntJwwDimension dim = jwwtest::MakeDimension(100, 250, 200, 250, "100", Common(11, 2, 1));
  dim.Text.Common.Layer = 9;  // only the line part is on a listed layer
  b.AddDimension(dim);
  AddNestedBlocks(b);
  return b;
}

class Batch : public ::testing::Test {
 protected:
  void SetUp() override {
    Gval.Reset();
    BindImg.Reset();
    folder = jwwtest::FreshFolder("batch");
    BindImg.TempFolder = jwwtest::FreshFolder("batch_images");
    form.TempSheetFolder = jwwtest::FreshFolder("batch_tmp");
    form.NamingPattern = 2;
    host.Attach(form);
  }
  std::string Write(const JwwBuilder& b, const std::string& name, int32_t version = 700) {
    const std::string path = folder + name;
    EXPECT_TRUE(b.WriteFile(path, version));
    return path;
  }
  TJwwData& Load(const std::string& path) {
    sheets.emplace_back(std::make_unique<TJwwData>());
    EXPECT_TRUE(sheets.back()->LoadFromFile(path)) << path;
    return *sheets.back();
  }

  std::string folder;
  TForm1 form;
  FakeBatchHost host;
  std::vector<std::unique_ptr<TJwwData>> sheets;
};

TEST_F(Batch, SheetsHoldTheirElementsMovedToTheFrameCentre) {
  const std::string source = Write(MainDrawing(), "plan.jww");
  const std::vector<uint8_t> sourceBytes = FileBytes(source);
  form.FileList = {source};
  form.RunBatch(host);

  EXPECT_EQ(FolderFiles(folder),
            (std::vector<std::string>{"plan.jww", "plan_2.jww", "plan_平面図.jww", "plan_立面図.jww"}));
  EXPECT_EQ(FileBytes(source), sourceBytes);

  // The order dialog saw the three saved sheets in frame order.
  ASSERT_EQ(host.OrderRows.size(), 3u);
  EXPECT_EQ(host.OrderRows[0].First, folder + "plan_平面図.jww");
  EXPECT_EQ(host.OrderRows[1].First, folder + "plan_立面図.jww");
  EXPECT_EQ(host.OrderRows[2].First, folder + "plan_2.jww");
  for (const TStr2List& row : host.OrderRows) EXPECT_EQ(row.Second, source);
  EXPECT_EQ(host.OrderKinds, std::vector<TForm1::TSheetRowKind>(3, TForm1::TSheetRowKind::SavedSheet));

  TJwwData& plan = Load(folder + "plan_平面図.jww");
  EXPECT_EQ(IdsOfKind(plan, kKindLine), Ids({1}));
  EXPECT_EQ(IdsOfKind(plan, kKindSolid), Ids({8}));
  EXPECT_EQ(IdsOfKind(plan, kKindDimension), Ids({11}));
  EXPECT_EQ(IdsOfKind(plan, kKindText), Ids());  // the tags of all frames are dropped
  EXPECT_EQ(IdsOfKind(plan, kKindArc), Ids());
  EXPECT_EQ(IdsOfKind(plan, kKindPoint), Ids());
  EXPECT_EQ(plan.Lines[0].X1, 100 - 210);
  EXPECT_EQ(plan.Lines[0].Y1, 100 - 148.5);
  EXPECT_EQ(plan.Lines[0].X2, 200 - 210);
  EXPECT_EQ(plan.Solids[0].X1, 50 - 210);
  EXPECT_EQ(plan.Dimensions[0].Line.X1, 100 - 210);
  EXPECT_EQ(plan.Dimensions[0].Text.StartY, 251 - 148.5);
  EXPECT_EQ(plan.Dimensions[0].AuxPoint2.Y, 245 - 148.5);

  TJwwData& elevation = Load(folder + "plan_立面図.jww");
  EXPECT_EQ(IdsOfKind(elevation, kKindLine), Ids({1, 2, 3}));
  EXPECT_EQ(elevation.Lines[2].X2, 5000 - 210);  // whole, not clipped

  TJwwData& second = Load(folder + "plan_2.jww");
  EXPECT_EQ(IdsOfKind(second, kKindLine), Ids({3, 4}));  // line 3 crosses this frame as well
  EXPECT_EQ(IdsOfKind(second, kKindText), Ids({7}));
  EXPECT_EQ(IdsOfKind(second, kKindBlockInsert), Ids({9}));
  EXPECT_EQ(second.BlockInserts[0].X, 800 - 710);
  EXPECT_EQ(second.BlockInserts[0].Y, 200 - 148.5);
  EXPECT_EQ(second.BlockDefCount, 2);  // both definitions travel with the nested insert
  EXPECT_EQ(second.Texts[0].StartX, 550 - 710);

  for (TJwwData* d : {&plan, &elevation, &second}) {
    EXPECT_EQ(d->Header.Version, 700);
    EXPECT_EQ(d->Header.PaperSize, 3);
    EXPECT_EQ(d->Header.PrintOriginX, 0);
    EXPECT_EQ(d->Header.PrintOriginY, 0);
    EXPECT_EQ(d->Header.PrintScale, 1.0);
    EXPECT_EQ(d->Header.PrintRotation, 40);
    EXPECT_EQ(d->Header.DrawSwitches[2], 62);
    EXPECT_EQ(d->Header.DrawSwitches[3], 0);
    EXPECT_EQ(d->Header.DrawSwitches[6], 1);  // print order by layer
  }
  EXPECT_EQ(host.Statuses.front(), S("変換中(1/1) ") + source);
  EXPECT_EQ(host.Statuses.back(), S("実行完了(1)"));
  EXPECT_EQ(host.ButtonStates, (std::vector<bool>{false, true}));
  EXPECT_TRUE(Gval.SheetList.empty());
  EXPECT_FALSE(form.Running);
}

TEST_F(Batch, PrintOrderSetsTheLayerOrderSwitch) {
  const std::string source = Write(MainDrawing(), "plan.jww");
  form.FileList = {source};
  form.NamingPattern = 0;
  const std::pair<int32_t, int32_t> cases[] = {{0, 0}, {1, 1}, {2, -1}, {5, 7}};
  for (const auto& [order, expected] : cases) {
    form.PrintOrder = order;
    form.RunBatch(host);
    EXPECT_EQ(Load(folder + "1-1_plan.jww").Header.DrawSwitches[6], expected) << order;
  }
}

TEST_F(Batch, NestedBlocksWithExplosion) {
  const std::string source = Write(MainDrawing(), "plan.jww");
  TJwwData probe;
  ASSERT_TRUE(probe.LoadFromFile(source));
  if (!probe.ExplodeBlocks()) GTEST_SKIP() << "needs block explosion";
  form.FileList = {source};
  form.ExplodeBlocks = true;
  form.RunBatch(host);
  TJwwData& second = Load(folder + "plan_2.jww");
  EXPECT_EQ(second.BlockInsertCount, 0);
  // The insert at (800, 200) brought its own line and its nested block's line.
  Ids lines = IdsOfKind(second, kKindLine);
  std::sort(lines.begin(), lines.end());
  EXPECT_EQ(lines, Ids({3, 4, 22, 23}));
}

// Blocks nested too deep or standing for too many copies stay whole; the
// run says which for the drawing and counts it at its end.
TEST_F(Batch, BlocksThatCannotBeExplodedAreReported) {
  for (const bool deep : {true, false}) {
    SetUp();
    host.Statuses.clear();
    JwwBuilder b = MainDrawing();
    for (uint32_t i = 0; deep && i < 70; ++i) {
      jwwtest::JwwBuilderBlockDef& def = b.AddBlockDef(100 + i, "deep");
      def.Elements.Add(jwwtest::MakeLine(0, 0, 1, 0, Common(30)));
      if (i + 1 < 70) def.Elements.Add(jwwtest::MakeInsert(0, 0, 101 + i, Common(31)));
    }
    if (!deep) {  // 6,000 inserts of 1,000 lines: some 340 MB of copies
      jwwtest::JwwBuilderBlockDef& many = b.AddBlockDef(100, "many");
      for (int i = 0; i < 1000; ++i) many.Elements.Add(jwwtest::MakeLine(0, i * 0.01, 1, 0, Common(30)));
    }
    for (int i = deep ? 5999 : 0; i < 6000; ++i) b.AddBlockInsert(jwwtest::MakeInsert(600, 50, 100, Common(32)));
    const std::string source = Write(b, "plan.jww");
    form.FileList = {source};
    form.ExplodeBlocks = true;
    form.RunBatch(host);
    const std::string said = S(deep ? "ブロックを分解できませんでした(入れ子が深すぎます) "
                                    : "ブロックを分解できませんでした(図面が大きすぎます) ") + source;
    EXPECT_NE(std::find(host.Statuses.begin(), host.Statuses.end(), said), host.Statuses.end()) << deep;
    EXPECT_EQ(host.Statuses.back(), S("実行完了(1)　ブロックを分解できなかった図面：1"));
    EXPECT_GT(Load(folder + "plan_2.jww").BlockInsertCount, 0);  // blocks kept whole
  }
}

TEST_F(Batch, TemporaryDestinationDeletesOnlySavedSheets) {
  const std::string plan = Write(MainDrawing(), "plan.jww");
  JwwBuilder plain;
  plain.AddLine(jwwtest::MakeLine(0, 0, 10, 10, Common(1)));
  const std::string whole = Write(plain, "whole.jww");
  form.SetDestinationChecked(kDestTemporary, true);
  form.FileList = {plan, whole};
  std::vector<std::string> tmpDuringRun;
  host.OnOrder = [&](TForm1& f) {
    tmpDuringRun = FolderFiles(f.TempSheetFolder);
    f.SwapSheetRows(0, 3);  // the whole drawing first: still never deleted
  };
  form.RunBatch(host);
  EXPECT_EQ(tmpDuringRun, (std::vector<std::string>{"plan_2.jww", "plan_平面図.jww", "plan_立面図.jww"}));
  ASSERT_EQ(host.OrderRows.size(), 4u);
  EXPECT_EQ(host.OrderRows[3].First, whole);
  EXPECT_EQ(host.OrderRows[3].Second, whole);
  EXPECT_EQ(host.OrderKinds[3], TForm1::TSheetRowKind::WholeDrawing);
  EXPECT_TRUE(FolderFiles(form.TempSheetFolder).empty());
  EXPECT_EQ(FolderFiles(folder), (std::vector<std::string>{"plan.jww", "whole.jww"}));
}

TEST_F(Batch, EscapeBeforeTheSecondDrawingStillShowsTheOrder) {
  const std::string plan = Write(MainDrawing(), "plan.jww");
  const std::string other = Write(MainDrawing(), "other.jww");
  form.SetDestinationChecked(kDestTemporary, true);
  form.FileList = {plan, other};
  form.PrintAfterSplit = true;
  form.PreviewAfterSplit = true;
  host.EscapeFromPoll = 1;
  form.RunBatch(host);
  EXPECT_EQ(host.OrderDialogs, 1);
  ASSERT_EQ(host.OrderRows.size(), 3u);
  for (const TStr2List& row : host.OrderRows) EXPECT_EQ(row.Second, plan);
  EXPECT_EQ(host.Previews, 0);
  EXPECT_EQ(host.Prints, 0);
  EXPECT_EQ(host.Statuses.back(), S("実行を中断しました(ESC)"));
  EXPECT_TRUE(FolderFiles(form.TempSheetFolder).empty());
}

TEST_F(Batch, CloseRequestDuringTheRunAborts) {
  const std::string plan = Write(MainDrawing(), "plan.jww");
  form.FileList = {plan, plan};
  host.OnPump = [](TForm1& f) { EXPECT_FALSE(f.FormCloseQuery()); };
  form.RunBatch(host);
  EXPECT_EQ(host.Pumps, 1);
  EXPECT_EQ(host.Statuses.back(), S("実行を中断しました(ESC)"));
  EXPECT_TRUE(form.FormCloseQuery());  // idle again
}

TEST_F(Batch, OrderPreviewAndPrintLoop) {
  const std::string plan = Write(MainDrawing(), "plan.jww");
  form.FileList = {plan};
  form.PreviewAfterSplit = true;
  form.PrintAfterSplit = true;
  host.OnPreview = [&](TForm1& f) { f.BackToOrder = host.Previews == 1; };  // back once
  form.RunBatch(host);
  EXPECT_EQ(host.OrderDialogs, 2);
  EXPECT_EQ(host.Previews, 2);
  EXPECT_EQ(host.Prints, 1);

  FakeBatchHost stopping;
  stopping.StopInOrderDialog = true;
  form.RunBatch(stopping);
  EXPECT_EQ(stopping.OrderDialogs, 1);
  EXPECT_EQ(stopping.Previews + stopping.Prints, 0);
  EXPECT_EQ(stopping.Statuses.back(), S("実行を中断しました(ESC)"));
}

TEST_F(Batch, ClosingStatusCountsTheListedFiles) {
  const std::string plan = Write(MainDrawing(), "plan.jww");
  const std::string notJww = folder + "notes.jww";
  std::ofstream(notJww) << "not a drawing";
  form.FileList = {plan, folder + "missing.jww", notJww};
  form.RunBatch(host);
  EXPECT_EQ(host.OrderRows.size(), 3u);  // only the sheets of plan.jww
  EXPECT_EQ(host.Statuses.back(), S("実行完了(3)　読み込めなかった図面：2"));
}

// Files that are no readable drawing are skipped (a damaged one is listed
// whole), and the end of the run tells each with its reason.
TEST_F(Batch, UnreadableDrawingsAreToldWithTheirReason) {
  const std::string empty = folder + "空の図面.jww", text = folder + "notes.jww", gone = folder + "gone.jww";
  std::ofstream{empty};
  std::ofstream(text) << "JwwData";
  const std::vector<uint8_t> bytes = MainDrawing().Bytes(700);
  const std::string cut = folder + "cut.jww";
  std::ofstream(cut, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size() / 2));
  form.FileList = {Write(MainDrawing(), "plan.jww"), empty, text, gone, cut};
  form.RunBatch(host);

  ASSERT_EQ(host.OrderRows.size(), 4u);
  EXPECT_EQ(host.OrderRows[3].First, cut);
  EXPECT_EQ(host.OrderKinds[3], TForm1::TSheetRowKind::WholeDrawing);
  EXPECT_EQ(host.Statuses.back(), S("実行完了(5)　読み込めなかった図面：4"));
  ASSERT_EQ(host.Informs.size(), 1u);
  auto row = [](const std::string& path, const char* reason) { return "\r\n" + SjisTextFromPath(path) + S(reason); };
  EXPECT_EQ(host.Informs[0], S("読み込めなかった図面があります。") + row(empty, "：JWW形式の図面ではありません") +
                                 row(text, "：JWW形式の図面ではありません") + row(gone, "：ファイルがありません") +
                                 row(cut, "：図面が壊れています"));
}

// A framed drawing whose sheets are all empty stands for itself.
TEST_F(Batch, FramedDrawingWithOnlyEmptySheetsIsListedWhole) {
  JwwBuilder b;
  AddFrame(b, 0, 0, 420, 297);
  AddFrame(b, 500, 0, 920, 297);
  b.AddLine(jwwtest::MakeLine(2000, 0, 2100, 10, Common(1)));  // outside every frame
  const std::string empty = Write(b, "empty_frames.jww");
  for (const bool auxFrame : {false, true}) {
    form.DrawAuxFrame = auxFrame;
    form.FileList = {empty};
    form.RunBatch(host);
    ASSERT_EQ(host.OrderRows.size(), 1u) << auxFrame;
    EXPECT_EQ(host.OrderRows[0].First, empty);
    EXPECT_EQ(host.OrderKinds[0], TForm1::TSheetRowKind::WholeDrawing);
    EXPECT_EQ(host.Statuses.back(), S("実行完了(1)"));
    EXPECT_EQ(FolderFiles(folder), (std::vector<std::string>{"empty_frames.jww"}));
  }
}

TEST_F(Batch, DrawingThatFailsToLoadIsListedWholeAndSavesNothing) {
  std::vector<uint8_t> bytes = MainDrawing().Bytes(700);
  bytes.resize(bytes.size() - 60);  // cut inside the block definitions: the frames were read
  const std::string cut = folder + "cut.jww";
  std::ofstream(cut, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                             static_cast<std::streamsize>(bytes.size()));
  TJwwData probe;
  ASSERT_FALSE(probe.LoadFromFile(cut));
  ASSERT_GT(probe.LineCount, 0);
  form.FileList = {cut};
  form.RunBatch(host);
  EXPECT_EQ(FolderFiles(folder), (std::vector<std::string>{"cut.jww"}));
  ASSERT_EQ(host.OrderRows.size(), 1u);
  EXPECT_EQ(host.OrderRows[0].First, cut);
  EXPECT_EQ(host.OrderKinds[0], TForm1::TSheetRowKind::WholeDrawing);
}

TEST_F(Batch, UnwritableDestinationLosesNothing) {
  const std::string plan = Write(MainDrawing(), "plan.jww");
  const std::vector<uint8_t> bytes = FileBytes(plan);
  form.SetDestinationChecked(kDestTemporary, true);
  form.TempSheetFolder = folder + "no_such_folder/";
  JwwBuilder plain;
  plain.AddLine(jwwtest::MakeLine(0, 0, 10, 10, Common(1)));
  const std::string whole = Write(plain, "whole.jww");
  form.FileList = {plan, whole};
  form.RunBatch(host);
  // The framed drawing whose every sheet failed is not shown unsplit; the
  // drawing without frames is listed whole.
  ASSERT_EQ(host.OrderRows.size(), 1u);
  EXPECT_EQ(host.OrderRows[0].First, whole);
  EXPECT_EQ(host.OrderKinds[0], TForm1::TSheetRowKind::WholeDrawing);
  EXPECT_EQ(FileBytes(plan), bytes);
  EXPECT_EQ(host.Statuses.back(),
            S("実行完了(2)　保存できなかった分割図面：3　分割図面を保存できなかった図面：1"));
  ASSERT_EQ(host.Informs.size(), 1u);
  EXPECT_NE(host.Informs[0].find(form.TempSheetFolder + "plan_2.jww"), std::string::npos);
}

// Sheets of two drawings of one name fail at the same paths: each failure
// names its drawing. The run, left without sheets, opens no dialog.
TEST_F(Batch, FailedSheetsNameTheirDrawingAndOpenNoDialog) {
  std::filesystem::create_directories(folder + "b");
  form.FileList = {Write(MainDrawing(), "plan.jww"), Write(MainDrawing(), "b/plan.jww")};
  form.PreviewAfterSplit = form.PrintAfterSplit = true;
  form.SetDestinationChecked(kDestTemporary, true);
  form.TempSheetFolder = folder + "no_such_folder/";
  form.RunBatch(host);
  EXPECT_EQ(host.OrderDialogs + host.Previews + host.Prints, 0);
  ASSERT_EQ(host.Informs.size(), 1u);
  for (const std::string& drawing : form.FileList)
    EXPECT_NE(host.Informs[0].find(SjisTextFromPath(form.TempSheetFolder + "plan_2.jww") + S("：") +
                                   SystemErrorText(ENOENT) + S("（元図面：") + drawing + S("）")),
              std::string::npos) << drawing;
}

// Held images that cannot be extracted (the image folder is missing) would
// be left out of the sheets: such a sheet is not kept and not listed.
TEST_F(Batch, SheetsThatWouldLoseAHeldImageAreNotSaved) {
  JwwBuilder b;
  AddFrame(b, 0, 0, 297, 210);
  AddFrame(b, 400, 0, 697, 210);
  b.AddText(jwwtest::MakeText(10, 10, "^@BM%temp%pic.bmp,10,10", Common(1)));
  b.AddLine(jwwtest::MakeLine(410, 10, 420, 20, Common(2)));
  b.AddImage("pic.bmp", "BM image bytes");
  const std::string plan = Write(b, "plan.jww");
  BindImg.TempFolder = folder + "no_such_folder/";
  BindImg.BindImageExtractFlag = BindImg.BindImageKeepFlag = 1;
  form.FileList = {plan};
  form.RunBatch(host);
  EXPECT_EQ(FolderFiles(folder), (std::vector<std::string>{"plan.jww", "plan_2.jww"}));
  ASSERT_EQ(host.OrderRows.size(), 1u);
  EXPECT_EQ(host.OrderRows[0].First, folder + "plan_2.jww");
  ASSERT_EQ(host.Informs.size(), 1u);
  EXPECT_NE(host.Informs[0].find(folder + "plan_1.jww"), std::string::npos);
}

// An earlier sheet (perhaps edited since) stays byte for byte when the sheet
// at its path cannot be saved whole: its image's name is too long for a file.
TEST_F(Batch, SheetThatWouldLoseAHeldImageLeavesTheEarlierFile) {
  std::string image;
  for (int i = 0; i < 90; ++i) image += S("画");
  JwwBuilder b;
  AddFrame(b, 0, 0, 297, 210);
  b.AddText(jwwtest::MakeText(10, 10, "^@BM%temp%" + image + ".bmp,10,10", Common(1)));
  b.AddImage(image + ".bmp", "BM image bytes");
  form.FileList = {Write(b, "plan.jww")};
  const std::string old = Write(MainDrawing(), "plan_1.jww");
  const std::vector<uint8_t> oldBytes = FileBytes(old);
  form.SavedSheets.Note(old, {reinterpret_cast<const char*>(oldBytes.data()), oldBytes.size()});  // an earlier sheet
  BindImg.BindImageExtractFlag = BindImg.BindImageKeepFlag = 1;
  form.RunBatch(host);
  EXPECT_EQ(FileBytes(old), oldBytes);
  EXPECT_EQ(host.Informs.size(), 1u);
  EXPECT_NE(host.Informs.at(0).find(old + S("：図面に埋め込まれた画像を取り出せませんでした")), std::string::npos);
}

TEST_F(Batch, GivenFolderOrTheSourceFolder) {
  const std::string plan = Write(MainDrawing(), "plan.jww");
  form.FileList = {plan};
  form.SetDestinationChecked(kDestGivenFolder, true);
  const std::string given = jwwtest::FreshFolder("batch_given");
  form.GivenFolder = given.substr(0, given.size() - 1);  // typed without its trailing '/'
  form.RunBatch(host);
  EXPECT_EQ(FolderFiles(given).size(), 3u);

  form.GivenFolder = folder + "absent";
  form.RunBatch(host);
  EXPECT_EQ(FolderFiles(folder).size(), 4u);  // next to the source drawing
  EXPECT_EQ(host.Informs, (std::vector<std::string>{S("保存先フォルダに保存できなかったため、分割図面を元の図面と同じフォルダに保存しました。\r\n") +
                                                    folder + S("absent：") + SystemErrorText(ENOENT) + S("\r\n保存先：") + folder}));
}

TEST_F(Batch, SheetNeverReplacesAListedDrawing) {
  JwwBuilder a = MainDrawing();
  a.AddText(Tag(510, 10, S("【名】b")));
  const std::string pathA = Write(a, "a.jww");
  const std::string pathB = Write(MainDrawing(), "b.jww");
  const std::vector<uint8_t> bytesB = FileBytes(pathB);
  form.NamingPattern = 5;
  form.FileList = {pathA, pathB};
  form.RunBatch(host);
  EXPECT_EQ(FileBytes(pathB), bytesB);
  ASSERT_EQ(host.Informs.size(), 1u);
  EXPECT_NE(host.Informs[0].find(pathB), std::string::npos);
  EXPECT_EQ(host.Statuses.back(), S("実行完了(2)　保存できなかった分割図面：1"));
}

// The user's 平面図.jww and, in the third run, the drawing frame 立面図.jww
// stay; the sheets take other names, told. Each run replaces its own sheets.
TEST_F(Batch, SheetNeverReplacesTheUsersFile) {
  std::ofstream(folder + "平面図.jww") << "the user's drawing";
  form.SavedSheetRecordPath = jwwtest::FreshFolder("batch_state") + "quillmoor/saved-sheets.txt";
  form.NamingPattern = 5;
  form.FileList = {Write(MainDrawing(), "plan.jww")};
  for (const int run : {1, 2, 3}) {
    form.SavedSheets = TSavedSheetRecord();  // each run another program
    form.FrameFiles[4] = run == 3 ? folder + "立面図.jww" : "";
    host.Informs.clear();
    form.RunBatch(host);
    EXPECT_EQ(FolderFiles(folder).size(), run == 3 ? 6u : 5u);  // plan, plan_2, 平面図, 平面図-2, 立面図, 立面図-2
    EXPECT_EQ(host.Statuses.back(), S("実行完了(1)　別の名前で保存した分割図面：") + (run == 3 ? "2" : "1"));
    EXPECT_EQ(host.Informs.at(0).find(S("既にあるファイルを残して別の名前で保存した分割図面があります。\r\n") +
                                      SjisTextFromPath(folder + "平面図-2.jww") + S("：既にあった平面図.jwwはそのまま残しました")),
              0u) << run;
  }
}

TEST_F(Batch, SeparatorIsTestedByCharacter) {
  form.FileList = {Write(MainDrawing(), "plan.jww")};
  // ー ソ 表 end in the byte of "\\"; ポ in that of "|".
  const std::pair<const char*, bool> separators[] = {
      {"ー", true}, {"ソ", true}, {"表", true}, {"ポ", true}, {"_", true}, {"ー:", false}, {"ソ;", false}, {"\\", false}};
  for (const auto& [utf8, kept] : separators) {
    form.Separator = S(utf8);
    form.RunBatch(host);
    EXPECT_EQ(form.Separator, kept ? S(utf8) : "") << utf8;
  }
}

// A drawing name too long for the sheets' file names gives way to their
// numbers: every sheet is saved under a name of its own.
TEST_F(Batch, LongDrawingNameKeepsTheSheetNumbers) {
  const std::string base(250, 'd'), d247(247, 'd');
  form.NamingPattern = 1;
  form.FileList = {Write(MainDrawing(), base + ".jww")};
  form.RunBatch(host);
  EXPECT_EQ(FolderFiles(folder), (std::vector<std::string>{d247 + "_1-1.jww", d247 + "_1-2.jww",
                                                            std::string(249, 'd') + "_2.jww", base + ".jww"}));
  EXPECT_TRUE(host.Informs.empty());
  EXPECT_EQ(host.Statuses.back(), S("実行完了(1)"));
}

TEST_F(Batch, SeparatorWithAForbiddenCharacterIsEmptied) {
  const std::string plan = Write(MainDrawing(), "plan.jww");
  form.FileList = {plan};
  form.Separator = "-.";
  form.StartNumber = 12345;
  form.Margin = -3;
  form.RunBatch(host);
  EXPECT_EQ(form.Separator, "");
  EXPECT_EQ(form.StartNumber, 9999);
  EXPECT_EQ(form.Margin, 0);
  EXPECT_TRUE(std::filesystem::exists(folder + "plan10000.jww"));
}

TEST_F(Batch, StartButtonChecksAndAsks) {
  form.StartBatch(host);
  EXPECT_EQ(host.Informs, (std::vector<std::string>{S("図面ファイル名を指定して下さい。")}));
  EXPECT_EQ(host.OrderDialogs, 0);
  form.FileList = {Write(MainDrawing(), "plan.jww")};
  host.ConfirmAnswer = false;
  form.StartBatch(host);
  EXPECT_EQ(host.Confirms, (std::vector<std::string>{S("実行を開始します。よろしいですか？")}));
  EXPECT_EQ(host.OrderDialogs, 0);
  host.ConfirmAnswer = true;
  form.StartBatch(host);
  EXPECT_EQ(host.OrderDialogs, 1);
}

}  // namespace
