#include "dialog_font.h"

#include <cwchar>

namespace {

// Japanese faces found on Windows and under Wine, tried after the preferred one.
constexpr const wchar_t* kFallbackFaces[] = {
    L"MS Gothic", L"MS UI Gothic", L"Meiryo UI", L"Meiryo", L"Yu Gothic UI",
    L"IPAGothic", L"IPAゴシック", L"TakaoGothic", L"VL Gothic", L"Noto Sans CJK JP",
};

int CALLBACK NoteFaceFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;  // one match is enough
}

bool HasJapaneseFace(HDC dc, const wchar_t* face) {
  LOGFONTW query{};
  query.lfCharSet = SHIFTJIS_CHARSET;
  wcsncpy(query.lfFaceName, face, LF_FACESIZE - 1);
  bool found = false;
  EnumFontFamiliesExW(dc, &query, NoteFaceFound, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

}  // namespace

HFONT CreateDialogFont(const wchar_t* preferredFace, int pixelHeight) {
  LOGFONTW font{};
  font.lfHeight = -pixelHeight;
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = SHIFTJIS_CHARSET;
  font.lfQuality = DEFAULT_QUALITY;
  font.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;

  // With no face found the font mapper still picks a Shift-JIS face by charset.
  const wchar_t* face = preferredFace;
  HDC dc = GetDC(nullptr);
  if (!HasJapaneseFace(dc, preferredFace)) {
    face = L"";
    for (const wchar_t* candidate : kFallbackFaces) {
      if (HasJapaneseFace(dc, candidate)) {
        face = candidate;
        break;
      }
    }
  }
  ReleaseDC(nullptr, dc);
  wcsncpy(font.lfFaceName, face, LF_FACESIZE - 1);
  return CreateFontIndirectW(&font);
}
