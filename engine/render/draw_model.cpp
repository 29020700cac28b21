// TJwwData::Draw: the order of passes and kinds, the layer, auxiliary and
// temporary-point filters, the block-tree rows and the Escape poll.
#include <algorithm>
#include <array>
#include <bitset>
#include <cmath>
#include <span>
#include <vector>

#include "counted_rows.h"
#include "draw_model.h"
#include "gra_attribute.h"
#include "gval.h"
#include "jww_data.h"
#include "line_patterns.h"
#include "primitives.h"

namespace {

constexpr int32_t kLayers = 256;
constexpr uint8_t kOwnLayersBit = 0x40;

int32_t LayerIndex(const TEntJwwCommon& c) { return c.LayerGroup * 16 + c.Layer; }

bool IsAuxPen(const TEntJwwCommon& c) { return c.Color == 9; }
bool IsAuxStroke(const TEntJwwCommon& c) { return c.Color == 9 || c.LineType == 9; }

// Rows of one array grouped by layer index (0..255), each group in array
// order; built once per drawing so that a layer pass visits only its rows.
struct TLayerRows {
  std::array<int32_t, kLayers + 1> start{};
  std::vector<int32_t> rows;

  // layersOf(i, emit) calls emit(m) for every layer m that row i belongs to.
  template <class LayersOf>
  void Build(size_t n, LayersOf layersOf) {
    start.fill(0);
    for (size_t i = 0; i < n; ++i) layersOf(i, [&](int32_t m) { ++start[static_cast<size_t>(m) + 1]; });
    for (int32_t m = 0; m < kLayers; ++m) start[m + 1] += start[m];
    rows.assign(static_cast<size_t>(start[kLayers]), 0);
    std::array<int32_t, kLayers> next{};
    std::copy_n(start.begin(), kLayers, next.begin());
    for (size_t i = 0; i < n; ++i)
      layersOf(i, [&](int32_t m) { rows[static_cast<size_t>(next[m]++)] = static_cast<int32_t>(i); });
  }
  template <class T>
  void BuildByOwnLayer(const std::vector<T>& arr, size_t n) {
    Build(n, [&](size_t i, auto emit) {
      const int32_t m = LayerIndex(arr[i].Common);
      if (m < kLayers) emit(m);
    });
  }
  std::span<const int32_t> Of(int32_t m) const {
    return {rows.data() + start[m], rows.data() + start[m + 1]};
  }
};

// Escape is asked after every tenth row a loop visits, and once after it.
class TAbortPoll {
 public:
  bool Visited() { return ++visited_ % 10 == 0 && CheckAbort(); }

 private:
  int32_t visited_ = 0;
};

class TModelDrawer {
 public:
  TModelDrawer(const TJwwData& d, TCanvas& canvas, int32_t groupFilter, int32_t layerFilter,
               bool skipHidden, bool skipAux, bool drawTemporary, double angle)
      : d_(d), canvas_(canvas), groupFilter_(groupFilter), layerFilter_(layerFilter),
        skipHidden_(skipHidden), skipAux_(skipAux), drawTemporary_(drawTemporary),
        lineWidthMode_(DrawAttributes().GetLineWidthMode()) {
    rotC_ = std::cos(angle);
    rotS_ = std::sin(angle);
    own_.map.a = rotC_, own_.map.b = -rotS_, own_.map.c = rotS_, own_.map.d = rotC_;
  }

  void DrawNormal() {
    pass_ = -1;
    DrawPass();
  }

  // One pass per chosen layer, hidden ones skipped. The reversed order walks
  // the same layers from the last, so a filtered group stays that group
  // (mirroring each layer index as 255 − m would pick another group).
  void DrawByLayer(bool reversed) {
    BuildLayerRows();
    const int32_t g0 = groupFilter_ < 0 ? 0 : groupFilter_, g1 = groupFilter_ < 0 ? 15 : groupFilter_;
    const int32_t l0 = layerFilter_ < 0 ? 0 : layerFilter_, l1 = layerFilter_ < 0 ? 15 : layerFilter_;
    std::vector<int32_t> passes;
    for (int32_t g = g0; g <= g1; ++g)
      for (int32_t l = l0; l <= l1; ++l) passes.push_back(g * 16 + l);
    if (reversed) std::reverse(passes.begin(), passes.end());
    for (int32_t m : passes) {
      if (skipHidden_ && DrawAttributes().GetLayerMode(m) == 3) continue;
      pass_ = m;
      if (!DrawPass()) return;
    }
  }

