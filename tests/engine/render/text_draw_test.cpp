#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "func.h"
#include "gra_attribute.h"
#include "gval.h"
#include "recording_canvas.h"
#include "render/text_draw.h"
#include "sjis.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
const std::string kTa = "\x83\x5E";  // a katakana whose trail byte is "^"

struct Out {
  std::string text;
  int32_t x, y;
  bool operator==(const Out&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Out& o) {
  return os << "{" << SjisToUtf8(o.text) << " " << o.x << "," << o.y << "}";
}

// 1 bold, 2 italic, 4 underline, 8 strike-out, as the font says.
int32_t StyleOf(const TLogFont& f) {
  return (f.Weight == 700 ? 1 : 0) | (f.Italic ? 2 : 0) | (f.Underline ? 4 : 0) | (f.StrikeOut ? 8 : 0);
}

class TextDrawTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Gval.Reset();
    SetView(1000, 1000, 10, 50, 50);  // 0..100 mm both ways, 10 units per mm
    attr.SetPen(3, RgbColor(255, 0, 0), 0, 0);
    Gval.GraAttribute = &attr;
    canvas.SetPenColor(0x123456);
  }
  void TearDown() override { Gval.Reset(); }

  // A text along +x from (10, 10), 2 mm high and wide.
  void Draw(const std::string& text, double w = 2, double sp = 0, int32_t style = 0) {
    DrawTextEntity(canvas, style, "F", 10, 10, 50, 10, 2, w, sp, text);
  }
  std::vector<Out> Outs() const {
    std::vector<Out> out;
    for (const TCanvasCall& c : canvas.Of(TCanvasCall::TextOut))
      out.push_back({c.text, c.points[0].x, c.points[0].y});
    return out;
  }
  std::string Texts() const {
    std::string s;
    for (const Out& o : Outs()) s += o.text + "|";
    return s;
  }

  TgraAttribute attr;
  TRecordingCanvas canvas;
};

TEST_F(TextDrawTest, TooSmallOrTooLargeTextsBecomeAThickStroke) {
  struct Row {
    double x2, y2, h, w;
    bool greeked;
  };
  const Row rows[] = {
      {30, 10, 0.5, 2, true},    {30, 10, 0.6, 2, false},  {30, 10, 100.1, 2, true},
      {30, 10, 100, 2, false},   {10.5, 10, 2, 2, true},   {10, 10, 2, 2, true},
      {30, 10, 2, 100.1, true},  {30, 10, 2, -100.1, true}, {30, 10, -0.5, 2, true},
      {10.7, 10, 2, 2, false},
  };
  for (const Row& r : rows) {
    canvas = TRecordingCanvas();
    DrawTextEntity(canvas, 0, "F", 10, 10, r.x2, r.y2, r.h, r.w, 0, "AB");
    EXPECT_EQ(canvas.Of(TCanvasCall::TextOut).empty(), r.greeked) << r.x2 << " " << r.h << " " << r.w;
    // The stroke runs from the start to the end point, 3 units wide.
    const auto lines = canvas.Of(TCanvasCall::LineTo);
    ASSERT_EQ(lines.size(), r.greeked ? 1u : 0u) << r.x2 << " " << r.h << " " << r.w;
    if (r.greeked) {
      EXPECT_EQ(canvas.Of(TCanvasCall::MoveTo)[0].points[0].x, 100);
      EXPECT_EQ(lines[0].points[0].x, static_cast<int32_t>(std::lround(r.x2 * 10)));
      EXPECT_EQ(lines[0].points[0].y, 900);
      EXPECT_EQ(lines[0].penWidth, 3);
    }
  }
}

TEST_F(TextDrawTest, CharactersArePlacedCellByCell) {
  struct Row {
    const char* text;
    const char* face;
    double x1, y1, x2, y2, h, w, sp;
    std::vector<Out> outs;
    int32_t escapement;
  };
  const std::string a = Utf8ToSjis("あ");
  const Row rows[] = {
      {"AB", "F", 10, 10, 30, 10, 2, 2, 1, {{"A", 100, 880}, {"B", 115, 880}}, 0},
      {"\x82\xA0" "B", "F", 10, 10, 30, 10, 2, 2, 1, {{a, 100, 880}, {"B", 130, 880}}, 0},
      {"AB", "F", 10, 10, 10, 30, 2, 2, 1, {{"A", 80, 900}, {"B", 80, 885}}, 900},
      {"A", "F", 10, 10, 30, 10, -2, 2, 0, {{"A", 100, 900}}, 0},  // hangs from the point
      // Mirrored: from the end point, half a turn round, spacing negated.
      {"AB", "F", 10, 10, 30, 10, 2, -2, 1, {{"A", 300, 920}, {"B", 295, 920}}, 1800},
      {"A", "@@F", 10, 10, 30, 10, 2, 2, 0, {{"A", 120, 900}}, 1800},
      // Cells wholly outside the window cost nothing; a corner inside is enough.
      {"AB", "F", -1.4, 10, 30, 10, 2, 2, 0, {{"B", -4, 880}}, 0},
      {"AB", "F", 10, 200, 30, 200, 2, 2, 0, {}, 0},
  };
  for (const Row& r : rows) {
    canvas = TRecordingCanvas();
    DrawTextEntity(canvas, 0, r.face, r.x1, r.y1, r.x2, r.y2, r.h, r.w, r.sp, r.text);
    EXPECT_EQ(Outs(), r.outs) << r.text << " " << r.face;
    EXPECT_EQ(canvas.Font().Escapement, r.escapement) << r.text;
    EXPECT_EQ(canvas.Font().Height, 20) << r.text;
    EXPECT_EQ(canvas.Font().Width, 10) << r.text;
    EXPECT_EQ(canvas.Font().FaceName, "F") << r.face;
  }
}

