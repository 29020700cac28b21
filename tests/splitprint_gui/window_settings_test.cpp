// The settings file through the window: every line shown in a control and
// written back from it, the window's bounds, and a write that fails.
#include <QCheckBox>
#include <QColorDialog>
#include <QPageSetupDialog>
#include <QComboBox>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QTabWidget>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <cerrno>
#include <fstream>
#include <sstream>

#include "frame_chooser_dialog.h"
#include "gui_fixture.h"
#include "print_gui_support.h"
#include "print_order_dialog.h"
#include "sheet_preview_dialog.h"
#include "file_io.h"
#include "sjis.h"
#include "system_reason.h"
#include "qt_printer_device.h"
#include "unit_print.h"

namespace guitest {
namespace {

std::vector<std::string> Lines(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// A settings file where every line differs from its default (Shift-JIS
// texts, native paths).
std::vector<std::string> NonDefaultSettings() {
  std::vector<std::string> l = {"50", "40", "640", "500", "/work/drawings/", "0", "0", "0", "1", "0",
                                "/given/図面/", "-", "4", "1", "1", "1", "0", "1", "1", "0",
                                "12", "2.5", "2", "0.5", "90", "1.5", "-2.5", "1", "128", "1",
                                "200", "1", "17", "1", "1", "2", "255", "65280", "0", "1",
                                "241", "121", "641", "541", "1"};
  for (int c = 0; c < 10; ++c) l.push_back("/frames/枠" + std::to_string(c) + ".jww");
  for (const char* v : {"1", "0", "242", "122", "642", "542"}) l.push_back(v);
  for (const char* v : {"PDF", "1", "9", "2970", "2100", "100", "600", "600", "2", "1", "0"}) l.push_back(v);
  for (const char* v : {"281", "161", "481", "421"}) l.push_back(v);
  return l;
}

void WriteLines(const std::string& path, const std::vector<std::string>& lines) {
  std::ofstream out(path, std::ios::binary);
  for (const std::string& line : lines) out << line << "\r\n";
}

class WindowSettings : public WindowTest {};

TEST_F(WindowSettings, EveryLineGoesThroughTheControlsAndBack) {
  const std::vector<std::string> written = NonDefaultSettings();
  WriteLines(session->SettingsPath(), written);
  Start({"/S"});
  // A few of the controls as the file sets them.
  EXPECT_TRUE(window->Destinations[3]->isChecked());
  EXPECT_EQ(window->NamingCombo->currentIndex(), 4);
  EXPECT_EQ(window->DirectionCombo->currentText().toStdString(), "下方向→左");
  EXPECT_EQ(window->GivenFolderEdit->text().toStdString(), "/given/図面/");
  EXPECT_TRUE(window->MethodButtons[2]->isChecked());
  EXPECT_EQ(window->LabelA2->palette().color(QPalette::Window), QColor(255, 0, 0));  // red in the low byte
  EXPECT_EQ(window->FrameEdits[9]->text().toStdString(), "/frames/枠9.jww");
  EXPECT_EQ(window->pos(), QPoint(50, 40));
  EXPECT_EQ(window->size(), QSize(640, 500));
  window->close();
  const std::vector<std::string> saved = Lines(session->SettingsPath());
  ASSERT_EQ(saved.size(), 76u);
  for (size_t i = 0; i < saved.size(); ++i) {
    if (i >= 61 && i <= 71) continue;  // the printer's own values
    EXPECT_EQ(saved[i], written[i]) << "line " << i + 1;
  }
}

TEST_F(WindowSettings, ControlsChangedByTheUserAreSaved) {
  // A threshold set, then stepped with an arrow key: within 0..255.
  auto step = [](size_t i, const char* from, Qt::Key key) {
    return [=](TForm1Window& w) { w.ThresholdEdits[i]->setText(from), QTest::keyClick(w.ThresholdEdits[i], key); };
  };
  struct TCase {
    std::function<void(TForm1Window&)> change;
    size_t line;  // 1-based
    std::string value;
  } cases[] = {
      {[](TForm1Window& w) { w.StartNumberEdit->setText("77"); }, 21, "77"},
      {[](TForm1Window& w) { w.StartNumberEdit->setText("12345"); }, 21, "9999"},
      {[](TForm1Window& w) { w.MarginEdit->setText("abc"); }, 22, "0"},
      {[](TForm1Window& w) { w.SeparatorEdit->setText("a/b"); }, 12, ""},
      {[](TForm1Window& w) { w.DirectionCombo->setCurrentIndex(1); }, 15, "1"},
      {[](TForm1Window& w) { w.Destinations[0]->setChecked(true); }, 6, "1"},
      {[](TForm1Window& w) { w.Destinations[0]->setChecked(true); }, 8, "0"},
      {[](TForm1Window& w) { w.SplitChecks[5]->setChecked(true); }, 40, "1"},
      {[](TForm1Window& w) { w.ThresholdEdits[1]->setText("300"); }, 31, "255"},
      {step(0, "128", Qt::Key_Up), 29, "129"},
      {step(1, "0", Qt::Key_Down), 31, "0"},
      {step(2, "255", Qt::Key_Up), 33, "255"},
      {[](TForm1Window& w) { w.ScaleEdit->setText("0"); }, 24, "1E-6"},
      {[](TForm1Window& w) { w.PrintOrderButtons[2]->setChecked(true); }, 39, "2"},
      {[](TForm1Window& w) { w.FrameEdits[4]->setText("/f/a4.jww"); }, 50, "/f/a4.jww"},
      {[](TForm1Window& w) { w.FrameChecks[2]->setChecked(true); }, 57, "1"},
  };
  for (const TCase& c : cases) {
    std::filesystem::remove(session->SettingsPath());
    Start({});
    c.change(*window);
    window->close();
    const std::vector<std::string> saved = Lines(session->SettingsPath());
    ASSERT_GE(saved.size(), c.line);
    EXPECT_EQ(saved[c.line - 1], c.value) << "line " << c.line;
  }
}

// The colour dialogs' choice is stored with red in the low byte.
TEST_F(WindowSettings, ChosenColoursAreStoredInWindowsOrder) {
  struct TCase {
    void (TForm1Window::*click)();
    QColor chosen;
    size_t line;
    std::string value;
  } cases[] = {{&TForm1Window::Button7Click, QColor(0, 0, 255), 37, "16711680"},
               {&TForm1Window::Button8Click, QColor(1, 2, 3), 38, "197121"}};
  for (const TCase& c : cases) {
    Start({});
    const QColor chosen = c.chosen;
    OnNextModal<QColorDialog>([chosen](QColorDialog* dialog) {
      dialog->setCurrentColor(chosen);
      dialog->accept();
    });
    (window.get()->*c.click)();
    window->close();
    EXPECT_EQ(Lines(session->SettingsPath())[c.line - 1], c.value) << "line " << c.line;
  }
}

// The file printer has only its page to set up.
TEST_F(WindowSettings, PrinterSetUpOfTheFilePrinterShowsThePageDialog) {
  Start({});
  if (GetPrinterName() != kPdfPrinterName) GTEST_SKIP() << "printers are installed";
  bool pageDialog = false;
  OnNextModal<QDialog>([&pageDialog](QDialog* dialog) {
    pageDialog = qobject_cast<QPageSetupDialog*>(dialog) != nullptr;
    dialog->reject();
  });
  window->Button6Click();
  EXPECT_TRUE(pageDialog);
  EXPECT_TRUE(window->LabelA1->text().startsWith(QStringLiteral("プリンタ名：PDFファイル\n用紙サイズ：横：")));
}

// Off every screen: the design position; a size no screen has is cut to it.
TEST_F(WindowSettings, WindowOnNoScreenOpensAtTheDesignPosition) {
  const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
  for (const char* size : {"", "2147483647"}) {
    std::vector<std::string> lines = NonDefaultSettings();
    lines[0] = "5000";
    lines[1] = "-3000";
    if (*size) lines[2] = lines[3] = size;
    WriteLines(session->SettingsPath(), lines);
    Start({});
    EXPECT_EQ(window->pos(), QPoint(193, 111));
    EXPECT_EQ(window->size(), *size ? screen : QSize(640, 500));
  }
}

TEST_F(WindowSettings, DialogsOpenAtTheirStoredBoundsOrBackOnAScreen) {
  std::vector<std::string> lines = NonDefaultSettings();
  lines[15] = "0";     // no printing
  lines[44] = "0";     // no drawing frame
  lines[40] = "3000";  // sheet preview and print order on a monitor that is gone
  lines[72] = "3000";
  WriteLines(session->SettingsPath(), lines);
  WriteFramedDrawing(data + "a.jww");
  Start({"a.jww"});
  QRect order, preview, chooser;
  AnswerNextBox(QMessageBox::Yes);
  printgui::WhenModal<TForm4>([&](QWidget* w) {
    order = QRect(w->pos(), w->size());
    printgui::WhenModal<TForm2>([&](QWidget* p) {
      preview = QRect(p->pos(), p->size());
      AnswerNextBox(QMessageBox::Ok);  // the given folder is missing: the closing box says so
      static_cast<TForm2*>(p)->Button1Click();
    });
    static_cast<TForm4*>(w)->Button1Click();
  });
  window->Button5Click();
  printgui::WhenModal<TForm3>([&](QWidget* w) {
    chooser = QRect(w->pos(), w->size());
    static_cast<TForm3*>(w)->Button1Click();
  });
  window->FrameChooserButtonClick(0);
  EXPECT_EQ(order, QRect(280, 160, 481, 421));
  EXPECT_EQ(preview, QRect(240, 120, 641, 541));
  EXPECT_EQ(chooser, QRect(242, 122, 642, 542));
}

TEST_F(WindowSettings, PrinterLabelBreaksBetweenValues) {
  Start({});
  window->PageControl1->setCurrentIndex(2);
  window->resize(420, 488);
  QTest::qWait(50);
  const QStringList lines = window->LabelA1->text().split(QLatin1Char('\n'));
  const QFontMetrics metrics(window->LabelA1->font());
  EXPECT_GE(lines.size(), 3);
  for (const QString& line : lines) {
    EXPECT_LE(metrics.horizontalAdvance(line), window->LabelA1->width()) << line.toStdString();
    EXPECT_FALSE(line.isEmpty() || line.front().isDigit()) << line.toStdString();
  }
}

TEST_F(WindowSettings, FailedWriteIsReported) {
  // A folder where the file should be: it cannot be replaced.
  std::filesystem::create_directories(program + "blocked/quillmoor.dat");
  Start({});
  window->Form.SettingsPath = program + "blocked/quillmoor.dat";
  auto box = AnswerNextBox(QMessageBox::Ok);
  window->close();
  EXPECT_TRUE(box->Seen);
  EXPECT_EQ(box->Title.toStdString(), "Quillmoor");
  EXPECT_EQ(box->Text.toStdString(),
            "設定ファイルを保存できませんでした。\n" + program + "blocked/quillmoor.dat：" + SjisToUtf8(SystemErrorText(EISDIR)));
  EXPECT_TRUE(window->SettingsSaveFailed());
  EXPECT_FALSE(window->isVisible());
}

}  // namespace
}  // namespace guitest
