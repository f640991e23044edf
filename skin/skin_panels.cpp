// Pictures and item strips drawn over panels.

#include "skin/skin_drawing.h"
#include "skin/skin_manager.h"

#include <QEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWidget>
#include <algorithm>
#include <utility>
#include <vector>

namespace tavrik {

namespace {

// Draws its picture under the panel's own drawing.
class PicturePainter : public QObject {
public:
  PicturePainter(QWidget* panel, QImage picture, int mode)
      : QObject(panel), m_panel(panel), m_picture(std::move(picture)), m_mode(mode) {
    setObjectName(QStringLiteral("skin-picture-painter"));
    panel->installEventFilter(this);
  }

  void Set(QImage picture, int mode) {
    m_picture = std::move(picture);
    m_mode = mode;
  }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == m_panel && event->type() == QEvent::Paint) {
      QPainter painter(m_panel);
      painter.setClipRegion(static_cast<QPaintEvent*>(event)->region());
      skin::DrawPicture(painter, m_panel->rect(), m_picture, skin::PanelPlacement(m_mode));
    }
    return false;
  }

private:
  QWidget* m_panel;
  QImage m_picture;
  int m_mode;
};

// A row of equal items, each an icon over a line of outlined text.
class TabStripWidget : public QWidget {
public:
  TabStripWidget(QWidget* panel, int itemWidth, int itemHeight)
      : QWidget(panel), m_itemWidth(std::max(1, itemWidth)), m_itemHeight(std::max(1, itemHeight)) {
    setObjectName(QStringLiteral("tab-strip"));
    m_font = font();
    m_font.setPixelSize(13);
    setGeometry(panel->rect());
    panel->installEventFilter(this);
  }

  void AddItem(QImage icon, QString text) {
    m_items.push_back({std::move(icon), std::move(text)});
    update();
  }

  void SetFont(const QString& face, int size, const QColor& text, const QColor& outline) {
    m_font = font();
    if (!face.isEmpty()) {
      m_font.setFamilies({face, m_font.family()});
    }
    m_font.setPixelSize(std::max(1, size));
    m_textColour = text;
    m_outlineColour = outline;
    update();
  }

  void SetClickHandler(std::function<void(int)> onClick) { m_onClick = std::move(onClick); }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == parent() && event->type() == QEvent::Resize) {
      setGeometry(parentWidget()->rect());
    }
    return false;
  }

  void paintEvent(QPaintEvent* /*event*/) override {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    const QFontMetrics metrics(m_font);
    const QColor accent = SkinManager::Instance().accentColour();
    for (std::size_t index = 0; index < m_items.size(); ++index) {
      const Item& item = m_items[index];
      const QRect cell(static_cast<int>(index) * m_itemWidth, 0, m_itemWidth, m_itemHeight);
      painter.save();
      painter.setClipRect(cell);
      if (static_cast<int>(index) + 1 == m_selected) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(accent);
        painter.drawRoundedRect(QRectF(cell).adjusted(1, 1, -1, -1), 3, 3);
      }
      const int textHeight = item.text.isEmpty() ? 0 : metrics.height();
      const QRect iconArea(cell.x() + kPadding, cell.y() + kPadding, cell.width() - 2 * kPadding,
                           cell.height() - 2 * kPadding - textHeight);
      if (!item.icon.isNull() && iconArea.width() > 0 && iconArea.height() > 0) {
        const QSize size = item.icon.size().scaled(iconArea.size(), Qt::KeepAspectRatio);
        const QRect placed(iconArea.x() + (iconArea.width() - size.width()) / 2,
                           iconArea.y() + (iconArea.height() - size.height()) / 2, size.width(), size.height());
        painter.drawImage(placed, item.icon);
      }
      if (!item.text.isEmpty()) {
        const QString text = metrics.elidedText(item.text, Qt::ElideRight, cell.width() - 4);
        QPainterPath path;
        path.addText(0, 0, m_font, text);
        const double left = cell.x() + (cell.width() - metrics.horizontalAdvance(text)) / 2.0;
        const double baseline = cell.bottom() + 1 - kPadding - metrics.descent();
        path.translate(left, baseline);
        // The stroke is drawn first, so only its outer half shows round the letters.
        painter.strokePath(path, QPen(m_outlineColour, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.fillPath(path, m_textColour);
      }
      painter.restore();
    }
  }

  void mousePressEvent(QMouseEvent* event) override {
    const QPoint at = event->position().toPoint();
    if (event->button() != Qt::LeftButton || at.x() < 0 || at.y() < 0 || at.y() >= m_itemHeight) {
      QWidget::mousePressEvent(event);
      return;
    }
    const int index = at.x() / m_itemWidth;
    if (index >= static_cast<int>(m_items.size())) {
      QWidget::mousePressEvent(event);
      return;
    }
    m_selected = index + 1;
    update();
    event->accept();
    if (m_onClick) {
      const std::function<void(int)> onClick = m_onClick;  // the handler may replace itself
      onClick(m_selected);
    }
  }

private:
  static constexpr int kPadding = 4;

  struct Item {
    QImage icon;
    QString text;
  };

  int m_itemWidth;
  int m_itemHeight;
  std::vector<Item> m_items;
  QFont m_font;
  QColor m_textColour = ColourOf(0xFFFFFF);
  QColor m_outlineColour = ColourOf(0xFF8800);
  std::function<void(int)> m_onClick;
  int m_selected = 1;
};

}  // namespace

void SkinPicturePanel::Attach(QWidget* panel, const QByteArray& picture, int mode) {
  if (m_panel && m_panel != panel && m_painter) {
    delete m_painter.data();
  }
  m_panel = panel;
  if (panel == nullptr) {
    return;
  }
  QImage image = skin::DecodePicture(picture);
  if (m_painter) {
    static_cast<PicturePainter*>(m_painter.data())->Set(std::move(image), mode);
  } else {
    m_painter = new PicturePainter(panel, std::move(image), mode);
  }
  panel->update();
}

void SkinPicturePanel::Redraw() {
  if (m_panel) {
    m_panel->update();
  }
}

void SkinTabStrip::Create(QWidget* panel, int itemWidth, int itemHeight) {
  delete m_strip.data();
  if (panel == nullptr) {
    return;
  }
  m_strip = new TabStripWidget(panel, itemWidth, itemHeight);
  m_strip->show();
}

void SkinTabStrip::AddItem(const QByteArray& icon, const QString& text) {
  if (m_strip) {
    static_cast<TabStripWidget*>(m_strip.data())->AddItem(skin::DecodePicture(icon), text);
  }
}

void SkinTabStrip::SetFont(const QString& face, int size, Colorref text, Colorref outline) {
  if (m_strip) {
    static_cast<TabStripWidget*>(m_strip.data())->SetFont(face, size, ColourOf(text), ColourOf(outline));
  }
}

void SkinTabStrip::SetClickHandler(std::function<void(int)> onClick) {
  if (m_strip) {
    static_cast<TabStripWidget*>(m_strip.data())->SetClickHandler(std::move(onClick));
  }
}

void SkinTabStrip::Redraw() {
  if (m_strip) {
    m_strip->update();
  }
}

}  // namespace tavrik
