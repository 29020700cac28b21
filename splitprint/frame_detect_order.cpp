// Numbering order of the frame list: the order of frame_chain.h, applied to
// the rectangles only (the other fields stay with their rows).
#include "frame_detect.h"

void OrderFramesByNumbering(std::vector<TZumenWakuField>& frames, int32_t direction) {
  std::vector<TFrameRect> rects;
  rects.reserve(frames.size());
  for (const TZumenWakuField& f : frames) rects.push_back(TFrameRect{f.XMin, f.YMin, f.XMax, f.YMax});
  OrderFramesByNumbering(rects, direction);
  for (size_t i = 0; i < frames.size(); ++i) {
    frames[i].XMin = rects[i].XMin;
    frames[i].YMin = rects[i].YMin;
    frames[i].XMax = rects[i].XMax;
    frames[i].YMax = rects[i].YMax;
  }
}
