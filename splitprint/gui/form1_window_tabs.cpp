// The split, print and drawing-frame tabs of the main window: their widgets
// and the handlers of the print tab's buttons.
#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <functional>

#include "file_io.h"
#include "gval.h"
#include "form1_window.h"
#include "printer_setup.h"
#include "qt_printer_device.h"
#include "qt_text.h"
#include "unit_print.h"

namespace {

QLineEdit* SmallEdit(QWidget* parent, int width) {
  auto* edit = new QLineEdit(parent);
  edit->setMaximumWidth(width);
  return edit;
}

// An edit with its up-down: the value stays within 0..255 and the arrow
// keys step it. Its edit is what the settings are read from.
class TThresholdUpDown : public QSpinBox {
 public:
  explicit TThresholdUpDown(QWidget* parent) : QSpinBox(parent) {
    setRange(0, 255);
    setMaximumWidth(60);
  }
  using QSpinBox::lineEdit;
};

// Tight spacing: the pages were laid out for a window of 520 by 488.
template <typename Layout>
Layout* Compact(Layout* layout) {
  layout->setContentsMargins(6, 2, 6, 2);
  layout->setSpacing(2);
  return layout;
}

// One line of widgets side by side, left-aligned: however wide the window,
// a label stays beside its field.
QHBoxLayout* Row(std::initializer_list<QWidget*> widgets) {
  auto* row = Compact(new QHBoxLayout);
  row->setContentsMargins(0, 0, 0, 0);
  for (QWidget* w : widgets) row->addWidget(w);
  row->addStretch(1);
  return row;
}

// A grid whose columns keep their widths: the room left goes to the right.
template <typename Grid>
Grid* LeftAligned(Grid* grid) {
  grid->setColumnStretch(grid->columnCount(), 1);
  return grid;
}

}  // namespace

QWidget* TForm1Window::BuildSplitTab() {
  auto* page = new QWidget;
  auto* layout = Compact(new QVBoxLayout(page));

  auto* where = new QGroupBox(QStringLiteral("保存先"), page);
  auto* whereLayout = Compact(new QGridLayout(where));
  static const char* const kDestinations[] = {"デスクトップ", "マイドキュメント", "元ファイルのフォルダ", "指定フォルダ",
                                              "一時的に保存し、実行後、削除する"};
  DestinationGroup = new QButtonGroup(page);
  for (int i = 0; i < 5; ++i) {
    Destinations[static_cast<size_t>(i)] = new QRadioButton(QString::fromUtf8(kDestinations[i]), where);
    DestinationGroup->addButton(Destinations[static_cast<size_t>(i)], i);
  }
  whereLayout->addWidget(Destinations[0], 0, 0);
  whereLayout->addWidget(Destinations[1], 0, 1);
  whereLayout->addWidget(Destinations[2], 0, 2);
  whereLayout->addWidget(Destinations[3], 1, 0);
  GivenFolderEdit = new QLineEdit(where);
  whereLayout->addWidget(GivenFolderEdit, 1, 1, 1, 2);
  Button1 = new QPushButton(QStringLiteral("参照"), where);
  whereLayout->addWidget(Button1, 1, 3);
  whereLayout->addWidget(Destinations[4], 2, 0, 1, 4);
  // The folder field takes the room a wider window gives.
  whereLayout->setColumnStretch(2, 1);
  layout->addWidget(where);
  connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });

  auto* naming = new QGroupBox(QStringLiteral("ファイル名"), page);
  auto* namingLayout = Compact(new QGridLayout(naming));
  NamingCombo = new QComboBox(naming);
  for (const char* item : {"数値＋区切り文字＋元ファイル名", "元ファイル名＋区切り文字＋数値",
                           "元ファイル名＋区切り文字＋補助文字ファイル名",
                           "数値＋区切＋元ファイル名＋区切＋補助文字ファイル名",
                           "元ファイル名＋区切＋数値＋区切＋補助文字ファイル名", "補助文字ファイル名",
                           "数値＋区切り文字＋補助文字ファイル名"})
    NamingCombo->addItem(QString::fromUtf8(item));
  namingLayout->addWidget(new QLabel(QStringLiteral("命名方法："), naming), 0, 0);
  namingLayout->addWidget(NamingCombo, 0, 1, 1, 3);
  namingLayout->addWidget(new QLabel(QStringLiteral("区切り文字："), naming), 1, 0);
  SeparatorEdit = SmallEdit(naming, 80);
  namingLayout->addWidget(SeparatorEdit, 1, 1);
  ZeroPadCheck = new QCheckBox(QStringLiteral("番号の桁を0で揃える"), naming);
  namingLayout->addWidget(ZeroPadCheck, 1, 2, 1, 2);
  namingLayout->addWidget(new QLabel(QStringLiteral("開始番号："), naming), 2, 0);
  StartNumberEdit = SmallEdit(naming, 80);
  namingLayout->addWidget(StartNumberEdit, 2, 1);
  DirectionCombo = new QComboBox(naming);
  DirectionCombo->addItem(QStringLiteral("左方向→下"));
  DirectionCombo->addItem(QStringLiteral("下方向→左"));
  namingLayout->addLayout(Row({new QLabel(QStringLiteral("番号の順序："), naming), DirectionCombo}), 2, 2, 1, 2);
  namingLayout->addWidget(new QLabel(QStringLiteral("枠の余白："), naming), 3, 0);
  MarginEdit = SmallEdit(naming, 80);
  namingLayout->addWidget(MarginEdit, 3, 1);
  namingLayout->addWidget(new QLabel(QStringLiteral("mm"), naming), 3, 2);
  LeftAligned(namingLayout);
  layout->addWidget(naming);

  static const char* const kChecks[] = {"分割後に印刷する",     "分割図面に補助線の枠を描く", "空き番号を詰める",
                                        "Jw_cadからの実行時に保存を確認する", "ブロックを分解する",
                                        "分割後に画像を表示する"};
  auto* checks = Compact(new QGridLayout);
  for (int i = 0; i < 6; ++i) {
    SplitChecks[static_cast<size_t>(i)] = new QCheckBox(QString::fromUtf8(kChecks[i]), page);
    checks->addWidget(SplitChecks[static_cast<size_t>(i)], i / 2, i % 2);
  }
  layout->addLayout(LeftAligned(checks));
  layout->addStretch(1);
  return page;
}

