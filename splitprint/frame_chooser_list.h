// The toolkit-free part of the drawing-frame chooser: the drawings of a
// folder, one row per thumbnail (bitmap, caption, drawing path), and the
// thumbnail walk that stops on Escape or a failed rendering.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// The chooser offers at most this many drawings.
inline constexpr size_t kMaxFrameChoices = 10000;

struct TFrameChoiceRow {
  std::string Bitmap;       // thumbnail file, one name per row
  std::string Caption;      // the drawing's name without folder and extension (native)
  std::string DrawingPath;  // the drawing as found in the folder
};

// The folder the chooser shows for a field's path (with its trailing '/'):
// the path's own folder, or programFolder when the path has none.
std::string FrameChooserFolder(const std::string& path, const std::string& programFolder);

// Regular files of folder (Shift-JIS, trailing '/') whose extension is
// ".jww" in any case, dot files left out, in the order the file system
// gives them, at most limit of them. A folder that cannot be read lists none.
std::vector<std::string> ListFrameDrawings(const std::string& folder, size_t limit = kMaxFrameChoices);

// One row per drawing (at most kMaxFrameChoices), its bitmap in bmpFolder
// under a name of its own, so drawings whose names differ only in case
// never share a bitmap.
std::vector<TFrameChoiceRow> MakeFrameChoiceRows(const std::vector<std::string>& drawings,
                                                 const std::string& bmpFolder);

// The thumbnail walk: before each row, aborted() is asked and ends the walk
// when true; render(row) makes the row's bitmap and a false answer ends the
// walk. Answers the rows whose bitmaps were made, in order.
std::vector<TFrameChoiceRow> RenderFrameChoices(const std::vector<TFrameChoiceRow>& rows,
                                                const std::function<bool()>& aborted,
                                                const std::function<bool(const TFrameChoiceRow&)>& render);

// Deletes the bitmaps of the rows that exist; failures are ignored.
void DeleteFrameChoiceBitmaps(const std::vector<TFrameChoiceRow>& rows);
