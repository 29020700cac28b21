#include "jww_model_maker.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <numbers>

#include <unistd.h>

#include "bind_images.h"
#include "jww_builder.h"

namespace jwwtest {

namespace {

template <typename T>
void Push(std::vector<T>& rows, int32_t& count, std::vector<TEntJwwOrder>& order, int32_t& orderCount,
          int32_t kind, const T& e) {
  rows.resize(static_cast<size_t>(count));  // rows beyond the count are dropped
  rows.push_back(e);
  order.resize(static_cast<size_t>(orderCount));
  order.push_back({kind, count});
  ++count;
  ++orderCount;
}

}  // namespace

void SizeTables(TJwwData& m) {
  m.LayerGroups.assign(16, {});
  m.Layers.assign(256, {});
  m.Pens.assign(10, {});
  m.LineTypes.assign(8, {});
  m.RandomLines.assign(5, {});
  m.DoubleLines.assign(4, {});
  m.ColorsEx.assign(257, {});
  m.LineTypesEx.assign(33, {});
  m.TextSizes.assign(10, {});
}

#define JWW_APPEND_MODEL(T, arr, cnt, kind) \
  void Append(TJwwData& m, const T& e) { Push(m.arr, m.cnt, m.EntityOrder, m.EntityOrderCount, kind, e); }
JWW_APPEND_MODEL(TEntJwwLine, Lines, LineCount, kKindLine)
JWW_APPEND_MODEL(TEntJwwArc, Arcs, ArcCount, kKindArc)
JWW_APPEND_MODEL(TEntJwwPoint, Points, PointCount, kKindPoint)
JWW_APPEND_MODEL(TEntJwwText, Texts, TextCount, kKindText)
JWW_APPEND_MODEL(TEntJwwDimension, Dimensions, DimensionCount, kKindDimension)
JWW_APPEND_MODEL(TEntJwwSolid, Solids, SolidCount, kKindSolid)
JWW_APPEND_MODEL(TEntJwwBlockInsert, BlockInserts, BlockInsertCount, kKindBlockInsert)
#undef JWW_APPEND_MODEL

#define JWW_APPEND_DEF(T, arr, cnt, kind) \
  void Append(TEntJwwBlockDef& def, const T& e) {                                    \
    TEntJwwBlockDefElements& d = def.EditElements();                                  \
    Push(d.arr, d.cnt, d.Order, d.OrderCount, kind, e);                               \
  }
JWW_APPEND_DEF(TEntJwwLine, Lines, LineCount, kKindLine)
JWW_APPEND_DEF(TEntJwwArc, Arcs, ArcCount, kKindArc)
JWW_APPEND_DEF(TEntJwwPoint, Points, PointCount, kKindPoint)
JWW_APPEND_DEF(TEntJwwText, Texts, TextCount, kKindText)
JWW_APPEND_DEF(TEntJwwDimension, Dimensions, DimensionCount, kKindDimension)
JWW_APPEND_DEF(TEntJwwSolid, Solids, SolidCount, kKindSolid)
JWW_APPEND_DEF(TEntJwwBlockInsert, Inserts, InsertCount, kKindBlockInsert)
#undef JWW_APPEND_DEF

TEntJwwBlockDef& AddBlockDef(TJwwData& m, int32_t number, const std::string& name) {
  m.BlockDefs.resize(static_cast<size_t>(m.BlockDefCount));
  TEntJwwBlockDef d;
  d.Common = MakeCommon();
  d.Number = number;
  d.Name = name;
  m.BlockDefs.push_back(std::move(d));
  m.BlockListCount = m.BlockDefCount = static_cast<int32_t>(m.BlockDefs.size());
  return m.BlockDefs.back();
}

const std::map<std::string, std::string>& StableImages() {
  static const std::map<std::string, std::string> images = {
      {"pic.bmp.gz", std::string("\x1f\x8b\x08\x00 not really gzip", 20)},
      {"note.txt", std::string(3000, 'n')},
  };
  return images;
}

void InstallStableImages(const std::string& folder) {
  ClearBindImages();
  BindImg.TempFolder = folder;
  BindImg.BindImageExtractFlag = 1;
  BindImg.BindImageKeepFlag = 1;
  for (const auto& [name, content] : StableImages()) {
    TBindImageType row;
    row.Name = name;
    row.Size = static_cast<int32_t>(content.size());
    BindImg.BindImages.push_back(row);
    std::FILE* f = std::fopen((folder + name).c_str(), "wb");
    if (f) {
      std::fwrite(content.data(), 1, content.size(), f);
      std::fclose(f);
    }
  }
  BindImg.BindImageCount = static_cast<int32_t>(BindImg.BindImages.size());
}

std::string FreshFolder(const std::string& name) {
  // Tests run as parallel processes: the process id keeps their folders apart.
  const std::filesystem::path dir =
      std::filesystem::path(::testing::TempDir()) / (name + "_" + std::to_string(::getpid()));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir.string() + "/";
}

void MakeStableModel(TJwwData& m, int32_t v) {
  m.FreeData();
  SizeTables(m);
  const bool ext = v >= 420;
  TEntJwwHeader& h = m.Header;
  h.Signature = "JwwData.";
  h.Version = v;
  h.Memo = "first line\r\nsecond line";
  h.PaperSize = 3;
  h.WriteLayerGroup = 1;
  h.DimensionSettings = {1, 2, 3, 4, 5};
  h.MaxDrawWidth = v > 420 ? -450 : -101;
  h.PrintOriginX = 12.5, h.PrintOriginY = -7.25, h.PrintScale = 0.5, h.PrintRotation = 41;
  h.GridMode = 2, h.GridMinDots = 4, h.GridPitchX = 10, h.GridPitchY = 5;
  h.ShadowLevel = 1.5, h.ShadowLatitude = 35.5, h.Shadow9To15 = 1, h.WallShadowLevel = 2.5;
  h.SkyMapLevel = 3.5, h.SkyMapRadius = 4.5;
  h.Unit3D = 1, h.SavedViewScale = 2, h.RangeViewScale = 3;
  for (int j = 0; j < 8; ++j) {
    h.JumpScale[j] = 1 + j, h.JumpX[j] = 10 * j, h.JumpY[j] = -10 * j, h.JumpLayerGroup[j] = j % 3 - 1;
  }
  h.ReservedReals1 = {0.1, 0.2, 0.3}, h.ReservedInt1 = 7, h.ReservedReals2 = {0.4, 0.5};
  h.TextBackgroundSize = 1.25, h.TextBackgroundMode = 2;
  for (int i = 0; i < 10; ++i) h.MultiLineDistances[i] = 0.5 * i;
  h.BothSideDistance = 6;
  h.DrawSwitches = {1, 2, 62, 0, 0, 1, 0, 0, 0, 0};
  h.SkipDisplayOnlyLayers = 1;
  h.DotPitchClass = v >= 600 ? 2 : 0;
  h.DrawingTime = 3725, h.Eye3DSet = 1, h.EyeAngles = {10, 20, 30};
  h.PerspectiveHeight = 1.5, h.BirdDistance = 2.5, h.IsoAngle = 30;
  h.LastLineLength = 100, h.LastBoxWidth = 20, h.LastBoxHeight = 10, h.LastCircleRadius = 5;
  h.SolidAnyColor = 1, h.SolidColor = 0x123456;
  h.TextWidth = 2.5, h.TextHeight = 2.5, h.TextColor = 2, h.TextKind = 3;
  h.TextShiftOn = 1, h.TextShiftX = {0, 1, 2}, h.TextShiftY = {0, 0.5, 1};

  for (int g = 0; g < 16; ++g) {
    m.LayerGroups[g].State = 2;
    m.LayerGroups[g].WriteLayer = g % 16;
    m.LayerGroups[g].Scale = g == 1 ? 50 : 100;
    for (int l = 0; l < 16; ++l) m.Layers[g * 16 + l].State = (l == 3) ? 1 : 2;
  }
  m.LayerGroups[1].Name = "plan";
  m.Layers[1 * 16 + 2].Name = "walls";
  m.Layers[0].Name = "\x95\x5c\x8e\xa6";  // "表示": trail byte 0x5C
  for (int i = 0; i < 10; ++i) {
    TEntJwwPen& p = m.Pens[i];
    p.Color = 0x010101 * i, p.Width = 1 + i, p.PrintColor = i == 0 ? 0xFFFFFF : 0x0000FF,
    p.PrintWidth = 1 + 50 * i, p.PointRadius = 0.5 + i;
  }
  for (int i = 0; i < 8; ++i) m.LineTypes[i] = {0x0F0F0F0F + i, 8, 1, 8};
  for (int i = 0; i < 5; ++i) m.RandomLines[i] = {i, 2, 3, 4, 5};
  for (int i = 0; i < 4; ++i) m.DoubleLines[i] = {0x3333 + i, 4, 2, 4};
  for (int i = 0; i < 257; ++i) {
    TEntJwwColorExNo& c = m.ColorsEx[i];
    c.Color = 0x000100 * i, c.Width = i % 7, c.Name = "Color_" + std::to_string(i);
    c.PrintColor = i >= 17 ? c.Color : 0x00FF00, c.PrintWidth = i % 11, c.PointRadius = 0.25 * (i % 5);
  }
  m.ColorsEx[5].Name = "\x90\xd4";  // "赤"
  for (int i = 0; i < 33; ++i) {
    TEntJwwLineTypeExNo& t = m.LineTypesEx[i];
    t.Pattern = -1 - i, t.UnitDots = 8, t.Pitch = 1, t.PrintPitch = 8;
    t.Name = "LType_" + std::to_string(i);
    t.SegmentCount = 2 * (1 + i % 4);
    for (int s = 0; s < t.SegmentCount; ++s) t.Segments[s] = 1.0 + s;
  }
  for (int i = 0; i < 10; ++i) m.TextSizes[i] = {1.0 + i, 1.5 + i, 0.25, i % 9 + 1};

  const uint16_t width = v >= 351 ? 25 : 0;
  auto common = [&](uint16_t group, uint16_t layer, uint16_t pen, uint8_t lt) {
    TEntJwwCommon c = MakeCommon(group, layer, pen, lt);
    c.Width = width;
    c.Group = 3;
    c.Flags = 0x0010;
    return c;
  };
  Append(m, MakeLine(0, 0, 100, 0, common(1, 2, 3, 1)));
  Append(m, MakeCircle(50, 25, 10, common(15, 15, 9, 19)));
  Append(m, MakeLine(100, 0, 100, 50, common(0, 0, 1, 9)));
  Append(m, MakeText(10, 10, "Hello \x93\xfa\x96\x7b", common(1, 2, 3, 2)));
  Append(m, MakeArc(20, 20, 5, 0.5, 1.5, common(2, 3, 4, 11)));
  Append(m, MakePoint(1, 2, common(1, 2, 3, 1)));
  TEntJwwPoint symbol = MakePoint(3, 4, common(1, 2, 5, 100));
  symbol.Code = 12, symbol.Angle = 0.25, symbol.Scale = 2.0, symbol.Temporary = 1;
  Append(m, symbol);
  TEntJwwDimension dim = MakeDimension(0, -10, 100, -10, "100", common(1, 2, 3, 1));
  if (ext) {
    dim.SxfMode = 1;
    dim.Point1.Common.LineType = 100;
    dim.Point1.Code = 3;
  } else {
    dim.AuxLine1 = dim.AuxLine2 = TEntJwwLine{};
    dim.Point1 = dim.Point2 = dim.AuxPoint1 = dim.AuxPoint2 = TEntJwwPoint{};
  }
  Append(m, dim);
  Append(m, MakeSolid(0, 60, 10, 10, common(1, 2, 3, 1)));
  TEntJwwSolid coloured = MakeSolid(20, 60, 10, 10, common(1, 2, 10, 1));
  coloured.Rgb = 0x00FF8040;
  Append(m, coloured);
  Append(m, MakeInsert(200, 0, 0, common(1, 2, 3, 1)));
  TEntJwwBlockInsert turned = MakeInsert(250, 0, 1, common(1, 2, 3, 1));
  turned.Angle = 0.5;
  Append(m, turned);
  if (ext) {
    Append(m, MakeLine(0, 5, 10, 5, common(3, 4, 110, 40)));
    Append(m, MakeArc(0, 5, 3, 0, 1, common(3, 4, 356, 62)));
    Append(m, MakeSolid(0, 90, 5, 5, common(3, 4, 200, 1)));
  }
  if (v >= 700) {
    Append(m, MakeText(10, 20, "^@BM%temp%PIC.BMP,100,50,0,0,0,0", common(1, 2, 3, 1)));
    Append(m, MakeText(10, 30, "^@BM%temp%note.txt,20,20", common(1, 2, 3, 1)));
  }

  TEntJwwBlockDef& d0 = AddBlockDef(m, 0, "door");
  d0.Time = 12345;
  d0.Common.Width = width;
  Append(d0, MakeLine(0, 0, 10, 0));
  Append(d0, MakeArc(0, 0, 10, 0, std::numbers::pi / 2));
  Append(d0, MakeText(0, 5, "D1"));
  Append(d0, MakeInsert(0, 0, 1));
  TEntJwwBlockDef& d1 = AddBlockDef(m, 1, "\x83\x6d\x83\x75");  // "ノブ"
  d1.Time = 7;
  d1.Referenced = 1;
  Append(d1, MakeCircle(0, 0, 1));
  Append(d1, MakePoint(0, 0));
  Append(d1, MakeSolid(0, 0, 1, 1));
  TEntJwwDimension inner = MakeDimension(0, 0, 1, 0, "1");
  if (ext) {
    inner.SxfMode = 2;
  } else {
    inner.AuxLine1 = inner.AuxLine2 = TEntJwwLine{};
    inner.Point1 = inner.Point2 = inner.AuxPoint1 = inner.AuxPoint2 = TEntJwwPoint{};
  }
  Append(d1, inner);
  m.BuildBlockTree();
}

}  // namespace jwwtest
