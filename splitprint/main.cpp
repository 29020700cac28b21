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
#include "standard_folders.h"
#include "temp_folders.h"

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
  TTempFolders temp;
  if (!temp.Open(programFolder, UserCacheFolder())) {
    std::fprintf(stderr, "cannot make the temporary folders beside the program or in the cache folder\n");
    return 1;
  }
  BindImg.TempFolder = temp.ImageFolder();
  BindImg.BindImageExtractFlag = 1;
  BindImg.BindImageKeepFlag = 1;
  std::error_code ec;

  TQtUserFolders userFolders;
  SetUserFolders(&userFolders);

  TForm1 form;
  form.TempSheetFolder = temp.SheetFolder();
  for (int i = 1; i < argc; ++i) {
    const std::string path = NativePathToSjis(std::filesystem::absolute(argv[i], ec).string());
    if (FileExistsSjis(path)) form.FileList.push_back(path);
    else std::fprintf(stderr, "not found: %s\n", argv[i]);
  }

  TConsoleBatchHost host(stdout);
  form.StartBatch(host);
  for (const std::string& sheet : host.SavedSheets()) std::printf("sheet: %s\n", SjisPathToNative(sheet).c_str());
  temp.Close();
  SetUserFolders(nullptr);
  return form.UnsavedSheetCount == 0 ? 0 : 1;
}
