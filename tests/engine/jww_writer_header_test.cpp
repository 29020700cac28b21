// Header rules of the writer: each case spoils a writer-stable drawing and
// expects the bytes the builder encodes for the drawing as the writer must
// correct it.
#include <gtest/gtest.h>

#include <climits>
#include <functional>

#include "bind_images.h"
#include "jww_builder.h"
#include "jww_data.h"
#include "jww_model_maker.h"

using namespace jwwtest;

namespace {

struct HeaderCase {
  const char* name;
  int32_t modelVersion;
  int32_t saveVersion;
  std::function<void(TJwwData&)> spoil;
  std::function<void(JwwBuilder&)> expect;  // applied to the builder of the unspoiled model
};

std::vector<uint8_t> Saved(TJwwData& m, int32_t v) {
  std::vector<uint8_t> bytes;
  EXPECT_TRUE(m.SaveToBytes(bytes, v));
  return bytes;
}

void RunCase(const HeaderCase& c) {
  TJwwData m;
  MakeStableModel(m, c.modelVersion);
  JwwBuilder expected = JwwBuilder::FromModel(m);
  c.expect(expected);
  c.spoil(m);
  EXPECT_TRUE(Saved(m, c.saveVersion) == expected.Bytes(c.saveVersion)) << c.name;
}

}  // namespace

TEST(JwwWriterHeader, ValuesOutsideTheirRangesAreWrittenWithinThem) {
  const HeaderCase cases[] = {
      {"pen width 0 and print width 900", 351, 351,
       [](TJwwData& m) { m.Pens[3].Width = 0, m.Pens[3].PrintWidth = 900; },
       [](JwwBuilder& b) { b.Pen(3).Width = 1, b.Pen(3).PrintWidth = 500; }},
      {"pen width 17 and print width -3", 700, 700,
       [](TJwwData& m) { m.Pens[4].Width = 17, m.Pens[4].PrintWidth = -3; },
       [](JwwBuilder& b) { b.Pen(4).Width = 16, b.Pen(4).PrintWidth = 1; }},
      {"pen 0 prints white whatever it holds", 700, 700, [](TJwwData& m) { m.Pens[0].PrintColor = 0x123; },
       [](JwwBuilder&) {}},
      {"colours outside 0..0xFFFFFF", 420, 420,
       [](TJwwData& m) { m.Pens[2].Color = -5, m.Pens[5].Color = 0x1000000, m.Pens[6].PrintColor = -1; },
       [](JwwBuilder& b) { b.Pen(2).Color = 0, b.Pen(5).Color = 0, b.Pen(6).PrintColor = 0; }},
      {"point radius below 0.1 and above 10", 300, 300,
       [](TJwwData& m) { m.Pens[1].PointRadius = 0.05, m.Pens[9].PointRadius = 11; },
       [](JwwBuilder& b) { b.Pen(1).PointRadius = 0.1, b.Pen(9).PointRadius = 10; }},
      {"real-size width -450 as 420", 420, 420, [](TJwwData& m) { m.Header.MaxDrawWidth = -450; },
       [](JwwBuilder& b) { b.Header().MaxDrawWidth = -101; }},
      {"real-size width -450 as 351", 351, 351, [](TJwwData& m) { m.Header.MaxDrawWidth = -450; },
       [](JwwBuilder& b) { b.Header().MaxDrawWidth = -101; }},
      {"dot-pitch class 0 as 700", 700, 700, [](TJwwData& m) { m.Header.DotPitchClass = 0; },
       [](JwwBuilder& b) { b.Header().DotPitchClass = 1; }},
      {"dot-pitch class -3 as 600", 600, 600, [](TJwwData& m) { m.Header.DotPitchClass = -3; },
       [](JwwBuilder& b) { b.Header().DotPitchClass = 1; }},
      {"dot-pitch class not stored below 600", 351, 351, [](TJwwData& m) { m.Header.DotPitchClass = 5; },
       [](JwwBuilder&) {}},
      {"dot-pitch class too large for the print value", 700, 700,
       [](TJwwData& m) { m.Header.DotPitchClass = INT32_MAX; },
       [](JwwBuilder& b) { b.options.PrintValue = INT32_MAX; }},
      {"unnamed extended pens", 700, 700,
       [](TJwwData& m) { m.ColorsEx[20].Name = "", m.ColorsEx[3].Name = " \t\x81\x40"; },
       [](JwwBuilder&) {}},  // the stable names are already "Color_" + row
      {"extended pen names lose ^m and control characters", 420, 420,
       [](TJwwData& m) { m.ColorsEx[7].Name = "bl^mue\t"; }, [](JwwBuilder& b) { b.drawing.ColorsEx[7].Name = "blue"; }},
      {"extended pens from row 17 print in their screen colour", 700, 700,
       [](TJwwData& m) { m.ColorsEx[17].PrintColor = 0x42, m.ColorsEx[256].PrintColor = 1; },
       [](JwwBuilder&) {}},
      {"extended pens below row 17 keep their print colour", 700, 700,
       [](TJwwData& m) { m.ColorsEx[16].PrintColor = 0x42; },
       [](JwwBuilder& b) { b.drawing.ColorsEx[16].PrintColor = 0x42; }},
      {"extended line type pattern 0", 420, 420, [](TJwwData& m) { m.LineTypesEx[5].Pattern = 0; },
       [](JwwBuilder& b) { b.drawing.LineTypesEx[5].Pattern = -1; }},
      {"extended line type 25 with three segments", 700, 700,
       [](TJwwData& m) {
         TEntJwwLineTypeExNo& t = m.LineTypesEx[25];
         t.SegmentCount = 3, t.Name = "mine", t.Pattern = 5;
       },
       [](JwwBuilder& b) {
         TEntJwwLineTypeExNo& t = b.drawing.LineTypesEx[25];
         t = TEntJwwLineTypeExNo{};
         t.Pattern = static_cast<int32_t>(0xC3C3C3C3u), t.UnitDots = 8, t.Pitch = 1, t.PrintPitch = 8;
         t.Name = "LType_25", t.SegmentCount = 2, t.Segments[0] = 1.0, t.Segments[1] = 1.0;
       }},
      {"extended line type below row 17 keeps an odd segment count", 700, 700,
       [](TJwwData& m) { m.LineTypesEx[10].SegmentCount = 3, m.LineTypesEx[10].Name = ""; },
       [](JwwBuilder& b) { b.drawing.LineTypesEx[10].SegmentCount = 3; }},
      {"layer and group names lose tabs and ^m", 351, 351,
       [](TJwwData& m) {
         m.Layers[18].Name = "wa\tlls";
         m.LayerGroups[2].Name = "^m";
         m.Layers[40].Name = "\x95\x5cm^m";  // "表" then "m", the pair after it goes
       },
       [](JwwBuilder& b) {
         b.Layer(1, 2).Name = "walls";
         b.LayerGroup(2).Name = " ";
         b.Layer(2, 8).Name = "\x95\x5cm";
       }},
      {"memo of 300 bytes with control characters", 230, 230,
       [](TJwwData& m) { m.Header.Memo = std::string(298, 'm') + "\r\n"; },
       [](JwwBuilder& b) { b.Header().Memo = std::string(298, 'm') + "\r\n"; }},
  };
  for (const HeaderCase& c : cases) RunCase(c);
}

