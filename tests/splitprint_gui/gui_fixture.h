// The program's window in-process: one QApplication for the test program,
// a fresh program folder and session per test, a fake Wine prefix, and
// helpers that answer modal boxes and dialogs as a user would.
#pragma once

#include <QApplication>
#include <QListWidget>
#include <QStatusBar>
#include <filesystem>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "bind_images.h"
#include "fake_wine.h"
#include "file_io.h"
#include "form1_window.h"
#include "gval.h"
#include "jww_model_maker.h"
#include "program_session.h"
#include "sheet_fixtures.h"

namespace guitest {

inline QApplication& App() {
  static int argc = 1;
  static char name[] = "splitprint_gui_tests";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    auto* a = new QApplication(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Quillmoor"));
    return a;
  }();
  return *app;
}

// Runs action on the next modal widget of type T once it is up (polled, as
// the widget appears inside a nested event loop).
template <typename T>
void OnNextModal(std::function<void(T*)> action, int triesLeft = 500) {
  QTimer::singleShot(10, [action, triesLeft] {
    if (auto* w = qobject_cast<T*>(QApplication::activeModalWidget())) {
      action(w);
    } else if (triesLeft > 0) {
      OnNextModal<T>(action, triesLeft - 1);
    }
  });
}

// Answers the next message box with button, keeping its title and text.
struct BoxRecord {
  QString Title, Text;
  bool Seen = false;
};
inline std::shared_ptr<BoxRecord> AnswerNextBox(QMessageBox::StandardButton button) {
  auto record = std::make_shared<BoxRecord>();
  OnNextModal<QMessageBox>([record, button](QMessageBox* box) {
    record->Title = box->windowTitle();
    record->Text = box->text();
    record->Seen = true;
    box->button(button)->click();
  });
  return record;
}

// A drawing with two paper frames (two sheets) at path (native).
inline void WriteFramedDrawing(const std::string& path) {
  jwwtest::JwwBuilder b;
  sheettest::AddFrame(b, 0, 0, 420, 297);
  sheettest::AddFrame(b, 500, 0, 920, 297);
  b.AddLine(jwwtest::MakeLine(10, 10, 100, 100, jwwtest::MakeCommon(0, 0, 1, 1)));
  b.AddLine(jwwtest::MakeLine(510, 10, 600, 100, jwwtest::MakeCommon(0, 0, 1, 1)));
  EXPECT_TRUE(b.WriteFile(path, 700));
}

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    App();
    Gval.Reset();
    BindImg.Reset();
    program = jwwtest::FreshFolder(std::string("gui_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    data = program + "data/";
    std::filesystem::create_directories(data);
    ::setenv("XDG_STATE_HOME", (program + "state").c_str(), 1);  // the record of saved sheets, never the real home's
    session = std::make_unique<TProgramSession>(program, "quillmoor");
  }
  void TearDown() override {
    if (window) window->close();
    window.reset();
    session.reset();
  }
  // Starts the window with the command line and shows it.
  TForm1Window& Start(const std::vector<std::string>& arguments) {
    window = session->CreateWindow(arguments, data);
    window->show();
    QCoreApplication::processEvents();
    return *window;
  }
  // The list rows as shown, without their folder.
  std::vector<std::string> ListedNames() const {
    std::vector<std::string> names;
    for (int i = 0; i < window->ListBox1->count(); ++i)
      names.push_back(std::filesystem::path(window->ListBox1->item(i)->text().toStdString()).filename().string());
    return names;
  }
  std::string Status() const { return window->statusBar()->currentMessage().toStdString(); }

  FakeWine wine{"gui_wine"};
  std::string program, data;
  std::unique_ptr<TProgramSession> session;
  std::unique_ptr<TForm1Window> window;
};

}  // namespace guitest
