// Image texts on the recording canvas: which files are drawn, where the
// image lands, the part shown, and the refusals.
#include "render/image_draw.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "file_io.h"
#include "gra_attribute.h"
#include "gval.h"
#include "recording_canvas.h"
#include "sjis.h"

namespace {

namespace fs = std::filesystem;

class ImageDrawTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Gval.Reset();
    // 200 × 100 device units, one per millimetre, window (0, 0)-(200, 100).
    Gval.ViewXMin = 0;
    Gval.ViewYMin = 0;
    Gval.ViewXMax = 200;
    Gval.ViewYMax = 100;
    Gval.ViewScale = 1;
    Gval.DeviceWidth = 200;
    Gval.DeviceHeight = 100;
    Gval.GraAttribute = &attr_;
    attr_.SetLineWidthMode(true);
    // One folder per test: ctest runs the tests side by side.
    dir_ = fs::path(::testing::TempDir()) / "image_draw" /
           ::testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "sub");
    Gval.DrawingFileName = (dir_ / "drawing.jww").string();
  }
  void TearDown() override { Gval.Reset(); }

  // Creates an (empty) file under the test folder; name in UTF-8.
  std::string Touch(const std::string& relative) {
    const fs::path p = dir_ / fs::u8path(relative);
    std::ofstream(p) << "x";
    return p.string();
  }
  std::string Native(const std::string& relative) { return (dir_ / fs::u8path(relative)).string(); }

  // Draws a 40 × 20 image rectangle from (10, 10) with the given crops.
  void Draw(const std::string& path, double cropX = 0, double cropY = 0, double cropW = 0,
            double angle = 0) {
    DrawImage(canvas_, path, 10, 10, 50, 30, cropX, cropY, cropW, angle);
  }
  std::vector<TCanvasCall> Images() const { return canvas_.Of(TCanvasCall::DrawImage); }

  fs::path dir_;
  TgraAttribute attr_;
  TRecordingCanvas canvas_;
};