TEST(JwwWriterHeader, AnEmptyModelIsWrittenWithEveryTableFilledIn) {
  // A model that never read a file has no table rows; the writer still
  // writes every table, with the same rules as for zero rows.
  for (int32_t v : {220, 351, 700}) {
    TJwwData m;
    JwwBuilder expected;
    for (int i = 0; i < 10; ++i) {
      expected.Pen(i).Width = 1, expected.Pen(i).PrintWidth = 1, expected.Pen(i).PointRadius = 0.1;
    }
    expected.Pen(0).PrintColor = 0xFFFFFF;
    for (int i = 0; i < 257; ++i) expected.drawing.ColorsEx[i].Name = "Color_" + std::to_string(i);
    for (int i = 0; i < 33; ++i) {
      TEntJwwLineTypeExNo& t = expected.drawing.LineTypesEx[i];
      t.Name = "LType_" + std::to_string(i);
      if (i < 17) {
        t.Pattern = -1;
      } else {
        t.Pattern = static_cast<int32_t>(0xC3C3C3C3u), t.UnitDots = 8, t.Pitch = 1, t.PrintPitch = 8;
        t.SegmentCount = 2, t.Segments[0] = 1, t.Segments[1] = 1;
      }
    }
    if (v >= 600) expected.Header().DotPitchClass = 1;
    std::vector<uint8_t> got;
    ASSERT_TRUE(m.SaveToBytes(got, v));
    EXPECT_TRUE(got == expected.Bytes(v)) << v;
  }
}

TEST(JwwWriterHeader, VersionsBelow220AreRefused) {
  TJwwData m;
  MakeStableModel(m, 351);
  std::vector<uint8_t> bytes{1, 2, 3};
  EXPECT_FALSE(m.SaveToBytes(bytes, 219));
  EXPECT_TRUE(bytes.empty());
  EXPECT_FALSE(m.SaveToBytes(bytes, -1));
}
