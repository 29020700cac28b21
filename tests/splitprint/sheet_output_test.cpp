// Rendering sheets into preview bitmaps, printing them on a recording
// printer, the thumbnail grid and the order moves.
#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <functional>
#include <fstream>

#include "system_reason.h"
#include "bind_images.h"
#include "fake_key_poller.h"
#include "fake_printer.h"
#include "file_io.h"
#include "sheet_fixtures.h"
#include "sheet_output.h"
#include "thumbnail_grid.h"
#include "unit_print.h"

using namespace sheettest;
using jwwtest::JwwBuilder;

namespace {

// Every layer group and layer shown and editable.
void ShowAllLayers(JwwBuilder& b) {
  for (int g = 0; g < 16; ++g) {
    b.LayerGroup(g).State = 2;
    for (int l = 0; l < 16; ++l) b.Layer(g, l).State = 2;
  }
}

// A bitmap that records onto a canvas and writes a marker file on Save.
class FakeBitmap : public TSheetBitmap {
 public:
  TOutOfMemoryCanvas canvas;
  std::vector<std::string> saved;
  int outOfMemoryAt = 0;  // bitmaps to begin up to the one whose drawing runs out of memory
  TCanvas* Begin(int32_t, int32_t) override {
    canvas = TOutOfMemoryCanvas();
    canvas.Armed = --outOfMemoryAt == 0;
    return &canvas;
  }
  size_t writable = SIZE_MAX;  // saves that succeed; later ones fail for a full disk
  bool Save(const std::string& path) override {
    if (saved.size() >= writable) return false;
    saved.push_back(path);
    std::ofstream(path) << "bmp";
    return true;
  }
  int LastSaveError() const override { return ENOSPC; }
};

class FakeOutputHost : public TSheetOutputHost {
 public:
  FakeBitmap bitmap;
  std::vector<std::string> statuses, informs;
  std::vector<std::vector<TThumbnailItem>> previews;  // the items of each showing
  TPreviewAnswer answer;
  void SetStatusText(const std::string& t) override { statuses.push_back(t); }
  void Inform(const std::string& t) override { informs.push_back(t); }
  TSheetBitmap& Bitmap() override { return bitmap; }
  TPreviewAnswer ShowPreview(const std::string& folder) override {
    previews.push_back(SheetPreviewItems(folder));
    return answer;
  }
  std::function<void()> onPump;
  void PumpMessages() override {
    if (onPump) onPump();
  }
};

class SheetOutput : public ::testing::Test {
 protected:
  void SetUp() override {
    Gval.Reset();
    BindImg.Reset();
    folder = jwwtest::FreshFolder("sheet_output");
    BindImg.TempFolder = jwwtest::FreshFolder("sheet_output_images");
    form.TempSheetFolder = jwwtest::FreshFolder("sheet_output_tmp");
    SetCurrentPrinter(&printer);
  }
  void TearDown() override { SetCurrentPrinter(nullptr); }

  std::string Write(const JwwBuilder& b, const std::string& name) {
    std::filesystem::create_directories(std::filesystem::path(folder + name).parent_path());
    EXPECT_TRUE(b.WriteFile(folder + name, 700));
    return folder + name;
  }
  // A sheet with one line (0,0)-(100,0), or only a temporary point.
  std::string Sheet(const std::string& name, bool onlyTemporaryPoint = false) {
    JwwBuilder b;
    if (onlyTemporaryPoint) {
      TEntJwwPoint p = jwwtest::MakePoint(5, 5, Common(1));
      p.Temporary = 1;
      b.AddPoint(p);
    } else {
      b.AddLine(jwwtest::MakeLine(0, 0, 100, 0, Common(1)));
    }
    return Write(b, name);
  }
  void List(const std::vector<std::string>& sheets) {
    for (const std::string& s : sheets) {
      Gval.SheetList.push_back({s, s});
      form.SheetRowKinds.push_back(TForm1::TSheetRowKind::SavedSheet);
    }
  }

