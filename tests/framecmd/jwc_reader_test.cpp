// The keyword dispatch of the interface-file reader, by behaviour.
#include <gtest/gtest.h>

#include "jwc_test_util.h"

namespace {

TEST(JwcReader, EmptyInputKeepsEveryDefault) {
  const TJwcData d = ReadJwcLines({"", "   ", "\t"});
  EXPECT_EQ(d.PaperWidth, 1189);
  EXPECT_EQ(d.PaperHeight, 841);
  EXPECT_EQ(d.PointCount, 0);
  EXPECT_EQ(d.FirstLayerGroup, 0);
  EXPECT_EQ(d.FirstTextType, 1);
  EXPECT_EQ(d.CurFont, kMsGothic);
  EXPECT_EQ(d.FirstFont, "");
  EXPECT_TRUE(d.EntityOrder.empty());
}

struct PointCase {
  const char* line;
  int number;     // 0: no point stored
  double x, y;
  int kind;
};

TEST(JwcReader, IndicatedPoints) {
  const std::vector<PointCase> cases = {
      {"hp3 10 20", 3, 10, 20, 0},      {"hp12- 1 2", 12, 1, 2, 1},   {"hp5ln 1 2", 5, 1, 2, 2},
      {"hp6ci 1 2", 6, 1, 2, 3},         {"hp7ch- 1 2", 7, 1, 2, 4},
      // The deciding marker cuts the number: "8ln-" reads as no number.
      {"hp8ln-ci 1 2", 0, 0, 0, 0},
      {"hp0 1 2", 0, 0, 0, 0},           {"hp100 1 2", 0, 0, 0, 0},    {"hp9 5", 0, 0, 0, 0},
      {"hp1-  1e+06 -2.5", 1, 1e6, -2.5, 1},
  };
  for (const PointCase& c : cases) {
    const TJwcData d = ReadJwcLines({c.line});
    int used = 0;
    for (int p = 0; p < 100; ++p) used += d.Points[p].Used ? 1 : 0;
    if (c.number == 0) {
      EXPECT_EQ(used, 0) << c.line;
      continue;
    }
    ASSERT_EQ(used, 1) << c.line;
    const THpPoint& p = d.Points[c.number];
    EXPECT_TRUE(p.Used) << c.line;
    EXPECT_EQ(p.X, c.x) << c.line;
    EXPECT_EQ(p.Y, c.y) << c.line;
    EXPECT_EQ(p.Kind, c.kind) << c.line;
  }
  // A repeated number overwrites and still counts.
  const TJwcData d = ReadJwcLines({"hp2 1 1", "hp2 3 4"});
  EXPECT_EQ(d.PointCount, 2);
  EXPECT_EQ(d.Points[2].X, 3);
}

TEST(JwcReader, AttributeLines) {
  TJwcData d = ReadJwcLines({"lgA 1", "lyF 3", "lc10 77", "lt19", "lw200", "ccX"});
  EXPECT_EQ(d.CurGroup, 10);
  EXPECT_EQ(d.GroupStates[10], 1);
  EXPECT_EQ(d.CurLayer, 15);
  EXPECT_EQ(d.LayerStates[10 * 16 + 15], 3);
  EXPECT_EQ(d.ExtColor, 77);
  EXPECT_EQ(d.FirstColor, 10);
  EXPECT_EQ(d.FirstLineType, 19);
  EXPECT_EQ(d.FirstLineWidth, 200);
  EXPECT_EQ(d.CurCc, 0);

  d = ReadJwcLines({"lgZ", "lg", "ly\x82\xA0", "cc9", "cc5", "lg3", "lg4"});
  EXPECT_EQ(d.FirstLayerGroup, 0);  // lgZ selects group 0
  EXPECT_EQ(d.CurLayer, 0);         // a Shift-JIS third byte is no digit
  EXPECT_EQ(d.CurCc, 5);
  EXPECT_EQ(d.CurGroup, 4);

  d = ReadJwcLines({"lgn", "lg2", "lgnGroupA", "ly1", "lynLayer B"});
  EXPECT_EQ(d.GroupNames[2], "GroupA");
  EXPECT_EQ(d.LayerNames[2 * 16 + 1], "Layer");  // names end at a blank
}

TEST(JwcReader, FirstValuesStayAndFontIsFirstNonEmpty) {
  const TJwcData d = ReadJwcLines({"cn0 3 4 0.5 6", "cn\"$", "cn\"$<A>", "cn5", "cn\"$<B>", "lg2", "lg3"});
  EXPECT_EQ(d.FirstTextType, 0);
  EXPECT_EQ(d.FirstFreeText, (TFreeTextSize{3, 4, 0.5, 6}));
  EXPECT_EQ(d.CurTextType, 5);
  EXPECT_EQ(d.FirstFont, "<A>");
  EXPECT_EQ(d.CurFont, "<B>");
  EXPECT_EQ(d.FirstLayerGroup, 2);
}

TEST(JwcReader, HeaderValues) {
  const TJwcData d = ReadJwcLines({"file=C:\\dir x\\a.jww", "hzs 841 594", "hk 2.5", "hn 1 2 3 4", "bz",
                                   "hs 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16", "hcc 1 2 3 4 5 6 7 8 9 10",
                                   "hcw 1 1 1 1 1 1 1 1 1 1", "hhp12ch", "hs 9"});
  EXPECT_EQ(d.DrawingFile, "C:\\dir x\\a.jww");
  EXPECT_EQ(d.PaperWidth, 841);
  EXPECT_EQ(d.PaperHeight, 594);
  EXPECT_EQ(d.HkValue, 2.5);
  EXPECT_EQ(d.HnValues[3], 4);
  EXPECT_TRUE(d.BzSeen);
  EXPECT_EQ(d.GroupScales[15], 16);  // "hs" with too few values is ignored
  EXPECT_EQ(d.TextTypes[9].Color, 10);
  EXPECT_EQ(d.TextTypes[0].Width, 1);
  EXPECT_EQ(d.HhpValue, 12);
}

TEST(JwcReader, HhpCutsBeforeTheDecidingMarker) {
  const std::vector<std::pair<const char*, int>> cases = {
      {"hhp7", 7}, {"hhp7ln", 7}, {"hhp12ci3", 12}, {"hhp3ln9ch", 0}, {"hhpch5", 0}, {"hhp", 0}};
  for (const auto& [line, value] : cases) EXPECT_EQ(ReadJwcLines({line}).HhpValue, value) << line;
}

TEST(JwcReader, LinesTakeTheCurrentAttributes) {
  const TJwcData d = ReadJwcLines({"lg1", "ly2", "lc9", "lt19", "lw200", "z2", "z5", "1 2 3 4", "5 6 7 8"});
  ASSERT_EQ(d.Lines.size(), 2u);
  const TJwwEntHeader& h = d.Lines[0].Header;
  EXPECT_EQ(h.LayerGroup, 1);
  EXPECT_EQ(h.Layer, 2);
  EXPECT_EQ(h.Color, 9);
  EXPECT_EQ(h.LineType, 19);
  EXPECT_EQ(h.LineWidth, 200);
  EXPECT_EQ(h.PendingFlags, 2 | 16);
  EXPECT_EQ(d.Lines[1].Header.PendingFlags, 0);
  EXPECT_EQ(d.Lines[1].X2, 7);
}

TEST(JwcReader, FourTokenLinesNeedANumberFirst) {
  // A trailing blank makes five tokens; keywords with four tokens are no
  // lines from x = 0.
  const TJwcData d = ReadJwcLines({"1 2 3 4 ", "pt 10 20 ", "hn 1 2 3", "hk 1 2 3", "-1 2 3 4", ".5 1 2 3",
                                   "+1 2 3 4", "x1 2 3 4"});
  ASSERT_EQ(d.Lines.size(), 3u);
  EXPECT_EQ(d.Lines[0].X1, -1);
  EXPECT_EQ(d.Lines[1].X1, 0.5);
  EXPECT_EQ(d.Lines[2].X1, 1);
  EXPECT_TRUE(d.Points3.empty());
}

TEST(JwcReader, PolylineGroupsAndMessageMode) {
  TJwcData d = ReadJwcLines({"pl", "0 0 1 0", "1 0 1 1", "lc3", "1 1 0 1", "pl", "pl", "2 2 3 3"});
  ASSERT_EQ(d.Lines.size(), 4u);
  EXPECT_EQ(d.Lines[0].Header.KindWord, 1);
  EXPECT_EQ(d.Lines[1].Header.KindWord, 1);
  EXPECT_EQ(d.Lines[2].Header.KindWord, 0);  // the colour line ends the group
  EXPECT_EQ(d.Lines[3].Header.KindWord, 3);

  d = ReadJwcLines({"msg", "1 2 3 4", "cs 5 6 1 0 \"hello world"});
  EXPECT_TRUE(d.Lines.empty());
  ASSERT_EQ(d.Msgs.size(), 1u);
  EXPECT_EQ(d.Msgs[0].Line.X2, 3);
  EXPECT_EQ(d.Msgs[0].Text.Header.KindWord, 2);
  EXPECT_EQ(d.Msgs[0].Text.Text, "hello world");
  EXPECT_FALSE(d.MsgMode);
  ASSERT_EQ(d.EntityOrder.size(), 1u);
  EXPECT_EQ(d.EntityOrder[0].Kind, 7);

  // Without a held line the message carries the default one.
  d = ReadJwcLines({"msg", "cs 5 6 1 0 \"t"});
  EXPECT_EQ(d.Msgs[0].Line.X2, 1);
  EXPECT_EQ(d.Msgs[0].Line.Header.Color, 1);
}

TEST(JwcReader, TextRecords) {
  const TJwcData d = ReadJwcLines({"hcw 1 2 3 4 5 6 7 8 9 10", "hcc 1 2 3 4 5 6 7 8 9 10", "cc4", "cn3",
                                   "ck 1 2 3 4 \"typed", "cn0 7 8 0.5 6", "cn\"$<F>", "c2 1 2 1 0 \"free",
                                   "ch 1 2 1 0", "cz 1 2 1 0 \""});
  ASSERT_EQ(d.Texts.size(), 3u);  // "ch" with five tokens is ignored
  const TJwwEntText& a = d.Texts[0];
  EXPECT_EQ(a.Header.KindWord, 7);
  EXPECT_EQ(a.CcValue, 4);
  EXPECT_EQ(a.Width, 3);
  EXPECT_EQ(a.Header.Color, 3);
  EXPECT_EQ(a.DY, 4);
  EXPECT_EQ(a.Font, kMsGothic);
  const TJwwEntText& b = d.Texts[1];
  EXPECT_EQ(b.Header.KindWord, 9);
  EXPECT_EQ(b.Width, 7);
  EXPECT_EQ(b.Spacing, 0.5);
  EXPECT_EQ(b.Header.Color, 6);
  EXPECT_EQ(b.Font, "<F>");
  EXPECT_EQ(d.Texts[2].Text, "");  // a quote with nothing behind: an empty sixth token
}

TEST(JwcReader, LongTextsAreCutOnACharacterBoundary) {
  std::string text = "a";
  for (int i = 0; i < 200; ++i) text += "\x82\xA0";  // 401 bytes
  const TJwcData d = ReadJwcLines({"cn\"$" + text, "ch 0 0 1 0 \"" + text});
  ASSERT_EQ(d.Texts.size(), 1u);
  EXPECT_EQ(d.Texts[0].Text.size(), 255u);  // "a" and 127 whole characters
  EXPECT_EQ(d.Texts[0].Font.size(), 255u);
  EXPECT_EQ(d.Texts[0].Text.substr(253), "\x82\xA0");
}

struct SolidCase {
  const char* line;
  int kind;  // 0: ignored
  std::vector<double> corners;
};

TEST(JwcReader, SolidCornersMerge) {
  const std::vector<SolidCase> cases = {
      {"sl 1 2 3 4", 9, {1, 2, 3, 4}},
      {"sl 0 0 0 0 5 5", 9, {0, 0, 5, 5}},
      {"sl 0 0 5 5 5 5", 9, {0, 0, 5, 5}},
      {"sl 0 0 5 0 5 5", 10, {0, 0, 5, 0, 5, 5}},
      {"sl 0 0 0 0 0 0 9 9", 9, {0, 0, 9, 9}},
      {"sl 0 0 4 4 4 4 4 4", 9, {0, 0, 4, 4}},
      {"sl 0 0 0 0 6 6 6 6", 9, {0, 0, 6, 6}},
      {"sl 0 0 1 0 1 1 0 0", 10, {0, 0, 1, 0, 1, 1}},
      {"sl 0 0 1 0 0 0 2 2", 10, {0, 0, 1, 0, 2, 2}},
      {"sl 0 0 0 0 1 1 2 0", 10, {0, 0, 1, 1, 2, 0}},
      {"sl 0 0 1 0 1 1 0 1", 11, {0, 0, 1, 0, 1, 1, 0, 1}},
      {"sl 0 0 1e-11 0 1 1", 9, {0, 0, 1, 1}},
      {"sl 0 0 1 0 1 1 0", 0, {}},
      {"sl 0 0 1 0 1", 0, {}},
  };
  for (const SolidCase& c : cases) {
    const TJwcData d = ReadJwcLines({"lc10 5", c.line});
    std::vector<double> got;
    int kind = 0;
    if (!d.Sl2.empty()) kind = 9, got.assign(d.Sl2[0].V, d.Sl2[0].V + 4);
    if (!d.Sl3.empty()) kind = 10, got.assign(d.Sl3[0].V, d.Sl3[0].V + 6);
    if (!d.Sl4.empty()) kind = 11, got.assign(d.Sl4[0].V, d.Sl4[0].V + 8);
    EXPECT_EQ(kind, c.kind) << c.line;
    EXPECT_EQ(got, c.corners) << c.line;
    if (kind != 0) {
      EXPECT_EQ(d.EntityOrder.at(0).Kind, kind) << c.line;
    }
  }
  EXPECT_EQ(ReadJwcLines({"lc10 5", "sl 1 2 3 4"}).Sl2[0].Header.KindWord, 5);
}

TEST(JwcReader, OtherElementKindsAndTheirOrder) {
  const TJwcData d = ReadJwcLines({"ci 1 2 3", "ci 1 2 3 4 5 6 7", "pn4", "pt 1 2", "pt 1 2 3 4 5", "BL 1 2 name x",
                                   "sc 1 2 3 4 5 6 7 8", "se 1 2 3 4 5 6 7 8", "so 1 2 3 4 5 6 7 8",
                                   "sg 1 2 3 4 5 6 7 8", "ci 1 2", "pt 1 2 3 4", "BL 1 2", "sc 1"});
  const std::vector<std::pair<int, int>> order = {{2, 0}, {3, 0}, {5, 0}, {6, 0}, {8, 0},
                                                  {12, 0}, {13, 0}, {14, 0}, {15, 0}};
  ASSERT_EQ(d.EntityOrder.size(), order.size());
  for (size_t i = 0; i < order.size(); ++i) {
    EXPECT_EQ(d.EntityOrder[i].Kind, order[i].first);
    EXPECT_EQ(ElementCount(d, order[i].first), 1u);
  }
  EXPECT_EQ(d.Circles[0].R, 3);
  EXPECT_EQ(d.Arcs[0].V[6], 7);
  EXPECT_EQ(d.Points3[0].Header.Color, 4);
  EXPECT_EQ(d.Points6[0].N, 5);
  EXPECT_EQ(d.Blocks[0].Name, "name");
  EXPECT_EQ(d.Sc[0].N, 8);
  EXPECT_EQ(d.Sg[0].V[7], 8);
}

}  // namespace
