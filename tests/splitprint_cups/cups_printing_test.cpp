// Printing the window's run through CUPS: a private scheduler with a PDF
// queue, the sheets printed on it as one document or a job per sheet, the
// pages counted and their ink measured in the files the queue writes to
// ~/PDF.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <unistd.h>

#include <QComboBox>
#include <QInputDialog>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QRadioButton>
#include <chrono>
#include <filesystem>
#include <regex>
#include <thread>

#include "bind_images.h"
#include "form1_state.h"
#include "gval.h"
#include "print_run_support.h"
#include "printer_setup.h"
#include "private_cups_server.h"
#include "qt_printer_settings.h"
#include "qt_printer_device.h"
#include "sjis.h"
#include "unit_print.h"

using namespace printgui;
namespace fs = std::filesystem;

namespace {

constexpr char kQueue[] = "quillmoor_test";

// The folder the PDF queue writes this user's jobs to.
fs::path PdfOutputFolder() {
  const passwd* pw = ::getpwuid(::getuid());
  return fs::path(pw ? pw->pw_dir : "/root") / "PDF";
}

// The server's own folder, among the temporary files: a test program that
// is killed leaves it there, never in the folder the program ran in.
std::string ServerFolder() {
  return (fs::path(::testing::TempDir()) / ("cups_" + std::to_string(::getpid()))).string();
}

class CupsPrinting : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // The PDF queue names its files by title and job number, which every
    // private server counts from 1: one test program prints at a time.
    lock = ::open("/tmp/quillmoor_cups_tests.lock", O_CREAT | O_RDWR | O_CLOEXEC, 0666);
    if (lock >= 0) ::flock(lock, LOCK_EX);
    // The server, and CUPS_SERVER, before Qt asks for its first printer.
    server = new PrivateCupsServer(ServerFolder());
    if (!server->Running()) return;
    std::string answer;
    queueMade = server->Run(std::string("lpadmin -p ") + kQueue +
                                " -E -v cups-pdf:/ -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd",
                            &answer) == 0;
    queueProblem = answer;
    App();
  }
  static void TearDownTestSuite() {
    delete server;  // stops the scheduler by its pid
    server = nullptr;
    std::error_code ec;
    fs::remove_all(ServerFolder(), ec);
    if (lock >= 0) ::close(lock);  // releases the lock
    lock = -1;
  }
  void SetUp() override {
    if (!server->Running()) GTEST_SKIP() << "no private CUPS server: " << server->Problem();
    ASSERT_TRUE(queueMade) << queueProblem;
    if (::geteuid() != 0) GTEST_SKIP() << "the PDF queue's backend runs only under a scheduler started as root";
    Gval.Reset();
    BindImg.Reset();
    folder = jwwtest::FreshFolder("cups_printing");
    BindImg.TempFolder = jwwtest::FreshFolder("cups_printing_images");
    form.TempSheetFolder = jwwtest::FreshFolder("cups_printing_tmp");
    form.DestinationChecked.fill(false);
    form.PrintAfterSplit = true;
    form.NamingPattern = 2;
    form.FileList = {ThreeSheetDrawing(folder, "cups" + std::to_string(::getpid()) + ".jww")};
    device = std::make_unique<TQtPrinterDevice>();
    const std::vector<std::string> names = device->PrinterNames();
    const auto it = std::find(names.begin(), names.end(), std::string(kQueue));
    ASSERT_NE(it, names.end()) << "Qt does not see the queue";
    ASSERT_TRUE(device->SetPrinterIndex(static_cast<int32_t>(it - names.begin())));
    SetCurrentPrinter(device.get());
    earlier = CompletedIds();
  }
  void TearDown() override {
    SetCurrentPrinter(nullptr);
    for (const fs::path& f : made) fs::remove(f);
  }

  // The ids of the queue's completed jobs.
  static std::vector<int> CompletedIds() {
    std::string list;
    server->Run(std::string("lpstat -W completed -o ") + kQueue, &list);  // it does not wait
    std::vector<int> ids;
    const std::regex row(std::string("^") + kQueue + "-([0-9]+)\\s");
    std::istringstream lines(list);
    for (std::string line; std::getline(lines, line);) {
      std::smatch m;
      if (std::regex_search(line, m, row)) ids.push_back(std::stoi(m[1]));
    }
    return ids;
  }

  // Waits until `jobs` jobs of this test are completed; their output files.
  std::vector<fs::path> CompletedJobFiles(size_t jobs) {
    std::vector<int> ids;
    for (int i = 0; i < 600 && ids.size() < jobs; ++i) {
      ids.clear();
      for (int id : CompletedIds())
        if (std::find(earlier.begin(), earlier.end(), id) == earlier.end()) ids.push_back(id);
      if (ids.size() < jobs) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    std::vector<fs::path> files;
    for (int id : ids) {
      const std::string suffix = "-job_" + std::to_string(id) + ".pdf";
      fs::path newest;
      fs::file_time_type newestTime{};
      std::error_code ec;
      for (const auto& e : fs::directory_iterator(PdfOutputFolder(), ec)) {
        const std::string name = e.path().filename().string();
        if (name.size() < suffix.size() || name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
          continue;
        if (newest.empty() || e.last_write_time() > newestTime) newest = e.path(), newestTime = e.last_write_time();
      }
      if (!newest.empty()) files.push_back(newest);
    }
    made.insert(made.end(), files.begin(), files.end());
    return files;
  }

  static PrivateCupsServer* server;
  static int lock;
  static bool queueMade;
  static std::string queueProblem;
  std::string folder;
  TForm1 form;
  std::unique_ptr<TQtPrinterDevice> device;
  WindowLikeHost host;
  std::vector<fs::path> made;
  std::vector<int> earlier;  // jobs completed before the test
};

PrivateCupsServer* CupsPrinting::server = nullptr;
int CupsPrinting::lock = -1;
bool CupsPrinting::queueMade = false;
std::string CupsPrinting::queueProblem;

TEST_F(CupsPrinting, OneDocumentIsOneJobOfThreePages) {
  form.OneDocument = 1;
  form.RunBatch(host);
  EXPECT_TRUE(host.informs.empty());
  const std::vector<fs::path> files = CompletedJobFiles(1);
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(PdfPages(files[0]), 3) << files[0];
}

TEST_F(CupsPrinting, OneJobPerSheet) {
  form.OneDocument = 0;
  form.RunBatch(host);
  EXPECT_TRUE(host.informs.empty());
  const std::vector<fs::path> files = CompletedJobFiles(3);
  ASSERT_EQ(files.size(), 3u);
  for (const fs::path& f : files) EXPECT_EQ(PdfPages(f), 1) << f;
}

// Each way, run twice with the same printer.
TEST_F(CupsPrinting, EveryPageOfEveryRunShowsItsSheetInPlace) {
  for (int32_t oneDocument : {0, 1}) {
    SCOPED_TRACE(oneDocument ? "one document" : "one job per sheet");
    earlier = CompletedIds();
    form.OneDocument = oneDocument;
    form.RunBatch(host);
    form.RunBatch(host);
    EXPECT_TRUE(host.informs.empty());
    const std::vector<fs::path> files = CompletedJobFiles(oneDocument ? 2 : 6);
    ASSERT_EQ(files.size(), oneDocument ? 2u : 6u);
    ExpectSheetsInPlace(files, false);
  }
}

// A saved choice of the PDF file printer is kept beside the queue.
TEST_F(CupsPrinting, TheFilePrinterStaysBesideTheQueue) {
  EXPECT_EQ(device->PrinterNames().back(), kPdfPrinterName);
  TQtPrinterSettings settings(*device);
  form.PrinterSettings = &settings;
  form.PrinterName = kPdfPrinterName;
  form.ApplyPrinterSettings();
  EXPECT_EQ(GetPrinterName(), kPdfPrinterName);
  EXPECT_TRUE(device->IsPdfFilePrinter());
}

// A3 landscape chosen in the page set-up after the print dialog.
TEST_F(CupsPrinting, PageSetUpAfterThePrintDialogSetsPaperAndOrientation) {
  bool pageSetUpSeen = false;  // opened from the print dialog, opened from the queue's choice
  WhenModal<QInputDialog>([&](QWidget* w) {
    dynamic_cast<QInputDialog*>(w)->setTextValue(QString::fromLatin1(kQueue));
    dynamic_cast<QDialog*>(w)->accept();
    WhenModal<QPrintDialog>([&](QWidget* print) {
      dynamic_cast<QDialog*>(print)->accept();
      WhenModal<QPageSetupDialog>([&](QWidget* page) {
        pageSetUpSeen = true;
        for (auto* combo : page->findChildren<QComboBox*>(QStringLiteral("pageSizeCombo")))
          combo->setCurrentIndex(combo->findText(QStringLiteral("A3"), Qt::MatchStartsWith));
        for (auto* radio : page->findChildren<QRadioButton*>())
          if (radio->text().remove(QLatin1Char('&')) == QStringLiteral("Landscape")) radio->click();
        dynamic_cast<QDialog*>(page)->accept();
      });
    });
  });
  EXPECT_TRUE(RunPrinterSetup(nullptr, *device));
  EXPECT_TRUE(pageSetUpSeen);
  EXPECT_EQ(GetPrinterName(), kQueue);
  EXPECT_NEAR(GetPhysicalWidthMm(), 420, 1);
  EXPECT_NEAR(GetPhysicalHeightMm(), 297, 1);
  form.OneDocument = 1;
  form.RunBatch(host);
  const std::vector<fs::path> files = CompletedJobFiles(1);
  ASSERT_EQ(files.size(), 1u);
  // A3 paper, maybe fed upright, each sheet whole on it.
  const std::vector<TPageInk> pages = PdfPageInk(files[0].string());
  ASSERT_EQ(pages.size(), 3u);
  for (const TPageInk& p : pages) {
    const auto [inkShort, inkLong] = std::minmax({p.Right - p.Left, p.Bottom - p.Top});
    EXPECT_NEAR(std::min(p.PageWidthMm, p.PageHeightMm), 297, 2) << p;
    EXPECT_NEAR(std::max(p.PageWidthMm, p.PageHeightMm), 420, 2) << p;
    EXPECT_NEAR(inkLong, kSheetBoxWidthMm, 1.5) << p;
    EXPECT_NEAR(inkShort, kSheetBoxHeightMm, 1.5) << p;
  }
}

}  // namespace
