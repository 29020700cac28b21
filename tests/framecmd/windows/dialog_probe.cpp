// Drives tollwick.exe's settings dialog the way a user would, one scenario a
// row: prepares a program folder, starts the program there, checks every
// control's text and the values shown, changes them, closes the dialog by
// OK, cancel or the system menu, and checks the settings file afterwards and
// that the interface file was not touched.
// Usage: tollwick_dialog_probe.exe <tollwick.exe> <work folder> [screenshot.bmp]
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdlib>
#include <cwchar>
#include <filesystem>
#include <string>
#include <vector>

#include "dialog_font.h"
#include "dialog_ids.h"
#include "probe_util.h"

namespace fs = std::filesystem;

namespace {

const std::wstring kCaption = L"用紙枠の作図（Quillmoor用）";

constexpr COLORREF kBlack = RGB(0, 0, 0), kRed = RGB(255, 0, 0), kMaroon = RGB(128, 0, 0);

struct TExpectedText {
  int Id;
  const wchar_t* Name;
  const wchar_t* Text;
  COLORREF Color;  // of a label's text
};

// The texts a user must see, character for character, and their colours.
const TExpectedText kTexts[] = {
    {kIdLabel1, L"Label1", L"作図する用紙枠は、補助線色・倍長線種４・線幅200固定とします。", kBlack},
    {kIdLabel3, L"Label3", L"書込みレイヤグループ・レイヤに作図します。", kBlack},
    {kIdLabel2, L"Label2", L"用紙サイズ：", kBlack},
    {kIdRadioGroup1, L"RadioGroup1", L"配置基準", kBlack},
    {kIdButton1, L"Button1", L"OK(&Y)", kBlack},
    {kIdButton2, L"Button2", L"キャンセル(&N)", kBlack},
    {kIdLabel4, L"Label4", L"※タイル作図は、用紙枠間に 1mmの間隔を付けます。そのため、無指定", kRed},
    {kIdLabel5, L"Label5", L"(設定用紙サイズ)にした場合、用紙サイズよりも1mm小さくなります。", kRed},
    {kIdLabel6, L"Label6", L"※用紙枠上の点は対象外となりますので注意して下さい。", kRed},
    {kIdLabel17, L"Label17", L"※順番確認を行った後はJw_cadの[戻る]で削除しておいて下さい。", kMaroon},
    {kIdGroupBox1, L"GroupBox1", L"ファイル名文字", kBlack},
    {kIdLabel9, L"Label9", L"ファイル名文字は、任意サイズ文字で色No.9(補助線色)の", kBlack},
    {kIdLabel10, L"Label10", L"「【名】○○○」という内容の文字要素で左下点が用紙枠内に", kBlack},
    {kIdLabel12, L"Label12", L"あるものとします。\u3000,.\\/ []|'\"+*?<>~ の文字は使えません。", kBlack},
    {kIdLabel7, L"Label7", L"○○○には分割保存ファイル名を記述します（Ravelin依存）", kBlack},
    {kIdLabel8, L"Label8", L"文字の幅：", kBlack},
    {kIdLabel11, L"Label11", L"高さ：", kBlack},
    {kIdLabel13, L"Label13", L"間隔：", kBlack},
    {kIdLabel14, L"Label14", L"mm", kBlack},
    {kIdLabel15, L"Label15", L"[ﾌｧｲﾙ名・ﾚｲﾔ]を選んだ場合は、書込みレイヤグループ・編集可能", kBlack},
    {kIdLabel16, L"Label16", L"及び表示のみレイヤの要素データを対象として分割保存します。", kBlack},
};
const wchar_t* const kPaperItems[] = {L"Ａ０",   L"Ａ１",   L"Ａ２",   L"Ａ３",   L"Ａ４",
                                      L"Ａ０縦", L"Ａ１縦", L"Ａ２縦", L"Ａ３縦", L"Ａ４縦"};
const wchar_t* const kPlacementItems[] = {L"左上", L"左中", L"左下", L"中上", L"中中",
                                          L"中下", L"右上", L"右中", L"右下"};

// How the dialog is closed: its buttons, the keys Enter and Escape typed in
// an edit, or the system menu.
enum class TClose { Ok, Cancel, EnterKey, EscapeKey, SystemMenu };

struct TScenario {
  const wchar_t* Name;
  const char* SettingsBefore;  // nullptr: no settings file
  std::vector<std::wstring> Args;
  // Shown by the dialog.
  bool Minimised;
  bool Centred;  // else at (Left, Top)
  int Left, Top, Paper, Placement;
  const wchar_t *Width, *Height, *Spacing;
  // Done by the probe: move to (210, 120), paper 7, placement 5, sizes
  // 0.05, 2000, -1, then close.
  bool Change;
  TClose Close;
  // Settings file afterwards; nullptr: unchanged. "{L}" and "{T}" stand for
  // the window's position when it closed.
  const char* SettingsAfter;
};

const TScenario kScenarios[] = {
    {L"defaults, changed, OK", nullptr, {}, false, false, 100, 100, 0, 0, L"5", L"5", L"0", true, TClose::Ok,
     "210\r\n120\r\n7\r\n5\r\n0.1\r\n1000\r\n-0.09\r\n"},
    {L"stored values, changed, cancel", "150\r\n80\r\n3\r\n8\r\n2.5\r\n4\r\n0.5\r\n", {}, false, false, 150, 80, 3,
     8, L"2.5", L"4", L"0.5", true, TClose::Cancel, nullptr},
    {L"mode 8, two-line settings, Escape", "150\r\n80\r\n", {L"8"}, false, false, 150, 80, 0, 0, L"5", L"5", L"0",
     true, TClose::EscapeKey, nullptr},
    {L"position on no screen, indexes out of range, Enter", "30000\r\n-30000\r\n12\r\n-1\r\n", {}, false, true, 0,
     0, 0, 0, L"5", L"5", L"0", false, TClose::EnterKey, "{L}\r\n{T}\r\n0\r\n0\r\n5\r\n5\r\n0\r\n"},
    {L"mode 0, minimised", nullptr, {L"0"}, true, false, 100, 100, 0, 0, L"5", L"5", L"0", false,
     TClose::SystemMenu, nullptr},
    {L"a word for the mode, minimised", nullptr, {L"abc", L"x"}, true, false, 100, 100, 0, 0, L"5", L"5", L"0",
     false, TClose::SystemMenu, nullptr},
};

// The interface file every scenario starts with; the dialog must leave it.
const char kInterfaceFile[] = "lg0 1\r\nly0 1\r\nhp1 100 50\r\nhp2 300 50\r\n";

std::wstring Str(int v) { return std::to_wstring(v); }

void CheckTexts(HWND dialog, const std::wstring& scenario) {
  for (const TExpectedText& t : kTexts) {
    HWND control = GetDlgItem(dialog, t.Id);
    if (!control) Fail(scenario + L": no control " + t.Name);
    else if (WindowText(control) != t.Text)
      Fail(scenario + L": " + t.Name + L" shows \"" + WindowText(control) + L"\", not \"" + t.Text + L"\"");
  }
  HWND combo = GetDlgItem(dialog, kIdComboBox1);
  const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  if (count != 10) Fail(scenario + L": ComboBox1 holds " + Str(static_cast<int>(count)) + L" items");
  for (int i = 0; i < 10 && i < count; ++i) {
    wchar_t item[64] = {};
    SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
    if (std::wstring(item) != kPaperItems[i]) Fail(scenario + L": paper item " + Str(i) + L" is " + item);
  }
  RECT first{};
  GetWindowRect(GetDlgItem(dialog, kIdRadioItem0), &first);
  for (int i = 0; i < 9; ++i) {
    HWND radio = GetDlgItem(dialog, kIdRadioItem0 + i);
    if (WindowText(radio) != kPlacementItems[i]) Fail(scenario + L": radio item " + Str(i) + L" is " + WindowText(radio));
    // Item i sits at row i mod 3, column i div 3.
    RECT r{}, sameRow{}, sameColumn{};
    GetWindowRect(radio, &r);
    GetWindowRect(GetDlgItem(dialog, kIdRadioItem0 + i % 3), &sameRow);
    GetWindowRect(GetDlgItem(dialog, kIdRadioItem0 + (i / 3) * 3), &sameColumn);
    const bool rowOk = r.top == sameRow.top && (i % 3 == 0 || r.top > first.top);
    const bool columnOk = r.left == sameColumn.left && (i / 3 == 0 || r.left > first.left);
    if (!rowOk || !columnOk) Fail(scenario + L": radio item " + Str(i) + L" is not at row i mod 3, column i div 3");
  }
  for (int id : {kIdEdit1, kIdEdit2, kIdEdit3}) {
    const LRESULT limit = SendDlgItemMessageW(dialog, id, EM_GETLIMITTEXT, 0, 0);
    if (limit != 6) Fail(scenario + L": edit " + Str(id) + L" takes " + Str(static_cast<int>(limit)) + L" characters");
  }
}

// Every text fits its control as the control's own font measures it: a
// label's text within its width and height; a button's, a group box's
// caption and a radio button's beside the room their frame, inset or
// circle take. Measured in the font the dialog picks on this system (a font
// handle of another process cannot be read), so a face wider than the one
// the layout was made for (IPA Gothic under Wine) counts.
void CheckTextsFit(HWND dialog, const std::wstring& scenario) {
  HFONT font = CreateDialogFont(L"ＭＳ ゴシック", 13);
  std::vector<std::pair<int, std::wstring>> controls;
  for (const TExpectedText& t : kTexts) controls.emplace_back(t.Id, t.Name);
  for (int i = 0; i < 9; ++i) controls.emplace_back(kIdRadioItem0 + i, L"radio item " + Str(i));
  RECT dialogClient{};
  GetClientRect(dialog, &dialogClient);
  for (const auto& [id, name] : controls) {
    HWND control = GetDlgItem(dialog, id);
    wchar_t className[16] = {};
    GetClassNameW(control, className, 16);
    const LONG style = GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
    const bool label = _wcsicmp(className, L"Static") == 0;
    std::wstring text = WindowText(control);
    int chromeX = 0, chromeY = 0;
    if (!label) {
      text.erase(std::remove(text.begin(), text.end(), L'&'), text.end());  // drawn as an underline
      if (style == BS_GROUPBOX) chromeX = 12;
      else if (style == BS_AUTORADIOBUTTON) chromeX = GetSystemMetrics(SM_CXMENUCHECK) + 4;
      else chromeX = 8, chromeY = 4;
    }
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (extent.cx + chromeX > w || extent.cy + chromeY > h ||
        r.right > dialogClient.right)
      Fail(scenario + L": " + name + L" needs " + Str(extent.cx + chromeX) + L" x " + Str(extent.cy) + L" px, has " +
           Str(w) + L" x " + Str(h) + L" ending at " + Str(r.right) + L" of " + Str(dialogClient.right));
  }
  DeleteObject(font);
}

// Labels show their text in their own colour (antialiasing never blends one
// text colour on white into another), on the white of the window.
void CheckColours(HWND dialog, const TWindowShot& shot) {
  for (const TExpectedText& t : kTexts) {
    if (wcsncmp(t.Name, L"Label", 5) != 0) continue;
    RECT r{};
    GetWindowRect(GetDlgItem(dialog, t.Id), &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    int own = 0, other = 0;
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) {
        const COLORREF c = shot.ClientPixel(x, y);
        if (c == t.Color) ++own;
        else if (c == kBlack || c == kRed || c == kMaroon) ++other;
      }
    }
    if (own == 0 || other > 0) Fail(std::wstring(t.Name) + L": text not drawn in its own colour");
  }
  for (POINT p : {POINT{0, 0}, POINT{445, 376}, POINT{442, 100}})
    if (shot.ClientPixel(p.x, p.y) != RGB(255, 255, 255))
      Fail(L"background at " + Str(p.x) + L", " + Str(p.y) + L" is not white");
}

