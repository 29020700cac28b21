// The drawing-frame chooser: the thumbnails of a folder's drawings, filled
// by a one-shot timer once the dialog shows; a left click on a thumbnail
// picks it and closes. Escape and "閉じる(&C)" close without a pick.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "frame_chooser_list.h"

class QPushButton;
class QScrollArea;
class QStatusBar;
class QTimer;
class TThumbnailGrid;

class TForm3 : public QDialog {
 public:
  explicit TForm3(QWidget* parent = nullptr);

  // Handed over by the caller: the rows to show (at most kMaxFrameChoices)
  // and their count.
  std::vector<TFrameChoiceRow> FileNames;
  int32_t FileCount = 0;
  std::string BmpFolder;  // Shift-JIS, with its trailing '/'
  // The result: a thumbnail was picked, and which (0-based).
  bool Selected = false;
  int32_t SelectedIndex = 0;

  void FormShow();
  void Timer1Timer();
  void ImageMouseDown(int index, Qt::MouseButtons buttons);
  void Button1Click();  // "閉じる(&C)"
  void FormClose();

  QScrollArea* ScrollBox1 = nullptr;
  TThumbnailGrid* Panel2 = nullptr;
  QStatusBar* StatusBar1 = nullptr;
  QTimer* Timer1 = nullptr;
  QPushButton* Button1 = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;
  void done(int result) override;

 private:
  bool closing_ = false;  // the dialog was closed while the grid filled
};