 private:
  // The filter of the current pass for an element's (or a row's) layer.
  bool Accepts(int32_t m) const {
    if (pass_ >= 0) return m == pass_;
    if (groupFilter_ != -1 && groupFilter_ != m / 16) return false;
    if (layerFilter_ != -1 && layerFilter_ != m % 16) return false;
    return !(skipHidden_ && DrawAttributes().GetLayerMode(m) == 3);
  }

  // Visits rows 0..n-1, or in a layer pass the pass's rows of the array;
  // false when Escape ended the drawing.
  template <class Visit>
  bool Loop(size_t n, const TLayerRows* byLayer, Visit visit) {
    TAbortPoll poll;
    if (pass_ >= 0 && byLayer != nullptr) {
      for (int32_t i : byLayer->Of(pass_)) {
        visit(static_cast<size_t>(i));
        if (aborted_ || poll.Visited()) return Abort();
      }
    } else {
      for (size_t i = 0; i < n; ++i) {
        visit(i);
        if (aborted_ || poll.Visited()) return Abort();
      }
    }
    return CheckAbort() ? Abort() : true;
  }

  bool Abort() {
    aborted_ = true;
    return false;
  }

  // The seven element kinds of the drawing itself (byLayer set) or of a
  // block definition (byLayer null: every row is visited and filtered).
  struct TArrays {
    const std::vector<TEntJwwText>& texts;
    size_t textCount;
    const std::vector<TEntJwwSolid>& solids;
    size_t solidCount;
    const std::vector<TEntJwwLine>& lines;
    size_t lineCount;
    const std::vector<TEntJwwArc>& arcs;
    size_t arcCount;
    const std::vector<TEntJwwPoint>& points;
    size_t pointCount;
    const std::vector<TEntJwwDimension>& dims;
    size_t dimCount;
  };

  // filtered: elements must pass the pass filter by their own layer.
  bool DrawKinds(const TArrays& a, const TDrawPlacement& place, bool filtered, bool own) {
    const auto pass = [&](const TEntJwwCommon& c) { return !filtered || Accepts(LayerIndex(c)); };
    const TLayerRows* textRows = own ? &texts_ : nullptr;
    if (!Loop(a.textCount, textRows, [&](size_t i) {
          const TEntJwwText& e = a.texts[i];
          if (pass(e.Common) && !(skipAux_ && IsAuxPen(e.Common)))
            d_.DrawImageText(canvas_, lineWidthMode_, place, e, -1);
        }))
      return false;
    const bool solidsDone = Loop(a.solidCount, own ? &solids_ : nullptr, [&](size_t i) {
      const TEntJwwSolid& e = a.solids[i];
      if (pass(e.Common) && !(skipAux_ && IsAuxPen(e.Common))) d_.DrawSolid(canvas_, lineWidthMode_, place, e, -1);
    });
    canvas_.SetBrushStyle(bsClear);
    if (!solidsDone) return false;
    if (!Loop(a.lineCount, own ? &lines_ : nullptr, [&](size_t i) {
          const TEntJwwLine& e = a.lines[i];
          if (pass(e.Common) && !(skipAux_ && IsAuxStroke(e.Common)))
            d_.DrawLine(canvas_, lineWidthMode_, place, e, -1);
        }))
      return false;
    if (!Loop(a.arcCount, own ? &arcs_ : nullptr, [&](size_t i) {
          const TEntJwwArc& e = a.arcs[i];
          if (pass(e.Common) && !(skipAux_ && IsAuxStroke(e.Common))) d_.DrawArc(canvas_, lineWidthMode_, place, e, -1);
        }))
      return false;
    if (!Loop(a.pointCount, own ? &points_ : nullptr, [&](size_t i) {
          const TEntJwwPoint& e = a.points[i];
          if (e.Temporary == 1 && !drawTemporary_) return;
          if (pass(e.Common) && !(skipAux_ && IsAuxPen(e.Common)))
            d_.DrawPoint(canvas_, lineWidthMode_, place, e, -1);
        }))
      return false;
    if (!Loop(a.textCount, textRows, [&](size_t i) {
          const TEntJwwText& e = a.texts[i];
          if (pass(e.Common) && !(skipAux_ && IsAuxPen(e.Common))) d_.DrawText(canvas_, lineWidthMode_, place, e, -1);
        }))
      return false;
    return Loop(a.dimCount, own ? &dims_ : nullptr, [&](size_t i) {
      const TEntJwwDimension& e = a.dims[i];
      if (pass(e.Common)) d_.DrawDimension(canvas_, lineWidthMode_, place, e, -1, skipAux_);
    });
  }

