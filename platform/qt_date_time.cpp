#include "qt_date_time.h"

#include <QDateTime>
#include <QLocale>

#include "sjis.h"

std::string ShortDateTimeText(int64_t unixSeconds) {
  const QDateTime time = QDateTime::fromSecsSinceEpoch(unixSeconds);
  return Utf8ToSjis(QLocale::system().toString(time, QLocale::ShortFormat).toStdString());
}