  std::string folder;
  TForm1 form;
  TFakePrinter printer;
  FakeOutputHost host;
};

TEST(ThumbnailGrid, PanelAndCells) {
  struct Case {
    size_t count;
    int32_t width, height;
  };
  for (const Case& c : {Case{0, 326, 246}, Case{7, 2282, 246}, Case{100, 32600, 246}, Case{101, 32600, 492},
                        Case{250, 32600, 738}}) {
    const TThumbRect p = ThumbnailPanel(c.count);
    EXPECT_EQ(p.Width, c.width) << c.count;
    EXPECT_EQ(p.Height, c.height) << c.count;
  }
  const TThumbRect r = ThumbnailRect(201);
  EXPECT_EQ(r.Left, 329);
  EXPECT_EQ(r.Top, 495);
  // Points in the gaps between images, or past the last one, hit nothing.
  EXPECT_EQ(ThumbnailAt(329, 495, 250), 201);
  EXPECT_EQ(ThumbnailAt(328, 495, 250), -1);
  EXPECT_EQ(ThumbnailAt(3 + 320, 3, 250), -1);
  EXPECT_EQ(ThumbnailAt(3, 3 + 2 * 246, 250), 200);
  EXPECT_EQ(ThumbnailAt(3 + 50 * 326, 3 + 2 * 246, 250), -1);
  // A caption line taller than the 12 pixels below 228 moves up to fit.
  EXPECT_EQ(ThumbnailCaptionTop(10), 228);
  EXPECT_EQ(ThumbnailCaptionTop(15), 225);
  EXPECT_EQ(ThumbnailCaptionTop(300), 0);
}

TEST_F(SheetOutput, OrderMovesKeepRowsAndKindsTogether) {
  struct Case {
    int32_t rows, row, step, expected;
  };
  for (const Case& c : {Case{1, 0, -1, -1}, Case{1, 0, 1, -1}, Case{3, 0, -1, -1}, Case{3, 2, 1, -1},
                        Case{3, -1, 1, -1}, Case{3, 2, -1, 1}, Case{3, 0, 1, 1}}) {
    Gval.SheetList.clear();
    form.SheetRowKinds.clear();
    for (int32_t i = 0; i < c.rows; ++i) {
      Gval.SheetList.push_back({"s" + std::to_string(i), "d"});
      form.SheetRowKinds.push_back(i == c.row ? TForm1::TSheetRowKind::WholeDrawing : TForm1::TSheetRowKind::SavedSheet);
    }
    EXPECT_EQ(form.MoveSheetRow(c.row, c.step), c.expected) << c.rows << " " << c.row << " " << c.step;
    if (c.expected < 0) continue;
    EXPECT_EQ(Gval.SheetList[size_t(c.expected)].First, "s" + std::to_string(c.row));
    EXPECT_EQ(form.SheetRowKinds[size_t(c.expected)], TForm1::TSheetRowKind::WholeDrawing);
    EXPECT_EQ(Gval.SheetList[size_t(c.row)].First, "s" + std::to_string(c.expected));
  }
}

TEST_F(SheetOutput, OneDocumentGetsAPagePerDrawnSheetOnly) {
  List({Sheet("a.jww"), Sheet("temp.jww", true), Sheet("b.jww"), Sheet("c.jww")});
  form.OneDocument = 1;
  ASSERT_TRUE(form.BeginOneDocument());
  form.PrintSheets(host);
  EXPECT_TRUE(form.EndOneDocument());
  EXPECT_EQ(printer.Titles, (std::vector<std::string>{S("Quillmoor 印刷")}));
  EXPECT_EQ(printer.Pages, 3);  // the first page, then a new page before the second and third
  EXPECT_EQ(printer.Aborts, 0);
  EXPECT_FALSE(printer.Open);
  EXPECT_TRUE(host.informs.empty());
  EXPECT_EQ(host.statuses.front(), S("印刷中：") + folder + S("a.jww　[ESC:中断]"));
}

TEST_F(SheetOutput, OneDocumentWithoutPagesIsCancelled) {
  List({Sheet("temp.jww", true), folder + "gone.jww"});
  form.OneDocument = 1;
  ASSERT_TRUE(form.BeginOneDocument());
  form.PrintSheets(host);
  EXPECT_TRUE(form.EndOneDocument());
  EXPECT_EQ(printer.Aborts, 1);
  EXPECT_FALSE(printer.Open);
}

TEST_F(SheetOutput, OneJobPerSheetTitledByTheCutFileName) {
  const std::string longName = "とても長い名前の分割図面ファイル.jww";  // a native path; the title is Shift-JIS
  List({Sheet("a.jww"), Sheet(longName)});
  form.OneDocument = 0;
  form.PrintSheets(host);
  ASSERT_EQ(printer.Titles.size(), 2u);
  EXPECT_EQ(printer.Titles[0], "Quillmoor_a.jww");
  // "Quillmoor_" is 10 bytes: ten double-byte characters fit in 31 bytes.
  EXPECT_EQ(printer.Titles[1], "Quillmoor_" + S(longName.c_str()).substr(0, 20));
  EXPECT_EQ(printer.Pages, 2);
}

TEST_F(SheetOutput, FailedJobsStopThePrintingAndTellThePrinter) {
  struct Case {
    bool refuseBegin, failEnd;
  };
  for (const Case& c : {Case{true, false}, Case{false, true}}) {
    Gval.SheetList.clear();
    form.SheetRowKinds.clear();
    printer.Titles.clear();
    printer.RefuseBegin = c.refuseBegin;
    printer.FailEnd = c.failEnd;
    host.informs.clear();
    form.AbortRun = false;
    List({Sheet("a.jww"), Sheet("b.jww")});
    form.OneDocument = 0;
    form.PrintSheets(host);
    EXPECT_TRUE(form.AbortRun);
    EXPECT_TRUE(form.PrintFailed);
    EXPECT_EQ(host.informs, (std::vector<std::string>{S("印刷できませんでした：Fake Printer")}));
    EXPECT_EQ(printer.Titles.size(), c.refuseBegin ? 0u : 1u);  // the second sheet is not tried
    EXPECT_FALSE(printer.Open);
  }
}

TEST_F(SheetOutput, PrintPlacementByMethod) {
  JwwBuilder b;
  b.Header().PrintScale = 0.5;
  b.Header().PrintOriginX = 10;
  b.AddLine(jwwtest::MakeLine(-200, 0, 200, 100, Common(1)));
  const std::string path = Write(b, "wide.jww");
  printer.Page[0] = 4800;
  printer.Page[1] = 3300;
  struct Case {
    int32_t method;
    double scale, cx;
  };
  // Page width 4800 px at 600 dpi is 203.2 mm.
  for (const Case& c : {Case{1, std::min(4800 / 404.0, 3300 / 101.0), 5}, Case{0, 4800 * 0.5 / 203.2, 10},
                        Case{2, 4800 * 2 / 203.2, 5}}) {
    form.PrintMethod = c.method;
    form.GivenScale = 2;
    form.OffsetX = 5;
    ASSERT_TRUE(form.PrintSheet(host, path));
    EXPECT_NEAR(Gval.ViewScale, c.scale, 1e-9) << c.method;
    EXPECT_NEAR((Gval.ViewXMin + Gval.ViewXMax) / 2, c.cx, 1e-9) << c.method;
  }
  EXPECT_NEAR(std::min(4800 / 404.0, 3300 / 101.0), 11.88, 0.005);
}

TEST_F(SheetOutput, HeaderRotationTurnsThePage) {
  struct Case {
    int32_t rotation;
    int sign;  // of the line's end below (+) or above (-) its start on the page
  };
  for (const Case& c : {Case{40, 0}, Case{41, 1}, Case{42, -1}}) {
    JwwBuilder b;
    ShowAllLayers(b);
    b.Header().PrintRotation = c.rotation;
    b.AddLine(jwwtest::MakeLine(0, 0, 100, 0, Common(1)));
    const std::string path = Write(b, "turn" + std::to_string(c.rotation) + ".jww");
    printer.Drawn.calls.clear();
    form.PrintMethod = 0;
    form.OneDocument = 0;
    ASSERT_TRUE(form.PrintSheet(host, path));
    std::vector<TDevicePoint> pts;
    for (const TCanvasCall& call : printer.Drawn.calls)
      if (call.kind == TCanvasCall::MoveTo || call.kind == TCanvasCall::LineTo || call.kind == TCanvasCall::Polyline)
        pts.insert(pts.end(), call.points.begin(), call.points.end());
    ASSERT_GE(pts.size(), 2u) << c.rotation;
    const int dy = pts.back().y - pts.front().y;
    EXPECT_EQ((dy > 100) - (dy < -100), c.sign) << c.rotation;
  }
}

TEST_F(SheetOutput, DisplayOnlyGroupHiddenWhenNotPrinted) {
  JwwBuilder b;
  ShowAllLayers(b);
  for (int r = 0; r < 16; ++r) b.Layer(3, r).State = r == 0 ? 1 : 2;  // group 3 display only, layers mixed
  b.LayerGroup(3).State = 1;
  b.Layer(5, 2).State = 1;
  b.AddLine(jwwtest::MakeLine(0, 0, 10, 0, Common(1)));
  const std::string path = Write(b, "display.jww");
  form.DisplayOnlyMode = 0;
  form.OneDocument = 0;
  ASSERT_TRUE(form.PrintSheet(host, path));
  TgraAttribute& a = form.Attributes();
  for (int r = 0; r < 16; ++r) EXPECT_EQ(a.GetLayerMode(3 * 16 + r), 3) << r;
  EXPECT_EQ(a.GetLayerMode(5 * 16 + 2), 3);
  EXPECT_NE(a.GetLayerMode(5 * 16 + 3), 3);
}

TEST_F(SheetOutput, PreviewBitmapsPerRowCaptionedBySheet) {
  // Equal file names from two folders keep a picture each.
  List({Sheet("one/plan.jww"), Sheet("two/plan.jww"), Sheet("temp.jww", true), folder + "gone.jww"});
  host.answer.BackPressed = true;
  form.PreviewSheets(host);
  ASSERT_EQ(host.previews.size(), 1u);
  const std::vector<TThumbnailItem>& items = host.previews[0];
  ASSERT_EQ(items.size(), 2u);
  EXPECT_NE(items[0].BitmapPath, items[1].BitmapPath);
  EXPECT_EQ(items[0].Caption, "plan");
  EXPECT_EQ(items[1].Caption, "plan");
  EXPECT_TRUE(form.BackToOrder);
  EXPECT_FALSE(form.AbortRun);
  for (const std::string& bmp : host.bitmap.saved) EXPECT_FALSE(FileExists(bmp)) << bmp;  // deleted afterwards
}

// Sheets without picture are told with the reason; the preview opens only with one.
TEST_F(SheetOutput, PreviewTellsSheetsWithoutPictureAndOpensOnlyWithOne) {
  List({Sheet("a.jww"), Sheet("b.jww")});
  for (const size_t writable : {1, 0}) {
    host.bitmap.writable = host.bitmap.saved.size() + writable;
    form.PreviewSheets(host);
  }
  EXPECT_EQ(host.previews.size(), 1u);
  ASSERT_EQ(form.Report.UnshownSheets.size(), 2u);
  EXPECT_EQ(form.Report.UnshownSheets[0].Path, folder + "b.jww");
  EXPECT_EQ(form.Report.UnshownSheets[1].Reason, S("プレビュー画像を作れませんでした(") + SystemErrorText(ENOSPC) + ")");
}

TEST_F(SheetOutput, CloseRequestBetweenSheetsStopsPreviewAndPrinting) {
  for (const bool printing : {false, true}) {
    Gval.SheetList.clear();
    form.SheetRowKinds.clear();
    List({Sheet("a.jww"), Sheet("b.jww"), Sheet("c.jww")});
    form.Running = true;
    form.AbortRun = false;
    form.OneDocument = 0;
    int pumps = 0;  // the window closed while the first sheet is drawn
    host.onPump = [&] { if (++pumps == 2) { EXPECT_FALSE(form.FormCloseQuery()); } };
    printing ? form.PrintSheets(host) : form.PreviewSheets(host);
    EXPECT_TRUE(form.AbortRun) << printing;
    EXPECT_EQ(printing ? printer.Titles.size() : host.bitmap.saved.size(), 1u) << printing;
    EXPECT_TRUE(host.previews.empty());
  }
}

TEST_F(SheetOutput, PreviewStopAndEscapeAbortTheRun) {
  List({Sheet("a.jww"), Sheet("b.jww")});
  host.answer.Stopped = true;
  form.PreviewSheets(host);
  EXPECT_TRUE(form.AbortRun);

  form.AbortRun = false;
  host.previews.clear();
  host.bitmap.saved.clear();
  FakeKeyPoller keys;
  keys.PressEscape();
  form.PreviewSheets(host);
  EXPECT_TRUE(form.AbortRun);
  EXPECT_TRUE(host.previews.empty());
  EXPECT_TRUE(host.bitmap.saved.empty());
}

// Sheets gone, damaged or with blocks too deep to draw are each named once
// in the closing box, however often previewed and printed.
TEST_F(SheetOutput, SheetsNotShownWholeAreToldOnce) {
  JwwBuilder deep;
  deep.AddLine(jwwtest::MakeLine(0, 0, 10, 0, Common(1)));
  for (uint32_t i = 0; i < 70; ++i)
    deep.AddBlockDef(100 + i, "deep").Elements.Add(jwwtest::MakeInsert(0, 0, 101 + i, Common(2)));
  deep.AddBlockInsert(jwwtest::MakeInsert(0, 0, 100, Common(3)));
  const std::string cut = Sheet("cut.jww");
  std::filesystem::resize_file(cut, std::filesystem::file_size(cut) - 8);
  List({Sheet("a.jww"), folder + "gone.jww", cut, Write(deep, "deep.jww")});
  form.OneDocument = 0;
  form.PreviewSheets(host);
  form.PreviewSheets(host);
  form.PrintSheets(host);
  EXPECT_EQ(printer.Pages, 2);
  EXPECT_EQ(RunTroubleNote(form.Report, 0), S("　プレビュー・印刷できなかった図面：2　ブロックを一部描けなかった図面：1"));
  const std::string box = RunEndMessage(form.Report);
  for (const char* row : {"gone.jww：ファイルがありません", "cut.jww：図面が壊れています", "deep.jww：ブロック"})
    EXPECT_NE(box.find("\r\n" + folder + S(row)), std::string::npos) << row;
}

// A sheet out of memory is told, leaves no bitmap or page, and the next is drawn.
TEST_F(SheetOutput, SheetOutOfMemoryIsToldAndTheRunGoesOn) {
  JwwBuilder shown;
  ShowAllLayers(shown);
  shown.AddLine(jwwtest::MakeLine(0, 0, 100, 0, Common(1)));
  List({Write(shown, "a.jww"), Write(shown, "b.jww"), Write(shown, "c.jww")});
  for (const auto& [printing, oneDocument] : {std::pair{false, 0}, {true, 0}, {true, 1}}) {
    form.Report.Clear();
    host.bitmap = FakeBitmap();
    printer = TFakePrinter();
    host.bitmap.outOfMemoryAt = printer.OutOfMemoryPage = 2;
    form.OneDocument = oneDocument;
    ASSERT_TRUE(!oneDocument || form.BeginOneDocument());
    printing ? form.PrintSheets(host) : form.PreviewSheets(host);
    EXPECT_TRUE(!oneDocument || form.EndOneDocument());
    EXPECT_TRUE(!form.AbortRun && host.informs.empty());
    EXPECT_EQ(std::pair(printer.Pages, printer.Aborts), std::pair(printing ? 3 : 0, printing && !oneDocument ? 1 : 0));
    const std::vector<std::string> pictures{PreviewBitmapPath(form.TempSheetFolder, 0), PreviewBitmapPath(form.TempSheetFolder, 2)};
    EXPECT_EQ(host.bitmap.saved, printing ? std::vector<std::string>() : pictures);
    EXPECT_EQ(RunEndMessage(form.Report),
              S("プレビュー・印刷できなかった図面があります。\r\n") + folder + S("b.jww：メモリが足りないため描けませんでした"))
        << printing;
  }
}

TEST_F(SheetOutput, ThumbnailModeFitsThePaperAndLabelsIt) {
  JwwBuilder b;
  b.Header().PaperSize = 6;
  b.AddLine(jwwtest::MakeLine(0, 0, 10, 0, Common(1)));
  const std::string path = Write(b, "frame.jww");
  ASSERT_TRUE(form.RenderToBitmap(host, path, folder + "frame.bmp", true, true));
  EXPECT_NEAR(Gval.ViewScale, 320 / 1189.0, 1e-12);
  const std::vector<TCanvasCall> texts = host.bitmap.canvas.Of(TCanvasCall::TextOut);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].text, S("[？？]"));
  EXPECT_EQ(texts[0].fontColor, RgbColor(0, 0, 255));
  EXPECT_EQ(texts[0].brushColor, RgbColor(166, 202, 240));
  EXPECT_EQ(texts[0].brushStyle, bsSolid);
  // A drawing of nothing but a temporary point makes no file.
  EXPECT_TRUE(form.RenderToBitmap(host, Sheet("temp.jww", true), folder + "temp.bmp", true, true));
  EXPECT_EQ(host.bitmap.saved, (std::vector<std::string>{folder + "frame.bmp"}));
}

