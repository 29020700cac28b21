// libFuzzer target for the WMF player: any byte string must play without a
// crash, a hang or unbounded allocation; what it draws is recorded within
// the recording's budget and replayed.
//
// With FUZZ_WRITE_SEEDS naming a folder, LLVMFuzzerInitialize writes the
// test-side builder's sample picture there as a seed (tools/fuzz.sh does this).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "wmf_player.h"
#include "metafile_builders.h"
#include "metafile_recording.h"

namespace {

constexpr size_t kBudget = size_t{64} << 20;

class TNullSink : public TMetafileSink {
 public:
  void Shape(const TMetaShape&, const TMetaPen&, const TMetaBrush&) override {}
  void Text(const TMetaText&) override {}
  void Image(const TMetaImage&) override {}
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  if (const char* folder = std::getenv("FUZZ_WRITE_SEEDS")) {
    const std::vector<uint8_t> bytes = metatest::SampleWmf();
    const std::string path = std::string(folder) + "/seed_sample.wmf";
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
      std::fwrite(bytes.data(), 1, bytes.size(), f);
      std::fclose(f);
    }
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TMetafileRecording recording(kBudget);
  TMetafileSize pictureSize;
  PlayWmf(data, size, recording, pictureSize);
  if (recording.UsedBytes() > kBudget) std::abort();
  TNullSink sink;
  recording.Replay(sink);
  return 0;
}
