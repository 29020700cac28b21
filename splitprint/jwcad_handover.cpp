// Jw_cad beside Quillmoor, under Wine: Jw_cad's folder from the open command
// of JWW drawings, the drawing named in JWC_TEMP.TXT, the REF_FILE of
// Jw_win.jwf and its "%%" table, and opening a drawing in Jw_cad. Jw_cad
// speaks in Windows paths, which are turned into Linux paths here; its files
// are found ignoring case.
#include <cerrno>
#include <cstdio>

#include "bind_images.h"
#include "file_io.h"
#include "form1_state.h"
#include "func.h"
#include "gval.h"
#include "run_report.h"
#include "sjis.h"
#include "sjis_name_match.h"
#include "text_lines.h"
#include "wine_launch.h"
#include "wine_paths.h"
#include "wine_registry.h"

namespace {

constexpr char kDefaultJwCadProgram[] = "C:\\JWW\\Jw_win.exe";

std::string WithSlash(std::string folder) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

// The file `name` of a Linux folder (with '/'), matched ignoring case; the
// name as given when there is no such file.
std::string FileInFolder(const std::string& folder, const std::string& name) {
  const std::string found = FindEntryIgnoringCase(folder, name);
  return folder + (found.empty() ? name : found);
}

// A Windows path (Shift-JIS) Jw_cad wrote, as a Linux path. A path that
// already is a Linux path stays; one Wine cannot place is returned as
// written (it names no file here). Characters that Shift-JIS folds together
// are matched against the names on disk.
std::string LinuxPathOf(const std::string& prefix, const std::string& sjisWindowsPath) {
  if (sjisWindowsPath.empty()) return std::string();
  const std::string utf8 = SjisToUtf8(sjisWindowsPath);
  const std::string unix = utf8[0] == '/' ? utf8 : WindowsToUnixPath(prefix, utf8);
  return unix.empty() ? utf8 : MatchBySjisForm(unix);
}

bool StartsWith(const std::string& s, const char* head) { return s.compare(0, std::char_traits<char>::length(head), head) == 0; }

}  // namespace

std::string TForm1::ReadJwCadCommand() const { return ReadJwwOpenCommand(WinePrefix); }

void TForm1::FindJwCadFolder() {
  // A quoted program path ("C:\Program Files\...\Jw_win.exe" "%1") is taken
  // whole; cutting it at its first blank would give a folder that begins
  // with a quote.
  std::string program = CommandProgramPath(ReadJwCadCommand());
  if (program.empty()) program = kDefaultJwCadProgram;
  JwCadProgram = program;
  const std::string folder = WindowsFolderOf(program);
  const std::string unix = folder.empty() ? std::string() : WindowsToUnixPath(WinePrefix, folder);
  JwCadFolder = unix.empty() ? std::string() : WithSlash(unix);
}

std::string TForm1::ReadJwcTempFileName() const {
  if (Gval.ProgramFolder.empty()) return std::string();
  const std::string path = FileInFolder(Gval.ProgramFolder, "JWC_TEMP.TXT");
  if (!FileExists(path)) return std::string();
  std::FILE* f = OpenFile(path, "rb");
  if (f == nullptr) return std::string();
  std::string result;
  TLineReader lines(f);
  std::string line;
  while (lines.Next(line)) {
    if (StartsWith(line, "file=")) {
      result = TrimBlanks(line.substr(5));
      break;
    }
  }
  std::fclose(f);
  return LinuxPathOf(WinePrefix, result);
}

void TForm1::ReadRefFileSetting() {
  if (JwCadFolder.empty()) return;
  const std::string path = FileInFolder(JwCadFolder, "Jw_win.jwf");
  if (!FileExists(path)) return;
  std::FILE* f = OpenFile(path, "rb");
  if (f == nullptr) return;
  TLineReader lines(f);
  std::string line;
  while (lines.Next(line)) {
    line = TrimBlanks(UpperAsciiSJIS(line));
    if (StartsWith(line, "END")) break;
    if (StartsWith(line, "REF_FILE =")) {
      RefFileName = TrimBlanks(line.substr(10));
      break;
    }
    if (StartsWith(line, "REF_FILE=")) {
      RefFileName = TrimBlanks(line.substr(9));
      break;
    }
  }
  std::fclose(f);
}

void TForm1::LoadRefFile() {
  if (RefFileName.empty()) return;
  // The entry is upper-cased by Jw_cad's reading, so every component is
  // matched ignoring case; an entry without a folder is looked up beside
  // the drawing (beside Jw_cad when no drawing is set).
  const std::string utf8 = SjisToUtf8(RefFileName);
  const std::string windowsFolder = WindowsFolderOf(utf8);
  std::string native;
  if (windowsFolder.empty() || utf8.size() < 2 || utf8[1] != ':') {
    const std::string base = DrawingPath.empty() ? JwCadFolder : DrawingFolder;
    if (!base.empty()) native = ResolveIgnoringCase(base, utf8);
  } else {
    native = WindowsToUnixPath(WinePrefix, utf8);
  }
  BindImg.RefStrList.clear();
  BindImg.RefStrCount = 0;
  if (native.empty()) return;
  if (!FileExists(native)) return;
  std::FILE* f = OpenFile(native, "rb");
  if (f == nullptr) return;
  TLineReader lines(f);
  std::string line;
  while (lines.Next(line)) {
    const size_t tab = line.find('\t');
    if (tab == std::string::npos) continue;
    const std::string name = line.substr(0, tab);
    if (name.empty() || RemoveSpaces(name) != name || !StartsWith(name, "%%")) continue;
    BindImg.RefStrList.push_back(TRefStrList{name, StripControlChars(line.substr(tab + 1))});
  }
  BindImg.RefStrCount = static_cast<int32_t>(BindImg.RefStrList.size());
  std::fclose(f);
}

namespace {

bool JwCadNotStarted(std::string* failure, const std::string& triedSjis, const std::string& reason) {
  if (failure != nullptr) *failure = Utf8ToSjis("Jw_cadを起動できませんでした。\r\n") + triedSjis + Utf8ToSjis("：") + reason;
  return false;
}

}  // namespace

bool TForm1::OpenInJwCad(const std::string& path, std::string* failure) const {
  if (path.empty()) return false;
  if (!FileExists(path)) return JwCadNotStarted(failure, SjisTextFromPath(path), DrawingMissingReason());
  // A program on a drive Wine does not know has no folder here.
  if (JwCadFolder.empty()) return JwCadNotStarted(failure, Utf8ToSjis(JwCadProgram), SystemReason(ENOENT));
  const std::string exe = FileInFolder(JwCadFolder, "Jw_win.exe");
  // Wine would start without it and end without a word.
  if (!FileExists(exe)) return JwCadNotStarted(failure, SjisTextFromPath(exe), SystemReason(ENOENT));
  std::string drawing = UnixToWindowsPath(WinePrefix, path);
  if (drawing.empty()) drawing = path;
  int error = 0;
  if (StartUnderWine(exe, {drawing}, JwCadFolder, &error)) return true;
  if (FindProgramOnPath("wine").empty()) return JwCadNotStarted(failure, SjisTextFromPath(exe), Utf8ToSjis("wineが見つかりません"));
  return JwCadNotStarted(failure, SjisTextFromPath(exe), SystemReason(error));
}
