#include "metafile_builders.h"

#include <algorithm>
#include <cstring>

#include "byte_io.h"

namespace metatest {

namespace {

void Pad4(std::vector<uint8_t>& v) {
  while (v.size() % 4) v.push_back(0);
}

}  // namespace

std::vector<uint8_t> Dib24(int32_t w, int32_t h, const std::vector<uint32_t>& topDownRgb) {
  ByteWriter out;
  const uint32_t stride = (static_cast<uint32_t>(w) * 3 + 3) & ~3u;
  out.U32(40), out.I32(w), out.I32(h), out.U16(1), out.U16(24), out.U32(0), out.U32(stride * h);
  out.I32(3780), out.I32(3780), out.U32(0), out.U32(0);
  for (int32_t row = h - 1; row >= 0; --row) {
    for (int32_t x = 0; x < w; ++x) {
      const uint32_t c = topDownRgb[static_cast<size_t>(row * w + x)];
      out.U8(c & 0xFF), out.U8((c >> 8) & 0xFF), out.U8((c >> 16) & 0xFF);
    }
    out.Zeros(stride - static_cast<uint32_t>(w) * 3);
  }
  return out.Buffer();
}

// ---- EMF ----

void EmfBuilder::RecordBytes(uint32_t type, const std::vector<uint8_t>& body) {
  std::vector<uint8_t> padded = body;
  Pad4(padded);
  ByteWriter w;
  w.U32(type), w.U32(static_cast<uint32_t>(8 + padded.size()));
  w.Bytes(padded.data(), padded.size());
  records_.insert(records_.end(), w.Buffer().begin(), w.Buffer().end());
  ++count_;
}

void EmfBuilder::Record(uint32_t type, const std::vector<uint32_t>& params) {
  ByteWriter w;
  for (uint32_t p : params) w.U32(p);
  RecordBytes(type, w.Buffer());
}

void EmfBuilder::Polygon16(const std::vector<Pt>& pts, bool closed) {
  ByteWriter w;
  w.Zeros(16);
  w.U32(static_cast<uint32_t>(pts.size()));
  for (const Pt& p : pts) w.U16(static_cast<uint16_t>(p.X)), w.U16(static_cast<uint16_t>(p.Y));
  RecordBytes(closed ? 86 : 87, w.Buffer());
}

void EmfBuilder::PatternBrush(uint32_t index, const std::vector<uint8_t>& dib) {
  ByteWriter w;
  w.U32(index), w.U32(0), w.U32(32), w.U32(40), w.U32(72), w.U32(static_cast<uint32_t>(dib.size() - 40));
  w.Bytes(dib.data(), dib.size());
  RecordBytes(94, w.Buffer());
}

void EmfBuilder::Font(uint32_t index, int32_t height, const std::u16string& face) {
  ByteWriter w;
  w.U32(index);
  w.I32(height), w.I32(0), w.I32(0), w.I32(0), w.I32(400);
  w.U8(0), w.U8(0), w.U8(0), w.U8(1), w.Zeros(4);
  for (size_t i = 0; i < 32; ++i) w.U16(i < face.size() ? face[i] : 0);
  RecordBytes(82, w.Buffer());
}

void EmfBuilder::TextW(int32_t x, int32_t y, const std::u16string& text) {
  const uint32_t n = static_cast<uint32_t>(text.size());
  const uint32_t offString = 76, offDx = offString + ((2 * n + 3) & ~3u);
  ByteWriter w;
  w.I32(x), w.I32(y), w.I32(x + 100), w.I32(y + 20);  // bounds
  w.U32(1), w.U32(0), w.U32(0);  // graphics mode, scales
  w.I32(x), w.I32(y), w.U32(n), w.U32(offString), w.U32(0);
  w.I32(0), w.I32(0), w.I32(-1), w.I32(-1);  // no clipping rectangle
  w.U32(offDx);
  for (char16_t c : text) w.U16(c);
  while ((w.Size() + 8) % 4) w.U8(0);
  for (uint32_t i = 0; i < n; ++i) w.U32(10);
  RecordBytes(84, w.Buffer());
}

void EmfBuilder::StretchDib(int32_t x, int32_t y, int32_t cx, int32_t cy, const std::vector<uint8_t>& dib) {
  int32_t dibW, dibH;
  std::memcpy(&dibW, dib.data() + 4, 4);
  std::memcpy(&dibH, dib.data() + 8, 4);
  ByteWriter w;
  w.I32(x), w.I32(y), w.I32(x + cx), w.I32(y + cy);
  w.I32(x), w.I32(y), w.I32(0), w.I32(0), w.I32(dibW), w.I32(dibH);
  w.U32(80), w.U32(40), w.U32(120), w.U32(static_cast<uint32_t>(dib.size() - 40));
  w.U32(0), w.U32(0x00CC0020), w.I32(cx), w.I32(cy);
  w.Bytes(dib.data(), dib.size());
  RecordBytes(81, w.Buffer());
}

std::vector<uint8_t> EmfBuilder::Bytes() const {
  constexpr uint32_t kHeader = 108;
  const uint32_t total = kHeader + static_cast<uint32_t>(records_.size()) + 20;
  ByteWriter w;
  w.U32(1), w.U32(kHeader);
  w.I32(0), w.I32(0), w.I32(frameWidth_ * 96 / 2540), w.I32(frameHeight_ * 96 / 2540);
  w.I32(0), w.I32(0), w.I32(frameWidth_), w.I32(frameHeight_);
  w.U32(0x464D4520), w.U32(0x10000), w.U32(total), w.U32(count_ + 2);
  w.U16(16), w.U16(0), w.U32(0), w.U32(0), w.U32(0);
  w.I32(960), w.I32(960), w.I32(254), w.I32(254);  // 96 pixels per inch
  w.U32(0), w.U32(0), w.U32(0), w.I32(254000), w.I32(254000);
  w.Bytes(records_.data(), records_.size());
  w.U32(14), w.U32(20), w.U32(0), w.U32(16), w.U32(20);
  return w.Buffer();
}

// ---- WMF ----

void WmfBuilder::Placeable(int16_t left, int16_t top, int16_t right, int16_t bottom, uint16_t inch) {
  ByteWriter w;
  w.U32(0x9AC6CDD7), w.U16(0);
  w.U16(static_cast<uint16_t>(left)), w.U16(static_cast<uint16_t>(top));
  w.U16(static_cast<uint16_t>(right)), w.U16(static_cast<uint16_t>(bottom));
  w.U16(inch), w.U32(0);
  uint16_t sum = 0;
  for (size_t i = 0; i < 20; i += 2) sum ^= static_cast<uint16_t>(w.Buffer()[i] | (w.Buffer()[i + 1] << 8));
  w.U16(sum);
  placeable_ = w.Buffer();
}

void WmfBuilder::Record(uint16_t function, const std::vector<int32_t>& words) {
  ByteWriter w;
  const uint32_t size = 3 + static_cast<uint32_t>(words.size());
  w.U32(size), w.U16(function);
  for (int32_t v : words) w.U16(static_cast<uint16_t>(v));
  records_.insert(records_.end(), w.Buffer().begin(), w.Buffer().end());
  largest_ = std::max(largest_, size);
}

void WmfBuilder::Polygon(const std::vector<Pt>& pts) {
  std::vector<int32_t> words{static_cast<int32_t>(pts.size())};
  for (const Pt& p : pts) words.push_back(p.X), words.push_back(p.Y);
  Record(0x0324, words);
}

namespace {

void AppendBytes(std::vector<int32_t>& words, const std::string& s) {
  for (size_t i = 0; i < s.size(); i += 2) {
    const uint8_t lo = static_cast<uint8_t>(s[i]);
    const uint8_t hi = i + 1 < s.size() ? static_cast<uint8_t>(s[i + 1]) : 0;
    words.push_back(lo | (hi << 8));
  }
}

}  // namespace

void WmfBuilder::Font(int16_t height, const std::string& face, uint8_t charset) {
  std::vector<int32_t> words{height, 0, 0, 0, 400, 0, charset << 8, 0, 0};
  AppendBytes(words, face + '\0');
  Record(0x02FB, words);
}

void WmfBuilder::TextOut(int16_t x, int16_t y, const std::string& text) {
  std::vector<int32_t> words{static_cast<int32_t>(text.size())};
  AppendBytes(words, text);
  words.push_back(y), words.push_back(x);
  Record(0x0521, words);
}

void WmfBuilder::PatternBrush(const std::vector<uint8_t>& dib) {
  std::vector<int32_t> words{5, 0};  // a device-independent pattern, its own colours
  AppendBytes(words, std::string(dib.begin(), dib.end()));
  Record(0x0142, words);
}

void WmfBuilder::StretchDib(int16_t x, int16_t y, int16_t w, int16_t h, const std::vector<uint8_t>& dib) {
  int32_t dibW, dibH;
  std::memcpy(&dibW, dib.data() + 4, 4);
  std::memcpy(&dibH, dib.data() + 8, 4);
  std::vector<int32_t> words{0x0020, 0x00CC, 0, dibH, dibW, 0, 0, h, w, y, x};
  AppendBytes(words, std::string(dib.begin(), dib.end()));
  Record(0x0F43, words);
}

std::vector<uint8_t> WmfBuilder::Bytes(uint16_t objects) const {
  ByteWriter w;
  w.Bytes(placeable_.data(), placeable_.size());
  const uint32_t words = 9 + static_cast<uint32_t>(records_.size() / 2) + 3;
  w.U16(1), w.U16(9), w.U16(0x0300), w.U32(words), w.U16(objects), w.U32(largest_), w.U16(0);
  w.Bytes(records_.data(), records_.size());
  w.U32(3), w.U16(0);
  return w.Buffer();
}

// ---- samples ----

std::vector<uint8_t> SampleEmf() {
  EmfBuilder b(2540, 2540);
  b.Pen(1, 0, 3, Rgb(255, 0, 0));
  b.Brush(2, 2, Rgb(0, 0, 255), 4);
  b.Select(1), b.Select(2);
  b.Rectangle(5, 5, 40, 40);
  b.Ellipse(50, 5, 90, 40);
  b.Polygon16({{10, 50}, {40, 90}, {5, 90}});
  b.Font(3, -12, u"Arial");
  b.Select(3);
  b.TextW(50, 50, u"Ab");
  b.StretchDib(60, 70, 20, 20, Dib24(2, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}));
  return b.Bytes();
}

std::vector<uint8_t> SampleWmf() {
  WmfBuilder b;
  b.Placeable(0, 0, 100, 100, 96);
  b.WindowOrg(0, 0), b.WindowExt(100, 100);
  b.Pen(0, 3, Rgb(255, 0, 0));
  b.Brush(2, Rgb(0, 0, 255), 4);
  b.Select(0), b.Select(1);
  b.Rectangle(5, 5, 40, 40);
  b.Ellipse(50, 5, 90, 40);
  b.Polygon({{10, 50}, {40, 90}, {5, 90}});
  b.Font(-12, "Arial");
  b.Select(2);
  b.TextOut(50, 50, "Ab");
  b.StretchDib(60, 70, 20, 20, Dib24(2, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}));
  return b.Bytes();
}

}  // namespace metatest
