// Control identifiers of the settings dialog, named after its controls; the
// dialog probe of the tests finds the controls by them.
#pragma once

enum DialogControlId : int {
  kIdButton1 = 1,  // IDOK: Enter presses it
  kIdButton2 = 2,  // IDCANCEL: Escape presses it
  kIdLabel1 = 1001,
  kIdLabel2,
  kIdLabel3,
  kIdLabel4,
  kIdLabel5,
  kIdLabel6,
  kIdLabel7,
  kIdLabel8,
  kIdLabel9,
  kIdLabel10,
  kIdLabel11,
  kIdLabel12,
  kIdLabel13,
  kIdLabel14,
  kIdLabel15,
  kIdLabel16,
  kIdLabel17,
  kIdComboBox1 = 1101,
  kIdGroupBox1 = 1201,
  kIdRadioGroup1 = 1301,
  kIdRadioItem0 = 1310,  // items 0..8 follow in order
  kIdEdit1 = 1401,
  kIdEdit2,
  kIdEdit3,
};

inline constexpr int kRadioItemCount = 9;
