// The drawing-frame chooser as the drawing-frame tab runs it: thumbnails of
// the folder's drawings, the pick, and the clean-up of the thumbnails.
#include "file_io.h"
#include "form1_state.h"
#include "gval.h"
#include "sheet_output.h"

bool TForm1::ChooseFrameFile(TSheetOutputHost& host, const TFrameChooser& choose, std::string& path) {
  const std::string folder = FrameChooserFolder(path, Gval.ProgramFolder);
  AbortRun = false;
  const std::vector<TFrameChoiceRow> rows = MakeFrameChoiceRows(ListFrameDrawings(folder), TempSheetFolder);
  const std::vector<TFrameChoiceRow> made = RenderFrameChoices(
      rows,
      [this] {
        if (CheckAbort()) AbortRun = true;
        return AbortRun;
      },
      [this, &host](const TFrameChoiceRow& row) {
        // A drawing with nothing to draw makes no bitmap and still counts:
        // its cell stays empty. A held image that could not be unpacked is
        // drawn as its white placeholder box; only a bitmap that cannot be
        // written ends the walk.
        const bool ok = RenderToBitmap(host, row.DrawingPath, row.Bitmap, true, true);
        if (!ok) AbortRun = true;
        return ok;
      });
  // The last drawing's unpacked images are not needed any more.
  ResetDrawing();
  const int32_t picked = choose ? choose(made) : -1;
  // Every row's bitmap, the one of a failed rendering included.
  DeleteFrameChoiceBitmaps(rows);
  bool chosen = false;
  if (picked >= 0 && static_cast<size_t>(picked) < made.size()) {
    path = made[static_cast<size_t>(picked)].DrawingPath;
    chosen = true;
  }
  AbortRun = false;
  return chosen;
}
