// libFuzzer target for the EMF player: any byte string must play without a
// crash, a hang or unbounded allocation; what it draws is recorded within
// the recording's budget and replayed.
#include "emf_player.h"
#include "metafile_builders.h"
#include "metafile_fuzz.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  metafuzz::WriteSeed(metatest::SampleEmf(), "seed_sample.emf");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TMetafileRecording recording(metafuzz::kBudget);
  PlayEmf(data, size, recording);
  metafuzz::CheckAndReplay(recording);
  return 0;
}
