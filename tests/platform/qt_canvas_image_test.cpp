// Images on the Qt canvas: the raster readers, refusals of bad files and a
// turned, cropped image on a bitmap.
#include <gtest/gtest.h>
#include <zlib.h>

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <QImageWriter>
#include <filesystem>
#include <fstream>

#include "canvas_probe.h"
#include "qt_image_loader.h"
#include "qt_raster_image.h"

namespace {

namespace fs = std::filesystem;

fs::path Folder() {
  const fs::path dir = fs::path(::testing::TempDir()) / "qt_canvas_images";
  fs::create_directories(dir);
  return dir;
}

fs::path WriteBytes(const std::string& name, const QByteArray& bytes) {
  const fs::path p = Folder() / name;
  std::ofstream(p, std::ios::binary).write(bytes.data(), bytes.size());
  return p;
}

QByteArray Encode(const QImage& image, const char* format) {
  QByteArray out;
  QBuffer buffer(&out);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, format);
  EXPECT_TRUE(writer.write(image)) << format << ": " << writer.errorString().toStdString();
  return out;
}

QImage Filled(int w, int h, QRgb colour) {
  QImage im(w, h, QImage::Format_RGB32);
  im.fill(colour);
  return im;
}

void Put32(QByteArray& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.append(char(v >> (8 * i)));
}
void Put16(QByteArray& b, uint16_t v) {
  b.append(char(v));
  b.append(char(v >> 8));
}
void PutBe32(QByteArray& b, uint32_t v) {
  for (int i = 3; i >= 0; --i) b.append(char(v >> (8 * i)));
}

// A PNG whose header announces width × height and holds no pixel data.
QByteArray PngHeaderOnly(uint32_t width, uint32_t height) {
  QByteArray png("\x89PNG\r\n\x1a\n", 8);
  QByteArray ihdr("IHDR");
  PutBe32(ihdr, width);
  PutBe32(ihdr, height);
  ihdr.append("\x08\x06\x00\x00\x00", 5);  // 8-bit RGBA
  PutBe32(png, 13);
  png += ihdr;
  PutBe32(png, uint32_t(crc32(0, reinterpret_cast<const Bytef*>(ihdr.data()), ihdr.size())));
  png.append("\0\0\0\0IEND\xae\x42\x60\x82", 12);
  return png;
}

// An icon of two PNG images, the larger one second.
QByteArray TwoSizeIcon() {
  const QByteArray small = Encode(Filled(8, 8, 0xFF0000FF), "png");
  const QByteArray large = Encode(Filled(24, 16, 0xFF00FF00), "png");
  QByteArray ico;
  Put16(ico, 0);
  Put16(ico, 1);
  Put16(ico, 2);
  const uint32_t first = 6 + 2 * 16;
  struct Entry {
    int w, h;
    const QByteArray& data;
    uint32_t offset;
  } entries[] = {{8, 8, small, first}, {24, 16, large, first + uint32_t(small.size())}};
  for (const Entry& e : entries) {
    ico.append(char(e.w));
    ico.append(char(e.h));
    ico.append("\0\0", 2);
    Put16(ico, 1);
    Put16(ico, 32);
    Put32(ico, uint32_t(e.data.size()));
    Put32(ico, e.offset);
  }
  return ico + small + large;
}

// Two frames of 1 × 1: white, then black.
QByteArray TwoFrameGif() {
  return QByteArray(
      "GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff\xff\x00\x00\x00"
      "\x21\xf9\x04\x00\x00\x00\x00\x00"
      ",\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00"
      "\x21\xf9\x04\x00\x00\x00\x00\x00"
      ",\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x4c\x01\x00;",
      62);
}

