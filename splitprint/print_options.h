// The print-settings tab as values and texts, free of any toolkit: the
// window copies its controls into a TPrintOptionControls and back, and the
// form converts between it and its print fields.
#pragma once

#include <cstdint>
#include <string>

struct TPrintOptionControls {
  int32_t MethodButton = 0;  // 0 drawing scale, 1 fit, 2 given scale
  std::string ScaleText = "1.0";
  std::string RotationText = "0";
  std::string OffsetXText = "0.0";
  std::string OffsetYText = "0.0";
  bool MonochromeChecked = false;
  bool WhiteToBlackChecked = false;
  bool SxfWhiteToBlackChecked = false;
  bool OneDocumentChecked = false;
  bool PrintAuxLinesChecked = false;
  std::string MonoThresholdText = "0";
  std::string WhiteThresholdText = "0";
  std::string SxfWhiteThresholdText = "0";
  int32_t DisplayOnlyIndex = 1;  // 0..3
  int32_t PrintOrderIndex = 1;   // 0..2
  int32_t DisplayOnlyColor = 0;  // red in the low byte
  int32_t AuxColor = 0;
};
