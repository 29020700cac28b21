#include "counted_rows.h"
#include "jww_writer_images.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "bind_images.h"
#include "byte_io.h"
#include "file_io.h"
#include "func.h"
#include "held_image_index.h"
#include "jww_data.h"
#include "jww_write_context.h"

namespace {

// Only a bare file name may be looked up in the temporary folder: a folder
// part would reach outside it.
bool IsPlainFileName(const std::string& name) { return !name.empty() && BindImageFileName(name) == name; }

std::vector<std::string> UpperNames(const std::vector<TBindImageType>& rows, size_t count) {
  std::vector<std::string> upper;
  upper.reserve(count);
  for (size_t i = 0; i < count; ++i) upper.push_back(UpperAsciiSJIS(rows[i].Name));
  return upper;
}

class ImageFlagger {
 public:
  explicit ImageFlagger(std::vector<TBindImageType>& rows, size_t count)
      : rows_(rows), index_(UpperNames(rows, count)) {}

  // A held-image text flags the held image it names.
  void Text(const TEntJwwText& t) {
    std::string key;
    if (!HeldImageKey(t.Content, key)) return;
    const int32_t row = index_.Find(key);
    if (row >= 0) rows_[static_cast<size_t>(row)].Used = 1;
  }

  void Texts(const std::vector<TEntJwwOrder>& order, size_t rows, const std::vector<TEntJwwText>& texts) {
    for (size_t i = 0; i < rows; ++i) {
      const TEntJwwOrder& o = order[i];
      if (o.Kind == kKindText && o.Row >= 0 && static_cast<size_t>(o.Row) < texts.size())
        Text(texts[static_cast<size_t>(o.Row)]);
    }
  }

 private:
  std::vector<TBindImageType>& rows_;
  THeldImageIndex index_;
};

}  // namespace

uint32_t WriteImageSection(const TJwwData& d, ByteWriter& out) {
  std::vector<TBindImageType>& rows = BindImg.BindImages;
  const size_t count = CountedRows(BindImg.BindImageCount, rows.size());
  for (size_t i = 0; i < count; ++i) rows[i].Used = 0;

  ImageFlagger flagger(rows, count);
  flagger.Texts(d.EntityOrder, CountedRows(d.EntityOrderCount, d.EntityOrder.size()), d.Texts);
  const size_t defs = CountedRows(d.BlockListCount, d.BlockDefs.size());
  for (size_t i = 0; i < defs; ++i) {
    const TEntJwwBlockDefElements& b = d.BlockDefs[i].Elements();
    flagger.Texts(b.Order, CountedRows(b.OrderCount, b.Order.size()), b.Texts);
  }

  // Only files that are there, under a bare name, are embedded.
  const bool keep = BindImg.BindImageExtractFlag != 0 || BindImg.BindImageKeepFlag != 0;
  uint32_t flagged = 0;
  uint32_t dropped = 0;
  for (size_t i = 0; i < count; ++i) {
    TBindImageType& r = rows[i];
    if (!r.Used) continue;
    if (!keep) {
      r.Used = 0;
    } else if (!IsPlainFileName(r.Name) || !FileExists(HeldImagePath(r.Name))) {
      r.Used = 0;
      ++dropped;  // a text refers to it, yet it cannot be embedded
    }
    flagged += r.Used;
  }

  out.U32(flagged);
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i < count; ++i) {
    const TBindImageType& r = rows[i];
    if (!r.Used) continue;
    if (!ReadWholeFile(HeldImagePath(r.Name), bytes))
      throw JwwWriteError("held image cannot be read");
    if (bytes.size() > std::numeric_limits<uint32_t>::max()) throw JwwWriteError("held image too large");
    TJwwData::WriteCString(out, r.Name);
    out.U32(static_cast<uint32_t>(bytes.size()));
    out.Bytes(bytes.data(), bytes.size());
  }
  return dropped;
}
