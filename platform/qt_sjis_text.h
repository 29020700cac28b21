// Shift-JIS texts of the cores at the toolkit's edge. Texts only: a path
// keeps its own bytes and never goes through these.
#pragma once

#include <QString>
#include <string>

#include "sjis.h"

inline QString FromSjis(const std::string& sjis) { return QString::fromStdString(SjisToUtf8(sjis)); }
inline std::string ToSjis(const QString& text) { return Utf8ToSjis(text.toStdString()); }
