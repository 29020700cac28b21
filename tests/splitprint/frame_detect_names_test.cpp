#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <tuple>

#include "clipping.h"
#include "drawing_builder.h"
#include "form1_state.h"
#include "frame_detect.h"
#include "frame_text.h"
#include "sjis.h"

namespace {

std::string S(const char* utf8) { return Utf8ToSjis(utf8); }

// One A3 frame at the origin and one beside it, then the sheet names.
struct NamesFixture {
  TForm1 form;
  NamesFixture() {
    Gval.Reset();
    AddFrameRect(form.WorkDrawing, 0, 0, 420, 297);
    AddFrameRect(form.WorkDrawing, 500, 0, 920, 297);
  }
  void Run() {
    form.FindSheetFrames();
    form.AssignSheetNames();
  }
  const TZumenWakuField& Frame(size_t i) const { return Gval.SheetFrames.at(i); }
};

}  // namespace

TEST(AssignSheetNames, WhichTextsAreTags) {
  struct Case {
    const char* content;  // UTF-8
    int color;
    uint32_t kind;
    double x, y;
    const char* name;  // expected name of sheet 0 of frame 0, nullptr: no tag
  };
  const Case cases[] = {
      {"【名】平面図", 9, 0, 10, 10, "平面図"},
      {"【名】  平面図 \t", 9, 0, 10, 10, "平面図"},
      {"【名】B", 9, 200, 10, 10, "B"},
      {"【名】B", 9, 1, 10, 10, nullptr},     // kind not a multiple of 100
      {"【名】B", 8, 0, 10, 10, nullptr},     // colour
      {" 【名】B", 9, 0, 10, 10, nullptr},    // leading blank before the tag
      {"【名】   ", 9, 0, 10, 10, nullptr},   // empty name
      {"【名】a.b", 9, 0, 10, 10, nullptr},   // forbidden character
      {"【名】a b", 9, 0, 10, 10, nullptr},
      {"【名】a~b", 9, 0, 10, 10, nullptr},
      {"【名】ソ", 9, 0, 10, 10, "ソ"},       // its trail byte 0x5C is no backslash
      {"【名】B", 9, 0, 0, 10, nullptr},      // on the left edge
      {"【名】B", 9, 0, 420, 100, nullptr},   // on the right edge
      {"【名】B", 9, 0, 1e-13, 10, nullptr},  // closer to the edge than 1e-12
      {"【名】B", 9, 0, 450, 10, nullptr},    // between the frames
  };
  for (const Case& c : cases) {
    NamesFixture f;
    AddText(f.form.WorkDrawing, S(c.content), c.x, c.y, c.color, c.kind);
    f.Run();
    const TZumenWakuField& fr = f.Frame(0);
    EXPECT_EQ(fr.NameCount, 1) << c.content;
    EXPECT_EQ(fr.Names[0], c.name ? S(c.name) : std::string()) << c.content;
    EXPECT_EQ(fr.NameLayerGroups[0], c.name ? 0 : -1) << c.content;
  }
}

TEST(AssignSheetNames, DuplicatesAndLayerLists) {
  NamesFixture f;
  AddText(f.form.WorkDrawing, S("【名】A"), 10, 10);
  AddText(f.form.WorkDrawing, S("【名】a"), 600, 10);
  AddText(f.form.WorkDrawing, S("【名】A【Ｌ】01"), 20, 10, 9, 0, 2);
  AddText(f.form.WorkDrawing, S("【名】Ａ"), 30, 10);  // full-width
  AddText(f.form.WorkDrawing, S("【名】ａ"), 40, 10);
  f.Run();
  const TZumenWakuField& left = f.Frame(0);
  const TZumenWakuField& right = f.Frame(1);
  ASSERT_EQ(left.NameCount, 4);
  ASSERT_EQ(right.NameCount, 1);
  EXPECT_EQ(left.Names[0], "A");
  EXPECT_EQ(right.Names[0], "a~1");
  EXPECT_EQ(left.Names[1], "A~2");
  EXPECT_EQ(left.LayerLists[1], "01");
  EXPECT_EQ(left.NameLayerGroups[1], 2);
  EXPECT_EQ(left.LayerLists[0], "");
  EXPECT_EQ(left.Names[2], S("Ａ"));
  EXPECT_EQ(left.Names[3], S("ａ~1"));
  EXPECT_EQ(left.OutputNames[0], "");
}

TEST(AssignSheetNames, LayerListWithoutNameStaysNameless) {
  NamesFixture f;
  AddText(f.form.WorkDrawing, S("【名】【Ｌ】0F"), 10, 10, 9, 0, 3);
  AddText(f.form.WorkDrawing, S("【名】【Ｌ】12"), 20, 10, 9, 0, 3);
  f.Run();
  const TZumenWakuField& fr = f.Frame(0);
  ASSERT_EQ(fr.NameCount, 2);
  EXPECT_EQ(fr.Names[0], "");
  EXPECT_EQ(fr.Names[1], "");  // not "~1": an empty name means no name
  EXPECT_EQ(fr.LayerLists[0], "0F");
  EXPECT_EQ(fr.LayerLists[1], "12");
}

TEST(AssignSheetNames, SeventeenthTagIsDropped) {
  NamesFixture f;
  for (int i = 0; i < 17; ++i) AddText(f.form.WorkDrawing, S("【名】s") + std::to_string(i), 10 + i, 10);
  f.Run();
  const TZumenWakuField& fr = f.Frame(0);
  EXPECT_EQ(fr.NameCount, 16);
  EXPECT_EQ(fr.Names[15], "s15");
  EXPECT_EQ(f.Frame(1).NameCount, 1);
}

