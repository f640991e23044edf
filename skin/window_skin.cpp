#include "skin/window_skin.h"

#include "skin/skin_drawing.h"
#include "skin/skin_style.h"

#include <QChildEvent>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QMetaObject>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWhatsThis>
#include <algorithm>
#include <cmath>
#include <utility>

namespace tavrik::skin {

namespace {

SkinManager& Skin() { return SkinManager::Instance(); }

QString Hint(const char* text) { return QCoreApplication::translate("tavrik::skin::WindowSkin", text); }

}  // namespace

// ---------------------------------------------------------------------------
// CaptionButton

CaptionButton::CaptionButton(CaptionButtonKind kind, const QImage& icon, QWidget* parent)
    : QAbstractButton(parent), m_kind(kind), m_icon(icon) {
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_Hover, true);
  resize(kCaptionButtonWidth, kCaptionButtonHeight);
}

QSize CaptionButton::sizeHint() const { return {kCaptionButtonWidth, kCaptionButtonHeight}; }

void CaptionButton::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing, true);
  const QRectF box = QRectF(rect());
  const bool hovered = underMouse();
  if (isDown() || hovered) {
    QColor face = m_kind == CaptionButtonKind::Close ? QColor(224, 67, 67) : QColor(255, 255, 255, 70);
    if (isDown()) {
      face = m_kind == CaptionButtonKind::Close ? QColor(176, 40, 40) : QColor(255, 255, 255, 120);
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(face);
    painter.drawRoundedRect(box.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
  }

  if (m_kind == CaptionButtonKind::Added) {
    if (!m_icon.isNull()) {
      const QSize size = m_icon.size().scaled(rect().size(), Qt::KeepAspectRatio);
      const QRect target(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
      painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
      painter.drawImage(target, m_icon);
    }
    return;
  }

  QPen pen(Qt::white, 1.5);
  pen.setCapStyle(Qt::RoundCap);
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  const QPointF centre = box.center();
  switch (m_kind) {
    case CaptionButtonKind::Close:
      painter.drawLine(centre + QPointF(-4, -4), centre + QPointF(4, 4));
      painter.drawLine(centre + QPointF(-4, 4), centre + QPointF(4, -4));
      break;
    case CaptionButtonKind::Maximise:
      if (window()->isMaximized()) {
        painter.drawRect(QRectF(centre + QPointF(-5, -2), QSizeF(7, 6)));
        painter.drawPolyline(QPolygonF({centre + QPointF(-3, -2), centre + QPointF(-3, -4), centre + QPointF(4, -4),
                                        centre + QPointF(4, 2), centre + QPointF(2, 2)}));
      } else {
        painter.drawRect(QRectF(centre + QPointF(-5, -4), QSizeF(10, 8)));
      }
      break;
    case CaptionButtonKind::Minimise:
      painter.drawLine(centre + QPointF(-5, 4), centre + QPointF(5, 4));
      break;
    case CaptionButtonKind::Menu:
      for (const double y : {-4.0, 0.0, 4.0}) {
        painter.drawLine(centre + QPointF(-5, y), centre + QPointF(5, y));
      }
      break;
    case CaptionButtonKind::Help: {
      QFont font = this->font();
      font.setBold(true);
      font.setPixelSize(13);
      painter.setFont(font);
      painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("?"));
      break;
    }
    case CaptionButtonKind::Added:
      break;
  }
}

// ---------------------------------------------------------------------------
// CaptionBar

CaptionBar::CaptionBar(WindowSkin& skin, QWidget* window) : QWidget(window), m_skin(skin) {
  setObjectName(QStringLiteral("skin-caption"));
  setAttribute(Qt::WA_OpaquePaintEvent, true);
}

void CaptionBar::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.fillRect(rect(), Skin().accentColour());
  // The window's own weight: a bold title would load a second face of the
  // CJK font, some 2 MB of memory for one line of text.
  const QFont font = window()->font();
  painter.setFont(font);
  painter.setPen(Qt::white);
  const int right = std::max(kTitleLeft, m_skin.titleEnd() - 4);
  const QRect titleRect(kTitleLeft, 0, right - kTitleLeft, height());
  const QString title = QFontMetrics(font).elidedText(window()->windowTitle(), Qt::ElideRight, titleRect.width());
  painter.drawText(titleRect, Qt::AlignLeft | Qt::AlignVCenter, title);
}

void CaptionBar::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QWidget::mousePressEvent(event);
    return;
  }
  QWidget* window = m_skin.window();
  // A maximised or full-screen window stays where it is.
  if (window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) {
    event->accept();
    return;
  }
  m_dragging = true;
  m_pressGlobal = event->globalPosition().toPoint();
  m_windowAtPress = window->pos();
  event->accept();
}

