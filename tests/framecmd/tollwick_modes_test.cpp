// Modes run on an interface state in memory: name checks, tiles at the
// limits, frame search tolerances and numbering.
#include <gtest/gtest.h>

#include "framecmd_test_files.h"
#include "func.h"
#include "jwc_test_util.h"
#include "jwc_writer.h"
#include "tollwick_form.h"

namespace {

// Runs mode with args over the given input lines in a fresh folder;
// answers the queue as written.
std::string RunModeOn(const std::vector<std::string>& input, const std::vector<std::string>& args,
                      int32_t direction = 0, int32_t paper = 3) {
  const auto dir = MakeTempDir("modes");
  std::string file;
  for (const std::string& l : input) file += l + "\r\n";
  WriteFileBytes(dir / "JWC_TEMP.TXT", file);
  if (direction != 0) WriteFileBytes(dir / "quillmoor.dat", std::string(14, '\n') + std::to_string(direction) + "\n");
  WriteFileBytes(dir / "tollwick.dat", "0\n0\n" + std::to_string(paper) + "\n2\n");
  TForm1 f;
  f.ProgramFolder = dir.string() + "/";
  EXPECT_FALSE(f.FormShow(args));
  EXPECT_TRUE(f.FormClose());
  const std::string out = ReadFileBytes(dir / "JWC_TEMP.TXT");
  std::filesystem::remove_all(dir);
  return out;
}

TEST(TollwickModes, SheetNamesQuillmoorWouldSkipAreRefused) {
  const std::vector<std::pair<std::string, bool>> names = {
      {"A-01", true},
      {"\x90\x7D\x96\xCA", true},  // 図面
      {"", false},
      {"A.01", false},
      {"a b", false},
      {"x~1", false},
      {"\x83\x5C", true},           // ソ: its second byte is not a backslash of its own
      {"\x95\x5C", true},           // 表
      {"a\r\nlc1", false},          // a line break would write commands of its own
      {"a\tb", false},
      {"A?", false},                // what an unmappable character becomes
      {"A\x81y\x82k\x81z" "01", false},  // Quillmoor would read a layer list
      {std::string(249, 'n'), true},
      {std::string(250, 'n'), true},     // the tag is cut to 255 bytes
  };
  for (const auto& [name, accepted] : names) {
    const std::string out = RunModeOn({"hp1 0 0"}, {"4", name});
    EXPECT_EQ(out != "hq\r\n", accepted) << name;
  }
  // A tag that would pass 255 bytes is cut there, layer tag and all.
  const std::string cut = RunModeOn({"hp1 0 0"}, {"5", std::string(300, 'n')});
  EXPECT_NE(cut.find("\x81y\x96\xBC\x81z" + std::string(249, 'n') + "\r\n"), std::string::npos);
}

TEST(TollwickModes, TileCountsAreClampedBeforeConversion) {
  struct Case {
    std::vector<std::string> input;
    std::vector<std::string> args;
    size_t frames;
  };
  const std::vector<Case> cases = {
      {{"hzs 1e300 1e300"}, {"3"}, 200 * 200},
      {{"hzs -5 0"}, {"3"}, 1},
      {{"hzs 1189 841"}, {"3", "-4", "0"}, 2},  // one column, rows as many as fit
      {{"hzs 1189 841"}, {"3", "2", "3"}, 6},
  };
  for (const Case& c : cases) {
    const std::string out = RunModeOn(c.input, c.args);
    size_t lines = 0;
    for (size_t at = 0; (at = out.find("\r\n", at)) != std::string::npos; at += 2) ++lines;
    EXPECT_EQ(lines, 5 + 4 * c.frames) << c.args.size() << " " << c.input[0];
  }
}

std::vector<std::string> FrameLines(double x0, double y0, double w, double h, double gap = 0) {
  auto n = [](double v) { return FormatGeneralNumber(v, '.'); };
  return {n(x0) + " " + n(y0) + " " + n(x0 + w) + " " + n(y0),
          n(x0 + w) + " " + n(y0) + " " + n(x0 + w) + " " + n(y0 + h),
          n(x0 + w) + " " + n(y0 + h + gap) + " " + n(x0) + " " + n(y0 + h + gap),
          n(x0) + " " + n(y0 + h) + " " + n(x0) + " " + n(y0)};
}

TEST(TollwickModes, FrameNumbersFollowTheFramesFound) {
  std::vector<std::string> in = {"lc9", "lt19", "lw200"};
  for (const auto& l : FrameLines(0, 0, 420, 297)) in.push_back(l);
  for (const auto& l : FrameLines(0, 1000, 420, 297, 1e-8)) in.push_back(l);  // meets within 1e-8
  for (const auto& l : FrameLines(1000, 0, 420, 297, 2e-8)) in.push_back(l);  // a gap: no frame
  in.push_back("lw100");
  for (const auto& l : FrameLines(2000, 0, 420, 297)) in.push_back(l);  // other width: no frame
  const std::string out = RunModeOn(in, {"6"});
  EXPECT_EQ(out,
            "lg0\r\nly0\r\ncn\"$\r\ncn0 105 99 0 9\r\ncc8\r\n"
            "ch 419 1296 1 0 \"1\r\nch 419 296 1 0 \"2\r\ncn1\r\n");
  // Frames made by mode 1 are found again.
  const std::string frame = RunModeOn({"hp1 10 20"}, {"1"});
  std::vector<std::string> back;
  for (size_t at = 0, end; (end = frame.find("\r\n", at)) != std::string::npos; at = end + 2)
    back.push_back(frame.substr(at, end - at));
  EXPECT_EQ(RunModeOn(back, {"6"}), "lg0\r\nly0\r\ncn\"$\r\ncn0 105 99 0 9\r\ncc8\r\nch 429 316 1 0 \"1\r\ncn1\r\n");
}

}  // namespace
