// Tollwick's settings file, the numbering direction taken from Quillmoor's
// settings file, and the files of the program folder.
#include <algorithm>

#include "file_replace.h"
#include "func.h"
#include "text_file.h"
#include "tollwick_form.h"

namespace {

constexpr size_t kMaxSettingsLineBytes = 4096;
constexpr char kJwcFileName[] = "JWC_TEMP.TXT";
constexpr char kQuillmoorSettingsName[] = "quillmoor.dat";

}  // namespace

double ClampTextSize(double v) { return std::clamp(v, 0.1, 1000.0); }

double ClampTextSpacing(double v) { return std::clamp(v, -0.09, 1000.0); }

std::filesystem::path TForm1::JwcFilePath() const {
  return FindIgnoringAsciiCase(ProgramFolder, kJwcFileName);
}

std::filesystem::path TForm1::SettingsFilePath() const {
  std::filesystem::path path = ProgramFolder / ProgramName;
  return path += ".dat";
}

std::filesystem::path TForm1::QuillmoorSettingsPath() const { return ProgramFolder / kQuillmoorSettingsName; }

void TForm1::LoadDialogSettings() {
  SavedLeft = 100;
  SavedTop = 100;
  PaperIndex = 0;
  PlacementIndex = 0;
  TextWidth = 5;
  TextHeight = 5;
  TextSpacing = 0;
  std::vector<std::string> lines;
  bool moreAfter = false;
  // Missing lines at the end read as empty; after a read error (or a file
  // that cannot be opened) only the lines read count.
  const bool whole = ReadFirstLines(SettingsFilePath(), 7, kMaxSettingsLineBytes, lines, moreAfter);
  if (!whole && lines.empty()) return;
  auto has = [&](size_t i) { return whole || i < lines.size(); };
  auto line = [&](size_t i) { return i < lines.size() ? lines[i] : std::string(); };
  if (has(0)) SavedLeft = StrToIntOrZero(line(0));
  if (has(1)) SavedTop = StrToIntOrZero(line(1));
  if (has(2)) PaperIndex = StrToIntOrZero(line(2));
  if (has(3)) PlacementIndex = StrToIntOrZero(line(3));
  if (PaperIndex < 0 || PaperIndex > 9) PaperIndex = 0;
  if (PlacementIndex < 0 || PlacementIndex > 8) PlacementIndex = 0;
  if (lines.size() > 4) {
    TextWidth = ClampTextSize(StrToFloatOrZero(line(4)));
    if (has(5)) TextHeight = ClampTextSize(StrToFloatOrZero(line(5)));
    if (has(6)) TextSpacing = ClampTextSpacing(StrToFloatOrZero(line(6)));
  }
}

bool TForm1::SaveDialogSettings() {
  std::string text;
  for (const std::string& v :
       {std::to_string(SavedLeft), std::to_string(SavedTop), std::to_string(PaperIndex), std::to_string(PlacementIndex),
        FormatGeneralNumber(TextWidth, '.'), FormatGeneralNumber(TextHeight, '.'),
        FormatGeneralNumber(TextSpacing, '.')}) {
    text += v + "\r\n";
  }
  std::error_code error;
  return WriteFileReplacing(SettingsFilePath(), text, error);
}

void TForm1::LoadNumberingDirection() {
  NumberingDirection = 0;
  std::vector<std::string> lines;
  bool moreAfter = false;
  ReadFirstLines(QuillmoorSettingsPath(), 15, kMaxSettingsLineBytes, lines, moreAfter);
  if (lines.size() == 15) NumberingDirection = StrToIntOrZero(lines[14]);
}
