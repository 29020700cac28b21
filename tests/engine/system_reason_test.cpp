// The system's reasons as the program shows them: Japanese, whatever the
// process locale.
#include <gtest/gtest.h>
#include <locale.h>

#include <cerrno>
#include <string>

#include "sjis.h"
#include "system_reason.h"

namespace {

TEST(SystemErrorText, JapaneseWhateverTheProcessLocale) {
  const locale_t japanese = newlocale(LC_ALL_MASK, "ja_JP.UTF-8", static_cast<locale_t>(nullptr));
  if (japanese == static_cast<locale_t>(nullptr)) GTEST_SKIP() << "no ja_JP.UTF-8 locale (tools/setup.sh makes it)";
  freelocale(japanese);
  const std::string before = setlocale(LC_ALL, nullptr);
  for (const char* processLocale : {"C", "de_DE.UTF-8"}) {
    setlocale(LC_ALL, processLocale);
    EXPECT_EQ(SjisToUtf8(SystemErrorText(ENOENT)), "そのようなファイルやディレクトリはありません") << processLocale;
    EXPECT_EQ(SjisToUtf8(SystemErrorText(EACCES)), "許可がありません") << processLocale;
  }
  setlocale(LC_ALL, before.c_str());
}

}  // namespace
