#include "skin/skin_manager.h"

#include "skin/skin_drawing.h"
#include "skin/skin_style.h"
#include "skin/window_skin.h"

#include <QAbstractButton>
#include <QBoxLayout>
#include <QCoreApplication>
#include <QDialog>
#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QMetaObject>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QTabWidget>
#include <QThread>
#include <algorithm>
#include <utility>

namespace tavrik {

using skin::WindowSkin;

QColor ColourOf(Colorref colorref) {
  return QColor(static_cast<int>(colorref & 0xFFu), static_cast<int>((colorref >> 8) & 0xFFu),
                static_cast<int>((colorref >> 16) & 0xFFu));
}

struct SkinManager::State {
  QImage picture;
  std::optional<QColor> base;  // none: the system's button face
  QColor accent = ColourOf(kDefaultAccent);
  int layout = 4;
  int veil = 160;
  std::vector<QPointer<WindowSkin>> windows;  // a window's entry goes with the window
  skin::ContainerPainter* containers = nullptr;

  WindowSkin* Find(const QWidget* window) {
    std::erase_if(windows, [](const QPointer<WindowSkin>& skin) { return skin.isNull(); });
    const auto found = std::find_if(windows.begin(), windows.end(),
                                    [window](const QPointer<WindowSkin>& skin) { return skin->window() == window; });
    return found == windows.end() ? nullptr : found->data();
  }

  WindowSkin* Obtain(QWidget* window) {
    if (WindowSkin* skin = Find(window)) {
      return skin;
    }
    auto* skin = new WindowSkin(window);
    windows.emplace_back(skin);
    return skin;
  }

  void RefreshAll() {
    std::erase_if(windows, [](const QPointer<WindowSkin>& skin) { return skin.isNull(); });
    for (const QPointer<WindowSkin>& skin : std::vector<QPointer<WindowSkin>>(windows)) {
      if (skin) {
        skin->Refresh();
      }
    }
  }
};

SkinManager& SkinManager::Instance() {
  // Never destroyed: windows may still ask for the skin while the program ends.
  static SkinManager* const instance = new SkinManager;
  return *instance;
}

SkinManager::SkinManager() : m_state(new State) {
  if (QCoreApplication* application = QCoreApplication::instance()) {
    moveToThread(application->thread());
  }
}

namespace {

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    return {};
  }
  return file.readAll();
}

}  // namespace

void SkinManager::SetSkin(const SkinPicture& skin) {
  const bool hasFile = skin.file && !skin.file->isEmpty();
  const bool hasBytes = skin.bytes && !skin.bytes->isEmpty();
  if (!hasFile && !hasBytes && !skin.baseColour) {
    return;
  }
  QImage picture;
  if (hasFile) {
    picture = skin::DecodePicture(ReadFile(*skin.file));
  }
  if (picture.isNull() && hasBytes) {
    picture = skin::DecodePicture(*skin.bytes);
  }
  State& state = *m_state;
  state.picture = picture;
  if (skin.baseColour) {
    state.base = ColourOf(*skin.baseColour);
  } else {
    state.base = skin::AverageColour(picture);  // none without a picture: the button face
  }
  state.accent = ColourOf(skin.accentColour.value_or(kDefaultAccent));
  state.layout = skin.layout.value_or(4);
  state.RefreshAll();
}

void SkinManager::SetControlVeil(int opacity) {
  m_state->veil = std::clamp(opacity, 0, 255);
  m_state->RefreshAll();
}

void SkinManager::SkinWindow(QWidget* window, const SkinWindowOptions& options) {
  if (window == nullptr) {
    return;
  }
  m_state->Obtain(window)->Register(options);
}

void SkinManager::AddCaptionButton(QWidget* window, const QByteArray& icon, const QString& hint,
                                   std::function<void()> onClick) {
  if (window == nullptr) {
    return;
  }
  m_state->Obtain(window)->AddButton(skin::DecodePicture(icon), hint, std::move(onClick));
}

