#include "gra_attribute.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

std::string GroupLabelOf(int32_t row, const std::string& name) {
  return std::string("[") + kHexDigits[(row / 16) & 15] + "] " + name;
}

std::string LayerLabelOf(int32_t row, const std::string& name) {
  return std::string("(") + kHexDigits[row % 16] + ") " + name;
}

struct TDefaultPenColor {
  int32_t pen;
  int32_t onWhite;
  int32_t onBlack;
};

constexpr TDefaultPenColor kDefaultPenColors[] = {
    {1, RgbColor(0, 192, 192), RgbColor(0, 255, 255)},
    {2, RgbColor(0, 0, 0), RgbColor(255, 255, 255)},
    {3, RgbColor(0, 192, 0), RgbColor(0, 255, 0)},
    {4, RgbColor(192, 192, 0), RgbColor(255, 255, 0)},
    {5, RgbColor(192, 0, 192), RgbColor(192, 0, 192)},
    {6, RgbColor(0, 0, 255), RgbColor(32, 32, 255)},
    {7, RgbColor(0, 128, 128), RgbColor(0, 128, 128)},
    {8, RgbColor(255, 0, 128), RgbColor(160, 0, 0)},
    {9, RgbColor(255, 128, 255), RgbColor(192, 128, 128)},
    // The 16 pre-defined SXF colours; its white (108) and black (101) both
    // show as the colour that contrasts with the background.
    {101, RgbColor(0, 0, 0), RgbColor(255, 255, 255)},
    {102, RgbColor(255, 0, 0), RgbColor(255, 0, 0)},
    {103, RgbColor(0, 255, 0), RgbColor(0, 255, 0)},
    {104, RgbColor(0, 0, 255), RgbColor(0, 0, 255)},
    {105, RgbColor(255, 255, 0), RgbColor(255, 255, 0)},
    {106, RgbColor(255, 0, 255), RgbColor(255, 0, 255)},
    {107, RgbColor(0, 255, 255), RgbColor(0, 255, 255)},
    {108, RgbColor(0, 0, 0), RgbColor(255, 255, 255)},
    {109, RgbColor(192, 0, 128), RgbColor(192, 0, 128)},
    {110, RgbColor(192, 128, 64), RgbColor(192, 128, 64)},
    {111, RgbColor(255, 128, 0), RgbColor(255, 128, 0)},
    {112, RgbColor(128, 192, 128), RgbColor(128, 192, 128)},
    {113, RgbColor(0, 128, 255), RgbColor(0, 128, 255)},
    {114, RgbColor(128, 64, 255), RgbColor(128, 64, 255)},
    {115, RgbColor(192, 192, 192), RgbColor(192, 192, 192)},
    {116, RgbColor(128, 128, 128), RgbColor(128, 128, 128)},
};

constexpr double kPenWidths1To9[9] = {0.1, 0.15, 0.2, 0.25, 0.3, 0.35, 0.4, 0.5, 0.01};
constexpr double kPointRadii1To9[9] = {0.2, 0.3, 0.4, 0.5, 0.5, 0.5, 0.5, 0.5, 0.2};

// A multiple of the base unit of types 2..9, formed in extended precision
// and stored as a double.
double UnitTimes(long double factor) {
  constexpr double kUnit = 0.36;
  return static_cast<double>(static_cast<long double>(kUnit) * factor);
}

void SetSegments(TjwvLineType& lt, std::initializer_list<double> segments) {
  lt.Count = static_cast<int32_t>(segments.size());
  std::copy(segments.begin(), segments.end(), lt.Segments.begin());
}

// Random line types 11..15: zig-zags whose dash/gap pattern follows this mask
// (digit 2: +step, digit 0: -step).
constexpr char kRandomMask[] = "22002200202200202022002200202020";

void SetRandomType(TjwvLineType& lt, double amplitude, double step) {
  lt.Count = kLineTypeMaxSegments;
  lt.Amplitude = amplitude;
  for (int k = 0; k < kLineTypeMaxSegments; ++k) lt.Segments[k] = (kRandomMask[k] - '0' - 1) * step;
}

}  // namespace

TgraAttribute::TgraAttribute()
    : Layers(kLayerRowCount),
      LayerCount(kLayerRowCount),
      Pens(kPenRowCount),
      PenCount(kPenRowCount),
      LineTypes(kLineTypeRowCount),
      LineTypeCount(kLineTypeRowCount) {
  Reset();
}

