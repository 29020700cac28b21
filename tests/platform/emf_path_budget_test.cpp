#include <gtest/gtest.h>

#include "emf_player.h"
#include "memory_limit.h"
#include "metafile_builders.h"
#include "metafile_recording.h"

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

}  // namespace
