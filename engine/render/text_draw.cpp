// One text element: greeking, mirrored texts, end signs, text variables,
// then the text whole or through its "^" sequences.
#include "text_draw.h"

#include <cmath>
#include <numbers>

#include "func.h"
#include "gval.h"
#include "primitives.h"
#include "text_draw_internal.h"
#include "text_vars.h"

namespace {

constexpr double kTiny = 1e-14;
constexpr char kHalfDot = '\xA5';              // ･ as the last character: spread its width
constexpr char kFullDot[] = "\x81\x45";        // ・ at the end: spread their widths

bool IsLead(char c) { return IsSjisLeadByte(static_cast<unsigned char>(c)); }

// Texts too small to read or too large to be a sensible font are drawn as
// a thick stroke along their baseline.
bool Greeked(double length, double h, double w) {
  const double s = Gval.ViewScale;
  const double ah = std::fabs(h);
  return ah < kTiny || ah * s < 6 || ah * s > 1000 || length < kTiny || length * s < 6 ||
         std::fabs(w) * s > 1000;
}

// 1 for every one-byte and 2 for every two-byte character but the last.
int32_t Units(const std::string& s) {
  int32_t units = 0;
  for (size_t i = 0; i < s.size();) {
    const size_t n = IsLead(s[i]) && i + 1 < s.size() ? 2 : 1;
    i += n;
    if (i < s.size()) units += static_cast<int32_t>(n);
  }
  return units;
}

// Removes the last n bytes; when that leaves a lead byte without its trail
// byte (signs after a "・" eat into it), that byte goes too.
void RemoveLast(std::string& s, size_t n) {
  s.resize(s.size() > n ? s.size() - n : 0);
  if (EndsWithLoneLeadByte(s)) s.pop_back();
}

// Trailing signs that re-spread the text over its length: a final "･" or a
// run of "・" has its width spread over the gaps, "^d" shrinks the text as
// if d one-byte characters were gone.
void ApplyEndSigns(std::string& text, double& w, double& sp) {
  int32_t dots = 0, caretDigit = 0;
  bool caretSeen = false, finalDot = false;
  double gaps = 0;
  for (size_t i = 0; i < text.size();) {
    const size_t n = IsLead(text[i]) && i + 1 < text.size() ? 2 : 1;
    const bool last = i + n >= text.size();
    if (!last) gaps += n == 1 ? sp / 2 : sp;
    const char c = text[i];
    if (n == 1 && c == kHalfDot && last) {
      finalDot = true;
      caretSeen = false;
    } else if (n == 2 && text.compare(i, 2, kFullDot) == 0) {
      ++dots;
      caretSeen = false;
    } else if (n == 1 && c == '^') {
      caretDigit = 0;
      caretSeen = true;
    } else if (n == 1 && c >= '1' && c <= '9' && caretSeen) {
      caretDigit = c - '0';
      caretSeen = false;
    } else {
      dots = 0;
      caretDigit = 0;
      caretSeen = false;
    }
    i += n;
  }
  if (finalDot) {
    RemoveLast(text, 1);
    const int32_t u = Units(text);
    if (u > 0) {
      sp = 2 * (w / 2 + gaps) / u;
      gaps += w / 2;
    }
  }
  if (dots > 0) {
    RemoveLast(text, 2 * static_cast<size_t>(dots));
    const int32_t u = Units(text);
    if (u > 0) sp = 2 * (dots * w + gaps) / u;
  }
  if (caretDigit > 0) {
    RemoveLast(text, 2);
    const double m = static_cast<double>(text.size());
    if (m - caretDigit >= 2) {
      const double f = (m - caretDigit) / m;
      w *= f;
      sp *= f;
    }
  }
}

}  // namespace

void DrawTextEntity(TCanvas& canvas, int32_t style, const std::string& face, double x1,
                    double y1, double x2, double y2, double h, double w, double sp,
                    const std::string& text) {
  if (text.empty()) return;
  // Geometry that is not a number has no place on the page.
  for (double v : {x1, y1, x2, y2, h, w, sp})
    if (!std::isfinite(v)) return;
  if (Greeked(Distance(x1, y1, x2, y2), h, w)) {
    canvas.SetPenWidth(3);
    DrawLine(canvas, x1, y1, x2, y2);
    return;
  }
  double angle = VectorAngle(x2 - x1, y2 - y1);
  if (w < 0) {  // mirrored: drawn from the end point, half a turn round
    w = -w;
    sp = -sp;
    angle += std::numbers::pi;
    ExchangeDoubles(x1, x2);
    ExchangeDoubles(y1, y2);
  }
  std::string s = text;
  ApplyEndSigns(s, w, sp);
  const bool variable = ExpandTextVariable(s);
  if (variable || s.find('^') == std::string::npos) {
    DrawTextString(canvas, style, face, x1, y1, angle, h, w, sp, s);
  } else {
    DrawTextSequences(canvas, style, face, x1, y1, angle, h, w, sp, s);
  }
}