TgraAttribute::~TgraAttribute() {
  LayerCount = PenCount = LineTypeCount = 0;
}

void TgraAttribute::Reset() {
  LineWidthMode = false;
  ColorConversion = false;
  MonoThreshold = -1;
  LightThreshold = -1;
  SxfLightThreshold = -1;
  BackgroundMode = 0;
  BackgroundColor = RgbColor(255, 255, 255);
  ForegroundColor = 0;
  GrayColor = RgbColor(128, 128, 128);
  InitLayers();
  InitPenColors();
  InitPenWidths();
  InitPointRadii();
  InitLineTypes();
}

void TgraAttribute::SetColorConversion(bool on, int32_t mono, int32_t light, int32_t sxfLight) {
  ColorConversion = on;
  MonoThreshold = mono;
  LightThreshold = light;
  SxfLightThreshold = sxfLight;
}

void TgraAttribute::InitLayers() {
  for (int32_t row = 0; row < static_cast<int32_t>(Layers.size()); ++row) {
    TjwvLayer& layer = Layers[row];
    layer.Mode = 1;
    layer.Scale = 1.0;
    layer.GroupLabel = GroupLabelOf(row, std::string());
    layer.LayerLabel = LayerLabelOf(row, std::string());
  }
}

void TgraAttribute::InitPenColors() {
  for (TjwvPen& pen : Pens) pen.Color = ForegroundColor;
  if (BackgroundMode != 0 && BackgroundMode != 1) return;
  for (const TDefaultPenColor& d : kDefaultPenColors) {
    const int32_t row = PenIndex(d.pen);
    if (row >= 0 && row < static_cast<int32_t>(Pens.size()))
      Pens[row].Color = BackgroundMode == 0 ? d.onWhite : d.onBlack;
  }
}

void TgraAttribute::InitPenWidths() {
  for (TjwvPen& pen : Pens) pen.Width = 0.18;
  for (int32_t i = 0; i < 9 && i < static_cast<int32_t>(Pens.size()); ++i) Pens[i].Width = kPenWidths1To9[i];
}

void TgraAttribute::InitPointRadii() {
  for (TjwvPen& pen : Pens) pen.PointRadius = 0.2;
  for (int32_t i = 0; i < 9 && i < static_cast<int32_t>(Pens.size()); ++i)
    Pens[i].PointRadius = kPointRadii1To9[i];
}

void TgraAttribute::InitLineTypes() {
  for (TjwvLineType& lt : LineTypes) lt = TjwvLineType{};
  if (LineTypes.size() < static_cast<size_t>(kLineTypeRowCount)) return;
  auto row = [this](int32_t type) -> TjwvLineType& { return LineTypes[LineTypeIndex(type)]; };
  const double u = UnitTimes(1);
  SetSegments(row(2), {u, UnitTimes(-2), u});
  SetSegments(row(3), {UnitTimes(2), UnitTimes(-4), UnitTimes(2)});
  SetSegments(row(4), {UnitTimes(3), UnitTimes(-2), UnitTimes(3)});
  SetSegments(row(5), {UnitTimes(5), UnitTimes(-2), UnitTimes(2), UnitTimes(-2), UnitTimes(5)});
  SetSegments(row(6), {UnitTimes(13), UnitTimes(-2), UnitTimes(2), UnitTimes(-2), UnitTimes(13)});
  SetSegments(row(7), {UnitTimes(4), UnitTimes(-2), u, UnitTimes(-2), u, UnitTimes(-2), UnitTimes(4)});
  SetSegments(row(8), {UnitTimes(12), UnitTimes(-2), u, UnitTimes(-2), u, UnitTimes(-2), UnitTimes(12)});
  SetSegments(row(9), {UnitTimes(0.5L), UnitTimes(-3), UnitTimes(0.5L)});
  SetRandomType(row(11), 0.3, 0.6);
  SetRandomType(row(12), 0.3, 1.2);
  SetRandomType(row(13), 0.6, 1.8);
  SetRandomType(row(14), 0.6, 2.4);
  SetRandomType(row(15), 0.6, 3.0);
  SetSegments(row(16), {8.4, -1.2, 1.6, -1.2, 8.4});
  SetSegments(row(17), {10.6, -1.6, 1.2, -1.6, 1.2, -1.6, 10.6});
  SetSegments(row(18), {13.6, -1.6, 13.6});
  SetSegments(row(19), {22, -3, 22});
  // The 15 pre-defined SXF line types; 31 is solid, 46..62 stay solid until
  // a drawing sets them.
  SetSegments(row(32), {6, -1.5});
  SetSegments(row(33), {6, -6});
  SetSegments(row(34), {12, -1.5, 0.25, -1.5});
  SetSegments(row(35), {12, -1.5, 0.25, -1.5, 0.25, -1.5});
  SetSegments(row(36), {12, -1.5, 0.25, -1.5, 0.25, -1.5, 0.25, -1.5});
  SetSegments(row(37), {0.25, -1.5});
  SetSegments(row(38), {12, -1.5, 3.5, -1.5});
  SetSegments(row(39), {12, -1.5, 3.5, -1.5, 3.5, -1.5});
  SetSegments(row(40), {6, -1.5, 0.25, -1.5});
  SetSegments(row(41), {6, -1.5, 6, -1.5, 0.25, -1.5});
  SetSegments(row(42), {6, -1.5, 0.25, -1.5, 0.25, -1.5});
  SetSegments(row(43), {6, -1.5, 6, -1.5, 0.25, -1.5, 0.25, -1.5});
  SetSegments(row(44), {6, -1.5, 0.25, -1.5, 0.25, -1.5, 0.25, -1.5});
  SetSegments(row(45), {6, -1.5, 6, -1.5, 0.25, -1.5, 0.25, -1.5, 0.25, -1.5});
  for (int32_t r = 0; r < kLineTypeRowCount; ++r) UpdateLineTypePeriod(r);
}

