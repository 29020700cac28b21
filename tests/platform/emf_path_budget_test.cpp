#include <gtest/gtest.h>

#include <functional>

#include "emf_player.h"
#include "memory_limit.h"
#include "metafile_builders.h"
#include "metafile_recording.h"

using namespace metatest;

namespace {

// A path's points count against the room: a small file of ellipses, line
// segments or curves would take gigabytes.
TEST(EmfPathBudget, PathsBeyondTheRoomRefuseThePicture) {
  const std::pair<std::function<void(EmfBuilder&)>, bool> cases[] = {
      {[](EmfBuilder& b) { for (int i = 0; i < 20000; ++i) b.Ellipse(0, 0, 100, 100); }, false},
      {[](EmfBuilder& b) { for (int i = 0; i < 200000; ++i) b.Record(54, EmfBuilder::U({i % 100, i % 97})); }, false},
      {[](EmfBuilder& b) {  // one curve of a million 16-bit points
         std::vector<uint32_t> curve = {0, 0, 0, 0, 1'000'001};
         for (uint32_t i = 0; i < 1'000'001; ++i) curve.push_back((i % 100) | ((i % 90) << 16));
         b.Record(85, curve);
       }, false},
      {[](EmfBuilder& b) { for (int i = 0; i < 20; ++i) b.Ellipse(i, i, 100, 100); }, true},
  };
  for (const auto& [inside, plays] : cases) {
    EmfBuilder b(2646, 2646);
    b.Record(59, {});  // begin path
    inside(b);
    b.Record(60, {});  // end path, fill it
    b.Record(62, {0, 0, 100, 100});
    b.Rectangle(1, 1, 20, 20);
    const std::vector<uint8_t> bytes = b.Bytes();
    EXPECT_TRUE(RunsWithinMemory(size_t{64} << 20, [&, plays = plays] {
      TMetafileRecording recording(size_t{2} << 20);
      return PlayEmf(bytes.data(), bytes.size(), recording) == plays && (!plays || recording.Count() == 2);
    })) << bytes.size();
  }
}

}  // namespace
