// What the program sets up around its main window: the toolkit's texts in
// Japanese, the printers, the user's folders, the Escape poll, the temporary
// folders and the settings file's place. Tests make one per program folder
// and start windows from it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "gval.h"
#include "printer_device.h"
#include "qt_printer_settings.h"
#include "standard_folders.h"
#include "temp_folders.h"

class QTranslator;
class TForm1Window;

class TProgramSession {
 public:
  // programFolder: native, with its trailing '/'; programFileName: the
  // program file's name (its settings file takes its name). Needs a
  // QApplication.
  TProgramSession(const std::string& programFolder, const std::string& programFileName);
  ~TProgramSession();
  TProgramSession(const TProgramSession&) = delete;
  TProgramSession& operator=(const TProgramSession&) = delete;

  // A window for the command line (native UTF-8 arguments without the
  // program), relative names taken against workingFolder.
  std::unique_ptr<TForm1Window> CreateWindow(const std::vector<std::string>& arguments,
                                             const std::string& workingFolder);
  const std::string& SettingsPath() const { return settingsPath_; }

 private:
  std::unique_ptr<QTranslator> toolkitTexts_;
  std::unique_ptr<TPrinterDevice> printer_;
  std::unique_ptr<TQtPrinterSettings> printerSettings_;
  std::unique_ptr<TKeyStatePoller> poller_;
  TQtUserFolders folders_;
  TTempFolders temp_;
  std::string settingsPath_;  // Shift-JIS
};

// The program: the main window over the command line, until it closes.
int RunQuillmoor(int argc, char** argv);
