// Emitters of the output queue and the writer of the interface file.
#include "jwc_writer.h"

#include <cmath>

#include "file_replace.h"
#include "func.h"

namespace {

// Reals in the general form with "."; nothing that Jw_cad cannot read.
std::string Num(double v) { return std::isfinite(v) ? FormatGeneralNumber(v, '.') : std::string("0"); }

std::string Hex(int32_t v) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  auto u = static_cast<uint32_t>(v);
  std::string s;
  do {
    s.insert(s.begin(), kDigits[u & 0xF]);
    u >>= 4;
  } while (u != 0);
  return s;
}

const char* TextKeyword(int32_t kind) {
  static constexpr const char* kKeywords[] = {"ch", "cv", "cs", "cr", "co", "cp", "ct", "ck", "cz", "c2"};
  return kind >= 1 && kind <= 9 ? kKeywords[kind] : kKeywords[0];
}

// A command line holds no byte below 32: a line end would split the command
// and a NUL cuts it. Such bytes (with a lead byte that takes one as its
// trail byte) are left out, and so is a lead byte that would pair with the
// line end.
std::string WithoutControlBytes(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (IsSjisLeadByte(b)) {
      if (i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) >= 32) out.append(text, i, 2);
      ++i;
    } else if (b >= 32) {
      out.push_back(text[i]);
    }
  }
  return out;
}

}  // namespace

void AddOutputLine(TJwcData& d, const std::string& text) {
  d.Output.push_back({CutToContentLength(WithoutControlBytes(text)), false});
}

void OutLayerGroup(TJwcData& d, int32_t group) {
  if (!d.MustGroup && group == d.CurGroup) return;
  AddOutputLine(d, "lg" + Hex(group));
  d.CurGroup = group;
  d.MustGroup = false;
  d.MustLayer = true;
}

void OutLayer(TJwcData& d, int32_t layer) {
  if (!d.MustLayer && layer == d.CurLayer) return;
  AddOutputLine(d, "ly" + Hex(layer));
  d.CurLayer = layer;
  d.MustLayer = false;
}

int32_t MapColorNo(const TJwcData& d, int32_t n) {
  if (n <= 0) return d.FirstColor;
  if (n <= 9) return n;
  return n > INT32_MAX - 91 ? n : n + 91;
}

int32_t MapLineTypeNo(const TJwcData& d, int32_t n) {
  if (n <= 0) return d.FirstLineType;
  if (n <= 9) return n;
  if (n <= 18) return n + 1;
  return n > INT32_MAX - 12 ? n : n + 12;
}

void OutColor(TJwcData& d, int32_t number, int32_t map) {
  const int32_t c = map == 1 ? MapColorNo(d, number) : number;
  if (!d.MustColor && c == d.CurColor) return;
  AddOutputLine(d, "lc" + std::to_string(c));
  d.CurColor = c;
  d.MustColor = false;
}

void OutLineType(TJwcData& d, int32_t number, int32_t map) {
  const int32_t t = map == 1 ? MapLineTypeNo(d, number) : number;
  if (!d.MustLineType && t == d.CurLineType) return;
  AddOutputLine(d, "lt" + std::to_string(t));
  d.CurLineType = t;
  d.MustLineType = false;
}

void OutLineWidth(TJwcData& d, int32_t width) {
  if (width == -1) width = d.FirstLineWidth;
  if (width < 0 || width > 30000) width = 0;
  if (!d.MustLineWidth && width == d.CurLineWidth) return;
  AddOutputLine(d, "lw" + std::to_string(width));
  d.CurLineWidth = width;
  d.MustLineWidth = false;
}

