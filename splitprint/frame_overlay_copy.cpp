// The drawing-frame drawing's elements copied into the overlay's block:
// kind by kind, held-image texts after the other texts, skipping hidden
// and auxiliary elements as the options say and the display area's lines
// always, every copy moved onto the overlay's layer.
#include <algorithm>

#include "bind_images.h"
#include "counted_rows.h"
#include "form1_state.h"
#include "frame_detect.h"
#include "func.h"

namespace {

bool IsImageText(const TEntJwwText& t) { return t.Content.rfind(kImageTextPrefix, 0) == 0; }

// Skip rules of the copy, on the frame drawing's layer tables.
class CopyFilter {
 public:
  CopyFilter(const TJwwData& f, bool hidden, bool aux) : f_(f), hidden_(hidden), aux_(aux) {}

  bool Skip(const TEntJwwCommon& c, bool lineKind) const {
    if (!hidden_ && OnHiddenLayer(c)) return true;
    if (!aux_ && (c.Color == 9 || (lineKind && c.LineType == 9))) return true;
    return false;
  }

 private:
  bool OnHiddenLayer(const TEntJwwCommon& c) const {
    const size_t g = std::min<size_t>(c.LayerGroup, 15), l = std::min<size_t>(c.Layer, 15);
    if (g < f_.LayerGroups.size() && f_.LayerGroups[g].State == 0) return true;
    return g * 16 + l < f_.Layers.size() && f_.Layers[g * 16 + l].State == 0;
  }

  const TJwwData& f_;
  bool hidden_, aux_;
};

void PutOnLayer(TEntJwwCommon& c, uint16_t layer) {
  c.Group = 0;
  c.LayerGroup = layer;
  c.Layer = layer;
}

}  // namespace

void TForm1::CopyFrameElements(TEntJwwBlockDefElements& b, uint16_t layer) const {
  const TJwwData& f = FrameDrawing;
  const CopyFilter filter(f, FrameHiddenLayers, FrameAuxElements);
  auto order = [&b](int32_t kind, size_t row) { b.Order.push_back(TEntJwwOrder{kind, static_cast<int32_t>(row)}); };
  // Sizes rounded to 8 decimals, the kind naming the working drawing's text size.
  auto sizeText = [this](TEntJwwText& t) {
    t.SizeX = RoundToDecimals(8, 2, t.SizeX);
    t.SizeY = RoundToDecimals(8, 2, t.SizeY);
    t.Spacing = RoundToDecimals(8, 2, t.Spacing);
    t.Kind = static_cast<uint32_t>(FindTextSizeNo(t.Common.Color, t.SizeX, t.SizeY, t.Spacing));
  };
  auto copyAll = [&](const auto& rows, int32_t count, auto& into, int32_t kind, bool lineKind, auto&& accept,
                     auto&& adjust) {
    const size_t n = CountedRows(count, rows);
    for (size_t i = 0; i < n; ++i) {
      const auto& e = rows[i];
      if (!accept(e) || filter.Skip(e.Common, lineKind)) continue;
      auto& copy = into.emplace_back(e);
      PutOnLayer(copy.Common, layer);
      adjust(copy);
      order(kind, into.size() - 1);
    }
  };
  auto any = [](const auto&) { return true; };
  auto none = [](auto&) {};
  auto plainText = [](const TEntJwwText& t) { return !IsImageText(t); };
  auto imageText = [](const TEntJwwText& t) { return IsImageText(t); };

  copyAll(f.Solids, f.SolidCount, b.Solids, kKindSolid, false, any, none);
  copyAll(f.Texts, f.TextCount, b.Texts, kKindText, false, plainText, sizeText);
  copyAll(f.Lines, f.LineCount, b.Lines, kKindLine, true, [](const TEntJwwLine& l) { return !IsDisplayAreaLine(l); },
          none);
  copyAll(f.Arcs, f.ArcCount, b.Arcs, kKindArc, true, any, none);
  copyAll(f.Points, f.PointCount, b.Points, kKindPoint, false, any, none);
  copyAll(f.Texts, f.TextCount, b.Texts, kKindText, false, imageText, sizeText);
  // A dimension is judged by its line part and moved as a whole.
  const size_t dims = CountedRows(f.DimensionCount, f.Dimensions);
  for (size_t i = 0; i < dims; ++i) {
    const TEntJwwDimension& e = f.Dimensions[i];
    if (filter.Skip(e.Line.Common, true)) continue;
    TEntJwwDimension& copy = b.Dimensions.emplace_back(e);
    for (TEntJwwCommon* c : {&copy.Common, &copy.Line.Common, &copy.Text.Common, &copy.AuxLine1.Common,
                             &copy.AuxLine2.Common, &copy.Point1.Common, &copy.Point2.Common,
                             &copy.AuxPoint1.Common, &copy.AuxPoint2.Common})
      PutOnLayer(*c, layer);
    sizeText(copy.Text);
    order(kKindDimension, b.Dimensions.size() - 1);
  }
}
