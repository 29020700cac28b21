// The drawing-frame tab's handlers: the file dialog and the thumbnail
// chooser per paper class, and Jw_cad on a field's drawing.
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>

#include "file_io.h"
#include "form1_window.h"
#include "frame_chooser_dialog.h"
#include "qt_sheet_bitmap.h"
#include "qt_text.h"
#include "sheet_names.h"
#include "sheet_output.h"
#include "sjis.h"
#include "window_placement.h"

namespace {

// Renders the chooser's thumbnails with the window's status bar.
class TChooserOutput : public TSheetOutputHost {
 public:
  explicit TChooserOutput(TForm1Window& window) : window_(window) {}
  void SetStatusText(const std::string& text) override { window_.SetStatusText(text); }
  void Inform(const std::string& text) override { window_.Inform(text); }
  TSheetBitmap& Bitmap() override { return bitmap_; }
  TPreviewAnswer ShowPreview(const std::string&) override { return {}; }

 private:
  TForm1Window& window_;
  TQtSheetBitmap bitmap_;
};

}  // namespace

bool TForm1Window::BrowseFrameFile(std::string& path) {
  QFileDialog dialog(this);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilter(QStringLiteral("Jw_cad図面ファイル(*.jww *.JWW)"));
  const std::string folder = FolderOf(path);
  if (!folder.empty()) dialog.setDirectory(FromPath(folder));
  const std::string name = FileNameOf(path);
  if (!name.empty()) dialog.selectFile(FromPath(name));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  const QString chosen = dialog.selectedFiles().first();
  if (!QFileInfo(chosen).fileName().toLower().endsWith(QStringLiteral(".jww"))) return false;
  path = ToPath(chosen);
  return true;
}

bool TForm1Window::ChooseFrameFile(std::string& path) {
  TChooserOutput output(*this);
  return Form.ChooseFrameFile(output,
                              [this](const std::vector<TFrameChoiceRow>& rows) -> int32_t {
                                TForm3 dialog(this);
                                PlaceWindow(dialog, Form.ChooserBounds, kFrameChooserDesign);
                                dialog.BmpFolder = Form.TempSheetFolder;
                                dialog.FileNames = rows;
                                dialog.FileCount = static_cast<int32_t>(rows.size());
                                dialog.exec();
                                Form.ChooserBounds = StoredBounds(dialog, Form.ChooserBounds);
                                return dialog.Selected ? dialog.SelectedIndex : -1;
                              },
                              path);
}

void TForm1Window::FrameDialogButtonClick(size_t c) {
  std::string path = ToPath(FrameEdits[c]->text());
  if (BrowseFrameFile(path)) FrameEdits[c]->setText(FromPath(path));
}

void TForm1Window::FrameChooserButtonClick(size_t c) {
  std::string path = ToPath(FrameEdits[c]->text());
  if (ChooseFrameFile(path)) FrameEdits[c]->setText(FromPath(path));
}

void TForm1Window::FrameEditDblClick(size_t c) { OpenInJwCad(ToPath(FrameEdits[c]->text())); }

bool TForm1Window::eventFilter(QObject* watched, QEvent* event) {
  // The printer label lays out its lines again at its new width.
  if (watched == LabelA1 && event->type() == QEvent::Resize) ShowPrinterInfo();
  if (event->type() == QEvent::MouseButtonDblClick) {
    for (size_t c = 0; c < FrameEdits.size(); ++c)
      if (watched == FrameEdits[c]) FrameEditDblClick(c);
  }
  return QMainWindow::eventFilter(watched, event);
}
