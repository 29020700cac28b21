// Sheet names and layer lists: a text "【名】name" or "【名】name【Ｌ】layers"
// inside a drawn frame adds one sheet, with that name, to the frame.
#include <algorithm>
#include <cstring>

#include "counted_rows.h"
#include "form1_state.h"
#include "frame_detect.h"
#include "clipping.h"
#include "frame_text.h"
#include "text_lines.h"
#include "sheet_names.h"

namespace {

// Strictly inside: more than 1e-12 inside every edge of the frame.
bool StrictlyInside(double x, double y, const TZumenWakuField& f) {
  return PointVsWindow(x, y, f.XMin, f.YMin, f.XMax, f.YMax) == 0;
}

// How many used slots of all frames hold this name, or this name with a
// "~n" suffix, ignoring case.
int32_t CountSameNames(const std::vector<TZumenWakuField>& frames, size_t frameCount, const std::string& name) {
  int32_t count = 0;
  for (size_t i = 0; i < frameCount; ++i) {
    const TZumenWakuField& f = frames[i];
    const auto used = f.SheetSlots();
    for (size_t k = 0; k < used; ++k) {
      const std::string& n = f.Names[k];
      // On a character boundary: ミ and others end in the byte of "~".
      if (EqualIgnoringCase(n.substr(0, FindOnCharBoundary(n, "~")), name)) ++count;
    }
  }
  return count;
}

}  // namespace

bool IsSheetNameTag(const TEntJwwText& text) {
  return text.Common.Color == kFrameColor && text.Kind % 100 == 0 &&
         text.Content.compare(0, std::strlen(kSheetNameTag), kSheetNameTag) == 0;
}

void TForm1::AssignSheetNames() {
  std::vector<TZumenWakuField>& frames = Gval.SheetFrames;
  const size_t frameCount = CountedRows(Gval.SheetFrameCount, frames);
  for (size_t i = 0; i < frameCount; ++i) {
    TZumenWakuField& f = frames[i];
    f.NameCount = 0;
    f.Names.fill(std::string());
    f.LayerLists.fill(std::string());
    f.OutputNames.fill(std::string());
    f.NameLayerGroups.fill(-1);
    f.Scale = 1.0;
    f.Rotated = 0;
    f.PaperClass = 0;
  }

  const size_t textCount = CountedRows(WorkDrawing.TextCount, WorkDrawing.Texts);
  for (size_t t = 0; t < textCount; ++t) {
    const TEntJwwText& text = WorkDrawing.Texts[t];
    if (!IsSheetNameTag(text)) continue;
    std::string name = TrimBlanks(text.Content.substr(std::strlen(kSheetNameTag)));
    if (name.empty() || HasForbiddenSheetNameChar(name)) continue;
    std::string layers;
    const size_t tag = FindOnCharBoundary(name, kLayerListTag);
    if (tag != std::string::npos) {
      layers = name.substr(tag + std::strlen(kLayerListTag));
      name.resize(tag);
    }
    // An empty name (only a layer list) means a sheet without a name and is
    // left empty; a name already used gets "~1", "~2", ...
    if (!name.empty()) {
      const int32_t same = CountSameNames(frames, frameCount, name);
      if (same > 0) name += "~" + std::to_string(same);
    }
    for (size_t i = 0; i < frameCount; ++i) {
      TZumenWakuField& f = frames[i];
      if (!StrictlyInside(text.StartX, text.StartY, f)) continue;
      if (f.NameCount < kMaxSheetsPerFrame) {
        const auto slot = static_cast<size_t>(f.NameCount);
        f.Names[slot] = name;
        f.NameLayerGroups[slot] = text.Common.LayerGroup;
        f.LayerLists[slot] = layers;
        ++f.NameCount;
      }
      break;  // a full frame drops the tag; no other frame is tried
    }
  }

  for (size_t i = 0; i < frameCount; ++i) {
    if (frames[i].NameCount == 0) frames[i].NameCount = 1;
  }
}
