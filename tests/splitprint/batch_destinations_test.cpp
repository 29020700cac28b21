// The batch with print-origin frames (version 230 and 700 drawings) and
// with the desktop and documents destinations.
#include <gtest/gtest.h>

#include <filesystem>

#include "bind_images.h"
#include "fake_printer.h"
#include "sheet_fixtures.h"
#include "unit_print.h"
#include "unusual_names.h"
#include "user_folders.h"

using namespace sheettest;
using jwwtest::JwwBuilder;

namespace {

// Desktop and documents folders under a test folder.
class FakeUserFolders : public TUserFolders {
 public:
  explicit FakeUserFolders(const std::string& root, const std::string& desktop = "desk")
      : root_(root), desktop_(desktop) { SetUserFolders(this); }
  ~FakeUserFolders() override { SetUserFolders(nullptr); }
  std::string DesktopFolder() const override { return root_ + desktop_ + "/"; }
  std::string DocumentsFolder() const override { return root_ + "docs/"; }

 private:
  std::string root_, desktop_;
};

class BatchFrames : public ::testing::Test {
 protected:
  void SetUp() override {
    Gval.Reset();
    BindImg.Reset();
    folder = jwwtest::FreshFolder("batch_frames");
    BindImg.TempFolder = jwwtest::FreshFolder("batch_frames_images");
    SetFakePageMm(printer, 420, 297);
    SetCurrentPrinter(&printer);
  }
  void TearDown() override { SetCurrentPrinter(nullptr); }
  std::string Write(const JwwBuilder& b, const std::string& name, int32_t version) {
    const std::string path = folder + name;
    EXPECT_TRUE(b.WriteFile(path, version));
    return path;
  }

