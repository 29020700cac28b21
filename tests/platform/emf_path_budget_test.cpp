#include <gtest/gtest.h>

#include <cstring>

#include "emf_player.h"
#include "memory_limit.h"
#include "metafile_builders.h"
#include "metafile_recording.h"
#include "wmf_player.h"

using namespace metatest;

namespace {

// What the player keeps (an open path, a clip shared by saved contexts, the
// contexts, brush patterns) counts against the room; past it the picture is refused.
TEST(EmfPathBudget, PathsBeyondTheRoomRefuseThePicture) {
  std::vector<uint32_t> curve = {0, 0, 0, 0, 1'000'001};  // one curve of a million 16-bit points
  curve.resize(curve.size() + 1'000'001, (90u << 16) | 30u);
  auto path = [](uint32_t type, const std::vector<uint32_t>& params, int times, int saves = -1) {
    EmfBuilder b(2646, 2646);
    b.Record(59, {});  // begin path
    for (int i = 0; i < times; ++i) b.Record(type, params);
    b.Record(60, {});  // end path, then fill it or make it the clip and save the context
    saves < 0 ? b.Record(62, {0, 0, 100, 100}) : b.Record(67, {1});
    for (int i = 0; i < saves; ++i) b.Record(33, {});
    b.Rectangle(1, 1, 20, 20);
    return b.Bytes();
  };
  std::vector<uint8_t> dib(48 + 32 * 256, 0x55);  // 256 x 256 at one bit: 8 KB of rows, 256 KB of pixels
  const int32_t header[] = {40, 256, 256, 1 | (1 << 16), 0, 0, 0, 0, 2, 0, 0, 0xFFFFFF};
  std::memcpy(dib.data(), header, sizeof header);
  std::vector<uint32_t> brush = {0, 0, 32, 48, 80, 32 * 256};
  brush.resize(brush.size() + dib.size() / 4);
  std::memcpy(brush.data() + 6, dib.data(), dib.size());
  auto emfBrushes = [&](bool deleted) {  // 300 pattern brushes, each drawn with, kept or deleted
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
  WmfBuilder wmf;
  wmf.Placeable(0, 0, 100, 100, 96);
  for (int i = 0; i < 300; ++i)  // pattern brushes, each drawn with, then deleted
    wmf.PatternBrush(dib), wmf.Select(0), wmf.Rectangle(1, 1, 20, 20), wmf.Record(0x01F0, {0});
  const std::vector<uint32_t> arc = {50, 50, 2, 0, 0x43340000};  // 180 degrees
  // count: what the recording kept of a picture played
  const struct { std::vector<uint8_t> bytes; bool wmf; size_t room; bool plays; size_t count; } cases[] = {
      {path(42, EmfBuilder::U({0, 0, 100, 100}), 20000), false, size_t{2} << 20, false, 0},  // ellipses
      {path(54, EmfBuilder::U({50, 60}), 200000), false, size_t{2} << 20, false, 0},         // line segments
      {path(85, curve, 1), false, size_t{2} << 20, false, 0},
      {path(42, EmfBuilder::U({0, 0, 100, 100}), 20), false, size_t{2} << 20, true, 2},
      {path(41, arc, 20000, 1024), false, size_t{16} << 20, true, 2},  // 1024 contexts share the clip
      {path(41, arc, 1, 1024), false, size_t{64} << 10, false, 0},     // the contexts pass the room
      {emfBrushes(false), false, size_t{2} << 20, false, 0},           // kept in the table
      {emfBrushes(true), false, size_t{2} << 20, true, 6},             // deleted: the recording's room ends it
      {wmf.Bytes(), true, size_t{2} << 20, true, 6},
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

// Clips made from a large clip share its steps: small records after it cost
// the room no more than the path did, however many there are.
TEST(EmfPathBudget, ClipRecordsAfterALargeClipShareIt) {
  struct TCounting : TMetafileRecording {
    using TMetafileRecording::TMetafileRecording;
    bool Hold(size_t bytes) override { return asked += bytes, TMetafileRecording::Hold(bytes); }
    size_t asked = 0;
  } recording(size_t{64} << 20);
  std::vector<uint32_t> line = {0, 0, 0, 0, 10'000};  // 10000 points: 160 KB held
  line.resize(line.size() + 10'000, (90u << 16) | 30u);
  EmfBuilder b(2646, 2646);
  b.Record(59, {}), b.Record(87, line), b.Record(60, {}), b.Record(67, {1});  // the line's path as the clip
  for (int i = 0; i < 2000; ++i) b.Record(33, {}), b.Record(30, {0, 0, 50, 50}), b.Record(34, {0xFFFFFFFFu});
  for (int i = 0; i < 2000; ++i) b.Record(30, {0, 0, 50, 50});
  const std::vector<uint8_t> bytes = b.Bytes();
  EXPECT_TRUE(PlayEmf(bytes.data(), bytes.size(), recording));
  EXPECT_LT(recording.asked, size_t{4} << 20);
}

}  // namespace
