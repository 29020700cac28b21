#include "console_host.h"

#include <algorithm>

#include "form1_state.h"
#include "gval.h"
#include "sjis.h"

void TConsoleBatchHost::Print(const char* prefix, const std::string& sjis) {
  if (!out_) return;
  std::fprintf(out_, "%s%s\n", prefix, SjisToUtf8(sjis).c_str());
  std::fflush(out_);
}

void TConsoleBatchHost::SetStatusText(const std::string& text) {
  if (text == lastStatus_) return;
  lastStatus_ = text;
  Print("", text);
}

bool TConsoleBatchHost::Confirm(const std::string& text) {
  Print("? ", text);
  return true;
}

void TConsoleBatchHost::Inform(const std::string& text) { Print("! ", text); }

bool TConsoleBatchHost::ShowOrderDialog(TForm1& form) {
  savedSheets_.clear();
  const size_t rows = std::min(Gval.SheetList.size(), form.SheetRowKinds.size());
  for (size_t i = 0; i < rows; ++i)
    if (form.SheetRowKinds[i] == TForm1::TSheetRowKind::SavedSheet) savedSheets_.push_back(Gval.SheetList[i].First);
  return false;
}