// The print tab, top to bottom as its controls are listed: the printer,
// the print method, the colour and job options, the display-only layers and
// the drawing order, the two colours.
QWidget* TForm1Window::BuildPrintTab() {
  auto* page = new QWidget;
  auto* layout = Compact(new QVBoxLayout(page));
  layout->addLayout(BuildPrinterRow(page));
  layout->addWidget(BuildPrintMethodGroup(page));
  layout->addLayout(BuildPrintChecks(page));
  layout->addLayout(BuildDisplayOnlyAndOrderGroups(page));
  layout->addLayout(BuildColourRow(page));
  layout->addWidget(new QLabel(QStringLiteral("※ソリッド任意色はカラー出力されます"), page));
  layout->addStretch(1);
  return page;
}

QLayout* TForm1Window::BuildPrinterRow(QWidget* page) {
  auto* row = Compact(new QHBoxLayout);
  LabelA1 = new QLabel(page);
  LabelA1->setMinimumWidth(200);
  // The label breaks its own lines between values (ShowPrinterInfo), at
  // the width the row leaves it.
  LabelA1->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  LabelA1->installEventFilter(this);
  Button6 = new QPushButton(QStringLiteral("プリンタ設定(&P)"), page);
  row->addWidget(LabelA1, 1);
  row->addWidget(Button6, 0, Qt::AlignTop);
  connect(Button6, &QPushButton::clicked, this, [this] { Button6Click(); });
  return row;
}

QWidget* TForm1Window::BuildPrintMethodGroup(QWidget* page) {
  auto* method = new QGroupBox(QStringLiteral("印刷方法"), page);
  auto* rows = Compact(new QVBoxLayout(method));
  static const char* const kMethods[] = {"図面データ倍率取得印刷", "フィット印刷(図形範囲による自動倍率印刷)",
                                         "倍率指定印刷"};
  for (size_t i = 0; i < 3; ++i) MethodButtons[i] = new QRadioButton(QString::fromUtf8(kMethods[i]), method);
  ScaleEdit = SmallEdit(method, 60);
  RotationEdit = SmallEdit(method, 60);
  OffsetXEdit = SmallEdit(method, 60);
  OffsetYEdit = SmallEdit(method, 60);
  auto text = [method](const char* utf8) { return new QLabel(QString::fromUtf8(utf8), method); };
  rows->addLayout(Row({MethodButtons[0], MethodButtons[1]}));
  rows->addLayout(
      Row({MethodButtons[2], text("倍率"), ScaleEdit, text("倍　回転角度"), RotationEdit, text("°（※反時計回り＋）")}));
  rows->addLayout(Row({text("オフセットX"), OffsetXEdit, text("mm　Y"), OffsetYEdit, text("mm")}));
  return method;
}