void TgraAttribute::SetBackgroundMode(int32_t mode) {
  if (mode == 0) {
    BackgroundMode = 0;
    BackgroundColor = RgbColor(255, 255, 255);
    ForegroundColor = 0;
  } else if (mode == 1) {
    BackgroundMode = 1;
    BackgroundColor = 0;
    ForegroundColor = RgbColor(255, 255, 255);
  }
}

int32_t TgraAttribute::PenIndex(int32_t pen) {
  if (pen >= 1 && pen <= 9) return pen - 1;
  if (pen >= 101 && pen <= 356) return pen - 92;
  return -1;
}

int32_t TgraAttribute::LineTypeIndex(int32_t type) {
  if (type >= 1 && type <= 9) return type - 1;
  if (type >= 11 && type <= 19) return type - 2;
  if (type >= 31 && type <= 62) return type - 13;
  return -1;
}

void TgraAttribute::SetLayer(int32_t row, int32_t mode, double scale, const std::string& groupName,
                             const std::string& layerName) {
  if (row < 0 || row >= static_cast<int32_t>(Layers.size())) return;
  TjwvLayer& layer = Layers[row];
  layer.Mode = (mode >= 1 && mode <= 3) ? mode : 1;
  layer.Scale = scale > 0 ? scale : 1.0;  // NaN is not above 0 either
  layer.GroupLabel = GroupLabelOf(row, groupName);
  layer.LayerLabel = LayerLabelOf(row, layerName);
}

void TgraAttribute::SetLayerMode(int32_t row, int32_t mode) {
  if (row < 0 || row >= static_cast<int32_t>(Layers.size())) return;
  Layers[row].Mode = (mode >= 1 && mode <= 3) ? mode : 1;
}

int32_t TgraAttribute::GetLayerMode(int32_t row) const {
  if (row < 0 || row >= static_cast<int32_t>(Layers.size())) return 1;
  return Layers[row].Mode;
}

const TjwvPen* TgraAttribute::PenRow(int32_t pen) const {
  const int32_t row = PenIndex(pen);
  if (row < 0 || row >= static_cast<int32_t>(Pens.size())) return nullptr;
  return &Pens[row];
}

void TgraAttribute::SetPen(int32_t pen, int32_t color, double width, double pointRadius) {
  const int32_t row = PenIndex(pen);
  if (row < 0 || row >= static_cast<int32_t>(Pens.size())) return;
  Pens[row] = TjwvPen{color, width, pointRadius};
}

