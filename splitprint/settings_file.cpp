// The settings file: one value per line, Shift-JIS, CR LF, lines 1 to 39
// always, then five optional blocks. Numbers are written and read without
// the process locale. Folder and file paths are stored with their native
// bytes, which Shift-JIS could not hold for every name.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "dim_text.h"
#include "file_io.h"
#include "file_replace.h"
#include "form1_state.h"
#include "func.h"
#include "printer_settings.h"
#include "run_report.h"
#include "sjis.h"
#include "text_lines.h"

namespace {

// A text value holding a line break would move every later line: it is
// written empty instead.
std::string TextLine(const std::string& s) {
  return s.find_first_of("\r\n") == std::string::npos ? s : std::string();
}

class TSettingsWriter {
 public:
  void Text(const std::string& s) { out_ += TextLine(s) + "\r\n"; }
  void Path(const std::string& s) { Text(s); }
  void Int(int32_t v) { out_ += std::to_string(v) + "\r\n"; }
  void Bool(bool v) { out_ += BoolTo01(v) + "\r\n"; }
  void Real(double v) { out_ += FormatGeneralNumber(v, '.') + "\r\n"; }
  void Bounds(const TWindowBounds& b) {
    Int(b.Left);
    Int(b.Top);
    Int(b.Width);
    Int(b.Height);
  }
  const std::string& Data() const { return out_; }

 private:
  std::string out_;
};

class TSettingsReader {
 public:
  explicit TSettingsReader(std::FILE* f) : lines_(f) {}
  // Each answers false at the end of the file, leaving the value untouched
  // (the line reader empties what it is given before it knows a line is
  // there, so texts are read into a line of their own first).
  bool Text(std::string& v) {
    std::string line;
    if (!lines_.Next(line)) return false;
    v = std::move(line);
    return true;
  }
  // A path line that is not UTF-8 was written in Shift-JIS by an earlier
  // version.
  bool Path(std::string& v) {
    std::string line;
    if (!lines_.Next(line)) return false;
    v = IsValidUtf8(line) ? std::move(line) : PathFromSjisText(line);
    return true;
  }
  bool Int(int32_t& v) {
    std::string line;
    if (!lines_.Next(line)) return false;
    v = StrToIntOrZero(line);
    return true;
  }
  bool Bool(bool& v) {
    std::string line;
    if (!lines_.Next(line)) return false;
    v = TextToBool(line);
    return true;
  }
  bool Real(double& v) {
    std::string line;
    if (!lines_.Next(line)) return false;
    v = StrToFloatOrZero(line);
    return true;
  }
  bool Bounds(TWindowBounds& b) { return Int(b.Left) && Int(b.Top) && Int(b.Width) && Int(b.Height); }

