// Shift-JIS texts and native paths of the core at the toolkit's edge.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <string>

#include "sjis.h"

inline QString FromSjis(const std::string& sjis) { return QString::fromStdString(SjisToUtf8(sjis)); }
inline std::string ToSjis(const QString& text) { return Utf8ToSjis(text.toStdString()); }
// A path keeps its file-system bytes; it never passes through Shift-JIS.
inline QString FromPath(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }
inline std::string ToPath(const QString& path) { return QFile::encodeName(path).toStdString(); }
// A message text: the core breaks lines with CR LF, a label with LF.
inline QString BoxText(const std::string& sjis) { return FromSjis(sjis).replace(QStringLiteral("\r\n"), QStringLiteral("\n")); }
