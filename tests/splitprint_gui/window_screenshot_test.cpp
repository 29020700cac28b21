// Pictures of the main window's four tabs, made offscreen and kept as test
// output (tools/window_screenshot.sh copies the first into the README).
#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QTabWidget>

#include "gui_fixture.h"

namespace guitest {
namespace {

class Screenshots : public WindowTest {};

TEST_F(Screenshots, EveryTabOfTheMainWindow) {
  for (const char* name : {"1F平面図.jww", "2F平面図.jww", "立面図.JWW"}) WriteFramedDrawing(data + name);
  Start({"1F平面図.jww", "2F平面図.jww", "立面図.JWW"});
  window->SetStatusText(Utf8ToSjis("3個のファイルを一覧に追加しました。"));
  ASSERT_TRUE(QDir().mkpath(QStringLiteral(SCREENSHOT_DIR)));
  for (int page = 0; page < window->PageControl1->count(); ++page) {
    window->PageControl1->setCurrentIndex(page);
    QCoreApplication::processEvents();
    const QImage image = window->grab().toImage();
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), window->size() * image.devicePixelRatio());
    // Something is drawn: the picture is not one flat colour.
    const QImage small = image.scaled(16, 16);
    bool varied = false;
    for (int y = 0; y < small.height() && !varied; ++y)
      for (int x = 0; x < small.width() && !varied; ++x) varied = small.pixel(x, y) != small.pixel(0, 0);
    EXPECT_TRUE(varied) << page;
    EXPECT_TRUE(image.save(QStringLiteral(SCREENSHOT_DIR "/main-window-tab-%1.png").arg(page + 1)));
  }
}

}  // namespace
}  // namespace guitest
