// Runs of text in one font and the single characters they are drawn as.
#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "clipping.h"
#include "func.h"
#include "gval.h"
#include "text_draw.h"
#include "text_draw_internal.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr size_t kFaceBytes = 31;

bool Visible(double x, double y) {
  return PointVsWindow(x, y, Gval.ViewXMin, Gval.ViewYMin, Gval.ViewXMax, Gval.ViewYMax) == 0;
}

int32_t ClampToInt32(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

}  // namespace

bool EndsWithLoneLeadByte(const std::string& s) {
  size_t i = 0;
  while (i + 1 < s.size()) i += IsSjisLeadByte(static_cast<unsigned char>(s[i])) ? 2 : 1;
  return i + 1 == s.size() && IsSjisLeadByte(static_cast<unsigned char>(s[i]));
}

std::string CutFaceName(const std::string& face) {
  // A logical font's face ends at its first NUL.
  int32_t taken = 0;
  std::string name = CopyBytesSJIS(face.substr(0, face.find('\0')), 1, kFaceBytes, taken);
  // No half character reaches the font matcher.
  if (EndsWithLoneLeadByte(name)) name.pop_back();
  return name;
}

void DrawTextPiece(TCanvas& canvas, double x, double y, double h, double w, double angle,
                   const std::string& piece) {
  if (piece.empty()) return;
  double dy = h;
  if (h < 0) {  // the cell hangs from the point
    h = -h;
    dy = 0;
  }
  const double c = piece.size() == 1 ? std::fabs(w) / 2 : std::fabs(w);
  const double p0x = x + RotateX(0, dy, 0, 0, angle);
  const double p0y = y + RotateY(0, dy, 0, 0, angle);
  const double p1x = p0x + c * std::cos(angle), p1y = p0y + c * std::sin(angle);
  const double downX = h * std::cos(angle - kPi / 2), downY = h * std::sin(angle - kPi / 2);
  if (!Visible(p0x, p0y) && !Visible(p1x, p1y) && !Visible(p0x + downX, p0y + downY) &&
      !Visible(p1x + downX, p1y + downY)) {
    return;
  }
  const int32_t dx = RoundToEvenInt((p0x - Gval.ViewXMin) * Gval.ViewScale);
  const int64_t devY =
      int64_t{Gval.DeviceHeight} - RoundToEvenInt((p0y - Gval.ViewYMin) * Gval.ViewScale);
  canvas.TextOut(dx, ClampToInt32(devY), piece);
}

void DrawTextString(TCanvas& canvas, int32_t style, const std::string& face, double x, double y,
                    double angle, double h, double w, double sp, const std::string& text) {
  TLogFont font;
  font.Height = RoundToEvenInt(std::fabs(h) * Gval.ViewScale);
  font.Width = RoundToEvenInt(std::fabs(w) * Gval.ViewScale / 2);
  int64_t escapement = RoundToEvenInt(angle / kPi * 1800);
  bool upsideDown = face.size() >= 2 && face[0] == '@' && face[1] == '@';
  if (upsideDown) {
    // Half a turn, moved one full-width cell along and one height across so
    // the turned run covers the cells of the upright one.
    escapement += 1800;
    if (escapement >= 3600) escapement -= 3600;
    x += std::cos(angle) * std::fabs(w) + std::cos(angle - kPi / 2) * std::fabs(h);
    y += std::sin(angle) * std::fabs(w) + std::sin(angle - kPi / 2) * std::fabs(h);
  }
  font.Escapement = ClampToInt32(escapement);
  font.Weight = (style & 1) != 0 ? 700 : 400;
  font.Italic = (style & 2) != 0;
  font.Underline = (style & 4) != 0;
  font.StrikeOut = (style & 8) != 0;
  font.FaceName = CutFaceName(upsideDown ? face.substr(2) : face);
  canvas.SetFont(font);
  canvas.SetFontColor(canvas.PenColor());
  canvas.SetBrushStyle(bsClear);

  const double ca = std::cos(angle), sa = std::sin(angle);
  for (size_t i = 0; i < text.size();) {
    const size_t n = IsSjisLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
    DrawTextPiece(canvas, x, y, h, w, angle, text.substr(i, n));
    const double d = n == 1 ? (w + sp) / 2 : w + sp;
    x += ca * d;
    y += sa * d;
    i += n;
  }
}
