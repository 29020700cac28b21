// The main window: its frame, the file list tab, the bottom buttons and the
// batch's host.
#include "form1_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCollator>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "file_io.h"
#include "gval.h"
#include "qt_date_time.h"
#include "qt_text.h"
#include "sheet_dialogs.h"

namespace {

QWidget* Scrollable(QWidget* page) {
  auto* area = new QScrollArea;
  area->setFrameShape(QFrame::NoFrame);
  area->setWidgetResizable(true);
  area->setWidget(page);
  return area;
}

}  // namespace

TForm1Window::TForm1Window(std::vector<std::string> arguments, std::string workingFolder)
    : arguments_(std::move(arguments)), workingFolder_(std::move(workingFolder)) {
  setWindowTitle(QStringLiteral("Quillmoor　Ver.1.05"));
  // System menu and minimise; no maximise button.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  setAcceptDrops(true);

  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  PageControl1 = new QTabWidget(central);
  PageControl1->addTab(BuildFileTab(), QStringLiteral("ファイル一覧(&1)"));
  // The pages scroll rather than hold the window above the size it was given.
  PageControl1->addTab(Scrollable(BuildSplitTab()), QStringLiteral("分割設定(&2)"));
  PageControl1->addTab(Scrollable(BuildPrintTab()), QStringLiteral("印刷設定(&3)"));
  PageControl1->addTab(Scrollable(BuildFrameTab()), QStringLiteral("図面枠設定(&4)"));
  layout->addWidget(PageControl1, 1);

  auto* buttons = new QHBoxLayout;
  Button5 = new QPushButton(QStringLiteral("実行開始(&G)"), central);
  Button2 = new QPushButton(QStringLiteral("閉じる(&X)"), central);
  buttons->addStretch(1);
  buttons->addWidget(Button5);
  buttons->addWidget(Button2);
  layout->addLayout(buttons);
  setCentralWidget(central);
  statusBar()->setSizeGripEnabled(false);

  connect(Button5, &QPushButton::clicked, this, [this] { Button5Click(); });
  connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
  resize(Form.MainBounds.Width, Form.MainBounds.Height);
}

TForm1Window::~TForm1Window() = default;

QWidget* TForm1Window::BuildFileTab() {
  auto* page = new QWidget;
  auto* layout = new QHBoxLayout(page);
  ListBox1 = new QListWidget(page);
  ListBox1->setSelectionMode(QAbstractItemView::ExtendedSelection);
  layout->addWidget(ListBox1, 1);
  auto* side = new QVBoxLayout;
  Button3 = new QPushButton(QStringLiteral("追加(&A)"), page);
  Button4 = new QPushButton(QStringLiteral("削除(&D)"), page);
  side->addWidget(Button3);
  side->addWidget(Button4);
  side->addStretch(1);
  layout->addLayout(side);
  connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
  connect(Button4, &QPushButton::clicked, this, [this] { Button4Click(); });
  connect(ListBox1, &QListWidget::itemDoubleClicked, this, [this] { ListBox1DblClick(); });
  return page;
}

// ---- Start-up and shut-down ----

void TForm1Window::setVisible(bool visible) {
  // Start-up runs before the system window exists, so that the stored
  // position places the frame (see PlaceWindow).
  if (visible && !shown_) {
    shown_ = true;
    FormShow();
  }
  QMainWindow::setVisible(visible);
}

void TForm1Window::FormShow() {
  const TForm1::TStartMode mode = Form.FormShow(arguments_, workingFolder_);
  ApplyMainBounds();
  ShowSplitSettings();
  ShowFrameSettings();
  ShowPrinterInfo();
  ShowPrintOptions();
  ShowFileList();
  if (mode == TForm1::TStartMode::SettingsOnly) {
    settingsOnly_ = true;
    PageControl1->setCurrentIndex(1);
    Button5->setEnabled(false);
  } else if (mode == TForm1::TStartMode::JwCadRun) {
    // The run starts once the window has been painted.
    QTimer::singleShot(0, this, [this] { RunJwCadStart(); });
  }
}

void TForm1Window::RunJwCadStart() {
  repaint();
  ReadSplitSettings();
  ReadFrameSettings();
  Form.RunJwCadStart(*this);
  close();
}

void TForm1Window::closeEvent(QCloseEvent* event) {
  if (closed_) {  // shut down already: the settings are written once
    event->accept();
    return;
  }
  if (!Form.FormCloseQuery()) {
    event->ignore();
    return;
  }
  ReadSplitSettings();
  ReadFrameSettings();
  Form.ReadPrintOptions(PrintControls());
  CaptureMainBounds();
  saveFailed_ = !Form.FormClose();
  closed_ = true;
  ListBox1->clear();
  if (saveFailed_) {
    Inform(Utf8ToSjis("設定ファイルを保存できませんでした。\r\n") + SjisTextFromPath(Form.SettingsPath) +
           Utf8ToSjis("：") + Form.SettingsSaveReason);
  }
  event->accept();
}

void TForm1Window::Button2Click() { close(); }

// ---- File list ----

