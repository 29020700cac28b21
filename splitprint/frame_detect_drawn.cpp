// Drawn paper frames of the working drawing: its frame lines go through the
// chain search shared with the paper-frame command (frame_chain.h).
#include <algorithm>

#include "counted_rows.h"
#include "form1_state.h"
#include "frame_detect.h"

bool IsFrameLine(const TEntJwwLine& line) {
  return line.Common.Color == kFrameColor && line.Common.LineType == kFrameLineType &&
         line.Common.Width == kFrameLineWidth;
}

bool SearchFrameChains(std::vector<TFrameLine>& horizontal, std::vector<TFrameLine>& vertical,
                       std::vector<TZumenWakuField>& frames, const std::function<bool()>& stop) {
  std::vector<TFrameRect> rects;
  rects.reserve(frames.size());
  for (const TZumenWakuField& f : frames) rects.push_back(TFrameRect{f.XMin, f.YMin, f.XMax, f.YMax});
  const size_t before = rects.size();
  const bool whole = SearchFrameChains(horizontal, vertical, rects, stop);
  for (size_t i = before; i < rects.size(); ++i) {
    TZumenWakuField frame;
    frame.Kind = 0;
    frame.XMin = rects[i].XMin;
    frame.YMin = rects[i].YMin;
    frame.XMax = rects[i].XMax;
    frame.YMax = rects[i].YMax;
    frames.push_back(frame);
  }
  return whole;
}

void TForm1::ClearSheetFrames() {
  Gval.SheetFrames.clear();
  Gval.SheetFrameCount = 0;
}

bool SearchDrawnFrames(const TJwwData& drawing, bool (*isFrameLine)(const TEntJwwLine&),
                       std::vector<TZumenWakuField>& frames, const std::function<bool()>& stop) {
  std::vector<TFrameLine> horizontal, vertical;
  const size_t count = CountedRows(drawing.LineCount, drawing.Lines);
  for (size_t i = 0; i < count; ++i) {
    const TEntJwwLine& l = drawing.Lines[i];
    if (!isFrameLine(l)) continue;
    if (IsHorizontalFrameLine(l.X1, l.Y1, l.X2, l.Y2)) {
      horizontal.push_back(TFrameLine{0, l.X1, l.Y1, l.X2, l.Y2});
    } else if (IsVerticalFrameLine(l.X1, l.Y1, l.X2, l.Y2)) {
      vertical.push_back(TFrameLine{0, l.X1, l.Y1, l.X2, l.Y2});
    }
  }
  return SearchFrameChains(horizontal, vertical, frames, stop);
}

void TForm1::FindSheetFrames() {
  ClearSheetFrames();
  std::vector<TZumenWakuField> frames;
  const auto escape = [this] {
    if (CheckAbort()) AbortRun = true;
    return AbortRun;
  };
  // Stopped by Escape: no frame at all rather than the first few, so that
  // nothing is numbered or saved from a part of the drawing.
  if (!SearchDrawnFrames(WorkDrawing, IsFrameLine, frames, escape)) return;
  if (!frames.empty()) OrderFramesByNumbering(frames, NumberingDirection);
  Gval.SheetFrameCount = static_cast<int32_t>(frames.size());
  Gval.SheetFrames = std::move(frames);
}