void OutTextType(TJwcData& d, int32_t type, int32_t color, int32_t map, double width, double height,
                 double spacing) {
  if (map == 1) color = MapColorNo(d, color);
  if (type < 0 || type > 10) {
    type = d.FirstTextType;
    // A first text type that is itself out of range stands for type 1.
    if (type < 0 || type > 10) type = 1;
    if (type == 0) {
      width = d.FirstFreeText.Width;
      height = d.FirstFreeText.Height;
      spacing = d.FirstFreeText.Spacing;
      color = d.FirstFreeText.Color;
    }
  }
  const TFreeTextSize size{width, height, spacing, color};
  const bool due = d.MustTextType || type != d.CurTextType || (type == 0 && !(size == d.CurFreeText));
  if (!due) return;
  if (type == 0) {
    AddOutputLine(d, "cn0 " + Num(width) + " " + Num(height) + " " + Num(spacing) + " " + std::to_string(color));
    d.CurFreeText = size;
  } else {
    AddOutputLine(d, "cn" + std::to_string(type));
  }
  d.CurTextType = type;
  d.MustTextType = false;
}

void OutCcValue(TJwcData& d, int32_t n) {
  if (n < 0 || n > 8) n = 0;
  if (!d.MustCc && n == d.CurCc) return;
  AddOutputLine(d, "cc" + std::to_string(n));
  d.CurCc = n;
  d.MustCc = false;
}

void OutFontName(TJwcData& d, const std::string& name) {
  const std::string font = name.empty() || name == "<>" ? d.FirstFont : name;
  if (!d.MustFont && font == d.CurFont) return;
  AddOutputLine(d, "cn\"$" + font);
  d.CurFont = font;
  d.MustFont = false;
}

void OutLine(TJwcData& d, double x1, double y1, double x2, double y2) {
  if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2)) return;
  if (std::fabs(x2 - x1) < 1e-8 && std::fabs(y2 - y1) < 1e-8) return;
  AddOutputLine(d, Num(x1) + " " + Num(y1) + " " + Num(x2) + " " + Num(y2));
}

void OutText(TJwcData& d, int32_t kind, const std::string& text, double x, double y, double dx, double dy) {
  if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(dx) || !std::isfinite(dy)) return;
  if (std::fabs(dx) <= 1e-8 && std::fabs(dy) <= 1e-8) return;
  if (RemoveSpaces(text).empty()) return;
  AddOutputLine(d, std::string(TextKeyword(kind)) + " " + Num(x) + " " + Num(y) + " " + Num(dx) + " " + Num(dy) +
                       " \"");
  d.Output.back().JoinsNext = true;
  AddOutputLine(d, text);
}

void ResetOutputAttributes(TJwcData& d) {
  d.MustGroup = d.MustLayer = d.MustColor = d.MustLineType = d.MustLineWidth = true;
  d.MustTextType = d.MustCc = d.MustFont = true;
  d.CurGroup = 0;
  d.CurLayer = 0;
  d.CurColor = 1;
  d.CurLineType = 1;
  d.CurLineWidth = 0;
  d.CurTextType = 1;
  d.CurFreeText = TFreeTextSize{};
  d.CurCc = 0;
  d.CurFont = kDefaultFont;
  d.PointCode = 1;
  d.ExtColor = 0;
}

std::string JwcFileContents(const TJwcData& d) {
  if (d.Output.empty()) return "hq\r\n";
  std::string out;
  for (size_t i = 0; i < d.Output.size(); ++i) {
    out += d.Output[i].Text;
    // Only a text command's keyword part is joined to the text behind it.
    if (d.Output[i].JoinsNext && i + 1 < d.Output.size()) {
      out += d.Output[++i].Text;
    }
    out += "\r\n";
  }
  return out;
}

bool WriteJwcFile(const TJwcData& d, const std::filesystem::path& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (WriteFileReplacing(path, JwcFileContents(d), ec)) return true;
  // Jw_cad must not take its own input back as commands, so the old file
  // goes; one the user protected from writing stays.
  const fs::file_status status = fs::status(path, ec);
  constexpr fs::perms kWrite = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  if (fs::is_regular_file(status) && (status.permissions() & kWrite) != fs::perms::none) fs::remove(path, ec);
  return false;
}
