#include "thumbnail_grid.h"

#include <algorithm>

#include "sheet_output.h"

int32_t ThumbnailCaptionTop(int32_t lineHeight) { return std::clamp(kBitmapHeight - lineHeight, 0, kThumbCaptionTop); }

TThumbRect ThumbnailRect(size_t index) {
  const auto column = static_cast<int32_t>(index % kThumbsPerRow);
  const auto row = static_cast<int32_t>(index / kThumbsPerRow);
  return {column * kThumbCellWidth + kThumbInset, row * kThumbCellHeight + kThumbInset, kBitmapWidth,
          kBitmapHeight};
}

TThumbRect ThumbnailPanel(size_t count) {
  if (count > kThumbsPerRow) {
    const auto rows = static_cast<int32_t>((count - 1) / kThumbsPerRow + 1);
    return {0, 0, kThumbsPerRow * kThumbCellWidth, rows * kThumbCellHeight};
  }
  const int32_t cells = count == 0 ? 1 : static_cast<int32_t>(count);
  return {0, 0, cells * kThumbCellWidth, kThumbCellHeight};
}

int64_t ThumbnailAt(int32_t x, int32_t y, size_t count) {
  if (x < 0 || y < 0) return -1;
  const int64_t column = x / kThumbCellWidth;
  const int64_t row = y / kThumbCellHeight;
  if (column >= kThumbsPerRow) return -1;
  const int64_t index = row * kThumbsPerRow + column;
  if (index >= static_cast<int64_t>(count)) return -1;
  const TThumbRect r = ThumbnailRect(static_cast<size_t>(index));
  if (x < r.Left || x >= r.Left + r.Width || y < r.Top || y >= r.Top + r.Height) return -1;
  return index;
}
