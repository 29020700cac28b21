// Lines of the small text files the program reads (settings, Jw_cad's
// interface and settings files, the "%%" table): ended by CR LF, LF or CR,
// each cut at 64 KiB so that a damaged file cannot make us allocate without
// bound (the rest of such a line is skipped).
#pragma once

#include <cstdio>
#include <string>

#include "func.h"

class TLineReader {
 public:
  static constexpr size_t kMaxLineBytes = 64 * 1024;

  explicit TLineReader(std::FILE* f) : f_(f) {}
  // False at the end of the file (or on an input error) before any byte.
  bool Next(std::string& line) {
    line.clear();
    int c = std::fgetc(f_);
    if (c == EOF) return false;
    while (c != EOF && c != '\n' && c != '\r') {
      if (line.size() < kMaxLineBytes) line += static_cast<char>(c);
      c = std::fgetc(f_);
    }
    if (c == '\r') {
      const int n = std::fgetc(f_);
      if (n != '\n' && n != EOF) std::ungetc(n, f_);
    }
    return true;
  }

 private:
  std::FILE* f_;
};

// Blanks and control characters (bytes up to 0x20) removed at both ends.
inline std::string TrimBlanks(const std::string& s) {
  size_t b = 0;
  size_t e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  return s.substr(b, e - b);
}