  std::string folder;
  TFakePrinter printer;
  TForm1 form;
  FakeBatchHost host;
};

TEST_F(BatchFrames, PrintOriginFrameOfAVersion230Drawing) {
  if (!NumberRoutinesReady()) GTEST_SKIP() << "needs the number reading and formatting routines";
  JwwBuilder b;
  b.AddText(Tag(100, 200, S("【印刷原点】回転")));
  b.AddLine(jwwtest::MakeLine(150, 250, 160, 260, Common(1)));
  b.AddLine(jwwtest::MakeLine(400, 250, 460, 260, Common(2)));  // beyond the page
  const std::string source = Write(b, "old.jww", 230);
  form.FileList = {source};
  form.RunBatch(host);
  TJwwData sheet;
  ASSERT_TRUE(sheet.LoadFromFile(folder + "1_old.jww"));
  EXPECT_EQ(sheet.Header.Version, 230);
  EXPECT_EQ(sheet.Header.PaperSize, 3);
  EXPECT_EQ(sheet.Header.PrintScale, 1.0);
  EXPECT_EQ(sheet.Header.PrintRotation, 1);  // rotated, no base-point code before version 300
  EXPECT_EQ(IdsOfKind(sheet, kKindLine), (std::vector<uint32_t>{1}));
  EXPECT_EQ(IdsOfKind(sheet, kKindText), std::vector<uint32_t>());  // the tag stays behind
  EXPECT_EQ(sheet.Lines[0].X1, 50);
  EXPECT_EQ(sheet.Lines[0].Y1, 50);
}

TEST_F(BatchFrames, PrintOriginFrameOfAVersion700DrawingMovesToThePageCentre) {
  if (!NumberRoutinesReady()) GTEST_SKIP() << "needs the number reading and formatting routines";
  JwwBuilder b;
  b.Header().PrintRotation = 30;  // base point code 3: the point moves right by half a page
  b.AddText(Tag(100, 200, S("【印刷原点】50%")));
  b.AddLine(jwwtest::MakeLine(300, 300, 320, 300, Common(1)));
  const std::string source = Write(b, "new.jww", 700);
  form.FileList = {source};
  form.RunBatch(host);
  TJwwData sheet;
  ASSERT_TRUE(sheet.LoadFromFile(folder + "1_new.jww"));
  EXPECT_EQ(sheet.Header.PaperSize, 1);  // a page of 840 x 594 at 50 %
  EXPECT_EQ(sheet.Header.PrintScale, 0.5);
  EXPECT_EQ(sheet.Header.PrintRotation, 40);
  ASSERT_EQ(sheet.LineCount, 1);
  EXPECT_EQ(sheet.Lines[0].X1, 300 - 310);
  EXPECT_EQ(sheet.Lines[0].Y1, 300 - 200);
}

TEST_F(BatchFrames, OneDocumentPrintingWrapsThePrintout) {
  JwwBuilder b;
  AddFrame(b, 0, 0, 297, 210);
  b.AddLine(jwwtest::MakeLine(10, 10, 20, 20, Common(1)));
  form.FileList = {Write(b, "plan.jww", 700)};
  form.PrintAfterSplit = true;
  form.OneDocument = 1;
  bool openWhilePrinting = false;
  host.OnPrint = [&](TForm1&) { openWhilePrinting = printer.Open; };
  form.RunBatch(host);
  EXPECT_TRUE(openWhilePrinting);
  EXPECT_FALSE(printer.Open);
  EXPECT_EQ(printer.Titles, (std::vector<std::string>{S("Quillmoor 印刷")}));
}

TEST_F(BatchFrames, DesktopAndDocumentsDestinations) {
  JwwBuilder b;
  AddFrame(b, 0, 0, 297, 210);
  b.AddLine(jwwtest::MakeLine(10, 10, 20, 20, Common(1)));
  form.FileList = {Write(b, "plan.jww", 700)};
  const std::string root = jwwtest::FreshFolder("batch_xdg");
  std::filesystem::create_directories(root + "desk");
  std::filesystem::create_directories(root + "docs");
  FakeUserFolders userFolders(root);
  form.SetDestinationChecked(kDestDesktop, true);
  form.RunBatch(host);
  EXPECT_TRUE(std::filesystem::exists(root + "desk/1_plan.jww"));
  form.SetDestinationChecked(kDestMyDocuments, true);
  form.RunBatch(host);
  EXPECT_TRUE(std::filesystem::exists(root + "docs/1_plan.jww"));
  EXPECT_EQ(FolderFiles(folder), (std::vector<std::string>{"plan.jww"}));
}

// Names Shift-JIS cannot hold, for the drawing, its folder and the desktop:
// the sheets are saved where they belong and carry the real names.
TEST_F(BatchFrames, DrawingsAndDesktopWithAnyNameKeepTheirNames) {
  JwwBuilder b;
  AddFrame(b, 0, 0, 297, 210);
  b.AddLine(jwwtest::MakeLine(10, 10, 20, 20, Common(1)));
  form.SetDestinationChecked(kDestSourceFolder, true);
  for (const jwwtest::TUnusualName& name : jwwtest::UnusualNames()) {
    std::filesystem::create_directories(folder + name.Stem);
    form.FileList = {Write(b, name.Stem + "/" + name.Stem + ".jww", 700)};
    form.RunBatch(host);
    EXPECT_EQ(FolderFiles(folder + name.Stem), (std::vector<std::string>{"1_" + name.Stem + ".jww", name.Stem + ".jww"}))
        << name.Stem;
    EXPECT_EQ(host.Statuses.back(), S("実行完了(1)")) << name.Stem;
  }
  form.FileList = {Write(b, "plan.jww", 700)};
  const std::string root = jwwtest::FreshFolder("batch_xdg_hangul");
  FakeUserFolders userFolders(root, "바탕화면");
  form.SetDestinationChecked(kDestDesktop, true);
  form.RunBatch(host);
  EXPECT_EQ(FolderFiles(root), (std::vector<std::string>{"바탕화면"}));  // no "????????????"
  EXPECT_TRUE(std::filesystem::exists(root + "바탕화면/1_plan.jww"));
}

TEST_F(BatchFrames, MissingDesktopAndDocumentsFoldersAreMade) {
  JwwBuilder b;
  AddFrame(b, 0, 0, 297, 210);
  b.AddLine(jwwtest::MakeLine(10, 10, 20, 20, Common(1)));
  form.FileList = {Write(b, "plan.jww", 700)};
  const std::string root = jwwtest::FreshFolder("batch_xdg_missing");
  FakeUserFolders userFolders(root);
  for (const int32_t destination : {kDestDesktop, kDestMyDocuments}) {
    form.SetDestinationChecked(destination, true);
    form.RunBatch(host);
  }
  EXPECT_TRUE(std::filesystem::exists(root + "desk/1_plan.jww"));
  EXPECT_TRUE(std::filesystem::exists(root + "docs/1_plan.jww"));
  EXPECT_EQ(host.Statuses.back(), S("実行完了(1)"));
}

}  // namespace