 private:
  TLineReader lines_;
};

void WriteAll(const TForm1& f, TSettingsWriter& w) {
  w.Bounds(f.MainBounds);  // 1-4
  w.Path(f.AddFolder);     // 5
  for (bool checked : f.DestinationChecked) w.Bool(checked);  // 6-10
  w.Path(f.GivenFolder);   // 11
  w.Text(f.Separator);     // 12
  w.Int(f.NamingPattern);
  w.Int(f.ZeroPad);
  w.Int(f.NumberingDirection);  // 15
  w.Bool(f.PrintAfterSplit);
  w.Bool(f.DrawAuxFrame);
  w.Bool(f.CloseUpEmptyNumbers);
  w.Bool(f.ConfirmSaved);
  w.Bool(f.ExplodeBlocks);  // 20
  w.Int(f.StartNumber);
  w.Real(f.Margin);
  w.Int(f.PrintMethod);
  w.Real(f.GivenScale);
  w.Real(f.Rotation);  // 25
  w.Real(f.OffsetX);
  w.Real(f.OffsetY);
  w.Int(f.Monochrome);
  w.Int(f.MonoThreshold);
  w.Int(f.WhiteToBlack);  // 30
  w.Int(f.WhiteThreshold);
  w.Int(f.SxfWhiteToBlack);
  w.Int(f.SxfWhiteThreshold);
  w.Int(f.OneDocument);
  w.Int(f.PrintAuxLines);  // 35
  w.Int(f.DisplayOnlyMode);
  w.Int(f.DisplayOnlyColor);
  w.Int(f.AuxColor);
  w.Int(f.PrintOrder);  // 39
  w.Bool(f.PreviewAfterSplit);  // 40
  w.Bounds(f.PreviewBounds);    // 41-44
  w.Bool(f.AddDrawingFrame);    // 45
  for (const std::string& file : f.FrameFiles) w.Path(file);  // 46-55
  w.Bool(f.FrameHiddenLayers);
  w.Bool(f.FrameAuxElements);
  w.Bounds(f.ChooserBounds);  // 58-61
  w.Text(f.PrinterName);      // 62
  w.Int(f.DevOrientation);
  w.Int(f.DevPaperSize);
  w.Int(f.DevPaperLength);  // 65
  w.Int(f.DevPaperWidth);
  w.Int(f.DevScale);
  w.Int(f.DevPrintQuality);
  w.Int(f.DevYResolution);
  w.Int(f.DevColor);  // 70
  w.Int(f.DevDuplex);
  w.Int(f.DevCollate);
  w.Bounds(f.OrderDialogBounds);  // 73-76
}

// Reads in table order; stops at the first missing line.
void ReadAll(TForm1& f, TSettingsReader& r) {
  bool ok = r.Bounds(f.MainBounds) && r.Path(f.AddFolder);
  for (int32_t i = 0; ok && i < 5; ++i) {
    bool checked = false;
    ok = r.Bool(checked);
    if (ok) f.SetDestinationChecked(i, checked);
  }
  ok = ok && r.Path(f.GivenFolder) && r.Text(f.Separator) && r.Int(f.NamingPattern) && r.Int(f.ZeroPad) &&
       r.Int(f.NumberingDirection) && r.Bool(f.PrintAfterSplit) && r.Bool(f.DrawAuxFrame) &&
       r.Bool(f.CloseUpEmptyNumbers) && r.Bool(f.ConfirmSaved) && r.Bool(f.ExplodeBlocks) && r.Int(f.StartNumber) &&
       r.Real(f.Margin) && r.Int(f.PrintMethod) && r.Real(f.GivenScale) && r.Real(f.Rotation) && r.Real(f.OffsetX) &&
       r.Real(f.OffsetY) && r.Int(f.Monochrome) && r.Int(f.MonoThreshold) && r.Int(f.WhiteToBlack) &&
       r.Int(f.WhiteThreshold) && r.Int(f.SxfWhiteToBlack) && r.Int(f.SxfWhiteThreshold) && r.Int(f.OneDocument) &&
       r.Int(f.PrintAuxLines) && r.Int(f.DisplayOnlyMode) && r.Int(f.DisplayOnlyColor) && r.Int(f.AuxColor) &&
       r.Int(f.PrintOrder);
  // Optional blocks 1 to 5.
  ok = ok && r.Bool(f.PreviewAfterSplit) && r.Bounds(f.PreviewBounds);
  ok = ok && r.Bool(f.AddDrawingFrame);
  for (std::string& file : f.FrameFiles) ok = ok && r.Path(file);
  ok = ok && r.Bool(f.FrameHiddenLayers) && r.Bool(f.FrameAuxElements) && r.Bounds(f.ChooserBounds);
  if (ok && r.Text(f.PrinterName)) {
    f.PrinterName = TrimBlanks(f.PrinterName);
    ok = r.Int(f.DevOrientation) && r.Int(f.DevPaperSize) && r.Int(f.DevPaperLength) && r.Int(f.DevPaperWidth) &&
         r.Int(f.DevScale) && r.Int(f.DevPrintQuality) && r.Int(f.DevYResolution) && r.Int(f.DevColor) &&
         r.Int(f.DevDuplex) && r.Int(f.DevCollate);
    ok = ok && r.Bounds(f.OrderDialogBounds);
  }
}

void SetDevMode(TForm1& f, const TDevModeValues& v) {
  f.DevOrientation = v.Orientation;
  f.DevPaperSize = v.PaperSize;
  f.DevPaperLength = v.PaperLength;
  f.DevPaperWidth = v.PaperWidth;
  f.DevScale = v.Scale;
  f.DevPrintQuality = v.PrintQuality;
  f.DevYResolution = v.YResolution;
  f.DevColor = v.Color;
  f.DevDuplex = v.Duplex;
  f.DevCollate = v.Collate;
}

TDevModeValues DevModeOf(const TForm1& f) {
  TDevModeValues v;
  v.Orientation = ClampInt16(f.DevOrientation);
  v.PaperSize = ClampInt16(f.DevPaperSize);
  v.PaperLength = ClampInt16(f.DevPaperLength);
  v.PaperWidth = ClampInt16(f.DevPaperWidth);
  v.Scale = ClampInt16(f.DevScale);
  v.PrintQuality = ClampInt16(f.DevPrintQuality);
  v.YResolution = ClampInt16(f.DevYResolution);
  v.Color = ClampInt16(f.DevColor);
  v.Duplex = ClampInt16(f.DevDuplex);
  v.Collate = ClampInt16(f.DevCollate);
  return v;
}

}  // namespace

