// What the metafile players' fuzz targets share: the seed written when
// FUZZ_WRITE_SEEDS names a folder (tools/fuzz.sh does this), and the check
// that a played picture stays within the recording's budget and replays.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "metafile_recording.h"

namespace metafuzz {

constexpr size_t kBudget = size_t{64} << 20;

class TNullSink : public TMetafileSink {
 public:
  void Shape(const TMetaShape&, const TMetaPen&, const TMetaBrush&) override {}
  void Text(const TMetaText&) override {}
  void Image(const TMetaImage&) override {}
};

inline void WriteSeed(const std::vector<uint8_t>& bytes, const char* fileName) {
  const char* folder = std::getenv("FUZZ_WRITE_SEEDS");
  if (folder == nullptr) return;
  const std::string path = std::string(folder) + "/" + fileName;
  if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
}

inline void CheckAndReplay(TMetafileRecording& recording) {
  if (recording.UsedBytes() > kBudget) std::abort();
  TNullSink sink;
  recording.Replay(sink);
}

}  // namespace metafuzz
