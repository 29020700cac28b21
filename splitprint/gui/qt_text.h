// Shift-JIS texts of the core at the toolkit's edge.
#pragma once

#include <QString>
#include <string>

#include "qt_sjis_text.h"  // FromSjis, ToSjis

// A message text: the core breaks lines with CR LF, a label with LF.
inline QString BoxText(const std::string& sjis) { return FromSjis(sjis).replace(QStringLiteral("\r\n"), QStringLiteral("\n")); }
