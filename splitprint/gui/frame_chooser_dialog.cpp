#include "frame_chooser_dialog.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShowEvent>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "file_io.h"
#include "qt_text.h"
#include "gval.h"
#include "sjis.h"
#include "thumbnail_grid_widget.h"

TForm3::TForm3(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("図面枠の選択"));
  ScrollBox1 = new QScrollArea(this);
  Panel2 = new TThumbnailGrid;
  ScrollBox1->setWidget(Panel2);
  ScrollBox1->setWidgetResizable(false);
  Button1 = new QPushButton(QStringLiteral("閉じる(&C)"), this);
  Button1->setDefault(true);
  StatusBar1 = new QStatusBar(this);
  StatusBar1->setSizeGripEnabled(false);
  Timer1 = new QTimer(this);
  Timer1->setSingleShot(true);
  Timer1->setInterval(300);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(Button1);
  auto* all = new QVBoxLayout(this);
  all->addWidget(ScrollBox1, 1);
  all->addLayout(buttons);
  all->addWidget(StatusBar1);
  resize(640, 540);

  Panel2->OnThumbnailPressed = [this](int index, Qt::MouseButtons b) { ImageMouseDown(index, b); };
  connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
  connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
}

void TForm3::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TForm3::FormShow() {
  Timer1->stop();
  ScrollBox1->horizontalScrollBar()->setValue(0);
  ScrollBox1->verticalScrollBar()->setValue(0);
  Panel2->Clear();
  StatusBar1->clearMessage();
  Selected = false;
  SelectedIndex = 0;
  closing_ = false;
  if (FileCount > 0 && !FileNames.empty()) Timer1->start();
}

void TForm3::Timer1Timer() {
  Timer1->stop();
  const size_t total = std::min({FileNames.size(), static_cast<size_t>(std::max(FileCount, 0)), kMaxFrameChoices});
  if (total == 0) return;
  size_t count = total;
  for (size_t i = 0; i < total; ++i) {
    if (CheckAbort() || closing_) {
      count = i;
      break;
    }
    const TFrameChoiceRow& row = FileNames[i];
    const QImage image = LoadThumbnailImage(FromPath(row.Bitmap));
    Panel2->Append(image, FromPath(row.Caption));
    QCoreApplication::processEvents();
  }
  if (closing_) return;  // a pick or a close came while the grid filled
  FileNames.clear();
  Panel2->FitPanel();
  StatusBar1->showMessage(QStringLiteral("ファイル数：") + QString::number(count));
}

void TForm3::ImageMouseDown(int index, Qt::MouseButtons buttons) {
  if (!(buttons & Qt::LeftButton)) return;
  SelectedIndex = index;
  Selected = true;
  accept();
}

void TForm3::Button1Click() { reject(); }

void TForm3::FormClose() {
  Timer1->stop();
  closing_ = true;
  Panel2->Clear();
  FileNames.clear();
}

void TForm3::done(int result) {
  FormClose();
  QDialog::done(result);
}
