#include "ui/menu_renderer.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QProxyStyle>
#include <QScreen>
#include <QStyleOptionMenuItem>

namespace tavrik {

namespace {

// The renderer's colours.
const QColor kBackground(240, 240, 240);
const QColor kHighlightFill(255, 209, 164);
const QColor kHighlightEdge(192, 96, 0);
const QColor kIconColumn(255, 235, 215);
const QColor kSeparator(237, 123, 99);
const QColor kText(0, 0, 128);

constexpr int kIconColumnWidth = 26;
constexpr int kItemHeight = 24;
constexpr int kFontPixels = 12;

class MenuStyle final : public QProxyStyle {
public:
  MenuStyle() : QProxyStyle(QApplication::style()->name()) {}

  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override {
    if (element != CE_MenuItem) {
      QProxyStyle::drawControl(element, option, painter, widget);
      return;
    }
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (item == nullptr) {
      return;
    }
    const QRect area = item->rect;
    painter->save();
    painter->fillRect(area, kBackground);
    painter->fillRect(QRect(area.left(), area.top(), kIconColumnWidth, area.height()), kIconColumn);
    if (item->menuItemType == QStyleOptionMenuItem::Separator) {
      painter->setPen(kSeparator);
      const int y = area.center().y();
      painter->drawLine(area.left() + kIconColumnWidth + 2, y, area.right() - 2, y);
      painter->restore();
      return;
    }
    const bool highlighted = (item->state & State_Selected) && (item->state & State_Enabled);
    if (highlighted) {
      painter->setPen(kHighlightEdge);
      painter->setBrush(kHighlightFill);
      painter->drawRect(area.adjusted(1, 1, -2, -2));
    }
    if (!item->icon.isNull()) {
      const QPixmap pixmap = item->icon.pixmap(QSize(16, 15));
      painter->drawPixmap(area.left() + (kIconColumnWidth - pixmap.width()) / 2,
                          area.top() + (area.height() - pixmap.height()) / 2, pixmap);
    }
    painter->setFont(item->font);
    painter->setPen(highlighted ? kHighlightEdge.darker(150) : kText);
    painter->drawText(area.adjusted(kIconColumnWidth + 8, 0, -8, 0), Qt::AlignVCenter | Qt::AlignLeft,
                      item->text);
    painter->restore();
  }

  QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                         const QWidget* widget) const override {
    if (type == CT_MenuItem) {
      const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
      if (item != nullptr && item->menuItemType == QStyleOptionMenuItem::Separator) {
        return {size.width(), 7};
      }
      const int text = item != nullptr ? QFontMetrics(item->font).horizontalAdvance(item->text) : size.width();
      return {kIconColumnWidth + 8 + text + 24, kItemHeight};
    }
    return QProxyStyle::sizeFromContents(type, option, size, widget);
  }

  int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
    if (metric == PM_MenuPanelWidth || metric == PM_MenuHMargin || metric == PM_MenuVMargin) {
      return 1;
    }
    return QProxyStyle::pixelMetric(metric, option, widget);
  }
};

QStyle* SharedMenuStyle() {
  static MenuStyle* style = new MenuStyle;  // lives as long as the application
  return style;
}

const QImage& IconStrip() {
  static const QImage strip(QStringLiteral(":/artwork/menu_icons.png"));
  return strip;
}

QString Caption(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString Run(QMenu* menu, QPoint at) {
  const QAction* chosen = menu->exec(at);
  return chosen != nullptr ? chosen->text() : QString();
}

}  // namespace

QMenu* MenuRenderer::Build(const MenuDescription& description, QWidget* owner) {
  auto* menu = new QMenu(Caption(description.caption), owner);
  menu->setObjectName(Caption(description.caption));
  menu->setStyle(SharedMenuStyle());
  QFont font(QStringList{QStringLiteral("微软雅黑"), QStringLiteral("Microsoft YaHei"),
                         QStringLiteral("Noto Sans CJK SC")});
  font.setPixelSize(kFontPixels);
  font.setWeight(QFont::Normal);
  menu->setFont(font);
  QPalette palette = menu->palette();
  palette.setColor(QPalette::Window, kBackground);
  menu->setPalette(palette);
  for (const MenuItemDescription& item : description.items) {
    QAction* action = menu->addAction(Caption(item.caption));
    action->setObjectName(Caption(item.caption));
    const QImage& strip = IconStrip();
    if (!strip.isNull() && item.icon >= 0 && item.icon < kMenuIconCount) {
      action->setIcon(QIcon(QPixmap::fromImage(
          strip.copy(item.icon * kMenuIconWidth, 0, kMenuIconWidth, kMenuIconHeight))));
    }
  }
  return menu;
}

QString MenuRenderer::ExecAtPointer(QMenu* menu, QPoint pointer) {
  return Run(menu, pointer + QPoint(3, 3));
}

QString MenuRenderer::ExecBesidePointer(QMenu* menu, QPoint pointer) {
  const QSize size = menu->sizeHint();
  return Run(menu, QPoint(pointer.x() - 5 - size.width(), pointer.y() - 5));
}

}  // namespace tavrik
