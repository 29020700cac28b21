// Saving a drawing as a JWW file of a chosen version. The whole file is
// built in memory first, then put in place by WriteFileReplacing, so a
// failed save never leaves a partial file and never costs the file that was
// there before.
#include <algorithm>
#include <cerrno>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "byte_io.h"
#include "file_replace.h"
#include "func.h"
#include "jww_data.h"
#include "jww_write_context.h"

namespace {

// The 16-bit length form holds at most 65,533 bytes: after the byte 255 the
// length 0xFFFE marks the archive's Unicode form and 0xFFFF the 32-bit
// form, which readers do not take. Longer texts are cut to fit.
constexpr size_t kMaxStringBytes = 65533;

// An upper bound of the file size for the common case, so the buffer is
// allocated once: each element at its largest fixed size plus its strings.
size_t EstimatedFileSize(const TJwwData& d) {
  auto elements = [](const auto& holder, const std::vector<TEntJwwText>& texts,
                     const std::vector<TEntJwwDimension>& dims) {
    size_t n = holder.Lines.size() * 55 + holder.Arcs.size() * 83 + holder.Points.size() * 63 +
               holder.Solids.size() * 91 + dims.size() * 520;
    for (const TEntJwwText& t : texts) n += 100 + t.FontName.size() + t.Content.size();
    for (const TEntJwwDimension& dim : dims) n += dim.Text.FontName.size() + dim.Text.Content.size();
    return n;
  };
  size_t n = 64 * 1024 + elements(d, d.Texts, d.Dimensions) + d.BlockInserts.size() * 67;
  // A definition's own fields take at most 64 bytes beside its name.
  for (const TEntJwwBlockDef& b : d.BlockDefs) {
    const TEntJwwBlockDefElements& e = b.Elements();
    n += 64 + b.Name.size() + elements(e, e.Texts, e.Dimensions) + e.Inserts.size() * 67;
  }
  return n;
}

}  // namespace

bool TJwwData::SaveToBytes(std::vector<uint8_t>& bytes, int32_t version) {
  bytes.clear();
  LastSaveErrno = 0;
  LastSaveDroppedImages = 0;
  Header.Signature = "JwwData.";
  // Older files stop after the version; our reader rejects them.
  if (version < 220) return false;
  try {
    ByteWriter out;
    out.Buffer().reserve(EstimatedFileSize(*this));
    WriteHeader(out, version);
    JwwWriteContext ctx;
    WriteEntities(out, version, ctx);
    LastSaveDroppedImages = static_cast<int32_t>(ctx.DroppedImages);
    bytes.swap(out.Buffer());
    return true;
  } catch (const std::exception&) {
    bytes.clear();
    return false;
  }
}

bool TJwwData::SaveToFile(const std::string& path, int32_t version) {
  try {
    std::vector<uint8_t> bytes;
    if (!SaveToBytes(bytes, version)) return false;
    std::error_code error;
    const std::string_view view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (WriteFileReplacing(path, view, error)) return true;
    LastSaveErrno = error.value() != 0 ? error.value() : EIO;
    return false;
  } catch (const std::exception&) {
    return false;
  }
}

void TJwwData::SetSaveOptions(int32_t bits) { SaveOptions = (bits >= 0 && bits <= 15) ? bits : 0; }

void TJwwData::WriteCString(ByteWriter& out, const std::string& text) {
  if (text.size() > kMaxStringBytes) {
    int32_t taken = 0;
    WriteCString(out, CopyBytesSJIS(text, 1, static_cast<int32_t>(kMaxStringBytes), taken));
    return;
  }
  if (text.size() <= 254) {
    out.U8(static_cast<uint8_t>(text.size()));
  } else {
    out.U8(255);
    out.U16(static_cast<uint16_t>(text.size()));
  }
  out.Bytes(text.data(), text.size());
}

void TJwwData::WriteCount(ByteWriter& out, uint32_t count) {
  if (count <= 65534) {
    out.U16(static_cast<uint16_t>(count));
  } else {
    out.U16(0xFFFF);
    out.U32(count);
  }
}

void TJwwData::WriteClassRef(ByteWriter& out, uint32_t index) {
  if (index <= 32766) {
    out.U16(static_cast<uint16_t>(0x8000 + index));
  } else {
    out.U16(0x7FFF);
    out.U32(index | 0x80000000u);
  }
}