void SkinManager::SetMenuButtonHandler(QWidget* window, std::function<void()> onClick) {
  if (window == nullptr) {
    return;
  }
  m_state->Obtain(window)->SetMenuHandler(std::move(onClick));
}

void SkinManager::SkinContainer(QWidget* container, Colorref colour, int level) {
  if (container == nullptr) {
    return;
  }
  QWidget* target = container;
  if (auto* tabs = qobject_cast<QTabWidget*>(container)) {
    // A tab control's pages sit in a stack of its own.
    if (auto* pages = tabs->findChild<QStackedWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
      target = pages;
    }
  }
  if (skin::ContainerPainter::TintOf(target).isValid()) {
    return;  // skinned once; the first tint stays
  }
  if (m_state->containers == nullptr) {
    m_state->containers = new skin::ContainerPainter;
  }
  QColor tint = ColourOf(colour);
  tint.setAlpha(std::clamp(level, 0, 255));
  skin::ContainerPainter::SetTint(target, tint);
  target->installEventFilter(m_state->containers);
  target->update();
}

void SkinManager::SkinImageButton(QAbstractButton* button, const QByteArray& icoBytes) {
  if (button == nullptr) {
    return;
  }
  constexpr int kIconSide = 16;
  const QImage image = skin::PickIconImage(icoBytes, kIconSide);
  if (!image.isNull()) {
    button->setIcon(QIcon(QPixmap::fromImage(image)));
    button->setIconSize(QSize(kIconSide, kIconSide));
  }
  button->update();
}

void SkinManager::SetTextColour(QWidget* control, Colorref colour) {
  if (control == nullptr) {
    return;
  }
  const QColor textColour = ColourOf(colour);
  if (QThread::currentThread() == control->thread()) {
    skin::ApplyTextColour(control, textColour);
    return;
  }
  // Controls belong to the interface thread: the change is posted there, and
  // dropped if the control is gone by then.
  QPointer<QWidget> guard(control);
  QMetaObject::invokeMethod(
      control,
      [guard, textColour] {
        if (guard) {
          skin::ApplyTextColour(guard.data(), textColour);
        }
      },
      Qt::QueuedConnection);
}

void SkinManager::ShowMessageBox(QWidget* owner, const QString& text, const QString& caption) {
  QWidget* ownerWindow = owner != nullptr ? owner->window() : nullptr;
  QDialog box(ownerWindow, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  box.setObjectName(QStringLiteral("skin-message-box"));
  box.setWindowTitle(caption);
  box.setMinimumWidth(260);

  auto* layout = new QVBoxLayout(&box);
  // Room for the caption band above the text.
  layout->setContentsMargins(16, skin::kMinimumCaptionHeight + 14, 16, 12);
  layout->setSpacing(14);
  auto* message = new QLabel(text, &box);
  message->setObjectName(QStringLiteral("message-text"));
  message->setWordWrap(true);
  message->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(message);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  auto* ok = new QPushButton(QCoreApplication::translate("tavrik::SkinManager", "OK"), &box);
  ok->setObjectName(QStringLiteral("message-ok"));
  ok->setDefault(true);
  ok->setMinimumWidth(80);
  QObject::connect(ok, &QPushButton::clicked, &box, &QDialog::accept);
  buttons->addWidget(ok);
  buttons->addStretch(1);
  layout->addLayout(buttons);

  SkinWindow(&box);
  box.adjustSize();

  QRect area;
  if (ownerWindow != nullptr) {
    area = ownerWindow->frameGeometry();
  } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
    area = screen->availableGeometry();
  }
  if (area.isValid()) {
    box.move(area.x() + (area.width() - box.width()) / 2, area.y() + (area.height() - box.height()) / 2);
  }
  ok->setFocus();
  box.exec();
}

const QImage& SkinManager::picture() const { return m_state->picture; }

QColor SkinManager::baseColour() const {
  return m_state->base.value_or(QGuiApplication::palette().color(QPalette::Button));
}

QColor SkinManager::accentColour() const { return m_state->accent; }

int SkinManager::layout() const { return m_state->layout; }

int SkinManager::veil() const { return m_state->veil; }

}  // namespace tavrik
