// Images held inside drawings (the image section of version 700 files):
// the one list shared by both drawing models, the temporary folder they are
// extracted into, gzip unpacking and the delete routines, and the "%%"
// replacement pairs that the writer may apply to text contents.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "file_io.h"

struct TBindImageType {
  std::string Name;  // file name as stored in the drawing, e.g. "pic.bmp.gz"
  int32_t Size = 0;  // byte size of the stored file
  uint8_t Used = 0;  // set by the writer when a text refers to the image
};

struct TRefStrList {
  std::string Name;  // key beginning "%%"
  std::string Value;
};

// What one drawing load may write into TempFolder in all: the held images
// the reader writes and what ExtractBindImages unpacks from them. An image
// past it is not written and draws as its placeholder.
constexpr uint64_t kMaxBindImageBytesPerDrawing = uint64_t{1} << 30;  // 1 GiB
// Of the inodes free when a load begins, the share (in percent) that its
// held images always leave free, but never more than the cap: a drawing of
// many tiny images must not take every file the disk can hold.
constexpr uint32_t kBindImageInodeReservePercent = 10;
constexpr uint64_t kBindImageInodeReserveCap = 10'000;

struct TBindImageGlobals {
  std::vector<TBindImageType> BindImages;
  int32_t BindImageCount = 0;
  std::string TempFolder;  // with trailing separator ("/" on Linux)
  uint8_t BindImageExtractFlag = 0;
  uint8_t BindImageKeepFlag = 0;
  std::vector<TRefStrList> RefStrList;
  int32_t RefStrCount = 0;
  uint8_t RefStrEnabled = 0;
  // Bytes written into TempFolder since the list was last cleared (each
  // file counted in whole disk blocks), and the limits they are held to.
  uint64_t BytesWritten = 0;
  uint64_t ByteBudget = kMaxBindImageBytesPerDrawing;
  uint64_t DiskReserve = kDiskReserveBytes;  // left free on TempFolder's disk
  uint32_t InodeReservePercent = kBindImageInodeReservePercent;
  uint64_t InodeReserveCap = kBindImageInodeReserveCap;
  // Learned from TempFolder's file system by the load's first write: the
  // free inodes to leave (UINT64_MAX: not learned yet) and the block size.
  uint64_t InodeFloor = UINT64_MAX;
  uint64_t BlockBytes = 0;
  // The files ExtractBindImages made in TempFolder (a gzip header may name
  // one other than its image's), kept until DeleteBindImageFiles deletes
  // them: clearing the list does not forget them.
  std::vector<std::string> UnpackedFiles;

  void Reset() { *this = TBindImageGlobals{}; }
};

extern TBindImageGlobals BindImg;

// Largest file one held image may unpack to; a bigger one counts as damaged.
constexpr uint64_t kMaxBindImageUnpackedBytes = uint64_t{1} << 30;  // 1 GiB

// Also starts a new write budget: a drawing load begins with it.
void ClearBindImages();

// Room for the next held image in TempFolder: what is left of the budget,
// and of the disk above its reserve, in whole disk blocks (checked now,
// before each image); 0 when the file system's inode reserve is reached.
uint64_t BindImageRoom();
// Counts a file of `bytes` written into TempFolder against the budget, by
// the disk blocks it takes: at least one.
void ChargeBindImageBytes(uint64_t bytes);

// Unpacks every held ".gz" image found in TempFolder next to its ".gz" file.
// Answers how many could not be unpacked (0: all fine); a failed image
// leaves no output behind and the others are still processed. An image
// that does not fit BindImageRoom(), or whose output name is taken in
// TempFolder already (by a file or a link, which stay as they are), fails.
int32_t ExtractBindImages();

// Deletes the held ".gz" files from TempFolder; failures are ignored.
void DeleteBindImageGzFiles();

// Deletes the unpacked images (under the names they were unpacked to) and
// the held images that were not compressed from TempFolder; failures are
// ignored.
void DeleteBindImageFiles();

// Applies the "%%" replacement pairs to a text content when RefStrEnabled is 1.
void ReplaceRefString(std::string& text);

// The plain file name that a held-image name (or a name stored in a gzip
// header) stands for inside TempFolder: the part after the last "/", "\" or
// ":" (Shift-JIS aware: a lead byte counts as one character with the byte
// after it only when that is a trail byte, as the conversion to a native
// name sees it). Empty when nothing usable is left ("", ".", "..", a name
// the program keeps for itself in TempFolder (temp_names.h), or a name
// holding a NUL byte), in which case the name must not be used.
std::string BindImageFileName(const std::string& name);

// The file in TempFolder that holds a held image (name as stored, Shift-JIS).
std::string HeldImagePath(const std::string& name);

// True when the name ends in ".gz" in any case.
bool IsGzName(const std::string& name);

// Image texts: "^@BM", the image's path up to the first ",", then its values.
inline constexpr char kImageTextPrefix[] = "^@BM";
// A text naming a held image: "^@BM%temp%", the held file's name, ",", values.
inline constexpr char kHeldImageTextPrefix[] = "^@BM%temp%";
inline constexpr size_t kHeldImageTextPrefixLen = sizeof kHeldImageTextPrefix - 1;

// The key by which a text names a held image: for a text longer than 10
// bytes that begins with kHeldImageTextPrefix and holds a ",", the name up
// to that comma, upper-cased. False for any other text.
bool HeldImageKey(const std::string& content, std::string& key);
// The held image a key names is found through THeldImageIndex
// (held_image_index.h).
