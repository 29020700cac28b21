#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>

#include "drawing_builder.h"
#include "fake_key_poller.h"
#include "form1_state.h"
#include "frame_detect.h"

namespace {

// ---- The chain search exactly as described, scanning the lists. ----

bool RefMeet(double ax, double ay, double bx, double by) {
  return std::fabs(ax - bx) <= 1e-8 && std::fabs(ay - by) <= 1e-8;
}

// If p meets an end of l, sets q to the other end (first end tried first).
bool RefWalk(const TFrameLine& l, double px, double py, double& qx, double& qy) {
  if (RefMeet(px, py, l.X1, l.Y1)) {
    qx = l.X2;
    qy = l.Y2;
    return true;
  }
  if (RefMeet(px, py, l.X2, l.Y2)) {
    qx = l.X1;
    qy = l.Y1;
    return true;
  }
  return false;
}

void RefSearch(std::vector<TFrameLine>& hs, std::vector<TFrameLine>& vs, std::vector<TZumenWakuField>& frames) {
  for (size_t a = 0; a < hs.size(); ++a) {
    TFrameLine& h = hs[a];
    if (h.Taken) continue;
    bool found = false;
    for (size_t b = 0; b < vs.size() && !found; ++b) {
      double px, py;
      if (vs[b].Taken || !RefWalk(vs[b], h.X2, h.Y2, px, py)) continue;
      for (size_t c = 0; c < hs.size() && !found; ++c) {
        double qx, qy;
        if (c == a || hs[c].Taken || !RefWalk(hs[c], px, py, qx, qy)) continue;
        for (size_t e = 0; e < vs.size() && !found; ++e) {
          double rx, ry;
          if (e == b || vs[e].Taken || !RefWalk(vs[e], qx, qy, rx, ry)) continue;
          if (!RefMeet(rx, ry, h.X1, h.Y1)) continue;
          TZumenWakuField f;
          f.XMin = std::min(h.X1, h.X2);
          f.XMax = std::max(h.X1, h.X2);
          f.YMin = std::min(vs[b].Y1, vs[b].Y2);
          f.YMax = std::max(vs[b].Y1, vs[b].Y2);
          frames.push_back(f);
          const auto n = static_cast<int32_t>(frames.size());
          h.Taken = vs[b].Taken = hs[c].Taken = vs[e].Taken = n;
          found = true;
        }
      }
    }
  }
}

void ExpectSameFrames(const std::vector<TZumenWakuField>& got, const std::vector<TZumenWakuField>& want) {
  ASSERT_EQ(got.size(), want.size());
  for (size_t i = 0; i < got.size(); ++i) {
    EXPECT_EQ(got[i].XMin, want[i].XMin) << i;
    EXPECT_EQ(got[i].YMin, want[i].YMin) << i;
    EXPECT_EQ(got[i].XMax, want[i].XMax) << i;
    EXPECT_EQ(got[i].YMax, want[i].YMax) << i;
  }
}

std::vector<TZumenWakuField> Detect(TForm1& form) {
  Gval.Reset();
  form.FindSheetFrames();
  EXPECT_EQ(Gval.SheetFrameCount, static_cast<int32_t>(Gval.SheetFrames.size()));
  return Gval.SheetFrames;
}

}  // namespace

