// The main window's settings and run state, free of any GUI toolkit. The Qt
// window owns one TForm1 and shows its values; the algorithms of the window
// (frame detection, sheet loop, batch, settings file) are methods of this
// class, defined in their own .cpp files, so tests drive them directly.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "bind_images.h"
#include "frame_chooser_list.h"
#include "gra_attribute.h"
#include "jww_data.h"
#include "run_report.h"
#include "saved_sheet_record.h"
#include "temp_folders.h"
#include "window_bounds.h"

class TBatchHost;
class TSheetOutputHost;
class TPrinterSettingsAccess;
class TWindowHost;
struct TPrintOptionControls;

// Destinations of the split sheets, in the order of their radio buttons.
enum TDestination : int32_t {
  kDestDesktop = 0,
  kDestMyDocuments = 1,
  kDestSourceFolder = 2,
  kDestGivenFolder = 3,
  kDestTemporary = 4,
};

class TForm1 {
 public:
  // ---- Settings (settings file lines in brackets), with their defaults. ----
  TWindowBounds MainBounds = kMainWindowDesign;  // [1-4]
  std::string AddFolder;                         // [5] start folder of the add dialog
  // [6-10] the five destination radio buttons; none checked means temporary.
  std::array<bool, 5> DestinationChecked{false, false, true, false, false};
  std::string GivenFolder;                       // [11]
  std::string Separator = "_";                   // [12] at most 8 bytes
  int32_t NamingPattern = 0;                     // [13] 0..6
  int32_t ZeroPad = 0;                           // [14] 0..1
  int32_t NumberingDirection = 0;                // [15] 0 rows first, 1 columns first
  bool PrintAfterSplit = false;                  // [16]
  bool DrawAuxFrame = false;                     // [17]
  bool CloseUpEmptyNumbers = false;              // [18]
  bool ConfirmSaved = false;                     // [19]
  bool ExplodeBlocks = false;                    // [20]
  int32_t StartNumber = 1;                       // [21] 0..9999
  double Margin = 0;                             // [22] 0..100 mm
  int32_t PrintMethod = 0;                       // [23] 0 drawing scale, 1 fit, other given scale
  double GivenScale = 1;                         // [24]
  double Rotation = 0;                           // [25] degrees
  double OffsetX = 0;                            // [26] mm
  double OffsetY = 0;                            // [27] mm
  int32_t Monochrome = 0;                        // [28] on when 1
  int32_t MonoThreshold = 0;                     // [29]
  int32_t WhiteToBlack = 0;                      // [30] on when 1
  int32_t WhiteThreshold = 0;                    // [31]
  int32_t SxfWhiteToBlack = 0;                   // [32] on when 1
  int32_t SxfWhiteThreshold = 0;                 // [33]
  int32_t OneDocument = 0;                       // [34] on when 1
  int32_t PrintAuxLines = 0;                     // [35] on when 1
  int32_t DisplayOnlyMode = 1;                   // [36] 0..3
  int32_t DisplayOnlyColor = 8421504;            // [37] red low byte, then green, blue
  int32_t AuxColor = 16744703;                   // [38]
  int32_t PrintOrder = 1;                        // [39] 0 normal, 1 by layer, 2 reversed
  bool PreviewAfterSplit = false;                // [40]
  TWindowBounds PreviewBounds = kSheetPreviewDesign;  // [41-44] sheet preview window
  bool AddDrawingFrame = false;                  // [45]
  // [46-55] drawing-frame drawing per paper class 0..9 (A0 landscape .. A4 portrait).
  std::array<std::string, 10> FrameFiles;
  bool FrameHiddenLayers = false;                // [56]
  bool FrameAuxElements = false;                 // [57]
  TWindowBounds ChooserBounds = kFrameChooserDesign;  // [58-61] drawing-frame chooser
  std::string PrinterName;                       // [62]
  int32_t DevOrientation = 2;                    // [63] device mode of the printer
  int32_t DevPaperSize = 0;                      // [64]
  int32_t DevPaperLength = 2970;                 // [65] tenths of a millimetre
  int32_t DevPaperWidth = 2100;                  // [66]
  int32_t DevScale = 100;                        // [67]
  int32_t DevPrintQuality = 300;                 // [68]
  int32_t DevYResolution = 300;                  // [69]
  int32_t DevColor = 1;                          // [70]
  int32_t DevDuplex = 0;                         // [71]
  int32_t DevCollate = 0;                        // [72]
  TWindowBounds OrderDialogBounds = kPrintOrderDesign;  // [73-76] print-order dialog

