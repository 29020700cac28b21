// The sheet preview: the bitmaps of the saved sheets as thumbnails, filled
// by a one-shot timer once the dialog shows; Next, Stop and Back. Escape
// presses Stop (and ends the filling); the close button closes like Next.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "sheet_output.h"

class QPushButton;
class QScrollArea;
class QStatusBar;
class QTimer;
class TThumbnailGrid;

class TForm2 : public QDialog {
  Q_OBJECT

 public:
  explicit TForm2(QWidget* parent = nullptr);

  bool Stopped = false;
  bool BackPressed = false;
  std::string BmpFolder;  // Shift-JIS, with its trailing '/'

  void FormShow();
  void Timer1Timer();
  void Button1Click();  // "次へ(&N)"
  void Button2Click();  // "中断(&E)"
  void Button3Click();  // "戻る(&B)"
  void FormClose();

  QScrollArea* ScrollBox1 = nullptr;
  TThumbnailGrid* Panel2 = nullptr;
  QStatusBar* StatusBar1 = nullptr;
  QTimer* Timer1 = nullptr;
  QPushButton* Button1 = nullptr;
  QPushButton* Button2 = nullptr;
  QPushButton* Button3 = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void done(int result) override;
  void reject() override;

 private:
  std::vector<TThumbnailItem> items_;
  bool closing_ = false;  // the dialog was closed while the grid filled
};
