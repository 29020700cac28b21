#include "synthetic_drawing.h"

#include <string>

#include "jww_builder.h"
#include "jww_data.h"

namespace jwwtest {

namespace {

// Element number i of the given kind, with values that vary with i.
void EmitElement(JwwArchiveWriter& w, int32_t kind, size_t i) {
  const double x = static_cast<double>(i % 10000) * 0.5;
  const double y = static_cast<double>(i / 10000) * 0.5;
  const TEntJwwCommon c = MakeCommon(static_cast<uint16_t>(i % 16), static_cast<uint16_t>((i / 16) % 16),
                                     static_cast<uint16_t>(1 + i % 9));
  w.ObjectTag(ElementClassName(kind));
  switch (kind) {
    case kKindLine:
      w.Line(MakeLine(x, y, x + 10, y + 5, c));
      break;
    case kKindArc:
      w.Arc(i % 2 ? MakeCircle(x, y, 3, c) : MakeArc(x, y, 4, 0.25, 1.5, c));
      break;
    case kKindPoint: {
      TEntJwwPoint p = MakePoint(x, y, i % 2 ? MakeCommon(c.LayerGroup, c.Layer, c.Color, 100) : c);
      p.Code = 3;
      w.Point(p);
      break;
    }
    case kKindText:
      w.Text(MakeText(x, y, "Room " + std::to_string(i % 1000), c));
      break;
    case kKindDimension:
      w.Dimension(MakeDimension(x, y, x + 12.5, y, "12.5", c));
      break;
    case kKindSolid: {
      TEntJwwSolid s = MakeSolid(x, y, 2, 2, i % 2 ? MakeCommon(c.LayerGroup, c.Layer, 10) : c);
      s.Rgb = 0x804020;
      w.Solid(s);
      break;
    }
    case kKindBlockInsert:
      w.BlockInsert(MakeInsert(x, y, static_cast<uint32_t>(1 + i % 10), c));
      break;
    default:
      break;
  }
}

constexpr int32_t kCycle[20] = {1, 2, 1, 4, 1, 3, 1, 2, 6, 1, 4, 1, 5, 2, 1, 3, 4, 6, 7, 1};

void EmitHeader(JwwArchiveWriter& w) {
  JwwDrawingDesc drawing;
  drawing.Header.Memo = "synthetic drawing";
  for (int g = 0; g < 16; ++g) {
    drawing.LayerGroups[g].State = 2;
    drawing.LayerGroups[g].Scale = 100;
    for (int l = 0; l < 16; ++l) drawing.Layers[g * 16 + l].State = 2;
  }
  w.Header(drawing);
}

}  // namespace

std::vector<uint8_t> SyntheticDrawingBytes(size_t elementCount, int32_t version) {
  JwwArchiveWriter w(version);
  w.Buffer().reserve(elementCount * 110 + 20000);
  EmitHeader(w);
  w.Count(static_cast<uint32_t>(elementCount));
  for (size_t i = 0; i < elementCount; ++i) EmitElement(w, kCycle[i % 20], i);
  w.Count(10);
  for (int32_t n = 1; n <= 10; ++n) {
    JwwBuilderBlockDef def;
    def.Common = MakeCommon();
    def.Number = n;
    def.Name = "block" + std::to_string(n);
    def.Elements.Add(MakeLine(0, 0, 10, 0));
    def.Elements.Add(MakeLine(10, 0, 10, 10));
    def.Elements.Add(MakeCircle(5, 5, 2));
    def.Elements.Add(MakeText(1, 1, "B" + std::to_string(n)));
    def.Elements.Add(MakeSolid(0, 0, 1, 1));
    def.Elements.Add(MakePoint(5, 5));
    w.BlockDef(def);
  }
  if (version >= 700) w.Images({}, std::nullopt);
  return std::move(w.Buffer());
}

std::vector<uint8_t> SyntheticSingleKindBytes(int32_t kind, size_t elementCount, int32_t version) {
  JwwArchiveWriter w(version);
  EmitHeader(w);
  w.Count(static_cast<uint32_t>(elementCount));
  for (size_t i = 0; i < elementCount; ++i) EmitElement(w, kind, i);
  w.Count(0);
  if (version >= 700) w.Images({}, std::nullopt);
  return std::move(w.Buffer());
}

namespace {

void AppendFrameLine(TJwwData& d, double x1, double y1, double x2, double y2) {
  TEntJwwLine l;
  l.Common.Color = 9;
  l.Common.LineType = 19;
  l.Common.Width = 200;
  l.X1 = x1, l.Y1 = y1, l.X2 = x2, l.Y2 = y2;
  d.Lines.resize(static_cast<size_t>(d.LineCount));
  d.Lines.push_back(l);
  d.EntityOrder.resize(static_cast<size_t>(d.EntityOrderCount));
  d.EntityOrder.push_back(TEntJwwOrder{kKindLine, d.LineCount});
  ++d.LineCount;
  ++d.EntityOrderCount;
}

}  // namespace

void LoadSyntheticSplitDrawing(TJwwData& d, int frames) {
  const std::vector<uint8_t> bytes = SyntheticDrawingBytes(1000000, 700);
  d.LoadFromBytes(bytes.data(), bytes.size());
  for (int k = 0; k < frames; ++k) {
    const double x0 = 50.0 * k - 0.2, x1 = x0 + 49.9, y0 = -5, y1 = 55;
    AppendFrameLine(d, x0, y0, x1, y0);
    AppendFrameLine(d, x1, y0, x1, y1);
    AppendFrameLine(d, x1, y1, x0, y1);
    AppendFrameLine(d, x0, y1, x0, y0);
  }
}

}  // namespace jwwtest
