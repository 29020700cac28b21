#include "dialog_fit.h"

#include <algorithm>
#include <string>

#include "dialog_layout.h"
#include "dialog_texts.h"
#include "win_text.h"

namespace {

// Pixels a control needs beside its text: a button's edges and focus frame,
// a group box's caption inset on both sides, a radio button's circle and gap.
int TextChrome(TControlKind kind) {
  switch (kind) {
    case TControlKind::Button:
    case TControlKind::DefaultButton: return 12;
    case TControlKind::GroupBox: return 20;
    default: return 0;
  }
}
int RadioChrome() { return GetSystemMetrics(SM_CXMENUCHECK) + 8; }

// Width of the text as drawn: a button shows "&Y" as an underlined Y.
int TextWidth(HDC dc, std::wstring text, bool prefix) {
  if (prefix) text.erase(std::remove(text.begin(), text.end(), L'&'), text.end());
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size.cx;
}

bool SameRow(const RECT& a, const RECT& b) { return a.top < b.bottom && b.top < a.bottom; }
bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
         inner.bottom <= outer.bottom;
}

}  // namespace

TFittedDialog FitDialogToFont(HFONT font) {
  const auto places = DialogControlPlaces();
  TFittedDialog fit;
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);

  std::vector<RECT> original;
  for (const TControlPlace& p : places) original.push_back(RECT{p.X, p.Y, p.X + p.W, p.Y + p.H});
  fit.Controls = original;
  for (size_t i = 0; i < places.size(); ++i) {
    const TControlPlace& p = places[i];
    if (p.Kind == TControlKind::Edit || p.Kind == TControlKind::ComboBox) continue;
    const char* text = DialogTextOf(p.Name);
    if (!text) continue;
    const bool prefix = p.Kind == TControlKind::Button || p.Kind == TControlKind::DefaultButton;
    const int need = TextWidth(dc, SjisToWide(text), prefix) + TextChrome(p.Kind);
    fit.Controls[i].right = std::max<LONG>(fit.Controls[i].right, fit.Controls[i].left + need);
  }
  for (int i = 0; i < kRadioItemCount; ++i) {
    RECT r = RadioItemRect(i);
    r.right = std::max<LONG>(r.right, r.left + TextWidth(dc, SjisToWide(kPlacementItems[i]), false) + RadioChrome());
    fit.RadioItems[i] = r;
  }
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);

  // A control pushes those after it on its row (left to right, as placed).
  for (size_t i = 0; i < places.size(); ++i) {
    for (size_t j = 0; j < places.size(); ++j) {
      const RECT& a = fit.Controls[i];
      RECT& b = fit.Controls[j];
      if (j == i || original[j].left < original[i].right || !SameRow(a, b)) continue;
      const LONG gap = original[j].left - original[i].right;
      const LONG shift = a.right + gap - b.left;
      if (shift > 0) OffsetRect(&b, shift, 0);
    }
  }
  // Group boxes keep their inner margin around what they held.
  for (size_t g = 0; g < places.size(); ++g) {
    if (places[g].Kind != TControlKind::GroupBox) continue;
    LONG& right = fit.Controls[g].right;
    for (size_t i = 0; i < places.size(); ++i) {
      if (i != g && Inside(original[i], original[g]))
        right = std::max(right, fit.Controls[i].right + original[g].right - original[i].right);
    }
    if (places[g].Id != kIdRadioGroup1) continue;
    for (int i = 0; i < kRadioItemCount; ++i)
      right = std::max(right, fit.RadioItems[i].right + original[g].right - RadioItemRect(i).right);
  }

  fit.ClientWidth = kDialogClientWidth;
  fit.ClientHeight = kDialogClientHeight;
  for (size_t i = 0; i < places.size(); ++i) {
    const LONG rightMargin = std::max<LONG>(0, kDialogClientWidth - original[i].right);
    fit.ClientWidth = std::max<int>(fit.ClientWidth, fit.Controls[i].right + rightMargin);
  }
  return fit;
}
