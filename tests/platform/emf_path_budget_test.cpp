#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "emf_player.h"
#include "memory_limit.h"
#include "metafile_builders.h"
#include "metafile_recording.h"
#include "wmf_player.h"

using namespace metatest;

namespace {

// A path's points count against the room: a small file of ellipses, line
// segments or curves would take gigabytes.
TEST(EmfPathBudget, PathsBeyondTheRoomRefuseThePicture) {
  std::vector<uint32_t> curve = {0, 0, 0, 0, 1'000'001};  // one curve of a million 16-bit points
  curve.resize(curve.size() + 1'000'001, (90u << 16) | 30u);
  const struct { uint32_t type; std::vector<uint32_t> params; int times; bool plays; } cases[] = {
      {42, EmfBuilder::U({0, 0, 100, 100}), 20000, false},  // ellipses
      {54, EmfBuilder::U({50, 60}), 200000, false},         // line segments
      {85, curve, 1, false},
      {42, EmfBuilder::U({0, 0, 100, 100}), 20, true},
  };
  for (const auto& c : cases) {
    EmfBuilder b(2646, 2646);
    b.Record(59, {});  // begin path
    for (int i = 0; i < c.times; ++i) b.Record(c.type, c.params);
    b.Record(60, {});  // end path, fill it
    b.Record(62, {0, 0, 100, 100});
    b.Rectangle(1, 1, 20, 20);
    const std::vector<uint8_t> bytes = b.Bytes();
    EXPECT_TRUE(RunsWithinMemory(size_t{64} << 20, [&] {
      TMetafileRecording recording(size_t{2} << 20);
      return PlayEmf(bytes.data(), bytes.size(), recording) == c.plays && (!c.plays || recording.Count() == 2);
    })) << bytes.size();
  }
}

// A 256 × 256 one-bit bitmap: a 40-byte header, two colours, then the rows
// (32 bytes each), 8 KB that decode to 256 KB of pixels.
std::vector<uint8_t> BigOneBitDib() {
  std::vector<uint8_t> dib(48 + 32 * 256, 0x55);
  const int32_t header[] = {40, 256, 256, 1 | (1 << 16), 0, 0, 0, 0, 2, 0};
  std::memcpy(dib.data(), header, sizeof header);
  const uint32_t colours[] = {0, 0xFFFFFF};
  std::memcpy(dib.data() + 40, colours, sizeof colours);
  return dib;
}

void EmfPatternBrush(EmfBuilder& b, uint32_t index, const std::vector<uint8_t>& dib) {
  std::vector<uint32_t> params = {index, 0, 32, 48, 80, static_cast<uint32_t>(dib.size() - 48)};
  params.resize(params.size() + (dib.size() + 3) / 4);
  std::memcpy(params.data() + 6, dib.data(), dib.size());
  b.Record(94, params);
}

// What the player keeps between records (saved contexts with their clip,
// brush patterns, the bitmaps of a Windows metafile) counts against the room
// too: a small file would otherwise take gigabytes.
TEST(EmfPathBudget, HeldStatesAndPatternsCountAgainstTheRoom) {
  const std::vector<uint8_t> dib = BigOneBitDib();
  // A clip path of many small arcs, kept by every saved context.
  auto clipThenSaves = [](int arcs) {
    EmfBuilder b(2646, 2646);
    b.Record(27, EmfBuilder::U({10, 10}));  // move to
    b.Record(59, {});
    for (int i = 0; i < arcs; ++i) b.Record(41, {50, 50, 2, 0, 0x43340000});  // 180 degrees
    b.Record(60, {});
    b.Record(67, {1});  // the path made the clip
    for (int i = 0; i < 1024; ++i) b.Record(33, {});
    b.Rectangle(1, 1, 20, 20);
    return b.Bytes();
  };
  auto emfBrushes = [&](bool deleted) {
    EmfBuilder b(2646, 2646);
    for (uint32_t i = 0; i < 300; ++i) {
      const uint32_t index = deleted ? 1 : i + 1;
      EmfPatternBrush(b, index, dib);
      b.Select(index);
      b.Rectangle(1, 1, 20, 20);
      if (deleted) b.Select(0x80000000), b.Record(40, {index});  // white brush, delete
    }
    return b.Bytes();
  };
  auto wmfBrushes = [&] {
    WmfBuilder b;
    b.Placeable(0, 0, 100, 100, 96);
    for (int i = 0; i < 300; ++i) {
      b.PatternBrush(dib);
      b.Select(0);
      b.Rectangle(1, 1, 20, 20);
      b.Record(0x01F0, {0});  // delete it
    }
    return b.Bytes();
  };
  auto playEmf = [](const std::vector<uint8_t>& bytes, TMetafileRecording& r) { return PlayEmf(bytes.data(), bytes.size(), r); };
  auto playWmf = [](const std::vector<uint8_t>& bytes, TMetafileRecording& r) {
    TMetafileSize size;
    return PlayWmf(bytes.data(), bytes.size(), r, size);
  };
  const struct {
    const char* name;
    std::vector<uint8_t> bytes;
    std::function<bool(const std::vector<uint8_t>&, TMetafileRecording&)> play;
    size_t room;
    bool plays;
  } cases[] = {
      {"clip path shared by 1024 saved contexts", clipThenSaves(20000), playEmf, size_t{16} << 20, true},
      {"saved contexts beyond the room", clipThenSaves(1), playEmf, size_t{64} << 10, false},
      {"pattern brushes kept in the table", emfBrushes(false), playEmf, size_t{2} << 20, false},
      {"pattern brushes drawn and deleted", emfBrushes(true), playEmf, size_t{2} << 20, true},
      {"Windows metafile pattern brushes", wmfBrushes(), playWmf, size_t{2} << 20, true},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(RunsWithinMemory(size_t{64} << 20, [&] {
      TMetafileRecording recording(c.room);
      return c.play(c.bytes, recording) == c.plays && recording.UsedBytes() <= c.room;
    })) << c.name;
  }
}

}  // namespace
