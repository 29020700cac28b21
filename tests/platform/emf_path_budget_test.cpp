#include <gtest/gtest.h>

#include <functional>

#include "emf_player.h"
#include "memory_limit.h"
#include "metafile_builders.h"
#include "metafile_recording.h"

using namespace metatest;

namespace {

constexpr uint32_t kBeginPath = 59, kEndPath = 60, kFillPath = 62, kMoveTo = 27, kLineTo = 54, kPolyBezier16 = 85;

struct PathCase {
  const char* name;
  std::function<void(EmfBuilder&)> inside;  // records between the path's start and end
  bool played;
};

// A path is held by the player until it is filled: its points must count
// against the recording's room, or a small file of ellipses (hundreds of
// points from each 24-byte record) takes gigabytes.
TEST(EmfPathBudget, PathsBeyondTheRoomRefuseThePicture) {
  const std::vector<PathCase> cases = {
      {"many large ellipses",
       [](EmfBuilder& b) {
         for (int i = 0; i < 20000; ++i) b.Ellipse(0, 0, 100, 100);
       },
       false},
      {"many line segments",
       [](EmfBuilder& b) {
         b.Record(kMoveTo, {0, 0});
         for (int i = 0; i < 200000; ++i) b.Record(kLineTo, EmfBuilder::U({i % 100, i % 97}));
       },
       false},
      {"one long curve",
       [](EmfBuilder& b) {
         std::vector<uint32_t> params = {0, 0, 0, 0, 1'000'001};
         for (uint32_t i = 0; i < 1'000'001; ++i) params.push_back((i % 100) | ((i % 90) << 16));
         b.Record(kPolyBezier16, params);
       },
       false},
      {"a few ellipses", [](EmfBuilder& b) { for (int i = 0; i < 20; ++i) b.Ellipse(i, i, 100, 100); }, true},
  };
  constexpr size_t kRoom = size_t{2} << 20;  // far below what the refused cases would hold
  for (const PathCase& c : cases) {
    SCOPED_TRACE(c.name);
    EmfBuilder b(2646, 2646);
    b.Record(kBeginPath, {});
    c.inside(b);
    b.Record(kEndPath, {});
    b.Record(kFillPath, {0, 0, 100, 100});
    b.Rectangle(1, 1, 20, 20);
    const std::vector<uint8_t> bytes = b.Bytes();
    EXPECT_TRUE(RunsWithinMemory(size_t{64} << 20, [&] {
      TMetafileRecording recording(kRoom);
      const bool played = PlayEmf(bytes.data(), bytes.size(), recording);
      return played == c.played && recording.UsedBytes() <= kRoom && (!played || recording.Count() == 2);
    }));
  }
}

}  // namespace
