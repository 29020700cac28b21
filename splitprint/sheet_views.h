// Toolkit-free parts of the sheet dialogs: the thumbnail grid's geometry,
// moving rows in the print-order list, and the preview's bitmap per row.
#pragma once

#include <cstdint>
#include <string>

struct TGridCell {
  int32_t Left = 0, Top = 0, Width = 0, Height = 0;
};

// Thumbnails of 320 x 240 in cells of 326 x 246, 100 to a row.
TGridCell ThumbnailCell(int32_t index);
// The panel that holds `count` thumbnails (one empty cell's size for 0).
TGridCell ThumbnailPanel(int32_t count);
