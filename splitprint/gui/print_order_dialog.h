// The print-order dialog: the saved sheets in a list whose rows move up and
// down together with Gval.SheetList's rows. Escape presses Stop; the
// window's close button closes it like Next.
#pragma once

#include <QDialog>

class QListWidget;
class QPushButton;
class QStatusBar;
class TForm1;

class TForm4 : public QDialog {
  Q_OBJECT

 public:
  TForm4(TForm1& form, QWidget* parent = nullptr);

  bool Stopped = false;  // "中断(&E)" was pressed

  void FormShow();
  void Button1Click();  // "次へ(&N)"
  void Button2Click();  // "中断(&E)"
  void Button3Click();  // "上へ(&U"
  void Button4Click();  // "下へ(&D"

  QListWidget* ListBox1 = nullptr;
  QPushButton* Button1 = nullptr;
  QPushButton* Button2 = nullptr;
  QPushButton* Button3 = nullptr;
  QPushButton* Button4 = nullptr;
  QStatusBar* StatusBar1 = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  // Reached by the close button only (Escape is taken before): like Next.
  void reject() override;

 private:
  void Move(int step);

  TForm1& form_;
};