void CheckFrame(HWND dialog, const TScenario& s) {
  const std::wstring name = s.Name;
  RECT client{};
  GetClientRect(dialog, &client);
  // 446 x 377, wider only when the font's texts need it (CheckTextsFit).
  if (!s.Minimised && (client.right < 446 || client.bottom != 377))
    Fail(name + L": client area " + Str(client.right) + L" x " + Str(client.bottom));
  const LONG style = GetWindowLongW(dialog, GWL_STYLE);
  if (!(style & WS_SYSMENU) || !(style & WS_MINIMIZEBOX) || (style & WS_MAXIMIZEBOX) || (style & WS_THICKFRAME))
    Fail(name + L": not a fixed single border with system menu and minimise box");
  if ((IsIconic(dialog) != FALSE) != s.Minimised) Fail(name + L": minimised is " + Str(IsIconic(dialog)));
  if (s.Minimised) return;

  RECT r{};
  GetWindowRect(dialog, &r);
  if (s.Centred) {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int dx = (r.left + r.right) - (work.left + work.right), dy = (r.top + r.bottom) - (work.top + work.bottom);
    if (std::abs(dx) > 2 || std::abs(dy) > 2) Fail(name + L": window not centred, at " + Str(r.left) + L", " + Str(r.top));
  } else if (r.left != s.Left || r.top != s.Top) {
    Fail(name + L": window at " + Str(r.left) + L", " + Str(r.top) + L", not " + Str(s.Left) + L", " + Str(s.Top));
  }
}

