#include "label_lines.h"

#include <vector>

#include "func.h"

namespace {

const std::string kWideSpace = "\x81\x40";  // "　"

bool EndsWithWideSpace(const std::string& s) {
  return s.size() >= 2 && s.compare(s.size() - 2, 2, kWideSpace) == 0;
}

std::string WithoutWideSpace(std::string s) {
  if (EndsWithWideSpace(s)) s.resize(s.size() - 2);
  return s;
}

// The line cut after each of its ideographic spaces, walked by character so
// that a trail byte is never taken for the start of a space.
std::vector<std::string> Pieces(const std::string& line) {
  std::vector<std::string> pieces(1);
  for (size_t i = 0; i < line.size();) {
    const size_t n = IsSjisLeadByte(static_cast<unsigned char>(line[i])) && i + 1 < line.size() ? 2 : 1;
    pieces.back().append(line, i, n);
    i += n;
    if (n == 2 && EndsWithWideSpace(pieces.back()) && i < line.size()) pieces.emplace_back();
  }
  return pieces;
}

std::string BreakLine(const std::string& line, int32_t width, const std::function<int32_t(const std::string&)>& widthOf) {
  std::string result, current;
  for (const std::string& piece : Pieces(line)) {
    if (!current.empty() && widthOf(WithoutWideSpace(current + piece)) > width) {
      result += WithoutWideSpace(current) + "\r\n";
      current.clear();
    }
    current += piece;
  }
  return result + current;
}

}  // namespace

std::string BreakAtWideSpaces(const std::string& text, int32_t width,
                              const std::function<int32_t(const std::string&)>& widthOf) {
  std::string result;
  for (size_t start = 0;;) {
    const size_t end = text.find("\r\n", start);
    result += BreakLine(text.substr(start, end == std::string::npos ? std::string::npos : end - start), width, widthOf);
    if (end == std::string::npos) return result;
    result += "\r\n";
    start = end + 2;
  }
}
