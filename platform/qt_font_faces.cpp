#include "qt_font_faces.h"

#include <QFontDatabase>
#include <QHash>

namespace {

const char kDefaultFamily[] = "IPAGothic";

struct TFaceMapping {
  const char* face;    // UTF-8
  const char* family;
};

// Full-width Japanese names as they appear in drawings, and their Latin names.
const TFaceMapping kJapaneseFaces[] = {
    {"ＭＳ ゴシック", "IPAGothic"},  {"ＭＳ Ｐゴシック", "IPAPGothic"},
    {"ＭＳ 明朝", "IPAMincho"},      {"ＭＳ Ｐ明朝", "IPAPMincho"},
    {"MS Gothic", "IPAGothic"},       {"MS PGothic", "IPAPGothic"},
    {"MS Mincho", "IPAMincho"},       {"MS PMincho", "IPAPMincho"},
};

}  // namespace

QString FontFamilyForFace(const QString& face) {
  // Every text of a drawing asks again: remember the answers.
  static QHash<QString, QString> known;
  const auto found = known.constFind(face);
  if (found != known.constEnd()) return *found;

  QString family = QString::fromLatin1(kDefaultFamily);
  bool mapped = false;
  for (const TFaceMapping& m : kJapaneseFaces) {
    if (face.compare(QString::fromUtf8(m.face), Qt::CaseInsensitive) == 0) {
      family = QString::fromLatin1(m.family);
      mapped = true;
      break;
    }
  }
  if (!mapped && !face.isEmpty() && QFontDatabase::hasFamily(face)) family = face;
  if (known.size() > 1000) known.clear();  // faces come from files: keep the memo small
  known.insert(face, family);
  return family;
}