  // A row naming no definition, or one beyond the definitions, draws nothing.
  const TEntJwwBlockDefElements* DefOf(const TEntJwwBlockTree& row) const {
    const size_t defs = CountedRows(d_.BlockDefCount, d_.BlockDefs);
    if (row.DefRow < 0 || static_cast<size_t>(row.DefRow) >= defs) return nullptr;
    return &d_.BlockDefs[static_cast<size_t>(row.DefRow)].Elements();
  }

  static TArrays ArraysOf(const TEntJwwBlockDefElements& def) {
    return {def.Texts,  CountedRows(def.TextCount, def.Texts),   def.Solids, CountedRows(def.SolidCount, def.Solids),
            def.Lines,  CountedRows(def.LineCount, def.Lines),   def.Arcs,   CountedRows(def.ArcCount, def.Arcs),
            def.Points, CountedRows(def.PointCount, def.Points), def.Dimensions, CountedRows(def.DimensionCount, def.Dimensions)};
  }

  bool DrawTreeRows() {
    const size_t n = CountedRows(d_.BlockTreeCount, d_.BlockTree);
    return Loop(n, &tree_, [&](size_t r) {
      const TEntJwwBlockTree& row = d_.BlockTree[r];
      const size_t g = row.Common.LayerGroup;
      if (g < d_.LayerGroups.size()) Gval.DrawingScale = d_.LayerGroups[g].Scale;
      TDrawPlacement place;
      place.ownLayers = (row.Common.LineType & kOwnLayersBit) != 0;
      place.rowLayerGroup = row.Common.LayerGroup;
      place.rowLayer = row.Common.Layer;
      place.map.tx = rotC_ * row.OriginX - rotS_ * row.OriginY;
      place.map.ty = rotS_ * row.OriginX + rotC_ * row.OriginY;
      place.map.a = rotC_ * row.M11 - rotS_ * row.M21;
      place.map.b = rotC_ * row.M12 - rotS_ * row.M22;
      place.map.c = rotS_ * row.M11 + rotC_ * row.M21;
      place.map.d = rotS_ * row.M12 + rotC_ * row.M22;
      if (!place.ownLayers && !Accepts(LayerIndex(row.Common))) return;
      const TEntJwwBlockDefElements* def = DefOf(row);
      if (def == nullptr) return;
      DrawKinds(ArraysOf(*def), place, place.ownLayers, false);
    });
  }

  bool DrawPass() {
    const TArrays own{d_.Texts,  CountedRows(d_.TextCount, d_.Texts),   d_.Solids, CountedRows(d_.SolidCount, d_.Solids),
                      d_.Lines,  CountedRows(d_.LineCount, d_.Lines),   d_.Arcs,   CountedRows(d_.ArcCount, d_.Arcs),
                      d_.Points, CountedRows(d_.PointCount, d_.Points), d_.Dimensions,
                      CountedRows(d_.DimensionCount, d_.Dimensions)};
    return DrawKinds(own, own_, pass_ < 0, true) && DrawTreeRows();
  }

