#include "pdf_ink.h"

#include <stdlib.h>  // mkdtemp, system

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

namespace fs = std::filesystem;

namespace {

// A pixel at least this dark counts as ink (pdftoppm smooths edges).
constexpr int kInkLevel = 160;

std::string Quoted(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// The box around the dark pixels of a binary grey map ("P5"); false for
// anything else.
bool MeasureGreyMap(const fs::path& file, int dpi, TPageInk& ink) {
  std::ifstream in(file, std::ios::binary);
  std::string magic;
  int width = 0, height = 0, maxValue = 0;
  if (!(in >> magic >> width >> height >> maxValue) || magic != "P5" || maxValue != 255) return false;
  in.get();  // the one blank after the header
  const std::string pixels{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (width <= 0 || height <= 0 || pixels.size() < size_t(width) * size_t(height)) return false;
  const double mm = 25.4 / dpi;  // a pixel
  ink.PageWidthMm = width * mm, ink.PageHeightMm = height * mm;
  int left = width, top = height, right = -1, bottom = -1;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (static_cast<unsigned char>(pixels[size_t(y) * size_t(width) + size_t(x)]) < kInkLevel)
        left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = std::max(bottom, y);
  ink.Blank = right < 0;
  if (!ink.Blank)
    ink.Left = left * mm, ink.Top = top * mm, ink.Right = (right + 1) * mm, ink.Bottom = (bottom + 1) * mm;
  return true;
}

}  // namespace

std::vector<TPageInk> PdfPageInk(const std::string& pdfPath, int dpi) {
  std::vector<TPageInk> pages;
  std::string scratch = (fs::temp_directory_path() / "pdf_ink_XXXXXX").string();
  if (!::mkdtemp(scratch.data())) return pages;
  const std::string command = "pdftoppm -gray -r " + std::to_string(dpi) + " " + Quoted(pdfPath) + " " +
                              Quoted(scratch + "/page") + " 2>/dev/null";
  std::error_code ec;
  if (std::system(command.c_str()) == 0) {
    std::map<int, fs::path> byNumber;  // page-1.pgm, or page-01.pgm and so on
    for (const auto& e : fs::directory_iterator(scratch, ec)) {
      const std::string stem = e.path().stem().string();
      if (const size_t dash = stem.rfind('-'); dash != std::string::npos)
        byNumber[std::atoi(stem.c_str() + dash + 1)] = e.path();
    }
    for (const auto& [number, file] : byNumber)
      if (!MeasureGreyMap(file, dpi, pages.emplace_back())) {
        pages.clear();
        break;
      }
  }
  fs::remove_all(scratch, ec);
  return pages;
}
