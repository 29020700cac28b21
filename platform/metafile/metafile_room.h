// What a metafile player keeps for itself while it plays (the open path,
// the clip, saved states, decoded brushes) is taken from its sink's room,
// so a small file cannot make the player hold more than the sink allows.
#pragma once

#include <utility>

#include "metafile_sink.h"

// Bytes the figures take in memory.
inline size_t FigureBytes(const std::vector<TMetaFigure>& figures) {
  size_t bytes = 0;
  for (const TMetaFigure& f : figures) bytes += sizeof(TMetaFigure) + f.Points.size() * sizeof(TMetaPoint);
  return bytes;
}

// Bytes the decoded pixels take in memory.
inline size_t PixelBytes(const TMetaPixels& pixels) { return pixels.Argb.size() * sizeof(uint32_t); }

// Bytes held from a sink for as long as the charge lives. The sink must
// outlive it.
class TRoomCharge {
 public:
  explicit TRoomCharge(TMetafileSink& sink) : sink_(&sink) {}
  TRoomCharge(TRoomCharge&& other) noexcept
      : sink_(other.sink_), bytes_(std::exchange(other.bytes_, 0)) {}
  TRoomCharge& operator=(TRoomCharge&& other) noexcept {
    if (this != &other) {
      Clear();
      sink_ = other.sink_;
      bytes_ = std::exchange(other.bytes_, 0);
    }
    return *this;
  }
  TRoomCharge(const TRoomCharge&) = delete;
  TRoomCharge& operator=(const TRoomCharge&) = delete;
  ~TRoomCharge() { Clear(); }

  // False, and nothing more held, when the sink has no room for the bytes.
  bool Add(size_t bytes) {
    if (!sink_->Hold(bytes)) return false;
    bytes_ += bytes;
    return true;
  }
  bool Holds() const { return bytes_ != 0; }
  void Clear() {
    if (bytes_ != 0) sink_->Release(bytes_);
    bytes_ = 0;
  }

 private:
  TMetafileSink* sink_;
  size_t bytes_ = 0;
};
