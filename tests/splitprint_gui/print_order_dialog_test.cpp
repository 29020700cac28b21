// The print-order dialog driven by the mouse and the keyboard, offscreen.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include "form1_state.h"
#include "gval.h"
#include "print_gui_support.h"
#include "print_order_dialog.h"
#include "sheet_dialogs.h"

using namespace printgui;

namespace {

class PrintOrderDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    App();
    Gval.Reset();
    for (const char* name : {"/a/one.jww", "/b/two.jww", "/c/three.jww"}) {
      Gval.SheetList.push_back({name, "/src.jww"});
      form.SheetRowKinds.push_back(TForm1::TSheetRowKind::SavedSheet);
    }
    form.SheetRowKinds[2] = TForm1::TSheetRowKind::WholeDrawing;
  }
  std::vector<std::string> Order() const {
    std::vector<std::string> names;
    for (const TStr2List& row : Gval.SheetList) names.push_back(row.First);
    return names;
  }
  TForm1 form;
};

TEST_F(PrintOrderDialog, WaysOfClosingAndWhetherTheyStop) {
  struct Case {
    const char* name;
    std::function<void(TForm4*)> close;
    bool stopped;
  };
  const Case cases[] = {
      {"next", [](TForm4* d) { QTest::mouseClick(d->Button1, Qt::LeftButton); }, false},
      {"stop", [](TForm4* d) { QTest::mouseClick(d->Button2, Qt::LeftButton); }, true},
      {"escape", [](TForm4* d) { QTest::keyClick(d->ListBox1, Qt::Key_Escape); }, true},
      {"return", [](TForm4* d) { QTest::keyClick(d->ListBox1, Qt::Key_Return); }, false},
      {"close button", [](TForm4* d) { d->close(); }, false},
  };
  for (const Case& c : cases) {
    bool seen = false;
    WhenModal([&](QWidget* w) {
      auto* d = dynamic_cast<TForm4*>(w);
      ASSERT_NE(d, nullptr);
      seen = true;
      c.close(d);
    });
    EXPECT_EQ(ShowPrintOrderDialog(nullptr, form), c.stopped) << c.name;
    EXPECT_TRUE(seen) << c.name;
  }
  EXPECT_EQ(Order(), (std::vector<std::string>{"/a/one.jww", "/b/two.jww", "/c/three.jww"}));
}

TEST_F(PrintOrderDialog, MovesChangeTheSheetOrder) {
  std::vector<QString> listed;
  WhenModal([&](QWidget* w) {
    auto* d = dynamic_cast<TForm4*>(w);
    EXPECT_EQ(d->windowTitle(), QStringLiteral("分割図面の印刷順序設定"));
    EXPECT_EQ(d->Button3->text(), QStringLiteral("上へ(&U"));
    EXPECT_EQ(d->Button4->text(), QStringLiteral("下へ(&D"));
    // Nothing selected: the buttons do nothing.
    QTest::mouseClick(d->Button3, Qt::LeftButton);
    d->ListBox1->setCurrentRow(2);
    QTest::mouseClick(d->Button3, Qt::LeftButton);  // third row up
    EXPECT_EQ(d->ListBox1->currentRow(), 1);
    QTest::mouseClick(d->Button3, Qt::LeftButton);  // and up again, to the top
    QTest::mouseClick(d->Button3, Qt::LeftButton);  // the top row stays
    EXPECT_EQ(d->ListBox1->currentRow(), 0);
    d->ListBox1->setCurrentRow(1);
    QTest::mouseClick(d->Button4, Qt::LeftButton);  // down to the bottom
    QTest::mouseClick(d->Button4, Qt::LeftButton);  // the bottom row stays
    EXPECT_EQ(d->ListBox1->currentRow(), 2);
    for (int i = 0; i < d->ListBox1->count(); ++i) listed.push_back(d->ListBox1->item(i)->text());
    KeepScreenshot(*d, QStringLiteral("print_order_dialog"));
    QTest::mouseClick(d->Button1, Qt::LeftButton);
  });
  EXPECT_FALSE(ShowPrintOrderDialog(nullptr, form));
  EXPECT_EQ(Order(), (std::vector<std::string>{"/c/three.jww", "/b/two.jww", "/a/one.jww"}));
  EXPECT_EQ(listed, (std::vector<QString>{"/c/three.jww", "/b/two.jww", "/a/one.jww"}));
  // The whole-drawing row moved with its sheet.
  EXPECT_EQ(form.SheetRowKinds[0], TForm1::TSheetRowKind::WholeDrawing);
  EXPECT_EQ(form.SheetRowKinds[2], TForm1::TSheetRowKind::SavedSheet);

  // The next showing lists the order as it was left.
  WhenModal([&](QWidget* w) {
    auto* d = dynamic_cast<TForm4*>(w);
    EXPECT_EQ(d->ListBox1->item(0)->text(), QStringLiteral("/c/three.jww"));
    d->close();
  });
  ShowPrintOrderDialog(nullptr, form);
}

}  // namespace
