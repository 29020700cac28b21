// Sheet names and layer lists: a text "【名】name" or "【名】name【Ｌ】layers"
// inside a drawn frame adds one sheet, with that name, to the frame.
#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "counted_rows.h"
#include "form1_state.h"
#include "frame_detect.h"
#include "frame_text.h"
#include "frames_holding.h"
#include "text_lines.h"
#include "sheet_names.h"

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

  struct Tag {
    std::string Name, Layers;
    int32_t LayerGroup;
  };
  std::vector<Tag> tags;
  std::vector<std::pair<double, double>> starts;
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
    tags.push_back(Tag{std::move(name), std::move(layers), text.Common.LayerGroup});
    starts.emplace_back(text.StartX, text.StartY);
  }
  // A tag goes to the first frame holding its start point strictly inside; a
  // full frame drops it, and no other frame is tried.
  const std::vector<int32_t> holder = FirstFramesHolding(frames, frameCount, starts);

  // Names in use so far, by their part before any "~", ignoring case.
  std::unordered_map<std::string, int32_t> used;
  for (size_t t = 0; t < tags.size(); ++t) {
    std::string& name = tags[t].Name;
    // An empty name (only a layer list) means a sheet without a name and is
    // left empty; a name already used gets "~1", "~2", ...
    if (!name.empty()) {
      const auto it = used.find(IgnoringCaseKey(name));
      if (it != used.end()) name += "~" + std::to_string(it->second);
    }
    if (holder[t] < 0) continue;
    TZumenWakuField& f = frames[static_cast<size_t>(holder[t])];
    if (f.NameCount >= kMaxSheetsPerFrame) continue;
    const auto slot = static_cast<size_t>(f.NameCount);
    f.Names[slot] = name;
    f.NameLayerGroups[slot] = tags[t].LayerGroup;
    f.LayerLists[slot] = tags[t].Layers;
    ++f.NameCount;
    // On a character boundary: ミ and others end in the byte of "~".
    ++used[IgnoringCaseKey(name.substr(0, FindOnCharBoundary(name, "~")))];
  }

  for (size_t i = 0; i < frameCount; ++i) {
    if (frames[i].NameCount == 0) frames[i].NameCount = 1;
  }
}
