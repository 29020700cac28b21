// The main window's controls to the form's fields and back, and its bounds.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <algorithm>

#include "form1_window.h"
#include "func.h"
#include "label_lines.h"
#include "qt_text.h"
#include "window_placement.h"

namespace {

void SetText(QLineEdit* edit, const std::string& sjis) { edit->setText(FromSjis(sjis)); }
std::string Text(const QLineEdit* edit) { return ToSjis(edit->text()); }

}  // namespace

void TForm1Window::ShowSplitSettings() {
  // None checked (the temporary destination) is a state of its own.
  DestinationGroup->setExclusive(false);
  for (size_t i = 0; i < Destinations.size(); ++i) Destinations[i]->setChecked(Form.DestinationChecked[i]);
  DestinationGroup->setExclusive(true);
  GivenFolderEdit->setText(FromPath(Form.GivenFolder));
  SetText(SeparatorEdit, Form.Separator);
  NamingCombo->setCurrentIndex(std::clamp(Form.NamingPattern, 0, NamingCombo->count() - 1));
  ZeroPadCheck->setChecked(Form.ZeroPad == 1);
  DirectionCombo->setCurrentIndex(std::clamp(Form.NumberingDirection, 0, 1));
  StartNumberEdit->setText(QString::number(Form.StartNumber));
  SetText(MarginEdit, FormatGeneralNumber(Form.Margin, '.'));
  const bool checks[] = {Form.PrintAfterSplit, Form.DrawAuxFrame,  Form.CloseUpEmptyNumbers,
                         Form.ConfirmSaved,    Form.ExplodeBlocks, Form.PreviewAfterSplit};
  for (size_t i = 0; i < SplitChecks.size(); ++i) SplitChecks[i]->setChecked(checks[i]);
}

void TForm1Window::ReadSplitSettings() {
  for (size_t i = 0; i < Destinations.size(); ++i) Form.DestinationChecked[i] = Destinations[i]->isChecked();
  Form.GivenFolder = ToPath(GivenFolderEdit->text());
  Form.Separator = Text(SeparatorEdit);
  Form.NamingPattern = std::max(0, NamingCombo->currentIndex());
  Form.ZeroPad = ZeroPadCheck->isChecked() ? 1 : 0;
  Form.NumberingDirection = std::max(0, DirectionCombo->currentIndex());
  // The run and the shut-down bring these into range.
  Form.StartNumber = StrToIntOrZero(Text(StartNumberEdit));
  Form.Margin = StrToFloatOrZero(Text(MarginEdit));
  bool* checks[] = {&Form.PrintAfterSplit, &Form.DrawAuxFrame,  &Form.CloseUpEmptyNumbers,
                    &Form.ConfirmSaved,    &Form.ExplodeBlocks, &Form.PreviewAfterSplit};
  for (size_t i = 0; i < SplitChecks.size(); ++i) *checks[i] = SplitChecks[i]->isChecked();
}

void TForm1Window::ShowFrameSettings() {
  for (size_t c = 0; c < FrameEdits.size(); ++c) FrameEdits[c]->setText(FromPath(Form.FrameFiles[c]));
  FrameChecks[0]->setChecked(Form.AddDrawingFrame);
  FrameChecks[1]->setChecked(Form.FrameHiddenLayers);
  FrameChecks[2]->setChecked(Form.FrameAuxElements);
}

void TForm1Window::ReadFrameSettings() {
  for (size_t c = 0; c < FrameEdits.size(); ++c) Form.FrameFiles[c] = ToPath(FrameEdits[c]->text());
  Form.AddDrawingFrame = FrameChecks[0]->isChecked();
  Form.FrameHiddenLayers = FrameChecks[1]->isChecked();
  Form.FrameAuxElements = FrameChecks[2]->isChecked();
}

void TForm1Window::ShowPrintOptions() {
  const TPrintOptionControls c = Form.ShowPrintOptions();
  MethodButtons[static_cast<size_t>(std::clamp(c.MethodButton, 0, 2))]->setChecked(true);
  SetText(ScaleEdit, c.ScaleText);
  SetText(RotationEdit, c.RotationText);
  SetText(OffsetXEdit, c.OffsetXText);
  SetText(OffsetYEdit, c.OffsetYText);
  const bool checks[] = {c.MonochromeChecked, c.WhiteToBlackChecked, c.SxfWhiteToBlackChecked, c.OneDocumentChecked,
                         c.PrintAuxLinesChecked};
  for (size_t i = 0; i < PrintChecks.size(); ++i) PrintChecks[i]->setChecked(checks[i]);
  // The up-downs keep the values within their range and write their edits.
  ThresholdUpDowns[0]->setValue(StrToIntOrZero(c.MonoThresholdText));
  ThresholdUpDowns[1]->setValue(StrToIntOrZero(c.WhiteThresholdText));
  ThresholdUpDowns[2]->setValue(StrToIntOrZero(c.SxfWhiteThresholdText));
  DisplayOnlyButtons[static_cast<size_t>(c.DisplayOnlyIndex)]->setChecked(true);
  PrintOrderButtons[static_cast<size_t>(c.PrintOrderIndex)]->setChecked(true);
  SetSwatch(LabelA2, c.DisplayOnlyColor);
  SetSwatch(LabelA3, c.AuxColor);
}

TPrintOptionControls TForm1Window::PrintControls() const {
  TPrintOptionControls c;
  c.MethodButton = MethodButtons[1]->isChecked() ? 1 : (MethodButtons[2]->isChecked() ? 2 : 0);
  c.ScaleText = Text(ScaleEdit);
  c.RotationText = Text(RotationEdit);
  c.OffsetXText = Text(OffsetXEdit);
  c.OffsetYText = Text(OffsetYEdit);
  c.MonochromeChecked = PrintChecks[0]->isChecked();
  c.WhiteToBlackChecked = PrintChecks[1]->isChecked();
  c.SxfWhiteToBlackChecked = PrintChecks[2]->isChecked();
  c.OneDocumentChecked = PrintChecks[3]->isChecked();
  c.PrintAuxLinesChecked = PrintChecks[4]->isChecked();
  c.MonoThresholdText = Text(ThresholdEdits[0]);
  c.WhiteThresholdText = Text(ThresholdEdits[1]);
  c.SxfWhiteThresholdText = Text(ThresholdEdits[2]);
  for (size_t i = 0; i < DisplayOnlyButtons.size(); ++i)
    if (DisplayOnlyButtons[i]->isChecked()) c.DisplayOnlyIndex = static_cast<int32_t>(i);
  for (size_t i = 0; i < PrintOrderButtons.size(); ++i)
    if (PrintOrderButtons[i]->isChecked()) c.PrintOrderIndex = static_cast<int32_t>(i);
  c.DisplayOnlyColor = LabelA2->property("windowsColor").toInt();
  c.AuxColor = LabelA3->property("windowsColor").toInt();
  return c;
}

void TForm1Window::ShowPrinterInfo() {
  const QFontMetrics metrics(LabelA1->font());
  const std::string text = BreakAtWideSpaces(Form.PrinterInfoText(), LabelA1->width(), [&](const std::string& piece) {
    return static_cast<int32_t>(metrics.horizontalAdvance(FromSjis(piece)));
  });
  LabelA1->setText(BoxText(text));
}

void TForm1Window::ApplyMainBounds() { PlaceWindow(*this, Form.MainBounds, kMainWindowDesign); }

void TForm1Window::CaptureMainBounds() { Form.MainBounds = StoredBounds(*this, Form.MainBounds); }
