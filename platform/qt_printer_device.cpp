#include "qt_printer_device.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPaintEngine>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "file_io.h"
#include "standard_folders.h"
#include "system_reason.h"
#include "qt_canvas.h"
#include "qt_sjis_text.h"

const char kPdfPrinterName[] = "PDF\x83\x74\x83\x40\x83\x43\x83\x8B";  // PDFファイル

namespace {

int32_t RoundPx(double v) { return static_cast<int32_t>(qRound(v)); }

// 20 pixels a millimetre: whole millimetres are whole pixels.
constexpr int kPdfPrinterDpi = 508;

// The title as a file name: nothing in it may lead out of the folder.
QString FileNameOfTitle(const QString& title) {
  QString base;
  for (const QChar c : title) {
    const bool bad = c.unicode() < 32 || QStringLiteral("/\\:*?\"<>|").contains(c);
    base += bad ? QChar('_') : c;
  }
  base = base.trimmed();
  if (base.isEmpty() || base.startsWith('.')) base.prepend(QStringLiteral("document"));
  return base + QStringLiteral(".pdf");
}

// The folder of the PDF file printer when none is set: the documents
// folder, made when missing, else the home folder.
QString DefaultPdfFolder() {
  const QString documents = QString::fromStdString(DocumentsFolderPath());
  if (!documents.isEmpty() && QDir().mkpath(documents)) return documents;
  return QDir::homePath();
}

}  // namespace

TQPrinterDeviceBase::TQPrinterDeviceBase() = default;

TQPrinterDeviceBase::~TQPrinterDeviceBase() {
  canvas_.reset();
  if (painter_ && painter_->isActive()) painter_->end();
}

void TQPrinterDeviceBase::ReplacePrinter(std::unique_ptr<QPrinter> printer) {
  printer_ = std::move(printer);
  pdfFilePrinter_ = false;
  chosenFile_.clear();
  assignedFile_.clear();
}

int32_t TQPrinterDeviceBase::DpiX() const { return printer_ ? printer_->logicalDpiX() : 0; }
int32_t TQPrinterDeviceBase::DpiY() const { return printer_ ? printer_->logicalDpiY() : 0; }

int32_t TQPrinterDeviceBase::PdfPagePx(bool width, bool printable) const {
  const QPageLayout layout = printer_->pageLayout();
  const QRectF mm = printable && !printer_->fullPage() ? layout.paintRect(QPageLayout::Millimeter)
                                                        : layout.fullRect(QPageLayout::Millimeter);
  return RoundPx((width ? mm.width() : mm.height()) * (width ? DpiX() : DpiY()) / 25.4);
}

// Qt measures pages in whole points: the PDF file printer's A4 would be
// 209.9 x 297.0 mm. Its pages are measured in millimetres instead.
int32_t TQPrinterDeviceBase::PhysicalWidthPx() const {
  if (!printer_) return 0;
  if (pdfFilePrinter_) return PdfPagePx(true, false);
  return RoundPx(printer_->paperRect(QPrinter::DevicePixel).width());
}
int32_t TQPrinterDeviceBase::PhysicalHeightPx() const {
  if (!printer_) return 0;
  if (pdfFilePrinter_) return PdfPagePx(false, false);
  return RoundPx(printer_->paperRect(QPrinter::DevicePixel).height());
}
int32_t TQPrinterDeviceBase::PageWidthPx() const {
  if (!printer_) return 0;
  if (pdfFilePrinter_) return PdfPagePx(true, true);
  return RoundPx(printer_->pageRect(QPrinter::DevicePixel).width());
}
int32_t TQPrinterDeviceBase::PageHeightPx() const {
  if (!printer_) return 0;
  if (pdfFilePrinter_) return PdfPagePx(false, true);
  return RoundPx(printer_->pageRect(QPrinter::DevicePixel).height());
}

