#include "dialog_window.h"

#include <windows.h>
#include <imm.h>

#include <cstring>

#include "dialog_fit.h"
#include "dialog_font.h"
#include "dialog_ids.h"
#include "dialog_layout.h"
#include "dialog_texts.h"
#include "win_text.h"

namespace {

constexpr wchar_t kWindowClass[] = L"TollwickSettingsDialog";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;

// State of the one dialog a process shows.
struct TDialogState {
  HFONT Font = nullptr;
  TFittedDialog Layout;
  HBRUSH Background = nullptr;
  bool Accepted = false;
  bool Closed = false;
  TDialogValues Result;
};
TDialogState* gDialog = nullptr;

std::wstring ControlText(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  const int n = GetWindowTextLengthW(control);
  std::wstring text(static_cast<size_t>(n) + 1, L'\0');
  GetWindowTextW(control, text.data(), n + 1);
  text.resize(static_cast<size_t>(n));
  return text;
}

COLORREF ToColorRef(uint32_t rgb) { return RGB(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF); }

COLORREF TextColorOf(const char* name) {
  for (int i = 0; i < kDialogTextCount; ++i)
    if (std::strcmp(kDialogTexts[i].Control, name) == 0) return ToColorRef(kDialogTexts[i].Color);
  return ToColorRef(kTextBlack);
}

COLORREF TextColorOfId(int id) {
  for (const TControlPlace& place : DialogControlPlaces())
    if (place.Id == id) return TextColorOf(place.Name);
  return ToColorRef(kTextBlack);
}

std::wstring CoreText(const char* name) {
  const char* text = DialogTextOf(name);
  return text ? SjisToWide(text) : std::wstring();
}

HWND CreateControl(HWND parent, HINSTANCE instance, int id, const wchar_t* className, const wchar_t* text,
                   DWORD style, const RECT& r) {
  HWND control = CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                                 r.right - r.left, r.bottom - r.top, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(gDialog->Font), FALSE);
  return control;
}

void CreateControls(HWND dialog, HINSTANCE instance) {
  size_t row = 0;
  for (const TControlPlace& place : DialogControlPlaces()) {
    const RECT r = gDialog->Layout.Controls[row++];
    const std::wstring text = CoreText(place.Name);
    switch (place.Kind) {
      case TControlKind::Label:
        CreateControl(dialog, instance, place.Id, L"STATIC", text.c_str(), SS_LEFTNOWORDWRAP | SS_NOPREFIX, r);
        break;
      case TControlKind::GroupBox:
        CreateControl(dialog, instance, place.Id, L"BUTTON", text.c_str(), BS_GROUPBOX, r);
        break;
      case TControlKind::ComboBox: {
        HWND combo = CreateControl(dialog, instance, place.Id, L"COMBOBOX", L"",
                                   CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP, r);
        for (const char* item : kPaperItems) {
          const std::wstring wide = SjisToWide(item);
          SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
        }
        break;
      }
      case TControlKind::Edit: {
        HWND edit = CreateControl(dialog, instance, place.Id, L"EDIT", L"",
                                  ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_GROUP, r);
        SendMessageW(edit, EM_SETLIMITTEXT, kEditMaxChars, 0);
        // Sizes are typed as plain digits: keep the input method off here.
        ImmAssociateContextEx(edit, nullptr, 0);
        break;
      }
      case TControlKind::Button:
      case TControlKind::DefaultButton: {
        const DWORD kind = place.Kind == TControlKind::DefaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        CreateControl(dialog, instance, place.Id, L"BUTTON", text.c_str(), kind | WS_TABSTOP | WS_GROUP, r);
        break;
      }
    }
  }
  for (int i = 0; i < kRadioItemCount; ++i) {
    const DWORD first = i == 0 ? WS_GROUP | WS_TABSTOP : 0;
    CreateControl(dialog, instance, kIdRadioItem0 + i, L"BUTTON", SjisToWide(kPlacementItems[i]).c_str(),
                  BS_AUTORADIOBUTTON | first, gDialog->Layout.RadioItems[i]);
  }
}

int CheckedRadioItem(HWND dialog) {
  for (int i = 0; i < kRadioItemCount; ++i)
    if (IsDlgButtonChecked(dialog, kIdRadioItem0 + i) == BST_CHECKED) return i;
  return -1;
}

