#include <gtest/gtest.h>

#include <fstream>

#include "form1_state.h"
#include "jww_model_maker.h"
#include "sjis.h"

namespace {

TEST(FileList, AddingByDropAndByDialogAndRemoving) {
  const std::string folder = jwwtest::FreshFolder("file_list");
  for (const char* name : {"a.jww", "B.JWW", "c.txt"}) std::ofstream(folder + name) << "x";
  const std::string a = folder + "a.jww", b = folder + "B.JWW";
  TForm1 form;
  EXPECT_EQ(SjisToUtf8(form.AddDroppedFiles({a, a, folder + "c.txt", folder + "gone.jww", ""})),
            "2個のファイルを一覧に追加しました。");
  EXPECT_EQ(form.FileList, (std::vector<std::string>{a, a}));

  form.FileList.clear();
  form.AddDroppedFiles({folder + "A.jww"});  // no such name on disk
  EXPECT_TRUE(form.FileList.empty());
  form.FileList = {folder + "B.jww"};  // listed in another case
  EXPECT_EQ(SjisToUtf8(form.AddChosenFiles({a, b, a})), "1個のファイルを一覧に追加しました。");
  EXPECT_EQ(form.FileList, (std::vector<std::string>{folder + "B.jww", a}));
  EXPECT_EQ(form.AddFolder, folder);

  EXPECT_EQ(SjisToUtf8(TForm1::RemoveFilesQuestion(2)), "選択した2個のファイルを一覧から削除します。よろしいですか？");
  form.FileList = {"0", "1", "2", "3"};
  EXPECT_EQ(SjisToUtf8(form.RemoveFiles({3, 1, 1, 7, -1})), "2個のファイルを一覧から削除しました。");
  EXPECT_EQ(form.FileList, (std::vector<std::string>{"0", "2"}));
}

}  // namespace
