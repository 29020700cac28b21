#include <gtest/gtest.h>

#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <functional>

#include "metafile_builders.h"
#include "metafile_test_support.h"
#include "metafile_recording.h"
#include "wmf_player.h"

using namespace metatest;

namespace {

constexpr QRgb kWhite = 0xFFFFFF, kRed = 0xFF0000, kBlue = 0x0000FF, kGreen = 0x00FF00, kBlack = 0;

// A 100 × 100 pixel picture: one logical unit per pixel.
WmfBuilder Picture() {
  WmfBuilder b;
  b.Placeable(0, 0, 100, 100, 96);
  b.WindowOrg(0, 0);
  b.WindowExt(100, 100);
  return b;
}

struct ProbeCase {
  const char* name;
  std::function<void(WmfBuilder&)> build;
  std::vector<std::tuple<int, int, QRgb>> probes;  // x, y, colour expected
  QColor background = Qt::white;
};

}  // namespace

TEST(WmfImage, DrawsShapesPensBrushesAndMappings) {
  EnsureGui();
  const std::vector<ProbeCase> cases = {
      {"solid brush rectangle, default black pen",
       [](WmfBuilder& b) {
         b.Brush(0, Rgb(0, 0, 255));
         b.Select(0);
         b.Rectangle(10, 10, 50, 40);
       },
       {{30, 25, kBlue}, {10, 25, kBlack}, {60, 25, kWhite}}},
      {"the brush before any selection is solid white",
       [](WmfBuilder& b) { b.Rectangle(20, 20, 60, 60); },
       {{40, 40, kWhite}, {20, 40, kBlack}, {80, 80, kRed}},
       Qt::red},
      {"a hollow brush selected leaves the inside alone",
       [](WmfBuilder& b) {
         b.Brush(1, 0);
         b.Select(0);
         b.Rectangle(20, 20, 60, 60);
       },
       {{40, 40, kRed}, {20, 40, kBlack}},
       Qt::red},
      {"wide red pen",
       [](WmfBuilder& b) {
         b.Pen(0, 5, Rgb(255, 0, 0));
         b.Brush(1, 0);
         b.Select(0), b.Select(1);
         b.Rectangle(20, 20, 80, 80);
       },
       {{20, 50, kRed}, {21, 50, kRed}, {50, 50, kWhite}}},
      {"ellipse",
       [](WmfBuilder& b) {
         b.Brush(0, Rgb(0, 255, 0));
         b.Select(0);
         b.Ellipse(10, 10, 90, 90);
       },
       {{50, 50, kGreen}, {14, 14, kWhite}}},
      {"polygon",
       [](WmfBuilder& b) {
         b.Brush(0, Rgb(0, 0, 255));
         b.Select(0);
         b.Polygon({{10, 10}, {90, 10}, {10, 90}});
       },
       {{20, 20, kBlue}, {80, 80, kWhite}}},
      {"window and viewport: ten units a side fill the picture",
       [](WmfBuilder& b) {
         b.WindowExt(10, 10);
         b.Brush(0, Rgb(255, 0, 0));
         b.Select(0);
         b.Rectangle(5, 5, 9, 9);
       },
       {{70, 70, kRed}, {30, 30, kWhite}}},
      {"window origin moves the drawing",
       [](WmfBuilder& b) {
         b.WindowOrg(50, 50);
         b.Brush(0, Rgb(255, 0, 0));
         b.Select(0);
         b.Rectangle(50, 50, 70, 70);
       },
       {{10, 10, kRed}, {60, 60, kWhite}}},
      {"pattern brush tiled on the target's pixels",
       [](WmfBuilder& b) {
         b.PatternBrush(Dib24(2, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}));
         b.Select(0);
         b.Rectangle(0, 0, 100, 100);
       },
       {{10, 10, kRed}, {11, 10, kGreen}, {10, 11, kBlue}, {51, 51, kWhite}}},
      {"clip: intersected rectangle",
       [](WmfBuilder& b) {
         b.Brush(0, Rgb(0, 0, 255));
         b.Select(0);
         b.Record(0x0416, {100, 50, 0, 0});  // intersect: bottom, right, top, left
         b.Rectangle(0, 0, 100, 100);
       },
       {{30, 30, kBlue}, {70, 30, kWhite}}},
      {"bitmap stretched onto its rectangle",
       [](WmfBuilder& b) { b.StretchDib(0, 0, 40, 40, Dib24(2, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00})); },
       {{5, 5, kRed}, {35, 5, kGreen}, {5, 35, kBlue}, {35, 35, 0xFFFF00}, {60, 60, kWhite}}},
  };
  for (const ProbeCase& c : cases) {
    SCOPED_TRACE(c.name);
    WmfBuilder b = Picture();
    c.build(b);
    auto image = LoadWmfImage(b.Bytes());
    ASSERT_TRUE(image);
    const QImage img = Render(*image, c.background);
    for (const auto& [x, y, colour] : c.probes) EXPECT_EQ(Px(img, x, y), colour) << x << "," << y;
  }
}