int32_t TgraAttribute::GetPenColor(int32_t pen) const {
  const TjwvPen* p = PenRow(pen);
  if (p == nullptr) return BackgroundColor;
  int32_t c = p->Color;
  if (!ColorConversion) return c;
  const bool extended = PenIndex(pen) > 8;
  const int32_t light = extended ? SxfLightThreshold : LightThreshold;
  if (MonoThreshold < 0 && light < 0) return c;

  // Channels taken bitwise, so a stored value with its top byte set still
  // splits into three channels in 0..255. Thresholds are added in 64 bits:
  // a huge threshold from a settings file must not overflow.
  const auto bits = static_cast<uint32_t>(c);
  int64_t r = bits & 0xFF, g = (bits >> 8) & 0xFF, b = (bits >> 16) & 0xFF;
  if (MonoThreshold >= 0) {
    // A channel is 255 afterwards when it was already or when value + t > 255.
    const int64_t t = MonoThreshold;
    auto full = [t](int64_t v) { return v >= 255 || v + t > 255; };
    const bool white = full(r) && full(g) && full(b);
    c = white ? RgbColor(255, 255, 255) : 0;
    r = g = b = white ? 255 : 0;
  }
  if (light >= 0 && r + light >= 255 && g + light >= 255 && b + light >= 255) c = 0;
  return c;
}

double TgraAttribute::GetPenWidth(int32_t pen) const {
  const TjwvPen* p = PenRow(pen);
  return p == nullptr ? 0.0 : p->Width;
}

double TgraAttribute::GetPointRadius(int32_t pen) const {
  const TjwvPen* p = PenRow(pen);
  return p == nullptr ? 0.1 : p->PointRadius;
}

TjwvLineType* TgraAttribute::LineTypeAtRow(int32_t row) {
  if (row < 0 || row >= static_cast<int32_t>(LineTypes.size())) return nullptr;
  return &LineTypes[row];
}

const TjwvLineType* TgraAttribute::LineTypeRow(int32_t type) const {
  const int32_t row = LineTypeIndex(type);
  if (row < 0 || row >= static_cast<int32_t>(LineTypes.size())) return nullptr;
  return &LineTypes[row];
}

// The count comes from a drawing file: it is held to 0..32 so that no later
// copy or sum can run past the 32 segments.
void TgraAttribute::SetLineTypeCount(int32_t row, int32_t count) {
  if (TjwvLineType* lt = LineTypeAtRow(row)) lt->Count = std::clamp(count, 0, kLineTypeMaxSegments);
}

void TgraAttribute::SetLineTypeAmplitude(int32_t row, double amplitude) {
  if (TjwvLineType* lt = LineTypeAtRow(row)) lt->Amplitude = amplitude;
}

void TgraAttribute::SetLineTypeSegment(int32_t row, int32_t index, double length) {
  TjwvLineType* lt = LineTypeAtRow(row);
  if (lt == nullptr || index < 0 || index >= lt->Count || index >= kLineTypeMaxSegments) return;
  lt->Segments[index] = length;
}

void TgraAttribute::UpdateLineTypePeriod(int32_t row) {
  TjwvLineType* lt = LineTypeAtRow(row);
  if (lt == nullptr) return;
  const int32_t n = std::clamp(lt->Count, 0, kLineTypeMaxSegments);
  long double sum = 0;
  for (int32_t i = 0; i < n; ++i) sum += std::fabs(static_cast<long double>(lt->Segments[i]));
  lt->Period = static_cast<double>(sum);
}

int32_t TgraAttribute::GetLineTypeCount(int32_t type) const {
  const TjwvLineType* lt = LineTypeRow(type);
  return lt == nullptr ? 0 : std::clamp(lt->Count, 0, kLineTypeMaxSegments);
}

double TgraAttribute::GetLineTypeAmplitude(int32_t type) const {
  const TjwvLineType* lt = LineTypeRow(type);
  return lt == nullptr ? 0.0 : lt->Amplitude;
}

int32_t TgraAttribute::GetLineTypeSegments(int32_t type, double* buffer) const {
  const TjwvLineType* lt = LineTypeRow(type);
  if (lt == nullptr || buffer == nullptr) return 0;
  const int32_t n = std::clamp(lt->Count, 0, kLineTypeMaxSegments);
  std::copy_n(lt->Segments.begin(), n, buffer);
  return n;
}

double TgraAttribute::GetLineTypePeriod(int32_t type) const {
  const TjwvLineType* lt = LineTypeRow(type);
  return lt == nullptr ? 0.0 : lt->Period;
}
