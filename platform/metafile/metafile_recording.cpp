#include "metafile_recording.h"

namespace {

size_t ShapeBytes(const TMetaShape& shape) {
  size_t bytes = sizeof(TMetaShape);
  for (const TMetaFigure& f : shape.Figures) bytes += sizeof(TMetaFigure) + f.Points.size() * sizeof(TMetaPoint);
  return bytes;
}

}  // namespace

bool TMetafileRecording::Take(size_t bytes) {
  if (!HasRoomFor(bytes)) return false;
  used_ += bytes;
  return true;
}

void TMetafileRecording::Shape(const TMetaShape& shape, const TMetaPen& pen, const TMetaBrush& brush) {
  if (Take(ShapeBytes(shape) + sizeof(ShapeOp))) ops_.push_back(ShapeOp{shape, pen, brush});
}

void TMetafileRecording::Text(const TMetaText& text) {
  if (Take(sizeof(TMetaText) + text.Utf8.size() + text.Font.Face.size())) ops_.push_back(text);
}

void TMetafileRecording::Image(const TMetaImage& image) {
  // Pixels are shared between the player and the recording; the player
  // asked for room before decoding them.
  if (!image.Pixels) return;
  if (Take(sizeof(TMetaImage) + image.Pixels->Argb.size() * sizeof(uint32_t))) ops_.push_back(image);
}

void TMetafileRecording::Replay(TMetafileSink& target) const {
  for (const auto& op : ops_) {
    if (const auto* s = std::get_if<ShapeOp>(&op)) {
      target.Shape(s->Shape, s->Pen, s->Brush);
    } else if (const auto* t = std::get_if<TMetaText>(&op)) {
      target.Text(*t);
    } else {
      target.Image(std::get<TMetaImage>(op));
    }
  }
}
