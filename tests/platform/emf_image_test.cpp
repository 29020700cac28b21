#include <gtest/gtest.h>

#include <functional>

#include "metafile_builders.h"
#include "metafile_test_support.h"

using namespace metatest;

namespace {

constexpr QRgb kWhite = 0xFFFFFF, kRed = 0xFF0000, kBlue = 0x0000FF, kGreen = 0x00FF00, kBlack = 0;

struct ProbeCase {
  const char* name;
  std::function<void(EmfBuilder&)> build;
  std::vector<std::tuple<int, int, QRgb>> probes;  // x, y, colour expected
};

// A 100 × 100 pixel picture (frame 2645 hundredths of a millimetre).
EmfBuilder Picture() { return EmfBuilder(2646, 2646); }

}  // namespace

TEST(EmfImage, DrawsShapesPensBrushesAndMappings) {
  EnsureGui();
  const std::vector<ProbeCase> cases = {
      {"solid brush rectangle, default black pen",
       [](EmfBuilder& b) {
         b.Brush(1, 0, Rgb(0, 0, 255));
         b.Select(1);
         b.Rectangle(10, 10, 50, 40);
       },
       {{30, 25, kBlue}, {10, 25, kBlack}, {60, 25, kWhite}}},
      {"default brush is solid white",
       [](EmfBuilder& b) {
         b.Brush(1, 0, Rgb(255, 0, 0));
         b.Select(1);
         b.Rectangle(0, 0, 99, 99);
         b.Select(0x80000000);  // stock white brush
         b.Rectangle(20, 20, 60, 60);
       },
       {{40, 40, kWhite}, {10, 10, kRed}}},
      {"wide red pen, hollow brush",
       [](EmfBuilder& b) {
         b.Pen(1, 0, 5, Rgb(255, 0, 0));
         b.Select(1);
         b.Select(0x80000005);  // null brush
         b.Rectangle(20, 20, 80, 80);
       },
       {{20, 50, kRed}, {22, 50, kRed}, {50, 50, kWhite}}},
      {"ellipse fills its inside, not the box's corners",
       [](EmfBuilder& b) {
         b.Brush(1, 0, Rgb(0, 255, 0));
         b.Select(1);
         b.Ellipse(10, 10, 90, 90);
       },
       {{50, 50, kGreen}, {14, 14, kWhite}, {50, 11, kGreen}}},
      {"polygon",
       [](EmfBuilder& b) {
         b.Brush(1, 0, Rgb(0, 0, 255));
         b.Select(1);
         b.Polygon16({{10, 10}, {90, 10}, {10, 90}});
       },
       {{20, 20, kBlue}, {80, 80, kWhite}}},
      {"anisotropic window onto viewport",
       [](EmfBuilder& b) {
         b.MapMode(8);
         b.WindowOrg(0, 0), b.WindowExt(10, 10);
         b.ViewportOrg(0, 0), b.ViewportExt(100, 100);
         b.Brush(1, 0, Rgb(255, 0, 0));
         b.Select(1);
         b.Rectangle(5, 5, 9, 9);
       },
       {{70, 70, kRed}, {30, 30, kWhite}}},
      {"low metric: tenths of a millimetre, y upwards",
       [](EmfBuilder& b) {
         b.MapMode(2);
         b.Brush(1, 0, Rgb(0, 0, 255));
         b.Select(1);
         b.Rectangle(0, -50, 100, -150);  // 5-15 mm down: 19-57 px
       },
       {{5, 40, kBlue}, {5, 10, kWhite}, {5, 70, kWhite}}},
      {"pattern brush tiled on the target's pixels",
       [](EmfBuilder& b) {
         b.PatternBrush(1, Dib24(2, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}));
         b.Select(1);
         b.Rectangle(0, 0, 100, 100);
       },
       {{10, 10, kRed}, {11, 10, kGreen}, {10, 11, kBlue}, {51, 51, kWhite}}},
      {"clip: intersected, a hole excluded, restored",
       [](EmfBuilder& b) {
         b.Brush(1, 0, Rgb(0, 0, 255));
         b.Select(1);
         b.Record(33, {});                        // save
         b.Record(30, EmfBuilder::U({0, 0, 50, 100}));  // intersect
         b.Record(29, EmfBuilder::U({10, 10, 20, 20}));  // exclude
         b.Rectangle(0, 0, 100, 50);
         b.Record(34, {0xFFFFFFFF});  // restore
         b.Rectangle(0, 60, 100, 100);
       },
       {{30, 30, kBlue}, {70, 30, kWhite}, {15, 15, kWhite}, {80, 80, kBlue}}},
      {"bitmap stretched onto its rectangle",
       [](EmfBuilder& b) { b.StretchDib(0, 0, 40, 40, Dib24(2, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00})); },
       {{5, 5, kRed}, {35, 5, kGreen}, {5, 35, kBlue}, {35, 35, 0xFFFF00}, {60, 60, kWhite}}},
  };
  for (const ProbeCase& c : cases) {
    SCOPED_TRACE(c.name);
    EmfBuilder b = Picture();
    c.build(b);
    auto image = LoadEmfImage(b.Bytes());
    ASSERT_TRUE(image);
    const QImage img = Render(*image);
    for (const auto& [x, y, colour] : c.probes) EXPECT_EQ(Px(img, x, y), colour) << x << "," << y;
  }
}