TEST(AssignSheetNames, ResetsTheSlotsOfEveryFrame) {
  NamesFixture f;
  f.form.FindSheetFrames();
  TZumenWakuField& fr = Gval.SheetFrames[0];
  fr.Names[3] = "old";
  fr.OutputNames[0] = "x.jww";
  fr.NameLayerGroups[5] = 4;
  fr.Scale = 3;
  fr.Rotated = 1;
  fr.PaperClass = 7;
  f.form.AssignSheetNames();
  EXPECT_EQ(fr.Names[3], "");
  EXPECT_EQ(fr.OutputNames[0], "");
  EXPECT_EQ(fr.NameLayerGroups[5], -1);
  EXPECT_EQ(fr.Scale, 1.0);
  EXPECT_EQ(fr.Rotated, 0);
  EXPECT_EQ(fr.PaperClass, 0);
  EXPECT_EQ(fr.NameCount, 1);
}

TEST(IgnoringCaseKey, EqualKeysExactlyForEqualIgnoringCase) {
  const std::string words[] = {"", "A", "a", "b", S("Ａ"), S("ａ"), S("ソ"), S("ミ"), "\x83", "\x83\x7E",
                               "Ab", "aB", "ab~", "A\x82", "\x82\x81", "\x82\x60", "\x82\x9B", "\x82\x7A"};
  for (const std::string& a : words) {
    for (const std::string& b : words) EXPECT_EQ(IgnoringCaseKey(a) == IgnoringCaseKey(b), EqualIgnoringCase(a, b)) << a << " / " << b;
  }
}

namespace {

struct PlainTag { std::string Name, Layers; double X, Y; int Group; };

// The naming as described: each tag counts the names in use over all
// frames, then goes to the first frame holding it.
void PlainAssignNames(std::vector<PlainTag> tags, std::vector<TZumenWakuField>& frames) {
  for (TZumenWakuField& f : frames) f.NameCount = 0;
  for (PlainTag& t : tags) {
    if (t.Name.empty() && t.Layers.empty()) continue;
    int same = 0;
    for (const TZumenWakuField& f : frames) {
      for (int k = 0; k < f.NameCount; ++k) same += EqualIgnoringCase(f.Names[k].substr(0, FindOnCharBoundary(f.Names[k], "~")), t.Name);
    }
    if (!t.Name.empty() && same > 0) t.Name += "~" + std::to_string(same);
    for (TZumenWakuField& f : frames) {
      if (PointVsWindow(t.X, t.Y, f.XMin, f.YMin, f.XMax, f.YMax) != 0) continue;
      if (f.NameCount < kMaxSheetsPerFrame) {
        const auto k = static_cast<size_t>(f.NameCount++);
        std::tie(f.Names[k], f.LayerLists[k], f.NameLayerGroups[k]) = std::tie(t.Name, t.Layers, t.Group);
      }
      break;
    }
  }
  for (TZumenWakuField& f : frames) f.NameCount = std::max(f.NameCount, 1);
}

}  // namespace

// Overlapping and nested frames, tags on edges, about 1e-12 off them, at odd
// values and in several frames, names alike but for case or with a trail
// byte 0x7E, full frames: the sheets of the plain scans.
TEST(AssignSheetNames, MatchesThePlainScansOnRandomDrawings) {
  const std::string parts[] = {"A", "a", S("Ａ"), S("ａ"), "b", S("ミ"), S("ソ"), "1"};
  const double inf = std::numeric_limits<double>::infinity();
  const double odd[] = {inf, -inf, std::numeric_limits<double>::quiet_NaN(), -0.0, 1e300};
  const double nudges[] = {0, 0, 0, 1e-12, -1e-12, 2e-12, -2e-12, 5e-13};
  std::mt19937 rng(4242);
  auto coarse = [&](int n, double step) { return static_cast<double>(rng() % n) * step; };
  auto at = [&] { return rng() % 40 ? coarse(17, 5) + nudges[rng() % 8] : odd[rng() % 5]; };
  for (int round = 0; round < 300; ++round) {
    TForm1 form;
    Gval.Reset();
    for (int i = 1 + static_cast<int>(rng() % 8); i > 0; --i) {
      const double x = coarse(4, 10), y = coarse(4, 10);
      AddFrameRect(form.WorkDrawing, x, y, x + 10 + coarse(4, 10), y + 10 + coarse(4, 10));
    }
    std::vector<PlainTag> tags(rng() % 40);
    for (PlainTag& t : tags) {
      for (int k = static_cast<int>(rng() % 3); k > 0; --k) t.Name += parts[rng() % 8];
      if (rng() % 5 == 0) t.Layers = "0" + parts[rng() % 8];
      t.X = at(), t.Y = at(), t.Group = static_cast<int>(rng() % 16);
      AddText(form.WorkDrawing, S("【名】") + t.Name + (t.Layers.empty() ? "" : S("【Ｌ】") + t.Layers), t.X, t.Y, 9, 0, t.Group);
    }
    form.FindSheetFrames();
    std::vector<TZumenWakuField> want = Gval.SheetFrames;
    PlainAssignNames(tags, want);
    form.AssignSheetNames();
    ASSERT_EQ(Gval.SheetFrames.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
      const TZumenWakuField& got = Gval.SheetFrames[i];
      ASSERT_EQ(std::tie(got.NameCount, got.Names, got.LayerLists, got.NameLayerGroups),
                std::tie(want[i].NameCount, want[i].Names, want[i].LayerLists, want[i].NameLayerGroups))
          << "round " << round << " frame " << i;
    }
  }
}
