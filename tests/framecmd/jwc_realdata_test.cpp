// Interface files shaped line for line like Jw_cad's, read to values
// checked by hand against the files.
#include <gtest/gtest.h>

#include "jwc_test_util.h"

namespace {

std::filesystem::path Data(const char* name) {
  return std::filesystem::path(JWC_DATA_DIR) / name;
}

TEST(JwcRealData, PointsWithCrLf) {
  TJwcData d;
  InitJwcData(d);
  ASSERT_TRUE(ReadJwcFile(d, Data("points-crlf.TXT")));
  EXPECT_EQ(d.GroupScales[0], 250);
  EXPECT_EQ(d.GroupScales[15], 250);
  EXPECT_EQ(d.TextTypes[9].Width, 6);
  EXPECT_EQ(d.TextTypes[9].Height, 3);
  EXPECT_EQ(d.TextTypes[4].Spacing, 0.5);
  EXPECT_EQ(d.TextTypes[5].Spacing, 1);
  EXPECT_EQ(d.TextTypes[9].Color, 2);  // "hcc" values padded by blanks
  EXPECT_EQ(d.TextTypes[8].Color, 5);
  EXPECT_EQ(d.PointCount, 3);
  const THpPoint expected[] = {{true, 12034.5625, -3480.25, 1}, {true, -8012, 6405.125, 0}, {true, -8012, -3480.25, 1}};
  for (int p = 1; p <= 3; ++p) {
    EXPECT_EQ(d.Points[p].X, expected[p - 1].X) << p;
    EXPECT_EQ(d.Points[p].Y, expected[p - 1].Y) << p;
    EXPECT_EQ(d.Points[p].Kind, expected[p - 1].Kind) << p;
  }
  EXPECT_FALSE(d.Points[4].Used);
  EXPECT_EQ(d.FirstLayerGroup, 2);
  EXPECT_EQ(d.FirstLayer, 6);
  EXPECT_EQ(d.FirstColor, 2);
  EXPECT_EQ(d.FirstLineType, 1);
  EXPECT_EQ(d.FirstTextType, 0);
  EXPECT_EQ(d.FirstFreeText, (TFreeTextSize{3, 3, 0.5, 2}));
  EXPECT_EQ(d.FirstFont, kMsGothic);  // the blank inside the face survives
  EXPECT_FALSE(d.BzSeen);
  EXPECT_TRUE(d.EntityOrder.empty());
}

TEST(JwcRealData, OnePointWithLf) {
  TJwcData d;
  InitJwcData(d);
  ASSERT_TRUE(ReadJwcFile(d, Data("one-point-lf.TXT")));
  EXPECT_EQ(d.GroupScales[7], 1e6);
  EXPECT_EQ(d.PointCount, 1);
  EXPECT_EQ(d.Points[1].X, 50000000);
  EXPECT_EQ(d.Points[1].Y, 10000000);
  EXPECT_EQ(d.Points[1].Kind, 1);
  EXPECT_EQ(d.FirstTextType, 3);
  EXPECT_EQ(d.FirstFreeText, TFreeTextSize{});  // type 3 carries no free size
  EXPECT_EQ(d.FirstFont, kMsGothic);
  EXPECT_EQ(d.TextTypes[2].Spacing, 0.5);
  EXPECT_EQ(d.HnValues[0], 0);
  EXPECT_EQ(d.PaperWidth, 1189);  // no "hzs" line
}

TEST(JwcRealData, MissingFileKeepsDefaults) {
  TJwcData d;
  InitJwcData(d);
  EXPECT_FALSE(ReadJwcFile(d, Data("no-such-file.TXT")));
  EXPECT_FALSE(ReadJwcFile(d, Data("")));  // the folder itself
  EXPECT_EQ(d.PaperWidth, 1189);
}

}  // namespace
