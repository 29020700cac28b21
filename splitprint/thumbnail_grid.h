// Where the thumbnails of the preview and of the drawing-frame chooser sit:
// cells of 326 x 246 pixels, 100 to a row, each image 320 x 240 three
// pixels in from the cell's corner.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int32_t kThumbCellWidth = 326;
constexpr int32_t kThumbCellHeight = 246;
constexpr int32_t kThumbsPerRow = 100;
constexpr int32_t kThumbInset = 3;
// Where the caption's cell starts inside an image.
constexpr int32_t kThumbCaptionTop = 228;

// Where a caption line lineHeight pixels high starts inside an image: at
// kThumbCaptionTop, or higher when the line would pass the image's bottom
// (its underscores and descenders would be cut off).
int32_t ThumbnailCaptionTop(int32_t lineHeight);

struct TThumbRect {
  int32_t Left = 0, Top = 0, Width = 0, Height = 0;
};

// The image rectangle of thumbnail i (0-based) on the panel.
TThumbRect ThumbnailRect(size_t index);
// The panel holding count thumbnails (one empty cell when there are none).
TThumbRect ThumbnailPanel(size_t count);
// The thumbnail under a panel point; -1 when the point is in no image.
int64_t ThumbnailAt(int32_t x, int32_t y, size_t count);
