#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QSystemTrayIcon;
class QWidget;

namespace tavrik {

// The board's icon in the notification area and its menu.
class Tray : public QObject {
public:
  // `onItem` receives the caption of the chosen tray-menu item.
  Tray(QWidget* mainWindow, std::function<void(const QString&)> onItem);
  ~Tray() override;

  // Places the icon, or updates it in place when it is shown already.
  void Place();
  bool Available() const;

  // 1 left-button release, 2 left double click, 3 right-button release.
  void OnTrayNotification(int kind);

private:
  QWidget* m_mainWindow;
  std::function<void(const QString&)> m_onItem;
  std::unique_ptr<QSystemTrayIcon> m_icon;
};

// Shows a hidden main window, normal and centred; a visible one stays as it is.
void ShowMainWindow(QWidget* window);

inline constexpr const char* kTrayTooltip = "Quorin主持音效助手";

}  // namespace tavrik