TEST_F(TextDrawTest, FontSizesAndOutputPointRoundTiesToEven) {
  SetView(1000, 1000, 4, 125, 125);
  DrawTextEntity(canvas, 15, "F", 0.625, 10, 20, 10, 2.125, 4.25, 0, "A");
  ASSERT_EQ(Outs(), (std::vector<Out>{{"A", 2, 952}}));  // 2.5 and 48.5 go down
  const TCanvasCall c = canvas.Of(TCanvasCall::TextOut)[0];
  EXPECT_EQ(c.font.Height, 8);
  EXPECT_EQ(c.font.Width, 8);
  EXPECT_EQ(StyleOf(c.font), 15);
  EXPECT_EQ(c.fontColor, 0x123456);  // the pen's colour
  EXPECT_EQ(canvas.BrushStyle(), bsClear);
}

TEST_F(TextDrawTest, EndSignsRespreadOrShrinkTheText) {
  struct Row {
    const char* text;
    double w, sp;
    std::vector<Out> outs;
    int32_t fontWidth;
  };
  const Row rows[] = {
      {"AB\xA5", 2, 0, {{"A", 100, 880}, {"B", 120, 880}}, 10},  // the dot's width in the gap
      {"AB\x81\x45\x81\x45", 2, 0, {{"A", 100, 880}, {"B", 150, 880}}, 10},
      {"ABCD^2", 4, 0, {{"A", 100, 880}, {"B", 110, 880}, {"C", 120, 880}, {"D", 130, 880}}, 10},
      {"ABC^2", 4, 0, {{"A", 100, 880}, {"B", 120, 880}, {"C", 140, 880}}, 20},  // 3 - 2 < 2
      {"A^5", 2, 0, {{"A", 100, 880}}, 10},  // shrinking would leave less than two bytes
      {"A^", 2, 0, {{"A", 100, 880}, {"^", 110, 880}}, 10},
      // A sign eating into a "・" leaves its lead byte: dropped, not drawn alone.
      {"A\x81\x45^", 2, 0, {{"A", 100, 880}}, 10},
      {"\x81\x45^\xA5", 2, 0, {}, 10},
  };
  for (const Row& r : rows) {
    canvas = TRecordingCanvas();
    Draw(r.text, r.w, r.sp);
    EXPECT_EQ(Outs(), r.outs) << r.text;
    EXPECT_EQ(canvas.Font().Width, r.fontWidth) << r.text;
  }
}

TEST_F(TextDrawTest, SequencesChangeStyleAndColourOrStayLiteral) {
  struct Row {
    std::string text;
    std::string pieces;             // TextOut texts joined by "|"
    std::vector<int32_t> styles;    // per piece
    std::vector<int32_t> colours;   // per piece; empty: all the pen's
  };
  const int32_t red = RgbColor(255, 0, 0);
  const Row rows[] = {
      {"a^!b^#c", "a|b|c|", {0, 1, 0}, {}},
      {"a^/b^_c^-d", "a|b|c|d|", {0, 2, 6, 14}, {}},
      {"a^$3b", "a|b|", {0, 0}, {0x123456, red}},
      {"a^$0b", "a|^|$|0|b|", {0, 0, 0, 0, 0}, {}},
      {"a^*^!^^b^!c", "a|^|!|b|c|", {0, 0, 0, 0, 1}, {}},
      {"a^q^", "a|^|q|^|", {0, 0, 0, 0}, {}},
      {"a^u^b", "a|^|u|^|b|", {0, 0, 0, 0, 0}, {}},
      {"%%x^!y", "%|%|x|^|!|y|", {0, 0, 0, 0, 0, 0}, {}},  // a variable is drawn whole
      // "^" before a two-byte character keeps the character whole, so its
      // "^" trail byte starts no sequence.
      {"a^" + kTa + "!b", "a|^|" + kTa + "|!|b|", {0, 0, 0, 0, 0}, {}},
      {"a^$" + kTa + "!b", "a|^|$|" + kTa + "|!|b|", {0, 0, 0, 0, 0, 0}, {}},
      {"a^*^" + kTa + "!b", "a|^|" + kTa + "|!|b|", {0, 0, 0, 0, 0}, {}},
      {"a^\x83", "a|^|", {0, 0}, {}},  // a lead byte that ends the text is dropped
      {"x^w" + kTa, "x|^|w|" + kTa + "|", {0, 0, 0, 0}, {}},
  };
  for (const Row& r : rows) {
    canvas = TRecordingCanvas();
    canvas.SetPenColor(0x123456);
    Draw(r.text);
    EXPECT_EQ(Texts(), r.pieces) << r.text;
    const auto outs = canvas.Of(TCanvasCall::TextOut);
    for (size_t i = 0; i < outs.size() && i < r.styles.size(); ++i) {
      EXPECT_EQ(StyleOf(outs[i].font), r.styles[i]) << r.text << " piece " << i;
      const int32_t colour = r.colours.empty() ? 0x123456 : r.colours[i];
      EXPECT_EQ(outs[i].fontColor, colour) << r.text << " piece " << i;
    }
  }
}

