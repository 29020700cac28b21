// Element records built from element lines. Every element takes the
// attributes current when its line is read.
#include <cmath>

#include "func.h"
#include "jwc_elements.h"

namespace {

double Real(const TJwcTokens& t, size_t i) { return StrToFloatOrZero(t[i]); }

TJwwEntHeader CurrentHeader(const TJwcData& d) {
  TJwwEntHeader h;
  h.HhpValue = d.HhpValue;
  h.LayerGroup = d.CurGroup;
  h.Layer = d.CurLayer;
  h.Color = d.CurColor;
  h.LineType = d.CurLineType;
  h.LineWidth = d.CurLineWidth;
  h.PendingFlags = d.PendingFlags;
  return h;
}

void AddOrderItem(TJwcData& d, int32_t kind, size_t row) {
  d.EntityOrder.push_back(TEntityOrderItem{kind, static_cast<int32_t>(row)});
}

template <typename T>
T& NewRow(TJwcData& d, TJwcData::Rows<T>& list, int32_t kind) {
  AddOrderItem(d, kind, list.size());
  list.emplace_back();
  list.back().Header = CurrentHeader(d);
  return list.back();
}

// After an element of kinds 2 to 15.
void EndElement(TJwcData& d) {
  d.PendingFlags = 0;
  d.PlMode = false;
  d.MsgMode = false;
}

int32_t TextSubKind(const std::string& k) {
  static constexpr const char* kKeywords[] = {"ch", "cv", "cs", "cr", "co", "cp", "ct", "ck", "cz", "c2"};
  for (int32_t i = 0; i < 10; ++i) {
    if (k == kKeywords[i]) return i;
  }
  return -1;
}

void FillText(const TJwcData& d, TJwwEntText& r, int32_t subKind, const TJwcTokens& t) {
  r.Header.KindWord = subKind;
  r.CcValue = d.CurCc;
  r.TextType = d.CurTextType;
  if (d.CurTextType >= 1 && d.CurTextType <= 10) {
    const TTextTypeEntry& e = d.TextTypes[d.CurTextType - 1];
    r.Width = e.Width;
    r.Height = e.Height;
    r.Spacing = e.Spacing;
    r.Header.Color = e.Color;
  } else {
    r.Width = d.CurFreeText.Width;
    r.Height = d.CurFreeText.Height;
    r.Spacing = d.CurFreeText.Spacing;
    r.Header.Color = d.CurFreeText.Color;
  }
  r.X = Real(t, 1);
  r.Y = Real(t, 2);
  r.DX = Real(t, 3);
  r.DY = Real(t, 4);
  r.Font = CutToContentLength(d.CurFont);
  r.Text = CutToContentLength(t[5]);
}

bool Same(double ax, double ay, double bx, double by) {
  return std::fabs(ax - bx) <= 1e-10 && std::fabs(ay - by) <= 1e-10;
}

void AddSl2(TJwcData& d, double x1, double y1, double x2, double y2) {
  TJwwEntSl2& r = NewRow(d, d.Sl2, 9);
  r.Header.KindWord = d.ExtColor;
  const double v[4] = {x1, y1, x2, y2};
  for (int i = 0; i < 4; ++i) r.V[i] = v[i];
}

void AddSl3(TJwcData& d, const double (&p)[4][2], int a, int b, int c) {
  TJwwEntSl3& r = NewRow(d, d.Sl3, 10);
  r.Header.KindWord = d.ExtColor;
  const int idx[3] = {a, b, c};
  for (int i = 0; i < 3; ++i) {
    r.V[2 * i] = p[idx[i]][0];
    r.V[2 * i + 1] = p[idx[i]][1];
  }
}

// "sl": solids of two, three or four corners, equal corners merged.
void AddSolid(TJwcData& d, const TJwcTokens& t) {
  const size_t n = t.size();
  if (n == 5) {
    AddSl2(d, Real(t, 1), Real(t, 2), Real(t, 3), Real(t, 4));
    return;
  }
  double p[4][2] = {};
  const int corners = n >= 9 ? 4 : 3;
  for (int i = 0; i < corners; ++i) {
    p[i][0] = Real(t, static_cast<size_t>(2 * i + 1));
    p[i][1] = Real(t, static_cast<size_t>(2 * i + 2));
  }
  auto eq = [&](int a, int b) { return Same(p[a][0], p[a][1], p[b][0], p[b][1]); };
  if (corners == 3) {
    if (eq(0, 1)) {
      AddSl2(d, p[0][0], p[0][1], p[2][0], p[2][1]);
    } else if (eq(1, 2)) {
      AddSl2(d, p[0][0], p[0][1], p[1][0], p[1][1]);
    } else {
      AddSl3(d, p, 0, 1, 2);
    }
  } else if (eq(0, 1) && eq(0, 2)) {
    AddSl2(d, p[0][0], p[0][1], p[3][0], p[3][1]);
  } else if (eq(1, 2) && eq(1, 3)) {
    AddSl2(d, p[0][0], p[0][1], p[1][0], p[1][1]);
  } else if (eq(0, 1) && eq(2, 3)) {
    AddSl2(d, p[0][0], p[0][1], p[2][0], p[2][1]);
  } else if (eq(3, 0) || eq(3, 1) || eq(3, 2)) {
    AddSl3(d, p, 0, 1, 2);
  } else if (eq(2, 0) || eq(2, 1)) {
    AddSl3(d, p, 0, 1, 3);
  } else if (eq(1, 0)) {
    AddSl3(d, p, 0, 2, 3);
  } else {
    TJwwEntSl4& r = NewRow(d, d.Sl4, 11);
    r.Header.KindWord = d.ExtColor;
    for (int i = 0; i < 4; ++i) {
      r.V[2 * i] = p[i][0];
      r.V[2 * i + 1] = p[i][1];
    }
  }
}

template <typename T, size_t N>
void AddReals(TJwcData& d, TJwcData::Rows<T>& list, int32_t kind, const TJwcTokens& t) {
  T& r = NewRow(d, list, kind);
  r.Header.KindWord = d.ExtColor;
  for (size_t i = 0; i < N; ++i) r.V[i] = Real(t, i + 1);
  if constexpr (requires { r.N; }) r.N = StrToIntOrZero(t[N + 1]);
}

}  // namespace