void CaptionBar::mouseMoveEvent(QMouseEvent* event) {
  if (!m_dragging || !(event->buttons() & Qt::LeftButton)) {
    QWidget::mouseMoveEvent(event);
    return;
  }
  // Global positions only: the bar moves with the window, so its own
  // coordinates would not tell how far the mouse went.
  m_skin.window()->move(m_windowAtPress + (event->globalPosition().toPoint() - m_pressGlobal));
  event->accept();
}

void CaptionBar::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && m_dragging) {
    m_dragging = false;
    event->accept();
    return;
  }
  QWidget::mouseReleaseEvent(event);
}

void CaptionBar::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && m_skin.canMaximise()) {
    m_dragging = false;
    m_skin.ToggleMaximised();
    event->accept();
    return;
  }
  QWidget::mouseDoubleClickEvent(event);
}

// ---------------------------------------------------------------------------
// WindowSkin

WindowSkin::WindowSkin(QWidget* window) : QObject(window), m_window(window) {
  setObjectName(QStringLiteral("skin-window-state"));
}

int WindowSkin::captionHeight() const { return std::max(kMinimumCaptionHeight, m_options.captionHeight); }

int WindowSkin::titleEnd() const {
  int end = m_window->width();
  for (const auto& button : m_buttons) {
    if (button) {
      end = std::min(end, button->x());
    }
  }
  return end;
}

bool WindowSkin::canMaximise() const { return m_window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint); }

void WindowSkin::ToggleMaximised() {
  if (m_window->isMaximized()) {
    m_window->showNormal();
  } else {
    m_window->showMaximized();
  }
}

void WindowSkin::Register(const SkinWindowOptions& options) {
  m_options = options;
  if (!m_registered) {
    m_registered = true;
    m_ownStyleSheet = m_window->styleSheet();
    if (m_window->isWindow() && !m_window->windowFlags().testFlag(Qt::FramelessWindowHint)) {
      // Changing the flags hides a shown window; it is shown again at once.
      const bool shown = m_window->isVisible();
      m_window->setWindowFlags(m_window->windowFlags() | Qt::FramelessWindowHint);
      if (shown) {
        m_window->show();
      }
    }
    m_caption = new CaptionBar(*this, m_window);
    m_caption->show();
    m_window->installEventFilter(this);
  }
  RebuildButtons();
  Refresh();
  RaiseCaption();
}

void WindowSkin::AddButton(const QImage& icon, const QString& hint, std::function<void()> onClick) {
  m_added.push_back({icon, hint, std::move(onClick)});
  if (m_registered) {
    RebuildButtons();
  }
}

void WindowSkin::SetMenuHandler(std::function<void()> onClick) { m_menuHandler = std::move(onClick); }

void WindowSkin::Refresh() {
  if (!m_registered) {
    return;
  }
  m_background = QPixmap();
  if (!m_window->isVisible()) {
    // The style sheet is the costliest part of a skin and a hidden window
    // may be restyled several times before anyone sees it: it is restyled
    // once, when it is next polished or shown.
    m_restylePending = true;
    return;
  }
  m_restylePending = false;
  Restyle();
  m_window->update();
  for (QWidget* child : m_window->findChildren<QWidget*>()) {
    child->update();
  }
}

void WindowSkin::Restyle() {
  const QString controls = ControlStyleSheet(Skin().accentColour(), Skin().veil());
  const QString sheet = m_ownStyleSheet.isEmpty() ? controls : m_ownStyleSheet + QLatin1Char('\n') + controls;
  if (m_window->styleSheet() != sheet) {
    m_window->setStyleSheet(sheet);
  }
  // A new style sheet puts back the palettes the controls had when first
  // styled; the text colours set since then are laid on again.
  ReapplyTextColours(m_window);
}

CaptionButton* WindowSkin::MakeButton(CaptionButtonKind kind, const QString& name, const QString& toolTip,
                                      const QImage& icon, std::function<void()> onClick) {
  auto* button = new CaptionButton(kind, icon, m_caption);
  button->setObjectName(name);
  button->setToolTip(toolTip);
  QObject::connect(button, &QAbstractButton::clicked, button, [onClick = std::move(onClick)] {
    if (onClick) {
      onClick();
    }
  });
  button->show();
  m_buttons.emplace_back(button);
  return button;
}

