#include "skin/skin_style.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QVariant>
#include <QWidget>
#include <algorithm>

namespace tavrik::skin {

namespace {

constexpr char kTextColourProperty[] = "tavrikTextColour";
constexpr char kTintProperty[] = "tavrikContainerTint";

QString Rgba(const QColor& colour, int alpha) {
  return QStringLiteral("rgba(%1, %2, %3, %4)")
      .arg(colour.red())
      .arg(colour.green())
      .arg(colour.blue())
      .arg(std::clamp(alpha, 0, 255));
}

void SetTextRoles(QWidget* widget, const QColor& colour) {
  QPalette palette = widget->palette();
  for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text}) {
    palette.setColor(role, colour);
  }
  widget->setPalette(palette);
}

}  // namespace

QString ControlStyleSheet(const QColor& accent, int veil) {
  const QString face = Rgba(Qt::white, veil);
  const QString hovered = Rgba(Qt::white, veil + 48);
  const QString pressed = Rgba(accent, 160);
  const QString border = accent.name(QColor::HexRgb);
  // Only the surfaces are given: text keeps the colours of the controls' palettes.
  return QStringLiteral(
             "QPushButton, QLineEdit, QComboBox, QAbstractSpinBox, QTextEdit, QPlainTextEdit,"
             " QAbstractItemView, QSlider { background-color: %1; border: 1px solid %2; }\n"
             "QPushButton { padding: 2px 6px; }\n"
             "QPushButton:hover { background-color: %3; }\n"
             "QPushButton:pressed, QPushButton:checked { background-color: %4; }\n"
             "QComboBox QLineEdit, QAbstractSpinBox QLineEdit { background-color: transparent; border: none; }\n"
             "QComboBox QAbstractItemView { background-color: white; border: 1px solid %2; }\n"
             "QTabWidget::pane { background-color: %1; border: 1px solid %2; }\n"
             "QTabBar::tab { background-color: %1; border: 1px solid %2; padding: 3px 10px; }\n"
             "QTabBar::tab:selected { background-color: %4; }\n")
      .arg(face, border, hovered, pressed);
}

void ApplyTextColour(QWidget* control, const QColor& colour) {
  control->setProperty(kTextColourProperty, colour);
  SetTextRoles(control, colour);
  if (auto* combo = qobject_cast<QComboBox*>(control)) {
    if (QLineEdit* edit = combo->lineEdit()) {
      SetTextRoles(edit, colour);
    }
  }
}

void ReapplyTextColours(QWidget* root) {
  QList<QWidget*> widgets = root->findChildren<QWidget*>();
  widgets.prepend(root);
  for (QWidget* widget : widgets) {
    const QVariant colour = widget->property(kTextColourProperty);
    if (colour.isValid()) {
      ApplyTextColour(widget, colour.value<QColor>());
    }
  }
}

QColor ContainerPainter::TintOf(const QWidget* container) {
  const QVariant tint = container->property(kTintProperty);
  return tint.isValid() ? tint.value<QColor>() : QColor();
}

void ContainerPainter::SetTint(QWidget* container, const QColor& tint) {
  container->setProperty(kTintProperty, tint);
}

bool ContainerPainter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Paint && watched->isWidgetType()) {
    auto* container = static_cast<QWidget*>(watched);
    const QColor tint = TintOf(container);
    if (tint.isValid()) {
      QPainter painter(container);
      painter.setClipRegion(static_cast<QPaintEvent*>(event)->region());
      painter.fillRect(container->rect(), tint);
    }
  }
  return false;
}

}  // namespace tavrik::skin
