// A played metafile held by the Qt canvas: its recording, replayed through
// the Qt sink whenever the image is painted.
#pragma once

#include "metafile_recording.h"
#include "qt_canvas_image.h"

class TQtMetafileImage : public TQtCanvasImage {
 public:
  TQtMetafileImage(std::unique_ptr<TMetafileRecording> recording, TMetafileSize size)
      : recording_(std::move(recording)), size_(size) {}
  int32_t Width() const override { return size_.Width; }
  int32_t Height() const override { return size_.Height; }
  void Paint(QPainter& painter, const QRectF& destination, const QRectF& source) const override;

 private:
  std::unique_ptr<TMetafileRecording> recording_;
  TMetafileSize size_;
};