TEST(FindSheetFrames, ConventionCases) {
  struct Case {
    const char* name;
    void (*build)(TJwwData&);
    size_t frames;
  };
  const Case cases[] = {
      {"empty drawing", [](TJwwData&) {}, 0},
      {"one rectangle", [](TJwwData& d) { AddFrameRect(d, 0, 0, 420, 297); }, 1},
      {"three sides",
       [](TJwwData& d) {
         AddFrameRect(d, 0, 0, 420, 297);
         d.Lines.pop_back();
         d.LineCount = 3;
       },
       0},
      {"width 100", [](TJwwData& d) { AddFrameRect(d, 0, 0, 420, 297, {9, 19, 100}); }, 0},
      {"colour 8", [](TJwwData& d) { AddFrameRect(d, 0, 0, 420, 297, {8, 19, 200}); }, 0},
      {"line type 16", [](TJwwData& d) { AddFrameRect(d, 0, 0, 420, 297, {9, 16, 200}); }, 0},
      {"fifth line over a side",
       [](TJwwData& d) {
         AddFrameRect(d, 0, 0, 420, 297);
         AddLine(d, 0, 0, 420, 0);
       },
       1},
      {"corners within 1e-8",
       [](TJwwData& d) {
         AddLine(d, 0, 0, 100, 0);
         AddLine(d, 100 + 9e-9, -9e-9, 100, 50);
         AddLine(d, 100, 50, 0, 50);
         AddLine(d, 0, 50, 9e-9, 0);
       },
       1},
      {"a corner 2e-8 apart",
       [](TJwwData& d) {
         AddLine(d, 0, 0, 100, 0);
         AddLine(d, 100 + 2e-8, 0, 100, 50);
         AddLine(d, 100, 50, 0, 50);
         AddLine(d, 0, 50, 0, 0);
       },
       0},
      {"slightly sloped side is no frame line",
       [](TJwwData& d) {
         AddLine(d, 0, 0, 100, 1e-7);
         AddLine(d, 100, 0, 100, 50);
         AddLine(d, 100, 50, 0, 50);
         AddLine(d, 0, 50, 0, 0);
       },
       0},
      {"rectangle drawn with reversed lines",
       [](TJwwData& d) {
         AddLine(d, 100, 0, 0, 0);
         AddLine(d, 0, 50, 0, 0);
         AddLine(d, 0, 50, 100, 50);
         AddLine(d, 100, 0, 100, 50);
       },
       1},
      {"two rectangles sharing a side drawn once",
       [](TJwwData& d) {
         AddFrameRect(d, 0, 0, 100, 50);
         AddLine(d, 100, 0, 200, 0);
         AddLine(d, 200, 0, 200, 50);
         AddLine(d, 200, 50, 100, 50);
       },
       1},
  };
  for (const Case& c : cases) {
    TForm1 form;
    c.build(form.WorkDrawing);
    EXPECT_EQ(Detect(form).size(), c.frames) << c.name;
  }
}

TEST(FindSheetFrames, CountsOnlyLineCountRows) {
  TForm1 form;
  AddFrameRect(form.WorkDrawing, 0, 0, 420, 297);
  form.WorkDrawing.LineCount = 3;  // the fourth row is hidden
  EXPECT_TRUE(Detect(form).empty());
}

TEST(FindSheetFrames, TwoFramesInOneRowAndTwoInOneColumn) {
  for (int direction : {0, 1}) {
    TForm1 form;
    form.NumberingDirection = direction;
    AddFrameRect(form.WorkDrawing, 500, 10, 920, 307);
    AddFrameRect(form.WorkDrawing, 0, 0, 420, 297);
    auto frames = Detect(form);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].XMin, 0) << direction;  // left first in either direction
    EXPECT_EQ(frames[1].XMin, 500) << direction;
    EXPECT_EQ(frames[0].Kind, 0);

    TForm1 column;
    column.NumberingDirection = direction;
    AddFrameRect(column.WorkDrawing, 0, 0, 420, 297);
    AddFrameRect(column.WorkDrawing, 0, 400, 420, 697);
    frames = Detect(column);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].YMin, 400) << direction;  // top first
  }
}

TEST(FindSheetFrames, DirectionDecidesBetweenRowsAndColumns) {
  // A 2 x 2 grid of A3 frames: rows first reads 1 2 / 3 4, columns first 1 3 / 2 4.
  auto build = [](TForm1& f) {
    AddFrameRect(f.WorkDrawing, 500, 0, 920, 297);
    AddFrameRect(f.WorkDrawing, 0, 400, 420, 697);
    AddFrameRect(f.WorkDrawing, 0, 0, 420, 297);
    AddFrameRect(f.WorkDrawing, 500, 400, 920, 697);
  };
  TForm1 rows;
  build(rows);
  auto r = Detect(rows);
  ASSERT_EQ(r.size(), 4u);
  EXPECT_EQ((std::vector<double>{r[0].XMin, r[0].YMin, r[1].XMin, r[1].YMin, r[2].XMin, r[2].YMin}),
            (std::vector<double>{0, 400, 500, 400, 0, 0}));
  TForm1 cols;
  cols.NumberingDirection = 1;
  build(cols);
  auto c = Detect(cols);
  ASSERT_EQ(c.size(), 4u);
  EXPECT_EQ((std::vector<double>{c[0].XMin, c[0].YMin, c[1].XMin, c[1].YMin, c[2].XMin, c[2].YMin}),
            (std::vector<double>{0, 400, 0, 0, 500, 400}));
}