TEST(EmfImage, HatchesKeepEightDevicePixelsAtAnyScale) {
  EnsureGui();
  EmfBuilder b = Picture();
  b.Pen(1, 5, 0, 0);  // null pen
  b.Brush(2, 2, Rgb(255, 0, 0), 0);  // horizontal hatch
  b.Select(1), b.Select(2);
  b.Rectangle(0, 0, 100, 100);
  auto image = LoadEmfImage(b.Bytes());
  ASSERT_TRUE(image);
  for (double scale : {1.0, 3.0}) {
    SCOPED_TRACE(scale);
    const QImage img = Render(*image, Qt::white, scale);
    int redRows = 0;
    for (int y = 10; y < 90; ++y) redRows += Px(img, 40, y) == kRed;
    EXPECT_EQ(redRows, 10);  // one row in eight, gaps left white
  }
}

TEST(EmfImage, TextIsDrawnWithTheSelectedFontAndColour) {
  EnsureGui();
  EmfBuilder b = Picture();
  b.Font(1, -30, u"IPAGothic");
  b.Select(1);
  b.Record(18, {1});  // transparent background
  b.TextW(10, 10, u"漢字");
  auto image = LoadEmfImage(b.Bytes());
  ASSERT_TRUE(image);
  const QImage img = Render(*image);
  EXPECT_GT(Inked(img, QRect(10, 10, 60, 30)), 40);
  EXPECT_EQ(Inked(img, QRect(0, 50, 100, 50)), 0);  // nothing below the cell
}

TEST(EmfImage, PixelSizeIsTheFrameAt96Dpi) {
  EmfBuilder b(5080, 2540);  // 50.8 mm × 25.4 mm
  auto image = LoadEmfImage(b.Bytes());
  ASSERT_TRUE(image);
  EXPECT_EQ(image->Width(), 192);
  EXPECT_EQ(image->Height(), 96);
}

TEST(EmfImage, SourceBeyondThePictureStaysUndrawn) {
  EnsureGui();
  EmfBuilder b = Picture();
  b.Brush(1, 0, Rgb(0, 0, 255));
  b.Select(1);
  b.Rectangle(-50, -50, 150, 150);  // overflows the frame
  auto image = LoadEmfImage(b.Bytes());
  ASSERT_TRUE(image);
  QImage out(200, 100, QImage::Format_RGB32);
  out.fill(Qt::white);
  QPainter p(&out);
  image->Paint(p, QRectF(0, 0, 200, 100), QRectF(0, 0, 200, 100));  // source twice as wide
  p.end();
  EXPECT_EQ(Px(out, 50, 50), kBlue);
  EXPECT_EQ(Px(out, 150, 50), kWhite);
}

