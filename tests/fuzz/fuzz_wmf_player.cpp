// libFuzzer target for the WMF player: any byte string must play without a
// crash, a hang or unbounded allocation; what it draws is recorded within
// the recording's budget and replayed.
#include "metafile_builders.h"
#include "metafile_fuzz.h"
#include "wmf_player.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  metafuzz::WriteSeed(metatest::SampleWmf(), "seed_sample.wmf");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TMetafileRecording recording(metafuzz::kBudget);
  TMetafileSize pictureSize;
  PlayWmf(data, size, recording, pictureSize);
  metafuzz::CheckAndReplay(recording);
  return 0;
}
