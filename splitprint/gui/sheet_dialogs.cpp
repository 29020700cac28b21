// The preview, printing and order dialogs over the toolkit-free routines of
// TForm1, with the window's status bar and message boxes.
#include "sheet_dialogs.h"

#include <QCoreApplication>
#include <QMainWindow>
#include <QMessageBox>
#include <QStatusBar>

#include "form1_state.h"
#include "print_order_dialog.h"
#include "qt_text.h"
#include "qt_sheet_bitmap.h"
#include "sheet_output.h"
#include "sheet_preview_dialog.h"
#include "sjis.h"
#include "window_placement.h"

namespace {

std::function<void(const std::string&)>& StatusSink() {
  static std::function<void(const std::string&)> sink;
  return sink;
}

QStatusBar* WindowStatusBar(QWidget* parent) {
  if (!parent) return nullptr;
  if (auto* main = qobject_cast<QMainWindow*>(parent->window())) return main->statusBar();
  return parent->window()->findChild<QStatusBar*>();
}

class TWindowSheetOutput : public TSheetOutputHost {
 public:
  TWindowSheetOutput(QWidget* parent, TForm1& form) : parent_(parent), form_(form) {}

  void SetStatusText(const std::string& text) override {
    if (StatusSink()) {
      StatusSink()(text);
      return;
    }
    if (QStatusBar* bar = WindowStatusBar(parent_)) {
      bar->showMessage(BoxText(text));
      bar->repaint();
    }
  }
  void Inform(const std::string& text) override {
    QMessageBox::information(parent_, QStringLiteral("Quillmoor"), BoxText(text));
  }
  TSheetBitmap& Bitmap() override { return bitmap_; }
  TPreviewAnswer ShowPreview(const std::string& bmpFolder) override {
    TForm2 dialog(parent_);
    PlaceWindow(dialog, form_.PreviewBounds, kSheetPreviewDesign);
    dialog.BmpFolder = bmpFolder;
    dialog.exec();
    form_.PreviewBounds = StoredBounds(dialog, form_.PreviewBounds);
    return {dialog.Stopped, dialog.BackPressed};
  }
  void PumpMessages() override { QCoreApplication::processEvents(); }

 private:
  QWidget* parent_;
  TForm1& form_;
  TQtSheetBitmap bitmap_;
};

}  // namespace

void SetSheetStatusSink(std::function<void(const std::string&)> sink) { StatusSink() = std::move(sink); }

bool ShowPrintOrderDialog(QWidget* parent, TForm1& form) {
  TForm4 dialog(form, parent);
  dialog.exec();
  form.OrderDialogBounds = StoredBounds(dialog, form.OrderDialogBounds);
  return dialog.Stopped;
}

void ShowSheetPreview(QWidget* parent, TForm1& form) {
  TWindowSheetOutput host(parent, form);
  form.PreviewSheets(host);
}

void PrintSheetList(QWidget* parent, TForm1& form) {
  TWindowSheetOutput host(parent, form);
  form.PrintSheets(host);
}
