// The file list tab: the open dialog, drops, removal and the sorted list.
#include <QDropEvent>
#include <QFileDialog>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>

#include "sjis.h"
#include "system_reason.h"
#include "file_io.h"
#include "gui_fixture.h"
#include "unusual_names.h"

namespace guitest {
namespace {

class FileListTab : public WindowTest {
 protected:
  std::string Drawing(const std::string& name) {
    jwwtest::JwwBuilder b;
    EXPECT_TRUE(b.WriteFile(data + name, 700));
    return data + name;
  }
  // Types text into the open dialog's file name field and accepts.
  void ChooseInDialog(const QString& typed) {
    OnNextModal<QFileDialog>([typed](QFileDialog* dialog) {
      auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
      ASSERT_NE(edit, nullptr);
      edit->setText(typed);
      QTest::keyClick(edit, Qt::Key_Return);
    });
    window->Button3Click();
  }
  void Drop(const std::vector<std::string>& paths) {
    QMimeData mime;
    QList<QUrl> urls;
    for (const std::string& p : paths) urls.push_back(QUrl::fromLocalFile(QString::fromStdString(p)));
    mime.setUrls(urls);
    // Qt hands a drop only to the widget that accepted the drag's entry.
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.get(), &enter);
    QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.get(), &drop);
  }
};

TEST_F(FileListTab, DialogAddsJwwFilesOfAnyCaseOnceAndSorts) {
  Drawing("b.JWW");
  Drawing("a.jww");
  Drawing("C.jww");
  std::ofstream(data + "notes.txt") << "x";
  Start({});
  window->Form.AddFolder = data;
  ChooseInDialog(QStringLiteral("\"b.JWW\" \"a.jww\""));
  EXPECT_EQ(ListedNames(), (std::vector<std::string>{"a.jww", "b.JWW"}));
  EXPECT_EQ(Status(), "2個のファイルを一覧に追加しました。");
  // Chosen again with a third one: only the new one is added.
  ChooseInDialog(QStringLiteral("\"a.jww\" \"C.jww\""));
  EXPECT_EQ(ListedNames(), (std::vector<std::string>{"a.jww", "b.JWW", "C.jww"}));
  EXPECT_EQ(Status(), "1個のファイルを一覧に追加しました。");
  EXPECT_EQ(window->Form.AddFolder, data);
}

TEST_F(FileListTab, DropsListEveryExistingDrawingEvenTwice) {
  const std::string a = Drawing("a.jww");
  const std::string b = Drawing("B.JWW");
  std::ofstream(data + "c.txt") << "x";
  Start({});
  Drop({b, a, a, data + "c.txt", data + "missing.jww"});
  EXPECT_EQ(ListedNames(), (std::vector<std::string>{"a.jww", "a.jww", "B.JWW"}));
  EXPECT_EQ(Status(), "3個のファイルを一覧に追加しました。");
}

TEST_F(FileListTab, DialogAndDropsTakeNamesShiftJisLacks) {
  std::vector<std::string> paths;
  for (const jwwtest::TUnusualName& name : jwwtest::UnusualNames()) paths.push_back(Drawing(name.Stem + ".jww"));
  Start({});
  window->Form.AddFolder = data;
  ChooseInDialog(QString::fromUtf8("\"1階\u301C2階.jww\" \"도면.jww\""));
  EXPECT_EQ(Status(), "2個のファイルを一覧に追加しました。");
  Drop(paths);
  EXPECT_EQ(Status(), "4個のファイルを一覧に追加しました。");
  const std::vector<std::string>& list = window->Form.FileList;  // the dialog's two, then the drop's four
  const int listed[] = {2, 1, 1, 2};
  for (size_t i = 0; i < paths.size(); ++i) EXPECT_EQ(std::count(list.begin(), list.end(), paths[i]), listed[i]) << paths[i];
}

TEST_F(FileListTab, RemovalAsksFirst) {
  struct TCase {
    QMessageBox::StandardButton answer;
    std::vector<std::string> left;
  } cases[] = {{QMessageBox::No, {"a.jww", "b.jww", "c.jww"}}, {QMessageBox::Yes, {"b.jww"}}};
  for (const TCase& c : cases) {
    Start({Drawing("c.jww"), Drawing("a.jww"), Drawing("b.jww")});
    window->ListBox1->item(0)->setSelected(true);
    window->ListBox1->item(2)->setSelected(true);
    auto box = AnswerNextBox(c.answer);
    window->Button4Click();
    EXPECT_TRUE(box->Seen);
    EXPECT_EQ(box->Title.toStdString(), "Quillmoor");
    EXPECT_EQ(box->Text.toStdString(), "選択した2個のファイルを一覧から削除します。よろしいですか？");
    EXPECT_EQ(ListedNames(), c.left);
    window->close();
  }
}

// Double-clicking a drawing where Jw_cad is missing says so and why.
TEST_F(FileListTab, DoubleClickWithoutJwCadTellsThePathTried) {
  Start({Drawing("a.jww")});
  window->Form.JwCadFolder = data;
  auto box = AnswerNextBox(QMessageBox::Ok);
  const QPoint at = window->ListBox1->visualItemRect(window->ListBox1->item(0)).center();
  QTest::mouseClick(window->ListBox1->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(window->ListBox1->viewport(), Qt::LeftButton, {}, at);
  EXPECT_EQ(box->Text.toStdString(), "Jw_cadを起動できませんでした。\n" + data + "Jw_win.exe：" + SjisToUtf8(SystemErrorText(ENOENT)));
}

TEST_F(FileListTab, CommandLineNamesAreMadeAbsoluteAndSorted) {
  Drawing("b.jww");
  Drawing("A.JWW");
  std::ofstream(data + "c.txt") << "x";
  Start({"b.jww", "c.txt", "A.JWW", "missing.jww", ""});
  ASSERT_EQ(window->ListBox1->count(), 2);
  EXPECT_EQ(window->ListBox1->item(0)->text().toStdString(), data + "A.JWW");
  EXPECT_EQ(window->ListBox1->item(1)->text().toStdString(), data + "b.jww");
}

}  // namespace
}  // namespace guitest
