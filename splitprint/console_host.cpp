#include "console_host.h"

#include "sjis.h"

void TConsoleBatchHost::Print(const char* prefix, const std::string& sjis) {
  if (!out_) return;
  std::fprintf(out_, "%s%s\n", prefix, SjisToUtf8(sjis).c_str());
  std::fflush(out_);
}

void TConsoleBatchHost::SetStatusText(const std::string& text) {
  if (text == lastStatus_) return;
  lastStatus_ = text;
  Print("", text);
}

bool TConsoleBatchHost::Confirm(const std::string& text) {
  Print("? ", text);
  return true;
}

void TConsoleBatchHost::Inform(const std::string& text) { Print("! ", text); }
