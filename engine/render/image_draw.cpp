// Image texts: the image file is looked up, loaded by the canvas and drawn
// into the element's rectangle, cropped to the rectangle's proportions and
// turned about its first corner. Images too small to show become a white box.
#include "image_draw.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "clipping.h"
#include "file_io.h"
#include "func.h"
#include "gval.h"
#include "primitives.h"

namespace {

constexpr double kNoCrop = 1e-14;
constexpr double kMinDeviceSide = 2;
constexpr double kMaxDeviceSide = 1000000;
constexpr int64_t kPlaceholderSide = 4;
constexpr double kAngleTolerance = 1e-12;
constexpr int32_t kWhite = 0xFFFFFF;

// The file kinds the canvas can draw, by upper-cased extension.
bool HasImageExtension(const std::string& path) {
  const size_t slash = path.rfind('/');
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return false;
  const std::string ext = UpperAsciiSJIS(path.substr(dot));
  static const char* const kExtensions[] = {".BMP", ".WMF", ".EMF",  ".ICO", ".PNG", ".TIF",
                                            ".TIFF", ".JPG", ".JPE", ".JPEG", ".GIF"};
  return std::any_of(std::begin(kExtensions), std::end(kExtensions),
                     [&](const char* e) { return ext == e; });
}

// Windows separators become "/" (the path is native: in UTF-8 a "\" byte is
// always the character itself).
std::string WithSlashes(const std::string& path) {
  std::string out = path;
  std::replace(out.begin(), out.end(), '\\', '/');
  return out;
}

// The drawing's folder with its trailing separator, or "".
std::string DrawingFolder() {
  const std::string& name = Gval.DrawingFileName;
  const size_t slash = name.rfind('/');
  return slash == std::string::npos ? std::string() : name.substr(0, slash + 1);
}

bool IsWindowsAbsolute(const std::string& path) {
  const bool drive = path.size() >= 3 && std::isalpha(uint8_t(path[0])) && path[1] == ':' &&
                     path[2] == '/';
  const bool unc = path.size() >= 2 && path[0] == '/' && path[1] == '/';
  return drive || unc;
}

// The file to open: the path itself, else beside the drawing. A path of
// another machine (drive letter or network share) is tried by its bare
// name beside the drawing, where such drawings usually carry their images.
bool FindImageFile(const std::string& path, std::string& found) {
  const std::string p = WithSlashes(path);
  if (FileExists(p)) {
    found = p;
    return true;
  }
  const std::string folder = DrawingFolder();
  const std::string beside =
      IsWindowsAbsolute(p) ? folder + p.substr(p.rfind('/') + 1) : folder + p;
  if (beside != p && FileExists(beside)) {
    found = beside;
    return true;
  }
  return false;
}

// Truncated towards zero after clamping into int32; false for NaN.
bool TruncatedInt(double v, int32_t& out) {
  if (std::isnan(v)) return false;
  v = std::clamp(v, double(std::numeric_limits<int32_t>::min()),
                 double(std::numeric_limits<int32_t>::max()));
  out = int32_t(std::trunc(v));
  return true;
}

}  // namespace

void DrawImagePlaceholder(TCanvas& canvas, double x1, double y1, double x2, double y2,
                          double angle) {
  SetPenForEntity(canvas, -1, 0, 0, 0.5);
  SetBrushByCode(canvas, kWhite, 1);
  DrawRotatedRect(canvas, x1, y1, x2, y2, angle / 180.0 * std::numbers::pi);
}

void DrawImage(TCanvas& canvas, const std::string& path, double x1, double y1, double x2,
               double y2, double cropX, double cropY, double cropWidth, double angle) {
  if (!HasImageExtension(WithSlashes(path))) return;
  // Crops and angles come from the drawing's text: a value that is no
  // number would make every size below meaningless.
  for (double v : {x1, y1, x2, y2, cropX, cropY, cropWidth, angle})
    if (!std::isfinite(v)) return;
  if (cropWidth <= kNoCrop) cropWidth = 1.0;
  if (cropX <= kNoCrop) cropX = 0;

  const double w = std::fabs(x2 - x1), h = std::fabs(y2 - y1);
  const double ws = w * Gval.ViewScale, hs = h * Gval.ViewScale;
  if (!(ws >= kMinDeviceSide && hs >= kMinDeviceSide)) return;
  if (ws > kMaxDeviceSide || hs > kMaxDeviceSide) return;
  const double radians = angle / 180.0 * std::numbers::pi;
  if (RotatedRectVsWindow(std::min(x1, x2), std::min(y1, y2), w, h, radians, Gval.ViewXMin,
                          Gval.ViewYMin, Gval.ViewXMax, Gval.ViewYMax) == 2)
    return;

  std::string file;
  if (!FindImageFile(path, file)) return;
  const std::unique_ptr<TCanvasImage> image = canvas.LoadImage(file);
  if (!image || image->Width() <= 0 || image->Height() <= 0) return;
  const double imageW = image->Width(), imageH = image->Height();

  // The part shown keeps the rectangle's proportions, measured up from the
  // image's bottom edge.
  const double r = h / w;
  TDeviceRect source;
  if (!TruncatedInt(imageW * cropX, source.Left) ||
      !TruncatedInt(std::fabs(imageW * cropWidth), source.Width) ||
      !TruncatedInt(std::fabs(imageW * cropWidth * r), source.Height) ||
      !TruncatedInt(imageH - imageW * cropWidth * r - imageH * cropY, source.Top))
    return;

  const int32_t X1 = DeviceX(x1), Y1 = DeviceY(y1), X2 = DeviceX(x2), Y2 = DeviceY(y2);
  const int64_t dx = std::llabs(int64_t(X2) - X1), dy = std::llabs(int64_t(Y2) - Y1);
  if (dx <= kPlaceholderSide || dy <= kPlaceholderSide) {
    DrawImagePlaceholder(canvas, x1, y1, x2, y2, angle);
    return;
  }
  const TDeviceRect destination{X1, Y2, int32_t(dx), int32_t(dy)};
  const bool upright =
      std::fabs(angle) <= kAngleTolerance || std::fabs(angle - 360.0) <= kAngleTolerance;
  canvas.DrawImage(*image, destination, source, upright ? 0.0 : angle, X1, Y1);
}