void TForm1Window::ShowFileList() {
  // Sorted as the user reads names: case-insensitive, by the locale's rules.
  QCollator collator;
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  collator.setNumericMode(false);
  std::vector<std::pair<QString, std::string>> rows;
  rows.reserve(Form.FileList.size());
  for (const std::string& path : Form.FileList) rows.emplace_back(FromPath(path), path);
  std::stable_sort(rows.begin(), rows.end(),
                   [&](const auto& a, const auto& b) { return collator.compare(a.first, b.first) < 0; });
  ListBox1->clear();
  for (size_t i = 0; i < rows.size(); ++i) {
    Form.FileList[i] = rows[i].second;
    ListBox1->addItem(rows[i].first);
  }
}

void TForm1Window::WMDropFiles(const std::vector<std::string>& nativePaths) {
  if (Form.Running) return;  // the run works on the list as it was
  const std::string status = Form.AddDroppedFiles(nativePaths);
  ShowFileList();
  SetStatusText(status);
}

void TForm1Window::dragEnterEvent(QDragEnterEvent* event) {
  if (!Form.Running && event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TForm1Window::dropEvent(QDropEvent* event) {
  std::vector<std::string> paths;
  for (const QUrl& url : event->mimeData()->urls()) {
    if (url.isLocalFile()) paths.push_back(ToPath(url.toLocalFile()));
  }
  WMDropFiles(paths);
  event->acceptProposedAction();
}

void TForm1Window::Button3Click() {
  QFileDialog dialog(this);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setFileMode(QFileDialog::ExistingFiles);
  dialog.setNameFilter(QStringLiteral("Jw_cad図面ファイル(*.jww *.JWW)"));
  if (!Form.AddFolder.empty()) dialog.setDirectory(FromPath(Form.AddFolder));
  if (dialog.exec() != QDialog::Accepted) return;
  std::vector<std::string> paths;
  for (const QString& file : dialog.selectedFiles()) paths.push_back(ToPath(file));
  const std::string status = Form.AddChosenFiles(paths);
  ShowFileList();
  SetStatusText(status);
}

void TForm1Window::Button4Click() {
  std::vector<int32_t> rows;
  for (const QModelIndex& index : ListBox1->selectionModel()->selectedRows()) rows.push_back(index.row());
  if (Form.FileList.empty() || rows.empty()) return;
  if (!Confirm(TForm1::RemoveFilesQuestion(static_cast<int32_t>(rows.size())))) return;
  const std::string status = Form.RemoveFiles(rows);
  ShowFileList();
  SetStatusText(status);
}

void TForm1Window::ListBox1DblClick() {
  const int row = ListBox1->currentRow();
  if (row < 0 || row >= static_cast<int>(Form.FileList.size())) return;
  OpenInJwCad(Form.FileList[static_cast<size_t>(row)]);
}

void TForm1Window::OpenInJwCad(const std::string& path) {
  std::string failure;
  if (!Form.OpenInJwCad(path, &failure) && !failure.empty()) Inform(failure);
}

void TForm1Window::Button5Click() {
  ReadSplitSettings();
  ReadFrameSettings();
  Form.StartBatch(*this);
  // The run may have clamped the start number and the margin.
  ShowSplitSettings();
}

// ---- The batch's host ----

void TForm1Window::SetStatusText(const std::string& text) {
  statusBar()->showMessage(FromSjis(text));
  statusBar()->repaint();
}

bool TForm1Window::Confirm(const std::string& text) {
  QMessageBox box(QMessageBox::Question, QStringLiteral("Quillmoor"), BoxText(text),
                  QMessageBox::Yes | QMessageBox::No, this);
  return box.exec() != QMessageBox::No;
}

void TForm1Window::Inform(const std::string& text) {
  QMessageBox box(QMessageBox::Information, QStringLiteral("Quillmoor"), BoxText(text), QMessageBox::Ok, this);
  box.exec();
}

void TForm1Window::SetRunButtonsEnabled(bool enabled) {
  Button2->setEnabled(enabled);
  Button5->setEnabled(enabled && !settingsOnly_);
  // Controls that would change the list, the destination or the printer
  // while the per-drawing pump lets events through.
  for (QPushButton* b : {Button1, Button3, Button4, Button6}) b->setEnabled(enabled);
  for (QPushButton* b : FrameDialogButtons) b->setEnabled(enabled);
  for (QPushButton* b : FrameChooserButtons) b->setEnabled(enabled);
}

void TForm1Window::ReadPrintOptions(TForm1& form) { form.ReadPrintOptions(PrintControls()); }

bool TForm1Window::ShowOrderDialog(TForm1& form) { return ShowPrintOrderDialog(this, form); }
void TForm1Window::PreviewSheets(TForm1& form) { ShowSheetPreview(this, form); }
void TForm1Window::PrintSheets(TForm1& form) { PrintSheetList(this, form); }

bool TForm1Window::EscapeHeld() { return CheckAbort(); }

void TForm1Window::PumpMessages() { QCoreApplication::processEvents(); }

std::string TForm1Window::FormatShortDateTime(int64_t unixSeconds) { return ShortDateTimeText(unixSeconds); }