TEST(FindSheetFrames, ClearSheetFramesEmptiesTheList) {
  TForm1 form;
  Gval.SheetFrames.resize(3);
  Gval.SheetFrameCount = 3;
  form.ClearSheetFrames();
  EXPECT_TRUE(Gval.SheetFrames.empty());
  EXPECT_EQ(Gval.SheetFrameCount, 0);
}

// Random drawings on a coarse grid, so that lines meet often, share corners,
// lie over each other and leave open chains; some end points are moved by
// less than the tolerance and some by more. The indexed search must give the
// frames, numbers and taken marks of the plain search.
TEST(SearchFrameChains, MatchesThePlainSearchOnRandomDrawings) {
  std::mt19937 rng(12345);
  size_t total = 0, rejected = 0;
  for (int round = 0; round < 2000; ++round) {
    // Rectangles on a small grid (shared corners and sides), their sides in
    // random directions, some sides missing, some ends moved, duplicates, and
    // loose lines; all shuffled.
    const int grid = 2 + static_cast<int>(rng() % 4);
    std::uniform_int_distribution<int> cell(0, grid);
    const double jitters[] = {5e-9, -5e-9, 1e-8, -1e-8, 1.5e-8, -3e-8};
    auto jitter = [&] { return rng() % 6 == 0 ? jitters[rng() % 6] : 0.0; };
    std::vector<TFrameLine> hs, vs;
    auto side = [&](double x1, double y1, double x2, double y2) {
      if (rng() % 12 == 0) return;  // a missing side
      if (rng() % 2) {
        std::swap(x1, x2);
        std::swap(y1, y2);
      }
      TFrameLine l{0, x1 + jitter(), y1 + jitter(), x2 + jitter(), y2 + jitter()};
      auto& list = y1 == y2 ? hs : vs;
      list.push_back(l);
      if (rng() % 10 == 0) list.push_back(l);  // drawn twice
    };
    const int rects = 1 + static_cast<int>(rng() % 12);
    for (int r = 0; r < rects; ++r) {
      int x0 = cell(rng), x1 = cell(rng), y0 = cell(rng), y1 = cell(rng);
      if (x0 == x1) x1 = x0 + 1;
      if (y0 == y1) y1 = y0 + 1;
      const double X0 = x0 * 10.0, X1 = x1 * 10.0, Y0 = y0 * 10.0, Y1 = y1 * 10.0;
      side(X0, Y0, X1, Y0);
      side(X1, Y0, X1, Y1);
      side(X1, Y1, X0, Y1);
      side(X0, Y1, X0, Y0);
    }
    const int loose = static_cast<int>(rng() % 6);
    for (int i = 0; i < loose; ++i) {
      const double a = cell(rng) * 10.0, b = cell(rng) * 10.0, c = b + 10.0 * (1 + rng() % 3);
      if (rng() % 2) side(b, a, c, a); else side(a, b, a, c);
    }
    if (round % 3 == 0) {  // lines crowding one corner, far sides closing some
      auto far = [&] { return 10.0 * std::array{-2, -1, 1, 2}[rng() % 4]; };
      for (int i = 4 + static_cast<int>(rng() % 24); i > 0; --i) rng() % 2 ? side(0, 0, far(), 0) : side(0, 0, 0, far());
      for (int i = 2 + static_cast<int>(rng() % 10); i > 0; --i) {
        const double X = far(), Y = far();
        side(X, 0, X, Y);
        side(X, Y, 0, Y);
      }
    }
    if (round % 3 == 1) {  // near-identical lines crowding both ends of each other, top sides closing some
      const double offsets[] = {0, 1e-13, 2e-13, 5e-9, -5e-9, 1.2e-8, -1.2e-8, 2.5e-8};
      auto o = [&] { return offsets[rng() % 8]; };
      const double W = 10.0 * (1 + rng() % 2), T = 10.0 * (1 + rng() % 2);
      for (int i = 18 + static_cast<int>(rng() % 16); i > 0; --i) {
        const std::array<double, 10> a{o(), o(), o(), o(), o(), o(), o(), o(), o(), o()};
        side(a[0], a[1], W + a[2], a[1]);
        side(W + a[3], a[4], W + a[3], T + a[5]);
        side(a[6], T + a[7], a[6], a[0]);
        if (rng() % 3 == 0) side(W + a[8], T + a[9], o(), T + a[9]);
      }
    }
    std::shuffle(hs.begin(), hs.end(), rng);
    std::shuffle(vs.begin(), vs.end(), rng);
    // Keep only what the line tests accept, as the detection does.
    std::erase_if(hs, [](const TFrameLine& l) { return !IsHorizontalFrameLine(l.X1, l.Y1, l.X2, l.Y2); });
    std::erase_if(vs, [](const TFrameLine& l) { return !IsVerticalFrameLine(l.X1, l.Y1, l.X2, l.Y2); });
    std::vector<TFrameLine> hsRef = hs, vsRef = vs;
    std::vector<TZumenWakuField> got, want;
    SearchFrameChains(hs, vs, got);
    RefSearch(hsRef, vsRef, want);
    ExpectSameFrames(got, want);
    total += want.size();
    for (const auto& l : hsRef) rejected += l.Taken == 0;
    for (size_t i = 0; i < hs.size(); ++i) ASSERT_EQ(hs[i].Taken, hsRef[i].Taken) << "round " << round;
    for (size_t i = 0; i < vs.size(); ++i) ASSERT_EQ(vs[i].Taken, vsRef[i].Taken) << "round " << round;
  }
  // The drawings are busy enough to exercise both outcomes many times.
  EXPECT_GT(total, 1000u);
  EXPECT_GT(rejected, 1000u);
}

