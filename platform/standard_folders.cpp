#include "standard_folders.h"

#include <QFile>
#include <QStandardPaths>
#include <QString>

namespace {

std::string FolderPath(QStandardPaths::StandardLocation location) {
  const QString path = QStandardPaths::writableLocation(location);
  if (path.isEmpty()) return std::string();
  std::string native = QFile::encodeName(path).toStdString();
  if (native.back() != '/') native += '/';
  return native;
}

}  // namespace

std::string DesktopFolderPath() { return FolderPath(QStandardPaths::DesktopLocation); }
std::string DocumentsFolderPath() { return FolderPath(QStandardPaths::DocumentsLocation); }
