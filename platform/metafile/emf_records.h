// The EMF player's record handlers, shared by the files that implement
// them (objects, shapes, texts and bitmaps, the record loop).
#pragma once

#include <uemf.h>

#include <unordered_map>

#include "byte_io.h"
#include "emf_state.h"
#include "metafile_sink.h"

namespace emf_detail {

// Picture pixels; beyond, no picture, and painters lose precision.
inline constexpr double kMaxCoordinate = 1e7;
inline constexpr double kMaxPicturePixels = 1e6;

struct TEmfHeader {
  int32_t BoundsLeft = 0, BoundsTop = 0, BoundsRight = 0, BoundsBottom = 0;
  int32_t FrameLeft = 0, FrameTop = 0, FrameRight = 0, FrameBottom = 0;
  int32_t DeviceX = 0, DeviceY = 0, MillimetresX = 0, MillimetresY = 0;
  uint32_t Handles = 0;
};

TMetaColor ColorRef(uint32_t c);
TEmfBrush MakeBrush(uint32_t style, uint32_t color, uint32_t hatch);
TMetaPoint Corner(ByteReader& r);  // a 32-bit point
double ReadFloat(ByteReader& r);

class TEmfPlayer {
 public:
  TEmfPlayer(const TEmfHeader& h, TMetafileSink& sink) : sink_(sink), pathCharge_(sink) {
    if (h.DeviceX > 0 && h.DeviceY > 0 && h.MillimetresX > 0 && h.MillimetresY > 0) {
      page_.DevicePixelsX = h.DeviceX, page_.DevicePixelsY = h.DeviceY;
      page_.DeviceMmX = h.MillimetresX, page_.DeviceMmY = h.MillimetresY;
    }
    page_.FrameLeft = h.FrameLeft;
    page_.FrameTop = h.FrameTop;
  }

  // False at the end-of-file record.
  bool Play(uint32_t type, ByteReader& r, const uint8_t* record, size_t size);
  // True once what the player keeps (the open path, the clip, saved
  // contexts, brush patterns) outgrew the sink's room: the picture is
  // refused, as a part of it would draw wrongly.
  bool OutOfRoom() const { return outOfRoom_; }
  // True while a path is being built: the sink's room running out then
  // leaves only a part of it.
  bool HoldsPath() const { return pathCharge_.Holds(); }

 private:
  TXform Map() const { return LogicalToPicture(dc_, page_); }
  TMetaPoint ReadPoint(ByteReader& r, bool small) {
    if (small) {
      const auto x = static_cast<int16_t>(r.U16());
      const auto y = static_cast<int16_t>(r.U16());
      return {static_cast<double>(x), static_cast<double>(y)};
    }
    const double x = r.I32();
    return {x, static_cast<double>(r.I32())};
  }
  std::vector<TMetaPoint> ReadPoints(ByteReader& r, uint32_t count, bool small) {
    r.Require(size_t{count} * (small ? 4 : 8));
    std::vector<TMetaPoint> points;
    points.reserve(count);
    for (uint32_t i = 0; i < count; ++i) points.push_back(ReadPoint(r, small));
    return points;
  }

  TMetaPen PicturePen(const TXform& m) const;
  TMetaBrush PictureBrush() const;
  // Logical figures mapped and drawn (or added to the open path).
  void Draw(std::vector<TMetaFigure> figures, bool fill, bool stroke);
  void DrawPath(bool fill, bool stroke);
  void FillRect(TMetaPoint a, TMetaPoint b, TMetaColor color);
  bool ArcDecreasing() const { return (Map().Determinant() > 0) != dc_.ClockwiseArcs; }
  double PixelsPerUnit() const { return std::sqrt(std::abs(Map().Determinant())); }

  void PolyRecord(uint32_t type, ByteReader& r, bool small);
  void PolyPolyRecord(ByteReader& r, bool fill, bool small);
  void TextRecord(ByteReader& r, const uint8_t* record, size_t size, bool wide);
  void BitmapRecord(uint32_t type, ByteReader& r, const uint8_t* record, size_t size);
  void DrawBitmap(const uint8_t* record, size_t size, uint32_t offBmi, uint32_t cbBmi, uint32_t offBits,
                  uint32_t cbBits, TMetaPoint dest, TMetaPoint destSize, TMetaPoint src, TMetaPoint srcSize);
  void ObjectRecord(uint32_t type, ByteReader& r, const uint8_t* record, size_t size);
  void ShapeRecord(uint32_t type, ByteReader& r);
  void ClipRecord(uint32_t type, ByteReader& r);
  void AddClipStep(TMetaClipStep step, bool replace);
  void SyncClip();
  void Select(uint32_t index);
  void CreateObject(uint32_t index, TEmfObject object);
  void Line(TMetaPoint to);
  // The open path's points are charged to the sink's room before they are
  // kept.
  bool PathHasRoomFor(size_t figures, size_t points);
  // Holds bytes from the sink's room on `charge`; out of room otherwise.
  bool Charge(TRoomCharge& charge, size_t bytes);
  std::vector<TMetaFigure> TakePath();
  // Strokes from the current position through the points, which it ends on.
  void LinesTo(const std::vector<TMetaPoint>& points);

  TMetafileSink& sink_;
  TEmfPage page_;
  TEmfDc dc_;
  struct TSavedDc {
    TEmfDc Dc;
    TRoomCharge Charge;
  };
  std::vector<TSavedDc> saved_;
  std::unordered_map<uint32_t, TEmfObject> objects_;
  bool inPath_ = false;
  bool newFigure_ = true;
  std::vector<TMetaFigure> path_;  // picture pixels
  TRoomCharge pathCharge_;
  bool outOfRoom_ = false;
  bool clipChanged_ = false;
};

}  // namespace emf_detail
