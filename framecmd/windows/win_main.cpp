// Tollwick for Windows: Jw_cad starts it with a mode (no window is made for
// a mode run) or without one for the settings dialog.
#include <windows.h>

#include <filesystem>
#include <string>

#include "dialog_window.h"
#include "tollwick_run.h"
#include "win_text.h"

namespace {

// The program folder as Windows names it and as the core sees it. A folder
// name with characters that code page 932 lacks ("é" in a user name) comes
// back from the core's paths lossy; its own name is put back in front.
struct TProgramFolder {
  std::wstring Wide;
  std::string Sjis;
};
TProgramFolder gProgramFolder;

std::filesystem::path SjisToWindowsPath(const std::string& sjisPath) {
  const std::string& folder = gProgramFolder.Sjis;
  if (!folder.empty() && sjisPath.compare(0, folder.size(), folder) == 0)
    return std::filesystem::path(gProgramFolder.Wide + SjisToWide(sjisPath.substr(folder.size())));
  return std::filesystem::path(SjisToWide(sjisPath));
}

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
  const std::filesystem::path program(ProgramFileWide());
  gProgramFolder.Wide = program.parent_path().wstring() + L"\\";
  gProgramFolder.Sjis = WideToSjis(gProgramFolder.Wide);
  const std::string name = WideToSjis(program.stem().wstring());

  TForm1 form;
  const TTollwickRun run =
      RunTollwick(form, CommandLineArgumentsSjis(), gProgramFolder.Sjis, name, SjisToWindowsPath);
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
