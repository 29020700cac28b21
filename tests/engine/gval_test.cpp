#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <optional>
#include <string>

#include "fake_key_poller.h"
#include "gval.h"

namespace {

class GvalTest : public ::testing::Test {
 protected:
  void SetUp() override { Gval.Reset(); }
  void TearDown() override { Gval.Reset(); }
};

TEST_F(GvalTest, DeviceMappingRoundsHalfAwayFromZeroAndFlipsY) {
  Gval.ViewXMin = 0;
  Gval.ViewYMin = 0;
  Gval.ViewScale = 2;
  Gval.DeviceHeight = 240;
  struct Case {
    double x, y;
    int32_t dx, dy;
  };
  const Case cases[] = {
      {10, 10, 20, 220},
      {1.25, 0, 3, 240},
      {-1.25, 0, -3, 240},
      {0, 1.25, 0, 237},
      {0, -1.25, 0, 243},
      {0, 120, 0, 0},  // ViewYMin + DeviceHeight / ViewScale
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DeviceX(c.x), c.dx) << c.x;
    EXPECT_EQ(DeviceY(c.y), c.dy) << c.y;
  }
}

TEST_F(GvalTest, ViewCornerMapsToTheBottomLeftOfTheSurface) {
  SetView(320, 240, 0.37, -512.25, 1e5);
  EXPECT_EQ(DeviceX(Gval.ViewXMin), 0);
  EXPECT_EQ(DeviceY(Gval.ViewYMin), 240);
  EXPECT_EQ(DeviceX(Gval.ViewXMax), 320);
  EXPECT_EQ(DeviceY(Gval.ViewYMax), 0);
  EXPECT_EQ(DeviceX(-512.25), 160);
  EXPECT_EQ(DeviceY(1e5), 120);
}

TEST_F(GvalTest, SetViewCentresTheWindowOnTheSurface) {
  SetView(4960, 7016, 23.622, 210, 148.5);
  EXPECT_EQ(Gval.DeviceWidth, 4960);
  EXPECT_EQ(Gval.DeviceHeight, 7016);
  EXPECT_DOUBLE_EQ(Gval.ViewScale, 23.622);
  EXPECT_DOUBLE_EQ(Gval.ViewXMin, 210 - 4960 * 0.5 / 23.622);
  EXPECT_DOUBLE_EQ(Gval.ViewYMin, 148.5 - 7016 * 0.5 / 23.622);
  EXPECT_DOUBLE_EQ(Gval.ViewXMax, 210 + 4960 * 0.5 / 23.622);
  EXPECT_DOUBLE_EQ(Gval.ViewYMax, 148.5 + 7016 * 0.5 / 23.622);
}

// Extents are clamped to +-1e8 mm; at printer resolution that leaves int32.
TEST_F(GvalTest, FarPointsSaturateInsteadOfWrapping) {
  SetView(4960, 7016, 23.622, 0, 0);
  constexpr int32_t lo = std::numeric_limits<int32_t>::min();
  constexpr int32_t hi = std::numeric_limits<int32_t>::max();
  EXPECT_EQ(DeviceX(1e8), hi);
  EXPECT_EQ(DeviceX(-1e8), lo);
  EXPECT_EQ(DeviceY(-1e8), hi);
  EXPECT_EQ(DeviceY(1e8), 7016 - hi);
  EXPECT_EQ(DeviceX(std::nan("")), 0);
  EXPECT_EQ(DeviceY(std::nan("")), 7016);
}

TEST_F(GvalTest, ResetReturnsEveryGlobalToProgramStart) {
  Gval.SheetFrameCount = 3;
  Gval.SheetFrames.resize(5);
  Gval.SheetList.push_back({"a.jww", "b.jww"});
  Gval.SheetCount = 1;
  Gval.ProgramFolder = "/opt/q/";
  Gval.DrawingScale = 1.0;
  Gval.PrintScale = 1.0;
  Gval.DrawingFileTime = 45000;
  Gval.DevicePoints.resize(10);
  Gval.DashConsumed = 2.5;
  Gval.TextVariables.push_back({"x", "y"});
  Gval.AbortPollEnabled = 1;
  Gval.Reset();
  EXPECT_EQ(Gval.SheetFrameCount, 0);
  EXPECT_TRUE(Gval.SheetFrames.empty());
  EXPECT_TRUE(Gval.SheetList.empty());
  EXPECT_EQ(Gval.SheetCount, 0);
  EXPECT_TRUE(Gval.ProgramFolder.empty());
  EXPECT_EQ(Gval.DrawingScale, 0.0);  // 1.0 only from the main window's start-up
  EXPECT_EQ(Gval.PrintScale, 0.0);
  EXPECT_EQ(Gval.DrawingFileTime, 0.0);
  EXPECT_TRUE(Gval.DevicePoints.empty());
  EXPECT_EQ(Gval.DashConsumed, 0.0);
  EXPECT_TRUE(Gval.TextVariables.empty());
  EXPECT_EQ(Gval.AbortPollEnabled, 0);
  EXPECT_EQ(Gval.GraAttribute, nullptr);
}