void CheckValues(HWND dialog, const TScenario& s) {
  const std::wstring name = s.Name;
  const LRESULT paper = SendDlgItemMessageW(dialog, kIdComboBox1, CB_GETCURSEL, 0, 0);
  if (paper != s.Paper) Fail(name + L": paper " + Str(static_cast<int>(paper)) + L" selected");
  for (int i = 0; i < 9; ++i) {
    const bool checked = SendDlgItemMessageW(dialog, kIdRadioItem0 + i, BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (checked != (i == s.Placement)) Fail(name + L": radio item " + Str(i) + L" checked is " + Str(checked));
  }
  const struct {
    int Id;
    const wchar_t* Want;
  } edits[] = {{kIdEdit1, s.Width}, {kIdEdit2, s.Height}, {kIdEdit3, s.Spacing}};
  for (const auto& e : edits) {
    const std::wstring shown = EditText(GetDlgItem(dialog, e.Id));
    if (shown != e.Want) Fail(name + L": edit " + Str(e.Id) + L" shows " + shown + L", not " + e.Want);
  }
}

void Change(HWND dialog) {
  SetWindowPos(dialog, nullptr, 210, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  SendDlgItemMessageW(dialog, kIdComboBox1, CB_SETCURSEL, 7, 0);
  SendDlgItemMessageW(dialog, kIdRadioItem0 + 5, BM_CLICK, 0, 0);
  SetDlgItemTextW(dialog, kIdEdit1, L"0.05");
  SetDlgItemTextW(dialog, kIdEdit2, L"2000");
  SetDlgItemTextW(dialog, kIdEdit3, L"-1");
}

std::string Expand(std::string pattern, const RECT& at) {
  for (auto [key, value] : {std::pair{std::string("{L}"), at.left}, std::pair{std::string("{T}"), at.top}}) {
    const size_t p = pattern.find(key);
    if (p != std::string::npos) pattern.replace(p, key.size(), std::to_string(value));
  }
  return pattern;
}

void RunScenario(const fs::path& exe, const fs::path& root, int index, const TScenario& s, const fs::path& shot) {
  const std::wstring name = s.Name;
  const fs::path folder = root / (L"dialog" + Str(index));
  fs::remove_all(folder);
  fs::create_directories(folder);
  fs::copy_file(exe, folder / L"tollwick.exe");
  WriteBytes(folder / L"JWC_TEMP.TXT", kInterfaceFile);
  if (s.SettingsBefore) WriteBytes(folder / L"tollwick.dat", s.SettingsBefore);
  const std::string settingsBefore = ReadBytes(folder / L"tollwick.dat");

  std::wstring command = L"\"" + (folder / L"tollwick.exe").wstring() + L"\"";
  for (const std::wstring& a : s.Args) command += L" " + a;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  // Started from the work root: the program must use its own folder.
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, root.wstring().c_str(), &startup,
                      &process)) {
    Fail(name + L": cannot start tollwick.exe");
    return;
  }
  HWND dialog = WaitForProcessWindow(process.dwProcessId, kCaption, 20000);
  RECT closedAt{};
  if (!dialog) {
    Fail(name + L": no window captioned " + kCaption);
    TerminateProcess(process.hProcess, 99);
  } else {
    Sleep(300);  // let it paint
    CheckFrame(dialog, s);
    CheckTexts(dialog, name);
    if (!s.Minimised) CheckTextsFit(dialog, name);
    CheckValues(dialog, s);
    if (!shot.empty()) {
      SetForegroundWindow(dialog);
      RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
      Sleep(300);
      const TWindowShot picture(dialog);
      CheckColours(dialog, picture);
      if (picture.SaveBmp(shot)) Note(L"screenshot: " + shot.wstring());
    }
    if (s.Change) Change(dialog);
    GetWindowRect(dialog, &closedAt);
    switch (s.Close) {
      case TClose::Ok: SendDlgItemMessageW(dialog, kIdButton1, BM_CLICK, 0, 0); break;
      case TClose::Cancel: SendDlgItemMessageW(dialog, kIdButton2, BM_CLICK, 0, 0); break;
      case TClose::EnterKey: PostMessageW(GetDlgItem(dialog, kIdEdit2), WM_KEYDOWN, VK_RETURN, 1); break;
      case TClose::EscapeKey: PostMessageW(GetDlgItem(dialog, kIdEdit2), WM_KEYDOWN, VK_ESCAPE, 1); break;
      case TClose::SystemMenu: PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); break;
    }
  }
  if (WaitForSingleObject(process.hProcess, 20000) != WAIT_OBJECT_0) {
    Fail(name + L": tollwick.exe did not end after the dialog closed");
    TerminateProcess(process.hProcess, 99);
    WaitForSingleObject(process.hProcess, 5000);
  }
  DWORD status = 0;
  GetExitCodeProcess(process.hProcess, &status);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  if (status != 0) Fail(name + L": exit status " + Str(static_cast<int>(status)));

  const std::string want = s.SettingsAfter ? Expand(s.SettingsAfter, closedAt) : settingsBefore;
  const std::string got = ReadBytes(folder / L"tollwick.dat");
  if (got != want) {
    Fail(name + L": settings file differs");
    Note(L"  expected: " + std::wstring(want.begin(), want.end()));
    Note(L"  written:  " + std::wstring(got.begin(), got.end()));
  }
  if (ReadBytes(folder / L"JWC_TEMP.TXT") != kInterfaceFile) Fail(name + L": JWC_TEMP.TXT was changed");
  // Nothing else may be left behind (temporary files), here or in the working folder.
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::wstring file = entry.path().filename().wstring();
    if (file != L"tollwick.exe" && file != L"JWC_TEMP.TXT" && file != L"tollwick.dat")
      Fail(name + L": left " + file + L" behind");
  }
  if (fs::exists(root / L"tollwick.dat")) Fail(name + L": wrote settings into the working folder");
}

