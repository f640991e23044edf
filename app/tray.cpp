#include "app/tray.h"

#include "ui/menu_renderer.h"
#include "ui/window_motion.h"

#include <QCursor>
#include <QIcon>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QWidget>

namespace tavrik {

namespace {

// The tooltip is cut to 62 bytes when placed, never inside a character.
QString CutTooltip(const QString& text) {
  QString cut;
  for (const QChar c : text) {
    if ((cut + c).toUtf8().size() > 62) {
      break;
    }
    cut += c;
  }
  return cut;
}

}  // namespace

void ShowMainWindow(QWidget* window) {
  if (window->isVisible()) {
    return;
  }
  window->show();
  SetShowState(window, 1);
}

Tray::Tray(QWidget* mainWindow, std::function<void(const QString&)> onItem)
    : QObject(mainWindow), m_mainWindow(mainWindow), m_onItem(std::move(onItem)),
      m_icon(std::make_unique<QSystemTrayIcon>(QIcon(QStringLiteral(":/artwork/app.ico")))) {
  m_icon->setToolTip(CutTooltip(QString::fromUtf8(kTrayTooltip)));
  connect(m_icon.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
      case QSystemTrayIcon::Trigger:
        OnTrayNotification(1);
        break;
      case QSystemTrayIcon::DoubleClick:
        OnTrayNotification(2);
        break;
      case QSystemTrayIcon::Context:
        OnTrayNotification(3);
        break;
      default:
        break;
    }
  });
}

Tray::~Tray() = default;

void Tray::Place() {
  m_icon->show();
}

bool Tray::Available() const {
  return QSystemTrayIcon::isSystemTrayAvailable();
}

void Tray::OnTrayNotification(int kind) {
  if (kind == 3) {
    m_mainWindow->activateWindow();
    m_mainWindow->raise();
    std::unique_ptr<QMenu> menu(MenuRenderer::Build(TrayMenu(), m_mainWindow));
    const QString chosen = MenuRenderer::ExecBesidePointer(menu.get(), QCursor::pos());
    menu.reset();
    if (!chosen.isEmpty()) {
      m_onItem(chosen);
    }
  } else if (kind == 1) {
    if (m_mainWindow->isVisible()) {
      m_mainWindow->hide();
    } else {
      ShowMainWindow(m_mainWindow);
    }
  }
}

}  // namespace tavrik
