// Models holding values no file should carry: whatever the program leaves
// in the model, a save either fails or writes a file that reads back whole.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "bind_images.h"
#include "jww_data.h"
#include "jww_model_maker.h"

using namespace jwwtest;

namespace {

const int32_t kVersions[] = {220, 223, 225, 230, 231, 300, 350, 351, 419, 420, 600, 700, 1000};

// Saves in every version; each file must read back whole, and hold the
// objects the save wrote.
void ExpectEverySaveReadsBack(TJwwData& m, const char* what) {
  for (int32_t v : kVersions) {
    std::vector<uint8_t> bytes;
    if (!m.SaveToBytes(bytes, v)) continue;  // refusing is allowed
    TJwwData back;
    EXPECT_TRUE(back.LoadFromBytes(bytes.data(), bytes.size())) << what << " v" << v;
    std::vector<uint8_t> again;
    back.BuildBlockTree();
    ASSERT_TRUE(back.SaveToBytes(again, v)) << what << " v" << v;
    TJwwData third;
    EXPECT_TRUE(third.LoadFromBytes(again.data(), again.size())) << what << " v" << v;
  }
}

}  // namespace

TEST(JwwWriterBadInput, ExtremeValuesStillGiveReadableFiles) {
  BindImg.Reset();
  TJwwData m;
  MakeStableModel(m, 700);
  TEntJwwHeader& h = m.Header;
  h.Memo = std::string(70000, '\x01');
  h.DotPitchClass = std::numeric_limits<int32_t>::min();
  h.SkipDisplayOnlyLayers = std::numeric_limits<int32_t>::max();
  h.MaxDrawWidth = std::numeric_limits<int32_t>::min();
  h.PrintScale = std::nan("");
  for (TEntJwwPen& p : m.Pens) p = {-1, -1, -1, 1 << 30, std::nan("")};
  for (TEntJwwLayer& l : m.Layers) l.Name = std::string(300, '^') + "m";
  m.LayerGroups[3].Name = "\x81";  // a lone lead byte
  for (TEntJwwColorExNo& c : m.ColorsEx) c.Name = std::string(66000, ' ');
  for (TEntJwwLineTypeExNo& t : m.LineTypesEx) t.SegmentCount = -7, t.Name = "\t";
  for (TEntJwwLine& l : m.Lines) {
    l.Common.LineType = 255, l.Common.Color = 65535, l.Common.Width = 65535;
    l.Common.Layer = 65535, l.Common.LayerGroup = 65535;
  }
  for (TEntJwwPoint& p : m.Points) p.Common.LineType = 99;
  for (TEntJwwSolid& s : m.Solids) s.Common.Color = 10;
  for (TEntJwwText& t : m.Texts) t.Content = std::string(1000, '\x82'), t.FontName = std::string(70000, 'f');
  for (TEntJwwDimension& d : m.Dimensions) d.SxfMode = 65535, d.Point2.Common.LineType = 100;
  m.BlockDefs[0].Time = -5;
  m.BlockDefs[1].Name = std::string(65535, 'n');
  m.BlockDefs[1].EditElements().OrderCount = 1 << 30;
  m.BlockDefs[0].Used = 1, m.BlockDefs[0].NewNumber = -1;
  ExpectEverySaveReadsBack(m, "extreme values");

  // Counts that disagree with the arrays.
  m.BlockListCount = 1000;
  m.BlockDefCount = 1000;
  m.EntityOrderCount = std::numeric_limits<int32_t>::max();
  m.LineCount = -3;
  m.UsedBlockDefCount = 77;
  ExpectEverySaveReadsBack(m, "wrong counts");
  m.BlockListCount = -1;
  m.EntityOrder.push_back({kKindDimension, 1 << 30});
  m.EntityOrder.push_back({1000, 0});
  ExpectEverySaveReadsBack(m, "wrong rows");
}

TEST(JwwWriterBadInput, RandomlySpoiledModelsStillGiveReadableFiles) {
  BindImg.Reset();
  std::mt19937 rng(20240611);
  auto any16 = [&] { return static_cast<uint16_t>(rng()); };
  auto any32 = [&] { return static_cast<int32_t>(rng()); };
  for (int round = 0; round < 60; ++round) {
    TJwwData m;
    MakeStableModel(m, round % 2 ? 700 : 351);
    for (int k = 0; k < 40; ++k) {
      switch (rng() % 10) {
        case 0: m.Lines[rng() % m.Lines.size()].Common.LineType = static_cast<uint8_t>(rng()); break;
        case 1: m.Points[rng() % m.Points.size()].Common.LineType = static_cast<uint8_t>(rng() % 2 ? 100 : rng()); break;
        case 2: m.Solids[rng() % m.Solids.size()].Common.Color = any16() % 12; break;
        case 3: m.Dimensions[0].SxfMode = any16(); break;
        case 4: m.Dimensions[0].AuxPoint1.Common.LineType = static_cast<uint8_t>(rng() % 2 ? 100 : rng()); break;
        case 5: m.EntityOrder[rng() % m.EntityOrder.size()].Kind = any32() % 110; break;
        case 6: m.EntityOrder[rng() % m.EntityOrder.size()].Row = any32() % 20; break;
        case 7: m.BlockDefs[rng() % 2].Used = static_cast<uint8_t>(rng() % 2); break;
        case 8: m.BlockDefs[rng() % 2].Time = any32(); break;
        case 9: m.Texts[rng() % m.Texts.size()].Content.append(rng() % 400, static_cast<char>(rng())); break;
      }
    }
    ExpectEverySaveReadsBack(m, "random spoil");
  }
}