QLayout* TForm1Window::BuildPrintChecks(QWidget* page) {
  auto* grid = Compact(new QGridLayout);
  static const char* const kChecks[] = {"モノクロ印刷を行う　　　モノクロ印刷時のしきい値",
                                        "通常線色の白色を黒色にする　白色判定時のしきい値",
                                        "SXF線色の白色を黒色にする 　白色判定時のしきい値", "１文書として印刷",
                                        "補助線を印刷する"};
  for (size_t i = 0; i < 5; ++i) PrintChecks[i] = new QCheckBox(QString::fromUtf8(kChecks[i]), page);
  // The three colour checks with their thresholds.
  for (int i = 0; i < 3; ++i) {
    const auto k = static_cast<size_t>(i);
    auto* upDown = new TThresholdUpDown(page);
    ThresholdUpDowns[k] = upDown;
    ThresholdEdits[k] = upDown->lineEdit();
    grid->addWidget(PrintChecks[k], i, 0, 1, 2);
    grid->addWidget(upDown, i, 2);
  }
  grid->addLayout(Row({PrintChecks[3], PrintChecks[4]}), 3, 0, 1, 3);
  return LeftAligned(grid);
}

namespace {

// A group box of radio buttons, two to a row.
template <size_t N>
QGroupBox* RadioGroup(QWidget* page, const char* title, const char* const (&captions)[N],
                      std::array<QRadioButton*, N>& buttons) {
  auto* group = new QGroupBox(QString::fromUtf8(title), page);
  auto* grid = Compact(new QGridLayout(group));
  for (size_t i = 0; i < N; ++i) {
    buttons[i] = new QRadioButton(QString::fromUtf8(captions[i]), group);
    grid->addWidget(buttons[i], static_cast<int>(i / 2), static_cast<int>(i % 2));
  }
  return group;
}

}  // namespace

QLayout* TForm1Window::BuildDisplayOnlyAndOrderGroups(QWidget* page) {
  static const char* const kDisplayOnly[] = {"印刷しない", "グレー色で印刷", "設定色で印刷", "そのまま印刷"};
  static const char* const kOrders[] = {"通常", "レイヤ順", "レイヤ逆順"};
  auto* row = Compact(new QHBoxLayout);
  row->addWidget(RadioGroup(page, "表示のみレイヤ・レイヤグループ", kDisplayOnly, DisplayOnlyButtons));
  row->addWidget(RadioGroup(page, "図面データの印刷順序", kOrders, PrintOrderButtons));
  return row;
}

QLayout* TForm1Window::BuildColourRow(QWidget* page) {
  auto* row = Compact(new QHBoxLayout);
  LabelA2 = new QLabel(page);
  LabelA3 = new QLabel(page);
  Button7 = new QPushButton(QStringLiteral("設定"), page);
  Button8 = new QPushButton(QStringLiteral("設定"), page);
  for (QPushButton* button : {Button7, Button8}) button->setFixedWidth(56);
  for (QLabel* swatch : {LabelA2, LabelA3}) {
    swatch->setFixedSize(40, 18);
    swatch->setAutoFillBackground(true);
    swatch->setFrameShape(QFrame::Box);
  }
  row->addWidget(new QLabel(QStringLiteral("表示のみレイヤ設定色："), page));
  row->addWidget(LabelA2);
  row->addWidget(Button7);
  row->addSpacing(12);
  row->addWidget(new QLabel(QStringLiteral("補助線色："), page));
  row->addWidget(LabelA3);
  row->addWidget(Button8);
  row->addStretch(1);
  connect(Button7, &QPushButton::clicked, this, [this] { Button7Click(); });
  connect(Button8, &QPushButton::clicked, this, [this] { Button8Click(); });
  return row;
}

