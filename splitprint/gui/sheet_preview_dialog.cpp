#include "sheet_preview_dialog.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include "file_io.h"
#include "qt_text.h"
#include "gval.h"
#include "sjis.h"
#include "thumbnail_grid_widget.h"

TForm2::TForm2(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("分割後の画像表示"));
  ScrollBox1 = new QScrollArea(this);
  Panel2 = new TThumbnailGrid;
  ScrollBox1->setWidget(Panel2);
  ScrollBox1->setWidgetResizable(false);
  Button1 = new QPushButton(QStringLiteral("次へ(&N)"), this);
  Button2 = new QPushButton(QStringLiteral("中断(&E)"), this);
  Button3 = new QPushButton(QStringLiteral("戻る(&B)"), this);
  Button1->setDefault(true);
  StatusBar1 = new QStatusBar(this);
  StatusBar1->setSizeGripEnabled(false);
  Timer1 = new QTimer(this);
  Timer1->setSingleShot(true);
  Timer1->setInterval(300);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(Button1);
  buttons->addWidget(Button2);
  buttons->addWidget(Button3);
  auto* all = new QVBoxLayout(this);
  all->addWidget(ScrollBox1, 1);
  all->addLayout(buttons);
  all->addWidget(StatusBar1);
  resize(640, 540);

  connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
  connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
  connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
}

void TForm2::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TForm2::FormShow() {
  Timer1->stop();
  ScrollBox1->horizontalScrollBar()->setValue(0);
  ScrollBox1->verticalScrollBar()->setValue(0);
  Panel2->Clear();
  StatusBar1->clearMessage();
  Stopped = false;
  BackPressed = false;
  closing_ = false;
  items_ = SheetPreviewItems(BmpFolder);
  if (!items_.empty()) Timer1->start();
}

void TForm2::Timer1Timer() {
  Timer1->stop();
  size_t count = items_.size();
  for (size_t i = 0; i < items_.size(); ++i) {
    if (CheckAbort() || closing_) {
      count = i;
      break;
    }
    const QImage image = LoadThumbnailImage(FromPath(items_[i].BitmapPath));
    Panel2->Append(image, FromPath(items_[i].Caption));
    QCoreApplication::processEvents();
  }
  if (closing_) return;  // the dialog went while the grid filled
  items_.clear();
  Panel2->FitPanel();
  StatusBar1->showMessage(QStringLiteral("ファイル数：") + QString::number(count));
}

void TForm2::Button1Click() { accept(); }

void TForm2::Button2Click() {
  Stopped = true;
  accept();
}

void TForm2::Button3Click() {
  BackPressed = true;
  accept();
}

void TForm2::FormClose() {
  Timer1->stop();
  closing_ = true;
  Panel2->Clear();
  items_.clear();
}

void TForm2::done(int result) {
  FormClose();
  QDialog::done(result);
}

void TForm2::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    Button2Click();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TForm2::reject() { Button1Click(); }