  // ---- Run state of the batch. ----
  bool Running = false;      // a run is in progress
  bool AbortRun = false;     // stop as soon as possible
  bool BackToOrder = false;  // the preview asked for the order dialog again
  bool PagePrinted = false;  // a page of the one-document job was printed

  // The drawing being split; owned for the life of the program.
  TJwwData WorkDrawing;

  // Checks one destination radio button the way a radio group does: checking
  // one unchecks the others, unchecking leaves the rest as they are.
  void SetDestinationChecked(int32_t index, bool checked) {
    if (index < 0 || index >= static_cast<int32_t>(DestinationChecked.size())) return;
    if (checked) DestinationChecked.fill(false);
    DestinationChecked[static_cast<size_t>(index)] = checked;
  }

  // ---- Frame detection (frame_detect_*.cpp): they read WorkDrawing and
  // NumberingDirection and rebuild Gval.SheetFrames / Gval.SheetFrameCount.
  void ClearSheetFrames();
  // Escape (CheckAbort) sets AbortRun, stops the search and leaves no frame.
  void FindSheetFrames();
  void AssignSheetNames();
  void FindPrintOriginFrames();
  void ClassifyFramePaper();

  // ======== Batch, sheet loop, sheet extraction, pens and line types ========
  // (batch.cpp, sheet_loop.cpp, sheet_extract.cpp, pens_setup.cpp; the
  // drawing-frame overlay hooks are stubs in frame_overlay_stub.cpp.)

  // Kind of a Gval.SheetList row, kept beside the row in SheetRowKinds: a
  // sheet file this run saved, or a listed drawing that gave no saved sheet.
  // Only saved-sheet files are ever deleted.
  enum class TSheetRowKind : uint8_t { SavedSheet, WholeDrawing };

  // The file list (ListBox1): full paths of the drawings, Shift-JIS.
  std::vector<std::string> FileList;
  // Folder of the temporary destination ("TMP/" beside the program), with
  // its trailing '/'.
  std::string TempSheetFolder;
  // The drawing being processed, its folder (with '/') and its file time
  // (seconds since 1970; 0 when unknown).
  std::string DrawingPath;
  std::string DrawingFolder;
  int64_t DrawingAge = 0;
  // Row kinds of Gval.SheetList, row by row.
  std::vector<TSheetRowKind> SheetRowKinds;
  // Sheets of the current run that were not saved: the save failed, or the
  // sheet would have replaced a listed drawing.
  int32_t UnsavedSheetCount = 0;
  // Paths of the last SplitAndSave's sheets that were refused because they
  // would have replaced the drawing being split or another listed drawing.
  std::vector<std::string> RefusedSheetPaths;
  // What the current (or last) run could not do.
  TRunReport Report;
  // The sheets this program saved: a sheet replaces only a file the record
  // holds unchanged. Read from SavedSheetRecordPath (native) at the start
  // of every run and written after every drawing; with an empty path the
  // record lives in this form only. Sheets of the temporary destination,
  // deleted after the run, are not recorded (RecordSavedSheets off).
  std::string SavedSheetRecordPath;
  TSavedSheetRecord SavedSheets;
  bool RecordSavedSheets = true;
  // Free space that saving a sheet always leaves on the destination's disk.
  uint64_t SheetDiskReserve = kDiskReserveBytes;
  // The order list of the working drawing as loaded (sheet extraction).
  std::vector<TEntJwwOrder> SavedEntityOrder;
  // The drawing-frame drawing of the overlay, and whether the sheet loop has
  // one loaded for the current paper class.
  TJwwData FrameDrawing;
  bool FrameDrawingLoaded = false;
  // The drawing attributes used when Gval.GraAttribute is not set by the window.
  TgraAttribute OwnGraAttribute;

