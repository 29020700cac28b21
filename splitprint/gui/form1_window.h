// Quillmoor's main window: four tabs over the toolkit-free TForm1, which it
// owns. The widgets only show and collect values; start-up, the batch and
// shut-down are TForm1's. The window is the batch's host.
#pragma once

#include <QMainWindow>
#include <array>
#include <string>
#include <vector>

#include "form1_state.h"
#include "print_options.h"
#include "window_host.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLayout;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;

class TForm1Window : public QMainWindow, public TWindowHost {
 public:
  // arguments: the command line without the program (native UTF-8);
  // workingFolder: what relative file names are relative to.
  TForm1Window(std::vector<std::string> arguments, std::string workingFolder);
  ~TForm1Window() override;

  // The window's logic and settings; the program sets its folders and the
  // settings path before the window is shown.
  TForm1 Form;
  // The settings could not be written when the window last closed.
  bool SettingsSaveFailed() const { return saveFailed_; }

  // ---- Handlers (tab 1, the two bottom buttons, tabs 2 and 3). ----
  void FormShow();
  void Button1Click();   // "参照": the given folder
  void Button2Click();   // close
  void Button3Click();   // add through the open dialog
  void Button4Click();   // remove the selected rows
  void Button5Click();   // start
  void Button6Click();   // printer set-up
  void Button7Click();   // colour of display-only layers
  void Button8Click();   // colour of auxiliary lines
  void ListBox1DblClick();
  // Starts Jw_cad on the drawing; tells why when it cannot.
  void OpenInJwCad(const std::string& path);
  // Drawing-frame tab, row c (paper class c): Button(9 + c)Click,
  // Button(19 + c)Click and Edit(12 + c)DblClick (form1_window_frame_tab.cpp).
  void FrameDialogButtonClick(size_t c);
  void FrameChooserButtonClick(size_t c);
  void FrameEditDblClick(size_t c);
  // The file dialog and the thumbnail chooser over a field's path (Shift-JIS);
  // true, with path replaced, when a drawing was chosen.
  bool BrowseFrameFile(std::string& path);
  bool ChooseFrameFile(std::string& path);
  // Adds dropped files (native paths) as a drop does.
  void WMDropFiles(const std::vector<std::string>& nativePaths);

  // ---- The batch's host. ----
  void SetStatusText(const std::string& text) override;
  bool Confirm(const std::string& text) override;
  void Inform(const std::string& text) override;
  void SetRunButtonsEnabled(bool enabled) override;
  void ReadPrintOptions(TForm1& form) override;
  bool ShowOrderDialog(TForm1& form) override;
  void PreviewSheets(TForm1& form) override;
  void PrintSheets(TForm1& form) override;
  bool EscapeHeld() override;
  void PumpMessages() override;
  std::string FormatShortDateTime(int64_t unixSeconds) override;

  // ---- Controls, public for the program's tests. ----
  QTabWidget* PageControl1 = nullptr;
  QListWidget* ListBox1 = nullptr;
  QPushButton* Button1 = nullptr;  // "参照"
  QPushButton* Button2 = nullptr;  // "閉じる(&X)"
  QPushButton* Button3 = nullptr;  // "追加(&A)"
  QPushButton* Button4 = nullptr;  // "削除(&D)"
  QPushButton* Button5 = nullptr;  // "実行開始(&G)"
  QPushButton* Button6 = nullptr;  // "プリンタ設定(&P)"
  QPushButton* Button7 = nullptr;
  QPushButton* Button8 = nullptr;
  std::array<QRadioButton*, 5> Destinations{};
  QButtonGroup* DestinationGroup = nullptr;
  QLineEdit* GivenFolderEdit = nullptr;
  QLineEdit* SeparatorEdit = nullptr;
  QComboBox* NamingCombo = nullptr;
  QCheckBox* ZeroPadCheck = nullptr;
  QComboBox* DirectionCombo = nullptr;
  QLineEdit* StartNumberEdit = nullptr;
  QLineEdit* MarginEdit = nullptr;
  // Lines 16-20 and 40 of the settings file, in that order.
  std::array<QCheckBox*, 6> SplitChecks{};
  // Print-settings tab.
  QLabel* LabelA1 = nullptr;  // printer
  QLabel* LabelA2 = nullptr;  // display-only colour swatch
  QLabel* LabelA3 = nullptr;  // auxiliary colour swatch
  std::array<QRadioButton*, 3> MethodButtons{};
  QLineEdit* ScaleEdit = nullptr;
  QLineEdit* RotationEdit = nullptr;
  QLineEdit* OffsetXEdit = nullptr;
  QLineEdit* OffsetYEdit = nullptr;
  // Monochrome, white to black, SXF white to black, one document, aux lines.
  std::array<QCheckBox*, 5> PrintChecks{};
  // The thresholds' up-downs and their edits.
  std::array<QSpinBox*, 3> ThresholdUpDowns{};
  std::array<QLineEdit*, 3> ThresholdEdits{};
  std::array<QRadioButton*, 4> DisplayOnlyButtons{};
  std::array<QRadioButton*, 3> PrintOrderButtons{};
  // Drawing-frame tab: per paper class the dialog button, the chooser
  // button and the path field; then the three overlay check boxes.
  std::array<QPushButton*, 10> FrameDialogButtons{};
  std::array<QPushButton*, 10> FrameChooserButtons{};
  std::array<QLineEdit*, 10> FrameEdits{};
  std::array<QCheckBox*, 3> FrameChecks{};
  QLabel* FrameNoteLabel = nullptr;  // how the display area is drawn

 protected:
  void setVisible(bool visible) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* BuildFileTab();
  QWidget* BuildSplitTab();
  QWidget* BuildPrintTab();
  QWidget* BuildFrameTab();
  // The print tab's rows (form1_window_tabs.cpp).
  QLayout* BuildPrinterRow(QWidget* page);
  QWidget* BuildPrintMethodGroup(QWidget* page);
  QLayout* BuildPrintChecks(QWidget* page);
  QLayout* BuildDisplayOnlyAndOrderGroups(QWidget* page);
  QLayout* BuildColourRow(QWidget* page);

  // Fields to controls and back (form1_window_values.cpp).
  void ShowSplitSettings();
  void ReadSplitSettings();
  void ShowFrameSettings();
  void ReadFrameSettings();
  void ShowPrintOptions();
  TPrintOptionControls PrintControls() const;
  void ShowPrinterInfo();
  void ApplyMainBounds();
  void CaptureMainBounds();
  void SetSwatch(QLabel* swatch, int32_t windowsColor);
  // The file list shown again from Form.FileList, sorted.
  void ShowFileList();
  void RunJwCadStart();

  std::vector<std::string> arguments_;
  std::string workingFolder_;
  bool shown_ = false;
  bool settingsOnly_ = false;
  bool saveFailed_ = false;
  bool closed_ = false;
};
