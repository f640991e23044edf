#pragma once

#include "ui/menus.h"

#include <QPoint>
#include <QString>

class QMenu;
class QWidget;

namespace tavrik {

// Draws the board's popup menus itself: an icon column, the caption in
// "微软雅黑" 12 px on RGB(240, 240, 240), and a highlight of its own for the
// item under the pointer.
class MenuRenderer {
public:
  // A popup made for the occasion from `description`; the caller owns it.
  // Each action's objectName and text are the item's caption.
  static QMenu* Build(const MenuDescription& description, QWidget* owner);

  // Shows `menu` until it closes and returns the chosen caption, or empty.
  // Top-left 3 px right of and below the pointer.
  static QString ExecAtPointer(QMenu* menu, QPoint pointer);
  // Right edge 5 px left of the pointer, top 5 px above it (the tray's).
  static QString ExecBesidePointer(QMenu* menu, QPoint pointer);
};

}  // namespace tavrik