TEST(WmfImage, HatchedBrushLeavesGapsTransparent) {
  EnsureGui();
  WmfBuilder b = Picture();
  b.Pen(5, 0, 0);                  // null pen
  b.Brush(2, Rgb(255, 0, 0), 1);  // vertical hatch
  b.Select(0), b.Select(1);
  b.Record(0x0102, {1});  // transparent background
  b.Rectangle(0, 0, 100, 100);
  auto image = LoadWmfImage(b.Bytes());
  ASSERT_TRUE(image);
  const QImage img = Render(*image, Qt::green);
  int red = 0, green = 0;
  for (int x = 10; x < 90; ++x) (Px(img, x, 40) == kRed ? red : green) += Px(img, x, 40) == kRed || Px(img, x, 40) == kGreen;
  EXPECT_EQ(red, 10);
  EXPECT_EQ(green, 70);
}

TEST(WmfImage, TextWithAFontIsDrawn) {
  EnsureGui();
  for (const auto& [face, text, charset] :
       {std::tuple<std::string, std::string, uint8_t>{"Arial", "Hello", 0},
        {"\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E", "\x8A\xBF\x8E\x9A", 128}}) {  // Shift-JIS
    SCOPED_TRACE(text);
    WmfBuilder b = Picture();
    b.Font(-30, face, charset);
    b.Select(0);
    b.Record(0x0102, {1});
    b.TextOut(10, 10, text);
    auto image = LoadWmfImage(b.Bytes());
    ASSERT_TRUE(image);
    const QImage img = Render(*image);
    EXPECT_GT(Inked(img, QRect(10, 10, 60, 30)), 40);
    EXPECT_EQ(Inked(img, QRect(0, 50, 100, 50)), 0);
  }
}

TEST(WmfImage, PixelSizeIsThePlaceableBoxAt96Dpi) {
  WmfBuilder b;
  b.Placeable(0, 0, 2880, 1440, 1440);  // 2 × 1 inches
  b.Rectangle(0, 0, 10, 10);
  auto image = LoadWmfImage(b.Bytes());
  ASSERT_TRUE(image);
  EXPECT_EQ(image->Width(), 192);
  EXPECT_EQ(image->Height(), 96);
}

