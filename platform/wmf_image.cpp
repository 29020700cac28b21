// Windows metafiles as canvas images.
#include "qt_canvas_image.h"
#include "qt_metafile_image.h"
#include "wmf_player.h"

std::unique_ptr<TQtCanvasImage> LoadWmfImage(const std::vector<uint8_t>& bytes) {
  auto recording = std::make_unique<TMetafileRecording>();
  TMetafileSize size;
  if (!PlayWmf(bytes.data(), bytes.size(), *recording, size)) return nullptr;
  return std::make_unique<TQtMetafileImage>(std::move(recording), size);
}
