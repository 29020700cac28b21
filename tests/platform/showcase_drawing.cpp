#include "showcase_drawing.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <cmath>
#include <fstream>
#include <numbers>

#include "jww_model_maker.h"
#include "sjis.h"

namespace {

constexpr double kPi = std::numbers::pi;

TEntJwwCommon Pen(uint16_t pen, uint8_t lineType = 1, uint16_t layer = 0) {
  TEntJwwCommon c;
  c.Color = pen;
  c.LineType = lineType;
  c.Layer = layer;
  return c;
}

TEntJwwText Text(double x, double y, double angleDeg, double size, const char* utf8,
                 const char* faceUtf8 = "ＭＳ ゴシック", uint16_t pen = 1) {
  TEntJwwText t;
  t.Common = Pen(pen);
  const std::string content = Utf8ToSjis(utf8);
  const double a = angleDeg * kPi / 180;
  const double length = size * double(content.size()) / 2;
  t.StartX = x, t.StartY = y;
  t.EndX = x + length * std::cos(a), t.EndY = y + length * std::sin(a);
  t.SizeX = t.SizeY = size;
  t.Angle = angleDeg;
  t.FontName = Utf8ToSjis(faceUtf8);
  t.Content = content;
  return t;
}

// A picture with an orientation one can see: a red top-left quarter, a
// blue diagonal and a black frame, w × h pixels.
QImage Picture(int w, int h) {
  QImage im(w, h, QImage::Format_RGB32);
  im.fill(Qt::white);
  QPainter p(&im);
  p.fillRect(0, 0, w / 2, h / 2, Qt::red);
  p.setPen(QPen(Qt::blue, 3));
  p.drawLine(0, h - 1, w - 1, 0);
  p.setPen(Qt::black);
  p.drawRect(0, 0, w - 1, h - 1);
  return im;
}

void WriteFile(const std::string& path, const QByteArray& bytes) {
  std::ofstream(path, std::ios::binary).write(bytes.data(), bytes.size());
}

QByteArray Encode(const QImage& image, const char* format) {
  QByteArray out;
  QBuffer buffer(&out);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter(&buffer, format).write(image);
  return out;
}

void Le16(QByteArray& b, int v) {
  b.append(char(v & 0xFF));
  b.append(char((v >> 8) & 0xFF));
}
void Le32(QByteArray& b, int64_t v) {
  for (int i = 0; i < 4; ++i) b.append(char((v >> (8 * i)) & 0xFF));
}

// A placeable metafile of 100 × 50 units at 1440 per inch: one rectangle.
QByteArray Wmf() {
  QByteArray head;
  Le32(head, 0x9AC6CDD7);
  Le16(head, 0);
  for (int v : {0, 0, 1500, 750}) Le16(head, v);
  Le16(head, 1440);
  Le32(head, 0);
  uint16_t sum = 0;
  for (int i = 0; i < 20; i += 2) sum ^= uint16_t(uint8_t(head[i]) | uint8_t(head[i + 1]) << 8);
  Le16(head, sum);
  QByteArray records;
  Le32(records, 7);  // rectangle: bottom, right, top, left
  Le16(records, 0x041B);
  for (int v : {700, 1400, 100, 100}) Le16(records, v);
  Le32(records, 3);  // end
  Le16(records, 0);
  QByteArray wmf;
  Le16(wmf, 1);
  Le16(wmf, 9);
  Le16(wmf, 0x0300);
  Le32(wmf, (18 + records.size()) / 2);
  Le16(wmf, 0);
  Le32(wmf, 7);
  Le16(wmf, 0);
  return head + wmf + records;
}

// An enhanced metafile of 100 × 50 pixels: one rectangle.
QByteArray Emf() {
  QByteArray e;
  Le32(e, 1);
  Le32(e, 88);
  for (int v : {0, 0, 99, 49}) Le32(e, v);
  for (int v : {0, 0, 2645, 1322}) Le32(e, v);
  Le32(e, 0x464D4520);
  Le32(e, 0x10000);
  Le32(e, 88 + 24 + 20);
  Le32(e, 3);
  Le16(e, 1);
  Le16(e, 0);
  for (int v : {0, 0, 0, 1024, 768, 270, 203}) Le32(e, v);
  Le32(e, 43);  // rectangle
  Le32(e, 24);
  for (int v : {10, 10, 90, 40}) Le32(e, v);
  Le32(e, 14);  // end of file
  Le32(e, 20);
  for (int v : {0, 16, 20}) Le32(e, v);
  return e;
}

// One image of every kind the canvas reads, as files beside the drawing.
void Images(TJwwData& m, const std::string& folder) {
  const QImage picture = Picture(64, 48);
  struct File {
    const char* name;
    QByteArray bytes;
  } files[] = {
      {"pic.bmp", Encode(picture, "bmp")},  {"pic.png", Encode(picture, "png")},
      {"pic.jpg", Encode(picture, "jpeg")}, {"pic.tif", Encode(picture, "tiff")},
      {"pic.ico", Encode(picture, "ico")},  {"pic.gif", QByteArray()},
      {"pic.wmf", Wmf()},                   {"pic.emf", Emf()},
  };
  // Qt writes no GIF: a 2 × 2 one by hand (red, blue / blue, red).
  files[5].bytes = QByteArray(
      "GIF89a\x02\x00\x02\x00\x80\x00\x00\xff\x00\x00\x00\x00\xff"
      ",\x00\x00\x00\x00\x02\x00\x02\x00\x00\x02\x03\x44\x34\x05\x00;",
      36);
  double x = 5;
  for (const File& f : files) {
    WriteFile(folder + f.name, f.bytes);
    TEntJwwText t = Text(x, 160, 0, 2.5, "");
    t.Content = std::string("^@BM") + f.name + ",30,22";
    jwwtest::Append(m, t);
    x += 34;
  }
  // Cropped and turned: the middle half, raised, a quarter turn.
  TEntJwwText turned = Text(280, 120, 0, 2.5, "");
  turned.Content = "^@BMpic.png,30,22,0.25,0.1,0.5,90";
  jwwtest::Append(m, turned);
}

TEntJwwSolid RoundSolid(uint8_t code, double cx, double cy, double r, double flat, double tilt,
                        double start, double sweep, double q, uint16_t pen) {
  TEntJwwSolid s;
  s.Common = Pen(pen, code);
  s.X1 = cx, s.Y1 = cy, s.X2 = r, s.Y2 = flat, s.X3 = tilt, s.Y3 = start, s.X4 = sweep, s.Y4 = q;
  return s;
}

void Solids(TJwwData& m) {
  jwwtest::Append(m, RoundSolid(101, 15, 135, 10, 1, 0, 0, 2 * kPi, 100, 2));    // disc
  jwwtest::Append(m, RoundSolid(101, 45, 135, 10, 1, 0, 0.3, kPi / 2, 0, 3));    // sector
  jwwtest::Append(m, RoundSolid(101, 75, 135, 10, 0.6, 0.4, 0, kPi, 5, 4));      // segment
  jwwtest::Append(m, RoundSolid(101, 105, 130, 10, 1, 0, 0.2, kPi / 2, 1, 5));   // tangent cap
  jwwtest::Append(m, RoundSolid(105, 140, 135, 12, 1, 0, 0, 1.5 * kPi, 7, 6));   // ring
  jwwtest::Append(m, RoundSolid(106, 175, 135, 12, 0.5, 0.3, 0, 2 * kPi, 8, 7)); // band
  jwwtest::Append(m, RoundSolid(111, 205, 135, 10, 1, 0, 0, kPi, 3, 1));         // arc outline
  TEntJwwSolid free;
  free.Common = Pen(10);
  free.Rgb = 0x3080C0;
  free.X1 = 225, free.Y1 = 125, free.X2 = 250, free.Y2 = 125;
  free.X3 = 255, free.Y3 = 145, free.X4 = 230, free.Y4 = 145;
  jwwtest::Append(m, free);
}

void Symbols(TJwwData& m) {
  double x = 8;
  for (int code = -7; code <= 12; ++code) {
    TEntJwwPoint p;
    p.Common = Pen(uint16_t(1 + (code + 7) % 8), 100);
    p.X = x, p.Y = 105;
    p.Code = uint32_t(code);
    p.Angle = (code % 4) * kPi / 6;
    p.Scale = 1;
    jwwtest::Append(m, p);
    x += 13;
  }
  TEntJwwPoint plain;
  plain.Common = Pen(2);
  plain.X = 270, plain.Y = 105;
  jwwtest::Append(m, plain);
}

void Texts(TJwwData& m) {
  const char* lines[] = {"図面ABCabc123", "x^u2 y^d3 z^c4", "a^!b^#c^/d^_e^-f", "a^$3b^$5c",
                         "AB･", "ABCDEFGH^2", "a^*^!^^b", "重ね^o字^n○^b×^B△"};
  double y = 92;
  for (const char* s : lines) {
    jwwtest::Append(m, Text(5, y, 0, 4, s));
    y -= 7;
  }
  jwwtest::Append(m, Text(120, 88, 0, 5, "明朝体の文字", "ＭＳ 明朝", 3));
  TEntJwwText bold = Text(120, 80, 0, 5, "太字ゴシック", "ＭＳ Ｐゴシック", 4);
  bold.Kind = 20000;
  jwwtest::Append(m, bold);
  TEntJwwText italic = Text(120, 72, 0, 5, "Italic 斜体", "ＭＳ ゴシック", 5);
  italic.Kind = 10000;
  jwwtest::Append(m, italic);
  jwwtest::Append(m, Text(120, 50, 30, 5, "30度の文字"));
  TEntJwwText wide = Text(120, 40, 0, 5, "横長");
  wide.SizeX = 10;
  wide.EndX = 120 + 2 * 10;
  jwwtest::Append(m, wide);
  jwwtest::Append(m, Text(200, 40, 0, 5, "鏡", "ＭＳ ゴシック", 6));
  // Vertical texts: the font lies on its side, the text runs down the page.
  double x = 270;
  for (const char* s : {"縦書きABC", "ー（縦）"}) {
    TEntJwwText v = Text(x, 95, -90, 5, s);
    v.Common.Flags = 0x20;
    jwwtest::Append(m, v);
    x += 8;
  }
}

void Dimensions(TJwwData& m) {
  struct D {
    double x1, y1, x2, y2;
  } dims[] = {{10, 15, 90, 15}, {100, 10, 160, 30}, {180, 5, 180, 35}};
  for (const D& d : dims) {
    TEntJwwDimension dim;
    dim.Common = Pen(1);
    dim.Line.Common = Pen(1);
    dim.Line.X1 = d.x1, dim.Line.Y1 = d.y1, dim.Line.X2 = d.x2, dim.Line.Y2 = d.y2;
    const double a = std::atan2(d.y2 - d.y1, d.x2 - d.x1);
    const double len = std::hypot(d.x2 - d.x1, d.y2 - d.y1);
    char value[32];
    std::snprintf(value, sizeof value, "%.0f", len);
    const double mx = (d.x1 + d.x2) / 2, my = (d.y1 + d.y2) / 2;
    dim.Text = Text(mx - 5 * std::cos(a) - std::sin(a), my - 5 * std::sin(a) + std::cos(a),
                    a * 180 / kPi, 3, value);
    jwwtest::Append(m, dim);
  }
  // Lines of several widths and types around the showcase.
  const uint8_t types[] = {1, 2, 3, 5, 9};
  for (size_t i = 0; i < std::size(types); ++i) {
    TEntJwwLine l;
    l.Common = Pen(uint16_t(i + 1), types[i]);
    l.Common.Width = uint16_t(i * 20);
    l.X1 = 200, l.Y1 = 28 - 4.0 * double(i), l.X2 = 260, l.Y2 = l.Y1;
    jwwtest::Append(m, l);
  }
}

}  // namespace

void MakeShowcaseDrawing(TJwwData& m, const std::string& folder) {
  m.FreeData();
  jwwtest::SizeTables(m);
  for (TEntJwwLayerGroup& g : m.LayerGroups) {
    g.State = 2;
    g.Scale = 1;
  }
  for (TEntJwwLayer& l : m.Layers) l.State = 2;
  Images(m, folder);
  Solids(m);
  Symbols(m);
  Texts(m);
  Dimensions(m);
  m.BuildBlockTree();
}
