// Emitters and the writer of the interface file, by the bytes they produce.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <limits>

#include "jwc_test_util.h"
#include "jwc_writer.h"
#include "framecmd_test_files.h"

namespace {

std::vector<std::string> Queue(const TJwcData& d) {
  std::vector<std::string> q;
  for (const TOutputEntry& e : d.Output) q.push_back(e.Text);
  return q;
}

TJwcData AfterReset(const std::vector<std::string>& input = {}) {
  TJwcData d = ReadJwcLines(input);
  ResetOutputAttributes(d);
  return d;
}

TEST(JwcWriter, AttributeLinesOnlyWhenTheyChange) {
  TJwcData d = AfterReset({"lc7", "lt5", "lw33", "cn\"$<F>"});
  OutColor(d, 9, 0);
  OutColor(d, 9, 0);
  OutColor(d, 9, 1);    // 9 maps to itself
  OutColor(d, 10, 1);   // 101
  OutColor(d, 0, 1);    // the first colour read
  OutLineType(d, 18, 1);
  OutLineType(d, 19, 1);
  OutLineWidth(d, -1);
  OutLineWidth(d, 40000);
  OutLayerGroup(d, 10);
  OutLayer(d, 0);  // after a group line the layer always follows
  OutLayerGroup(d, 10);
  OutLayer(d, 0);
  OutCcValue(d, 9);  // out of range: 0
  OutCcValue(d, 3);
  OutFontName(d, "");
  OutFontName(d, "<>");
  OutFontName(d, "<G>");
  EXPECT_EQ(Queue(d), (std::vector<std::string>{"lc9", "lc101", "lc7", "lt19", "lt31", "lw33", "lw0", "lgA",
                                                 "ly0", "cc0", "cc3", "cn\"$<F>", "cn\"$<G>"}));
}

TEST(JwcWriter, TextTypeLines) {
  TJwcData d = AfterReset({"cn0 2.5 3 0 4"});
  OutTextType(d, 1, 9, 0, 0, 0, 0);  // type 1 is due after the reset
  OutTextType(d, 1, 9, 0, 7, 7, 7);  // same type: nothing
  OutTextType(d, 0, 9, 0, 5, 5, 0);
  OutTextType(d, 0, 9, 0, 5, 5, 0);
  OutTextType(d, 0, 9, 0, 5, 5, 0.5);
  OutTextType(d, 0, 10, 1, 5, 5, 0.5);  // colour 10 maps to 101
  OutTextType(d, 99, 1, 0, 1, 1, 1);    // out of range: the first type read, 0, with its size
  EXPECT_EQ(Queue(d), (std::vector<std::string>{"cn1", "cn0 5 5 0 9", "cn0 5 5 0.5 9", "cn0 5 5 0.5 101",
                                                 "cn0 2.5 3 0 4"}));
  // A first type out of range stands for type 1.
  d = AfterReset({"cn42"});
  OutTextType(d, 0, 9, 0, 1, 1, 0);
  OutTextType(d, -5, 9, 0, 1, 1, 0);
  EXPECT_EQ(Queue(d), (std::vector<std::string>{"cn0 1 1 0 9", "cn1"}));
}

TEST(JwcWriter, LinesAndTexts) {
  TJwcData d = AfterReset();
  OutLine(d, 1, 1, 1, 1);                // no extent
  OutLine(d, 0.1, -2.5, 1e15, 123456789.123456789);
  OutLine(d, 0, 0, std::numeric_limits<double>::infinity(), 0);  // not representable
  OutText(d, 0, " \x81\x40\t", 0, 0, 1, 0);  // blanks only
  OutText(d, 3, "x", 0, 0, 1e-9, 0);     // no direction
  OutText(d, 3, "  lead", 5, 6, 1, 0);
  OutText(d, 12, "k", 5, 6, 0, -1);
  EXPECT_EQ(JwcFileContents(d),
            "0.1 -2.5 1E15 123456789.123457\r\n"
            "cr 5 6 1 0 \"  lead\r\n"
            "ch 5 6 0 -1 \"k\r\n");
}

TEST(JwcWriter, OnlyATextCommandJoinsTheEntryBehindIt) {
  // A font name ending in a quote must not glue the next command on.
  TJwcData d = AfterReset();
  OutFontName(d, "<F\">");
  OutFontName(d, "F\"");
  OutColor(d, 9, 0);
  AddOutputLine(d, "x\"");
  OutText(d, 0, "t\"", 1, 2, 1, 0);
  OutLine(d, 0, 0, 1, 0);
  EXPECT_EQ(JwcFileContents(d), "cn\"$<F\">\r\ncn\"$F\"\r\nlc9\r\nx\"\r\nch 1 2 1 0 \"t\"\r\n0 0 1 0\r\n");
  EXPECT_EQ(JwcFileContents(AfterReset()), "hq\r\n");
}

TEST(JwcWriter, NoControlByteReachesACommandLine) {
  // The reader keeps a lead byte's partner whatever it is, so a font name
  // can carry a NUL or a tab; the written line never does.
  TJwcData d = ReadJwcLines({std::string("cn\"$<A\x83\0B\x83\tC>\x82", 14)});
  ResetOutputAttributes(d);
  OutFontName(d, d.FirstFont);
  OutText(d, 0, "x\x83", 0, 0, 1, 0);
  EXPECT_EQ(JwcFileContents(d), "cn\"$<ABC>\r\nch 0 0 1 0 \"x\r\n");
}

TEST(JwcWriter, EntriesAreCutOnACharacterBoundary) {
  TJwcData d = AfterReset();
  std::string text = "a";
  for (int i = 0; i < 200; ++i) text += "\x82\xA0";
  AddOutputLine(d, text);
  ASSERT_EQ(d.Output[0].Text.size(), 255u);
  EXPECT_EQ(d.Output[0].Text.substr(253), "\x82\xA0");
}

TEST(JwcWriter, WritesWholeFileOrNothing) {
  const std::filesystem::path dir = MakeTempDir("jwc_writer");
  TJwcData d = AfterReset();
  OutLine(d, 0, 0, 1, 0);
  const auto path = dir / "JWC_TEMP.TXT";
  { std::ofstream(path) << "old contents"; }
  ASSERT_TRUE(WriteJwcFile(d, path));
  EXPECT_EQ(ReadFileBytes(path), "0 0 1 0\r\n");
  // A folder where the file should be: false, the folder stays, nothing else left.
  std::filesystem::remove(path);
  std::filesystem::create_directory(path);
  EXPECT_FALSE(WriteJwcFile(d, path));
  EXPECT_TRUE(std::filesystem::is_directory(path));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
  // A missing folder: false and nothing made.
  EXPECT_FALSE(WriteJwcFile(d, dir / "missing" / "JWC_TEMP.TXT"));
  // A file the user made read-only is neither replaced nor removed.
  std::filesystem::remove(path);
  { std::ofstream(path) << "protected"; }
  std::filesystem::permissions(path, std::filesystem::perms::owner_read);
  EXPECT_FALSE(WriteJwcFile(d, path));
  EXPECT_EQ(ReadFileBytes(path), "protected");
  std::filesystem::remove_all(dir);
}

}  // namespace
