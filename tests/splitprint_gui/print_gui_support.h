// Shared pieces of the print dialogs' widget tests: the application, a
// scripted answer to the next modal dialog, screenshots kept as test output
// and sheet files to preview and print.
#pragma once

#include <QApplication>
#include <QDir>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <string>

#include "jww_builder.h"
#include "jww_model_maker.h"
#include "sjis.h"

namespace printgui {

inline QApplication& App() {
  static int argc = 1;
  static char name[] = "quillmoor_print_tests";
  static char* argv[] = {name, nullptr};
  static QApplication* app = qApp ? nullptr : new QApplication(argc, argv);
  (void)app;
  return *static_cast<QApplication*>(QCoreApplication::instance());
}

// Runs `act` on the next modal dialog of type T as soon as it is shown
// (polled for up to 20 s, as it appears inside a nested event loop).
template <typename T = QWidget>
inline void WhenModal(std::function<void(QWidget*)> act, int triesLeft = 2000) {
  QTimer::singleShot(triesLeft == 2000 ? 0 : 10, [act, triesLeft] {
    QWidget* w = QApplication::activeModalWidget();
    if (w && w->isVisible() && dynamic_cast<T*>(w)) {
      act(w);
    } else if (triesLeft > 0) {
      WhenModal<T>(act, triesLeft - 1);
    }
  });
}

// Keeps a picture of the widget beside the test program.
inline void KeepScreenshot(QWidget& w, const QString& name) {
#ifdef SCREENSHOT_DIR
  const QString folder = QStringLiteral(SCREENSHOT_DIR);
#else
  const QString folder = QDir::currentPath() + QStringLiteral("/screenshots");
#endif
  QDir().mkpath(folder);
  w.grab().save(folder + "/" + name + ".png");
}

// A drawing whose layer groups and layers are all shown, printed at 1:1.
inline jwwtest::JwwBuilder ShownDrawing() {
  jwwtest::JwwBuilder b;
  for (int g = 0; g < 16; ++g) {
    b.LayerGroup(g).State = 2;
    for (int l = 0; l < 16; ++l) b.Layer(g, l).State = 2;
  }
  b.Header().PrintScale = 1;
  return b;
}

// A sheet with a few lines on shown layers (Shift-JIS path).
inline std::string WriteSheet(const std::string& folder, const std::string& name, int lines = 3) {
  jwwtest::JwwBuilder b = ShownDrawing();
  for (int i = 0; i < lines; ++i) b.AddLine(jwwtest::MakeLine(-80, -50 + 20 * i, 80, 50 - 20 * i));
  const std::string path = folder + name;
  b.WriteFile(path, 700);
  return path;
}

}  // namespace printgui