  ~TForm1();

  // Sheet extraction.
  void SaveEntityOrder();
  void RestoreEntityOrder();
  void ExtractSheet(int32_t frameIndex, int32_t sheetIndex);
  void RestoreSheetOffset(int32_t frameIndex);
  // An image text "^@BM<path>,<width>,<height>,...": the path and up to six
  // numbers (start values 0, 0, 0, 0, 1, 0; one number gives a square).
  static bool ParseImageText(const std::string& text, std::string& path, std::array<double, 6>& reals);

  // How a sheet may use a path: free (nothing there, a sheet of an earlier
  // run left unchanged, or a listed drawing, which the save refuses), taken
  // by a sheet of this run, or kept (any other file, and the drawing-frame
  // drawings).
  enum class TSheetPathUse : uint8_t { Free, SavedThisRun, Kept };
  // Sheet loop: one file per non-empty sheet into folder (with its '/').
  // Escape (CheckAbort), asked before each frame, or AbortRun ends it there.
  void SplitAndSave(const std::string& folder, const std::string& sourceFileName);

  // The batch over FileList.
  void RunBatch(TBatchHost& host);
  // The start button: checks the list, asks, then runs the batch.
  void StartBatch(TBatchHost& host);
  void ResetDrawing();
  void DeleteRenamedImages();
  // False (refuse to close) while a run is in progress; it then asks the run to stop.
  bool FormCloseQuery();
  // Deletes the files of the saved-sheet rows of Gval.SheetList.
  void DeleteSheetFiles();
  // Exchanges two rows of Gval.SheetList together with their kinds.
  void SwapSheetRows(int32_t a, int32_t b);
  // The attribute object of the run: Gval.GraAttribute, or OwnGraAttribute
  // (installed into Gval) when the window set none.
  TgraAttribute& Attributes();

  // Pens and line types of the working drawing into the attribute object:
  // set 1 screen values, 2 printer values.
  static constexpr int32_t kScreenSet = 1, kPrinterSet = 2;
  // Real-size line-type units (mm): on paper and in the batch, in bitmaps.
  static constexpr double kPrintRealSizePitch = 0.035, kBitmapRealSizePitch = 0.1;
  void SetupPens(int32_t set);
  void SetupLineTypes(int32_t set, double realSizePitch);
  // The attribute tables back to their defaults, then the working drawing's
  // printer pens and line types.
  void LoadDrawingPens(double realSizePitch);
  // The colour conversion of the print options: each threshold when its
  // option is on, else -1.
  void ApplyColorConversion();

  // ======== Drawing-frame overlay (frame_overlay*.cpp) ========
  // The display area of the loaded drawing-frame drawing: x min, y min,
  // x max, y max; all zero when none was found.
  bool DisplayAreaFound = false;
  std::array<double, 4> DisplayArea{};
  // The working drawing's held images, kept while frame drawings are loaded.
  std::vector<TBindImageType> KeptBindImages;
  int32_t KeptBindImageCount = 0;
  void FindDisplayArea();
  bool BlockNameExists(const std::string& name) const;
  std::string MakeUniqueBlockName(const std::string& name) const;
  int32_t FindTextSizeNo(int32_t color, double sizeX, double sizeY, double spacing) const;
  void BuildFrameBlock(int32_t paperClass, const std::string& name);
  // The frame drawing's elements into the block, on the overlay's layer
  // (frame_overlay_copy.cpp).
  void CopyFrameElements(TEntJwwBlockDefElements& block, uint16_t layer) const;
  // Layer group and layer of everything the overlay adds.
  int32_t FrameOverlayLayer() const;
  // The definitions' used flags for saving a sheet with the overlay insert,
  // and the insert's removal after the save (the flags then cover the loaded
  // drawing's loadedInsertCount inserts again). The drawing's block tree is
  // never rebuilt for a sheet.
  void MarkSheetBlockDefs();
  void RemoveFrameInsert(int32_t loadedInsertCount);
  // Moves the loaded frame drawing's held images from the staging folder
  // into the temporary folder, renaming those that would meet the working
  // drawing's images (frame_overlay_load.cpp).
  void PlaceFrameImages(const std::string& staging);
  // The overlay's layer and its group shown for a sheet's save when the
  // drawing hides them and the sheet holds nothing of its own there; when it
  // does, they stay hidden and the drawing goes into Report. Restore puts
  // back the states Show found.
  struct TOverlayLayerStates {
    bool Changed = false;
    int32_t Group = 0, Layer = 0;
  };
  TOverlayLayerStates ShowOverlayLayer();
  void RestoreOverlayLayer(const TOverlayLayerStates& kept);
  // First row of the auxiliary frame lines the sheet loop adds on the
  // overlay's layer (not the drawing's own); -1 without them.
  int32_t AuxFrameLinesFrom = -1;
  // Rows of WorkDrawing.BlockInserts before the overlay insert was appended.
  size_t FrameInsertRowsBefore = 0;
  // Inserts of the working drawing as loaded, for RemoveFrameInsert.
  int32_t LoadedInsertCount = 0;
  // Hooks of the sheet loop and the batch.
  void SaveBindImages();
  void RestoreBindImages();
  void MergeBindImages();
  void DeleteAddedBindImages();
  bool LoadFrameDrawing(int32_t paperClass);
  void InsertFrameBlock();
  // The REF_FILE's "%%" table into BindImg.RefStrList for the current
  // drawing (jwcad_handover.cpp); never enabled, so nothing saved changes.
  void LoadRefFile();

