// The sheet preview offscreen: real sheets rendered into 8-bit bitmaps, the
// grid filled from the timer, Next, Stop, Back, Escape and the close button.
#include <gtest/gtest.h>

#include <sys/mount.h>

#include <QImage>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "system_reason.h"
#include "bind_images.h"
#include "fake_key_poller.h"
#include "file_io.h"
#include "form1_state.h"
#include "gval.h"
#include "print_gui_support.h"
#include "sheet_dialogs.h"
#include "sheet_output.h"
#include "sheet_preview_dialog.h"
#include "thumbnail_grid_widget.h"

using namespace printgui;

namespace {

// Escape is seen held from the given poll on (1-based).
class EscapeFromPoll : public TKeyStatePoller {
 public:
  explicit EscapeFromPoll(int from) : from_(from), previous_(GetKeyStatePoller()) { SetKeyStatePoller(this); }
  ~EscapeFromPoll() override { SetKeyStatePoller(previous_); }
  bool EscapeDown() override { return ++polls_ >= from_; }

 private:
  int from_, polls_ = 0;
  TKeyStatePoller* previous_;
};

class SheetPreview : public ::testing::Test {
 protected:
  void SetUp() override {
    App();
    Gval.Reset();
    BindImg.Reset();
    folder = jwwtest::FreshFolder("preview_gui");
    BindImg.TempFolder = jwwtest::FreshFolder("preview_gui_images");
    form.TempSheetFolder = jwwtest::FreshFolder("preview_gui_tmp");
    std::filesystem::create_directories(folder + "x");
    std::filesystem::create_directories(folder + "y");
  }
  void List(const std::string& sheet) {
    Gval.SheetList.push_back({sheet, sheet});
    form.SheetRowKinds.push_back(TForm1::TSheetRowKind::SavedSheet);
  }
  // Waits until the grid has filled (the status shows the count).
  static void WaitForGrid(TForm2* d) {
    for (int i = 0; i < 200 && d->StatusBar1->currentMessage().isEmpty(); ++i) QTest::qWait(10);
  }
  size_t BitmapsLeft() const {
    size_t n = 0;
    for (const auto& e : std::filesystem::directory_iterator(form.TempSheetFolder))
      n += e.path().extension() == ".bmp";
    return n;
  }
  std::string folder;
  TForm1 form;
};

TEST_F(SheetPreview, ButtonsAndKeysSetTheRunFlags) {
  List(WriteSheet(folder, "x/plan.jww"));
  List(WriteSheet(folder, "y/plan.jww", 1));
  struct Case {
    const char* name;
    std::function<void(TForm2*)> close;
    bool abort, back;
  };
  const Case cases[] = {
      {"next", [](TForm2* d) { QTest::mouseClick(d->Button1, Qt::LeftButton); }, false, false},
      {"back", [](TForm2* d) { QTest::mouseClick(d->Button3, Qt::LeftButton); }, false, true},
      {"close button", [](TForm2* d) { d->close(); }, false, false},
      {"escape", [](TForm2* d) { QTest::keyClick(d, Qt::Key_Escape); }, true, false},
      {"stop", [](TForm2* d) { QTest::mouseClick(d->Button2, Qt::LeftButton); }, true, false},
  };
  for (const Case& c : cases) {
    form.AbortRun = form.BackToOrder = false;
    size_t shown = 0;
    bool eightBit = false;
    QStringList captions;
    WhenModal([&](QWidget* w) {
      auto* d = dynamic_cast<TForm2*>(w);
      ASSERT_NE(d, nullptr);
      WaitForGrid(d);
      shown = d->Panel2->Count();
      eightBit = shown > 0 && d->Panel2->ImageAt(0).format() == QImage::Format_Indexed8;
      EXPECT_EQ(d->StatusBar1->currentMessage(), QStringLiteral("ファイル数：2"));
      if (c.back) KeepScreenshot(*d, QStringLiteral("sheet_preview"));
      c.close(d);
    });
    ShowSheetPreview(nullptr, form);
    EXPECT_EQ(shown, 2u) << c.name;  // equal names from two folders: two pictures
    EXPECT_TRUE(eightBit) << c.name;
    EXPECT_EQ(form.AbortRun, c.abort) << c.name;
    EXPECT_EQ(form.BackToOrder, c.back) << c.name;
    EXPECT_EQ(BitmapsLeft(), 0u) << c.name;
  }
}

TEST_F(SheetPreview, BitmapsAreEightBitFiles) {
  List(WriteSheet(folder, "x/plan.jww"));
  WhenModal([&](QWidget* w) {
    const std::string bmp = PreviewBitmapPath(form.TempSheetFolder, 0);
    const QImage image(QString::fromStdString(bmp));
    EXPECT_EQ(image.size(), QSize(320, 240));
    EXPECT_EQ(image.depth(), 8);
    // Something was drawn: not every pixel is white.
    bool drawn = false;
    for (int y = 0; y < image.height() && !drawn; ++y)
      for (int x = 0; x < image.width() && !drawn; ++x) drawn = image.pixel(x, y) != qRgb(255, 255, 255);
    EXPECT_TRUE(drawn);
    dynamic_cast<TForm2*>(w)->Button1Click();
  });
  ShowSheetPreview(nullptr, form);
}

// At a scale, an A3 sheet on the A4 portrait page: what lies beyond the page
// is greyed over, as it does not print; fitted, the page holds everything.
TEST_F(SheetPreview, BitmapShowsWhereThePageEnds) {
  jwwtest::JwwBuilder b = ShownDrawing();
  b.AddLine(jwwtest::MakeLine(-200, 0, 200, 0));
  ASSERT_TRUE(b.WriteFile(folder + "a3.jww", 700));
  List(folder + "a3.jww");
  const int cases[][4] = {{0, 30, 60, 215}, {0, 300, 200, 215}, {0, 160, 60, 255}, {1, 30, 60, 255}};
  for (const auto& [method, x, y, grey] : cases) {
    form.PrintMethod = method;
    WhenModal([&](QWidget* w) {
      const QImage image(QString::fromStdString(PreviewBitmapPath(form.TempSheetFolder, 0)));
      EXPECT_NEAR(qGray(image.pixel(x, y)), grey, 24) << method << " at " << x << "," << y;
      dynamic_cast<TForm2*>(w)->Button1Click();
    });
    ShowSheetPreview(nullptr, form);
  }
}

// A full disk under the temporary folder: the sheet whose picture does not
// fit is told with the system's reason, and leaves no cut file to show.
TEST_F(SheetPreview, FullTempFolderTellsTheSheetWithoutPicture) {
  // Room for one picture of 38462 bytes, not for two.
  if (::mount("tmpfs", form.TempSheetFolder.c_str(), "tmpfs", 0, "size=56k") != 0)
    GTEST_SKIP() << "a tmpfs cannot be mounted here: " << std::strerror(errno);
  const std::shared_ptr<void> unmount(nullptr, [&](void*) { ::umount2(form.TempSheetFolder.c_str(), MNT_DETACH); });
  List(WriteSheet(folder, "x/plan.jww"));
  List(WriteSheet(folder, "y/plan.jww"));
  std::ptrdiff_t files = 0;
  WhenModal([&](QWidget* w) {
    files = std::distance(std::filesystem::directory_iterator(form.TempSheetFolder), {});
    dynamic_cast<TForm2*>(w)->Button1Click();
  });
  ShowSheetPreview(nullptr, form);
  EXPECT_EQ(files, 1);
  ASSERT_EQ(form.Report.UnshownSheets.size(), 1u);
  EXPECT_NE(form.Report.UnshownSheets[0].Reason.find(SystemErrorText(ENOSPC)), std::string::npos);
}

TEST_F(SheetPreview, EscapeWhileFillingKeepsWhatWasLoaded) {
  // Seven bitmaps, the third of which cannot be read.
  for (int i = 0; i < 7; ++i) {
    Gval.SheetList.push_back({folder + "s" + std::to_string(i) + ".jww", ""});
    const std::string bmp = PreviewBitmapPath(folder, size_t(i));
    if (i == 2) {
      std::ofstream(bmp) << "not a bitmap";
    } else {
      QImage image(320, 240, QImage::Format_Indexed8);
      image.setColorTable({qRgb(255, 255, 255)});
      image.fill(0);
      image.save(QString::fromStdString(bmp), "BMP");
    }
  }
  TForm2 dialog;
  dialog.BmpFolder = folder;
  dialog.show();
  {
    EscapeFromPoll escape(5);  // held while the fifth image loads
    dialog.Timer1Timer();
  }
  EXPECT_EQ(dialog.Panel2->Count(), 4u);
  EXPECT_TRUE(dialog.Panel2->ImageAt(2).isNull());
  EXPECT_FALSE(dialog.Panel2->ImageAt(3).isNull());
  EXPECT_EQ(dialog.StatusBar1->currentMessage(), QStringLiteral("ファイル数：4"));
  EXPECT_EQ(dialog.Panel2->size(), QSize(4 * 326, 246));
  dialog.close();
  EXPECT_EQ(dialog.Panel2->Count(), 0u);
}

TEST_F(SheetPreview, NoBitmapsNoTimer) {
  List(folder + "missing.jww");
  TForm2 dialog;
  dialog.BmpFolder = form.TempSheetFolder;
  dialog.show();
  EXPECT_FALSE(dialog.Timer1->isActive());
  QTest::qWait(350);
  EXPECT_TRUE(dialog.StatusBar1->currentMessage().isEmpty());
  dialog.close();
}

}  // namespace

