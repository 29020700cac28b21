#include "escape_key_poller.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QtGui/qguiapplication_platform.h>

TEventFilterEscapePoller::TEventFilterEscapePoller() {
  if (QCoreApplication* app = QCoreApplication::instance()) app->installEventFilter(this);
}

TEventFilterEscapePoller::~TEventFilterEscapePoller() {
  if (QCoreApplication* app = QCoreApplication::instance()) app->removeEventFilter(this);
}

bool TEventFilterEscapePoller::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Escape && !key->isAutoRepeat()) down_ = type == QEvent::KeyPress;
  } else if (type == QEvent::ApplicationDeactivate) {
    down_ = false;  // the release goes to another program
  }
  return QObject::eventFilter(watched, event);
}

std::unique_ptr<TKeyStatePoller> CreateEscapePoller() {
  if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    if (auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>()) {
      if (x11->display() != nullptr) return std::make_unique<TX11EscapePoller>(x11->display());
    }
  }
  return std::make_unique<TEventFilterEscapePoller>();
}
