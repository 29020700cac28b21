// The command line's three ways of starting, and closing during a run.
#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTabWidget>

#include "gui_fixture.h"
#include "print_order_dialog.h"
#include "qt_printer_device.h"
#include "sheet_dialogs.h"
#include "unit_print.h"

namespace guitest {
namespace {

// The run ends in the print-order dialog: "Next" closes it when it comes.
void PassOrderDialog(int triesLeft = 500) {
  QTimer::singleShot(10, [triesLeft] {
    if (auto* dialog = dynamic_cast<TForm4*>(QApplication::activeModalWidget())) {
      dialog->Button1Click();
    } else if (triesLeft > 0) {
      PassOrderDialog(triesLeft - 1);
    }
  });
}

class StartModes : public WindowTest {};

TEST_F(StartModes, SettingsOnlyAndOtherSingleArguments) {
  WriteFramedDrawing(data + "plan.jww");
  struct TCase {
    std::vector<std::string> arguments;
    int page;
    bool startEnabled;
    int listed;
  } cases[] = {
      {{"/S"}, 1, false, 0},
      {{"/g"}, 0, true, 0},              // a file name, and no drawing
      {{"/S", "plan.jww"}, 0, true, 1},  // names, not the settings editor
      {{}, 0, true, 0},
  };
  for (const TCase& c : cases) {
    Start(c.arguments);
    EXPECT_EQ(window->PageControl1->currentIndex(), c.page) << c.arguments.size();
    EXPECT_EQ(window->Button5->isEnabled(), c.startEnabled);
    EXPECT_EQ(window->ListBox1->count(), c.listed);
    EXPECT_EQ(window->windowTitle().toStdString(), "Quillmoor　Ver.1.05");
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
    window->close();
    EXPECT_FALSE(window->isVisible());
  }
}

// Labels and check boxes stay beside their fields however wide the window
// grows (maximised by a window manager that offers it anyway).
TEST_F(StartModes, LabelsStayBesideTheirFieldsAtAnySize) {
  TForm1Window& w = Start({});
  auto label = [&w](int page, const char* text) -> QWidget* {
    for (QLabel* l : w.PageControl1->widget(page)->findChildren<QLabel*>())
      if (l->text() == QString::fromUtf8(text)) return l;
    return nullptr;
  };
  const struct {
    int page;
    QWidget *left, *right;
  } cases[] = {{1, w.Destinations[3], w.GivenFolderEdit}, {1, label(1, "番号の順序："), w.DirectionCombo},
               {2, label(2, "倍率"), w.ScaleEdit}, {2, w.PrintChecks[0], w.ThresholdUpDowns[0]}};
  w.resize(1920, 1040);
  for (const auto& c : cases) {
    ASSERT_TRUE(c.left && c.right) << &c - cases;
    w.PageControl1->setCurrentIndex(c.page);
    QCoreApplication::processEvents();
    // From the end of the left widget's content to the right widget.
    const int gap = c.right->mapTo(&w, QPoint()).x() - c.left->mapTo(&w, QPoint()).x() -
                    std::min(c.left->width(), c.left->sizeHint().width());
    EXPECT_TRUE(gap >= 0 && gap <= 24) << &c - cases << ": " << gap;
  }
}

// The toolkit's own dialogs and buttons speak Japanese, as the program does.
TEST_F(StartModes, ToolkitDialogsAreJapanese) {
  QStringList seen;
  OnNextModal<QMessageBox>([&seen](QMessageBox* box) {
    for (const QAbstractButton* button : box->buttons()) seen << button->text();
    box->reject();
  });
  Start({}).Confirm("?");
  EXPECT_EQ(seen.join('|').toStdString(), "はい(&Y)|いいえ(&N)");
}

// "/G" takes the drawing of the interface file beside the program, runs
// on it after the window is painted and closes the window.
TEST_F(StartModes, JwCadStartRunsOnTheInterfaceFileDrawing) {
  WriteFramedDrawing(data + "plan.jww");
  struct TCase {
    const char* interfaceText;  // nullptr: no interface file
    bool runs;
  } cases[] = {{"hq\r\nfile=%s\r\n", true}, {"file=%smissing.jww\r\n", false}, {nullptr, false}};
  for (const TCase& c : cases) {
    std::filesystem::remove(program + "JWC_TEMP.TXT");
    for (const auto& entry : std::filesystem::directory_iterator(data))
      if (entry.path().filename() != "plan.jww") std::filesystem::remove(entry.path());
    if (c.interfaceText != nullptr) {
      std::string text = c.interfaceText;
      text.replace(text.find("%s"), 2, c.runs ? data + "plan.jww" : data);
      std::ofstream(program + "JWC_TEMP.TXT", std::ios::binary) << text;
    }
    std::shared_ptr<BoxRecord> box;
    if (c.runs) {
      PassOrderDialog();
    } else {
      box = AnswerNextBox(QMessageBox::Ok);
    }
    Start({"/G"});
    for (int i = 0; i < 200 && window->isVisible(); ++i) QTest::qWait(10);
    EXPECT_FALSE(window->isVisible());
    const bool sheetsSaved = std::filesystem::exists(data + "1_plan.jww");
    EXPECT_EQ(sheetsSaved, c.runs) << (c.interfaceText ? c.interfaceText : "none");
    if (box) {
      EXPECT_TRUE(box->Seen);
      EXPECT_EQ(box->Text.toStdString(), "JWW形式図面ファイルを開いて実行して下さい。");
    }
  }
}

// With the question on, "No" stops before the run; the box breaks its
// lines where the text has CR LF.
TEST_F(StartModes, JwCadStartAsksWhetherTheDrawingWasSaved) {
  WriteFramedDrawing(data + "plan.jww");
  std::ofstream(program + "JWC_TEMP.TXT", std::ios::binary) << "file=" << data << "plan.jww\r\n";
  TForm1 defaults;
  defaults.ConfirmSaved = true;
  defaults.SettingsPath = session->SettingsPath();
  ASSERT_TRUE(defaults.SaveSettings(defaults.SettingsPath));
  std::vector<std::string> texts;
  OnNextModal<QMessageBox>([&texts](QMessageBox* box) {
    texts.push_back(box->text().toStdString());
    box->button(QMessageBox::No)->click();
    OnNextModal<QMessageBox>([&texts](QMessageBox* next) {
      texts.push_back(next->text().toStdString());
      next->button(QMessageBox::Ok)->click();
    });
  });
  Start({"/G"});
  for (int i = 0; i < 200 && window->isVisible(); ++i) QTest::qWait(10);
  EXPECT_FALSE(window->isVisible());
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].rfind("上書き保存を行いましたか？\n　ファイル名：" + data + "plan.jww\n　タイムスタンプ：", 0), 0u)
      << texts[0];
  EXPECT_NE(texts[0].find("\n　現在の日時 ："), std::string::npos);
  EXPECT_EQ(texts[0].find('\r'), std::string::npos);
  EXPECT_EQ(texts[1], "実行を中止しました。");
  EXPECT_FALSE(std::filesystem::exists(data + "1_plan.jww"));
}

