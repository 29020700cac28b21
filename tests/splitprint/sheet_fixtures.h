// Fixtures of the sheet and batch tests: paper frames and tags in the
// drawing convention, a fake main window for the batch, and sheet files
// read back with the reader.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "batch_host.h"
#include "form1_state.h"
#include "func.h"
#include "gval.h"
#include "jww_builder.h"
#include "jww_data.h"
#include "jww_model_maker.h"
#include "sjis.h"

namespace sheettest {

inline std::string S(const char* utf8) { return Utf8ToSjis(utf8); }

// The number routines the print-origin frames are composed with.
inline bool NumberRoutinesReady() {
  return StrToIntOrZero("7") == 7 && StrToFloatOrZero("2.5") == 2.5 && FormatFixedDecimals(1, 1.5) == "1.5";
}

inline TEntJwwCommon Common(uint32_t id, uint16_t group = 0, uint16_t layer = 0, uint16_t color = 1) {
  TEntJwwCommon c = jwwtest::MakeCommon(group, layer, color, 1);
  c.Group = id;  // identifies the element when the sheet is read back
  return c;
}

// A paper frame: four lines of colour 9, line type 19 and width 200.
inline std::vector<TEntJwwLine> FrameLines(double x0, double y0, double x1, double y1) {
  TEntJwwCommon c = jwwtest::MakeCommon(0, 0, 9, 19);
  c.Width = 200;
  return {jwwtest::MakeLine(x0, y0, x1, y0, c), jwwtest::MakeLine(x1, y0, x1, y1, c),
          jwwtest::MakeLine(x1, y1, x0, y1, c), jwwtest::MakeLine(x0, y1, x0, y0, c)};
}

inline void AddFrame(jwwtest::JwwBuilder& b, double x0, double y0, double x1, double y1) {
  for (const TEntJwwLine& l : FrameLines(x0, y0, x1, y1)) b.AddLine(l);
}
inline void AddFrame(TJwwData& m, double x0, double y0, double x1, double y1) {
  for (const TEntJwwLine& l : FrameLines(x0, y0, x1, y1)) jwwtest::Append(m, l);
}

// A tag text: colour 9, kind 0, content as given (Shift-JIS).
inline TEntJwwText Tag(double x, double y, const std::string& content, uint16_t group = 0) {
  TEntJwwText t = jwwtest::MakeText(x, y, content, jwwtest::MakeCommon(group, 0, 9, 1));
  t.Kind = 0;
  return t;
}

inline std::vector<uint8_t> FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Names of the files in a folder (UTF-8), sorted.
inline std::vector<std::string> FolderFiles(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// The Group ids of the elements of one kind, in the drawing's order.
inline std::vector<uint32_t> IdsOfKind(const TJwwData& d, int32_t kind) {
  std::vector<uint32_t> ids;
  for (int32_t i = 0; i < d.EntityOrderCount; ++i) {
    const TEntJwwOrder& o = d.EntityOrder[static_cast<size_t>(i)];
    if (o.Kind != kind) continue;
    const auto r = static_cast<size_t>(o.Row);
    switch (kind) {
      case kKindLine: ids.push_back(d.Lines[r].Common.Group); break;
      case kKindArc: ids.push_back(d.Arcs[r].Common.Group); break;
      case kKindPoint: ids.push_back(d.Points[r].Common.Group); break;
      case kKindText: ids.push_back(d.Texts[r].Common.Group); break;
      case kKindDimension: ids.push_back(d.Dimensions[r].Common.Group); break;
      case kKindSolid: ids.push_back(d.Solids[r].Common.Group); break;
      case kKindBlockInsert: ids.push_back(d.BlockInserts[r].Common.Group); break;
      default: break;
    }
  }
  return ids;
}

// The main window as the batch sees it, scripted by the test.
class FakeBatchHost : public TBatchHost {
 public:
  std::vector<std::string> Statuses;
  std::vector<std::string> Informs;
  std::vector<std::string> Confirms;
  bool ConfirmAnswer = true;
  std::vector<bool> ButtonStates;
  int32_t EscapeFromPoll = -1;  // Escape is held from this poll on (0-based); -1 never
  int32_t Polls = 0;
  bool StopInOrderDialog = false;
  int32_t OrderDialogs = 0, Previews = 0, Prints = 0, Pumps = 0;
  // Gval.SheetList and the row kinds as the order dialog saw them (last showing).
  std::vector<TStr2List> OrderRows;
  std::vector<TForm1::TSheetRowKind> OrderKinds;
  std::function<void(TForm1&)> OnOrder, OnPreview, OnPrint, OnPump;

  void SetStatusText(const std::string& text) override { Statuses.push_back(text); }
  bool Confirm(const std::string& text) override {
    Confirms.push_back(text);
    return ConfirmAnswer;
  }
  void Inform(const std::string& text) override { Informs.push_back(text); }
  void SetRunButtonsEnabled(bool enabled) override { ButtonStates.push_back(enabled); }
  void ReadPrintOptions(TForm1&) override {}
  bool ShowOrderDialog(TForm1& form) override {
    ++OrderDialogs;
    OrderRows = Gval.SheetList;
    OrderKinds = form.SheetRowKinds;
    if (OnOrder) OnOrder(form);
    return StopInOrderDialog;
  }
  void PreviewSheets(TForm1& form) override {
    ++Previews;
    if (OnPreview) OnPreview(form);
  }
  void PrintSheets(TForm1& form) override {
    ++Prints;
    if (OnPrint) OnPrint(form);
  }
  bool EscapeHeld() override { return EscapeFromPoll >= 0 && Polls++ >= EscapeFromPoll; }
  void PumpMessages() override {
    ++Pumps;
    if (OnPump) OnPump(*form_);
  }
  void Attach(TForm1& form) { form_ = &form; }

 private:
  TForm1* form_ = nullptr;
};

}  // namespace sheettest
