// The drawing-frame tab offscreen: the thumbnail chooser over a folder of
// drawings (picks, Escape, a failed thumbnail) and the file dialog's check
// of the chosen name.
#include <QFileDialog>
#include <QLineEdit>
#include <QStatusBar>
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "frame_chooser_dialog.h"
#include "gui_fixture.h"
#include "print_gui_support.h"
#include "thumbnail_grid.h"
#include "thumbnail_grid_widget.h"

using namespace guitest;
namespace fs = std::filesystem;

namespace {

constexpr size_t kRow = 3;  // the "Ａ３横" row

void WriteText(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

// Runs act on the chooser once its grid has filled (or at once when it has
// nothing to fill).
void WhenChooserFilled(std::function<void(TForm3*)> act) {
  printgui::WhenModal<TForm3>([act](QWidget* w) {
    auto* d = static_cast<TForm3*>(w);
    for (int i = 0; i < 1000 && d->FileCount > 0 && d->StatusBar1->currentMessage().isEmpty(); ++i) QTest::qWait(10);
    act(d);
  });
}

void ClickCell(TForm3* d, size_t index, Qt::MouseButton button) {
  const TThumbRect r = ThumbnailRect(index);
  QTest::mouseClick(d->Panel2, button, {}, QPoint(r.Left + 20, r.Top + 20));
}

// Escape is held from the moment `made` thumbnails exist until released.
class EscapeAfterThumbnails : public TKeyStatePoller {
 public:
  EscapeAfterThumbnails(std::string folder, size_t made)
      : folder_(std::move(folder)), made_(made), previous_(GetKeyStatePoller()) {
    SetKeyStatePoller(this);
  }
  ~EscapeAfterThumbnails() override { SetKeyStatePoller(previous_); }
  bool EscapeDown() override { return !released && Bitmaps(folder_) >= made_; }
  static size_t Bitmaps(const std::string& folder) {
    size_t n = 0;
    for (const auto& e : fs::directory_iterator(folder)) n += e.path().extension() == ".bmp";
    return n;
  }
  bool released = false;

 private:
  std::string folder_;
  size_t made_;
  TKeyStatePoller* previous_;
};

class FrameTab : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    frames = data + "frames/";
    fs::create_directories(frames);
  }
  QLineEdit* Field() const { return window->FrameEdits[kRow]; }
  size_t BitmapsLeft() const { return EscapeAfterThumbnails::Bitmaps(window->Form.TempSheetFolder); }
  std::string frames;
};

TEST_F(FrameTab, ChooserShowsTheFoldersDrawingsAndPicksTheRealPath) {
  printgui::WriteSheet(frames, "a.jww");
  printgui::WriteSheet(frames, "B.JWW");
  printgui::WriteSheet(frames, "blank.jww", 0);  // nothing to draw: an empty cell
  printgui::WriteSheet(frames, ".hidden.jww");
  WriteText(frames + "notes.txt", "not listed");
  WriteText(frames + "bad.jww", "not a drawing");
  WriteText(frames + "empty.jww", "");
  Start({});
  Field()->setText(QString::fromStdString(frames + "missing.jww"));

  std::vector<std::string> captions;
  size_t cells = 0, bitmapsShown = 0;
  bool stayedOpenOnRightClick = false;
  WhenChooserFilled([&](TForm3* d) {
    cells = d->Panel2->Count();
    bitmapsShown = BitmapsLeft();
    size_t pick = cells;
    for (size_t i = 0; i < cells; ++i) {
      const std::string caption = d->Panel2->CaptionAt(i).toStdString();
      if (!caption.empty()) captions.push_back(caption);
      if (caption == "B") pick = i;
    }
    ClickCell(d, pick, Qt::RightButton);
    stayedOpenOnRightClick = d->isVisible();
    ClickCell(d, pick, Qt::LeftButton);
  });
  QTest::mouseClick(window->FrameChooserButtons[kRow], Qt::LeftButton);

  // Five drawings listed; only the two with something to draw have pictures.
  EXPECT_EQ(cells, 5u);
  EXPECT_EQ(bitmapsShown, 2u);
  std::sort(captions.begin(), captions.end());
  EXPECT_EQ(captions, (std::vector<std::string>{"B", "a"}));
  EXPECT_TRUE(stayedOpenOnRightClick);
  EXPECT_EQ(Field()->text().toStdString(), frames + "B.JWW");
  EXPECT_EQ(BitmapsLeft(), 0u);
  EXPECT_FALSE(window->Form.AbortRun);
}

