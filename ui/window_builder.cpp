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
#include <QPointer>
#include <QStackedWidget>

#include <utility>
#include <vector>

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
      // An editable one gets its edit field later: see LateControls.
      auto* combo = new QComboBox(parent);
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

// A control as its description asks: made, named, placed, with its font,
// text colour and visibility.
QWidget* MakeControl(const ControlDescription& control, QWidget* parent) {
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
  return widget;
}

// The first line edit a program makes loads the font database and a font,
// the costliest step of building a window, and one that is not needed until
// the window is about to be shown. So an editable combo box gets its edit
// field when the window is first polished, just before it is shown; an edit
// box on a hidden page (after some other control the tab key reaches) is made
// once the window has been shown, or at once when it is asked for by name
// before then, and goes in its place in the stacking and tab orders.
constexpr char kLateControlsName[] = "tavrik-late-controls";

class LateControls : public QObject {
public:
  LateControls(QWidget* window, EventSink sink) : QObject(window), m_window(window), m_sink(std::move(sink)) {
    setObjectName(QLatin1String(kLateControlsName));
    window->installEventFilter(this);
  }

  static LateControls* Of(const QWidget* window) {
    return dynamic_cast<LateControls*>(
        window->findChild<QObject*>(QLatin1String(kLateControlsName), Qt::FindDirectChildrenOnly));
  }

  void AddEditableCombo(QComboBox* combo) { m_combos.emplace_back(combo); }

  void AddEditBox(const ControlDescription& control, QWidget* parent) {
    m_boxes.push_back({control, parent, {}, {}, {}, false});
    m_tabOrder.push_back({{}, static_cast<int>(m_boxes.size()) - 1});
  }
  // A control made at once that the tab key can reach, in the description's order.
  void AddTabStop(QWidget* widget) { m_tabOrder.push_back({widget, -1}); }
  bool HoldsBox(const std::string& name) const { return FindBox(name) != nullptr; }
  void AddBinding(const EventBinding& binding) { FindBox(binding.source)->bindings.push_back(binding); }
  // A control made after edit boxes of the same parent: they go under it.
  void NoteLaterSibling(const ControlDescription& control, QWidget* widget) {
    for (Box& box : m_boxes) {
      if (box.control.parent == control.parent && box.stackedUnder.isNull()) {
        box.stackedUnder = widget;
      }
    }
  }

  // A late control by name, made now if it is still to be made; null for
  // any other name.
  QWidget* Control(const std::string& name) {
    if (!HoldsBox(name)) {
      return nullptr;
    }
    MakeEditBoxes();
    return FindBox(name)->made;
  }

  void MakeAll() {
    MakeCombosEditable();
    MakeEditBoxes();
  }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == m_window && (event->type() == QEvent::Polish || event->type() == QEvent::Show)) {
      MakeCombosEditable();
      if (event->type() == QEvent::Show && !m_boxesPosted) {
        m_boxesPosted = true;
        QMetaObject::invokeMethod(this, [this] { MakeEditBoxes(); }, Qt::QueuedConnection);
      }
    }
    return false;
  }

private:
  struct Box {
    ControlDescription control;
    QPointer<QWidget> parent;
    QPointer<QWidget> stackedUnder;
    std::vector<EventBinding> bindings;
    QPointer<QWidget> made;
    bool done = false;
  };

  Box* FindBox(const std::string& name) {
    for (Box& box : m_boxes) {
      if (box.control.name == name) {
        return &box;
      }
    }
    return nullptr;
  }
  const Box* FindBox(const std::string& name) const { return const_cast<LateControls*>(this)->FindBox(name); }

  void MakeCombosEditable() {
    for (const QPointer<QComboBox>& combo : std::exchange(m_combos, {})) {
      if (combo) {
        combo->setEditable(true);
      }
    }
  }

  void MakeEditBoxes() {
    bool made = false;
    for (Box& box : m_boxes) {  // in the description's order, as the others were made
      if (box.done) {
        continue;
      }
      box.done = true;
      if (box.parent.isNull()) {
        continue;
      }
      QWidget* widget = MakeControl(box.control, box.parent);
      box.made = widget;
      made = true;
      if (box.stackedUnder) {
        widget->stackUnder(box.stackedUnder);
      }
      for (const EventBinding& binding : box.bindings) {
        Connect(widget, binding, m_sink);
      }
    }
    if (made) {
      RestoreTabOrder();
    }
  }

  // The tab order of the description, which a control made late would
  // otherwise end.
  void RestoreTabOrder() {
    QWidget* previous = nullptr;
    for (const TabStop& stop : m_tabOrder) {
      QWidget* widget = stop.box >= 0 ? m_boxes[static_cast<std::size_t>(stop.box)].made.data() : stop.widget.data();
      if (widget == nullptr) {
        continue;
      }
      if (previous != nullptr) {
        QWidget::setTabOrder(previous, widget);
      }
      previous = widget;
    }
  }

  QWidget* m_window;
  EventSink m_sink;
  std::vector<QPointer<QComboBox>> m_combos;
  std::vector<Box> m_boxes;
  struct TabStop {
    QPointer<QWidget> widget;
    int box;  // or the edit box it stands for
  };
  std::vector<TabStop> m_tabOrder;
  bool m_boxesPosted = false;
};

}  // namespace

QWidget* BuiltWindow::Control(const std::string& name) const {
  const auto found = controls.find(name);
  if (found != controls.end()) {
    return found->second;
  }
  LateControls* late = window != nullptr ? LateControls::Of(window) : nullptr;
  return late != nullptr ? late->Control(name) : nullptr;
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

  LateControls* late = nullptr;
  std::vector<QWidget*> tabStops;  // those the tab key reaches, in order, until there is `late`
  const auto lateControls = [&] {
    if (late == nullptr) {
      late = new LateControls(window, sink);
      for (QWidget* stop : tabStops) {
        late->AddTabStop(stop);
      }
    }
    return late;
  };
  bool anyTabStop = false;
  for (const ControlDescription& control : description.controls) {
    QWidget* parent = control.parent.empty() ? window : built.Control(control.parent);
    const bool onHiddenPage = parent != nullptr && parent != window && !parent->isVisibleTo(window);
    if (control.kind == ControlKind::EditBox && onHiddenPage && anyTabStop) {
      lateControls()->AddEditBox(control, parent);
      continue;
    }
    QWidget* widget = MakeControl(control, parent);
    built.controls[control.name] = widget;
    if (late != nullptr) {
      late->NoteLaterSibling(control, widget);
    }
    if (control.kind == ControlKind::ComboBox && !control.listOnly) {
      lateControls()->AddEditableCombo(qobject_cast<QComboBox*>(widget));
    }
    if (widget->focusPolicy() != Qt::NoFocus) {
      anyTabStop = true;
      if (late != nullptr) {
        late->AddTabStop(widget);
      } else {
        tabStops.push_back(widget);
      }
    }
  }
  for (const EventBinding& binding : description.events) {
    const auto made = built.controls.find(binding.source);
    if (made != built.controls.end()) {
      Connect(made->second, binding, sink);
    } else if (late != nullptr && late->HoldsBox(binding.source)) {
      late->AddBinding(binding);
    }
  }
  if (late != nullptr && window->testAttribute(Qt::WA_WState_Polished)) {
    late->MakeAll();  // a window already polished or shown has nothing to wait for
  }
  return built;
}

}  // namespace tavrik
