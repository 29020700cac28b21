// Paper classes of frames: the index of the drawing-frame drawing and the
// paper of the overlay.
#include <algorithm>
#include <cmath>

#include "counted_rows.h"
#include "form1_state.h"
#include "frame_detect.h"

const TPaperClass kPaperClasses[10] = {
    {"\x82\x60\x82\x4F\x89\xA1", 1189, 841},  // Ａ０横
    {"\x82\x60\x82\x50\x89\xA1", 841, 594},   // Ａ１横
    {"\x82\x60\x82\x51\x89\xA1", 594, 420},   // Ａ２横
    {"\x82\x60\x82\x52\x89\xA1", 420, 297},   // Ａ３横
    {"\x82\x60\x82\x53\x89\xA1", 297, 210},   // Ａ４横
    {"\x82\x60\x82\x4F\x8F\x63", 841, 1189},  // Ａ０縦
    {"\x82\x60\x82\x50\x8F\x63", 594, 841},   // Ａ１縦
    {"\x82\x60\x82\x51\x8F\x63", 420, 594},   // Ａ２縦
    {"\x82\x60\x82\x52\x8F\x63", 297, 420},   // Ａ３縦
    {"\x82\x60\x82\x53\x8F\x63", 210, 297},   // Ａ４縦
};

int32_t PaperClassOf(double width, double height) {
  const double w = std::fabs(width);
  const double h = std::fabs(height);
  // Landscape classes follow the width, portrait classes the height; the
  // limits leave 20 mm beyond each paper size.
  const bool landscape = w >= h;
  const double side = landscape ? w : h;
  const int32_t base = landscape ? 0 : 5;
  if (side < 317) return base + 4;
  if (side < 440) return base + 3;
  if (side < 614) return base + 2;
  if (side < 861) return base + 1;
  return base;
}

void TForm1::ClassifyFramePaper() {
  const size_t n = CountedRows(Gval.SheetFrameCount, Gval.SheetFrames);
  for (size_t i = 0; i < n; ++i) {
    TZumenWakuField& f = Gval.SheetFrames[i];
    f.PaperClass = PaperClassOf(f.XMax - f.XMin, f.YMax - f.YMin);
  }
}
