// Test-side byte builders for small Windows and enhanced metafiles, written
// from the record layouts, never through the players under test.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace metatest {

struct Pt {
  int32_t X, Y;
};

// 0x00BBGGRR as metafiles store colours.
constexpr uint32_t Rgb(uint8_t r, uint8_t g, uint8_t b) { return r | (g << 8) | (uint32_t{b} << 16); }

// A 24-bit bottom-up bitmap (header and rows) of w × h pixels given top row
// first as 0x00RRGGBB values.
std::vector<uint8_t> Dib24(int32_t w, int32_t h, const std::vector<uint32_t>& topDownRgb);

class EmfBuilder {
 public:
  // Frame in 0.01 mm from (0, 0); the reference device has 96 pixels per inch.
  EmfBuilder(int32_t frameWidth, int32_t frameHeight) : frameWidth_(frameWidth), frameHeight_(frameHeight) {}
  void Record(uint32_t type, const std::vector<uint32_t>& params);
  void RecordBytes(uint32_t type, const std::vector<uint8_t>& body);  // body padded to four bytes

  void Pen(uint32_t index, uint32_t style, int32_t width, uint32_t color) { Record(38, {index, style, static_cast<uint32_t>(width), 0, color}); }
  void Brush(uint32_t index, uint32_t style, uint32_t color, uint32_t hatch = 0) { Record(39, {index, style, color, hatch}); }
  void Select(uint32_t index) { Record(37, {index}); }
  void PatternBrush(uint32_t index, const std::vector<uint8_t>& dib);
  void Rectangle(int32_t l, int32_t t, int32_t r, int32_t b) { Record(43, U({l, t, r, b})); }
  void Ellipse(int32_t l, int32_t t, int32_t r, int32_t b) { Record(42, U({l, t, r, b})); }
  void Polygon16(const std::vector<Pt>& pts, bool closed = true);
  void MapMode(uint32_t mode) { Record(17, {mode}); }
  void WindowOrg(int32_t x, int32_t y) { Record(10, U({x, y})); }
  void WindowExt(int32_t x, int32_t y) { Record(9, U({x, y})); }
  void ViewportOrg(int32_t x, int32_t y) { Record(12, U({x, y})); }
  void ViewportExt(int32_t x, int32_t y) { Record(11, U({x, y})); }
  void Font(uint32_t index, int32_t height, const std::u16string& face);
  void TextW(int32_t x, int32_t y, const std::u16string& text);
  void StretchDib(int32_t x, int32_t y, int32_t w, int32_t h, const std::vector<uint8_t>& dib);
  std::vector<uint8_t> Bytes() const;

  static std::vector<uint32_t> U(std::initializer_list<int32_t> v) { return {v.begin(), v.end()}; }

 private:
  int32_t frameWidth_, frameHeight_;
  std::vector<uint8_t> records_;
  uint32_t count_ = 0;
};

class WmfBuilder {
 public:
  // With inch > 0 a placeable header boxes (left, top)-(right, bottom).
  void Placeable(int16_t left, int16_t top, int16_t right, int16_t bottom, uint16_t inch);
  void Record(uint16_t function, const std::vector<int32_t>& words);  // each value one 16-bit word

  void Rectangle(int16_t l, int16_t t, int16_t r, int16_t b) { Record(0x041B, {b, r, t, l}); }
  void Ellipse(int16_t l, int16_t t, int16_t r, int16_t b) { Record(0x0418, {b, r, t, l}); }
  void Polygon(const std::vector<Pt>& pts);
  void Pen(uint16_t style, int16_t width, uint32_t color) { Record(0x02FA, {style, width, 0, int32_t(color & 0xFFFF), int32_t(color >> 16)}); }
  void Brush(uint16_t style, uint32_t color, uint16_t hatch = 0) { Record(0x02FC, {style, int32_t(color & 0xFFFF), int32_t(color >> 16), hatch}); }
  void Select(uint16_t index) { Record(0x012D, {index}); }
  void PatternBrush(const std::vector<uint8_t>& dib);
  void WindowOrg(int16_t x, int16_t y) { Record(0x020B, {y, x}); }
  void WindowExt(int16_t x, int16_t y) { Record(0x020C, {y, x}); }
  void ViewportOrg(int16_t x, int16_t y) { Record(0x020D, {y, x}); }
  void ViewportExt(int16_t x, int16_t y) { Record(0x020E, {y, x}); }
  void MapMode(uint16_t mode) { Record(0x0103, {mode}); }
  void Font(int16_t height, const std::string& face, uint8_t charset = 0);
  void TextOut(int16_t x, int16_t y, const std::string& text);
  void StretchDib(int16_t x, int16_t y, int16_t w, int16_t h, const std::vector<uint8_t>& dib);
  std::vector<uint8_t> Bytes(uint16_t objects = 8) const;

 private:
  std::vector<uint8_t> placeable_;
  std::vector<uint8_t> records_;
  uint32_t largest_ = 3;
};

// A sample of each for fuzz seeds: shapes, hatches, a font, text and a bitmap.
std::vector<uint8_t> SampleEmf();
std::vector<uint8_t> SampleWmf();

}  // namespace metatest
