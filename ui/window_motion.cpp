#include "ui/window_motion.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace tavrik {

void SetShowState(QWidget* window, int state) {
  if (!window->isVisible()) {
    return;
  }
  switch (state) {
    case 0:
      window->showNormal();
      break;
    case 1: {
      if (window->isMinimized() || window->isMaximized()) {
        window->showNormal();
      }
      const QScreen* screen = window->screen() != nullptr ? window->screen() : QGuiApplication::primaryScreen();
      const QRect area = screen->geometry();
      const QPoint centre(area.left() + (area.width() - window->width()) / 2,
                          area.top() + (area.height() - window->height()) / 2);
      if (window->pos() != centre) {
        window->move(centre);
      }
      break;
    }
    case 2:
      window->showMinimized();
      break;
    case 3:
      window->showMaximized();
      break;
    default:
      break;
  }
}

int ShowState(const QWidget* window) {
  if (window->isMinimized()) {
    return 2;
  }
  return window->isMaximized() ? 3 : 0;
}

void SlideAwayHide(QWidget* window, bool trayAvailable) {
  for (int i = 1; i <= 255; ++i) {
    const int s = ShowState(window);
    window->move(s + i + 400, s + i + 220);
  }
  SetShowState(window, 0);
  if (trayAvailable) {
    window->hide();
  } else {
    window->showMinimized();
  }
}

}  // namespace tavrik
