// Enhanced metafiles as canvas images.
#include "emf_player.h"
#include "qt_canvas_image.h"
#include "qt_metafile_image.h"

std::unique_ptr<TQtCanvasImage> LoadEmfImage(const std::vector<uint8_t>& bytes) {
  TMetafileSize size;
  if (!ReadEmfSize(bytes.data(), bytes.size(), size)) return nullptr;
  auto recording = std::make_unique<TMetafileRecording>();
  if (!PlayEmf(bytes.data(), bytes.size(), *recording)) return nullptr;
  return std::make_unique<TQtMetafileImage>(std::move(recording), size);
}
