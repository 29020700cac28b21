// A played picture kept as the list of what the player drew, replayed into
// another sink as often as the picture is painted. The recording stops
// taking shapes, texts and images once its memory budget is spent, so a
// hostile file draws partially instead of exhausting memory.
#pragma once

#include <algorithm>
#include <unordered_set>
#include <variant>

#include "metafile_sink.h"

class TMetafileRecording : public TMetafileSink {
 public:
  static constexpr size_t kDefaultBudgetBytes = size_t{256} << 20;
  explicit TMetafileRecording(size_t budgetBytes = kDefaultBudgetBytes) : budget_(budgetBytes) {}

  void Shape(const TMetaShape& shape, const TMetaPen& pen, const TMetaBrush& brush) override;
  void Text(const TMetaText& text) override;
  void Image(const TMetaImage& image) override;
  void Clip(const TMetaClip& clip) override;
  bool HasRoomFor(size_t bytes) const override { return bytes <= budget_ && used_ <= budget_ - bytes; }
  bool Hold(size_t bytes) override { return Take(bytes); }
  void Release(size_t bytes) override { used_ -= std::min(bytes, used_); }

  void Replay(TMetafileSink& target) const;
  size_t Count() const { return ops_.size(); }
  size_t UsedBytes() const { return used_; }

 private:
  struct ShapeOp {
    TMetaShape Shape;
    TMetaPen Pen;
    TMetaBrush Brush;
  };
  bool Take(size_t bytes);

  std::vector<std::variant<ShapeOp, TMetaText, TMetaImage, TMetaClip>> ops_;
  // Brush patterns kept by the shapes, each charged once however many
  // shapes share it.
  std::unordered_set<const TMetaPixels*> patterns_;
  size_t budget_;
  size_t used_ = 0;
};
