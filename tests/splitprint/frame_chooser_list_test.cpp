#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "file_io.h"
#include "frame_chooser_list.h"
#include "jww_model_maker.h"

namespace {

std::vector<std::string> Names(const std::vector<std::string>& paths) {
  std::vector<std::string> names;
  for (const std::string& p : paths) names.push_back(std::filesystem::path(p).filename().string());
  return names;
}

TEST(FrameChooserList, ListsDrawingsOfAFolderInFileSystemOrder) {
  const std::string folder = jwwtest::FreshFolder("frame_chooser");
  // 25 files: 21 drawings (one ".JWW"), a dot file, a non-drawing name,
  // an empty ".jww", plus one "a.jww"/"a.JWW" pair counted among the drawings.
  std::vector<std::string> files{"UP.JWW", ".hidden.jww", "notes.txt", "empty.jww", "a.jww", "a.JWW"};
  for (int i = 1; files.size() < 25; ++i) files.push_back("d" + std::to_string(i) + ".jww");
  for (const std::string& f : files)
    if (f != "empty.jww") std::ofstream(folder + f) << "JwwData.";
  std::ofstream(folder + "empty.jww").flush();
  std::filesystem::create_directory(folder + "sub.jww");

  std::vector<std::string> expected;  // the order readdir gives
  for (const auto& e : std::filesystem::directory_iterator(folder)) {
    const std::string n = e.path().filename().string();
    if (n != ".hidden.jww" && n != "notes.txt" && n != "sub.jww") expected.push_back(n);
  }
  const std::vector<std::string> listed = ListFrameDrawings(folder);
  EXPECT_EQ(Names(listed), expected);
  EXPECT_EQ(listed.size(), 23u);
  EXPECT_EQ(ListFrameDrawings(folder, 5).size(), 5u);
  EXPECT_TRUE(ListFrameDrawings(folder + "nothing/").empty());

  const std::vector<TFrameChoiceRow> rows = MakeFrameChoiceRows(listed, folder + "bmp/");
  std::set<std::string> bitmaps;
  for (size_t i = 0; i < rows.size(); ++i) {
    bitmaps.insert(rows[i].Bitmap);
    EXPECT_EQ(rows[i].DrawingPath, listed[i]);  // the real path, case and all
    EXPECT_EQ(rows[i].Caption + std::filesystem::path(listed[i]).extension().string(), Names(listed)[i]);
  }
  EXPECT_EQ(bitmaps.size(), rows.size());  // "a.jww" and "a.JWW" never share a bitmap

  // The walk: Escape before the fourth row, or a failed rendering of the third.
  std::filesystem::create_directory(folder + "bmp");
  const struct {
    int EscapeAt, FailAt;
    size_t Made;
  } walks[] = {{3, -1, 3}, {-1, 2, 2}, {-1, -1, 23}};
  for (const auto& w : walks) {
    int asked = 0, rendered = 0;
    const auto made = RenderFrameChoices(
        rows, [&] { return asked++ == w.EscapeAt; },
        [&](const TFrameChoiceRow& r) {
          std::ofstream(r.Bitmap) << "BM";
          return rendered++ != w.FailAt;
        });
    EXPECT_EQ(made.size(), w.Made);
    DeleteFrameChoiceBitmaps(rows);
    EXPECT_TRUE(std::filesystem::is_empty(folder + "bmp"));  // the failed one too
  }
}

// A chooser folder and drawings whose names Shift-JIS lacks keep their bytes.
TEST(FrameChooserList, NamesShiftJisLacks) {
  const std::string folder = jwwtest::FreshFolder("frame_chooser_names") + "도면/";
  std::filesystem::create_directory(folder);
  std::ofstream(folder + "A3枠\u301C2.jww") << "JwwData.";
  EXPECT_EQ(FrameChooserFolder(folder + "A3枠\u301C2.jww", "/opt/q/"), folder);
  const std::vector<std::string> listed = ListFrameDrawings(folder);
  EXPECT_EQ(listed, std::vector<std::string>{folder + "A3枠\u301C2.jww"});
  EXPECT_EQ(MakeFrameChoiceRows(listed, folder).front().Caption, "A3枠\u301C2");
}

TEST(FrameChooserList, RowsStopAtTheCap) {
  const std::vector<std::string> many(kMaxFrameChoices + 5, "/f/x.jww");
  EXPECT_EQ(MakeFrameChoiceRows(many, "/b/").size(), kMaxFrameChoices);
  EXPECT_EQ(FrameChooserFolder("x.jww", "/prog"), "/prog/");
  EXPECT_EQ(FrameChooserFolder("/frames/a4v.jww", "/prog/"), "/frames/");
}

}  // namespace
