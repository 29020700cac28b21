#include "print_order_dialog.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include "form1_state.h"
#include "gval.h"
#include "qt_text.h"
#include "sjis.h"

TForm4::TForm4(TForm1& form, QWidget* parent) : QDialog(parent), form_(form) {
  setWindowTitle(QStringLiteral("分割図面の印刷順序設定"));
  ListBox1 = new QListWidget(this);
  ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
  Button3 = new QPushButton(QStringLiteral("上へ(&U"), this);
  Button4 = new QPushButton(QStringLiteral("下へ(&D"), this);
  Button1 = new QPushButton(QStringLiteral("次へ(&N)"), this);
  Button2 = new QPushButton(QStringLiteral("中断(&E)"), this);
  Button1->setDefault(true);
  StatusBar1 = new QStatusBar(this);
  StatusBar1->setSizeGripEnabled(false);

  auto* side = new QVBoxLayout;
  side->addWidget(Button3);
  side->addWidget(Button4);
  side->addStretch();
  auto* middle = new QHBoxLayout;
  middle->addWidget(ListBox1, 1);
  middle->addLayout(side);
  auto* bottom = new QHBoxLayout;
  bottom->addStretch();
  bottom->addWidget(Button1);
  bottom->addWidget(Button2);
  auto* all = new QVBoxLayout(this);
  all->addLayout(middle, 1);
  all->addLayout(bottom);
  all->addWidget(StatusBar1);

  connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
  connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
  connect(Button4, &QPushButton::clicked, this, [this] { Button4Click(); });

  const TWindowBounds& b = form_.OrderDialogBounds;
  if (b.Width > 0 && b.Height > 0) resize(b.Width, b.Height);
  move(b.Left, b.Top);
}

void TForm4::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TForm4::FormShow() {
  StatusBar1->clearMessage();
  Stopped = false;
  ListBox1->clear();
  for (const TStr2List& row : Gval.SheetList) ListBox1->addItem(FromPath(row.First));
}

void TForm4::Button1Click() { accept(); }

void TForm4::Button2Click() {
  Stopped = true;
  accept();
}

void TForm4::Button3Click() { Move(-1); }
void TForm4::Button4Click() { Move(1); }

void TForm4::Move(int step) {
  const int row = ListBox1->currentRow();
  if (row < 0 || ListBox1->count() != static_cast<int>(Gval.SheetList.size())) return;
  if (!ListBox1->item(row)->isSelected()) return;
  const int32_t target = form_.MoveSheetRow(row, step);
  if (target < 0) return;
  QListWidgetItem* a = ListBox1->item(row);
  QListWidgetItem* b = ListBox1->item(target);
  const QString text = a->text();
  a->setText(b->text());
  b->setText(text);
  ListBox1->setCurrentRow(target);
}

void TForm4::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    Button2Click();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TForm4::reject() { Button1Click(); }
