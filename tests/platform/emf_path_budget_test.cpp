#include <gtest/gtest.h>

#include <functional>

#include "emf_player.h"
#include "memory_limit.h"
#include "metafile_builders.h"
#include "metafile_recording.h"

using namespace metatest;

namespace {

// A path is held by the player until it is filled: its points count against
// the recording's room, or a small file of ellipses (hundreds of points from
// each 24-byte record) or of curves takes gigabytes.
TEST(EmfPathBudget, PathsBeyondTheRoomRefuseThePicture) {
  const std::pair<std::function<void(EmfBuilder&)>, bool> cases[] = {
      {[](EmfBuilder& b) { for (int i = 0; i < 20000; ++i) b.Ellipse(0, 0, 100, 100); }, false},
      {[](EmfBuilder& b) {
         b.Record(27, {0, 0});  // move, then many line segments
         for (int i = 0; i < 200000; ++i) b.Record(54, EmfBuilder::U({i % 100, i % 97}));
       }, false},
      {[](EmfBuilder& b) {
         std::vector<uint32_t> curve = {0, 0, 0, 0, 1'000'001};  // 16-bit bezier points
         for (uint32_t i = 0; i < 1'000'001; ++i) curve.push_back((i % 100) | ((i % 90) << 16));
         b.Record(85, curve);
       }, false},
      {[](EmfBuilder& b) { for (int i = 0; i < 20; ++i) b.Ellipse(i, i, 100, 100); }, true},
  };
  constexpr size_t kRoom = size_t{2} << 20;
  for (const auto& [inside, plays] : cases) {
    EmfBuilder b(2646, 2646);
    b.Record(59, {});  // begin path
    inside(b);
    b.Record(60, {});                // end path
    b.Record(62, {0, 0, 100, 100});  // fill path
    b.Rectangle(1, 1, 20, 20);
    const std::vector<uint8_t> bytes = b.Bytes();
    EXPECT_TRUE(RunsWithinMemory(size_t{64} << 20, [&, plays = plays] {
      TMetafileRecording recording(kRoom);
      const bool played = PlayEmf(bytes.data(), bytes.size(), recording);
      return played == plays && (!played || recording.Count() == 2);
    })) << bytes.size();
  }
}

}  // namespace