namespace {

// A caption's underscores ("1_clean3") stay inside the thumbnail.
TEST(ThumbnailCaptions, UnderscoresAreNotCutAtTheBottom) {
  App();
  TThumbnailGrid grid;
  QImage white(320, 240, QImage::Format_RGB32);
  white.fill(Qt::white);
  grid.Append(white, QStringLiteral("________"));
  const QImage shot = grid.grab().toImage();
  int ink = 0;
  for (int y = 3; y < 3 + 240; ++y)
    for (int x = 3; x < 3 + 320; ++x) ink += qGray(shot.pixel(x, y)) < 128;
  EXPECT_GT(ink, 0);
}

// A long caption keeps its beginning and its end (the sheet's number may be
// either): two captions differing only at one end look different.
TEST(ThumbnailCaptions, LongCaptionsKeepBothEnds) {
  App();
  const QString name = QStringLiteral("平面図").repeated(20), one = QStringLiteral("1_"), two = QStringLiteral("2_");
  QImage white(320, 240, QImage::Format_RGB32);
  white.fill(Qt::white);
  for (const auto& [first, second] : {std::pair{name + one, name + two}, std::pair{one + name, two + name}}) {
    TThumbnailGrid grid;
    grid.Append(white, first);
    grid.Append(white, second);
    grid.FitPanel();
    const QImage shot = grid.grab().toImage();  // the captions: the last 30 rows of both cells
    EXPECT_NE(shot.copy(3, 213, 320, 30), shot.copy(329, 213, 320, 30)) << first.toStdString();
  }
}

}  // namespace