void Accept(HWND dialog) {
  TDialogValues& v = gDialog->Result;
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  RECT r{};
  if (IsIconic(dialog) && GetWindowPlacement(dialog, &placement)) r = placement.rcNormalPosition;
  else GetWindowRect(dialog, &r);
  v.Left = r.left;
  v.Top = r.top;
  v.PaperIndex = static_cast<int>(SendDlgItemMessageW(dialog, kIdComboBox1, CB_GETCURSEL, 0, 0));
  v.PlacementIndex = CheckedRadioItem(dialog);
  v.Width = ControlText(dialog, kIdEdit1);
  v.Height = ControlText(dialog, kIdEdit2);
  v.Spacing = ControlText(dialog, kIdEdit3);
  gDialog->Accepted = true;
  DestroyWindow(dialog);
}

LRESULT CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      CreateControls(dialog, reinterpret_cast<CREATESTRUCTW*>(lParam)->hInstance);
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, TextColorOfId(GetDlgCtrlID(reinterpret_cast<HWND>(lParam))));
      SetBkColor(dc, ToColorRef(kDialogBackground));
      return reinterpret_cast<LRESULT>(gDialog->Background);
    }
    case DM_GETDEFID:
      return MAKELRESULT(kIdButton1, DC_HASDEFID);
    case WM_COMMAND:
      if (LOWORD(wParam) == kIdButton1 && HIWORD(wParam) == BN_CLICKED) Accept(dialog);
      else if (LOWORD(wParam) == kIdButton2 && HIWORD(wParam) == BN_CLICKED) DestroyWindow(dialog);
      return 0;
    case WM_CLOSE:
      DestroyWindow(dialog);
      return 0;
    case WM_DESTROY:
      gDialog->Closed = true;
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(dialog, message, wParam, lParam);
  }
}

// The stored corner when the window would show on some screen, else the
// corner that centres it on the primary screen's work area.
POINT PlaceOnScreen(int left, int top, int width, int height) {
  const RECT wanted{left, top, left + width, top + height};
  if (MonitorFromRect(&wanted, MONITOR_DEFAULTTONULL)) return POINT{left, top};
  RECT work{};
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0))
    work = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  return POINT{work.left + (work.right - work.left - width) / 2, work.top + (work.bottom - work.top - height) / 2};
}

void FillControls(HWND dialog, const TDialogValues& v) {
  SendDlgItemMessageW(dialog, kIdComboBox1, CB_SETCURSEL, static_cast<WPARAM>(v.PaperIndex), 0);
  if (v.PlacementIndex >= 0 && v.PlacementIndex < kRadioItemCount)
    CheckRadioButton(dialog, kIdRadioItem0, kIdRadioItem0 + kRadioItemCount - 1, kIdRadioItem0 + v.PlacementIndex);
  SetDlgItemTextW(dialog, kIdEdit1, v.Width.c_str());
  SetDlgItemTextW(dialog, kIdEdit2, v.Height.c_str());
  SetDlgItemTextW(dialog, kIdEdit3, v.Spacing.c_str());
}

}  // namespace

bool RunSettingsDialog(const TDialogValues& initial, bool minimised, TDialogValues& result) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  TDialogState state;
  gDialog = &state;
  state.Font = CreateDialogFont(SjisToWide(kDialogFontName).c_str(), kDialogFontHeightPx);
  state.Background = CreateSolidBrush(ToColorRef(kDialogBackground));

  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DialogProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  wc.hbrBackground = state.Background;
  wc.lpszClassName = kWindowClass;
  RegisterClassExW(&wc);

  state.Layout = FitDialogToFont(state.Font);
  RECT frame{0, 0, state.Layout.ClientWidth, state.Layout.ClientHeight};
  AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  const POINT corner = PlaceOnScreen(initial.Left, initial.Top, width, height);

  HWND dialog = CreateWindowExW(kExStyle, kWindowClass, SjisToWide(kDialogCaption).c_str(), kStyle, corner.x, corner.y, width, height,
                                nullptr, nullptr, instance, nullptr);
  bool accepted = false;
  if (dialog) {
    FillControls(dialog, initial);
    ShowWindow(dialog, minimised ? SW_SHOWMINIMIZED : SW_SHOWNORMAL);
    UpdateWindow(dialog);
    // Keys go to the first control in tab order, as in any dialog.
    SetFocus(GetNextDlgTabItem(dialog, nullptr, FALSE));
    MSG msg;
    while (!state.Closed && GetMessageW(&msg, nullptr, 0, 0) > 0) {
      if (IsDialogMessageW(dialog, &msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    accepted = state.Accepted;
    if (accepted) result = state.Result;
  }
  DeleteObject(state.Font);
  DeleteObject(state.Background);
  gDialog = nullptr;
  return accepted;
}
