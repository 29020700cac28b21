// A batch host for runs without a window: status and message texts go to a
// stream (as UTF-8), confirmations are answered Yes, the order dialog keeps
// the order, and nothing is previewed or printed.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "batch_host.h"

class TConsoleBatchHost : public TBatchHost {
 public:
  explicit TConsoleBatchHost(std::FILE* out) : out_(out) {}

  void SetStatusText(const std::string& text) override;
  bool Confirm(const std::string& text) override;
  void Inform(const std::string& text) override;
  void SetRunButtonsEnabled(bool) override {}
  void ReadPrintOptions(TForm1&) override {}
  // Keeps the saved sheets in their order (the run empties its list at the end).
  bool ShowOrderDialog(TForm1& form) override;
  void PreviewSheets(TForm1&) override {}
  void PrintSheets(TForm1&) override {}
  bool EscapeHeld() override { return false; }
  void PumpMessages() override {}

  const std::string& LastStatus() const { return lastStatus_; }
  // The sheet files of the last run's order dialog (native paths).
  const std::vector<std::string>& SavedSheets() const { return savedSheets_; }

 private:
  void Print(const char* prefix, const std::string& sjis);

  std::FILE* out_;
  std::string lastStatus_;
  std::vector<std::string> savedSheets_;
};
