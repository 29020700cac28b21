// The overlay's layer in a drawing that hides it: the title block must show
// on every sheet, and what the drawing hid must stay hidden. Where the
// sheet holds nothing of its own on what showing the layer would reveal,
// the layer (and its group) is shown for the save; otherwise the sheet is
// saved as it is and the run's closing box names the drawing.
#include <optional>
#include <vector>

#include "block_def_lookup.h"
#include "counted_rows.h"
#include "form1_state.h"

namespace {

constexpr uint8_t kKeepOwnLayers = 0x40;
constexpr int32_t kShown = 2;

struct TLayerMatch {
  int32_t group, layer;  // layer -1: the whole group
  bool operator()(const TEntJwwCommon& c) const {
    return c.LayerGroup == group && (layer < 0 || c.Layer == layer);
  }
};

template <class T>
bool AnyOn(const std::vector<T>& rows, int32_t count, const TLayerMatch& match) {
  const size_t n = CountedRows(count, rows);
  for (size_t i = 0; i < n; ++i)
    if (match(rows[i].Common)) return true;
  return false;
}

bool DimensionOn(const TEntJwwDimension& e, const TLayerMatch& match) {
  return match(e.Common) || match(e.Line.Common) || match(e.Text.Common);
}

// Whether a block reached from an insert that keeps its elements' layers
// puts anything on the layer: every definition it reaches is searched, its
// nested inserts' own layers counted too (more than is drawn, never less).
class TBlockSearch {
 public:
  TBlockSearch(const TJwwData& d, const TLayerMatch& match) : d_(d), match_(match) {}
  bool Reaches(uint32_t number) {
    if (!rowOf_) {  // made for the first block only: most sheets have none
      const size_t defs = CountedRows(d_.BlockDefCount, d_.BlockDefs);
      rowOf_.emplace(d_.BlockDefs, defs);
      seen_.assign(defs, 0);
    }
    std::vector<uint32_t> pending{number};
    while (!pending.empty()) {
      const int32_t row = rowOf_->Find(pending.back());
      pending.pop_back();
      if (row < 0 || seen_[static_cast<size_t>(row)]) continue;
      seen_[static_cast<size_t>(row)] = 1;
      const TEntJwwBlockDefElements& b = d_.BlockDefs[static_cast<size_t>(row)].Elements();
      if (AnyOn(b.Lines, b.LineCount, match_) || AnyOn(b.Arcs, b.ArcCount, match_) ||
          AnyOn(b.Points, b.PointCount, match_) || AnyOn(b.Texts, b.TextCount, match_) ||
          AnyOn(b.Solids, b.SolidCount, match_) || AnyOn(b.Inserts, b.InsertCount, match_))
        return true;
      for (size_t i = 0; i < CountedRows(b.DimensionCount, b.Dimensions); ++i)
        if (DimensionOn(b.Dimensions[i], match_)) return true;
      for (size_t i = 0; i < CountedRows(b.InsertCount, b.Inserts); ++i)
        pending.push_back(b.Inserts[i].BlockNumber);
    }
    return false;
  }

 private:
  const TJwwData& d_;
  TLayerMatch match_;
  std::optional<TDefLookup> rowOf_;
  std::vector<uint8_t> seen_;  // by definition row: searched once per sheet
};

// Whether the elements the sheet keeps (order items of kinds 1 to 7) put
// anything on the layer, their blocks' contents included; line rows from
// addedLines on are the loop's own auxiliary frame lines (none when < 0).
bool SheetHoldsOn(const TJwwData& d, const TLayerMatch& match, int32_t addedLines) {
  TBlockSearch blocks(d, match);
  const size_t items = CountedRows(d.EntityOrderCount, d.EntityOrder);
  for (size_t i = 0; i < items; ++i) {
    const TEntJwwOrder& o = d.EntityOrder[i];
    if (o.Row < 0) continue;
    const auto r = static_cast<size_t>(o.Row);
    bool on = false;
    switch (o.Kind) {
      case kKindLine:
        on = r < d.Lines.size() && (addedLines < 0 || o.Row < addedLines) && match(d.Lines[r].Common);
        break;
      case kKindArc: on = r < d.Arcs.size() && match(d.Arcs[r].Common); break;
      case kKindPoint: on = r < d.Points.size() && match(d.Points[r].Common); break;
      case kKindText: on = r < d.Texts.size() && match(d.Texts[r].Common); break;
      case kKindDimension: on = r < d.Dimensions.size() && DimensionOn(d.Dimensions[r], match); break;
      case kKindSolid: on = r < d.Solids.size() && match(d.Solids[r].Common); break;
      case kKindBlockInsert:
        if (r < d.BlockInserts.size()) {
          const TEntJwwBlockInsert& b = d.BlockInserts[r];
          on = match(b.Common) ||
               ((b.Common.LineType & kKeepOwnLayers) && blocks.Reaches(b.BlockNumber));
        }
        break;
      default: break;  // dropped from the sheet
    }
    if (on) return true;
  }
  return false;
}

}  // namespace

TForm1::TOverlayLayerStates TForm1::ShowOverlayLayer() {
  TJwwData& d = WorkDrawing;
  const int32_t layer = FrameOverlayLayer();
  const auto row = static_cast<size_t>(layer * 16 + layer);
  TOverlayLayerStates kept;
  if (static_cast<size_t>(layer) >= d.LayerGroups.size() || row >= d.Layers.size()) return kept;
  kept.Group = d.LayerGroups[static_cast<size_t>(layer)].State;
  kept.Layer = d.Layers[row].State;
  const bool groupHidden = kept.Group == 0, layerHidden = kept.Layer == 0;
  if (!groupHidden && !layerHidden) return kept;
  // A hidden group hides all its layers: showing it reveals every one.
  if (SheetHoldsOn(d, TLayerMatch{layer, groupHidden ? -1 : layer}, AuxFrameLinesFrom)) {
    TRunReport::AddOnce(Report.HiddenFrameDrawings, DrawingPath, HiddenFrameLayerReason(layer, groupHidden));
    return kept;
  }
  kept.Changed = true;
  if (groupHidden) d.LayerGroups[static_cast<size_t>(layer)].State = kShown;
  if (layerHidden) d.Layers[row].State = kShown;
  return kept;
}

void TForm1::RestoreOverlayLayer(const TOverlayLayerStates& kept) {
  TJwwData& d = WorkDrawing;
  const int32_t layer = FrameOverlayLayer();
  const auto row = static_cast<size_t>(layer * 16 + layer);
  if (!kept.Changed || static_cast<size_t>(layer) >= d.LayerGroups.size() || row >= d.Layers.size()) return;
  d.LayerGroups[static_cast<size_t>(layer)].State = kept.Group;
  d.Layers[row].State = kept.Layer;
}
