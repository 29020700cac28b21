#include <gtest/gtest.h>

#include <cstring>

#include "emf_player.h"
#include "memory_limit.h"
#include "metafile_builders.h"
#include "metafile_recording.h"
#include "wmf_player.h"

using namespace metatest;

namespace {

// A 256 × 256 one-bit bitmap: a 40-byte header, two colours, then 8 KB of
// rows that decode to 256 KB of pixels.
std::vector<uint8_t> BigOneBitDib() {
  std::vector<uint8_t> dib(48 + 32 * 256, 0x55);
  const int32_t header[] = {40, 256, 256, 1 | (1 << 16), 0, 0, 0, 0, 2, 0, 0, 0xFFFFFF};
  std::memcpy(dib.data(), header, sizeof header);
  return dib;
}

// What the player keeps (an open path, a clip shared by saved contexts, the
// contexts, brush patterns, the bitmaps of a Windows metafile) counts
// against the room: a small file would take gigabytes. Past it the picture
// is refused (a part would fill the wrong area).
TEST(EmfPathBudget, PathsBeyondTheRoomRefuseThePicture) {
  std::vector<uint32_t> curve = {0, 0, 0, 0, 1'000'001};  // one curve of a million 16-bit points
  curve.resize(curve.size() + 1'000'001, (90u << 16) | 30u);
  auto path = [](uint32_t type, const std::vector<uint32_t>& params, int times) {
    EmfBuilder b(2646, 2646);
    b.Record(59, {});  // begin path
    for (int i = 0; i < times; ++i) b.Record(type, params);
    b.Record(60, {});  // end path, fill it
    b.Record(62, {0, 0, 100, 100});
    b.Rectangle(1, 1, 20, 20);
    return b.Bytes();
  };
  auto clipThenSaves = [](int arcs) {  // a path of 180-degree arcs made the clip
    EmfBuilder b(2646, 2646);
    b.Record(59, {});
    for (int i = 0; i < arcs; ++i) b.Record(41, {50, 50, 2, 0, 0x43340000});
    b.Record(60, {});
    b.Record(67, {1});
    for (int i = 0; i < 1024; ++i) b.Record(33, {});
    b.Rectangle(1, 1, 20, 20);
    return b.Bytes();
  };
  const std::vector<uint8_t> dib = BigOneBitDib();
  std::vector<uint32_t> brush = {0, 0, 32, 48, 80, 32 * 256};
  brush.resize(brush.size() + dib.size() / 4);
  std::memcpy(brush.data() + 6, dib.data(), dib.size());
  auto emfBrushes = [&](bool deleted) {  // 300 brushes, each drawn with
    EmfBuilder b(2646, 2646);
    for (uint32_t i = 0; i < 300; ++i) {
      brush[0] = deleted ? 1 : i + 1;
      b.Record(94, brush);
      b.Select(brush[0]);
      b.Rectangle(1, 1, 20, 20);
      if (deleted) b.Select(0x80000000), b.Record(40, {brush[0]});  // white brush, delete
    }
    return b.Bytes();
  };
  auto wmfBrushes = [&] {
    WmfBuilder b;
    b.Placeable(0, 0, 100, 100, 96);
    for (int i = 0; i < 300; ++i) b.PatternBrush(dib), b.Select(0), b.Rectangle(1, 1, 20, 20), b.Record(0x01F0, {0});
    return b.Bytes();
  };
  const struct {
    std::vector<uint8_t> bytes;
    bool wmf;
    size_t room;
    bool plays;
    size_t count;  // what the recording kept of a picture played
  } cases[] = {
      {path(42, EmfBuilder::U({0, 0, 100, 100}), 20000), false, size_t{2} << 20, false, 0},  // ellipses
      {path(54, EmfBuilder::U({50, 60}), 200000), false, size_t{2} << 20, false, 0},         // line segments
      {path(85, curve, 1), false, size_t{2} << 20, false, 0},
      {path(42, EmfBuilder::U({0, 0, 100, 100}), 20), false, size_t{2} << 20, true, 2},
      {clipThenSaves(20000), false, size_t{16} << 20, true, 2},  // 1024 contexts share the clip
      {clipThenSaves(1), false, size_t{64} << 10, false, 0},     // the contexts pass the room
      {emfBrushes(false), false, size_t{2} << 20, false, 0},     // kept in the table
      {emfBrushes(true), false, size_t{2} << 20, true, 6},       // deleted: the recording's room ends it
      {wmfBrushes(), true, size_t{2} << 20, true, 6},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(RunsWithinMemory(size_t{64} << 20, [&] {
      TMetafileRecording recording(c.room);
      TMetafileSize size;
      const bool plays = c.wmf ? PlayWmf(c.bytes.data(), c.bytes.size(), recording, size)
                               : PlayEmf(c.bytes.data(), c.bytes.size(), recording);
      return plays == c.plays && (!c.plays || recording.Count() == c.count) && recording.UsedBytes() <= c.room;
    })) << c.bytes.size();
  }
}

}  // namespace