void TForm1::SetDefaultSettings() {
  const TForm1 defaults;
  MainBounds = defaults.MainBounds;
  AddFolder = defaults.AddFolder;
  DestinationChecked = defaults.DestinationChecked;
  GivenFolder = defaults.GivenFolder;
  Separator = defaults.Separator;
  NamingPattern = defaults.NamingPattern;
  ZeroPad = defaults.ZeroPad;
  NumberingDirection = defaults.NumberingDirection;
  PrintAfterSplit = defaults.PrintAfterSplit;
  DrawAuxFrame = defaults.DrawAuxFrame;
  CloseUpEmptyNumbers = defaults.CloseUpEmptyNumbers;
  ConfirmSaved = defaults.ConfirmSaved;
  ExplodeBlocks = defaults.ExplodeBlocks;
  StartNumber = defaults.StartNumber;
  Margin = defaults.Margin;
  PrintMethod = defaults.PrintMethod;
  GivenScale = defaults.GivenScale;
  Rotation = defaults.Rotation;
  OffsetX = defaults.OffsetX;
  OffsetY = defaults.OffsetY;
  Monochrome = defaults.Monochrome;
  MonoThreshold = defaults.MonoThreshold;
  WhiteToBlack = defaults.WhiteToBlack;
  WhiteThreshold = defaults.WhiteThreshold;
  SxfWhiteToBlack = defaults.SxfWhiteToBlack;
  SxfWhiteThreshold = defaults.SxfWhiteThreshold;
  OneDocument = defaults.OneDocument;
  PrintAuxLines = defaults.PrintAuxLines;
  DisplayOnlyMode = defaults.DisplayOnlyMode;
  DisplayOnlyColor = defaults.DisplayOnlyColor;
  AuxColor = defaults.AuxColor;
  PrintOrder = defaults.PrintOrder;
  PreviewAfterSplit = defaults.PreviewAfterSplit;
  PreviewBounds = defaults.PreviewBounds;
  AddDrawingFrame = defaults.AddDrawingFrame;
  FrameFiles = defaults.FrameFiles;
  FrameHiddenLayers = defaults.FrameHiddenLayers;
  FrameAuxElements = defaults.FrameAuxElements;
  ChooserBounds = defaults.ChooserBounds;
  OrderDialogBounds = defaults.OrderDialogBounds;
  PrinterName = defaults.PrinterName;
  SetDevMode(*this, TDevModeValues{});
}

void TForm1::ReadPrinterSettings() {
  PrinterName.clear();
  SetDevMode(*this, TDevModeValues{});
  if (PrinterSettings == nullptr) return;
  const std::vector<std::string> names = PrinterSettings->PrinterNames();
  if (names.empty()) return;
  TDevModeValues values;
  if (!PrinterSettings->ReadDevMode(values)) {
    PrinterSettings->SelectPrinter(PrinterSettings->PrinterIndex());
    if (!PrinterSettings->ReadDevMode(values)) return;
  }
  const int32_t index = PrinterSettings->PrinterIndex();
  if (index >= 0 && index < static_cast<int32_t>(names.size())) PrinterName = TrimBlanks(names[static_cast<size_t>(index)]);
  SetDevMode(*this, TDevModeValues{ClampInt16(values.Orientation), ClampInt16(values.PaperSize),
                                   ClampInt16(values.PaperLength), ClampInt16(values.PaperWidth),
                                   ClampInt16(values.Scale), ClampInt16(values.PrintQuality),
                                   ClampInt16(values.YResolution), ClampInt16(values.Color),
                                   ClampInt16(values.Duplex), ClampInt16(values.Collate)});
}

void TForm1::ApplyPrinterSettings() {
  if (PrinterSettings == nullptr) return;
  const std::vector<std::string> names = PrinterSettings->PrinterNames();
  if (names.empty()) return;
  if (PrinterName.empty()) {
    ReadPrinterSettings();
    return;
  }
  const std::string wanted = UpperAsciiSJIS(PrinterName);
  int32_t found = -1;
  for (size_t i = 0; i < names.size() && found < 0; ++i) {
    if (UpperAsciiSJIS(TrimBlanks(names[i])) == wanted) found = static_cast<int32_t>(i);
  }
  if (found < 0 || !PrinterSettings->SelectPrinter(found)) return;
  PrinterName = names[static_cast<size_t>(found)];
  PrinterSettings->WriteDevMode(DevModeOf(*this), DevPaperSize == 0);
}

void TForm1::LoadSettings(const std::string& path) {
  SetDefaultSettings();
  ReadPrinterSettings();
  if (!FileExists(path)) return;
  if (std::FILE* f = OpenFile(path, "rb")) {
    TSettingsReader reader(f);
    ReadAll(*this, reader);
    std::fclose(f);
  }
  MainBounds.Width = std::max(MainBounds.Width, 200);
  MainBounds.Height = std::max(MainBounds.Height, 200);
  NamingPattern = std::clamp(NamingPattern, 0, 6);
  ZeroPad = std::clamp(ZeroPad, 0, 1);
  NumberingDirection = std::clamp(NumberingDirection, 0, 1);
  ClampStartNumberAndMargin();
  int32_t taken = 0;
  Separator = CopyBytesSJIS(Separator, 1, 8, taken);
  ApplyPrinterSettings();
}

void TForm1::ClampStartNumberAndMargin() {
  StartNumber = std::clamp(StartNumber, 0, 9999);
  if (!(Margin >= 0)) Margin = 0;
  if (Margin > 100) Margin = 100;
}

bool TForm1::SaveSettings(const std::string& path) {
  ReadPrinterSettings();
  TSettingsWriter writer;
  WriteAll(*this, writer);
  const std::filesystem::path target(path);
  std::error_code error;
  if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path(), error);
  const bool saved = WriteFileReplacing(target, writer.Data(), error);
  SettingsSaveReason = saved ? std::string() : SystemReason(error.value());
  return saved;
}
