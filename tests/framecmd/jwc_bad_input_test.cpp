// Hostile interface files: the reader finishes, keeps its limits, and a
// mode run over the result still writes a whole, well-formed file.
#include <gtest/gtest.h>

#include <random>

#include "framecmd_test_files.h"
#include "jwc_writer.h"
#include "memory_limit.h"
#include "tollwick_form.h"

namespace {

struct BadFile {
  const char* name;
  std::string bytes;
};

std::vector<BadFile> BadFiles() {
  std::mt19937 rng(7);
  std::string garbage(1 << 20, '\0');
  for (char& c : garbage) c = static_cast<char>(rng());
  std::string tokens;
  tokens.reserve(20'000'000);
  tokens += "ch 0 0 1 0";
  for (int i = 0; i < 10'000'000; ++i) tokens += " 1";
  return {
      {"100,000-byte lines", "hp1 " + std::string(100'000, '7') + " 2\r\n" + "ch 1 2 1 0 \"" + std::string(100'000, 'x') +
                                 "\r\ncn\"$" + std::string(100'000, '\x82') + "\r\n"},
      {"binary garbage", garbage},
      {"10 million tokens", tokens},
      {"invalid Shift-JIS", "hp1 1 2\r\ncn\"$\x82\x0A\xFF\xFE\x85\x31\r\nlg\x81\r\nch 1 1 1 0 \"\xFD\xFF\x80\r\n"},
      {"lone lead byte before the line end", "hp1 1 2\x82\r\nhp2 3 4\x82\nlc9\x82\rcn\"$<F\x82\r\n"},
      {"NUL bytes", std::string("hp1\0 5\0 6\0\r\n\0\0\0\r\nlg\0A\r\n", 21)},
      {"only line ends", std::string(100'000, '\r') + std::string(100'000, '\n')},
  };
}

// Each line of the written file is a whole command: CR LF ends every line,
// no control byte inside, at most 255 bytes plus a text command's keyword part.
void ExpectWellFormed(const std::string& out, const char* name) {
  ASSERT_GE(out.size(), 4u) << name;
  EXPECT_EQ(out.substr(out.size() - 2), "\r\n") << name;
  size_t at = 0;
  while (at < out.size()) {
    const size_t end = out.find("\r\n", at);
    ASSERT_NE(end, std::string::npos) << name;
    const std::string line = out.substr(at, end - at);
    EXPECT_LE(line.size(), 255u + 64u) << name;
    for (const char c : line) ASSERT_GE(static_cast<unsigned char>(c), 32u) << name;
    at = end + 2;
  }
}

TEST(JwcBadInput, ReaderAndModesSurviveHostileFiles) {
  for (const BadFile& f : BadFiles()) {
    for (const char* mode : {"1", "2", "6", "7"}) {
      const auto dir = MakeTempDir("bad");
      WriteFileBytes(dir / "JWC_TEMP.TXT", f.bytes);
      TForm1 form;
      form.ProgramFolder = dir.string() + "/";
      form.FormShow({mode});
      for (const auto& p : form.Jwc.Points) ASSERT_TRUE(std::isfinite(p.X) && std::isfinite(p.Y)) << f.name;
      EXPECT_TRUE(form.FormClose()) << f.name;
      ExpectWellFormed(ReadFileBytes(dir / "JWC_TEMP.TXT"), f.name);
      EXPECT_FALSE(std::filesystem::exists(dir / "JWC_TEMP.TXT.new")) << f.name;
      std::filesystem::remove_all(dir);
    }
  }
}

TEST(JwcBadInput, LongValuesAreKeptWithinTheirRecords) {
  const auto dir = MakeTempDir("long");
  WriteFileBytes(dir / "JWC_TEMP.TXT", BadFiles()[0].bytes);
  TJwcData d;
  InitJwcData(d);
  ASSERT_TRUE(ReadJwcFile(d, dir / "JWC_TEMP.TXT"));
  ASSERT_EQ(d.Texts.size(), 1u);
  EXPECT_EQ(d.Texts[0].Text.size(), 255u);
  EXPECT_EQ(d.Points[1].X, 0);  // 100,000 digits overflow: read as 0
  EXPECT_EQ(d.FirstFont.size() % 2, 0u);  // lead bytes pair up, the lone last one is dropped
  std::filesystem::remove_all(dir);
}

// Ten million lines of 13 bytes took 8.5 times their file: the element
// lists are held in proportion to it (2 million lines here).
TEST(JwcBadInput, ManyLinesStayWithinFourTimesTheirFile) {
  const auto dir = MakeTempDir("many");
  const auto file = dir / "JWC_TEMP.TXT";
  constexpr size_t kLines = 2'000'000;
  {
    std::string bytes;
    for (size_t i = 0; i < kLines; ++i) bytes += "10 20 30 40\r\n";
    WriteFileBytes(file, bytes);
  }
  EXPECT_TRUE(RunsWithinMemory(4 * std::filesystem::file_size(file), [&] {
    TJwcData d;
    InitJwcData(d);
    return ReadJwcFile(d, file) && d.Lines.size() == kLines && d.Lines.back().X2 == 30 && d.Lines[0].Header.Color == 1;
  }));
  std::filesystem::remove_all(dir);
}

}  // namespace
