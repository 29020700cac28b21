#include <gtest/gtest.h>

#include "fake_printer.h"
#include "form1_state.h"
#include "label_lines.h"
#include "print_options.h"
#include "sjis.h"
#include "unit_print.h"

namespace {

TEST(PrintOptions, ControlsIntoFields) {
  struct TCase {
    const char* scale;
    const char* threshold;
    double givenScale;
    int32_t thresholdValue;
  } cases[] = {
      {"0", "300", 0.000001, 255}, {"abc", "-4", 0.000001, 0}, {"-2", "12", 0.000001, 12},
      {"2.5", "255", 2.5, 255},    {" 0.5", "0x10", 0.5, 16},
  };
  for (const TCase& c : cases) {
    TPrintOptionControls controls;
    controls.ScaleText = c.scale;
    controls.MonoThresholdText = controls.WhiteThresholdText = controls.SxfWhiteThresholdText = c.threshold;
    TForm1 form;
    form.ReadPrintOptions(controls);
    EXPECT_EQ(form.GivenScale, c.givenScale) << c.scale;
    EXPECT_EQ(form.MonoThreshold, c.thresholdValue) << c.threshold;
    EXPECT_EQ(form.SxfWhiteThreshold, c.thresholdValue) << c.threshold;
  }
}

TEST(PrintOptions, FieldsShownAndReadBack) {
  TForm1 form;
  form.PrintMethod = 5;
  form.PrintOrder = 7;
  form.DisplayOnlyMode = -1;
  form.AuxColor = -5;
  form.DisplayOnlyColor = 0x7FFFFFFF;
  form.MonoThreshold = 999;
  form.Monochrome = 2;  // on only when exactly 1
  form.OffsetX = -0.25;
  const TPrintOptionControls shown = form.ShowPrintOptions();
  EXPECT_EQ(shown.MethodButton, 2);
  EXPECT_EQ(shown.PrintOrderIndex, 2);
  EXPECT_EQ(form.PrintOrder, 2);
  EXPECT_EQ(shown.DisplayOnlyIndex, 0);
  EXPECT_EQ(shown.AuxColor, 0);
  EXPECT_EQ(shown.DisplayOnlyColor, 16777215);
  EXPECT_EQ(shown.MonoThresholdText, "255");
  EXPECT_FALSE(shown.MonochromeChecked);
  EXPECT_EQ(shown.OffsetXText, "-0.25");
  EXPECT_EQ(shown.ScaleText, "1");
  form.ReadPrintOptions(shown);
  EXPECT_EQ(form.PrintMethod, 2);
  EXPECT_EQ(form.MonoThreshold, 255);
  EXPECT_EQ(form.Monochrome, 0);
  EXPECT_EQ(form.OffsetX, -0.25);
}

TEST(PrintOptions, PrinterLabel) {
  TFakePrinter printer;
  printer.Names = {"Laser"};
  SetCurrentPrinter(&printer);
  const TForm1 form;
  EXPECT_EQ(SjisToUtf8(form.PrinterInfoText()),
            "プリンタ名：Laser\r\n用紙サイズ：横：209.97mm　縦：297.01mm　印刷サイズ：横：203.20mm　縦：287.87mm");
  SetCurrentPrinter(nullptr);
}

TEST(PrintOptions, PrinterLabelBreaksOnlyBetweenValues) {
  // Widths in bytes; "ａ" (0x82 0x81) before "@" is no ideographic space.
  const std::string text = Utf8ToSjis("名：ａ@ｂ\r\n用紙：横：1mm　縦：2mm　印刷：横：3mm");
  const auto bytes = [](const std::string& s) { return static_cast<int32_t>(s.size()); };
  const struct {
    int32_t width;
    const char* lines;
  } cases[] = {
      {100, "名：ａ@ｂ\r\n用紙：横：1mm　縦：2mm　印刷：横：3mm"},
      {24, "名：ａ@ｂ\r\n用紙：横：1mm　縦：2mm\r\n印刷：横：3mm"},
      {5, "名：ａ@ｂ\r\n用紙：横：1mm\r\n縦：2mm\r\n印刷：横：3mm"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(SjisToUtf8(BreakAtWideSpaces(text, c.width, bytes)), c.lines) << c.width;
}

}  // namespace

#include "window_bounds.h"

namespace {

TEST(WindowBounds, StoredPositionOnNoScreenGoesBackToTheDesign) {
  const std::vector<TScreenArea> screens{{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}};
  const TWindowBounds design{193, 111, 520, 488};
  struct TCase {
    TWindowBounds stored;
    std::vector<TScreenArea> screens;
    int32_t left, top;
    int32_t width = 600, height = 400;
  } cases[] = {
      {{2000, 100, 600, 400}, screens, 2000, 100},     // second monitor
      {{3300, 100, 600, 400}, screens, 193, 111},      // right of every screen
      {{1900, 1060, 600, 400}, screens, 193, 111},     // only a corner shows
      {{-560, 10, 600, 400}, screens, -560, 10},       // 40 pixels still on screen
      {{-2147483647, -5, 2147483647, 400}, screens, 193, 111, 1920},  // no overflow
      {{9000, 9000, 600, 400}, {}, 9000, 9000},        // positions unknown: kept
      {{0, 0, 2147483647, 2147483647}, screens, 0, 0, 1920, 1080},  // no larger than the largest screen
      {{-3000, 10, 4000, 400}, screens, 193, 111, 1920},  // visible only through the width it cannot have
  };
  for (const TCase& c : cases) {
    const TWindowBounds placed = PlaceOnScreens(c.stored, c.screens, design);
    EXPECT_EQ(placed.Left, c.left) << c.stored.Left;
    EXPECT_EQ(placed.Top, c.top) << c.stored.Left;
    EXPECT_EQ(placed.Width, c.width) << c.stored.Left;
    EXPECT_EQ(placed.Height, c.height) << c.stored.Left;
  }
  EXPECT_EQ(FitSizeToScreens({9000, 9000, 2147483647, 900}, screens).Width, 1920);  // positions unknown
}

}  // namespace
