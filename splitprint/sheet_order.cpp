// The print-order dialog's moves over the saved-sheet list.
#include <algorithm>

#include "form1_state.h"
#include "gval.h"

int32_t TForm1::MoveSheetRow(int32_t row, int32_t step) {
  const auto rows = static_cast<int64_t>(std::min(Gval.SheetList.size(), SheetRowKinds.size()));
  const int64_t target = int64_t{row} + step;
  if (rows < 2 || (step != -1 && step != 1) || row < 0 || row >= rows || target < 0 || target >= rows) return -1;
  SwapSheetRows(row, static_cast<int32_t>(target));
  return static_cast<int32_t>(target);
}