TEST_F(FrameTab, EscapeOrAFailedThumbnailEndsTheWalk) {
  for (const char* name : {"a.jww", "b.jww", "c.jww", "d.jww", "e.jww"}) printgui::WriteSheet(frames, name);
  struct Case {
    const char* name;
    bool failWrites;  // the thumbnail folder is gone: the first bitmap cannot be written
    size_t cells;
  };
  for (const Case& c : {Case{"escape after two", false, 2}, Case{"unwritable", true, 0}}) {
    SCOPED_TRACE(c.name);
    if (!window) Start({});
    const std::string original = frames + "a.jww";
    Field()->setText(QString::fromStdString(original));
    const std::string tempSheets = window->Form.TempSheetFolder;
    if (c.failWrites) window->Form.TempSheetFolder = data + "gone/";
    EscapeAfterThumbnails escape(tempSheets, c.failWrites ? 1000 : 2);
    size_t cells = 99;
    QString status;
    printgui::WhenModal<TForm3>([&](QWidget*) { escape.released = true; });
    WhenChooserFilled([&](TForm3* d) {
      cells = d->Panel2->Count();
      status = d->StatusBar1->currentMessage();
      QTest::mouseClick(d->Button1, Qt::LeftButton);
    });
    QTest::mouseClick(window->FrameChooserButtons[kRow], Qt::LeftButton);
    window->Form.TempSheetFolder = tempSheets;

    EXPECT_EQ(cells, c.cells);
    if (c.cells > 0) {
      EXPECT_EQ(status, QStringLiteral("ファイル数：%1").arg(c.cells));
    }
    EXPECT_EQ(Field()->text().toStdString(), original);  // closed without a pick
    EXPECT_EQ(BitmapsLeft(), 0u);
    EXPECT_FALSE(window->Form.AbortRun);
  }
}

TEST_F(FrameTab, FileDialogTakesOnlyJwwNames) {
  printgui::WriteSheet(frames, "B.JWW");
  WriteText(frames + "notes.txt", "not a drawing");
  Start({});
  const std::string original = frames + "a4v.jww";
  struct Case {
    const char* chosen;  // nullptr: cancelled
    std::string expected;
  };
  const Case cases[] = {{"notes.txt", original}, {"B.JWW", frames + "B.JWW"}, {nullptr, original}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.chosen ? c.chosen : "cancel");
    Field()->setText(QString::fromStdString(original));
    QString startFolder;
    OnNextModal<QFileDialog>([&](QFileDialog* d) {
      startFolder = d->directory().absolutePath() + "/";
      if (!c.chosen) {
        d->reject();
        return;
      }
      // Typed by hand into the name field.
      d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QString::fromUtf8(c.chosen));
      // Closed as Open does, without the dialog's own wait for its folder
      // listing (the file exists).
      static_cast<QDialog*>(d)->done(QDialog::Accepted);
    });
    QTest::mouseClick(window->FrameDialogButtons[kRow], Qt::LeftButton);
    EXPECT_EQ(startFolder.toStdString(), frames);
    EXPECT_EQ(Field()->text().toStdString(), c.expected);
  }
}

}  // namespace

namespace {

TEST_F(FrameTab, DoubleClickOpensTheFieldsDrawingInJwCad) {
  printgui::WriteSheet(frames, "B.JWW");
  wine.InstallFakeWine();
  Start({});
  window->Form.JwCadFolder = wine.DriveC() + "JWW/";
  fs::create_directories(window->Form.JwCadFolder);
  WriteText(window->Form.JwCadFolder + "Jw_win.exe", "");
  Field()->setText(QString::fromStdString(frames + "B.JWW"));
  QTest::mouseDClick(Field(), Qt::LeftButton);
  const std::string record = wine.WaitForRecord();
  EXPECT_NE(record.find("B.JWW"), std::string::npos) << record;
}

}  // namespace
