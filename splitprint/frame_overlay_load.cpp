// Loading a drawing-frame drawing beside the working drawing, and the one
// list of held images the two share.
//
// The reader extracts a drawing's held images into the temporary folder
// under their stored names. A frame drawing's images are extracted into a
// folder of their own first and then moved into the temporary folder, so
// they never replace a file of the working drawing: an image whose name
// equals one of the working drawing's (ignoring case), or whose image texts
// would find one of the working drawing's images first, is moved under a
// free name, and the frame drawing's image texts follow it.
#include <algorithm>
#include <set>

#include "counted_rows.h"
#include "file_io.h"
#include "form1_state.h"
#include "func.h"
#include "held_image_index.h"
#include "temp_names.h"

namespace {

constexpr char kFrameBlockName[] = "Quillmoor\x90\x7D\x96\xCA\x98\x67@@SFIGORGFLAG@@4";  // Quillmoor図面枠...
constexpr size_t kMaxTextBytes = 255;

std::string LowerAscii(std::string s) {
  // Shift-JIS trail bytes can fall in 'A'..'Z': skip them.
  for (size_t i = 0; i < s.size(); ++i) {
    const auto b = static_cast<unsigned char>(s[i]);
    if (IsSjisLeadByte(b)) {
      ++i;
    } else if (b >= 'A' && b <= 'Z') {
      s[i] = static_cast<char>(b - 'A' + 'a');
    }
  }
  return s;
}

}  // namespace

void TForm1::SaveBindImages() {
  KeptBindImageCount = BindImg.BindImageCount;
  KeptBindImages.assign(BindImg.BindImages.begin(),
                        BindImg.BindImages.begin() +
                            static_cast<std::ptrdiff_t>(CountedRows(BindImg.BindImageCount, BindImg.BindImages)));
}

void TForm1::RestoreBindImages() {
  BindImg.BindImages = KeptBindImages;
  BindImg.BindImageCount = static_cast<int32_t>(KeptBindImages.size());
}

void TForm1::MergeBindImages() {
  const size_t now = CountedRows(BindImg.BindImageCount, BindImg.BindImages);
  std::vector<TBindImageType> merged = KeptBindImages;
  merged.insert(merged.end(), BindImg.BindImages.begin(), BindImg.BindImages.begin() + static_cast<std::ptrdiff_t>(now));
  BindImg.BindImages = std::move(merged);
  BindImg.BindImageCount = static_cast<int32_t>(BindImg.BindImages.size());
}

void TForm1::DeleteAddedBindImages() {
  std::set<std::string> kept;
  for (const TBindImageType& r : KeptBindImages) kept.insert(LowerAscii(r.Name));
  const size_t rows = CountedRows(BindImg.BindImageCount, BindImg.BindImages);
  for (size_t i = KeptBindImages.size(); i < rows; ++i) {
    const std::string& name = BindImg.BindImages[i].Name;
    if (name.empty() || kept.count(LowerAscii(name))) continue;
    const std::string path = HeldImagePath(name);
    if (FileExists(path)) RemoveFile(path);
  }
}

bool TForm1::LoadFrameDrawing(int32_t paperClass) {
  if (paperClass < 0 || paperClass >= static_cast<int32_t>(FrameFiles.size())) return false;
  const std::string path = FrameFiles[static_cast<size_t>(paperClass)];
  if (path.empty() || !FileExists(path) || !FrameDrawing.IsJwwFile(path)) return false;
  DeleteRenamedImages();
  FrameDrawing.FreeData();

  const std::string tempFolder = BindImg.TempFolder;
  const std::string staging = tempFolder + kFrameStagingName + "/";
  RemoveFolderWithFiles(staging);  // the staging folder holds files only
  bool loaded = MakeFolders(staging);
  if (loaded) {
    BindImg.TempFolder = staging;
    loaded = FrameDrawing.LoadFromFile(path);
    BindImg.TempFolder = tempFolder;
  }
  // A drawing-frame drawing that is not read whole (or whose blocks cannot
  // be taken apart) would put a part of a title block into every sheet: the
  // class is treated as having no drawing-frame file.
  if (loaded) loaded = FrameDrawing.ExplodeBlocks();
  if (!loaded) {
    RemoveFolderWithFiles(staging);
    FrameDrawing.FreeData();
    RestoreBindImages();
    return false;
  }
  if (FrameDrawing.Header.Version >= 700) PlaceFrameImages(staging);
  RemoveFolderWithFiles(staging);

  FindDisplayArea();
  std::string name = kFrameBlockName;
  if (BlockNameExists(name)) name = MakeUniqueBlockName(name);
  BuildFrameBlock(paperClass, name);
  return true;
}

