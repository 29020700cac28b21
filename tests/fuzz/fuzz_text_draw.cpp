// libFuzzer target for text drawing: any text (up to the 255 bytes a text
// element holds), face and geometry, NaN and infinities included, draws
// without a crash or a hang and outputs no more pieces than it has bytes.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "gra_attribute.h"
#include "gval.h"
#include "recording_canvas.h"
#include "render/text_draw.h"
#include "render/text_vars.h"

namespace {

constexpr double kValues[16] = {
    0, 1, -1, 2.5, -2.5, 1e-15, 6.1, 1000, -1e8, 1e300, 1e-320,
    std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
    -std::numeric_limits<double>::infinity(), 0.3, 50,
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  constexpr size_t kHead = 9;  // x1 y1 x2 y2 h w sp, scale, clock
  if (size < kHead) return 0;
  static TgraAttribute attr;
  Gval.Reset();
  Gval.GraAttribute = &attr;
  SetView(320, 240, data[7] % 2 ? 10 : kValues[data[7] >> 4], 50, 50);
  Gval.DrawingScale = kValues[data[8] & 15];
  Gval.PrintScale = kValues[data[8] >> 4];
  Gval.DrawingFileTime = kValues[data[8] & 15] * 1e4;
  SetTextVariableClock([v = kValues[data[8] >> 4] * 1e4] { return v; });
  double g[7];
  for (int i = 0; i < 7; ++i) g[i] = kValues[data[i] & 15] + kValues[data[i] >> 4];
  const std::string rest(reinterpret_cast<const char*>(data + kHead), size - kHead);
  const size_t cut = rest.find('\n');
  const std::string face = cut == std::string::npos ? "F" : rest.substr(0, cut);
  std::string text = cut == std::string::npos ? rest : rest.substr(cut + 1);
  if (text.size() > 255) text.resize(255);
  Gval.DrawingFileName = face;
  TRecordingCanvas canvas;
  DrawTextEntity(canvas, data[0] & 15, face, g[0], g[1], g[2], g[3], g[4], g[5], g[6], text);
  // Variables may be longer than their code, but a path is no longer than the face.
  if (canvas.Of(TCanvasCall::TextOut).size() > text.size() + face.size() + 64) std::abort();
  SetTextVariableClock(nullptr);
  return 0;
}
