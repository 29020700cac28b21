#include "metafile_recording.h"

#include "metafile_room.h"

bool TMetafileRecording::Take(size_t bytes) {
  if (!HasRoomFor(bytes)) return false;
  used_ += bytes;
  return true;
}

void TMetafileRecording::Shape(const TMetaShape& shape, const TMetaPen& pen, const TMetaBrush& brush) {
  const TMetaPixels* pattern = brush.Pattern.get();
  const bool newPattern = pattern && !patterns_.contains(pattern);
  const size_t patternBytes = newPattern ? PixelBytes(*pattern) : 0;
  if (!Take(FigureBytes(shape.Figures) + sizeof(ShapeOp) + patternBytes)) return;
  // The op keeps the pattern alive, so its address is not taken again.
  if (newPattern) patterns_.insert(pattern);
  ops_.push_back(ShapeOp{shape, pen, brush});
}

void TMetafileRecording::Text(const TMetaText& text) {
  if (Take(sizeof(TMetaText) + text.Utf8.size() + text.Font.Face.size())) ops_.push_back(text);
}

void TMetafileRecording::Image(const TMetaImage& image) {
  // Pixels are shared between the player and the recording; the player
  // asked for room before decoding them.
  if (!image.Pixels) return;
  if (Take(sizeof(TMetaImage) + PixelBytes(*image.Pixels))) ops_.push_back(image);
}

void TMetafileRecording::Clip(const TMetaClip& clip) {
  // Every replay combines the areas again: their time is charged as memory,
  // so a file cannot make each paint take long.
  constexpr size_t kBytesPerArea = 4096;
  size_t bytes = sizeof(TMetaClip);
  for (const TMetaClipStep& step : clip) {
    bytes += sizeof(TMetaClipStep) + FigureBytes(step.Figures) + step.Figures.size() * kBytesPerArea;
  }
  if (Take(bytes)) ops_.push_back(clip);
}

void TMetafileRecording::Replay(TMetafileSink& target) const {
  for (const auto& op : ops_) {
    if (const auto* s = std::get_if<ShapeOp>(&op)) {
      target.Shape(s->Shape, s->Pen, s->Brush);
    } else if (const auto* t = std::get_if<TMetaText>(&op)) {
      target.Text(*t);
    } else if (const auto* i = std::get_if<TMetaImage>(&op)) {
      target.Image(*i);
    } else {
      target.Clip(std::get<TMetaClip>(op));
    }
  }
}