TEST_F(StartModes, ClosingDuringARunOnlyAborts) {
  WriteFramedDrawing(data + "a.jww");
  WriteFramedDrawing(data + "b.jww");
  Start({"a.jww", "b.jww"});
  bool addEnabledInRun = true, printerEnabledInRun = true, stillOpen = false;
  bool asked = false;
  OnNextModal<QMessageBox>([&](QMessageBox* box) {
    asked = true;
    box->button(QMessageBox::Yes)->click();
    // Reaches the window at the first drawing's pump.
    QTimer::singleShot(0, window.get(), [&] {
      addEnabledInRun = window->Button3->isEnabled();
      printerEnabledInRun = window->Button6->isEnabled() || window->FrameDialogButtons[0]->isEnabled();
      window->close();
      stillOpen = window->isVisible();
    });
  });
  PassOrderDialog();
  window->Button5Click();
  EXPECT_TRUE(asked);
  EXPECT_FALSE(addEnabledInRun);
  EXPECT_FALSE(printerEnabledInRun);
  EXPECT_TRUE(stillOpen);
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(Status(), "実行を中断しました(ESC)");
  EXPECT_TRUE(window->Button3->isEnabled());
  EXPECT_TRUE(std::filesystem::exists(data + "1_a.jww"));
  EXPECT_FALSE(std::filesystem::exists(data + "1_b.jww"));
}

struct PaintCounter : QObject {
  int paints = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    paints += event->type() == QEvent::Paint;
    return false;
  }
};

TEST_F(StartModes, WindowRepaintsBetweenPagesAndACloseStopsThePrinting) {
  WriteFramedDrawing(data + "a.jww");
  WriteFramedDrawing(data + "b.jww");
  Start({"a.jww", "b.jww"});
  TPrinterDevice* systemPrinter = CurrentPrinter();
  TPdfFilePrinter pdf;
  pdf.SetOutputFolder(jwwtest::FreshFolder("window_close_pdf"));
  SetCurrentPrinter(&pdf);
  window->SplitChecks[0]->setChecked(true);  // print after splitting
  PaintCounter counter;
  window->installEventFilter(&counter);
  int pages = 0, paintsBetweenPages = -1;
  bool runControlsEnabled = true;
  SetSheetStatusSink([&](const std::string& text) {
    if (SjisToUtf8(text).rfind("印刷中：", 0) != 0) return;
    if (++pages == 1) {
      counter.paints = 0;
      window->update();  // as an order dialog closed over the window leaves it
    } else if (pages == 2) {
      paintsBetweenPages = counter.paints;
      runControlsEnabled = window->Button3->isEnabled() || window->Button6->isEnabled();
      QTimer::singleShot(0, window.get(), [this] { window->close(); });  // the user closes the window
    }
  });
  AnswerNextBox(QMessageBox::Yes);
  PassOrderDialog();
  window->Button5Click();
  SetSheetStatusSink(nullptr);
  SetCurrentPrinter(systemPrinter);
  EXPECT_GT(paintsBetweenPages, 0);
  EXPECT_FALSE(runControlsEnabled);
  EXPECT_EQ(pages, 2);  // stopped before the third of four sheets
  EXPECT_EQ(Status().rfind("実行を中断しました(ESC)", 0), 0u) << Status();  // then where the PDF files went
  EXPECT_TRUE(window->isVisible());
}

}  // namespace
}  // namespace guitest
