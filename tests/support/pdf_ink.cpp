#include "pdf_ink.h"

#include <stdlib.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// A pixel at least this dark counts as ink (pdftoppm smooths edges).
constexpr int kInkLevel = 160;

std::string Quoted(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// A binary grey map ("P5") read whole; false for anything else.
bool ReadGreyMap(const fs::path& file, int& width, int& height, std::string& pixels) {
  std::ifstream in(file, std::ios::binary);
  std::string magic;
  int maxValue = 0;
  if (!(in >> magic >> width >> height >> maxValue) || magic != "P5" || maxValue != 255) return false;
  in.get();  // the one blank after the header
  pixels.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return width > 0 && height > 0 && pixels.size() >= size_t(width) * size_t(height);
}

TPageInk MeasurePage(int width, int height, const std::string& pixels, int dpi) {
  TPageInk ink;
  const double mmPerPixel = 25.4 / dpi;
  ink.PageWidthMm = width * mmPerPixel;
  ink.PageHeightMm = height * mmPerPixel;
  int left = width, top = height, right = -1, bottom = -1;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (static_cast<unsigned char>(pixels[size_t(y) * size_t(width) + size_t(x)]) < kInkLevel) {
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
      }
  if (right < 0) return ink;
  ink.Blank = false;
  ink.Left = left * mmPerPixel, ink.Top = top * mmPerPixel;
  ink.Right = (right + 1) * mmPerPixel, ink.Bottom = (bottom + 1) * mmPerPixel;
  return ink;
}

}  // namespace

std::vector<TPageInk> PdfPageInk(const std::string& pdfPath, int dpi) {
  std::vector<TPageInk> pages;
  std::string scratch = (fs::temp_directory_path() / "pdf_ink_XXXXXX").string();
  if (!::mkdtemp(scratch.data())) return pages;
  const std::string command = "pdftoppm -gray -r " + std::to_string(dpi) + " " + Quoted(pdfPath) + " " +
                              Quoted(scratch + "/page") + " 2>/dev/null";
  if (std::system(command.c_str()) == 0) {
    // page-1.pgm, or page-01.pgm and so on when there are more pages.
    std::map<int, fs::path> byNumber;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(scratch, ec)) {
      const std::string stem = e.path().stem().string();
      const size_t dash = stem.rfind('-');
      if (dash != std::string::npos) byNumber[std::atoi(stem.c_str() + dash + 1)] = e.path();
    }
    for (const auto& [number, file] : byNumber) {
      int width = 0, height = 0;
      std::string pixels;
      if (!ReadGreyMap(file, width, height, pixels)) {
        pages.clear();
        break;
      }
      pages.push_back(MeasurePage(width, height, pixels, dpi));
    }
  }
  std::error_code ec;
  fs::remove_all(scratch, ec);
  return pages;
}

bool SameInkPlace(const TPageInk& a, const TPageInk& b, double toleranceMm) {
  if (a.Blank || b.Blank) return a.Blank == b.Blank;
  return std::fabs(a.Left - b.Left) <= toleranceMm && std::fabs(a.Top - b.Top) <= toleranceMm &&
         std::fabs(a.Right - b.Right) <= toleranceMm && std::fabs(a.Bottom - b.Bottom) <= toleranceMm;
}