  // ======== Settings file (settings_file.cpp) ========
  // The installed printers and their device settings; nullptr when the
  // program has none (the printer lines then keep their defaults).
  TPrinterSettingsAccess* PrinterSettings = nullptr;
  // Sets every default of the settings, then reads the file at path
  // (Shift-JIS) up to its end or its first unreadable line, clamps, and
  // applies the saved printer. A missing file leaves the defaults.
  void LoadSettings(const std::string& path);
  // The start number into 0..9999 and the margin into 0..100 (NaN: 0), as
  // read, as closed and as run.
  void ClampStartNumberAndMargin();
  // Captures the current printer, then writes every line to a temporary file
  // beside path and renames it over path: a failed write keeps the old file.
  bool SaveSettings(const std::string& path);
  void ReadPrinterSettings();
  void ApplyPrinterSettings();
  // The values of the settings table before any file is read.
  void SetDefaultSettings();

  // ======== File list (file_list.cpp) ========
  // Dropped names: every existing ".JWW" file (any case) is appended, also
  // when listed already. Answers the status text with the count.
  std::string AddDroppedFiles(const std::vector<std::string>& paths);
  // Names chosen in the open dialog: AddFolder becomes the first one's
  // folder; existing ".jww" files not listed yet (ignoring case) are
  // appended. Answers the status text.
  std::string AddChosenFiles(const std::vector<std::string>& paths);
  // The question before removing, and the removal of the given rows
  // (answers the status text). The window sorts the list afterwards.
  static std::string RemoveFilesQuestion(int32_t selectedCount);
  std::string RemoveFiles(const std::vector<int32_t>& rows);

  // ======== Print-settings tab (print_options.cpp) ========
  // The tab's controls into the print fields (scale at least 0.000001,
  // thresholds 0..255); the edits are not written back.
  void ReadPrintOptions(const TPrintOptionControls& controls);
  // The print fields as the tab shows them; the display-only mode, print
  // order and colours are clamped to what the controls hold, and kept so.
  TPrintOptionControls ShowPrintOptions();
  // The printer label: name, paper and printable sizes in mm.
  std::string PrinterInfoText() const;

