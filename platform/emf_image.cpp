// Placeholder until the EMF player is written.
#include "qt_canvas_image.h"

std::unique_ptr<TQtCanvasImage> LoadEmfImage(const std::vector<uint8_t>&) { return nullptr; }
