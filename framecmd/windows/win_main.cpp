// Tollwick for Windows: Jw_cad starts it with a mode (no window is made for
// a mode run) or without one for the settings dialog.
#include <windows.h>

#include <filesystem>
#include <string>

#include "dialog_window.h"
#include "tollwick_run.h"
#include "win_text.h"

namespace {

TDialogValues DialogValuesOf(const TForm1& form) {
  TDialogValues v;
  v.Left = form.Left;
  v.Top = form.Top;
  v.PaperIndex = form.ComboBox1ItemIndex;
  v.PlacementIndex = form.RadioGroup1ItemIndex;
  v.Width = SjisToWide(form.Edit1Text);
  v.Height = SjisToWide(form.Edit2Text);
  v.Spacing = SjisToWide(form.Edit3Text);
  return v;
}

void TakeDialogValues(TForm1& form, const TDialogValues& v) {
  form.Left = v.Left;
  form.Top = v.Top;
  form.ComboBox1ItemIndex = v.PaperIndex;
  form.RadioGroup1ItemIndex = v.PlacementIndex;
  form.Edit1Text = WideToSjis(v.Width);
  form.Edit2Text = WideToSjis(v.Height);
  form.Edit3Text = WideToSjis(v.Spacing);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // The folder and name stay wide: code page 932 lacks "é" of a user name.
  const std::filesystem::path program(ProgramFileWide());

  TForm1 form;
  const TTollwickRun run = RunTollwick(form, CommandLineArgumentsSjis(), program.parent_path(), program.stem());
  if (!run.ShowDialog) return run.ExitStatus;

  TDialogValues chosen;
  if (RunSettingsDialog(DialogValuesOf(form), run.Minimised, chosen)) {
    TakeDialogValues(form, chosen);
    form.Button1Click();
  } else {
    form.Button2Click();
  }
  form.FormClose();
  return run.ExitStatus;
}
