// libFuzzer target for the JWW reader: any byte string must load without a
// crash, a hang or unbounded allocation, and leave a consistent model.
// Whatever was read is then saved (in its own version and as 351) and must
// read back: the writer never writes a file the reader refuses.
//
// With FUZZ_WRITE_SEEDS naming a folder, LLVMFuzzerInitialize writes the
// test-side builder's drawings there as seeds (tools/fuzz.sh does this).
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bind_images.h"
#include "jww_builder.h"
#include "jww_data.h"

namespace {

void WriteSeeds(const std::string& folder) {
  jwwtest::JwwBuilder sample = jwwtest::MakeSampleDrawing();
  sample.drawing.Images[1].Content.resize(64);
  int n = 0;
  auto save = [&](const jwwtest::JwwBuilder& b, int32_t version) {
    const std::vector<uint8_t> bytes = b.Bytes(version);
    const std::string path = folder + "/seed_" + std::to_string(n++) + "_v" + std::to_string(version) + ".jww";
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
      std::fwrite(bytes.data(), 1, bytes.size(), f);
      std::fclose(f);
    }
  };
  for (int32_t v : {220, 230, 231, 300, 350, 351, 420, 600, 700}) save(sample, v);
  jwwtest::JwwBuilder wide = sample;
  wide.options.UnicodeStrings = wide.options.UnicodeMemo = true;
  wide.options.WideCounts = wide.options.LongClassRefs = true;
  save(wide, 700);
}

// Stops a fuzz input from ever growing the model past what its bytes allow
// (the reader bounds every count by the bytes left).
bool Consistent(const TJwwData& d) {
  return d.Lines.size() == static_cast<size_t>(d.LineCount) && d.Arcs.size() == static_cast<size_t>(d.ArcCount) &&
         d.Texts.size() == static_cast<size_t>(d.TextCount) &&
         d.BlockDefs.size() == static_cast<size_t>(d.BlockDefCount) &&
         d.EntityOrder.size() == static_cast<size_t>(d.EntityOrderCount);
}

}  // namespace

// Saves the model in the version and reads the file back; false when the
// writer refused (allowed) is not a fault, a file that fails to read is.
void SaveAndReadBack(TJwwData& model, int32_t version) {
  static std::vector<uint8_t> bytes;
  static TJwwData back;
  if (!model.SaveToBytes(bytes, version)) return;
  if (!back.LoadFromBytes(bytes.data(), bytes.size())) std::abort();
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Held images are parsed but never written to disk; the writer looks for
  // them in a folder that is not there.
  BindImg.BindImageExtractFlag = 0;
  BindImg.BindImageKeepFlag = 1;
  BindImg.TempFolder = "/nonexistent-fuzz-temp-folder/";
  if (const char* folder = std::getenv("FUZZ_WRITE_SEEDS")) WriteSeeds(folder);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static TJwwData model;  // reused like the application's working drawing
  model.LoadFromBytes(data, size);
  if (!Consistent(model)) std::abort();
  // Every definition counts as used (the tree build is left out: nested
  // inserts may make it large), so the definitions are written too.
  for (int32_t i = 0; i < model.BlockDefCount; ++i) {
    model.BlockDefs[i].Used = 1;
    model.BlockDefs[i].NewNumber = i;
  }
  model.UsedBlockDefCount = model.BlockDefCount;
  SaveAndReadBack(model, model.Header.Version);
  SaveAndReadBack(model, 351);
  return 0;
}
