#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "jww_data.h"

TEST(JwwData, NewModelIsEmpty) {
  TJwwData d;
  EXPECT_EQ(d.Header.Version, 0);
  EXPECT_EQ(d.Header.PrintScale, 1.0);
  EXPECT_EQ(d.Header.JumpLayerGroup[7], -1);
  EXPECT_EQ(d.Header.JumpScale[0], 1.0);
  EXPECT_TRUE(d.Layers.empty());
  EXPECT_EQ(d.EntityOrderCount + d.BlockListCount + d.LineCount + d.BlockTreeCount, 0);
}

TEST(JwwData, IsJwwFileChecksTheSignatureExactly) {
  const std::string dir = ::testing::TempDir();
  auto write = [&](const std::string& name, const std::string& bytes) {
    std::ofstream(dir + name, std::ios::binary) << bytes;
    return dir + name;
  };
  TJwwData d;
  EXPECT_TRUE(d.IsJwwFile(write("sig_ok.jww", "JwwData.")));
  EXPECT_TRUE(d.IsJwwFile(write("sig_long.jww", "JwwData.xxxxxxxx")));
  EXPECT_FALSE(d.IsJwwFile(write("sig_short.jww", "JwwData")));
  EXPECT_FALSE(d.IsJwwFile(write("sig_case.jww", "jwwdata.")));
  EXPECT_FALSE(d.IsJwwFile(dir + "no_such_file.jww"));
}
