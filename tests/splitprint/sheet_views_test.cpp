#include <gtest/gtest.h>

#include "form1_state.h"
#include "gval.h"
#include "sheet_views.h"

namespace {

TEST(SheetViews, ThumbnailGrid) {
  struct TCase {
    int32_t count;
    int32_t width, height;
  } panels[] = {{250, 32600, 738}, {7, 2282, 246}, {100, 32600, 246}, {101, 32600, 492}, {0, 326, 246}};
  for (const TCase& c : panels) {
    EXPECT_EQ(ThumbnailPanel(c.count).Width, c.width) << c.count;
    EXPECT_EQ(ThumbnailPanel(c.count).Height, c.height) << c.count;
  }
  const TGridCell cell = ThumbnailCell(249);
  EXPECT_EQ(cell.Left, 49 * 326 + 3);
  EXPECT_EQ(cell.Top, 2 * 246 + 3);
}

TEST(SheetViews, OrderMovesAndPreviewNames) {
  Gval.Reset();
  TForm1 form;
  form.TempSheetFolder = "/tmp/q/";
  Gval.SheetList = {{"/a/1_x.jww", "/a/x.jww"}, {"/b/1_x.jww", "/b/x.jww"}, {"/c/w.jww", "/c/w.jww"}};
  form.SheetRowKinds = {TForm1::TSheetRowKind::SavedSheet, TForm1::TSheetRowKind::SavedSheet,
                        TForm1::TSheetRowKind::WholeDrawing};
  struct TMove {
    int32_t selected, step, result;
    const char* first;  // the first row afterwards
  } moves[] = {{0, -1, 0, "/a/1_x.jww"}, {2, 1, 2, "/a/1_x.jww"}, {-1, 1, -1, "/a/1_x.jww"}, {2, -1, 1, "/a/1_x.jww"},
               {1, -1, 0, "/c/w.jww"}};
  for (const TMove& m : moves) {
    EXPECT_EQ(form.MoveSheetRow(m.selected, m.step), m.result);
    EXPECT_EQ(Gval.SheetList[0].First, m.first);
  }
  EXPECT_EQ(form.SheetRowKinds[0], TForm1::TSheetRowKind::WholeDrawing);  // the kind moved with its row
  EXPECT_NE(form.PreviewBitmapPath(1), form.PreviewBitmapPath(2));        // same sheet names, own pictures
  EXPECT_EQ(form.PreviewCaption(1), "1_x");
  EXPECT_EQ(form.PreviewCaption(2), "1_x");
  Gval.Reset();
}

}  // namespace
