#include "qt_printer_device.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>

#include "file_io.h"
#include "qt_canvas.h"
#include "sjis.h"

const char kPdfPrinterName[] = "PDF\x83\x74\x83\x40\x83\x43\x83\x8B";  // PDFファイル

namespace {

QString FromSjis(const std::string& s) { return QString::fromStdString(SjisToUtf8(s)); }
std::string ToSjis(const QString& s) { return Utf8ToSjis(s.toStdString()); }

int32_t RoundPx(double v) { return static_cast<int32_t>(qRound(v)); }

}  // namespace

TQPrinterDeviceBase::TQPrinterDeviceBase() = default;

TQPrinterDeviceBase::~TQPrinterDeviceBase() {
  canvas_.reset();
  if (painter_ && painter_->isActive()) painter_->end();
}

void TQPrinterDeviceBase::ReplacePrinter(std::unique_ptr<QPrinter> printer) { printer_ = std::move(printer); }

int32_t TQPrinterDeviceBase::DpiX() const { return printer_ ? printer_->logicalDpiX() : 0; }
int32_t TQPrinterDeviceBase::DpiY() const { return printer_ ? printer_->logicalDpiY() : 0; }

int32_t TQPrinterDeviceBase::PhysicalWidthPx() const {
  return printer_ ? RoundPx(printer_->paperRect(QPrinter::DevicePixel).width()) : 0;
}
int32_t TQPrinterDeviceBase::PhysicalHeightPx() const {
  return printer_ ? RoundPx(printer_->paperRect(QPrinter::DevicePixel).height()) : 0;
}
int32_t TQPrinterDeviceBase::PageWidthPx() const {
  return printer_ ? RoundPx(printer_->pageRect(QPrinter::DevicePixel).width()) : 0;
}
int32_t TQPrinterDeviceBase::PageHeightPx() const {
  return printer_ ? RoundPx(printer_->pageRect(QPrinter::DevicePixel).height()) : 0;
}

bool TQPrinterDeviceBase::PrepareJob(const QString&) { return true; }

bool TQPrinterDeviceBase::BeginDoc(const std::string& title) {
  if (!printer_ || Printing()) return false;
  const QString qtitle = FromSjis(title);
  if (!PrepareJob(qtitle)) return false;
  printer_->setDocName(qtitle);
  docOpen_ = true;
  if (startOnFirstPage_ || StartPainting()) return true;
  docOpen_ = false;
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
    DiscardJob();
  }
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
  int32_t start = printers.isEmpty() ? -1 : 0;
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
  return names;
}

bool TQtPrinterDevice::SetPrinterIndex(int32_t index) {
  if (Printing()) return false;
  const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
  if (index < -1 || index >= static_cast<int32_t>(printers.size())) return false;
  if (index == -1) {
    ReplacePrinter(std::make_unique<QPrinter>(QPrinter::HighResolution));
  } else {
    ReplacePrinter(std::make_unique<QPrinter>(printers[index], QPrinter::HighResolution));
  }
  index_ = index;
  return true;
}

// ---- PDF file printer ----

TPdfFilePrinter::TPdfFilePrinter() {
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer->setOutputFormat(QPrinter::PdfFormat);
  printer->setResolution(600);
  printer->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
  ReplacePrinter(std::move(printer));
}

std::vector<std::string> TPdfFilePrinter::PrinterNames() const { return {kPdfPrinterName}; }

bool TPdfFilePrinter::SetPrinterIndex(int32_t index) {
  if (Printing() || index < -1 || index > 0) return false;
  index_ = index;
  return true;
}

bool TPdfFilePrinter::PrepareJob(const QString& title) {
  QString folder;
  if (folder_.empty()) {
    folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty()) folder = QDir::homePath();
  } else {
    folder = QFile::decodeName(QByteArray::fromStdString(folder_));
  }
  const QDir dir(folder);
  if (!dir.exists()) return false;
  // The title names the file: nothing in it may lead out of the folder.
  QString base;
  for (const QChar c : title) {
    const bool bad = c.unicode() < 32 || QStringLiteral("/\\:*?\"<>|").contains(c);
    base += bad ? QChar('_') : c;
  }
  base = base.trimmed();
  if (base.isEmpty() || base.startsWith('.')) base.prepend(QStringLiteral("document"));
  QString path = dir.filePath(base + QStringLiteral(".pdf"));
  for (int n = 2; QFileInfo::exists(path); ++n) {
    if (n > 9999) return false;
    path = dir.filePath(base + QStringLiteral(" (%1).pdf").arg(n));
  }
  Printer()->setOutputFileName(path);
  lastPath_ = QFile::encodeName(path).toStdString();
  return true;
}

void TPdfFilePrinter::DiscardJob() {
  if (!lastPath_.empty()) RemoveFile(lastPath_);
  lastPath_.clear();
}

std::unique_ptr<TPrinterDevice> CreateSystemPrinterDevice() {
  if (!QPrinterInfo::availablePrinters().isEmpty()) return std::make_unique<TQtPrinterDevice>();
  return std::make_unique<TPdfFilePrinter>();
}