  // ======== Jw_cad hand-over (jwcad_handover.cpp) ========
  // Wine prefix (native UTF-8, trailing '/') that holds Jw_cad; empty: none.
  std::string WinePrefix;
  // Jw_cad's folder as a Linux path (Shift-JIS, trailing '/'); empty when its
  // drive is not known to Wine.
  std::string JwCadFolder;
  // The program the open command names (a Windows path, UTF-8), told when
  // it cannot be started.
  std::string JwCadProgram;
  // The REF_FILE entry of Jw_win.jwf, upper-cased and trimmed (a Windows path).
  std::string RefFileName;
  // The registry's open command of JWW drawings (UTF-8); empty when absent.
  std::string ReadJwCadCommand() const;
  // JwCadFolder from the open command: its program part ("C:\JWW\Jw_win.exe"
  // when there is none), folder only, as a Linux path.
  void FindJwCadFolder();
  // The drawing named by the first "file=" line of JWC_TEMP.TXT in the
  // program folder, as a Linux path (Shift-JIS); empty when absent.
  std::string ReadJwcTempFileName() const;
  void ReadRefFileSetting();
  // Starts Jw_cad on an existing drawing (Shift-JIS Linux path). True when
  // the start was handed to Wine; else *failure, when given, receives the
  // text to show (Shift-JIS): the path tried and the reason. An empty path
  // is no failure to tell.
  bool OpenInJwCad(const std::string& path, std::string* failure = nullptr) const;

  // ======== Start-up and shut-down (startup.cpp) ========
  enum class TStartMode : uint8_t { Interactive, JwCadRun, SettingsOnly };
  // The settings file (native path) LoadSettings and SaveSettings use.
  std::string SettingsPath;
  // The system's reason why the last SaveSettings failed (Shift-JIS, for
  // the user); empty after a good save.
  std::string SettingsSaveReason;
  // Folder of images extracted from drawings (Shift-JIS, trailing '/').
  std::string TempFolder;
  // The run's private folders inside TEMP/ and TMP/ (beside the program, or
  // in the user's cache folder), made by FormShow unless the caller set
  // TempFolder and TempSheetFolder itself.
  TTempFolders TempFolders;
  // Why FormShow could make no private folders (Shift-JIS, for the user);
  // runs are refused while it is set, so that nothing goes into a shared
  // folder. Empty when all went well.
  std::string TempFolderProblem;
  // Shows TempFolderProblem and says true when runs are refused.
  bool RefuseRunWithoutTempFolders(TBatchHost& host) const;
  // Start-up of the shown window: flags, settings, globals, folders,
  // attributes, Jw_cad's folder and REF_FILE, then the command line
  // (arguments as given, native UTF-8, relative to workingFolder). The
  // window shows the print options and printer info afterwards.
  TStartMode FormShow(const std::vector<std::string>& arguments, const std::string& workingFolder);
  // The "/G" run after the window is painted: asks whether the drawing was
  // saved (when set), runs the batch or says there is no drawing. The window
  // closes afterwards in every case.
  void RunJwCadStart(TWindowHost& host);
  // Shut-down: the split fields cleaned, lists emptied, the working folders
  // removed when empty, the settings written. False when the settings could
  // not be saved.
  bool FormClose();
  // Adds the existing ".JWW" files (any case) of the paths, made absolute
  // against workingFolder; the number added.
  int32_t AddCommandLineFiles(const std::vector<std::string>& arguments, const std::string& workingFolder);

  // ======== Preview and printing of the sheets (sheet_render.cpp, sheet_print.cpp, sheet_order.cpp) ========
  // Set when a print job of the current printing could not begin or end;
  // the printing then stops and the run ends aborted.
  bool PrintFailed = false;
  // Renders every sheet of Gval.SheetList into its bitmap in TempSheetFolder,
  // shows the preview and deletes the bitmaps again; Stop sets AbortRun,
  // Back sets BackToOrder. Escape before a sheet aborts the run.
  void PreviewSheets(TSheetOutputHost& host);
  // Prints the sheets of Gval.SheetList in order (a one-document job is
  // open around it when OneDocument is set).
  void PrintSheets(TSheetOutputHost& host);
  // Loads the drawing and draws it into a 320 x 240 bitmap file: fitted to
  // the paper in thumbnail mode, else as printed; with the paper's label.
  // A drawing without elements makes no file. False when a bitmap was due
  // but could not be written.
  bool RenderToBitmap(TSheetOutputHost& host, const std::string& drawingFile, const std::string& bitmapFile,
                      bool thumbnail, bool label);