TEST_F(ImageDrawTest, OnlyKnownExtensionsAreDrawn) {
  struct Case {
    const char* name;
    bool drawn;
  } cases[] = {
      {"a.bmp", true},  {"a.WMF", true},   {"a.emf", true},  {"a.Ico", true},  {"a.png", true},
      {"a.tif", true},  {"a.TIFF", true},  {"a.jpg", true},  {"a.jpe", true},  {"a.jpeg", true},
      {"a.JPEG", true}, {"a.gif", true},   {"a.jfif", false}, {"noext", false}, {"a.png.txt", false},
      {"a.svg", false}, {"dot.png/x", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    canvas_.calls.clear();
    canvas_.loadedPaths.clear();
    if (std::string(c.name) == "dot.png/x") {
      fs::create_directories(dir_ / "dot.png");
    }
    const std::string path = Touch(c.name);
    Draw(path);
    EXPECT_EQ(Images().size(), c.drawn ? 1u : 0u);
    EXPECT_EQ(canvas_.loadedPaths.size(), c.drawn ? 1u : 0u);  // nothing opened otherwise
  }
}

TEST_F(ImageDrawTest, FilesAreFoundBesideTheDrawing) {
  Touch("here.png");
  Touch("sub/deep.png");
  Touch("表.png");  // its second byte in Shift-JIS is "\"
  struct Case {
    std::string path;  // Shift-JIS as the drawing holds it
    std::string opened;  // native, relative to the folder; "" = nothing drawn
  } cases[] = {
      {Touch("direct.png"), "direct.png"},
      {"here.png", "here.png"},
      {"sub\\deep.png", "sub/deep.png"},
      {"C:\\jww\\data\\sub\\here.png", "here.png"},
      {"c:/elsewhere/deep.png", ""},  // bare names only
      {"\\\\server\\share\\here.png", "here.png"},
      {"表.png", "表.png"},
      {"missing.png", ""},
      {"sub\\missing.png", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    canvas_.calls.clear();
    canvas_.loadedPaths.clear();
    Draw(c.path);
    if (c.opened.empty()) {
      EXPECT_TRUE(canvas_.loadedPaths.empty());
      EXPECT_TRUE(Images().empty());
    } else {
      ASSERT_EQ(canvas_.loadedPaths.size(), 1u);
      EXPECT_EQ(fs::path(canvas_.loadedPaths[0]), fs::path(Native(c.opened)));
    }
  }
}

// Device sides below 2 draw nothing, up to 4 a white box in place of the
// image, from 5 on the image; beyond a million units nothing.
TEST_F(ImageDrawTest, SizeDecidesBetweenNothingBoxAndImage) {
  const std::string path = Touch("a.png");
  struct Case {
    double width;
    bool opened, drawn;
  } cases[] = {
      {1.9, false, false}, {3, true, false},     {4, true, false},
      {5, true, true},     {40, true, true},     {1000001, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width);
    canvas_.calls.clear();
    canvas_.loadedPaths.clear();
    DrawImage(canvas_, path, 10, 10, 10 + c.width, 10 + c.width, 0, 0, 0, 0);
    EXPECT_EQ(!canvas_.loadedPaths.empty(), c.opened);
    EXPECT_EQ(Images().size(), c.drawn ? 1u : 0u);
    // In place of a loaded image too small to show: the white box.
    const std::vector<TCanvasCall> boxes = canvas_.Of(TCanvasCall::Polygon);
    ASSERT_EQ(boxes.size(), c.opened && !c.drawn ? 1u : 0u);
    if (!boxes.empty()) {
      EXPECT_EQ(boxes[0].brushColor, 0xFFFFFF);
      EXPECT_EQ(boxes[0].brushStyle, bsSolid);
      EXPECT_EQ(boxes[0].penColor, TgraAttribute().GetBackgroundColor());
      EXPECT_EQ(boxes[0].points.size(), 4u);
    }
  }
}

TEST_F(ImageDrawTest, RectangleOutsideTheViewOpensNoFile) {
  const std::string path = Touch("a.png");
  DrawImage(canvas_, path, 300, 10, 340, 30, 0, 0, 0, 0);
  DrawImage(canvas_, path, -50, -50, -10, -10, 0, 0, 0, 0);
  // Turned by 180° about its corner, a rectangle right of the window reaches into it.
  DrawImage(canvas_, path, 210, 50, 250, 70, 0, 0, 0, 180);
  EXPECT_EQ(canvas_.loadedPaths.size(), 1u);
  EXPECT_EQ(Images().size(), 1u);
}

TEST_F(ImageDrawTest, DestinationAndTurn) {
  const std::string path = Touch("a.png");
  struct Case {
    double angle, expected;
  } cases[] = {{0, 0}, {360, 0}, {1e-13, 0}, {360 + 1e-13, 0}, {90, 90}, {359.5, 359.5}, {-90, -90}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.angle);
    canvas_.calls.clear();
    Draw(path, 0, 0, 0, c.angle);
    ASSERT_EQ(Images().size(), 1u);
    const TCanvasCall call = Images()[0];
    // Left X1 = 10, top Y2 = 100 - 30, 40 × 20; turned about (X1, Y1) = (10, 90).
    EXPECT_EQ(call.destination.Left, 10);
    EXPECT_EQ(call.destination.Top, 70);
    EXPECT_EQ(call.destination.Width, 40);
    EXPECT_EQ(call.destination.Height, 20);
    EXPECT_EQ(call.angle, c.expected);
    EXPECT_EQ(call.points[0].x, 10);
    EXPECT_EQ(call.points[0].y, 90);
  }
}

// The part shown keeps the rectangle's proportions (here height = width / 2),
// measured up from the image's bottom; every value truncated towards zero.
TEST_F(ImageDrawTest, SourceRectangleFollowsTheCrops) {
  const std::string path = Touch("a.png");
  struct Case {
    int imageW, imageH;
    double cropX, cropY, cropW;
    TDeviceRect source;
  } cases[] = {
      {100, 50, 0, 0, 0, {0, 0, 100, 50}},          // crop width 0: the whole width
      {100, 80, 0, 0, 1, {0, 30, 100, 50}},         // shorter than the image: its bottom
      {100, 50, 0.25, 0, 0.5, {25, 25, 50, 25}},    // the middle half, from the bottom
      {100, 50, 0.25, 0.1, 0.5, {25, 20, 50, 25}},  // raised by a tenth of the height
      {100, 50, -3, 0, 1e-15, {0, 0, 100, 50}},     // tiny and negative count as none
      {3, 7, 0.5, 0, 0.9, {1, 5, 2, 1}},            // 1.5, 2.7, 1.35, 5.65
      {100, 20, 0, 0, 1, {0, -30, 100, 50}},        // passes the top: drawn as far as it goes
      {100, 50, 0, 0, -0.5, {0, 0, 100, 50}},       // a negative width counts as none too
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.imageW << "x" << c.imageH << " " << c.cropX << " "
                                      << c.cropY << " " << c.cropW);
    canvas_.calls.clear();
    canvas_.imageWidth = c.imageW;
    canvas_.imageHeight = c.imageH;
    Draw(path, c.cropX, c.cropY, c.cropW);
    ASSERT_EQ(Images().size(), 1u);
    const TDeviceRect s = Images()[0].source;
    EXPECT_EQ(s.Left, c.source.Left);
    EXPECT_EQ(s.Top, c.source.Top);
    EXPECT_EQ(s.Width, c.source.Width);
    EXPECT_EQ(s.Height, c.source.Height);
  }
}

TEST_F(ImageDrawTest, BadNumbersDrawNothingAndHugeCropsAreClamped) {
  const std::string path = Touch("a.png");
  const double nan = std::nan(""), inf = INFINITY;
  struct Case {
    double cropX, cropY, cropW, angle;
  } refused[] = {
      {nan, 0, 0, 0}, {0, nan, 0, 0}, {0, 0, nan, 0}, {0, 0, 0, nan},
      {inf, 0, 0, 0}, {0, -inf, 0, 0}, {0, 0, inf, 0}, {0, 0, 0, inf},
      {0, -1e308, 1e308, 0},  // H − inf − (−inf): no number
  };
  for (const Case& c : refused) {
    Draw(path, c.cropX, c.cropY, c.cropW, c.angle);
  }
  DrawImage(canvas_, path, nan, 10, 50, 30, 0, 0, 0, 0);
  DrawImage(canvas_, path, 10, 10, 50, inf, 0, 0, 0, 0);
  EXPECT_TRUE(Images().empty());

  Draw(path, 1e300, 1e300, 1e300, 1e300);
  ASSERT_EQ(Images().size(), 1u);
  const TDeviceRect s = Images()[0].source;
  EXPECT_EQ(s.Left, INT_MAX);
  EXPECT_EQ(s.Width, INT_MAX);
  EXPECT_EQ(s.Height, INT_MAX);
  EXPECT_EQ(s.Top, INT_MIN);
}

TEST_F(ImageDrawTest, ImagesOfNoSizeDrawNothing) {
  const std::string path = Touch("a.png");
  canvas_.imageWidth = 0;  // the canvas cannot read it
  Draw(path);
  EXPECT_EQ(canvas_.loadedPaths.size(), 1u);
  EXPECT_TRUE(Images().empty());
  EXPECT_TRUE(canvas_.calls.empty());
}

}  // namespace