// Records libuemf cannot check (text justification, an ICM profile,
// unknown types) play without a word on standard error.
TEST(EmfImage, RecordsLibuemfCannotCheckLeaveStandardErrorQuiet) {
  EnsureGui();
  EmfBuilder b = Picture();
  for (uint32_t type : {120u, 113u, 69u, 200u}) b.Record(type, {0, 0, 0});
  b.Rectangle(10, 10, 50, 50);
  testing::internal::CaptureStderr();
  auto image = LoadEmfImage(b.Bytes());
  const QImage out = image ? Render(*image) : QImage();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  ASSERT_TRUE(image);
  EXPECT_EQ(Px(out, 10, 30), kBlack);  // the records after them still play
}

TEST(EmfImage, BadInputIsRefusedOrDrawnPartially) {
  EnsureGui();
  const std::vector<uint8_t> good = SampleEmf();
  for (size_t n = 0; n < good.size(); n += 3) {
    const std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<long>(n));
    auto image = LoadEmfImage(cut);
    if (n < 88) {
      EXPECT_FALSE(image) << n;
    } else if (image) {
      Render(*image);
    }
  }
  struct Bad {
    const char* name;
    std::function<void(EmfBuilder&)> build;
  };
  const std::vector<Bad> bad = {
      {"huge point count", [](EmfBuilder& b) { b.Record(86, {0, 0, 0, 0, 0xFFFFFFFF, 0x00050005}); }},
      {"poly-polygon counts past the record",
       [](EmfBuilder& b) { b.Record(91, {0, 0, 0, 0, 2, 0x7FFFFFFF, 0x40000000, 0x3FFFFFFF}); }},
      {"bitmap larger than its bits",
       [](EmfBuilder& b) {
         std::vector<uint8_t> dib = Dib24(2, 2, {0, 0, 0, 0});
         const int32_t huge = 1 << 20;
         std::memcpy(dib.data() + 4, &huge, 4);
         std::memcpy(dib.data() + 8, &huge, 4);
         b.StretchDib(0, 0, 10, 10, dib);
       }},
      {"text longer than its record",
       [](EmfBuilder& b) { b.Record(84, {0, 0, 0, 0, 1, 0, 0, 5, 5, 0x7FFFFFFF, 76, 0, 0, 0, 0, 0, 0}); }},
      {"restoring states never saved", [](EmfBuilder& b) { b.Record(34, {0xFFFF0000}); b.Record(34, {40}); }},
      {"non-finite world transform",
       [](EmfBuilder& b) { b.Record(35, {0x7F800000, 0, 0, 0x7FC00000, 0, 0}); b.Rectangle(1, 1, 5, 5); }},
  };
  for (const Bad& c : bad) {
    SCOPED_TRACE(c.name);
    EmfBuilder b = Picture();
    c.build(b);
    b.Rectangle(1, 1, 20, 20);  // still drawn after the damaged record
    auto image = LoadEmfImage(b.Bytes());
    ASSERT_TRUE(image);
    EXPECT_EQ(Px(Render(*image), 1, 10), kBlack);
  }
  for (const std::vector<uint8_t>& junk : {std::vector<uint8_t>{}, std::vector<uint8_t>(200, 0xFF), SampleWmf()}) {
    EXPECT_FALSE(LoadEmfImage(junk));
  }
}

TEST(EmfImage, TextAlignmentAndArcDirection) {
  EnsureGui();
  for (const AlignCase& c : AlignCases()) {
    SCOPED_TRACE(c.align);
    EmfBuilder b = Picture();
    b.Font(1, -20, u"IPAGothic");
    b.Select(1);
    b.Record(18, {1});
    b.Record(22, {c.align});
    b.TextW(50, 50, u"HHH");
    auto image = LoadEmfImage(b.Bytes());
    ASSERT_TRUE(image);
    const QImage img = Render(*image);
    EXPECT_GT(Inked(img, c.inked), 10);
    EXPECT_EQ(Inked(img, c.blank), 0);
  }
  EmfBuilder b = Picture();
  b.Brush(1, 0, Rgb(0, 0, 255));
  b.Select(1);
  b.Record(47, EmfBuilder::U({10, 10, 90, 90, 90, 50, 50, 10}));
  auto image = LoadEmfImage(b.Bytes());
  ASSERT_TRUE(image);
  const QImage img = Render(*image);
  for (const auto& [x, y, filled] : PieProbes()) EXPECT_EQ(Px(img, x, y), filled ? kBlue : kWhite) << x << "," << y;
}