void TForm1::PlaceFrameImages(const std::string& staging) {
  std::vector<TBindImageType>& rows = BindImg.BindImages;
  rows.resize(CountedRows(BindImg.BindImageCount, rows));
  std::vector<std::string> keptUpper, frameUpper;
  for (const TBindImageType& r : KeptBindImages) keptUpper.push_back(UpperAsciiSJIS(r.Name));
  for (const TBindImageType& r : rows) frameUpper.push_back(UpperAsciiSJIS(r.Name));

  // Built once: the look-ups below run per text and per candidate prefix.
  const std::set<std::string> keptNames(keptUpper.begin(), keptUpper.end());
  const THeldImageIndex keptIndex(keptUpper), frameIndex(frameUpper);

  // Rows that need a name of their own: the name is the working drawing's,
  // or taken in the temporary folder already (the move replaces nothing).
  std::vector<uint8_t> rename(rows.size(), 0);
  for (size_t j = 0; j < rows.size(); ++j)
    rename[j] = !rows[j].Name.empty() &&
                (keptNames.count(frameUpper[j]) > 0 || FileExists(HeldImagePath(rows[j].Name)));
  TJwwData& f = FrameDrawing;
  const size_t texts = CountedRows(f.TextCount, f.Texts);
  std::string key;
  for (size_t i = 0; i < texts; ++i) {
    if (!HeldImageKey(f.Texts[i].Content, key)) continue;
    const int32_t own = frameIndex.Find(key);
    if (own >= 0 && keptIndex.Find(key) >= 0) rename[static_cast<size_t>(own)] = 1;
  }

  // A prefix that begins no name of either drawing, so that a renamed
  // image's texts can only find that image.
  std::string prefix;
  if (std::find(rename.begin(), rename.end(), 1) != rename.end()) {
    for (int32_t n = 1; prefix.empty(); ++n) {
      const std::string candidate = "frame" + std::to_string(n) + "_";
      const std::string upper = UpperAsciiSJIS(candidate);
      bool free = keptIndex.Find(upper) < 0 && frameIndex.Find(upper) < 0;
      for (size_t j = 0; free && j < rows.size(); ++j)
        free = !rename[j] || !FileExists(HeldImagePath(candidate + rows[j].Name));
      if (free) prefix = candidate;
    }
    for (size_t i = 0; i < texts; ++i) {
      TEntJwwText& t = f.Texts[i];
      if (!HeldImageKey(t.Content, key)) continue;
      const int32_t own = frameIndex.Find(key);
      if (own < 0 || !rename[static_cast<size_t>(own)]) continue;
      if (t.Content.size() + prefix.size() > kMaxTextBytes) continue;
      t.Content.insert(kHeldImageTextPrefixLen, prefix);
    }
  }

  for (size_t j = 0; j < rows.size(); ++j) {
    const std::string stored = rows[j].Name;
    if (stored.empty()) continue;
    if (rename[j]) rows[j].Name = prefix + stored;
    const std::string from = staging + PathFromSjisText(stored);
    if (FileExists(from)) MoveFileWithoutReplacing(from, HeldImagePath(rows[j].Name));
  }
}
