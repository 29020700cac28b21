#include "qt_canvas_font.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

#include "qt_font_faces.h"
#include "sjis.h"

namespace {

// Glyphs beyond this many pixels would only exhaust the glyph caches.
constexpr int kMaxFontPixels = 16384;
constexpr size_t kMaxCachedFonts = 256;

QFont MakeFont(const TLogFont& f, bool sideways) {
  const std::string face = sideways ? f.FaceName.substr(1) : f.FaceName;
  QFont font;
  font.setFamilies(QStringList{FontFamilyForFace(QString::fromStdString(SjisToUtf8(face)))});
  const int64_t height = std::llabs(int64_t(f.Height));
  font.setPixelSize(int(std::clamp<int64_t>(height, 1, kMaxFontPixels)));
  // The logical width is the average character width, half the em of a
  // full-width face: stretch by twice width over height.
  if (f.Width != 0 && height > 0) {
    const double stretch = 200.0 * std::fabs(double(f.Width)) / double(height);
    font.setStretch(int(std::clamp(std::lround(stretch), 1L, 4000L)));
  }
  font.setWeight(QFont::Weight(std::clamp(f.Weight <= 0 ? 400 : f.Weight, 1, 1000)));
  font.setItalic(f.Italic);
  font.setUnderline(f.Underline);
  font.setStrikeOut(f.StrikeOut);
  font.setKerning(false);
  // The render hint alone leaves grey edges on glyphs.
  font.setStyleStrategy(QFont::NoAntialias);
  return font;
}

bool IsSideways(const std::string& face) {
  return !face.empty() && face[0] == '@' && (face.size() < 2 || face[1] != '@');
}

}  // namespace

TQtCanvasFont::TQtCanvasFont(const TLogFont& logFont, QPaintDevice* device)
    : font(MakeFont(logFont, IsSideways(logFont.FaceName))),
      metrics(font, device),
      ascent(int(std::lround(metrics.ascent()))),
      cellHeight(int(std::lround(metrics.ascent() + metrics.descent()))),
      em(font.pixelSize()),
      sideways(IsSideways(logFont.FaceName)),
      plain(!logFont.Underline && !logFont.StrikeOut) {}

const QRawFont& TQtCanvasFont::RawFont() const {
  if (!raw_) raw_ = std::make_unique<QRawFont>(QRawFont::fromFont(font));
  return *raw_;
}

const TQtCanvasFont& TQtCanvasFontCache::Get(const TLogFont& f, QPaintDevice* device) {
  std::string key = f.FaceName;
  key += '\0';
  for (int32_t v : {f.Height, f.Width, f.Weight, int32_t(f.Italic), int32_t(f.Underline),
                    int32_t(f.StrikeOut)}) {
    key.append(reinterpret_cast<const char*>(&v), sizeof v);
  }
  auto found = fonts_.find(key);
  if (found == fonts_.end()) {
    if (fonts_.size() >= kMaxCachedFonts) fonts_.clear();
    found = fonts_.emplace(std::move(key), std::make_unique<TQtCanvasFont>(f, device)).first;
  }
  return *found->second;
}
