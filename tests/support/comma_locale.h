// Puts the process under a locale whose decimal point is a comma (German)
// for the life of the object, as a window's application object does from
// the environment. The system's de_DE.UTF-8 is used when installed; else
// one is compiled from the locale sources into a test folder. Ready() is
// false when neither works (the caller then skips).
#pragma once

#include <clocale>
#include <cstdlib>
#include <string>

#include "jww_model_maker.h"

class CommaLocale {
 public:
  CommaLocale() {
    if (Set()) return;
    const std::string folder = jwwtest::FreshFolder("comma_locale");
    const std::string build = "localedef -i de_DE -f UTF-8 '" + folder + "de_DE.UTF-8' >/dev/null 2>&1";
    if (std::system(build.c_str()) == -1) return;  // a warning exit still leaves a usable locale
    ::setenv("LOCPATH", folder.c_str(), 1);
    if (!Set()) ::unsetenv("LOCPATH");
  }
  CommaLocale(const CommaLocale&) = delete;
  CommaLocale& operator=(const CommaLocale&) = delete;
  ~CommaLocale() {
    std::setlocale(LC_ALL, "C");
    ::unsetenv("LOCPATH");
  }
  bool Ready() const { return ready_; }

 private:
  bool Set() {
    ready_ = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr && std::localeconv()->decimal_point[0] == ',';
    return ready_;
  }
  bool ready_ = false;
};
