// Paints what a metafile player draws onto a QPainter, in the painter's
// current coordinates (picture pixels). Hatches keep Windows' 8-pixel
// pattern on the target's own pixels at any scale.
#pragma once

#include <QPainter>

#include "metafile_sink.h"

class TQtMetafileSink : public TMetafileSink {
 public:
  explicit TQtMetafileSink(QPainter& painter) : painter_(painter) {}
  void Shape(const TMetaShape& shape, const TMetaPen& pen, const TMetaBrush& brush) override;
  void Text(const TMetaText& text) override;
  void Image(const TMetaImage& image) override;

 private:
  QPainter& painter_;
};
