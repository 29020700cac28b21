// Tollwick's only window as toolkit-free state: the settings it keeps, the
// values of the dialog's controls, the command-line mode, and the handlers
// that the window shells (Win32 dialog, native command) call. A mode run
// never needs a window; the dialog shell shows the values filled in by
// FormShow and hands them back through Button1Click.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "frame_chain.h"
#include "jwc_data.h"

// Paper W x H (mm) by paper index 0..9; any other index 0 x 0.
void PaperSizeOf(int32_t paperIndex, double& w, double& h);
// Offset from an indicated point to a frame's lower-left corner.
void PlacementOffsetOf(int32_t placementIndex, double w, double h, double& dx, double& dy);

class TForm1 {
 public:
  // Command line.
  int32_t Mode = 0;
  int32_t Param2 = 0;
  std::string Param2Text;
  int32_t Param3 = 0;
  bool Minimised = false;  // the dialog is shown minimised (mode 0, negative, a word)

  // Program folder and the program's file name without extension, as the
  // file system names them (never through Shift-JIS, which lacks "ü" of a
  // user's folder); the settings file is <folder>/<name>.dat.
  std::filesystem::path ProgramFolder;
  std::filesystem::path ProgramName = "tollwick";

  // Settings (the seven lines of the settings file) and the numbering
  // direction read from Quillmoor's settings file.
  int32_t SavedLeft = 100, SavedTop = 100;
  int32_t PaperIndex = 0, PlacementIndex = 0;
  double TextWidth = 5, TextHeight = 5, TextSpacing = 0;
  int32_t NumberingDirection = 0;

  // Frames found by mode 6.
  std::vector<TFrameRect> FrameRects;
  int32_t FrameCount = 0;

  // Controls of the dialog (filled by FormShow for the dialog, read back by
  // Button1Click). Edit texts are Shift-JIS; the shell limits them to 6
  // characters.
  int32_t Left = 100, Top = 100;  // window position
  int32_t ComboBox1ItemIndex = 0;
  int32_t RadioGroup1ItemIndex = 0;
  std::string Edit1Text = "5", Edit2Text = "5", Edit3Text = "0";

  TJwcData Jwc;

  // Start-up steps 1 to 7 (a mode runs here) and, for the dialog, step 8.
  // Answers true when the dialog must be shown.
  bool FormShow(const std::vector<std::string>& argsSjis);
  // OK: takes the controls' values, brings them into range, saves them.
  void Button1Click();
  // Cancel: nothing is stored.
  void Button2Click() {}
  // Any close: after a mode run the interface file is written. Answers false
  // when that write failed.
  bool FormClose();

  void LoadDialogSettings();
  // Through a temporary file; a failed write keeps the old file.
  bool SaveDialogSettings();
  void LoadNumberingDirection();

  // Modes 1..7 and above 8; false when the mode refused (nothing more queued,
  // settings not saved).
  bool RunMode();
  void ClearFrameRects();
  void FindFrameRects();

  // Files in the program folder.
  std::filesystem::path JwcFilePath() const;  // JWC_TEMP.TXT, any ASCII case
  std::filesystem::path SettingsFilePath() const;
  std::filesystem::path QuillmoorSettingsPath() const;

  // Sheet-name check of modes 4 and 5 (byte-wise, like Quillmoor's).
  static bool IsAcceptableSheetName(const std::string& name);
};

// Settings ranges, shared by loading and the dialog's OK.
double ClampTextSize(double v);     // 0.1 .. 1000
double ClampTextSpacing(double v);  // -0.09 .. 1000