TEST(QtCanvasImages, RasterFormatsLoadWithTheirPixelSize) {
  EnsureGuiApp();
  struct Case {
    const char* name;
    QByteArray bytes;
    int w, h;
    QRgb firstPixel;
  } cases[] = {
      {"a.bmp", Encode(Filled(7, 5, 0xFFFF0000), "bmp"), 7, 5, 0xFF0000},
      {"a.png", Encode(Filled(9, 4, 0xFF00FF00), "png"), 9, 4, 0x00FF00},
      {"a.jpg", Encode(Filled(16, 8, 0xFF000000), "jpeg"), 16, 8, 0x000000},
      {"a.tif", Encode(Filled(3, 6, 0xFF0000FF), "tiff"), 3, 6, 0x0000FF},
      {"two.ico", TwoSizeIcon(), 24, 16, 0x00FF00},  // the largest image
      {"two.gif", TwoFrameGif(), 1, 1, 0xFFFFFF},    // the first frame
      {"png_named.jpg", Encode(Filled(2, 3, 0xFF00FF00), "png"), 2, 3, 0x00FF00},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TProbeBitmap bmp(4, 4);
    const auto image = bmp.Canvas().LoadImage(WriteBytes(c.name, c.bytes).string());
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->Width(), c.w);
    EXPECT_EQ(image->Height(), c.h);
    const QImage* pixels = RasterImagePixels(static_cast<const TQtCanvasImage&>(*image));
    ASSERT_NE(pixels, nullptr);
    EXPECT_NEAR(qRed(pixels->pixel(0, 0)), qRed(c.firstPixel), 8);
    EXPECT_NEAR(qGreen(pixels->pixel(0, 0)), qGreen(c.firstPixel), 8);
    EXPECT_NEAR(qBlue(pixels->pixel(0, 0)), qBlue(c.firstPixel), 8);
  }
}

TEST(QtCanvasImages, JpegOrientationTagIsNotApplied) {
  EnsureGuiApp();
  QByteArray jpeg = Encode(Filled(20, 10, 0xFF808080), "jpeg");
  // An EXIF block right after the start marker: orientation 6 (turn 90°).
  const QByteArray exif("\xFF\xE1\x00\x22"
                        "Exif\0\0"
                        "MM\x00\x2A\x00\x00\x00\x08"
                        "\x00\x01"
                        "\x01\x12\x00\x03\x00\x00\x00\x01\x00\x06\x00\x00"
                        "\x00\x00\x00\x00",
                        36);
  jpeg.insert(2, exif);
  {  // the tag is there: Qt's own default would turn the image
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    ASSERT_EQ(reader.read().size(), QSize(10, 20));
  }
  const auto image = LoadRasterImage(jpeg);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->Width(), 20);
  EXPECT_EQ(image->Height(), 10);
}