bool AddElementLine(TJwcData& d, const TJwcTokens& t) {
  const std::string& k = t[0];
  const size_t n = t.size();
  const int32_t textKind = TextSubKind(k);
  if (k == "ci") {
    if (n == 4) {
      TJwwEntCircle& r = NewRow(d, d.Circles, 2);
      r.X = Real(t, 1);
      r.Y = Real(t, 2);
      r.R = Real(t, 3);
    } else if (n >= 8) {
      TJwwEntArc& r = NewRow(d, d.Arcs, 3);
      for (size_t i = 0; i < 7; ++i) r.V[i] = Real(t, i + 1);
    } else {
      return true;
    }
  } else if (textKind >= 0) {
    if (n < 6) return true;
    if (d.MsgMode && k == "cs") {
      TJwwEntMsg& r = NewRow(d, d.Msgs, 7);
      r.Line = d.HeldLine;
      r.Line.Header.KindWord = 0;
      r.Text.Header = CurrentHeader(d);
      FillText(d, r.Text, 2, t);
    } else {
      TJwwEntText& r = NewRow(d, d.Texts, 4);
      FillText(d, r, textKind, t);
    }
  } else if (k == "pt") {
    if (n == 3) {
      TJwwEntPoint& r = NewRow(d, d.Points3, 5);
      r.Header.Color = d.PointCode;
      r.X = Real(t, 1);
      r.Y = Real(t, 2);
    } else if (n >= 6) {
      TJwwEntPoint6& r = NewRow(d, d.Points6, 6);
      r.Header.Color = d.PointCode;
      r.X = Real(t, 1);
      r.Y = Real(t, 2);
      r.A = Real(t, 3);
      r.B = Real(t, 4);
      r.N = StrToIntOrZero(t[5]);
    } else {
      return true;
    }
  } else if (k == "BL") {
    if (n < 4) return true;
    TJwwEntBlk& r = NewRow(d, d.Blocks, 8);
    r.X = Real(t, 1);
    r.Y = Real(t, 2);
    r.Name = t[3];
  } else if (k == "sl") {
    if (n != 5 && n != 7 && n < 9) return true;
    AddSolid(d, t);
  } else if (k == "sc" || k == "se") {
    if (n < 9) return true;
    AddReals<TJwwEntS7, 7>(d, k == "sc" ? d.Sc : d.Se, k == "sc" ? 12 : 13, t);
  } else if (k == "so" || k == "sg") {
    if (n < 9) return true;
    AddReals<TJwwEntS8, 8>(d, k == "so" ? d.So : d.Sg, k == "so" ? 14 : 15, t);
  } else {
    return false;
  }
  EndElement(d);
  return true;
}

bool LooksLikeNumber(const std::string& token) {
  if (token.empty()) return false;
  const char c = token[0];
  return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}

void AddPlainLine(TJwcData& d, const TJwcTokens& t) {
  if (d.MsgMode) {
    TJwwEntLine held;
    held.Header = CurrentHeader(d);
    held.X1 = Real(t, 0);
    held.Y1 = Real(t, 1);
    held.X2 = Real(t, 2);
    held.Y2 = Real(t, 3);
    d.HeldLine = held;
  } else {
    AddOrderItem(d, 1, d.Lines.size());
    TJwwEntLine r;
    r.Header = CurrentHeader(d);
    r.Header.KindWord = d.PlMode ? d.PlCounter : 0;
    r.X1 = Real(t, 0);
    r.Y1 = Real(t, 1);
    r.X2 = Real(t, 2);
    r.Y2 = Real(t, 3);
    d.Lines.push_back(r);
  }
  d.PendingFlags = 0;
}
