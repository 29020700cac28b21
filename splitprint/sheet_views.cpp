#include "sheet_views.h"

#include <algorithm>

#include "form1_state.h"
#include "gval.h"
#include "sheet_names.h"

namespace {

constexpr int32_t kCellWidth = 326, kCellHeight = 246, kPerRow = 100;

}  // namespace

TGridCell ThumbnailCell(int32_t index) {
  index = std::max(index, 0);
  return TGridCell{(index % kPerRow) * kCellWidth + 3, (index / kPerRow) * kCellHeight + 3, 320, 240};
}

TGridCell ThumbnailPanel(int32_t count) {
  if (count > kPerRow) return TGridCell{0, 0, kPerRow * kCellWidth, ((count - 1) / kPerRow) * kCellHeight + kCellHeight};
  return TGridCell{0, 0, std::max(count, 1) * kCellWidth, kCellHeight};
}

int32_t TForm1::MoveSheetRow(int32_t selected, int32_t step) {
  const auto rows = static_cast<int32_t>(std::min(Gval.SheetList.size(), SheetRowKinds.size()));
  const int32_t target = selected + step;
  if (rows < 2 || selected < 0 || selected >= rows || target < 0 || target >= rows) return selected;
  SwapSheetRows(selected, target);
  return target;
}

// One bitmap per row: two sheets of one name from different folders keep
// pictures of their own.
std::string TForm1::PreviewBitmapPath(int32_t row) const {
  return TempSheetFolder + "preview_" + std::to_string(row) + ".bmp";
}

std::string TForm1::PreviewCaption(int32_t row) const {
  if (row < 0 || row >= static_cast<int32_t>(Gval.SheetList.size())) return std::string();
  return RemoveExtension(FileNameOf(Gval.SheetList[static_cast<size_t>(row)].First));
}
