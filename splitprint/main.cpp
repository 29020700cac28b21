// Quillmoor without its window: splits the JWW drawings named on the command
// line into sheet files beside each drawing, by the same batch the window runs.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "bind_images.h"
#include "console_host.h"
#include "file_io.h"
#include "form1_state.h"
#include "gval.h"

namespace {

std::string ProgramFolderOf(const char* argv0) {
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) exe = std::filesystem::absolute(argv0, ec);
  std::string folder = exe.parent_path().string();
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::printf("usage: quillmoor drawing.jww ...\n"
                "Splits each drawing into one JWW file per paper frame, saved beside it.\n");
    return 0;
  }

  ResetDrawingGlobalsForStartup();
  const std::string programFolder = NativePathToSjis(ProgramFolderOf(argv[0]));
  Gval.ProgramFolder = programFolder;
  BindImg.TempFolder = programFolder + "TEMP/";
  BindImg.BindImageExtractFlag = 1;
  BindImg.BindImageKeepFlag = 1;
  std::error_code ec;
  std::filesystem::create_directories(SjisPathToNative(BindImg.TempFolder), ec);
  std::filesystem::create_directories(SjisPathToNative(programFolder + "TMP/"), ec);

  TForm1 form;
  form.TempSheetFolder = programFolder + "TMP/";
  for (int i = 1; i < argc; ++i) {
    const std::string path = NativePathToSjis(std::filesystem::absolute(argv[i], ec).string());
    if (FileExistsSjis(path)) form.FileList.push_back(path);
    else std::fprintf(stderr, "not found: %s\n", argv[i]);
  }

  TConsoleBatchHost host(stdout);
  form.StartBatch(host);
  for (int32_t i = 0; i < Gval.SheetCount && i < static_cast<int32_t>(Gval.SheetList.size()); ++i) {
    if (form.SheetRowKinds.size() > static_cast<size_t>(i) &&
        form.SheetRowKinds[i] == TForm1::TSheetRowKind::SavedSheet)
      std::printf("sheet: %s\n", SjisPathToNative(Gval.SheetList[i].First).c_str());
  }
  std::filesystem::remove_all(SjisPathToNative(BindImg.TempFolder), ec);
  std::filesystem::remove_all(SjisPathToNative(form.TempSheetFolder), ec);
  return form.UnsavedSheetCount == 0 ? 0 : 1;
}
