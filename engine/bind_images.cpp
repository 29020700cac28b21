#include "counted_rows.h"
#include "bind_images.h"

#include <algorithm>

#include "file_io.h"
#include "func.h"
#include "gzip_unpack.h"
#include "temp_names.h"

TBindImageGlobals BindImg;

namespace {

size_t BindImageRows() { return CountedRows(BindImg.BindImageCount, BindImg.BindImages); }

// The block size of TempFolder's disk, once learned; the common one before.
uint64_t BlockBytes() { return BindImg.BlockBytes > 0 ? BindImg.BlockBytes : 4096; }

// share percent of n, without overflow.
uint64_t PercentOf(uint64_t n, uint32_t share) {
  share = std::min<uint32_t>(share, 100);
  return n / 100 * share + n % 100 * share / 100;
}

}  // namespace

void ClearBindImages() {
  BindImg.BindImages.clear();
  BindImg.BindImageCount = 0;
  BindImg.BytesWritten = 0;
  BindImg.InodeFloor = UINT64_MAX;
  BindImg.BlockBytes = 0;
}

uint64_t BindImageRoom() {
  uint64_t room = BindImg.ByteBudget > BindImg.BytesWritten ? BindImg.ByteBudget - BindImg.BytesWritten : 0;
  TFolderSpace space;
  if (FolderSpaceOf(BindImg.TempFolder, space)) {
    room = std::min(room, space.RoomAbove(BindImg.DiskReserve));
    if (space.BlockBytes > 0) BindImg.BlockBytes = space.BlockBytes;
    // A file system that counts no inodes (0 in all) has no inode limit.
    if (space.TotalInodes > 0) {
      if (BindImg.InodeFloor == UINT64_MAX)
        BindImg.InodeFloor = std::min(PercentOf(space.FreeInodes, BindImg.InodeReservePercent), BindImg.InodeReserveCap);
      if (space.FreeInodes <= BindImg.InodeFloor) return 0;  // the next file would pass the reserve
    }
  }
  return room / BlockBytes() * BlockBytes();
}

void ChargeBindImageBytes(uint64_t bytes) {
  const uint64_t block = BlockBytes();
  const uint64_t blocks = std::max<uint64_t>(1, bytes / block + (bytes % block != 0));
  const uint64_t charge = blocks <= UINT64_MAX / block ? blocks * block : UINT64_MAX;
  BindImg.BytesWritten = charge < UINT64_MAX - BindImg.BytesWritten ? BindImg.BytesWritten + charge : UINT64_MAX;
}

std::string BindImageFileName(const std::string& name) {
  if (name.find('\0') != std::string::npos) return std::string();
  // Characters are taken as the conversion to a native name takes them: a
  // lead byte without a trail byte stands alone, so a "/" after it is a
  // separator here as it is in the converted path.
  size_t start = 0;
  for (size_t i = 0; i < name.size();) {
    const auto b = static_cast<unsigned char>(name[i]);
    if (IsSjisLeadByte(b) && i + 1 < name.size() && IsSjisTrailByte(static_cast<unsigned char>(name[i + 1]))) {
      i += 2;  // a trail byte 0x5C is part of the character, not a separator
      continue;
    }
    ++i;
    if (b == '/' || b == '\\' || b == ':') start = i;
  }
  std::string bare = start < name.size() ? name.substr(start) : std::string();
  if (bare == "." || bare == ".." || IsReservedTempName(bare)) return std::string();
  // The name is used only as converted: whatever the conversion makes of
  // it must still be one name inside the folder.
  if (PathFromSjisText(bare).find('/') != std::string::npos) return std::string();
  return bare;
}

bool HeldImageKey(const std::string& content, std::string& key) {
  const std::string& c = content;
  if (c.size() <= 10 || c.compare(0, kHeldImageTextPrefixLen, kHeldImageTextPrefix) != 0) return false;
  const size_t comma = c.find(',', kHeldImageTextPrefixLen);
  if (comma == std::string::npos) return false;
  key = UpperAsciiSJIS(c.substr(kHeldImageTextPrefixLen, comma - kHeldImageTextPrefixLen));
  return true;
}

std::string HeldImagePath(const std::string& name) { return BindImg.TempFolder + PathFromSjisText(name); }

bool IsGzName(const std::string& name) {
  const size_t n = name.size();
  return n >= 3 && name[n - 3] == '.' && (name[n - 2] == 'g' || name[n - 2] == 'G') &&
         (name[n - 1] == 'z' || name[n - 1] == 'Z');
}

int32_t ExtractBindImages() {
  int32_t failed = 0;
  const size_t rows = BindImageRows();
  for (size_t i = 0; i < rows; ++i) {
    const std::string name = BindImageFileName(BindImg.BindImages[i].Name);
    if (name.empty() || !IsGzName(name)) continue;
    const std::string gzPath = HeldImagePath(name);
    if (!FileExists(gzPath)) continue;
    const std::string defaultName = name.substr(0, name.size() - 3);
    const uint64_t room = std::min(kMaxBindImageUnpackedBytes, BindImageRoom());
    // No room: not even an empty file (it would still take an inode).
    TGunzipResult r;
    r.Status = TGunzipStatus::TooLarge;
    if (room > 0) r = GunzipFileToFolder(gzPath, BindImg.TempFolder, defaultName, room);
    if (r.Status == TGunzipStatus::Ok) {
      ChargeBindImageBytes(r.OutputBytes);
      BindImg.UnpackedFiles.push_back(r.OutputName);
    } else {
      ++failed;
    }
  }
  return failed;
}

void DeleteBindImageGzFiles() {
  const size_t rows = BindImageRows();
  for (size_t i = 0; i < rows; ++i) {
    const std::string name = BindImageFileName(BindImg.BindImages[i].Name);
    if (name.empty() || !IsGzName(name)) continue;
    const std::string path = HeldImagePath(name);
    if (FileExists(path)) RemoveFile(path);
  }
}

void DeleteBindImageFiles() {
  const size_t rows = BindImageRows();
  auto remove = [](const std::string& name) {
    if (name.empty()) return;
    const std::string path = HeldImagePath(name);
    if (FileExists(path)) RemoveFile(path);
  };
  for (size_t i = 0; i < rows; ++i) {
    std::string name = BindImageFileName(BindImg.BindImages[i].Name);
    if (IsGzName(name)) name = BindImageFileName(name.substr(0, name.size() - 3));
    remove(name);
  }
  for (const std::string& name : BindImg.UnpackedFiles) remove(BindImageFileName(name));
  BindImg.UnpackedFiles.clear();
}

void ReplaceRefString(std::string& text) {
  if (BindImg.RefStrEnabled != 1) return;
  if (text.size() < 2 || text[0] != '%' || text[1] != '%') return;
  const size_t rows = CountedRows(BindImg.RefStrCount, BindImg.RefStrList);
  for (size_t i = 0; i < rows; ++i) {
    if (BindImg.RefStrList[i].Name != text) continue;
    int32_t taken = 0;
    text = CopyBytesSJIS(BindImg.RefStrList[i].Value, 1, 255, taken);
    return;
  }
}
