#include "text_file.h"

#include <exception>
#include <system_error>

#include "regular_file.h"

namespace fs = std::filesystem;

namespace {

// Far above any settings file either program writes (a few hundred bytes).
constexpr size_t kMaxTextFileBytes = size_t{1} << 20;

}  // namespace

bool ReadFirstLines(const fs::path& path, size_t maxLines, size_t maxLineBytes, std::vector<std::string>& lines,
                    bool& moreAfter) {
  lines.clear();
  moreAfter = false;
  std::string bytes;
  bool cut = false;
  const bool read = ReadRegularFile(path, kMaxTextFileBytes, bytes, cut);
  std::string line;
  bool inLine = false;  // bytes seen since the last line end
  bool lastWasCr = false;
  for (const char c : bytes) {
    if (c == '\n' && lastWasCr) {
      lastWasCr = false;
      continue;
    }
    lastWasCr = c == '\r';
    if (lines.size() == maxLines) {
      moreAfter = true;
      return true;
    }
    if (c == '\n' || c == '\r') {
      lines.push_back(line);
      line.clear();
      inLine = false;
      continue;
    }
    inLine = true;
    if (line.size() < maxLineBytes) line.push_back(c);
  }
  // A file cut at the cap ends as a read error does: the lines before count.
  if (!read || cut) return false;
  if (inLine && lines.size() < maxLines) lines.push_back(line);
  return true;
}

fs::path FindIgnoringAsciiCase(const fs::path& folder, const std::string& name) {
  auto lower = [](std::string s) {
    for (char& c : s) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return s;
  };
  const std::string wanted = lower(name);
  // The name as the folder lists it, so the file is written back under its
  // own spelling also where the file system ignores case.
  fs::path match;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    try {
      const std::u8string u8 = it->path().filename().u8string();
      const std::string found(u8.begin(), u8.end());
      if (found == name) return it->path();
      if (match.empty() && lower(found) == wanted) match = it->path();
    } catch (const std::exception&) {
      // A name that does not convert cannot be the one we look for.
    }
  }
  return match.empty() ? folder / name : match;
}
