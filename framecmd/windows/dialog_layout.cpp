#include "dialog_layout.h"

#include "dialog_ids.h"

namespace {

using K = TControlKind;

// Long notes span the client width: Japanese faces other than the one the
// dialog was laid out for may take a pixel more per full-width character.
constexpr TControlPlace kPlaces[] = {
    {kIdLabel1, "Label1", K::Label, 2, 8, 444, 14},
    {kIdLabel3, "Label3", K::Label, 2, 24, 444, 14},
    {kIdLabel2, "Label2", K::Label, 2, 52, 90, 14},
    {kIdComboBox1, "ComboBox1", K::ComboBox, 94, 48, 110, 240},
    {kIdRadioGroup1, "RadioGroup1", K::GroupBox, 216, 40, 222, 82},
    {kIdLabel4, "Label4", K::Label, 2, 130, 444, 14},
    {kIdLabel5, "Label5", K::Label, 2, 146, 444, 14},
    {kIdLabel6, "Label6", K::Label, 2, 166, 444, 14},
    {kIdLabel17, "Label17", K::Label, 2, 186, 444, 14},
    {kIdGroupBox1, "GroupBox1", K::GroupBox, 4, 206, 438, 110},
    {kIdLabel9, "Label9", K::Label, 10, 224, 430, 14},
    {kIdLabel10, "Label10", K::Label, 10, 240, 430, 14},
    {kIdLabel12, "Label12", K::Label, 10, 256, 430, 14},
    {kIdLabel7, "Label7", K::Label, 10, 272, 430, 14},
    {kIdLabel8, "Label8", K::Label, 10, 294, 72, 14},
    {kIdEdit1, "Edit1", K::Edit, 82, 290, 52, 20},
    {kIdLabel11, "Label11", K::Label, 144, 294, 44, 14},
    {kIdEdit2, "Edit2", K::Edit, 188, 290, 52, 20},
    {kIdLabel13, "Label13", K::Label, 250, 294, 44, 14},
    {kIdEdit3, "Edit3", K::Edit, 294, 290, 52, 20},
    {kIdLabel14, "Label14", K::Label, 350, 294, 24, 14},
    {kIdLabel15, "Label15", K::Label, 2, 322, 444, 14},
    {kIdLabel16, "Label16", K::Label, 2, 338, 444, 14},
    {kIdButton1, "Button1", K::DefaultButton, 262, 354, 84, 20},
    {kIdButton2, "Button2", K::Button, 352, 354, 86, 20},
};

}  // namespace

std::span<const TControlPlace> DialogControlPlaces() { return kPlaces; }

RECT RadioItemRect(int item) {
  const int row = item % 3, column = item / 3;
  const int x = 226 + column * 70, y = 58 + row * 20;
  return RECT{x, y, x + 66, y + 18};
}