TEST_F(TextDrawTest, RaisedLoweredAndOverlaidCharacters) {
  struct Row {
    std::string text;
    std::vector<Out> outs;
    int32_t height, width;  // of the last piece's font
  };
  const std::string a = Utf8ToSjis("あ");
  const Row rows[] = {
      {"x^u2y", {{"x", 100, 880}, {"2", 110, 880}, {"y", 120, 880}}, 20, 10},
      {"x^d2", {{"x", 100, 880}, {"2", 110, 890}}, 10, 10},
      {"x^c2", {{"x", 100, 880}, {"2", 110, 885}}, 10, 10},
      {"x^o2", {{"x", 100, 880}, {"2", 102, 885}}, 10, 5},     // back 0.75 mm, up 0.5
      {a + "^nB", {{a, 100, 880}, {"B", 105, 880}}, 20, 10},    // centred on the wide one
      {"x^w12", {{"x", 100, 880}, {"1", 100, 885}, {"2", 105, 885}}, 10, 5},
      {"x^u" + a, {{"x", 100, 880}, {a, 110, 880}}, 10, 5},
  };
  for (const Row& r : rows) {
    canvas = TRecordingCanvas();
    Draw(r.text);
    EXPECT_EQ(Outs(), r.outs) << r.text;
    EXPECT_EQ(canvas.Font().Height, r.height) << r.text;
    EXPECT_EQ(canvas.Font().Width, r.width) << r.text;
  }
}

TEST(CutFaceName, KeepsWholeCharactersWithinThirtyOneBytes) {
  const std::string a = "\x82\xA0";
  struct Row {
    std::string face, cut;
  };
  const Row rows[] = {
      {std::string(31, 'x'), std::string(31, 'x')},
      {std::string(40, 'x'), std::string(31, 'x')},
      {std::string(29, 'x') + a + "y", std::string(29, 'x') + a},
      {std::string(30, 'x') + a, std::string(30, 'x')},
      {"ab\x82", "ab"},  // half a character at the end
      {std::string("ab\0cd", 5), "ab"},
      {"", ""},
  };
  for (const Row& r : rows) EXPECT_EQ(CutFaceName(r.face), r.cut) << r.face;
}

TEST_F(TextDrawTest, BadInputDrawsBoundedOrNothing) {
  const std::string texts[] = {
      std::string(255, '^'), RepeatStr("^$", 127), RepeatStr("^u", 127), std::string(255, '\x81'),
      RepeatStr("^\x81", 127), RepeatStr("\x81\x45", 127) + "^", RepeatStr("^*", 127),
      RepeatStr("^w", 127) + "^", RepeatStr("^$9", 85),
  };
  for (const std::string& t : texts) {
    canvas = TRecordingCanvas();
    Draw(t);
    EXPECT_LE(canvas.Of(TCanvasCall::TextOut).size(), t.size());
  }
  Gval.GraAttribute = nullptr;  // a colour sign without attributes keeps the pen
  Draw("a^$3b");
  const double bad[] = {kNaN, std::numeric_limits<double>::infinity(), 1e300, -1e300};
  for (double v : bad) {
    canvas = TRecordingCanvas();
    DrawTextEntity(canvas, 0, "F", v, 10, 50, 10, 2, 2, 0, "AB");
    DrawTextEntity(canvas, 0, "F", 10, 10, 50, 10, 2, 2, v, "AB^u2");
    DrawTextEntity(canvas, 0, "@@F", 10, 10, 50, v, 2, 2, 0, "AB");
    if (std::isnan(v)) {
      EXPECT_TRUE(canvas.calls.empty());
    }
  }
}

}  // namespace
