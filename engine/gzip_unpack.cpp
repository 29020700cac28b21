#include "gzip_unpack.h"

#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "bind_images.h"
#include "file_io.h"
#include "new_file.h"

namespace {

constexpr size_t kChunk = 64 * 1024;
constexpr unsigned kNameMax = 1024;  // longer stored names are ignored

class TInflater {
 public:
  TInflater() : nameBuf_(kNameMax + 1, 0) {
    ok_ = inflateInit2(&zs_, 15 + 16) == Z_OK;  // gzip wrapper only
    if (!ok_) return;
    head_.name = nameBuf_.data();
    head_.name_max = kNameMax;
    ok_ = inflateGetHeader(&zs_, &head_) == Z_OK;
  }
  ~TInflater() { inflateEnd(&zs_); }

  bool ok_ = false;
  z_stream zs_{};
  gz_header head_{};
  std::vector<unsigned char> nameBuf_;
};

struct THeaderFacts {
  bool HasName = false;
  std::string Name;
  time_t ModTime = 0;
};

// Decodes every member of the input into out; fills the first member's
// header facts.
TGunzipStatus Inflate(std::FILE* in, TNewFile& out, uint64_t maxOutputBytes, THeaderFacts& facts,
                      uint64_t& total) {
  TInflater inf;
  if (!inf.ok_) return TGunzipStatus::DataError;
  z_stream& zs = inf.zs_;
  std::vector<unsigned char> inBuf(kChunk), outBuf(kChunk);
  total = 0;
  bool firstMember = true;
  bool eof = false;

  auto refill = [&]() -> bool {
    if (zs.avail_in > 0 || eof) return true;
    const size_t n = std::fread(inBuf.data(), 1, inBuf.size(), in);
    if (std::ferror(in)) return false;
    if (n == 0) eof = true;
    zs.next_in = inBuf.data();
    zs.avail_in = static_cast<uInt>(n);
    return true;
  };

  for (;;) {
    if (!refill()) return TGunzipStatus::OpenFailed;
    zs.next_out = outBuf.data();
    zs.avail_out = static_cast<uInt>(outBuf.size());
    const int rc = inflate(&zs, Z_NO_FLUSH);
    const size_t produced = outBuf.size() - zs.avail_out;
    if (produced > maxOutputBytes - total) return TGunzipStatus::TooLarge;
    total += produced;
    if (produced > 0 && !out.Write(outBuf.data(), produced)) return TGunzipStatus::WriteFailed;

    if (rc == Z_STREAM_END) {
      if (firstMember) {
        firstMember = false;
        if (inf.head_.done == 1 && inf.head_.name != Z_NULL) {
          const size_t len = ::strnlen(reinterpret_cast<const char*>(inf.nameBuf_.data()), kNameMax);
          if (len < kNameMax) {
            facts.HasName = true;
            facts.Name.assign(reinterpret_cast<const char*>(inf.nameBuf_.data()), len);
          }
        }
        facts.ModTime = static_cast<time_t>(inf.head_.time);
      }
      if (!refill()) return TGunzipStatus::OpenFailed;
      if (zs.avail_in == 0) return TGunzipStatus::Ok;
      if (zs.next_in[0] != 0x1f) return TGunzipStatus::Ok;  // trailing bytes, not a member
      if (inflateReset(&zs) != Z_OK) return TGunzipStatus::DataError;
      continue;
    }
    if (rc == Z_OK) continue;  // progress was made
    // No progress: more input is needed. At the end of the file the stream
    // was cut short (output still held inside zlib came out with Z_OK).
    if (rc == Z_BUF_ERROR && zs.avail_in == 0 && !eof) continue;
    return TGunzipStatus::DataError;
  }
}

bool IsUsableName(const std::string& name) {
  return !name.empty() && BindImageFileName(name) == name;
}

}  // namespace

TGunzipResult GunzipFileToFolder(const std::string& gzPath, const std::string& folder,
                                 const std::string& defaultName, uint64_t maxOutputBytes) {
  TGunzipResult result;
  std::FILE* in = OpenFile(gzPath, "rb");
  if (!in) {
    result.Status = TGunzipStatus::OpenFailed;
    return result;
  }
  // The output's name is known only from the stream's header: the file is
  // made in the folder under a temporary name and put in place under the
  // final one, which must not be taken yet.
  TNewFile out(folder);
  if (!out.Ok()) {
    std::fclose(in);
    result.Status = TGunzipStatus::WriteFailed;
    return result;
  }
  THeaderFacts facts;
  uint64_t total = 0;
  const TGunzipStatus status = Inflate(in, out, maxOutputBytes, facts, total);
  std::fclose(in);
  if (status != TGunzipStatus::Ok) {
    result.Status = status;
    return result;
  }

  std::string finalName;
  bool applyTime = false;
  if (facts.HasName) {
    const std::string stored = BindImageFileName(facts.Name);
    if (!stored.empty() && folder + PathFromSjisText(stored) != gzPath) {
      finalName = stored;
      applyTime = facts.ModTime != 0;  // 0: the header carries no time
    }
  }
  if (finalName.empty()) {
    if (!IsUsableName(defaultName)) {
      result.Status = TGunzipStatus::NoName;
      return result;
    }
    finalName = defaultName;
  }
  if (applyTime && !out.SetModificationTime(facts.ModTime)) {
    result.Status = TGunzipStatus::WriteFailed;
    return result;
  }
  if (!out.PlaceAs(folder + PathFromSjisText(finalName))) {
    result.Status = TGunzipStatus::WriteFailed;
    return result;
  }
  result.Status = TGunzipStatus::Ok;
  result.OutputName = finalName;
  result.OutputBytes = total;
  return result;
}