QWidget* TForm1Window::BuildFrameTab() {
  auto* page = new QWidget;
  auto* layout = Compact(new QVBoxLayout(page));
  auto* rows = Compact(new QGridLayout);
  static const char* const kClasses[] = {"Ａ０横", "Ａ１横", "Ａ２横", "Ａ３横", "Ａ４横",
                                         "Ａ０縦", "Ａ１縦", "Ａ２縦", "Ａ３縦", "Ａ４縦"};
  for (int c = 0; c < 10; ++c) {
    const auto i = static_cast<size_t>(c);
    FrameDialogButtons[i] = new QPushButton(QString::fromUtf8(kClasses[c]), page);
    FrameDialogButtons[i]->setObjectName(QStringLiteral("Button%1").arg(9 + c));
    FrameChooserButtons[i] = new QPushButton(QStringLiteral("□"), page);
    FrameChooserButtons[i]->setObjectName(QStringLiteral("Button%1").arg(19 + c));
    FrameChooserButtons[i]->setFixedWidth(28);
    FrameEdits[i] = new QLineEdit(page);
    FrameEdits[i]->setObjectName(QStringLiteral("Edit%1").arg(12 + c));
    rows->addWidget(FrameDialogButtons[i], c, 0);
    rows->addWidget(FrameChooserButtons[i], c, 1);
    rows->addWidget(FrameEdits[i], c, 2);
    FrameEdits[i]->installEventFilter(this);
    connect(FrameDialogButtons[i], &QPushButton::clicked, this, [this, i] { FrameDialogButtonClick(i); });
    connect(FrameChooserButtons[i], &QPushButton::clicked, this, [this, i] { FrameChooserButtonClick(i); });
  }
  layout->addLayout(rows);
  FrameNoteLabel = new QLabel(QStringLiteral("※作図する表示領域枠は、補助線色・倍長線種１・線幅200の長方形(矩形)とし、"
                                             "図面枠の図面データ内に１個だけ作図してください。"),
                              page);
  FrameNoteLabel->setWordWrap(true);
  layout->addWidget(FrameNoteLabel);
  static const char* const kChecks[] = {"分割図面に図面枠を追加する", "図面枠の図面データ内の 非表示レイヤの要素データも追加する",
                                        "図面枠の図面データ内の 補助線の要素データも追加する"};
  for (int i = 0; i < 3; ++i) {
    FrameChecks[static_cast<size_t>(i)] = new QCheckBox(QString::fromUtf8(kChecks[i]), page);
    layout->addWidget(FrameChecks[static_cast<size_t>(i)]);
  }
  layout->addStretch(1);
  return page;
}

// ---- Handlers of tabs 2 and 3 ----

void TForm1Window::Button1Click() {
  QString start = GivenFolderEdit->text();
  if (start.isEmpty() || !FolderExists(ToPath(start))) start = FromPath(Gval.ProgramFolder);
  const QString folder = QFileDialog::getExistingDirectory(this, QStringLiteral("保存先フォルダを指定"), start,
                                                           QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
  if (folder.isEmpty()) return;
  GivenFolderEdit->setText(folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/'));
}

void TForm1Window::Button6Click() {
  auto* device = dynamic_cast<TQPrinterDeviceBase*>(CurrentPrinter());
  if (device == nullptr || !RunPrinterSetup(this, *device)) return;
  ShowPrinterInfo();
  Form.ReadPrintOptions(PrintControls());
}

namespace {

// Colours are kept as Windows writes them: red in the low byte.
QColor FromWindowsColor(int32_t c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }
int32_t ToWindowsColor(const QColor& c) { return c.red() | (c.green() << 8) | (c.blue() << 16); }

void ChooseSwatchColor(QWidget* parent, QLabel* swatch, const std::function<void(QLabel*, int32_t)>& set) {
  const QColor chosen = QColorDialog::getColor(FromWindowsColor(swatch->property("windowsColor").toInt()), parent,
                                               QString(), QColorDialog::DontUseNativeDialog);
  if (chosen.isValid()) set(swatch, ToWindowsColor(chosen));
}

}  // namespace

void TForm1Window::SetSwatch(QLabel* swatch, int32_t windowsColor) {
  swatch->setProperty("windowsColor", windowsColor);
  QPalette palette = swatch->palette();
  palette.setColor(QPalette::Window, FromWindowsColor(windowsColor));
  swatch->setPalette(palette);
}

void TForm1Window::Button7Click() {
  ChooseSwatchColor(this, LabelA2, [this](QLabel* s, int32_t c) { SetSwatch(s, c); });
}

void TForm1Window::Button8Click() {
  ChooseSwatchColor(this, LabelA3, [this](QLabel* s, int32_t c) { SetSwatch(s, c); });
}