TEST_F(GvalTest, StartupValuesOfTheMainWindow) {
  Gval.ProgramFolder = "/opt/q/";
  Gval.DrawingFileName = "x.jww";
  Gval.DrawingEditTime = "1 : 05";
  Gval.DrawingMemo1 = "m1";
  Gval.DrawingMemo2 = "m2";
  Gval.ImageRenameList.resize(2);
  Gval.ImageRenameCount = 2;
  Gval.SheetList.resize(3);
  Gval.SheetCount = 3;
  Gval.ViewScale = 4;
  const double before = DateTimeFromUnixTime(static_cast<int64_t>(std::time(nullptr)));
  ResetDrawingGlobalsForStartup();
  const double after = DateTimeFromUnixTime(static_cast<int64_t>(std::time(nullptr)));
  EXPECT_EQ(Gval.ProgramFolder, "/opt/q/");  // set by the caller
  EXPECT_TRUE(Gval.DrawingFileName.empty());
  EXPECT_TRUE(Gval.DrawingEditTime.empty());
  EXPECT_TRUE(Gval.DrawingMemo1.empty());
  EXPECT_TRUE(Gval.DrawingMemo2.empty());
  EXPECT_EQ(Gval.DrawingScale, 1.0);
  EXPECT_EQ(Gval.PrintScale, 1.0);
  EXPECT_GE(Gval.DrawingFileTime, before);
  EXPECT_LE(Gval.DrawingFileTime, after);
  EXPECT_TRUE(Gval.ImageRenameList.empty());
  EXPECT_EQ(Gval.ImageRenameCount, 0);
  EXPECT_TRUE(Gval.SheetList.empty());
  EXPECT_EQ(Gval.SheetCount, 0);
  EXPECT_EQ(Gval.ViewScale, 4.0);  // untouched
}

TEST(GvalDateTime, UnixTimesBecomeDaysSince1899InLocalTime) {
  const char* old = std::getenv("TZ");
  const std::optional<std::string> saved = old ? std::optional<std::string>(old) : std::nullopt;
  setenv("TZ", "UTC0", 1);
  tzset();
  EXPECT_DOUBLE_EQ(DateTimeFromUnixTime(0), 25569.0);
  EXPECT_DOUBLE_EQ(DateTimeFromUnixTime(86400 + 21600), 25570.25);
  setenv("TZ", "JST-9", 1);
  tzset();
  EXPECT_DOUBLE_EQ(DateTimeFromUnixTime(0), 25569.375);
  if (saved)
    setenv("TZ", saved->c_str(), 1);
  else
    unsetenv("TZ");
  tzset();
}

TEST(CheckAbort, ReadsEscapeAtTheMomentOfTheCall) {
  EXPECT_FALSE(CheckAbort());  // no poller installed: never down
  FakeKeyPoller keys;
  EXPECT_FALSE(CheckAbort());
  keys.TapEscape();  // pressed and released between two calls
  EXPECT_FALSE(CheckAbort());
  keys.PressEscape();
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(CheckAbort());
  keys.ReleaseEscape();
  EXPECT_FALSE(CheckAbort());
  EXPECT_EQ(keys.Polls(), 6);
}

TEST(CheckAbort, TheSwitchesOfThePumpingBranchChangeNothing) {
  Gval.Reset();
  FakeKeyPoller keys;
  Gval.AbortPollEnabled = 1;
  Gval.AbortPumpMessages = 1;
  Gval.AbortRequested = 1;
  EXPECT_FALSE(CheckAbort());
  Gval.Reset();
}

TEST(CheckAbort, TheEarlierPollerReturnsWhenTheFakeGoes) {
  FakeKeyPoller outer;
  outer.PressEscape();
  {
    FakeKeyPoller inner;
    EXPECT_FALSE(CheckAbort());
  }
  EXPECT_TRUE(CheckAbort());
}

}  // namespace
