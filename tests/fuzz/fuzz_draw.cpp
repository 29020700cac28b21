// libFuzzer target for drawing a model: whatever a JWW file holds, drawing
// it (in every order, turned, in both line-width modes, at thumbnail, print
// and degenerate scales, with block rows naming any definition) must end
// without a crash or a hang. The last byte of the input picks the settings;
// the whole input is the drawing, so the reader's seeds serve here too.
//
// With FUZZ_WRITE_SEEDS naming a folder, LLVMFuzzerInitialize writes the
// test-side builder's sample drawing there, once per group of settings.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bind_images.h"
#include "gra_attribute.h"
#include "gval.h"
#include "jww_builder.h"
#include "jww_data.h"
#include "render/canvas.h"

namespace {

// Draws nowhere: only the engine's side is under test.
class NullCanvas : public TCanvas {
 public:
  void SetPenColor(int32_t c) override { pen_ = c; }
  int32_t PenColor() const override { return pen_; }
  void SetPenWidth(int32_t w) override { width_ = w; }
  int32_t PenWidth() const override { return width_; }
  void SetPenStyle(TPenStyle) override {}
  void SetBrushColor(int32_t) override {}
  void SetBrushStyle(TBrushStyle) override {}
  void MoveTo(int32_t, int32_t) override {}
  void LineTo(int32_t, int32_t) override {}
  void Polyline(const TDevicePoint*, size_t) override {}
  void Polygon(const TDevicePoint*, size_t) override {}
  void SetFont(const TLogFont&) override {}
  void SetFontColor(int32_t) override {}
  void TextOut(int32_t, int32_t, const std::string&) override {}
  std::unique_ptr<TCanvasImage> LoadImage(const std::string&) override { return nullptr; }
  void DrawImage(const TCanvasImage&, const TDeviceRect&, const TDeviceRect&, double, int32_t,
                 int32_t) override {}

 private:
  int32_t pen_ = 0, width_ = 0;
};

// Block rows made from the model's inserts without building the tree
// (nested inserts could make it large): each names a definition by the
// insert's number, in or beyond the definitions.
void AddTreeRows(TJwwData& d) {
  d.BlockTree.clear();
  const size_t n = std::min<size_t>(d.BlockInserts.size(), 64);
  for (size_t i = 0; i < n; ++i) {
    const TEntJwwBlockInsert& ins = d.BlockInserts[i];
    TEntJwwBlockTree row;
    row.Common = ins.Common;
    row.DefRow = static_cast<int32_t>(ins.BlockNumber % 1024) - 2;
    row.OriginX = ins.X, row.OriginY = ins.Y;
    row.M11 = ins.ScaleX * std::cos(ins.Angle), row.M12 = -ins.ScaleY * std::sin(ins.Angle);
    row.M21 = ins.ScaleX * std::sin(ins.Angle), row.M22 = ins.ScaleY * std::cos(ins.Angle);
    d.BlockTree.push_back(row);
  }
  d.BlockTreeCount = static_cast<int32_t>(d.BlockTree.size());
}

void WriteSeeds(const std::string& folder) {
  const jwwtest::JwwBuilder sample = jwwtest::MakeSampleDrawing();
  int n = 0;
  for (int32_t version : {351, 700}) {
    for (uint8_t pick : {0x00, 0x01, 0x0D, 0x2F, 0x47, 0x8D}) {
      std::vector<uint8_t> bytes = sample.Bytes(version);
      bytes.push_back(pick);
      const std::string path = folder + "/seed_" + std::to_string(n++) + ".jww";
      if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  BindImg.BindImageExtractFlag = 0;
  BindImg.BindImageKeepFlag = 1;
  BindImg.TempFolder = "/nonexistent-fuzz-temp-folder/";
  if (const char* folder = std::getenv("FUZZ_WRITE_SEEDS")) WriteSeeds(folder);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static TJwwData model;
  static TgraAttribute attr;
  if (size == 0) return 0;
  const uint8_t pick = data[size - 1];
  model.LoadFromBytes(data, size);
  AddTreeRows(model);

  constexpr double kScales[8] = {0.064, 1, 4, 10, 0, -1, std::numeric_limits<double>::quiet_NaN(), 1e4};
  Gval.Reset();
  attr.Reset();
  attr.SetLineWidthMode((pick & 1) != 0);
  attr.SetDrawAuxLines((pick >> 1) & 1);
  Gval.GraAttribute = &attr;
  SetView(320, 240, kScales[(pick >> 2) & 7], 0, 0);
  NullCanvas canvas;
  const double angle = (pick & 0x20) ? 0.5 : 0;
  model.Draw(canvas, (pick >> 6) % 3, -1, -1, true, true, (pick & 0x20) != 0, angle);
  Gval.Reset();
  return 0;
}