  // The layers a definition's elements lie on (for rows keeping them).
  const std::bitset<kLayers>& DefLayers(const TEntJwwBlockDefElements& def, size_t defRow) {
    if (defLayersKnown_.size() <= defRow) {
      defLayersKnown_.resize(defRow + 1, false);
      defLayers_.resize(defRow + 1);
    }
    if (!defLayersKnown_[defRow]) {
      std::bitset<kLayers>& mask = defLayers_[defRow];
      const auto add = [&](const auto& arr, int32_t count) {
        for (size_t i = 0; i < CountedRows(count, arr); ++i) {
          const int32_t m = LayerIndex(arr[i].Common);
          if (m < kLayers) mask.set(static_cast<size_t>(m));
        }
      };
      add(def.Texts, def.TextCount);
      add(def.Solids, def.SolidCount);
      add(def.Lines, def.LineCount);
      add(def.Arcs, def.ArcCount);
      add(def.Points, def.PointCount);
      add(def.Dimensions, def.DimensionCount);
      defLayersKnown_[defRow] = true;
    }
    return defLayers_[defRow];
  }

  void BuildLayerRows() {
    texts_.BuildByOwnLayer(d_.Texts, CountedRows(d_.TextCount, d_.Texts));
    solids_.BuildByOwnLayer(d_.Solids, CountedRows(d_.SolidCount, d_.Solids));
    lines_.BuildByOwnLayer(d_.Lines, CountedRows(d_.LineCount, d_.Lines));
    arcs_.BuildByOwnLayer(d_.Arcs, CountedRows(d_.ArcCount, d_.Arcs));
    points_.BuildByOwnLayer(d_.Points, CountedRows(d_.PointCount, d_.Points));
    dims_.BuildByOwnLayer(d_.Dimensions, CountedRows(d_.DimensionCount, d_.Dimensions));
    // A row keeping its elements' layers is visited in the pass of every
    // layer its definition uses; any other row in the pass of its own layer.
    tree_.Build(CountedRows(d_.BlockTreeCount, d_.BlockTree), [&](size_t r, auto emit) {
      const TEntJwwBlockTree& row = d_.BlockTree[r];
      if ((row.Common.LineType & kOwnLayersBit) == 0) {
        const int32_t m = LayerIndex(row.Common);
        if (m < kLayers) emit(m);
        return;
      }
      const TEntJwwBlockDefElements* def = DefOf(row);
      if (def == nullptr) return;
      const std::bitset<kLayers>& mask = DefLayers(*def, static_cast<size_t>(row.DefRow));
      for (int32_t m = 0; m < kLayers; ++m)
        if (mask.test(static_cast<size_t>(m))) emit(m);
    });
  }

  const TJwwData& d_;
  TCanvas& canvas_;
  const int32_t groupFilter_, layerFilter_;
  const bool skipHidden_, skipAux_, drawTemporary_, lineWidthMode_;
  double rotC_ = 1, rotS_ = 0;
  TDrawPlacement own_;
  bool aborted_ = false;  // Escape seen: every loop ends at once
  int32_t pass_ = -1;  // layer index of a layer pass, -1 for the single pass
  TLayerRows texts_, solids_, lines_, arcs_, points_, dims_, tree_;
  std::vector<bool> defLayersKnown_;
  std::vector<std::bitset<kLayers>> defLayers_;
};

bool ValidFilter(int32_t f) { return f >= -1 && f <= 15; }

}  // namespace

void TJwwData::Draw(TCanvas& canvas, int32_t order, int32_t groupFilter, int32_t layerFilter,
                    bool skipHiddenLayers, bool printing, bool drawTemporaryPoints, double angle) const {
  const TgraAttribute& attr = DrawAttributes();
  if (attr.GetLineWidthMode()) ResetDashState();
  if (!ValidFilter(groupFilter) || !ValidFilter(layerFilter)) return;
  const bool skipAux = printing && !attr.GetDrawAuxLines();
  TModelDrawer drawer(*this, canvas, groupFilter, layerFilter, skipHiddenLayers, skipAux, drawTemporaryPoints,
                      angle);
  if (order == kDrawOrderByLayer || order == kDrawOrderByLayerReversed)
    drawer.DrawByLayer(order == kDrawOrderByLayerReversed);
  else
    drawer.DrawNormal();
}