// A mode run does its work without ever showing a window.
void RunModeWithoutWindow(const fs::path& exe, const fs::path& root) {
  const fs::path folder = root / L"mode1";
  fs::remove_all(folder);
  fs::create_directories(folder);
  fs::copy_file(exe, folder / L"tollwick.exe");
  WriteBytes(folder / L"JWC_TEMP.TXT", kInterfaceFile);
  std::wstring command = L"\"" + (folder / L"tollwick.exe").wstring() + L"\" 1";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, root.wstring().c_str(), &startup,
                      &process)) {
    Fail(L"mode 1: cannot start tollwick.exe");
    return;
  }
  if (ProcessShowsWindow(process.hProcess, process.dwProcessId, 20000))
    Fail(L"mode 1: showed a window or did not end");
  DWORD status = 0;
  GetExitCodeProcess(process.hProcess, &status);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  if (status != 0) Fail(L"mode 1: exit status " + Str(static_cast<int>(status)));
  if (ReadBytes(folder / L"JWC_TEMP.TXT").find("lc9") == std::string::npos)
    Fail(L"mode 1: JWC_TEMP.TXT holds no frame");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    Note(L"usage: tollwick_dialog_probe <tollwick.exe> <work folder> [screenshot.bmp]");
    return 2;
  }
  const fs::path exe = argv[1], root = argv[2];
  const fs::path shot = argc > 3 ? fs::path(argv[3]) : fs::path();
  fs::create_directories(root);
  int index = 0;
  for (const TScenario& s : kScenarios) {
    Note(L"dialog: " + std::wstring(s.Name));
    RunScenario(exe, root, index, s, index == 0 ? shot : fs::path());
    ++index;
  }
  Note(L"mode 1 with a display");
  RunModeWithoutWindow(exe, root);
  Note(L"dialog scenarios: " + Str(index) + L", failures: " + Str(FailureCount()));
  return FailureCount() == 0 ? 0 : 1;
}
