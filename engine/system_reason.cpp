#include "system_reason.h"

#include <locale.h>
#include <string.h>

#include "sjis.h"

namespace {

// Made once and kept for the life of the process (strerror_l reads it).
locale_t ReasonLocale() {
  static const locale_t chosen = [] {
    locale_t japanese = newlocale(LC_ALL_MASK, "ja_JP.UTF-8", static_cast<locale_t>(nullptr));
    return japanese != static_cast<locale_t>(nullptr) ? japanese
                                                      : newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  }();
  return chosen;
}

}  // namespace

std::string SystemErrorText(int error) {
  const locale_t locale = ReasonLocale();
  const char* text = locale != static_cast<locale_t>(nullptr) ? strerror_l(error, locale) : strerror(error);
  return Utf8ToSjis(text != nullptr ? text : "");
}