  // ======== Drawing-frame tab (frame_chooser_run.cpp) ========
  // Shows the rows whose thumbnails were made and answers the index of the
  // row picked, or -1 when none was.
  using TFrameChooser = std::function<int32_t(const std::vector<TFrameChoiceRow>&)>;
  // Thumbnails of the drawings in the folder of path, offered to choose; on
  // a pick path becomes the picked drawing's path and the answer is true.
  // Escape or a thumbnail that cannot be made ends the thumbnail walk;
  // every thumbnail is deleted afterwards and AbortRun is left cleared.
  bool ChooseFrameFile(TSheetOutputHost& host, const TFrameChooser& choose, std::string& path);
  // Loads the sheet and prints it on the current printer; false (and
  // PrintFailed, AbortRun set, the user told) when its job fails.
  bool PrintSheet(TSheetOutputHost& host, const std::string& sheetFile);
  // The one-document job of a run around PrintSheets: begun before, and
  // ended after (cancelled when no page was printed). False when it could
  // not begin or end; the caller tells the user with PrintFailureText().
  bool BeginOneDocument();
  bool EndOneDocument();
  // For the run's closing status: where the printed pages were written as
  // files (the PDF printer, printing to a file); empty when nothing was.
  std::string PrintedFilesNote() const;
  // The print-order dialog's move of row `row` of Gval.SheetList by step
  // (-1 up, +1 down) together with its kind: the row it went to, or -1 when
  // nothing moves (fewer than two rows, no such row, already at the end).
  int32_t MoveSheetRow(int32_t row, int32_t step);

 private:
  // Placement of a loaded sheet: scale, centre offset (mm), turn (radians).
  struct TSheetPlacement {
    double Scale = 1, OffsetX = 0, OffsetY = 0, Angle = 0;
  };
  // The common first steps of rendering and printing a sheet.
  TSheetPlacement LoadSheet(TSheetOutputHost& host, const std::string& path, bool printing);
  // How the last LoadSheet went: the sheet loaded whole, and its block tree
  // was cut (blocks left out of the drawing).
  bool LastSheetWhole = true;
  bool LastSheetBlocksCut = false;
  // The last sheet could not be loaded or drawn within memory: it is told
  // in Report and the run goes on with the next.
  bool LastSheetOutOfMemory = false;
  // LoadSheet and WorkDrawing.Draw with the print order, the sheet's turn
  // and the run's filters; false (and LastSheetOutOfMemory set) when memory
  // ran out part way.
  bool LoadSheetWithinMemory(TSheetOutputHost& host, const std::string& path, bool printing, TSheetPlacement& place);
  bool DrawSheetWithinMemory(TCanvas& canvas, double angle);
  // For the preview and the printing of Gval.SheetList: true when the row's
  // sheet can be loaded, else it is told in Report with its reason; and,
  // after it was drawn, what its loading left out.
  bool SheetCanBeShown(const std::string& sheet);
  void NoteShownSheet(const std::string& sheet);
  // True when the loaded drawing holds anything but temporary points.
  bool HasPrintableElements() const;
  void ReportPrintFailure(TSheetOutputHost& host);

  // Test box of every order item of the loaded drawing, for the quick
  // rejection of elements far from a sheet's frame (sheet_extract.cpp).
  struct TEntityBox {
    float XMin, YMin, XMax, YMax;
  };
  std::vector<TEntityBox> EntityBoxes;
  // Order items kept by the last ExtractSheet and their coordinates before
  // the move, so that RestoreSheetOffset puts them back bit for bit.
  std::vector<int32_t> KeptItems;
  std::vector<double> KeptCoords;
  // File identities (device, inode) of the listed drawings, which no sheet may replace.
  std::vector<std::pair<uint64_t, uint64_t>> ProtectedFiles;
  // Takes the identities of the listed drawings into ProtectedFiles.
  void ProtectListedDrawings();
  // File identities of the drawing-frame drawings, which no sheet replaces.
  std::vector<std::pair<uint64_t, uint64_t>> FrameDrawingFiles;
  TSheetPathUse SheetPathUse(const std::string& path) const;
  // Saves the working drawing's current sheet; on failure answers false
  // with the reason (Shift-JIS) in reason.
  bool SaveOneSheet(const std::string& path, std::string& reason);
};