void TQPrinterDeviceBase::UsePdfFilePrinter() {
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer->setOutputFormat(QPrinter::PdfFormat);
  printer->setResolution(kPdfPrinterDpi);
  printer->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
  ReplacePrinter(std::move(printer));
  pdfFilePrinter_ = true;
}

bool TQPrinterDeviceBase::PrepareJob(const QString& fileTitle) {
  failureReason_.clear();
  lastFile_.clear();
  lastPath_.clear();
  lastPathMade_ = false;
  if (pdfFilePrinter_) return PreparePdfFile(fileTitle);
  const QString current = printer_->outputFileName();
  if (current.isEmpty()) return true;  // to the printer
  // Printing to a file: every document of it gets a file of its own.
  if (current != assignedFile_) chosenFile_ = current;
  return ClaimOutputFile(chosenFile_, true);
}

bool TQPrinterDeviceBase::PreparePdfFile(const QString& fileTitle) {
  const QString folder = folder_.empty() ? DefaultPdfFolder() : QFile::decodeName(QByteArray::fromStdString(folder_));
  return ClaimOutputFile(QDir(folder).filePath(FileNameOfTitle(fileTitle)), false);
}

bool TQPrinterDeviceBase::ClaimOutputFile(const QString& wanted, bool mayReplace) {
  const QFileInfo info(wanted);
  const QString stem = info.dir().filePath(info.completeBaseName());
  const QString suffix = info.suffix().isEmpty() ? QString() : QStringLiteral(".") + info.suffix();
  for (int n = 1; n <= 9999; ++n) {
    const QString path = n == 1 ? wanted : stem + QStringLiteral(" (%1)").arg(n) + suffix;
    if (written_.count(path) > 0) continue;
    const bool exists = QFileInfo::exists(path);
    if (exists && !(n == 1 && mayReplace)) continue;
    // Made (or opened) here first, so that a folder that cannot take it
    // gives the system's reason.
    const QByteArray native = QFile::encodeName(path);
    const int fd = exists ? ::open(native.constData(), O_WRONLY | O_CLOEXEC)
                          : ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      failureReason_ = SystemErrorText(errno);
      return false;
    }
    ::close(fd);
    written_.insert(path);
    printer_->setOutputFileName(path);
    assignedFile_ = path;
    lastFile_ = path;
    lastPath_ = native.toStdString();
    lastPathMade_ = !exists;
    return true;
  }
  failureReason_ = SystemErrorText(EEXIST);
  return false;
}

void TQPrinterDeviceBase::DiscardJob(bool painted) {
  if (!lastFile_.isEmpty() && (painted || lastPathMade_)) QFile::remove(lastFile_);
  lastFile_.clear();
  lastPath_.clear();
}

std::string TQPrinterDeviceBase::OutputFileFolder() const {
  if (lastFile_.isEmpty()) return {};
  return QFile::encodeName(QFileInfo(lastFile_).absolutePath()).toStdString();
}

bool TQPrinterDeviceBase::BeginDoc(const std::string& title) { return BeginNamedDoc(title, {}); }

bool TQPrinterDeviceBase::BeginNamedDoc(const std::string& title, const std::string& fileTitle) {
  if (!printer_ || Printing()) return false;
  const QString qtitle = FromSjis(title);
  if (!PrepareJob(fileTitle.empty() ? qtitle : QFile::decodeName(QByteArray::fromStdString(fileTitle)))) return false;
  printer_->setDocName(qtitle);
  docOpen_ = true;
  if (startOnFirstPage_ || StartPainting()) return true;
  docOpen_ = false;
  DiscardJob(false);
  return false;
}

bool TQPrinterDeviceBase::Painting() const { return painter_ && painter_->isActive(); }

