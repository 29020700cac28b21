#include "saved_sheet_record.h"

#include <sys/stat.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "file_io.h"
#include "file_replace.h"
#include "settings_location.h"

namespace {

constexpr char kHeader[] = "quillmoor-saved-sheets 1\n";
// A larger record is no record of ours; it is read as empty.
constexpr int64_t kMaxRecordBytes = int64_t{32} << 20;

// One spelling per file: absolute, without "." and "..", so that "a//b" and
// "./b" find the same row.
std::string Key(const std::string& path) {
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
  return ec ? path : absolute.lexically_normal().string();
}

// FNV-1a over the bytes, continuing from hash.
uint64_t SheetBytesHash(std::string_view bytes, uint64_t hash = 14695981039346656037ull) {
  for (const char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ull;
  }
  return hash;
}

bool StatFile(const std::string& path, int64_t& bytes, int64_t& modifiedNs) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  bytes = static_cast<int64_t>(st.st_size);
  modifiedNs = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  return true;
}

bool HashFile(const std::string& path, uint64_t& hash) {
  std::FILE* f = OpenFile(path, "rb");
  if (f == nullptr) return false;
  hash = SheetBytesHash({});
  char buffer[1 << 16];
  size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0) hash = SheetBytesHash({buffer, got}, hash);
  const bool ok = !std::ferror(f);
  std::fclose(f);
  return ok;
}

// A path as one field of a line: control bytes and '%' as "%XX".
std::string Escape(const std::string& path) {
  static const char hex[] = "0123456789ABCDEF";
  std::string out;
  for (const char c : path) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x20 || b == 0x7F || b == '%') {
      out += '%';
      out += hex[b >> 4];
      out += hex[b & 15];
    } else {
      out += c;
    }
  }
  return out;
}

bool Unescape(std::string_view text, std::string& path) {
  path.clear();
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      path += text[i];
      continue;
    }
    unsigned value = 0;
    if (i + 2 >= text.size()) return false;
    const auto r = std::from_chars(text.data() + i + 1, text.data() + i + 3, value, 16);
    if (r.ec != std::errc() || r.ptr != text.data() + i + 3) return false;
    path += static_cast<char>(value);
    i += 2;
  }
  return true;
}

// The next blank-ended field of a line as a number.
template <typename T>
bool TakeNumber(std::string_view& line, T& value, int base = 10) {
  const size_t blank = line.find(' ');
  if (blank == std::string_view::npos) return false;
  const auto r = std::from_chars(line.data(), line.data() + blank, value, base);
  if (r.ec != std::errc() || r.ptr != line.data() + blank) return false;
  line.remove_prefix(blank + 1);
  return true;
}

}  // namespace

std::string SavedSheetRecordLocation() {
  const std::string folder = UserProgramFolder("XDG_STATE_HOME", ".local/state");
  return folder.empty() ? std::string() : folder + "saved-sheets.txt";
}

void TSavedSheetRecord::Open(const std::string& file) {
  file_ = file;
  if (file_.empty()) return;
  sheets_ = Read(file_);
  KeepNewest(sheets_);
  notes_.clear();
  nextSerial_ = 0;
  for (const auto& row : sheets_) nextSerial_ = std::max(nextSerial_, row.second.Serial + 1);
}

bool TSavedSheetRecord::HoldsUnchanged(const std::string& path) const {
  const auto row = sheets_.find(Key(path));
  if (row == sheets_.end()) return false;
  int64_t bytes = 0, modifiedNs = 0;
  uint64_t hash = 0;
  if (!StatFile(path, bytes, modifiedNs) || bytes != row->second.Bytes || modifiedNs != row->second.ModifiedNs)
    return false;
  return HashFile(path, hash) && hash == row->second.Hash;
}

void TSavedSheetRecord::Note(const std::string& path, std::string_view bytes) {
  TSheet sheet;
  const std::string key = Key(path);
  if (!StatFile(path, sheet.Bytes, sheet.ModifiedNs) || sheet.Bytes != static_cast<int64_t>(bytes.size())) {
    sheets_.erase(key);  // what is there now is not known to be the sheet
    return;
  }
  sheet.Hash = SheetBytesHash(bytes);
  Put(sheets_, key, sheet);
  notes_.emplace_back(key, sheet);
  if (sheets_.size() > 2 * kMaxSavedSheets) KeepNewest(sheets_);  // now and then: the file keeps the bound
}

bool TSavedSheetRecord::Save() {
  if (file_.empty()) notes_.clear();
  if (notes_.empty()) return true;
  TSheets merged = Read(file_);
  nextSerial_ = 0;
  for (const auto& row : merged) nextSerial_ = std::max(nextSerial_, row.second.Serial + 1);
  for (const auto& [key, sheet] : notes_) Put(merged, key, sheet);
  KeepNewest(merged);

  std::vector<std::pair<uint64_t, const std::string*>> order;
  for (const auto& row : merged) order.emplace_back(row.second.Serial, &row.first);
  std::sort(order.begin(), order.end());
  std::string text = kHeader;
  for (const auto& [serial, key] : order) {
    const TSheet& s = merged.at(*key);
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(s.Hash));
    text += std::to_string(s.Bytes) + ' ' + std::to_string(s.ModifiedNs) + ' ' + hash + ' ' + Escape(*key) + '\n';
  }
  sheets_ = std::move(merged);
  MakeFolders(std::filesystem::path(file_).parent_path().string());
  std::error_code error;
  if (WriteFileReplacing(file_, text, error)) {
    notes_.clear();
    return true;
  }
  // Kept for the next try, the newest only: the state folder may stay unwritable.
  if (notes_.size() > kMaxSavedSheets) notes_.erase(notes_.begin(), notes_.end() - kMaxSavedSheets);
  return false;
}

TSavedSheetRecord::TSheets TSavedSheetRecord::Read(const std::string& file) {
  TSheets sheets;
  std::vector<uint8_t> bytes;
  const int64_t size = FileSize(file);
  if (size < 0 || size > kMaxRecordBytes || !ReadWholeFile(file, bytes)) return sheets;
  std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (text.substr(0, sizeof kHeader - 1) != kHeader) return sheets;
  text.remove_prefix(sizeof kHeader - 1);
  uint64_t serial = 0;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    if (end == std::string_view::npos) break;  // a cut last line
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end + 1);
    TSheet sheet;
    std::string path;
    if (!TakeNumber(line, sheet.Bytes) || !TakeNumber(line, sheet.ModifiedNs) || !TakeNumber(line, sheet.Hash, 16) ||
        !Unescape(line, path) || path.empty() || path[0] != '/')
      continue;
    sheet.Serial = serial++;
    sheets[path] = sheet;
    if (sheets.size() >= 2 * kMaxSavedSheets) KeepNewest(sheets);
  }
  return sheets;
}

void TSavedSheetRecord::Put(TSheets& sheets, const std::string& key, TSheet sheet) {
  sheet.Serial = nextSerial_++;
  sheets[key] = sheet;
}

void TSavedSheetRecord::KeepNewest(TSheets& sheets) {
  if (sheets.size() <= kMaxSavedSheets) return;
  std::vector<uint64_t> serials;
  serials.reserve(sheets.size());
  for (const auto& row : sheets) serials.push_back(row.second.Serial);
  const auto cut = serials.end() - static_cast<std::ptrdiff_t>(kMaxSavedSheets);
  std::nth_element(serials.begin(), cut, serials.end());
  const uint64_t oldestKept = *cut;
  for (auto row = sheets.begin(); row != sheets.end();)
    row = row->second.Serial < oldestKept ? sheets.erase(row) : std::next(row);
}
