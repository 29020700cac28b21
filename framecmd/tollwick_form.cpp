// Start-up of the paper-frame command, the dialog's OK and the close.
#include "tollwick_form.h"

#include "func.h"
#include "jwc_writer.h"
#include "tollwick_run.h"

void PaperSizeOf(int32_t paperIndex, double& w, double& h) {
  static constexpr double kSizes[10][2] = {{1189, 841}, {841, 594}, {594, 420}, {420, 297}, {297, 210},
                                           {841, 1189}, {594, 841}, {420, 594}, {297, 420}, {210, 297}};
  if (paperIndex < 0 || paperIndex > 9) {
    w = h = 0;
    return;
  }
  w = kSizes[paperIndex][0];
  h = kSizes[paperIndex][1];
}

void PlacementOffsetOf(int32_t placementIndex, double w, double h, double& dx, double& dy) {
  dx = dy = 0;
  if (placementIndex < 0 || placementIndex > 8) return;
  // Item i: column i div 3 (left, centre, right), row i mod 3 (top, middle, bottom).
  const int32_t column = placementIndex / 3;
  const int32_t row = placementIndex % 3;
  dx = column == 0 ? 0 : (column == 1 ? -w / 2 : -w);
  dy = row == 0 ? -h : (row == 1 ? -h / 2 : 0);
}

bool TForm1::FormShow(const std::vector<std::string>& argsSjis) {
  Mode = 0;
  Minimised = false;
  if (!argsSjis.empty()) {
    Mode = StrToIntOrZero(argsSjis[0]);
    if (Mode == 8) {
      Mode = 0;
    } else {
      Minimised = true;
    }
  }
  if (argsSjis.size() >= 2) {
    Param2 = StrToIntOrZero(argsSjis[1]);
    Param2Text = argsSjis[1];
  }
  if (argsSjis.size() >= 3) Param3 = StrToIntOrZero(argsSjis[2]);

  InitJwcData(Jwc);
  ReadJwcFile(Jwc, JwcFilePath());  // a missing file leaves the defaults
  LoadDialogSettings();
  LoadNumberingDirection();

  if (Mode > 0) {
    RunMode();
    return false;
  }
  Left = SavedLeft;
  Top = SavedTop;
  ComboBox1ItemIndex = PaperIndex;
  RadioGroup1ItemIndex = PlacementIndex;
  Edit1Text = FormatGeneralNumber(TextWidth, '.');
  Edit2Text = FormatGeneralNumber(TextHeight, '.');
  Edit3Text = FormatGeneralNumber(TextSpacing, '.');
  return true;
}

void TForm1::Button1Click() {
  SavedLeft = Left;
  SavedTop = Top;
  PaperIndex = ComboBox1ItemIndex;
  PlacementIndex = RadioGroup1ItemIndex;
  TextWidth = ClampTextSize(StrToFloatOrZero(Edit1Text));
  TextHeight = ClampTextSize(StrToFloatOrZero(Edit2Text));
  TextSpacing = ClampTextSpacing(StrToFloatOrZero(Edit3Text));
  SaveDialogSettings();
}

bool TForm1::FormClose() {
  bool written = true;
  if (Mode > 0) written = WriteJwcFile(Jwc, JwcFilePath());
  FreeJwcData(Jwc);
  return written;
}

TTollwickRun RunTollwick(TForm1& form, const std::vector<std::string>& argsSjis,
                         const std::filesystem::path& programFolder, const std::filesystem::path& programName) {
  form.ProgramFolder = programFolder;
  form.ProgramName = programName;
  TTollwickRun run;
  run.ShowDialog = form.FormShow(argsSjis);
  run.Minimised = form.Minimised;
  if (!run.ShowDialog && !form.FormClose()) run.ExitStatus = 1;
  return run;
}