TEST(SearchFrameChains, StrangeCoordinatesMeetNothingAndDoNotTrouble) {
  const double inf = std::numeric_limits<double>::infinity();
  const double huge = 0x1p60;
  std::vector<TFrameLine> hs{{0, -inf, 0, 0, 0}, {0, huge, 0, huge + 0x1p20, 0},
                             {0, huge + 0x1p20, 0x1p20, huge, 0x1p20}};
  std::vector<TFrameLine> vs{{0, huge + 0x1p20, 0, huge + 0x1p20, 0x1p20}, {0, huge, 0x1p20, huge, 0},
                             {0, 0, 0, 0, inf}};
  std::vector<TFrameLine> hsRef = hs, vsRef = vs;
  std::vector<TZumenWakuField> got, want;
  SearchFrameChains(hs, vs, got);
  RefSearch(hsRef, vsRef, want);
  ExpectSameFrames(got, want);
  EXPECT_EQ(got.size(), 1u);  // the far-away rectangle still closes
}

// In the program the poll is Escape: held while frames are sought, it stops
// the run and leaves no frame to number or save.
TEST(FindSheetFrames, EscapeStopsTheSearchAndLeavesNoFrame) {
  for (const int pressAt : {1, 5, 0}) {
    TForm1 form;
    for (int i = 0; i < 10; ++i) AddFrameRect(form.WorkDrawing, i * 500.0, 0, i * 500.0 + 420, 297);
    FakeKeyPoller keys;
    if (pressAt > 0) keys.PressEscapeAtPoll(pressAt);
    EXPECT_EQ(Detect(form).size(), pressAt > 0 ? 0u : 10u) << pressAt;
    EXPECT_TRUE(form.AbortRun == (pressAt > 0) && keys.Polls() == (pressAt > 0 ? pressAt : 10)) << pressAt;
  }
}