TEST(QtCanvasImages, BadFilesAreRefused) {
  EnsureGuiApp();
  const QByteArray png = Encode(Filled(9, 4, 0xFF00FF00), "png");
  struct Case {
    const char* name;
    QByteArray bytes;
  } cases[] = {
      {"empty.png", QByteArray()},
      {"text.png", QByteArray("this is no image at all\n")},
      {"huge.png", PngHeaderOnly(30000, 30000)},
      {"wide.png", PngHeaderOnly(0x7FFFFFFF, 1)},
      {"zero.png", PngHeaderOnly(0, 0)},
      {"garbage.emf", QByteArray(200, '\x01')},
      {"garbage.wmf", QByteArray("\x01\x00\x09\x00\x00\x03", 6)},
      // Formats Qt reads but images are not drawn in, whatever their name.
      {"xpm_named.png", QByteArray("/* XPM */\nstatic char *x[] = {\"1 1 1 1\", \"a c #FF0000\", \"a\"};\n")},
      {"pbm_named.png", QByteArray("P1\n1 1\n1\n")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(LoadCanvasImageFile(WriteBytes(c.name, c.bytes).string()), nullptr);
  }
  EXPECT_EQ(LoadCanvasImageFile((Folder() / "missing.png").string()), nullptr);
  EXPECT_EQ(LoadCanvasImageFile(Folder().string()), nullptr);
}

// A large image drawn small is decoded once for every text that shows it,
// at the size drawn; one whose pixels cannot be decoded draws nothing.
TEST(QtCanvasImages, ImagesAreDecodedOnceAtTheSizeDrawn) {
  EnsureGuiApp();
  const QByteArray png = Encode(Filled(2000, 1500, 0xFF00FF00), "png");
  const std::string big = WriteBytes("big.png", png).string();
  TProbeBitmap bmp(100, 100);
  const auto first = bmp.Canvas().LoadImage(big);
  const auto second = bmp.Canvas().LoadImage(big);
  const auto cut = bmp.Canvas().LoadImage(WriteBytes("cut.png", png.left(png.size() / 2)).string());
  ASSERT_TRUE(first && second && cut);
  EXPECT_EQ(first->Width(), 2000);
  bmp.Canvas().DrawImage(*first, TDeviceRect{0, 0, 40, 30}, TDeviceRect{0, 0, 2000, 1500}, 0, 0, 0);
  bmp.Canvas().DrawImage(*cut, TDeviceRect{50, 50, 40, 30}, TDeviceRect{0, 0, 2000, 1500}, 0, 0, 0);
  const QImage* pixels = RasterImagePixels(static_cast<const TQtCanvasImage&>(*second));
  ASSERT_NE(pixels, nullptr);
  EXPECT_EQ(pixels->size(), QSize(40, 30));
  const QImage& im = bmp.Finish();
  EXPECT_EQ(Rgb(im, 20, 15), 0x00FF00u);
  EXPECT_FALSE(Ink(im, 70, 65));
}

// A 10 × 10 image, left half red and right half blue, shown through a
// source that runs 5 pixels past its right edge, turned a quarter
// counter-clockwise about the destination's lower-left corner.
TEST(QtCanvasImages, TurnedCropPassingTheEdgeLeavesTheOutsideUndrawn) {
  EnsureGuiApp();
  QImage source = Filled(10, 10, 0xFFFF0000);
  for (int y = 0; y < 10; ++y)
    for (int x = 5; x < 10; ++x) source.setPixel(x, y, 0xFF0000FF);
  const std::string path = WriteBytes("halves.png", Encode(source, "png")).string();

  struct Case {
    double angle;
    QPoint blue, blank;  // where the shown part must land, and where nothing may
  } cases[] = {
      // Source x 5..15 onto 50..90: blue (x 5..10) fills 50..70, the rest stays white.
      {0, QPoint(60, 40), QPoint(80, 40)},
      // About (50, 60): the drawn half lands in x 10..50, y 40..60; the
      // undrawn half would be y 20..40.
      {90, QPoint(30, 50), QPoint(30, 30)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.angle);
    TProbeBitmap bmp(100, 100);
    const auto image = bmp.Canvas().LoadImage(path);
    ASSERT_NE(image, nullptr);
    bmp.Canvas().DrawImage(*image, TDeviceRect{50, 20, 40, 40}, TDeviceRect{5, 0, 10, 10},
                           c.angle, 50, 60);
    const QImage& im = bmp.Finish();
    EXPECT_EQ(Rgb(im, c.blue.x(), c.blue.y()), 0x0000FFu);
    EXPECT_FALSE(Ink(im, c.blank.x(), c.blank.y()));
    int red = 0;
    for (int y = 0; y < 100; ++y)
      for (int x = 0; x < 100; ++x) red += qRed(im.pixel(x, y)) > 200 && qBlue(im.pixel(x, y)) < 50;
    EXPECT_LT(red, 45);  // at most a seam of bilinear bleed from the left half
    if (c.angle == 90) {
      EXPECT_FALSE(Ink(im, 60, 40));  // nothing where the unturned image was
    }
  }
}

TEST(QtCanvasImages, EmptyRectanglesAndForeignImagesDrawNothing) {
  EnsureGuiApp();
  const std::string path = WriteBytes("plain.png", Encode(Filled(4, 4, 0xFF000000), "png")).string();
  TProbeBitmap bmp(40, 40);
  const auto image = bmp.Canvas().LoadImage(path);
  ASSERT_NE(image, nullptr);
  TQtCanvas& c = bmp.Canvas();
  c.DrawImage(*image, TDeviceRect{0, 0, 0, 10}, TDeviceRect{0, 0, 4, 4}, 0, 0, 0);
  c.DrawImage(*image, TDeviceRect{0, 0, 10, 10}, TDeviceRect{0, 0, 4, 0}, 0, 0, 0);
  c.DrawImage(*image, TDeviceRect{0, 0, 10, 10}, TDeviceRect{10, 10, 4, 4}, 0, 0, 0);
  c.DrawImage(*image, TDeviceRect{0, 0, 10, 10}, TDeviceRect{0, 0, 4, 4}, std::nan(""), 0, 0);
  struct TForeign : TCanvasImage {
    int32_t Width() const override { return 4; }
    int32_t Height() const override { return 4; }
  } foreign;
  c.DrawImage(foreign, TDeviceRect{0, 0, 10, 10}, TDeviceRect{0, 0, 4, 4}, 0, 0, 0);
  EXPECT_EQ(InkCount(bmp.Finish()), 0);
}

}  // namespace
