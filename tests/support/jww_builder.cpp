#include "jww_builder.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <cstdio>

#include "bind_images.h"
#include "file_io.h"
#include "jww_data.h"
#include "sjis.h"

namespace jwwtest {

namespace {

std::u16string Utf8ToUtf16(const std::string& s) {
  std::u16string out;
  for (size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    uint32_t cp = b;
    size_t n = 1;
    if (b >= 0xF0) {
      cp = b & 0x07, n = 4;
    } else if (b >= 0xE0) {
      cp = b & 0x0F, n = 3;
    } else if (b >= 0xC0) {
      cp = b & 0x1F, n = 2;
    }
    for (size_t k = 1; k < n && i + k < s.size(); ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    i += n;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
  }
  return out;
}

}  // namespace

const char* ElementClassName(int32_t kind) {
  static const char* const names[] = {nullptr,       "CDataSen",   "CDataEnko",  "CDataTen",
                                      "CDataMoji",   "CDataSunpou", "CDataSolid", "CDataBlock"};
  return kind >= 1 && kind <= 7 ? names[kind] : nullptr;
}

int32_t ElementKind(const JwwElement& e) {
  const size_t i = e.index();
  return i < 7 ? static_cast<int32_t>(i) + 1 : 0;
}

JwwDrawingDesc::JwwDrawingDesc() {
  Header.Signature = "JwwData.";
  LayerGroups.resize(16);
  Layers.resize(256);
  Pens.resize(10);
  LineTypes.resize(8);
  RandomLines.resize(5);
  DoubleLines.resize(4);
  ColorsEx.resize(257);
  LineTypesEx.resize(33);
  TextSizes.resize(10);
}

// ---------------------------------------------------------------------------
// JwwArchiveWriter

JwwArchiveWriter::JwwArchiveWriter(int32_t version, const JwwBuildOptions& options)
    : version_(version), options_(options) {}

void JwwArchiveWriter::String(const std::string& sjis, bool unicode) {
  if (unicode) {
    UnicodeString(Utf8ToUtf16(SjisToUtf8(sjis)));
    return;
  }
  const size_t n = sjis.size();
  if (n < 255 && !options_.LongStringLengths) {
    out_.U8(static_cast<uint8_t>(n));
  } else if (n < 0xFFFE) {  // 0xFFFE would read as the Unicode marker
    out_.U8(0xFF);
    out_.U16(static_cast<uint16_t>(n));
  } else {
    out_.U8(0xFF);
    out_.U16(0xFFFF);
    out_.U32(static_cast<uint32_t>(n));
  }
  out_.Bytes(sjis.data(), n);
}

void JwwArchiveWriter::UnicodeString(const std::u16string& units) {
  out_.U8(0xFF);
  out_.U16(0xFFFE);
  const size_t n = units.size();
  if (n < 255 && !options_.LongStringLengths) {
    out_.U8(static_cast<uint8_t>(n));
  } else if (n < 0xFFFF) {
    out_.U8(0xFF);
    out_.U16(static_cast<uint16_t>(n));
  } else {
    out_.U8(0xFF);
    out_.U16(0xFFFF);
    out_.U32(static_cast<uint32_t>(n));
  }
  for (char16_t u : units) out_.U16(static_cast<uint16_t>(u));
}

void JwwArchiveWriter::Count(uint32_t n) {
  if (n <= 0xFFFE && !options_.WideCounts) {
    out_.U16(static_cast<uint16_t>(n));
  } else {
    out_.U16(0xFFFF);
    out_.U32(n);
  }
}

void JwwArchiveWriter::ClassRef(uint32_t index) {
  if (index <= 0x7FFE && !options_.LongClassRefs) {
    out_.U16(static_cast<uint16_t>(0x8000 | index));
  } else {
    out_.U16(0x7FFF);
    out_.U32(0x80000000u | index);
  }
}

void JwwArchiveWriter::ObjectTag(const std::string& className) {
  ClassTag(className);
  ++nextIndex_;
}

void JwwArchiveWriter::ClassTag(const std::string& className) {
  auto it = classIndex_.find(className);
  if (it == classIndex_.end()) {
    out_.U16(0xFFFF);
    out_.U16(static_cast<uint16_t>(options_.Schema >= 0 ? options_.Schema : version_));
    out_.U16(static_cast<uint16_t>(className.size()));
    out_.Bytes(className.data(), className.size());
    classIndex_[className] = nextIndex_++;
  } else {
    ClassRef(it->second);
  }
}

void JwwArchiveWriter::Header(const JwwDrawingDesc& s) {
  const TEntJwwHeader& h = s.Header;
  const int32_t v = version_;
  ByteWriter& o = out_;

  std::string sig = h.Signature;
  sig.resize(8, '\0');
  o.Bytes(sig.data(), 8);                                                     // 1
  o.I32(v);                                                                   // 2
  if (options_.MemoUtf16) {                                                   // 3
    UnicodeString(*options_.MemoUtf16);
  } else {
    String(h.Memo, options_.UnicodeMemo);
  }
  o.I32(h.PaperSize);                                                         // 4
  o.I32(h.WriteLayerGroup);
  for (int g = 0; g < 16; ++g) {                                              // 5
    const TEntJwwLayerGroup& lg = s.LayerGroups[g];
    o.I32(lg.State);
    o.I32(lg.WriteLayer);
    o.F64(lg.Scale);
    o.I32(lg.Protect);
    for (int l = 0; l < 16; ++l) {
      o.I32(s.Layers[g * 16 + l].State);
      o.I32(s.Layers[g * 16 + l].Protect);
    }
  }
  const auto reserved = [&](int i) { return options_.ReservedBytes ? (*options_.ReservedBytes)[i] : options_.ReservedFill; };
  for (int i = 0; i < 56; ++i) o.U8(reserved(i));                             // 6
  for (int32_t d : h.DimensionSettings) o.I32(d);                             // 7
  for (int i = 56; i < 60; ++i) o.U8(reserved(i));                            // 8
  o.I32(h.MaxDrawWidth);                                                      // 9
  o.F64(h.PrintOriginX);                                                      // 10
  o.F64(h.PrintOriginY);
  o.F64(h.PrintScale);
  o.I32(h.PrintRotation);
  o.I32(h.GridMode);
  o.F64(h.GridMinDots);
  o.F64(h.GridPitchX);
  o.F64(h.GridPitchY);
  o.F64(h.GridOriginX);
  o.F64(h.GridOriginY);
  for (int i = 0; i < 256; ++i) String(s.Layers[i].Name);                     // 11
  for (int g = 0; g < 16; ++g) String(s.LayerGroups[g].Name);
  o.F64(h.ShadowLevel);                                                       // 12
  o.F64(h.ShadowLatitude);
  o.I32(h.Shadow9To15);
  o.F64(h.WallShadowLevel);
  if (v >= 300) {                                                             // 13
    o.F64(h.SkyMapLevel);
    o.F64(h.SkyMapRadius);
  }
  o.I32(h.Unit3D);                                                            // 14
  o.F64(h.SavedViewScale);
  o.F64(h.SavedViewOriginX);
  o.F64(h.SavedViewOriginY);
  o.F64(h.RangeViewScale);
  o.F64(h.RangeViewOriginX);
  o.F64(h.RangeViewOriginY);
  if (v <= 230) {                                                             // 15a
    for (int j = 0; j < 4; ++j) {
      o.F64(h.JumpScale[j]);
      o.F64(h.JumpX[j]);
      o.F64(h.JumpY[j]);
    }
  } else {                                                                    // 15b
    for (int j = 0; j < 8; ++j) {
      o.F64(h.JumpScale[j]);
      o.F64(h.JumpX[j]);
      o.F64(h.JumpY[j]);
      o.I32(h.JumpLayerGroup[j]);
    }
    for (double d : h.ReservedReals1) o.F64(d);
    o.I32(h.ReservedInt1);
    for (double d : h.ReservedReals2) o.F64(d);
    o.F64(h.TextBackgroundSize);
    o.I32(h.TextBackgroundMode);
  }
  for (double d : h.MultiLineDistances) o.F64(d);                             // 16
  o.F64(h.BothSideDistance);
  for (const TEntJwwPen& p : s.Pens) {
    o.I32(p.Color);
    o.I32(p.Width);
  }
  for (const TEntJwwPen& p : s.Pens) {                                        // 17
    o.I32(p.PrintColor);
    o.I32(p.PrintWidth);
    o.F64(p.PointRadius);
  }
  for (const TEntJwwLineType& t : s.LineTypes) {                              // 18
    o.I32(t.Pattern);
    o.I32(t.UnitDots);
    o.I32(t.Pitch);
    o.I32(t.PrintPitch);
  }
  for (const TEntJwwRandomLine& r : s.RandomLines) {                          // 19
    o.I32(r.Pattern);
    o.I32(r.Amplitude);
    o.I32(r.Pitch);
    o.I32(r.PrintAmplitude);
    o.I32(r.PrintPitch);
  }
  for (const TEntJwwDoubleLine& t : s.DoubleLines) {
    o.I32(t.Pattern);
    o.I32(t.UnitDots);
    o.I32(t.Pitch);
    o.I32(t.PrintPitch);
  }
  for (int32_t d : h.DrawSwitches) o.I32(d);                                  // 20
  o.I32(options_.PrintValue ? *options_.PrintValue : h.SkipDisplayOnlyLayers + 10 * h.DotPitchClass);
  if (v >= 223) {                                                             // 21
    o.I32(h.DrawingTime);
    o.I32(h.Eye3DSet);
    for (int32_t a : h.EyeAngles) o.I32(a);
    o.F64(h.PerspectiveHeight);
    o.F64(h.PerspectiveDistance);
    o.F64(h.BirdHeight);
    o.F64(h.BirdDistance);
    o.F64(h.IsoAngle);
  }
  if (v >= 225) {                                                             // 22
    o.F64(h.LastLineLength);
    o.F64(h.LastBoxWidth);
    o.F64(h.LastBoxHeight);
    o.F64(h.LastCircleRadius);
  }
  if (v >= 230) {                                                             // 23
    o.I32(h.SolidAnyColor);
    o.I32(h.SolidColor);
  }
  if (v >= 420) {
    for (const TEntJwwColorExNo& c : s.ColorsEx) {                            // 24
      o.I32(c.Color);
      o.I32(c.Width);
    }
    for (const TEntJwwColorExNo& c : s.ColorsEx) {                            // 25
      String(c.Name);
      o.I32(c.PrintColor);
      o.I32(c.PrintWidth);
      o.F64(c.PointRadius);
    }
    for (const TEntJwwLineTypeExNo& t : s.LineTypesEx) {                      // 26
      o.I32(t.Pattern);
      o.I32(t.UnitDots);
      o.I32(t.Pitch);
      o.I32(t.PrintPitch);
    }
    for (const TEntJwwLineTypeExNo& t : s.LineTypesEx) {                      // 27
      String(t.Name);
      o.I32(t.SegmentCount);
      for (double d : t.Segments) o.F64(d);
    }
  }
  for (const TEntJwwTextSize& t : s.TextSizes) {                              // 28
    o.F64(t.Width);
    o.F64(t.Height);
    o.F64(t.Spacing);
    o.I32(t.Color);
  }
  o.F64(h.TextWidth);                                                         // 29
  o.F64(h.TextHeight);
  o.F64(h.TextSpacing);
  o.I32(h.TextColor);
  o.I32(h.TextKind);
  o.F64(h.TextLinePitch);
  o.F64(h.TextLineCount);
  o.I32(h.TextShiftOn);
  for (double d : h.TextShiftX) o.F64(d);
  for (double d : h.TextShiftY) o.F64(d);
}

void JwwArchiveWriter::Common(const TEntJwwCommon& c) {
  out_.U32(c.Group);
  out_.U8(c.LineType);
  out_.U16(c.Color);
  if (version_ >= 351) out_.U16(c.Width);
  out_.U16(c.Layer);
  out_.U16(c.LayerGroup);
  out_.U16(c.Flags);
}

void JwwArchiveWriter::Line(const TEntJwwLine& e) {
  Common(e.Common);
  out_.F64(e.X1);
  out_.F64(e.Y1);
  out_.F64(e.X2);
  out_.F64(e.Y2);
}

void JwwArchiveWriter::Arc(const TEntJwwArc& e) {
  Common(e.Common);
  out_.F64(e.CenterX);
  out_.F64(e.CenterY);
  out_.F64(e.Radius);
  out_.F64(e.StartAngle);
  out_.F64(e.ArcAngle);
  out_.F64(e.Tilt);
  out_.F64(e.Flatness);
  out_.U32(e.FullCircle);
}

void JwwArchiveWriter::Point(const TEntJwwPoint& e) {
  Common(e.Common);
  out_.F64(e.X);
  out_.F64(e.Y);
  out_.U32(e.Temporary);
  if (e.Common.LineType == 100) {
    out_.U32(e.Code);
    out_.F64(e.Angle);
    out_.F64(e.Scale);
  }
}

void JwwArchiveWriter::Text(const TEntJwwText& e) {
  Common(e.Common);
  out_.F64(e.StartX);
  out_.F64(e.StartY);
  out_.F64(e.EndX);
  out_.F64(e.EndY);
  out_.U32(e.Kind);
  out_.F64(e.SizeX);
  out_.F64(e.SizeY);
  out_.F64(e.Spacing);
  out_.F64(e.Angle);
  String(e.FontName);
  String(e.Content);
}

void JwwArchiveWriter::Dimension(const TEntJwwDimension& e) {
  Common(e.Common);
  Line(e.Line);
  Text(e.Text);
  if (version_ >= 420) {
    out_.U16(e.SxfMode);
    Line(e.AuxLine1);
    Line(e.AuxLine2);
    Point(e.Point1);
    Point(e.Point2);
    Point(e.AuxPoint1);
    Point(e.AuxPoint2);
  }
}

void JwwArchiveWriter::Solid(const TEntJwwSolid& e) {
  Common(e.Common);
  for (double d : {e.X1, e.Y1, e.X2, e.Y2, e.X3, e.Y3, e.X4, e.Y4}) out_.F64(d);
  if (e.Common.Color == 10) out_.U32(e.Rgb);
}

void JwwArchiveWriter::BlockInsert(const TEntJwwBlockInsert& e) {
  Common(e.Common);
  out_.F64(e.X);
  out_.F64(e.Y);
  out_.F64(e.ScaleX);
  out_.F64(e.ScaleY);
  out_.F64(e.Angle);
  out_.U32(e.BlockNumber);
}

void JwwArchiveWriter::Element(const JwwElement& e) {
  if (const auto* raw = std::get_if<JwwRawObject>(&e)) {
    out_.Bytes(raw->Bytes.data(), raw->Bytes.size());
    ++nextIndex_;
    return;
  }
  if (const auto* foreign = std::get_if<JwwForeignObject>(&e)) {
    ObjectTag(foreign->ClassName);
    out_.Bytes(foreign->Data.data(), foreign->Data.size());
    return;
  }
  ObjectTag(ElementClassName(ElementKind(e)));
  std::visit(
      [this](const auto& x) {
        using T = std::decay_t<decltype(x)>;
        if constexpr (std::is_same_v<T, TEntJwwLine>) Line(x);
        if constexpr (std::is_same_v<T, TEntJwwArc>) Arc(x);
        if constexpr (std::is_same_v<T, TEntJwwPoint>) Point(x);
        if constexpr (std::is_same_v<T, TEntJwwText>) Text(x);
        if constexpr (std::is_same_v<T, TEntJwwDimension>) Dimension(x);
        if constexpr (std::is_same_v<T, TEntJwwSolid>) Solid(x);
        if constexpr (std::is_same_v<T, TEntJwwBlockInsert>) BlockInsert(x);
      },
      e);
}

void JwwArchiveWriter::ElementList(const JwwElementList& list) {
  Count(list.CountOverride ? *list.CountOverride : static_cast<uint32_t>(list.Items.size()));
  for (const JwwElement& e : list.Items) Element(e);
}

void JwwArchiveWriter::BlockDef(const JwwBuilderBlockDef& def) {
  // The definition object's own index is taken after its element count.
  ClassTag(kBlockDefClassName);
  Common(def.Common);
  out_.I32(def.Number);
  out_.I32(def.Referenced);
  out_.I32(def.Time);
  if (def.Time < 0) {
    out_.Bytes(&def.Time64, 8);
  }
  String(def.Name);
  Count(def.Elements.CountOverride ? *def.Elements.CountOverride
                                   : static_cast<uint32_t>(def.Elements.Items.size()));
  ++nextIndex_;
  for (const JwwElement& e : def.Elements.Items) Element(e);
}

void JwwArchiveWriter::Images(const std::vector<JwwBuilderImage>& images, std::optional<uint32_t> countOverride) {
  out_.U32(countOverride ? *countOverride : static_cast<uint32_t>(images.size()));
  for (const JwwBuilderImage& im : images) {
    String(im.Name);
    const uint32_t size = im.SizeOverride ? *im.SizeOverride : static_cast<uint32_t>(im.Content.size());
    out_.U32(size);
    if (!im.Name.empty() && size != 0) out_.Bytes(im.Content.data(), std::min<size_t>(size, im.Content.size()));
  }
}

// ---------------------------------------------------------------------------
// JwwBuilder

JwwBuilderBlockDef& JwwBuilder::AddBlockDef(int32_t number, const std::string& name) {
  JwwBuilderBlockDef def;
  def.Common = MakeCommon();
  def.Number = number;
  def.Name = name;
  drawing.BlockDefs.push_back(std::move(def));
  return drawing.BlockDefs.back();
}

JwwBuilderImage& JwwBuilder::AddImage(const std::string& name, const std::string& content) {
  drawing.Images.push_back({name, content, std::nullopt});
  return drawing.Images.back();
}

std::vector<uint8_t> JwwBuilder::Bytes(int32_t version) const {
  JwwArchiveWriter w(version, options);
  w.Header(drawing);
  w.ElementList(drawing.Elements);
  w.Count(drawing.BlockDefCountOverride ? *drawing.BlockDefCountOverride : static_cast<uint32_t>(drawing.BlockDefs.size()));
  for (const JwwBuilderBlockDef& def : drawing.BlockDefs) w.BlockDef(def);
  if (version >= 700) w.Images(drawing.Images, drawing.ImageCountOverride);
  return std::move(w.Buffer());
}

bool JwwBuilder::WriteFile(const std::string& path, int32_t version) const {
  const std::vector<uint8_t> bytes = Bytes(version);
  std::FILE* f = OpenFile(path, "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

namespace {

template <typename T>
void AppendOrdered(JwwElementList& list, const std::vector<TEntJwwOrder>& order, int32_t orderCount,
                   const T& arrays) {
  const int32_t n = std::min<int32_t>(orderCount, static_cast<int32_t>(order.size()));
  for (int32_t i = 0; i < n; ++i) {
    const TEntJwwOrder& o = order[i];
    if (o.Row < 0) continue;
    const size_t r = static_cast<size_t>(o.Row);
    switch (o.Kind) {
      case kKindLine: if (r < arrays.lines.size()) list.Add(arrays.lines[r]); break;
      case kKindArc: if (r < arrays.arcs.size()) list.Add(arrays.arcs[r]); break;
      case kKindPoint: if (r < arrays.points.size()) list.Add(arrays.points[r]); break;
      case kKindText: if (r < arrays.texts.size()) list.Add(arrays.texts[r]); break;
      case kKindDimension: if (r < arrays.dims.size()) list.Add(arrays.dims[r]); break;
      case kKindSolid: if (r < arrays.solids.size()) list.Add(arrays.solids[r]); break;
      case kKindBlockInsert: if (r < arrays.inserts.size()) list.Add(arrays.inserts[r]); break;
      default: break;
    }
  }
}

struct ArrayRefs {
  const std::vector<TEntJwwLine>& lines;
  const std::vector<TEntJwwArc>& arcs;
  const std::vector<TEntJwwPoint>& points;
  const std::vector<TEntJwwText>& texts;
  const std::vector<TEntJwwDimension>& dims;
  const std::vector<TEntJwwSolid>& solids;
  const std::vector<TEntJwwBlockInsert>& inserts;
};

template <typename T>
void CopyTable(std::vector<T>& to, const std::vector<T>& from) {
  for (size_t i = 0; i < to.size() && i < from.size(); ++i) to[i] = from[i];
}

}  // namespace

JwwBuilder JwwBuilder::FromModel(const TJwwData& m, const std::vector<TBindImageType>& images,
                                 const std::map<std::string, std::string>& contents) {
  JwwBuilder b;
  JwwDrawingDesc& s = b.drawing;
  s.Header = m.Header;
  if (s.Header.Signature.empty()) s.Header.Signature = "JwwData.";
  CopyTable(s.LayerGroups, m.LayerGroups);
  CopyTable(s.Layers, m.Layers);
  CopyTable(s.Pens, m.Pens);
  CopyTable(s.LineTypes, m.LineTypes);
  CopyTable(s.RandomLines, m.RandomLines);
  CopyTable(s.DoubleLines, m.DoubleLines);
  CopyTable(s.ColorsEx, m.ColorsEx);
  CopyTable(s.LineTypesEx, m.LineTypesEx);
  CopyTable(s.TextSizes, m.TextSizes);
  AppendOrdered(s.Elements, m.EntityOrder, m.EntityOrderCount,
                ArrayRefs{m.Lines, m.Arcs, m.Points, m.Texts, m.Dimensions, m.Solids, m.BlockInserts});
  const int32_t defs = std::min<int32_t>(m.BlockListCount, static_cast<int32_t>(m.BlockDefs.size()));
  for (int32_t i = 0; i < defs; ++i) {
    const TEntJwwBlockDef& def = m.BlockDefs[i];
    const TEntJwwBlockDefElements& d = def.Elements();
    JwwBuilderBlockDef& bd = b.AddBlockDef(def.Number, def.Name);
    bd.Common = def.Common;
    bd.Referenced = def.Referenced;
    bd.Time = def.Time;
    AppendOrdered(bd.Elements, d.Order, d.OrderCount,
                  ArrayRefs{d.Lines, d.Arcs, d.Points, d.Texts, d.Dimensions, d.Solids, d.Inserts});
  }
  for (const TBindImageType& im : images) {
    auto it = contents.find(im.Name);
    std::string content = it != contents.end() ? it->second : std::string(static_cast<size_t>(std::max(im.Size, 0)), '\0');
    b.AddImage(im.Name, content);
  }
  return b;
}

// ---------------------------------------------------------------------------
// Element makers and the sample drawing

TEntJwwCommon MakeCommon(uint16_t layerGroup, uint16_t layer, uint16_t color, uint8_t lineType) {
  TEntJwwCommon c;
  c.LineType = lineType;
  c.Color = color;
  c.Layer = layer;
  c.LayerGroup = layerGroup;
  return c;
}

TEntJwwLine MakeLine(double x1, double y1, double x2, double y2, const TEntJwwCommon& c) {
  TEntJwwLine e;
  e.Common = c;
  e.X1 = x1, e.Y1 = y1, e.X2 = x2, e.Y2 = y2;
  return e;
}

TEntJwwArc MakeCircle(double cx, double cy, double r, const TEntJwwCommon& c) {
  TEntJwwArc e = MakeArc(cx, cy, r, 0, 2 * std::numbers::pi, c);
  e.FullCircle = 1;
  return e;
}

TEntJwwArc MakeArc(double cx, double cy, double r, double start, double sweep, const TEntJwwCommon& c) {
  TEntJwwArc e;
  e.Common = c;
  e.CenterX = cx, e.CenterY = cy, e.Radius = r;
  e.StartAngle = start, e.ArcAngle = sweep;
  e.Flatness = 1.0;
  return e;
}

TEntJwwPoint MakePoint(double x, double y, const TEntJwwCommon& c) {
  TEntJwwPoint e;
  e.Common = c;
  e.X = x, e.Y = y;
  e.Scale = 1.0;
  return e;
}

TEntJwwText MakeText(double x, double y, const std::string& content, const TEntJwwCommon& c) {
  TEntJwwText e;
  e.Common = c;
  e.StartX = x, e.StartY = y;
  e.EndX = x + 2.5 * static_cast<double>(content.size()), e.EndY = y;
  e.Kind = 1;
  e.SizeX = 2.5, e.SizeY = 2.5;
  e.FontName = "\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e";  // "ＭＳ ゴシック"
  e.Content = content;
  return e;
}

TEntJwwDimension MakeDimension(double x1, double y1, double x2, double y2, const std::string& value,
                               const TEntJwwCommon& c) {
  TEntJwwDimension e;
  e.Common = c;
  e.Line = MakeLine(x1, y1, x2, y2, c);
  e.Text = MakeText((x1 + x2) / 2, (y1 + y2) / 2 + 1, value, c);
  e.AuxLine1 = MakeLine(x1, y1 - 5, x1, y1, c);
  e.AuxLine2 = MakeLine(x2, y2 - 5, x2, y2, c);
  e.Point1 = MakePoint(x1, y1, c);
  e.Point2 = MakePoint(x2, y2, c);
  e.AuxPoint1 = MakePoint(x1, y1 - 5, c);
  e.AuxPoint2 = MakePoint(x2, y2 - 5, c);
  for (TEntJwwPoint* p : {&e.Point1, &e.Point2, &e.AuxPoint1, &e.AuxPoint2}) p->Scale = 0;
  return e;
}

TEntJwwSolid MakeSolid(double x, double y, double w, double h, const TEntJwwCommon& c) {
  TEntJwwSolid e;
  e.Common = c;
  e.X1 = x, e.Y1 = y;
  e.X2 = x + w, e.Y2 = y;
  e.X3 = x + w, e.Y3 = y + h;
  e.X4 = x, e.Y4 = y + h;
  return e;
}

TEntJwwBlockInsert MakeInsert(double x, double y, uint32_t blockNumber, const TEntJwwCommon& c) {
  TEntJwwBlockInsert e;
  e.Common = c;
  e.X = x, e.Y = y;
  e.ScaleX = 1, e.ScaleY = 1;
  e.BlockNumber = blockNumber;
  return e;
}

void FillDistinctValues(JwwDrawingDesc& s) {
  int32_t n = 1;
  auto I = [&n](int32_t& v) { v = n++; };
  auto D = [&n](double& v) { v = n++ + 0.25; };
  auto S = [&n](std::string& v) { v = "name" + std::to_string(n++); };
  TEntJwwHeader& h = s.Header;
  h.Memo = "memo line 1\r\nmemo line 2";
  I(h.PaperSize);
  I(h.WriteLayerGroup);
  for (int32_t& v : h.DimensionSettings) I(v);
  I(h.MaxDrawWidth);
  for (double* v : {&h.PrintOriginX, &h.PrintOriginY, &h.PrintScale}) D(*v);
  I(h.PrintRotation);
  I(h.GridMode);
  for (double* v : {&h.GridMinDots, &h.GridPitchX, &h.GridPitchY, &h.GridOriginX, &h.GridOriginY, &h.ShadowLevel,
                    &h.ShadowLatitude})
    D(*v);
  I(h.Shadow9To15);
  for (double* v : {&h.WallShadowLevel, &h.SkyMapLevel, &h.SkyMapRadius}) D(*v);
  I(h.Unit3D);
  for (double* v : {&h.SavedViewScale, &h.SavedViewOriginX, &h.SavedViewOriginY, &h.RangeViewScale,
                    &h.RangeViewOriginX, &h.RangeViewOriginY})
    D(*v);
  for (int j = 0; j < 8; ++j) {
    D(h.JumpScale[j]);
    D(h.JumpX[j]);
    D(h.JumpY[j]);
    I(h.JumpLayerGroup[j]);
  }
  for (double& v : h.ReservedReals1) D(v);
  I(h.ReservedInt1);
  for (double& v : h.ReservedReals2) D(v);
  D(h.TextBackgroundSize);
  I(h.TextBackgroundMode);
  for (double& v : h.MultiLineDistances) D(v);
  D(h.BothSideDistance);
  for (int32_t& v : h.DrawSwitches) I(v);
  h.SkipDisplayOnlyLayers = 3;
  h.DotPitchClass = 2;
  I(h.DrawingTime);
  I(h.Eye3DSet);
  for (int32_t& v : h.EyeAngles) I(v);
  for (double* v : {&h.PerspectiveHeight, &h.PerspectiveDistance, &h.BirdHeight, &h.BirdDistance, &h.IsoAngle,
                    &h.LastLineLength, &h.LastBoxWidth, &h.LastBoxHeight, &h.LastCircleRadius})
    D(*v);
  I(h.SolidAnyColor);
  I(h.SolidColor);
  for (double* v : {&h.TextWidth, &h.TextHeight, &h.TextSpacing}) D(*v);
  I(h.TextColor);
  I(h.TextKind);
  D(h.TextLinePitch);
  D(h.TextLineCount);
  I(h.TextShiftOn);
  for (double& v : h.TextShiftX) D(v);
  for (double& v : h.TextShiftY) D(v);

  for (TEntJwwLayerGroup& g : s.LayerGroups) {
    I(g.State);
    I(g.WriteLayer);
    D(g.Scale);
    I(g.Protect);
    S(g.Name);
  }
  for (TEntJwwLayer& l : s.Layers) {
    I(l.State);
    I(l.Protect);
    S(l.Name);
  }
  for (TEntJwwPen& p : s.Pens) {
    I(p.Color);
    I(p.Width);
    I(p.PrintColor);
    I(p.PrintWidth);
    D(p.PointRadius);
  }
  for (TEntJwwLineType& t : s.LineTypes) {
    I(t.Pattern);
    I(t.UnitDots);
    I(t.Pitch);
    I(t.PrintPitch);
  }
  for (TEntJwwRandomLine& r : s.RandomLines) {
    I(r.Pattern);
    I(r.Amplitude);
    I(r.Pitch);
    I(r.PrintAmplitude);
    I(r.PrintPitch);
  }
  for (TEntJwwDoubleLine& t : s.DoubleLines) {
    I(t.Pattern);
    I(t.UnitDots);
    I(t.Pitch);
    I(t.PrintPitch);
  }
  for (TEntJwwColorExNo& c : s.ColorsEx) {
    I(c.Color);
    I(c.Width);
    S(c.Name);
    I(c.PrintColor);
    I(c.PrintWidth);
    D(c.PointRadius);
  }
  for (TEntJwwLineTypeExNo& t : s.LineTypesEx) {
    I(t.Pattern);
    I(t.UnitDots);
    I(t.Pitch);
    I(t.PrintPitch);
    S(t.Name);
    I(t.SegmentCount);
    for (double& v : t.Segments) D(v);
  }
  for (TEntJwwTextSize& t : s.TextSizes) {
    D(t.Width);
    D(t.Height);
    D(t.Spacing);
    I(t.Color);
  }
}

JwwBuilder MakeNestedInsertsDrawing(int top, int middle, int inner, size_t nameBytes) {
  JwwBuilder b;
  const auto name = [&](char c) { return std::string(nameBytes, c); };
  b.AddBlockDef(3, name('c')).Elements.Add(MakeLine(0, 0, 1, 1));
  JwwBuilderBlockDef& holdsInner = b.AddBlockDef(2, name('b'));
  for (int i = 0; i < inner; ++i) holdsInner.Elements.Add(MakeInsert(i, 0, 3));
  JwwBuilderBlockDef& holdsMiddle = b.AddBlockDef(1, name('a'));
  for (int i = 0; i < middle; ++i) holdsMiddle.Elements.Add(MakeInsert(0, i, 2));
  for (int i = 0; i < top; ++i) b.AddBlockInsert(MakeInsert(i * 2000.0, 0, 1));
  return b;
}

JwwBuilder MakeSampleDrawing() {
  JwwBuilder b;
  TEntJwwHeader& h = b.Header();
  h.Memo = "first line\r\nsecond line";
  h.PaperSize = 3;
  h.WriteLayerGroup = 1;
  h.MaxDrawWidth = 1;
  h.PrintScale = 1.0;
  h.DrawingTime = 3725;
  h.DrawSwitches = {1, 2, 62, 0, 0, 1, 0, 0, 0, 0};
  h.SkipDisplayOnlyLayers = 1;
  h.DotPitchClass = 1;
  for (int g = 0; g < 16; ++g) {
    b.LayerGroup(g).State = 2;
    b.LayerGroup(g).Scale = g == 1 ? 50 : 100;
    for (int l = 0; l < 16; ++l) b.Layer(g, l).State = 2;
  }
  b.LayerGroup(1).Name = "plan";
  b.Layer(1, 2).Name = "walls";
  b.Layer(0, 0).Name = "\x95\xc7";  // "壁"
  for (int i = 0; i < 10; ++i) {
    b.Pen(i).Color = 0x000000 + i;
    b.Pen(i).Width = 1;
    b.Pen(i).PrintColor = 0;
    b.Pen(i).PrintWidth = 1 + i;
    b.Pen(i).PointRadius = 0.5;
  }
  b.drawing.ColorsEx[101].Name = "Color_101";
  b.drawing.LineTypesEx[31].Name = "LType_31";
  b.drawing.LineTypesEx[31].SegmentCount = 2;
  b.drawing.LineTypesEx[31].Segments[0] = 1;
  b.drawing.LineTypesEx[31].Segments[1] = 1;
  for (int i = 0; i < 10; ++i) b.drawing.TextSizes[i] = {1.0 + i, 1.0 + i, 0.0, 1};

  const TEntJwwCommon c = MakeCommon(1, 2, 3, 1);
  b.AddLine(MakeLine(0, 0, 100, 0, c));
  b.AddLine(MakeLine(100, 0, 100, 50, c)).Common.Width = 7;
  b.AddArc(MakeCircle(50, 25, 10, c));
  b.AddArc(MakeArc(20, 20, 5, 0.5, 1.5, c));
  b.AddPoint(MakePoint(1, 2, c));
  TEntJwwPoint& symbol = b.AddPoint(MakePoint(3, 4, MakeCommon(1, 2, 3, 100)));
  symbol.Code = 12, symbol.Angle = 0.25, symbol.Scale = 2.0;
  b.AddText(MakeText(10, 10, "Hello \x93\xfa\x96\x7b", c));  // "日本"
  b.AddText(MakeText(10, 20, "^@BM%temp%pic.bmp.gz,100,50,0,0,0,0", c));
  TEntJwwDimension& dim = b.AddDimension(MakeDimension(0, -10, 100, -10, "100", c));
  dim.SxfMode = 1;
  dim.Point1.Common.LineType = 100;
  dim.Point1.Code = 3;
  b.AddSolid(MakeSolid(0, 60, 10, 10, c));
  b.AddSolid(MakeSolid(20, 60, 10, 10, MakeCommon(1, 2, 10, 1))).Rgb = 0x00FF8040;
  b.AddBlockInsert(MakeInsert(200, 0, 1, c));
  b.AddBlockInsert(MakeInsert(250, 0, 2, c)).Angle = 0.5;

  JwwBuilderBlockDef& d1 = b.AddBlockDef(1, "door");
  d1.Time = -1;
  d1.Time64 = 0x0123456789ABCDEFll;
  d1.Elements.Add(MakeLine(0, 0, 10, 0));
  d1.Elements.Add(MakeArc(0, 0, 10, 0, std::numbers::pi / 2));
  d1.Elements.Add(MakeText(0, 5, "D1"));
  d1.Elements.Add(MakeInsert(0, 0, 2));
  JwwBuilderBlockDef& d2 = b.AddBlockDef(2, "knob");
  d2.Time = 12345;
  d2.Referenced = 1;
  d2.Elements.Add(MakeCircle(0, 0, 1));
  d2.Elements.Add(MakePoint(0, 0));
  d2.Elements.Add(MakeSolid(0, 0, 1, 1));
  d2.Elements.Add(MakeDimension(0, 0, 1, 0, "1"));

  b.AddImage("pic.bmp.gz", std::string("\x1f\x8b\x08\x00 fake gzip payload", 23));
  b.AddImage("note.txt", std::string(3000, 'n'));  // more than one 2048-byte chunk
  return b;
}

}  // namespace jwwtest
