// Paints what a metafile player draws onto a QPainter, in the painter's
// current coordinates (picture pixels). Hatches keep Windows' 8-pixel
// pattern on the target's own pixels at any scale.
#pragma once

#include <QPainter>
#include <QPainterPath>

#include "metafile_sink.h"

// Saves the painter's state and restores it when the scope ends, also when
// painting runs out of memory part way: the page's next drawing must not
// inherit the picture's clip and transform.
class TPainterStateKeeper {
 public:
  explicit TPainterStateKeeper(QPainter& painter) : painter_(painter) { painter_.save(); }
  ~TPainterStateKeeper() { painter_.restore(); }
  TPainterStateKeeper(const TPainterStateKeeper&) = delete;
  TPainterStateKeeper& operator=(const TPainterStateKeeper&) = delete;

 private:
  QPainter& painter_;
};

class TQtMetafileSink : public TMetafileSink {
 public:
  // The painter's clipping at this point stays under any the picture sets.
  explicit TQtMetafileSink(QPainter& painter)
      : painter_(painter), hasBaseClip_(painter.hasClipping()), baseClip_(painter.clipPath()) {}
  void Shape(const TMetaShape& shape, const TMetaPen& pen, const TMetaBrush& brush) override;
  void Text(const TMetaText& text) override;
  void Image(const TMetaImage& image) override;
  void Clip(const TMetaClip& clip) override;

 private:
  QPainter& painter_;
  bool hasBaseClip_;
  QPainterPath baseClip_;
};
