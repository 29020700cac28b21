// Placeholder until the WMF player is written.
#include "qt_canvas_image.h"

std::unique_ptr<TQtCanvasImage> LoadWmfImage(const std::vector<uint8_t>&) { return nullptr; }
