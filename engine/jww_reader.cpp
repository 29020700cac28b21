// Loading a JWW file: the file is read whole and parsed from memory; then
// the facts of the drawing are published into the drawing globals and the
// block tree is built. Faults inside the parse surface as JwwReadError and
// end the load with false; nothing escapes LoadFromFile or LoadFromBytes.
#include <new>
#include <vector>

#include "byte_io.h"
#include "file_io.h"
#include "func.h"
#include "gval.h"
#include "jww_data.h"
#include "sjis.h"

namespace {

enum class ParseOutcome { Complete, Failed, VersionTooOld };

ParseOutcome Parse(TJwwData& d, const uint8_t* data, size_t size) {
  try {
    ByteReader in(data, size);
    d.ReadHeader(in);
    if (d.Header.Version < 220) return ParseOutcome::VersionTooOld;
    d.ReadEntities(in);
    return ParseOutcome::Complete;
  } catch (const JwwReadError&) {  // damaged or cut file
  } catch (const std::bad_alloc&) {  // counts asking for more than memory holds
  }
  return ParseOutcome::Failed;
}

std::string TwoDigits(int32_t n) { return (n < 10 ? "0" : "") + std::to_string(n); }

// The archive's Unicode form after its 0xFF 0xFFFE marker: a length in
// UTF-16 code units (one byte below 255, else 255 and a uint16, which 0xFFFF
// extends to a uint32), then the units; stored as Shift-JIS.
std::string ReadUnicodeString(ByteReader& in) {
  uint32_t units = in.U8();
  if (units == 255) {
    units = in.U16();
    if (units == 0xFFFF) units = in.U32();
  }
  const uint8_t* p = in.Take(static_cast<size_t>(units) * 2);
  std::u16string text(units, u'\0');
  for (uint32_t i = 0; i < units; ++i) text[i] = static_cast<char16_t>(p[2 * i] | p[2 * i + 1] << 8);
  return Utf16ToSjis(text.data(), text.size());
}

// True when StripControlChars would give the text back unchanged: no
// single-byte character below 32 and no lead byte without its trail byte.
bool IsFreeOfControlChars(const std::string& s) {
  const size_t n = s.size();
  for (size_t i = 0; i < n;) {
    const auto b = static_cast<unsigned char>(s[i]);
    if (IsSjisLeadByte(b)) {
      if (i + 1 >= n) return false;
      i += 2;
    } else {
      if (b < 0x20) return false;
      ++i;
    }
  }
  return true;
}

}  // namespace

// Publishes the loaded drawing into the drawing globals (edit time, memo
// lines, print scale) and builds the block tree from what was read.
static void PublishLoadedDrawing(TJwwData& d) {
  const int32_t seconds = d.Header.DrawingTime > 0 ? d.Header.DrawingTime : 0;
  Gval.DrawingEditTime = std::to_string(seconds / 3600) + " : " + TwoDigits((seconds / 60) % 60);

  const std::string& memo = d.Header.Memo;
  const size_t crlf = memo.find("\r\n");
  if (crlf == std::string::npos) {
    Gval.DrawingMemo1 = memo;
    Gval.DrawingMemo2.clear();
  } else {
    Gval.DrawingMemo1 = memo.substr(0, crlf);
    Gval.DrawingMemo2 = memo.substr(crlf + 2);
  }

  Gval.PrintScale = d.Header.PrintScale;
  d.BuildBlockTree();
}

bool TJwwData::LoadFromFile(const std::string& path) {
  Clear();
  Gval.DrawingFileName = path;
  ParseOutcome outcome = ParseOutcome::Failed;
  try {
    std::vector<uint8_t> bytes;
    if (ReadWholeFile(path, bytes)) outcome = Parse(*this, bytes.data(), bytes.size());
  } catch (const std::bad_alloc&) {  // only an allocation for the file image can fail here
  }
  if (outcome == ParseOutcome::VersionTooOld) return false;
  try {
    PublishLoadedDrawing(*this);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return outcome == ParseOutcome::Complete;
}

bool TJwwData::LoadFromBytes(const uint8_t* data, size_t size) {
  Clear();
  return Parse(*this, data, size) == ParseOutcome::Complete;
}

// One byte n below 255: n bytes follow. 255: a uint16 length follows, where
// 0xFFFE marks the Unicode form and 0xFFFF the 32-bit length form, which is
// not accepted (the load fails there).
std::string TJwwData::ReadCString(ByteReader& in) {
  uint32_t n = in.U8();
  if (n == 255) {
    n = in.U16();
    if (n == 0xFFFE) return ReadUnicodeString(in);
    if (n == 0xFFFF) throw JwwReadError("string of 65535 bytes or more", in.Offset());
  }
  const uint8_t* text = in.Take(n);
  return std::string(reinterpret_cast<const char*>(text), n);
}

// Almost every stored string is clean already; only the others are rebuilt
// without their control characters.
std::string TJwwData::ReadString(ByteReader& in) {
  std::string s = ReadCString(in);
  return IsFreeOfControlChars(s) ? s : StripControlChars(s);
}
