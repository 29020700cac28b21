// Images held inside drawings (the image section of version 700 files):
// the one list shared by both drawing models, the temporary folder they are
// extracted into, gzip unpacking and the delete routines, and the "%%"
// replacement pairs that the writer may apply to text contents.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TBindImageType {
  std::string Name;  // file name as stored in the drawing, e.g. "pic.bmp.gz"
  int32_t Size = 0;  // byte size of the stored file
  uint8_t Used = 0;  // set by the writer when a text refers to the image
};

struct TRefStrList {
  std::string Name;  // key beginning "%%"
  std::string Value;
};

struct TBindImageGlobals {
  std::vector<TBindImageType> BindImages;
  int32_t BindImageCount = 0;
  std::string TempFolder;  // with trailing separator
  uint8_t BindImageExtractFlag = 0;
  uint8_t BindImageKeepFlag = 0;
  std::vector<TRefStrList> RefStrList;
  int32_t RefStrCount = 0;
  uint8_t RefStrEnabled = 0;

  void Reset() { *this = TBindImageGlobals{}; }
};

extern TBindImageGlobals BindImg;

void ClearBindImages();