TEST(WmfImage, BadInputIsRefusedOrDrawnPartially) {
  EnsureGui();
  const std::vector<uint8_t> good = SampleWmf();
  for (size_t n = 0; n < good.size(); n += 2) {
    const std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<long>(n));
    auto image = LoadWmfImage(cut);
    if (n < 40) {
      EXPECT_FALSE(image) << n;
    } else if (image) {
      Render(*image);
    }
  }
  struct Bad {
    const char* name;
    std::function<void(WmfBuilder&)> build;
  };
  const std::vector<Bad> bad = {
      {"polygon count past the record", [](WmfBuilder& b) { b.Record(0x0324, {0x7FFF, 1, 2}); }},
      {"poly-polygon counts past the record", [](WmfBuilder& b) { b.Record(0x0538, {2, 0x7FFF, 0x7FFF, 1, 1}); }},
      {"text count past the record", [](WmfBuilder& b) { b.Record(0x0521, {0x7FFF, 0x4141, 1, 1}); }},
      {"region scans past the record",
       [](WmfBuilder& b) { b.Record(0x06FF, {0, 6, 0, 0, 0, 0x7FFF, 0, 0, 0, 10, 10, 2, 0, 10, 0, 10, 2}); }},
      {"palette entries past the record", [](WmfBuilder& b) { b.Record(0x00F7, {0x0300, 0x7FFF, 0, 0}); }},
      {"bitmap larger than its bits",
       [](WmfBuilder& b) {
         std::vector<uint8_t> dib = Dib24(2, 2, {0, 0, 0, 0});
         const int32_t huge = 30000;
         std::memcpy(dib.data() + 4, &huge, 4);
         std::memcpy(dib.data() + 8, &huge, 4);
         b.StretchDib(0, 0, 10, 10, dib);
       }},
  };
  for (const Bad& c : bad) {
    SCOPED_TRACE(c.name);
    WmfBuilder b = Picture();
    b.Rectangle(1, 1, 20, 20);  // drawn before the damaged record
    c.build(b);
    auto image = LoadWmfImage(b.Bytes());
    ASSERT_TRUE(image);
    EXPECT_EQ(Px(Render(*image), 1, 10), kBlack);
  }
  for (const std::vector<uint8_t>& junk : {std::vector<uint8_t>{}, std::vector<uint8_t>(200, 0xFF), SampleEmf()}) {
    EXPECT_FALSE(LoadWmfImage(junk));
  }
}

// A record that ends where its count word would begin, as the last bytes
// before an unreadable page: reading the count would fault.
TEST(WmfImage, RecordWithoutItsCountWordIsRefused) {
  const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  auto* pages = static_cast<uint8_t*>(mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
  ASSERT_NE(pages, MAP_FAILED);
  ASSERT_EQ(mprotect(pages + page, page, PROT_NONE), 0);
  for (uint16_t function : {0x0324, 0x0325, 0x0538, 0x0521, 0x0201, 0x0940, 0x0B41, 0x0F43}) {
    SCOPED_TRACE(function);
    WmfBuilder b;
    b.Record(function, {});
    uint8_t* at = pages + page - 24;  // the header and the record's own six bytes, no end record
    std::memcpy(at, b.Bytes().data(), 24);
    TMetafileRecording recording(1 << 20);
    TMetafileSize size;
    PlayWmf(at, 24, recording, size);
    EXPECT_EQ(recording.UsedBytes(), 0u);
  }
  munmap(pages, 2 * page);
}

TEST(WmfImage, TextAlignmentAndArcDirection) {
  EnsureGui();
  for (const AlignCase& c : AlignCases()) {
    SCOPED_TRACE(c.align);
    WmfBuilder b = Picture();
    b.Font(-20, "IPAGothic");
    b.Select(0);
    b.Record(0x0102, {1});
    b.Record(0x012E, {c.align});
    b.TextOut(50, 50, "HHH");
    auto image = LoadWmfImage(b.Bytes());
    ASSERT_TRUE(image);
    const QImage img = Render(*image);
    EXPECT_GT(Inked(img, c.inked), 10);
    EXPECT_EQ(Inked(img, c.blank), 0);
  }
  WmfBuilder b = Picture();
  b.Brush(0, Rgb(0, 0, 255));
  b.Select(0);
  b.Record(0x081A, {10, 50, 50, 90, 90, 90, 10, 10});  // pie: end, start, box
  auto image = LoadWmfImage(b.Bytes());
  ASSERT_TRUE(image);
  const QImage img = Render(*image);
  for (const auto& [x, y, filled] : PieProbes()) EXPECT_EQ(Px(img, x, y), filled ? kBlue : kWhite) << x << "," << y;
}
