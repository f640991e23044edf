#include "ui/window_builder.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QCheckBox>
#include <QSlider>
#include <QStackedWidget>

namespace tavrik {

namespace {

constexpr unsigned kDefaultColour = 0xFFFFFFFF;

QString Text(const std::string& utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// Reports a right-button release over a control, and focus gained.
class EventWatcher : public QObject {
public:
  EventWatcher(QObject* parent, std::string source, ControlEvent event, EventSink sink)
      : QObject(parent), m_source(std::move(source)), m_event(event), m_sink(std::move(sink)) {}

protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (m_event == ControlEvent::RightButtonReleased && event->type() == QEvent::MouseButtonRelease) {
      auto* mouse = static_cast<QMouseEvent*>(event);
      auto* widget = static_cast<QWidget*>(watched);
      if (mouse->button() == Qt::RightButton && widget->rect().contains(mouse->position().toPoint())) {
        m_sink(m_source, m_event, 0);
      }
    } else if (m_event == ControlEvent::FocusGained && event->type() == QEvent::FocusIn) {
      m_sink(m_source, m_event, 0);
    }
    return false;
  }

private:
  std::string m_source;
  ControlEvent m_event;
  EventSink m_sink;
};

QWidget* Create(const ControlDescription& control, QWidget* parent) {
  switch (control.kind) {
    case ControlKind::PushButton: {
      auto* button = new QPushButton(Text(control.caption), parent);
      button->setFocusPolicy(Qt::StrongFocus);
      return button;
    }
    case ControlKind::PageContainer:
      return new QStackedWidget(parent);
    case ControlKind::TrackBar: {
      auto* slider = new QSlider(Qt::Horizontal, parent);
      slider->setRange(control.minimum, control.maximum);
      slider->setValue(control.minimum);
      slider->setPageStep(control.pageStep);
      slider->setSingleStep(control.lineStep);
      slider->setTickPosition(QSlider::TicksBelow);
      slider->setTickInterval(1);
      return slider;
    }
    case ControlKind::TransparentLabel:
    case ControlKind::Label: {
      auto* label = new QLabel(Text(control.caption), parent);
      label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
      label->setAttribute(Qt::WA_TranslucentBackground, control.kind == ControlKind::TransparentLabel);
      return label;
    }
    case ControlKind::ComboBox: {
      auto* combo = new QComboBox(parent);
      combo->setEditable(!control.listOnly);
      combo->setInsertPolicy(QComboBox::NoInsert);  // only a listed item counts
      return combo;
    }
    case ControlKind::EditBox:
      return new QLineEdit(Text(control.caption), parent);
    case ControlKind::WebBrowser: {
      auto* link = new QLabel(parent);
      link->setAlignment(Qt::AlignCenter);
      return link;
    }
    case ControlKind::RadioButton:
      return new QRadioButton(Text(control.caption), parent);
    case ControlKind::CheckBox:
      return new QCheckBox(Text(control.caption), parent);
    case ControlKind::PictureBox:
    case ControlKind::DrawingPanel:
    case ControlKind::Page:
      return new QWidget(parent);
  }
  return new QWidget(parent);
}

void Connect(QWidget* widget, const EventBinding& binding, const EventSink& sink) {
  const std::string source = binding.source;
  switch (binding.event) {
    case ControlEvent::Clicked:
      if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        QObject::connect(button, &QAbstractButton::clicked, widget,
                         [sink, source] { sink(source, ControlEvent::Clicked, 0); });
      }
      break;
    case ControlEvent::PositionChanged:
      if (auto* slider = qobject_cast<QSlider*>(widget)) {
        QObject::connect(slider, &QSlider::valueChanged, widget,
                         [sink, source](int value) { sink(source, ControlEvent::PositionChanged, value); });
      }
      break;
    case ControlEvent::ItemSelected:
      if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        // Only a choice made by the user, delivered once the selection is in place.
        QObject::connect(
            combo, &QComboBox::activated, widget,
            [sink, source](int index) { sink(source, ControlEvent::ItemSelected, index); }, Qt::QueuedConnection);
      }
      break;
    case ControlEvent::RightButtonReleased:
    case ControlEvent::FocusGained:
      widget->installEventFilter(new EventWatcher(widget, source, binding.event, sink));
      break;
  }
}

}  // namespace

QWidget* BuiltWindow::Control(const std::string& name) const {
  const auto found = controls.find(name);
  return found == controls.end() ? nullptr : found->second;
}

QString ColourName(unsigned colorref) {
  return QStringLiteral("#%1%2%3")
      .arg(colorref & 0xFF, 2, 16, QLatin1Char('0'))
      .arg((colorref >> 8) & 0xFF, 2, 16, QLatin1Char('0'))
      .arg((colorref >> 16) & 0xFF, 2, 16, QLatin1Char('0'));
}

BuiltWindow BuildWindow(const WindowDescription& description, QWidget* window, EventSink sink) {
  BuiltWindow built;
  built.window = window;
  window->setObjectName(Text(description.name));
  window->setWindowTitle(Text(description.title));
  window->setFixedSize(description.width, description.height);
  Qt::WindowFlags flags = (description.showInTaskbar ? Qt::Window : Qt::Tool) | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint;
  if (description.minimiseBox) {
    flags |= Qt::WindowMinimizeButtonHint;
  }
  if (description.maximiseBox) {
    flags |= Qt::WindowMaximizeButtonHint;
  }
  window->setWindowFlags(flags);
  if (description.backgroundColour != kDefaultColour) {
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, QColor(ColourName(description.backgroundColour)));
    window->setPalette(palette);
    window->setAutoFillBackground(true);
  }

  for (const ControlDescription& control : description.controls) {
    QWidget* parent = control.parent.empty() ? window : built.Control(control.parent);
    QWidget* widget = Create(control, parent);
    widget->setObjectName(Text(control.name));
    if (!control.tag.empty()) {
      widget->setProperty("tag", Text(control.tag));
    }
    if (control.kind == ControlKind::Page) {
      qobject_cast<QStackedWidget*>(parent)->addWidget(widget);
    } else {
      widget->setGeometry(control.left, control.top, control.width, control.height);
    }
    if (control.fontPixels > 0 || !control.fontFace.empty()) {
      QFont font = widget->font();
      if (control.fontPixels > 0) {
        font.setPixelSize(control.fontPixels);
      }
      if (!control.fontFace.empty()) {
        font.setFamilies({Text(control.fontFace), font.family()});
      }
      widget->setFont(font);
    }
    if (control.textColour != kDefaultColour) {
      QPalette palette = widget->palette();
      palette.setColor(QPalette::WindowText, QColor(ColourName(control.textColour)));
      palette.setColor(QPalette::Text, QColor(ColourName(control.textColour)));
      palette.setColor(QPalette::ButtonText, QColor(ColourName(control.textColour)));
      widget->setPalette(palette);
    }
    if (control.kind != ControlKind::Page) {  // the container shows one page at a time
      widget->setVisible(control.visible);
    }
    built.controls[control.name] = widget;
  }
  for (const EventBinding& binding : description.events) {
    if (QWidget* widget = built.Control(binding.source)) {
      Connect(widget, binding, sink);
    }
  }
  return built;
}

}  // namespace tavrik