bool TQPrinterDeviceBase::StartPainting() {
  if (!docOpen_) return false;
  if (Painting()) return true;
  painter_ = std::make_unique<QPainter>();
  if (!painter_->begin(printer_.get())) {
    painter_.reset();
    return false;
  }
  // The printer keeps its paint engine from one document to the next, and
  // the engine keeps the transform and pen it was last handed (the turn of
  // the last text of the previous job): a fresh painter sends only what
  // changes, so its whole state is handed over again.
  painter_->paintEngine()->setDirty(QPaintEngine::AllDirty);
  canvas_ = std::make_unique<TQtCanvas>(*painter_);
  return true;
}

bool TQPrinterDeviceBase::NewPage() {
  if (!StartPainting()) return false;
  canvas_->Flush();  // the strokes still gathered belong to this page
  return printer_->newPage();
}

bool TQPrinterDeviceBase::EndDoc() {
  if (!Printing()) return false;
  docOpen_ = false;
  if (!Painting()) {
    painter_.reset();
    DiscardJob(false);
    return true;  // nothing was drawn: no job at all
  }
  canvas_.reset();  // draws what it gathered
  const bool ok = painter_->end();
  painter_.reset();
  return ok;
}

bool TQPrinterDeviceBase::AbortDoc() {
  if (!Printing()) return false;
  const bool painted = Painting();
  docOpen_ = false;
  canvas_.reset();
  if (painted) {
    // Qt's PDF and CUPS engines cannot cancel a job once painting began:
    // it is ended and what it wrote is removed.
    printer_->abort();
    if (painter_->isActive()) painter_->end();
  }
  DiscardJob(painted);
  painter_.reset();
  return true;
}

bool TQPrinterDeviceBase::Printing() const { return docOpen_; }

TCanvas* TQPrinterDeviceBase::Canvas() { return StartPainting() ? canvas_.get() : nullptr; }

QPainter* TQPrinterDeviceBase::Painter() {
  if (!StartPainting()) return nullptr;
  canvas_->Flush();
  return painter_.get();
}

// ---- Installed printers ----

TQtPrinterDevice::TQtPrinterDevice() {
  const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
  const QString defaultName = QPrinterInfo::defaultPrinterName();
  int32_t start = 0;  // the first printer, or the PDF file printer when there is none
  for (qsizetype i = 0; i < printers.size(); ++i) {
    if (printers[i].printerName() == defaultName) start = static_cast<int32_t>(i);
  }
  index_ = -2;  // force the printer object to be made
  SetPrinterIndex(start);
  SetStartOnFirstPage(true);
}

std::vector<std::string> TQtPrinterDevice::PrinterNames() const {
  std::vector<std::string> names;
  for (const QPrinterInfo& info : QPrinterInfo::availablePrinters()) names.push_back(ToSjis(info.printerName()));
  names.push_back(kPdfPrinterName);
  return names;
}

bool TQtPrinterDevice::SetPrinterIndex(int32_t index) {
  if (Printing()) return false;
  const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
  const auto pdfIndex = static_cast<int32_t>(printers.size());
  if (index < -1 || index > pdfIndex) return false;
  if (index == pdfIndex) {
    if (index_ != pdfIndex) UsePdfFilePrinter();
  } else if (index == -1) {
    ReplacePrinter(std::make_unique<QPrinter>(QPrinter::HighResolution));
  } else {
    ReplacePrinter(std::make_unique<QPrinter>(printers[index], QPrinter::HighResolution));
  }
  index_ = index;
  return true;
}

// ---- PDF file printer alone ----

TPdfFilePrinter::TPdfFilePrinter() { UsePdfFilePrinter(); }

std::vector<std::string> TPdfFilePrinter::PrinterNames() const { return {kPdfPrinterName}; }

bool TPdfFilePrinter::SetPrinterIndex(int32_t index) {
  if (Printing() || index < -1 || index > 0) return false;
  index_ = index;
  return true;
}

std::unique_ptr<TPrinterDevice> CreateSystemPrinterDevice() { return std::make_unique<TQtPrinterDevice>(); }
