// Which installed font family draws a face name stored in a drawing. The
// drawings name the Japanese faces of Windows; they map to the IPA fonts of
// the same shapes. Any other face is used when installed, else IPAGothic.
// fontconfig alone would substitute a Latin family for the Japanese names,
// so the canvas sets the family list itself.
#pragma once

#include <QString>

// face: the name in UTF-8 form, without a leading "@".
QString FontFamilyForFace(const QString& face);
