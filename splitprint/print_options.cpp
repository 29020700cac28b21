// Print options between the form's fields and the tab's controls, and the
// printer label.
#include "print_options.h"

#include <algorithm>

#include "dim_text.h"
#include "form1_state.h"
#include "func.h"
#include "sjis.h"
#include "unit_print.h"

void TForm1::ReadPrintOptions(const TPrintOptionControls& c) {
  PrintMethod = c.MethodButton == 1 ? 1 : (c.MethodButton == 2 ? 2 : 0);
  GivenScale = StrToFloatOrZero(c.ScaleText);
  if (!(GivenScale >= 0.000001)) GivenScale = 0.000001;
  Rotation = StrToFloatOrZero(c.RotationText);
  OffsetX = StrToFloatOrZero(c.OffsetXText);
  OffsetY = StrToFloatOrZero(c.OffsetYText);
  Monochrome = c.MonochromeChecked ? 1 : 0;
  WhiteToBlack = c.WhiteToBlackChecked ? 1 : 0;
  SxfWhiteToBlack = c.SxfWhiteToBlackChecked ? 1 : 0;
  OneDocument = c.OneDocumentChecked ? 1 : 0;
  PrintAuxLines = c.PrintAuxLinesChecked ? 1 : 0;
  MonoThreshold = std::clamp(StrToIntOrZero(c.MonoThresholdText), 0, 255);
  WhiteThreshold = std::clamp(StrToIntOrZero(c.WhiteThresholdText), 0, 255);
  SxfWhiteThreshold = std::clamp(StrToIntOrZero(c.SxfWhiteThresholdText), 0, 255);
  DisplayOnlyMode = c.DisplayOnlyIndex;
  PrintOrder = c.PrintOrderIndex;
  DisplayOnlyColor = c.DisplayOnlyColor;
  AuxColor = c.AuxColor;
}

TPrintOptionControls TForm1::ShowPrintOptions() {
  TPrintOptionControls c;
  c.MethodButton = PrintMethod == 0 ? 0 : (PrintMethod == 1 ? 1 : 2);
  c.ScaleText = FormatGeneralNumber(GivenScale, '.');
  c.RotationText = FormatGeneralNumber(Rotation, '.');
  c.OffsetXText = FormatGeneralNumber(OffsetX, '.');
  c.OffsetYText = FormatGeneralNumber(OffsetY, '.');
  c.MonochromeChecked = Monochrome == 1;
  c.WhiteToBlackChecked = WhiteToBlack == 1;
  c.SxfWhiteToBlackChecked = SxfWhiteToBlack == 1;
  c.OneDocumentChecked = OneDocument == 1;
  c.PrintAuxLinesChecked = PrintAuxLines == 1;
  // The up-down controls keep their values within 0..255.
  c.MonoThresholdText = std::to_string(std::clamp(MonoThreshold, 0, 255));
  c.WhiteThresholdText = std::to_string(std::clamp(WhiteThreshold, 0, 255));
  c.SxfWhiteThresholdText = std::to_string(std::clamp(SxfWhiteThreshold, 0, 255));
  DisplayOnlyMode = std::clamp(DisplayOnlyMode, 0, 3);
  PrintOrder = std::clamp(PrintOrder, 0, 2);
  DisplayOnlyColor = std::clamp(DisplayOnlyColor, 0, 16777215);
  AuxColor = std::clamp(AuxColor, 0, 16777215);
  c.DisplayOnlyIndex = DisplayOnlyMode;
  c.PrintOrderIndex = PrintOrder;
  c.DisplayOnlyColor = DisplayOnlyColor;
  c.AuxColor = AuxColor;
  return c;
}

std::string TForm1::PrinterInfoText() const {
  auto mm = [](double v) { return FormatFixedDecimals(2, v); };
  return Utf8ToSjis("プリンタ名：") + GetPrinterName() + "\r\n" + Utf8ToSjis("用紙サイズ：横：") +
         mm(GetPhysicalWidthMm()) + Utf8ToSjis("mm　縦：") + mm(GetPhysicalHeightMm()) + Utf8ToSjis("mm　") +
         Utf8ToSjis("印刷サイズ：横：") + mm(GetPageWidthMm()) + Utf8ToSjis("mm　縦：") + mm(GetPageHeightMm()) +
         "mm";
}
