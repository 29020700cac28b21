// The loop both programs make through drawings: what Tollwick writes, applied
// as Jw_cad applies it, is read by Quillmoor's frame detection. Frames of
// modes 1 to 3 are found as the same rectangles in the order of mode 6's
// numbers; the tags of modes 4, 5 and 7 give the same name, layer list,
// scale and rotation.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

#include "../../splitprint/fake_printer.h"
#include "../run_program.h"
#include "form1_state.h"
#include "frame_detect.h"
#include "func.h"
#include "jwc_data.h"
#include "sjis.h"
#include "unit_print.h"

namespace {

// The written commands applied to a drawing: lines and texts with the
// attributes current at their line.
void ApplyToDrawing(const std::vector<std::string>& written, TJwwData& drawing) {
  TJwcData d;
  InitJwcData(d);
  for (const std::string& l : written) ParseJwcLine(d, l);
  for (const TJwwEntLine& l : d.Lines) {
    TEntJwwLine e;
    e.Common.Color = static_cast<uint16_t>(l.Header.Color);
    e.Common.LineType = static_cast<uint8_t>(l.Header.LineType);
    e.Common.Width = static_cast<uint16_t>(l.Header.LineWidth);
    e.Common.LayerGroup = static_cast<uint16_t>(l.Header.LayerGroup);
    e.X1 = l.X1;
    e.Y1 = l.Y1;
    e.X2 = l.X2;
    e.Y2 = l.Y2;
    drawing.Lines.push_back(e);
  }
  for (const TJwwEntText& t : d.Texts) {
    TEntJwwText e;
    e.Common.Color = static_cast<uint16_t>(t.Header.Color);  // the colour of the text size line
    e.Common.LayerGroup = static_cast<uint16_t>(t.Header.LayerGroup);
    e.Kind = static_cast<uint32_t>(t.Header.KindWord);
    e.StartX = t.X;
    e.StartY = t.Y;
    e.EndX = t.X + 10;
    e.EndY = t.Y;
    e.Content = t.Text;
    drawing.Texts.push_back(e);
  }
  drawing.LineCount = static_cast<int32_t>(drawing.Lines.size());
  drawing.TextCount = static_cast<int32_t>(drawing.Texts.size());
}

std::string Quillmoor15(int direction) { return std::string(14, '\n') + std::to_string(direction) + "\r\n"; }

std::string Settings(int paper, int placement) {
  return "100\r\n100\r\n" + std::to_string(paper) + "\r\n" + std::to_string(placement) + "\r\n";
}

struct FrameRun {
  const char* name;
  std::vector<std::string> input;
  std::vector<std::string> args;
  int paper, placement;
  size_t frames;
};

TEST(TollwickQuillmoorLoop, FramesAreFoundInTheOrderOfTheirNumbers) {
  std::mt19937 rng(3);
  std::uniform_int_distribution<int> jitter(-40, 40);
  std::vector<std::string> scattered = {"lg1", "ly2"};
  for (int p = 1; p <= 99; ++p) {
    const int x = (p % 11) * 1500 + jitter(rng), y = (p / 11) * 1100 + jitter(rng);
    scattered.push_back("hp" + std::to_string(p) + "  " + std::to_string(x) + ".25 " + std::to_string(y) + ".5");
  }
  const std::vector<FrameRun> runs = {
      {"one frame, centred", {"hp1 123.456 -78.9"}, {"1"}, 3, 4, 1},
      {"99 points, A1 portrait", scattered, {"2"}, 6, 0, 99},
      {"tiles from the paper size", {"hzs 4000 3000"}, {"3"}, 4, 0, 13 * 14},
      {"tiles by count", {"hzs 1189.5 841.25"}, {"3", "7", "3"}, 0, 0, 21},
  };
  for (const FrameRun& r : runs) {
    const std::vector<std::string> written = RunOverLines(r.input, r.args, "", Settings(r.paper, r.placement));
    for (int direction : {0, 1}) {
      TForm1 quillmoor;
      ApplyToDrawing(written, quillmoor.WorkDrawing);
      quillmoor.NumberingDirection = direction;
      quillmoor.FindSheetFrames();
      ASSERT_EQ(Gval.SheetFrames.size(), r.frames) << r.name;

      // Mode 6 over the same drawing: number n sits at (xmax - 1, ymax - 1)
      // of the frame it numbers.
      const std::vector<std::string> numbers = RunOverLines(written, {"6"}, Quillmoor15(direction));
      TJwcData d;
      InitJwcData(d);
      for (const std::string& l : numbers) ParseJwcLine(d, l);
      ASSERT_EQ(d.Texts.size(), r.frames) << r.name;
      for (const TJwwEntText& t : d.Texts) {
        const size_t n = static_cast<size_t>(StrToIntOrZero(t.Text));
        ASSERT_GE(n, 1u);
        ASSERT_LE(n, r.frames);
        const TZumenWakuField& f = Gval.SheetFrames[n - 1];
        EXPECT_EQ(f.XMax - 1, t.X) << r.name << " direction " << direction << " number " << n;
        EXPECT_EQ(f.YMax - 1, t.Y) << r.name << " direction " << direction << " number " << n;
      }
    }
  }
}

struct TagRun {
  std::vector<std::string> args;
  std::string name, layers;  // UTF-8
  double scale;
  bool rotated;
};

TEST(TollwickQuillmoorLoop, TagsReadBackAsWritten) {
  TFakePrinter printer;
  SetCurrentPrinter(&printer);
  const std::vector<std::string> input = {"hp1 100 100", "lg3", "ly0 1", "ly3 2", "lyA 1", "ly5", "lg0", "lgn"};
  const std::vector<TagRun> runs = {
      {{"4", Utf8ToSjis("A-01")}, "A-01", "", 1, false},
      {{"4", Utf8ToSjis("図面１_改")}, "図面１_改", "", 1, false},
      {{"5", Utf8ToSjis("B2")}, "B2", "03A", 1, false},
      {{"7", "50", "1"}, "", "", 0.5, true},
      {{"7", "", "0"}, "", "", 1, false},
      {{"7", "12.5"}, "", "", 0.125, false},
  };
  for (const TagRun& r : runs) {
    std::vector<std::string> args;
    for (const std::string& a : r.args) args.push_back(SjisToUtf8(a));
    std::vector<std::string> written = RunOverLines(input, args);
    // A frame around the tag, as the user draws before naming the sheet.
    for (const char* l : {"lc9", "lt19", "lw200", "0 0 420 0", "420 0 420 297", "420 297 0 297", "0 297 0 0"})
      written.push_back(l);
    TForm1 quillmoor;
    ApplyToDrawing(written, quillmoor.WorkDrawing);
    quillmoor.WorkDrawing.Header.Version = 230;
    quillmoor.FindSheetFrames();
    quillmoor.AssignSheetNames();
    quillmoor.FindPrintOriginFrames();
    const std::vector<TZumenWakuField>& frames = Gval.SheetFrames;
    ASSERT_FALSE(frames.empty()) << r.args[0];
    EXPECT_EQ(SjisToUtf8(frames[0].Names[0]), r.name) << r.args[0];
    EXPECT_EQ(frames[0].LayerLists[0], r.layers) << r.args[0];
    if (r.args[0] == "7") {
      ASSERT_EQ(frames.size(), 2u);
      EXPECT_EQ(frames[1].Scale, r.scale);
      EXPECT_EQ(frames[1].Rotated != 0, r.rotated);
    } else {
      EXPECT_EQ(frames[0].NameLayerGroups[0], 3);  // the tag went to the first layer group read
    }
  }
  SetCurrentPrinter(nullptr);
}

TEST(TollwickQuillmoorLoop, EveryNameModeFourAcceptsQuillmoorAccepts) {
  std::mt19937 rng(11);
  const std::string alphabet = std::string("Aa0-_=!#$%&()^@`{};") + "\x82\xA0\x83\x5C\x95\x5C\x90\x7D\xB1\x81\x40";
  int accepted = 0;
  std::vector<std::string> lines = {"lc9", "lt19", "lw200", "-1000 -1000 1000 -1000", "1000 -1000 1000 1000",
                                    "1000 1000 -1000 1000", "-1000 1000 -1000 -1000"};
  std::vector<std::string> names;
  for (int i = 0; i < 60; ++i) {
    std::string name;
    const int len = 1 + static_cast<int>(rng() % 6);
    for (int k = 0; k < len; ++k) {
      const size_t at = rng() % alphabet.size();
      const auto b = static_cast<unsigned char>(alphabet[at]);
      name += alphabet[at];
      if (IsSjisLeadByte(b) && at + 1 < alphabet.size()) name += alphabet[at + 1];
    }
    const std::vector<std::string> written = RunOverLines({"hp1 0 0"}, {"4", SjisToUtf8(name)});
    if (written.size() <= 1) continue;  // refused
    ++accepted;
    lines.insert(lines.end(), written.begin(), written.end());
    names.push_back(SjisToUtf8(name));
  }
  ASSERT_GT(accepted, 10);
  TForm1 quillmoor;
  ApplyToDrawing(lines, quillmoor.WorkDrawing);
  quillmoor.FindSheetFrames();
  quillmoor.AssignSheetNames();
  ASSERT_EQ(Gval.SheetFrames.size(), 1u);
  // Sixteen sheets at most per frame; every accepted name among the first
  // sixteen is taken (duplicates get their ~n suffix).
  const TZumenWakuField& f = Gval.SheetFrames[0];
  EXPECT_EQ(f.NameCount, std::min<int32_t>(accepted, 16));
  for (int32_t k = 0; k < f.NameCount; ++k) {
    EXPECT_EQ(SjisToUtf8(f.Names[static_cast<size_t>(k)]).rfind(names[static_cast<size_t>(k)], 0), 0u) << k;
  }
}

// True when a text command of the written lines holds exactly `text`.
bool WroteText(const std::vector<std::string>& written, const std::string& text) {
  return std::any_of(written.begin(), written.end(), [&](const std::string& l) { return l.ends_with('"' + text); });
}

// The name Quillmoor takes from a sheet-name tag of `name` (Shift-JIS) in a
// frame, or "" when it passes the tag over.
std::string QuillmoorReadsName(const std::string& name) {
  TForm1 quillmoor;
  ApplyToDrawing({"lc9", "lt19", "lw200", "0 0 420 0", "420 0 420 297", "420 297 0 297", "0 297 0 0"},
                 quillmoor.WorkDrawing);
  TEntJwwText& tag = quillmoor.WorkDrawing.Texts.emplace_back();
  tag.Common.Color = 9;
  tag.StartX = tag.StartY = 100;
  tag.Content = kSheetNameTag + name;
  quillmoor.WorkDrawing.TextCount = 1;
  quillmoor.FindSheetFrames();
  quillmoor.AssignSheetNames();
  return Gval.SheetFrames.size() == 1 && Gval.SheetFrames[0].NameCount == 1 ? Gval.SheetFrames[0].Names[0] : "";
}

TEST(TollwickQuillmoorLoop, SheetNamesAreTestedByCharacterInBothPrograms) {
  // Second bytes with the value of "\\" (ソ 表 構 予 申 十 円 ー ―), "|" (ポ),
  // "[" (ゼ), "~" (ミ).
  const std::pair<const char*, bool> names[] = {
      {"構造図", true}, {"表紙", true},  {"予定", true},     {"パース", true},   {"ソファ", true},
      {"平面図", true}, {"申請図", true}, {"キープラン", true}, {"十円", true},     {"ポ―ル", true}, {"ゼミ", true},
      {"A/B", false},   {"表 紙", false}, {"ソ|ファ", false},  {"予定~", false},   {"構造.図", false},
  };
  for (const auto& [utf8, accepted] : names) {
    const std::string sjis = Utf8ToSjis(utf8);
    EXPECT_EQ(WroteText(RunOverLines({"hp1 0 0"}, {"4", utf8}), kSheetNameTag + sjis), accepted) << utf8;
    EXPECT_EQ(QuillmoorReadsName(sjis), accepted ? sjis : "") << utf8;
  }
}

TEST(TollwickQuillmoorLoop, LongSheetNameIsCutToTheTextLimit) {
  std::string name;
  for (int i = 0; i < 150; ++i) name += "構";  // 300 bytes
  // 255 bytes at most, on a character boundary: 【名】 and 124 characters.
  const std::string cut = Utf8ToSjis(name).substr(0, 248);
  for (const char* mode : {"4", "5"}) {
    EXPECT_TRUE(WroteText(RunOverLines({"hp1 0 0"}, {mode, name}), kSheetNameTag + cut)) << mode;
    EXPECT_EQ(QuillmoorReadsName(cut), cut) << mode;
  }
}

}  // namespace
