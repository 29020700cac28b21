// Where the ink lies on the pages of a PDF file: every page rendered with
// pdftoppm in grey and the box around its dark pixels measured, in
// millimetres from the page's top left corner.
#pragma once

#include <ostream>
#include <string>
#include <vector>

struct TPageInk {
  double PageWidthMm = 0, PageHeightMm = 0;
  bool Blank = true;  // no dark pixel at all
  double Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// One entry per page, in page order; empty when the file cannot be rendered.
std::vector<TPageInk> PdfPageInk(const std::string& pdfPath, int dpi = 50);

inline std::ostream& operator<<(std::ostream& out, const TPageInk& ink) {
  if (ink.Blank) return out << "blank page";
  return out << "ink " << ink.Left << "," << ink.Top << " to " << ink.Right << "," << ink.Bottom << " mm on "
             << ink.PageWidthMm << " x " << ink.PageHeightMm << " mm";
}
