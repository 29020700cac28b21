#include "program_session.h"

#include <unistd.h>

#include <QApplication>
#include <QTranslator>
#include <filesystem>
#include <system_error>

#include "display_choice.h"
#include "escape_key_poller.h"
#include "file_io.h"
#include "form1_window.h"
#include "qt_translations.h"
#include "settings_location.h"
#include "unit_print.h"

TProgramSession::TProgramSession(const std::string& programFolder, const std::string& programFileName)
    : toolkitTexts_(InstallJapaneseToolkitTexts()) {
  printer_ = CreateSystemPrinterDevice();
  if (auto* qtDevice = dynamic_cast<TQPrinterDeviceBase*>(printer_.get()))
    printerSettings_ = std::make_unique<TQtPrinterSettings>(*qtDevice);
  SetCurrentPrinter(printer_.get());
  SetUserFolders(&folders_);
  poller_ = CreateEscapePoller();
  SetKeyStatePoller(poller_.get());
  Gval.ProgramFolder = programFolder;
  // Beside the program when it may write there, else in the user's cache.
  temp_.Open(Gval.ProgramFolder, UserCacheFolder());
  settingsPath_ = SettingsFileLocation(programFolder, programFileName);
}

TProgramSession::~TProgramSession() {
  temp_.Close();
  SetKeyStatePoller(nullptr);
  SetUserFolders(nullptr);
  SetCurrentPrinter(nullptr);
}

std::unique_ptr<TForm1Window> TProgramSession::CreateWindow(const std::vector<std::string>& arguments,
                                                            const std::string& workingFolder) {
  auto window = std::make_unique<TForm1Window>(arguments, workingFolder);
  TForm1& form = window->Form;
  form.SettingsPath = settingsPath_;
  form.SavedSheetRecordPath = SavedSheetRecordLocation();
  form.PrinterSettings = printerSettings_.get();
  form.TempFolder = temp_.ImageFolder();
  form.TempSheetFolder = temp_.SheetFolder();
  return window;
}

namespace {

// The program file's folder (with '/') and name.
void ProgramFile(const char* argv0, std::string& folder, std::string& name) {
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) exe = std::filesystem::absolute(argv0, ec);
  folder = exe.parent_path().string();
  if (folder.empty() || folder.back() != '/') folder += '/';
  name = exe.filename().string();
}

std::string CurrentFolder() {
  std::error_code ec;
  return std::filesystem::current_path(ec).string();
}

}  // namespace

int RunQuillmoor(int argc, char** argv) {
  PreferX11ForKeyPolling();
  QApplication app(argc, argv);
  // The title of the application, never a display name (Qt would append it
  // to every window title).
  QCoreApplication::setApplicationName(QStringLiteral("Quillmoor"));
  std::string folder, name;
  ProgramFile(argv[0], folder, name);
  const std::vector<std::string> arguments(argv + 1, argv + argc);  // what Qt left of them
  int result = 0;
  {
    TProgramSession session(folder, name);
    std::unique_ptr<TForm1Window> window = session.CreateWindow(arguments, CurrentFolder());
    window->show();
    result = app.exec();
  }
  return result;
}