void WindowSkin::RebuildButtons() {
  // The old buttons may be the ones being clicked right now: they go later.
  for (const auto& button : m_buttons) {
    if (button) {
      button->hide();
      button->setObjectName(QString());
      button->deleteLater();
    }
  }
  m_buttons.clear();

  QWidget* window = m_window;
  const Qt::WindowFlags flags = window->windowFlags();
  MakeButton(CaptionButtonKind::Close, QStringLiteral("caption-close"), Hint("Close"), {}, [window] { window->close(); });
  if (flags.testFlag(Qt::WindowMaximizeButtonHint)) {
    MakeButton(CaptionButtonKind::Maximise, QStringLiteral("caption-maximise"), Hint("Maximise"), {},
               [this] { ToggleMaximised(); });
  }
  if (flags.testFlag(Qt::WindowMinimizeButtonHint)) {
    MakeButton(CaptionButtonKind::Minimise, QStringLiteral("caption-minimise"), Hint("Minimise"), {},
               [window] { window->showMinimized(); });
  }
  if (m_options.menuButton) {
    MakeButton(CaptionButtonKind::Menu, QStringLiteral("caption-menu"), Hint("Menu"), {}, [this] {
      if (m_menuHandler) {
        // A copy: the handler may set another one.
        const std::function<void()> handler = m_menuHandler;
        handler();
      }
    });
  }
  if (m_options.helpButton) {
    MakeButton(CaptionButtonKind::Help, QStringLiteral("caption-help"), Hint("Help"), {},
               [] { QWhatsThis::enterWhatsThisMode(); });
  }
  int number = 0;
  for (const AddedButton& added : m_added) {
    ++number;
    MakeButton(CaptionButtonKind::Added, QStringLiteral("caption-button-%1").arg(number), added.hint, added.icon,
               added.onClick);
  }
  LayoutCaption();
}

void WindowSkin::LayoutCaption() {
  if (!m_caption) {
    return;
  }
  const int height = captionHeight();
  m_caption->setGeometry(0, 0, m_window->width(), height);
  int right = m_window->width() - kCaptionRightMargin;
  const int top = (height - kCaptionButtonHeight) / 2;
  for (const auto& button : m_buttons) {
    if (!button) {
      continue;
    }
    right -= kCaptionButtonWidth;
    button->setGeometry(right, top, kCaptionButtonWidth, kCaptionButtonHeight);
    right -= kCaptionButtonGap;
  }
  m_caption->update();
}

void WindowSkin::RaiseCaption() {
  if (m_caption) {
    m_caption->raise();
  }
}

const QPixmap& WindowSkin::Background() {
  const qreal ratio = m_window->devicePixelRatioF();
  const QSize size = m_window->size();
  if (!m_background.isNull() && m_background.deviceIndependentSize().toSize() == size &&
      qFuzzyCompare(m_background.devicePixelRatio(), ratio)) {
    return m_background;
  }
  const QSize pixels(static_cast<int>(std::ceil(size.width() * ratio)),
                     static_cast<int>(std::ceil(size.height() * ratio)));
  m_background = QPixmap(pixels.expandedTo(QSize(1, 1)));
  m_background.setDevicePixelRatio(ratio);
  QPainter painter(&m_background);
  const QRect area(QPoint(0, 0), size);
  painter.fillRect(area, Skin().baseColour());
  DrawPicture(painter, area, Skin().picture(), WindowPlacement(Skin().layout()));
  if (m_options.bottomBand > 0) {
    painter.fillRect(QRect(0, size.height() - m_options.bottomBand, size.width(), m_options.bottomBand),
                     Skin().accentColour());
  }
  return m_background;
}

void WindowSkin::PaintBackground(QPaintEvent* event) {
  const QPixmap& background = Background();
  QPainter painter(m_window);
  painter.setClipRegion(event->region());
  painter.drawPixmap(0, 0, background);
}

bool WindowSkin::eventFilter(QObject* watched, QEvent* event) {
  if (watched != m_window) {
    return false;
  }
  switch (event->type()) {
    case QEvent::Polish:
    case QEvent::Show:
      // Before the window's own polish and before it is mapped.
      if (m_restylePending) {
        m_restylePending = false;
        // The controls are polished in the plain style first, which costs
        // next to nothing: the style sheet then styles each of them once,
        // where it would otherwise work out every control's rules twice.
        for (QWidget* child : m_window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
          if (!child->isWindow()) {
            child->ensurePolished();
          }
        }
        Restyle();
      }
      break;
    case QEvent::Paint:
      // Under the window's own drawing and under its controls.
      PaintBackground(static_cast<QPaintEvent*>(event));
      break;
    case QEvent::Resize:
      m_background = QPixmap();
      LayoutCaption();
      break;
    case QEvent::ChildAdded: {
      QObject* child = static_cast<QChildEvent*>(event)->child();
      if (child->isWidgetType() && child != m_caption.data()) {
        // Raised now, and once more when the new control is fully made.
        RaiseCaption();
        if (!m_raisePending) {
          m_raisePending = true;
          QMetaObject::invokeMethod(
              this,
              [this] {
                m_raisePending = false;
                RaiseCaption();
              },
              Qt::QueuedConnection);
        }
      }
      break;
    }
    case QEvent::WindowTitleChange:
    case QEvent::WindowStateChange:
    case QEvent::FontChange:
      if (m_caption) {
        m_caption->update();
        for (const auto& button : m_buttons) {
          if (button) {
            button->update();
          }
        }
      }
      break;
    default:
      break;
  }
  return false;
}

}  // namespace tavrik::skin
