#include "window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {

// Wayland tells a program neither where its window is nor where screens are.
bool PositionsKnown() { return !QGuiApplication::platformName().startsWith(QLatin1String("wayland")); }

std::vector<TScreenArea> Screens() {
  std::vector<TScreenArea> screens;
  for (const QScreen* screen : QGuiApplication::screens()) {
    const QRect r = screen->availableGeometry();
    screens.push_back(TScreenArea{r.x(), r.y(), r.width(), r.height()});
  }
  return screens;
}

}  // namespace

void PlaceWindow(QWidget& window, const TWindowBounds& stored, const TWindowBounds& design) {
  const std::vector<TScreenArea> screens = Screens();
  const TWindowBounds placed =
      PositionsKnown() ? PlaceOnScreens(stored, screens, design) : FitSizeToScreens(stored, screens);
  if (placed.Width > 0 && placed.Height > 0) window.resize(placed.Width, placed.Height);
  window.move(placed.Left, placed.Top);
}

TWindowBounds StoredBounds(const QWidget& window, const TWindowBounds& stored) {
  TWindowBounds b = stored;
  if (PositionsKnown()) {
    b.Left = window.x();
    b.Top = window.y();
  }
  b.Width = window.width();
  b.Height = window.height();
  return b;
}