TEST_F(SheetOutput, FrameChooserGoesOnPastADamagedHeldImage) {
  JwwBuilder damaged;
  damaged.AddText(jwwtest::MakeText(0, 0, "^@BM%temp%logo.png,100,50", Common(1)));
  damaged.AddImage("logo.png.gz", "not gzip data");
  Sheet("a.jww");
  Write(damaged, "b.jww");
  Sheet("c.jww");
  BindImg.BindImageExtractFlag = 1;  // as at start-up
  size_t offered = 0;
  std::string path = folder + "x.jww";
  form.ChooseFrameFile(host, [&](const std::vector<TFrameChoiceRow>& rows) { return offered = rows.size(), -1; }, path);
  EXPECT_EQ(offered, 3u);
  EXPECT_EQ(host.bitmap.saved.size(), 3u);
}

// SXF black (101) and white (108, stored as white) contrast with the
// background on the preview and on paper.
TEST_F(SheetOutput, SxfWhiteAndBlackContrastWithTheBackground) {
  const int32_t white = RgbColor(255, 255, 255);
  for (const int32_t paper : {white, 0}) {
    JwwBuilder b;
    ShowAllLayers(b);
    b.Pen(0).PrintColor = paper;  // the drawing's background
    for (const int k : {1, 8}) b.drawing.ColorsEx[size_t(k)].PrintColor = white;
    b.AddLine(jwwtest::MakeLine(0, 0, 100, 0, Common(1, 0, 0, 101)));
    b.AddLine(jwwtest::MakeLine(0, 10, 100, 10, Common(2, 0, 0, 108)));
    const std::string path = Write(b, "parcel.jww");
    ASSERT_TRUE(form.RenderToBitmap(host, path, folder + "parcel.bmp", false, false));
    form.OneDocument = 0;
    printer.Drawn = TOutOfMemoryCanvas();
    ASSERT_TRUE(form.PrintSheet(host, path));
    for (const TRecordingCanvas* picture : {&host.bitmap.canvas, &printer.Drawn}) {
      const std::vector<TCanvasCall> strokes = picture->Of(TCanvasCall::LineTo);
      ASSERT_GE(strokes.size(), 2u) << paper;
      for (const TCanvasCall& c : strokes) EXPECT_EQ(c.penColor, paper == white ? 0 : white) << paper;
    }
  }
}

}  // namespace
