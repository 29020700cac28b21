// The window-less host: texts reach the stream as UTF-8, repeated status
// texts are printed once, and a run without a drawing says so.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "console_host.h"
#include "form1_state.h"
#include "sheet_fixtures.h"
#include "sjis.h"

namespace {

std::string ReadAll(std::FILE* f) {
  std::rewind(f);
  std::string out;
  char buf[256];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
  return out;
}

}  // namespace

TEST(ConsoleBatchHost, PrintsUtf8AndAnswersYes) {
  std::FILE* f = std::tmpfile();
  ASSERT_NE(f, nullptr);
  TConsoleBatchHost host(f);
  host.SetStatusText(Utf8ToSjis("変換中"));
  host.SetStatusText(Utf8ToSjis("変換中"));
  EXPECT_TRUE(host.Confirm(Utf8ToSjis("よろしいですか？")));
  host.Inform("done");
  EXPECT_EQ(ReadAll(f), "変換中\n? よろしいですか？\n! done\n");
  std::fclose(f);
}

TEST(ConsoleBatchHost, AnEmptyFileListEndsWithTheNotice) {
  std::FILE* f = std::tmpfile();
  ASSERT_NE(f, nullptr);
  TConsoleBatchHost host(f);
  TForm1 form;
  form.StartBatch(host);
  EXPECT_EQ(SjisToUtf8(host.LastStatus()), "図面ファイル名を指定して下さい。");
  std::fclose(f);
}

// The program without a window prints the saved sheets after the run, which
// has emptied its own list by then.
TEST(ConsoleBatchHost, KeepsTheSavedSheetsOfTheRun) {
  const std::string folder = jwwtest::FreshFolder("console_run");
  jwwtest::JwwBuilder b;
  sheettest::AddFrame(b, 0, 0, 297, 210);
  b.AddLine(jwwtest::MakeLine(10, 10, 20, 20));
  ASSERT_TRUE(b.WriteFile(folder + "plan.jww", 700));
  TConsoleBatchHost host(nullptr);
  TForm1 form;
  form.SetDestinationChecked(kDestSourceFolder, true);
  form.FileList = {folder + "plan.jww"};
  form.RunBatch(host);
  EXPECT_TRUE(Gval.SheetList.empty());
  EXPECT_EQ(host.SavedSheets(), std::vector<std::string>{folder + "1_plan.jww"});
}
