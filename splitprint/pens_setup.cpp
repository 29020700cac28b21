// The drawing's own pens and line types into the attribute object, in
// millimetres: widths from width units (dot pitch or real size), patterns
// cut into dash and gap segments.
#include <algorithm>
#include <cmath>

#include "form1_state.h"

namespace {

constexpr int32_t kSxfBlackPen = 101;
constexpr int32_t kSxfWhitePen = 108;

// Millimetres per printer dot: fine dots from version 421 with class 2 or more.
double DotPitch(const TEntJwwHeader& h) {
  return (h.Version <= 420 || h.DotPitchClass <= 1) ? 0.085 : 0.042;
}

// Cuts the 32-bit pattern, from bit 31 down, into runs of equal bits: a run
// of ones is a dash, a run of zeros a gap (negative), each run length x unit.
void SetPatternSegments(TgraAttribute& a, int32_t row, int32_t pattern, double unit) {
  const auto bits = static_cast<uint32_t>(pattern);
  double lengths[32];
  int32_t runs = 0;
  int32_t bit = 31;
  while (bit >= 0) {
    const bool on = ((bits >> bit) & 1u) != 0;
    int32_t length = 0;
    while (bit >= 0 && (((bits >> bit) & 1u) != 0) == on) {
      ++length;
      --bit;
    }
    lengths[runs++] = (on ? 1 : -1) * length * unit;
  }
  a.SetLineTypeCount(row, runs);
  for (int32_t i = 0; i < runs; ++i) a.SetLineTypeSegment(row, i, lengths[i]);
  a.UpdateLineTypePeriod(row);
}

}  // namespace

void TForm1::SetupPens(int32_t set) {
  if (set != kScreenSet && set != kPrinterSet) return;
  const TJwwData& d = WorkDrawing;
  if (d.Pens.empty()) return;
  TgraAttribute& a = Attributes();
  const bool print = set == kPrinterSet;

  const int32_t maxWidth = d.Header.MaxDrawWidth;
  double factor = DotPitch(d.Header);
  if (maxWidth < -100) {
    factor = 0.01;
  } else if (maxWidth < 0) {
    factor = -1.0 / maxWidth;
  }

  for (int32_t pen = 1; pen <= 8 && pen < static_cast<int32_t>(d.Pens.size()); ++pen) {
    const TEntJwwPen& p = d.Pens[static_cast<size_t>(pen)];
    a.SetPen(pen, print ? p.PrintColor : p.Color, factor * (print ? p.PrintWidth : p.Width), p.PointRadius);
  }
  a.SetPen(9, AuxColor, 0.18, 0.2);
  for (int32_t k = 1; k <= 256 && k < static_cast<int32_t>(d.ColorsEx.size()); ++k) {
    const TEntJwwColorExNo& c = d.ColorsEx[static_cast<size_t>(k)];
    a.SetPen(100 + k, print ? c.PrintColor : c.Color, (print ? c.PrintWidth : c.Width) * 0.01, c.PointRadius);
  }

  // Pen 0 tells the background: nearly black or nearly white.
  const int32_t c = print ? d.Pens[0].PrintColor : d.Pens[0].Color;
  const int32_t r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
  if (r <= 20 && g <= 20 && b <= 20) {
    a.SetBackgroundMode(1);
  } else if (r >= 235 && g >= 235 && b >= 235) {
    a.SetBackgroundMode(0);
  }

  // SXF black and white are whatever contrasts with the background, on
  // screen and paper alike: Jw_cad stores white for SXF white, which would
  // vanish on white paper.
  for (const int32_t pen : {kSxfBlackPen, kSxfWhitePen}) {
    a.SetPen(pen, a.ForegroundColor, a.GetPenWidth(pen), a.GetPointRadius(pen));
  }
}

void TForm1::SetupLineTypes(int32_t set, double realSizePitch) {
  if (set != kScreenSet && set != kPrinterSet) return;
  const TJwwData& d = WorkDrawing;
  if (d.LineTypes.empty()) return;
  TgraAttribute& a = Attributes();
  const bool print = set == kPrinterSet;
  const double unit = d.Header.MaxDrawWidth < 0 ? realSizePitch : DotPitch(d.Header);

  // Rows: 0..8 types 1..9, 9..17 types 11..19, 18..49 types 31..62.
  a.SetLineTypeAmplitude(0, 0);
  a.SetLineTypeCount(0, 0);
  a.UpdateLineTypePeriod(0);
  for (size_t i = 0; i < 8 && i < d.LineTypes.size(); ++i) {
    const TEntJwwLineType& t = d.LineTypes[i];
    const auto row = static_cast<int32_t>(1 + i);
    a.SetLineTypeAmplitude(row, 0);
    SetPatternSegments(a, row, t.Pattern, (print ? t.PrintPitch : t.Pitch) * unit);
  }
  for (size_t i = 0; i < 5 && i < d.RandomLines.size(); ++i) {
    const TEntJwwRandomLine& t = d.RandomLines[i];
    const auto row = static_cast<int32_t>(9 + i);
    a.SetLineTypeAmplitude(row, unit * (print ? t.PrintAmplitude : t.Amplitude));
    SetPatternSegments(a, row, t.Pattern, (print ? t.PrintPitch : t.Pitch) * unit);
  }
  for (size_t i = 0; i < 4 && i < d.DoubleLines.size(); ++i) {
    const TEntJwwDoubleLine& t = d.DoubleLines[i];
    const auto row = static_cast<int32_t>(14 + i);
    a.SetLineTypeAmplitude(row, 0);
    SetPatternSegments(a, row, t.Pattern, (print ? t.PrintPitch : t.Pitch) * unit);
  }
  for (size_t k = 1; k <= 32 && k < d.LineTypesEx.size(); ++k) {
    const TEntJwwLineTypeExNo& t = d.LineTypesEx[k];
    const auto row = static_cast<int32_t>(17 + k);
    const int32_t count = std::clamp(t.SegmentCount, 0, 10);
    a.SetLineTypeCount(row, count);
    for (int32_t s = 0; s < count; ++s) {
      const double pitch = std::fabs(t.Segments[static_cast<size_t>(s)]);
      a.SetLineTypeSegment(row, s, s % 2 == 0 ? pitch : -pitch);
    }
    a.UpdateLineTypePeriod(row);
  }
}

void TForm1::LoadDrawingPens(double realSizePitch) {
  TgraAttribute& a = Attributes();
  a.InitPenColors();
  a.InitPenWidths();
  a.InitPointRadii();
  a.InitLineTypes();
  SetupPens(kPrinterSet);
  SetupLineTypes(kPrinterSet, realSizePitch);
}

void TForm1::ApplyColorConversion() {
  Attributes().SetColorConversion(true, Monochrome == 1 ? MonoThreshold : -1, WhiteToBlack == 1 ? WhiteThreshold : -1,
                                  SxfWhiteToBlack == 1 ? SxfWhiteThreshold : -1);
}
