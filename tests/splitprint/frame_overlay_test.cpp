// The drawing-frame overlay end to end: drawing-frame files written by the
// test builder, a source drawing split into sheets, every sheet read back.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>

#include "file_io.h"
#include "sheet_fixtures.h"
#include "temp_folders.h"

using namespace sheettest;
using jwwtest::JwwBuilder;

namespace {

const std::string kBaseName = S("Quillmoor図面枠") + "@@SFIGORGFLAG@@4";

void ShowAllLayers(JwwBuilder& b) {
  for (auto& g : b.drawing.LayerGroups) g.State = 2;
  for (auto& l : b.drawing.Layers) l.State = 2;
}

TEntJwwCommon Pen(uint16_t color, uint8_t lineType = 1, uint16_t group = 0) {
  return jwwtest::MakeCommon(group, 0, color, lineType);
}

// A drawing-frame drawing. Lines tell themselves apart by their X1:
// 1 plain, 2 on a hidden layer group, 3 auxiliary colour, 4 auxiliary line type.
struct FrameDrawingDesc {
  int32_t Version = 700;
  bool Area = true;
  double Area0X = -200, Area0Y = -138.5, Area1X = 200, Area1Y = 138.5;
  std::string Image, ImageContent;
};

void WriteFrameDrawing(const std::string& path, const FrameDrawingDesc& s) {
  JwwBuilder b;
  ShowAllLayers(b);
  b.LayerGroup(1).State = 0;
  if (s.Area) {
    TEntJwwCommon c = Pen(9, 16);
    c.Width = 200;
    const double x0 = s.Area0X, y0 = s.Area0Y, x1 = s.Area1X, y1 = s.Area1Y;
    for (auto [ax, ay, bx, by] : {std::array{x0, y0, x1, y0}, {x1, y0, x1, y1}, {x1, y1, x0, y1}, {x0, y1, x0, y0}})
      b.AddLine(jwwtest::MakeLine(ax, ay, bx, by, c));
  }
  b.AddSolid(jwwtest::MakeSolid(0, 0, 5, 5, Pen(2)));
  TEntJwwText matching = jwwtest::MakeText(0, 10, "title", Pen(3));
  matching.SizeX = 5.000000004, matching.SizeY = 5, matching.Spacing = 0.5;  // equal once rounded
  b.AddText(matching);
  b.AddText(jwwtest::MakeText(0, 20, "other", Pen(3)));
  for (const auto& [x, c] : {std::pair{1.0, Pen(1)}, {2.0, Pen(1, 1, 1)}, {3.0, Pen(9)}, {4.0, Pen(1, 9)}})
    b.AddLine(jwwtest::MakeLine(x, -50, x + 10, -50, c));
  b.AddArc(jwwtest::MakeCircle(0, 0, 10, Pen(1)));
  b.AddPoint(jwwtest::MakePoint(3, 3, Pen(1)));
  if (!s.Image.empty()) {
    b.AddText(jwwtest::MakeText(-30, -30, "^@BM%temp%" + s.Image + ",20,10", Pen(1)));
    if (s.Version >= 700) b.AddImage(s.Image, s.ImageContent);
  }
  b.AddDimension(jwwtest::MakeDimension(0, -80, 50, -80, "50", Pen(1)));
  ASSERT_TRUE(b.WriteFile(path, s.Version));
}

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class FrameOverlay : public ::testing::Test {
 protected:
  void SetUp() override {
    Gval.Reset();
    BindImg.Reset();
    root = jwwtest::FreshFolder("frame_overlay");
    BindImg.TempFolder = root + "TEMP/";
    std::filesystem::create_directories(BindImg.TempFolder);
    BindImg.BindImageExtractFlag = BindImg.BindImageKeepFlag = 1;
    std::filesystem::create_directories(root + "out");
    form = std::make_unique<TForm1>();
    form->AddDrawingFrame = true;
    sheetImages.clear();
  }

  // Frames of the given sizes side by side, each holding a line and the
  // source's held image "logo.png"; then what more adds.
  void LoadSource(const std::vector<std::pair<double, double>>& frames, const std::function<void(JwwBuilder&)>& more = {}) {
    JwwBuilder b;
    ShowAllLayers(b);
    b.drawing.TextSizes[2] = TEntJwwTextSize{5, 5, 0.5, 3};
    double x = 0;
    for (const auto& [w, h] : frames) {
      AddFrame(b, x, 0, x + w, h);
      b.AddLine(jwwtest::MakeLine(x + 10, 10, x + 20, 10, Pen(1)));
      b.AddText(jwwtest::MakeText(x + 30, 30, "^@BM%temp%logo.png,10,10", Pen(1)));
      x += 1500;
    }
    b.AddImage("logo.png", "SOURCE-LOGO");
    if (more) more(b);
    ASSERT_TRUE(b.WriteFile(root + "src.jww", 700));
    ASSERT_TRUE(form->WorkDrawing.LoadFromFile(root + "src.jww"));
    form->SaveBindImages();
  }

  // Splits, checks that the drawing and the image list are back as loaded,
  // and answers the sheets read back (images extracted into their own folders).
  std::vector<std::unique_ptr<TJwwData>> Split() {
    const TJwwData& d = form->WorkDrawing;
    const std::array<int32_t, 8> counts{d.LineCount,      d.ArcCount,   d.PointCount,       d.TextCount,
                                        d.DimensionCount, d.SolidCount, d.BlockInsertCount, d.EntityOrderCount};
    const int32_t paper = d.Header.PaperSize;
    form->SplitAndSave(root + "out/", "src.jww");
    EXPECT_EQ(counts, (std::array<int32_t, 8>{d.LineCount, d.ArcCount, d.PointCount, d.TextCount, d.DimensionCount,
                                              d.SolidCount, d.BlockInsertCount, d.EntityOrderCount}));
    EXPECT_EQ(paper, d.Header.PaperSize);
    EXPECT_EQ(BindImg.BindImageCount, 1);
    EXPECT_EQ(BindImg.BindImages[0].Name, "logo.png");
    EXPECT_EQ(FolderFiles(BindImg.TempFolder), std::vector<std::string>{"logo.png"});
    EXPECT_EQ(FileText(BindImg.TempFolder + "logo.png"), "SOURCE-LOGO");
    std::vector<std::unique_ptr<TJwwData>> sheets;
    const std::string temp = BindImg.TempFolder;
    for (const std::string& name : FolderFiles(root + "out")) {
      BindImg.TempFolder = jwwtest::FreshFolder("frame_overlay_images_" + std::to_string(sheets.size()));
      sheets.push_back(std::make_unique<TJwwData>());
      EXPECT_TRUE(sheets.back()->LoadFromFile(root + "out/" + name));
      sheetImages.emplace_back();
      for (int32_t i = 0; i < BindImg.BindImageCount; ++i) {
        const std::string& image = BindImg.BindImages[static_cast<size_t>(i)].Name;
        sheetImages.back().push_back(image + "=" + FileText(BindImg.TempFolder + image));
      }
    }
    BindImg.TempFolder = temp;
    return sheets;
  }

  std::string root;
  std::unique_ptr<TForm1> form;
  std::vector<std::vector<std::string>> sheetImages;  // per sheet: "name=content"
};

const TEntJwwBlockInsert& OverlayInsert(const TJwwData& s) {
  return s.BlockInserts[static_cast<size_t>(s.BlockInsertCount - 1)];
}

std::vector<double> LineStarts(const TEntJwwBlockDef& b) {
  std::vector<double> xs;
  for (const TEntJwwLine& l : b.Elements().Lines) {
    EXPECT_FALSE(l.Common.Color == 9 && l.Common.LineType == 16 && l.Common.Width == 200);  // display area
    xs.push_back(l.X1);
  }
  return xs;
}

struct RunCase {
  int32_t PrintOrder;
  bool Hidden, Aux;
  int32_t A3Version;
  std::vector<double> Lines;  // X1 of the copied lines
};

TEST_F(FrameOverlay, SheetsOfClassesThreeFourThree) {
  for (const RunCase& c : {RunCase{1, false, false, 700, {1}}, RunCase{2, true, true, 600, {1, 2, 3, 4}},
                           RunCase{1, true, false, 700, {1, 2}}, RunCase{1, false, true, 700, {1, 3, 4}}}) {
    SetUp();
    form->PrintOrder = c.PrintOrder;
    form->FrameHiddenLayers = c.Hidden;
    form->FrameAuxElements = c.Aux;
    WriteFrameDrawing(root + "a3.jww", FrameDrawingDesc{c.A3Version, true, -200, -138.5, 200, 138.5, "stamp.png", "A3"});
    WriteFrameDrawing(root + "a4.jww", FrameDrawingDesc{700, false, 0, 0, 0, 0, "LOGO.png", "FRAME-LOGO"});
    form->FrameFiles[3] = root + "a3.jww";
    form->FrameFiles[4] = root + "a4.jww";
    LoadSource({{420, 297}, {297, 210}, {420, 297}});
    const auto sheets = Split();
    ASSERT_EQ(sheets.size(), 3u);
    const uint16_t layer = c.PrintOrder == 2 ? 0 : 15;
    const std::string names[3] = {kBaseName, S("Quillmoor図面枠_1") + "@@SFIGORGFLAG@@4",
                                  S("Quillmoor図面枠_2") + "@@SFIGORGFLAG@@4"};
    for (size_t i = 0; i < 3; ++i) {
      SCOPED_TRACE(testing::Message() << "sheet " << i << " order " << c.PrintOrder);
      const TJwwData& s = *sheets[i];
      ASSERT_EQ(s.BlockDefCount, 1);
      const TEntJwwBlockDef& b = s.BlockDefs[0];
      EXPECT_EQ(b.Name, names[i]);
      const TEntJwwBlockInsert& ins = OverlayInsert(s);
      EXPECT_EQ(ins.BlockNumber, static_cast<uint32_t>(b.Number));
      EXPECT_EQ(std::tuple(ins.X, ins.Y, ins.ScaleX, ins.Angle), std::tuple(0.0, 0.0, 1.0, 0.0));
      EXPECT_EQ(std::pair(ins.Common.LayerGroup, ins.Common.Layer), std::pair(layer, layer));
      for (const TEntJwwText& t : b.Elements().Texts) EXPECT_EQ(t.Common.LayerGroup, layer);
      EXPECT_EQ(b.Elements().Dimensions.size(), 1u);
      EXPECT_EQ(b.Elements().Dimensions[0].Text.Common.Layer, layer);
      EXPECT_EQ(LineStarts(b), c.Lines);
      const bool a3 = i != 1;
      EXPECT_EQ(b.Elements().SolidCount, a3 ? 5 : 1);  // four masks before the drawing's own solid
      ASSERT_EQ(b.Elements().TextCount, 3);
      EXPECT_EQ(b.Elements().Texts[0].Kind, 3u);
      EXPECT_EQ(b.Elements().Texts[1].Kind, 0u);
      std::vector<std::string> images{"logo.png=SOURCE-LOGO"};
      if (!a3) images.push_back("frame1_LOGO.png=FRAME-LOGO");
      if (a3 && c.A3Version >= 700) images.push_back("stamp.png=A3");
      EXPECT_EQ(sheetImages[i], images);  // each image once, the right one
      EXPECT_EQ(b.Elements().Texts[2].Content, std::string("^@BM%temp%") + (a3 ? "stamp.png" : "frame1_LOGO.png") + ",20,10");
    }
  }
}

struct MaskCase {
  int32_t PaperClass;
  double W, H;
  FrameDrawingDesc Frame;
  std::array<double, 4> Outer;  // x1, y1, x2, y2
};

TEST_F(FrameOverlay, MasksAroundTheDisplayArea) {
  const MaskCase cases[] = {
      {9, 210, 297, {700, true, -95, -138.5, 95, 138.5, "", ""}, {-105, -148.5, 105, 148.5}},
      {9, 210, 297, {700, true, -110, -140, 100, 140, "", ""}, {-112, -148.5, 105, 148.5}},
      {8, 297, 420, {700, true, -140, -200, 140, 215, "", ""}, {-148.5, -210, 148.5, 217}},
      {4, 297, 210, {700, true, -140, -100, 140, 100, "", ""}, {-148.5, -105, 148.5, 105}},
  };
  for (const MaskCase& c : cases) {
    SetUp();
    WriteFrameDrawing(root + "f.jww", c.Frame);
    form->FrameFiles[static_cast<size_t>(c.PaperClass)] = root + "f.jww";
    LoadSource({{c.W, c.H}});
    const auto sheets = Split();
    ASSERT_EQ(sheets.size(), 1u);
    const TEntJwwBlockDef& b = sheets[0]->BlockDefs[0];
    const auto [x1, y1, x2, y2] = c.Outer;
    const FrameDrawingDesc& a = c.Frame;
    const std::array<double, 8> bands[4] = {{x1, a.Area1Y, x2, a.Area1Y, x2, y2, x1, y2},
                                             {x1, a.Area0Y, a.Area0X, a.Area0Y, a.Area0X, a.Area1Y, x1, a.Area1Y},
                                             {a.Area1X, a.Area0Y, x2, a.Area0Y, x2, a.Area1Y, a.Area1X, a.Area1Y},
                                             {x1, y1, x2, y1, x2, a.Area0Y, x1, a.Area0Y}};
    for (int k = 0; k < 4; ++k) {
      const TEntJwwSolid& s = b.Elements().Solids[static_cast<size_t>(k)];
      EXPECT_EQ((std::array{s.X1, s.Y1, s.X2, s.Y2, s.X3, s.Y3, s.X4, s.Y4}), bands[k]) << "class " << c.PaperClass;
      EXPECT_EQ(std::pair(s.Common.Color, s.Rgb), std::pair(uint16_t{10}, 0xFFFFFFu));
    }
  }
}

TEST_F(FrameOverlay, UnusableFrameFilesGiveSheetsWithoutOverlay) {
  for (const char* kind : {"missing", "not a drawing", "truncated"}) {
    SetUp();
    const std::string path = root + "f.jww";
    if (std::string(kind) == "not a drawing") std::ofstream(path) << "plain text";
    if (std::string(kind) == "truncated") {
      WriteFrameDrawing(path, FrameDrawingDesc{700, true, -200, -138.5, 200, 138.5, "logo.png", "FRAME"});
      std::filesystem::resize_file(path, std::filesystem::file_size(path) - 3);
    }
    form->FrameFiles[3] = path;
    LoadSource({{420, 297}, {420, 297}});
    const auto sheets = Split();
    ASSERT_EQ(sheets.size(), 2u) << kind;
    for (size_t i = 0; i < 2; ++i) {
      EXPECT_EQ(sheets[i]->BlockDefCount, 0) << kind;
      EXPECT_EQ(sheets[i]->BlockInsertCount, 0) << kind;
      EXPECT_EQ(sheetImages[i], std::vector<std::string>{"logo.png=SOURCE-LOGO"}) << kind;
    }
  }
}

TEST_F(FrameOverlay, FrameFileNamedWithAWaveDashInAHangulFolder) {
  std::filesystem::create_directories(root + "도면");
  const std::string path = root + "도면/A3枠\u301C2.jww";  // the wave dash Shift-JIS lacks
  WriteFrameDrawing(path, FrameDrawingDesc{});
  form->FrameFiles[3] = path;
  LoadSource({{420, 297}});
  const auto sheets = Split();
  ASSERT_EQ(sheets.size(), 1u);
  ASSERT_EQ(sheets[0]->BlockDefCount, 1);
  EXPECT_EQ(sheets[0]->BlockDefs[0].Name, kBaseName);
}

// A frame drawing's images never take the place of the run folder's lock or
// of a file there; clearing never follows a link put in the folder's place.
TEST_F(FrameOverlay, RunFolderFilesStayWhateverTheFrameDrawingHolds) {
  enum TCase { kLockName, kNameTaken, kFolderSwapped };
  for (const TCase c : {kLockName, kNameTaken, kFolderSwapped}) {
    SetUp();
    TTempFolders run, second;
    std::filesystem::create_directories(root + "program");
    ASSERT_TRUE(run.Open(root + "program/", ""));
    const std::string folder = BindImg.TempFolder = run.ImageFolder(), image = c == kLockName ? ".lock" : "stamp.png";
    const std::string kept = c == kFolderSwapped ? root + "attacker/frame-images.tmp/thesis.txt" : folder + image;
    WriteFrameDrawing(form->FrameFiles[0] = root + "f.jww", {700, true, -200, -138.5, 200, 138.5, image, "FRAME"});
    LoadSource({{420, 297}});
    std::filesystem::create_directories(root + "attacker/frame-images.tmp");
    if (c != kLockName) std::ofstream(kept) << "OTHER";
    if (c == kFolderSwapped) std::filesystem::rename(folder, folder.substr(0, folder.size() - 1) + "-moved");
    if (c == kFolderSwapped) std::filesystem::create_directory_symlink(root + "attacker", folder.substr(0, folder.size() - 1));
    std::pair<uint64_t, uint64_t> before, after;
    ASSERT_TRUE(FileIdentity(kept, before));
    form->LoadFrameDrawing(0);
    ASSERT_TRUE(second.Open(root + "program/", ""));  // an instance started meanwhile
    form->DeleteAddedBindImages();
    EXPECT_TRUE(FileIdentity(kept, after) && after == before && FileText(kept) != "FRAME") << c;
  }
}

TEST_F(FrameOverlay, UniqueBlockNames) {
  const std::string head = S("Quillmoor図面枠");
  const struct {
    std::vector<std::string> Existing;
    std::string Expected;
  } cases[] = {
      {{}, kBaseName},
      {{head + "@@sfigorgflag@@9"}, head + "_1@@SFIGORGFLAG@@4"},  // the suffix in any case
      {{head, head + "_1"}, head + "_2@@SFIGORGFLAG@@4"},
      {{S("quillmoor図面枠")}, kBaseName},  // the name itself is compared with case
  };
  for (const auto& c : cases) {
    SetUp();
    for (size_t i = 0; i < c.Existing.size(); ++i)
      jwwtest::AddBlockDef(form->WorkDrawing, static_cast<int32_t>(i), c.Existing[i]);
    WriteFrameDrawing(root + "f.jww", FrameDrawingDesc{});
    form->FrameFiles[0] = root + "f.jww";
    ASSERT_TRUE(form->LoadFrameDrawing(0));
    EXPECT_EQ(form->WorkDrawing.BlockDefs.back().Name, c.Expected);
    EXPECT_EQ(form->WorkDrawing.BlockDefs.back().Number, static_cast<int32_t>(c.Existing.size()));
  }
}

TEST_F(FrameOverlay, BlockNumbersNeverOverflow) {
  constexpr int32_t kLast = 2147483647;
  const struct {
    std::vector<int32_t> Existing;
    int32_t Expected;
  } cases[] = {{{}, 0}, {{4, 7}, 8}, {{kLast}, 0}, {{0, kLast, 1, 3}, 2}};
  for (const auto& c : cases) {
    SetUp();
    for (int32_t n : c.Existing) jwwtest::AddBlockDef(form->WorkDrawing, n, "user" + std::to_string(n));
    WriteFrameDrawing(root + "f.jww", FrameDrawingDesc{});
    form->FrameFiles[0] = root + "f.jww";
    ASSERT_TRUE(form->LoadFrameDrawing(0));
    form->InsertFrameBlock();
    EXPECT_EQ(form->WorkDrawing.BlockDefs.back().Number, c.Expected);
    EXPECT_EQ(OverlayInsert(form->WorkDrawing).BlockNumber, static_cast<uint32_t>(c.Expected));  // not the user's block
  }
}

// The source's block is inserted in one frame only. Sheets flag the
// definitions they need without rebuilding the drawing's tree: it stays as
// loaded, wherever the last sheet moved the insert.
TEST_F(FrameOverlay, SheetKeepsItsOwnInsertsBesideTheOverlay) {
  const struct {
    double DoorX, LineX;
    std::vector<std::string> First, Second;
  } cases[] = {{100, 1600, {"door", kBaseName}, {kBaseName}}, {1600, 10, {kBaseName}, {"door", kBaseName}}};
  for (const auto& c : cases) {
    SetUp();
    JwwBuilder b;
    ShowAllLayers(b);
    AddFrame(b, 0, 0, 420, 297);
    AddFrame(b, 1500, 0, 1920, 297);
    b.AddBlockDef(7, "door").Elements.Add(jwwtest::MakeLine(0, 0, 5, 5, Pen(1)));
    b.AddBlockInsert(jwwtest::MakeInsert(c.DoorX, 100, 7, Pen(1)));
    b.AddLine(jwwtest::MakeLine(c.LineX, 10, c.LineX + 10, 10, Pen(1)));
    ASSERT_TRUE(b.WriteFile(root + "src.jww", 700));
    ASSERT_TRUE(form->WorkDrawing.LoadFromFile(root + "src.jww"));
    form->SaveBindImages();
    WriteFrameDrawing(root + "f.jww", FrameDrawingDesc{});
    form->FrameFiles[3] = root + "f.jww";
    form->SplitAndSave(root + "out/", "src.jww");
    const struct {
      const char* File;
      std::vector<std::string> Defs;
    } expected[] = {{"1_src.jww", c.First}, {"2_src.jww", c.Second}};
    for (const auto& e : expected) {
      TJwwData s;
      ASSERT_TRUE(s.LoadFromFile(root + "out/" + e.File));
      std::vector<std::string> defs, inserted;
      for (const TEntJwwBlockDef& d : s.BlockDefs) defs.push_back(d.Name);
      for (const TEntJwwBlockTree& t : s.BlockTree)
        inserted.push_back(t.DefRow >= 0 ? s.BlockDefs[static_cast<size_t>(t.DefRow)].Name : "");
      EXPECT_EQ(defs, e.Defs) << e.File;
      EXPECT_EQ(inserted, e.Defs) << e.File;  // every insert finds its definition
    }
    const TJwwData& w = form->WorkDrawing;
    EXPECT_EQ(w.BlockTreeCount, 1);  // the tree as loaded again
    EXPECT_TRUE(w.BlockTree.at(0).OriginX == c.DoorX && w.BlockTree[0].OriginY == 100) << c.DoorX;
    EXPECT_EQ(w.UsedBlockDefCount, 1) << c.DoorX;  // the loaded drawing's flags again: the overlay's block unused
  }
}

// A drawing that hides the overlay's layer or its group: each sheet shows
// them for its title block unless it holds something of its own on what
// showing them would reveal; then the closing box names the drawing.
TEST_F(FrameOverlay, TitleBlockOnAHiddenLayer) {
  enum THeld { kLine, kKeptLayersBlock, kAuxFrame };  // the sheet's own line, and the aux frame drawn or not
  const struct { const char* Name; bool Reverse, GroupHidden, LayerHidden; uint16_t OwnGroup, OwnLayer; THeld Held; bool Shown; } cases[] = {
      {"layer", false, false, true, 0, 0, kLine, true},
      {"group", false, true, false, 0, 0, kLine, true},
      {"group and layer", false, true, true, 15, 3, kLine, false},
      {"group's other layer", false, false, true, 15, 3, kLine, true},
      {"aux frame lines", false, false, true, 0, 0, kAuxFrame, true},
      {"layer used", false, false, true, 15, 15, kLine, false},
      {"reverse order", true, true, false, 0, 0, kLine, false},
      {"block keeping its layers", false, false, true, 15, 15, kKeptLayersBlock, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    SetUp();
    const uint16_t layer = c.Reverse ? 0 : 15;
    const std::pair<int32_t, int32_t> hidden{c.GroupHidden ? 0 : 2, c.LayerHidden ? 0 : 2};
    LoadSource({{420, 297}}, [&](JwwBuilder& b) {
      std::tie(b.LayerGroup(layer).State, b.Layer(layer, layer).State) = hidden;
      const TEntJwwLine own = jwwtest::MakeLine(10, 10, 20, 10, jwwtest::MakeCommon(c.OwnGroup, c.OwnLayer));
      if (c.Held != kKeptLayersBlock) b.AddLine(own);
      if (c.Held == kKeptLayersBlock) b.AddBlockDef(7, "door").Elements.Add(own);
      if (c.Held == kKeptLayersBlock) b.AddBlockInsert(jwwtest::MakeInsert(100, 100, 7, Pen(1, 1 | 0x40)));
    });
    form->DrawingPath = root + "src.jww";
    form->PrintOrder = c.Reverse ? 2 : 1;
    form->DrawAuxFrame = c.Held == kAuxFrame;
    WriteFrameDrawing(form->FrameFiles[3] = root + "f.jww", FrameDrawingDesc{});
    form->SplitAndSave(root + "out/", "src.jww");
    TJwwData sheet;
    ASSERT_TRUE(sheet.LoadFromFile(root + "out/1_src.jww"));
    EXPECT_EQ(std::pair(form->WorkDrawing.LayerGroups[layer].State, form->WorkDrawing.Layers[layer * 17u].State), hidden);
    EXPECT_EQ(std::pair(sheet.LayerGroups[layer].State, sheet.Layers[layer * 17u].State), c.Shown ? std::pair(2, 2) : hidden);
    EXPECT_EQ(RunEndMessage(form->Report).find(S("図面枠が表示されない図面があります。\r\n") + root + "src.jww"),
              c.Shown ? std::string::npos : 0u);
  }
}

}  // namespace
