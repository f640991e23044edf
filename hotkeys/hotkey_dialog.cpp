#include "hotkeys/hotkey_dialog.h"

#include "audio/dispatch_table.h"
#include "hotkeys/hotkey_service.h"
#include "hotkeys/hotkey_table.h"
#include "skin/skin_manager.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QScreen>
#include <QIcon>
#include <QMessageBox>
#include <QRadioButton>

namespace tavrik {

namespace {

// The radio buttons and the modifier code each stands for.
struct ModifierButton {
  const char* name;
  const char* code;
};
constexpr ModifierButton kModifierButtons[] = {
    {"单选框4", "0"}, {"单选框2", "1"}, {"单选框1", "2"}, {"单选框3", "4"}};

}  // namespace

HotkeyDialog::HotkeyDialog(std::string runDirectory, HotkeyService& service, DispatchTable& table)
    : QWidget(nullptr), m_runDirectory(std::move(runDirectory)), m_service(service), m_table(table) {
  m_built = BuildWindow(HotkeyDialogDescription(), this,
                        [this](const std::string& source, ControlEvent, int) { OnEvent(source); });
  setWindowIcon(QIcon(QStringLiteral(":/artwork/hotkey.ico")));
  if (auto* keys = m_built.Control<QComboBox>("组合框1")) {
    for (const HotkeyKey& key : kHotkeyKeys) {
      keys->addItem(QString::fromUtf8(key.caption.data(), static_cast<qsizetype>(key.caption.size())), key.keyCode);
    }
    keys->setCurrentIndex(-1);
  }
  // The creation of this window registers every stored hotkey, then skins it.
  RegisterAllHotkeys(m_service, m_table, m_runDirectory);
  SkinManager::Instance().SkinWindow(this, {});
  // Centred on the screen where it is made.
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->geometry();
    move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
  }
}

void HotkeyDialog::SetOnTop(bool onTop) {
  const bool visible = isVisible();
  setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
  if (visible) {
    show();  // changing a window flag hides the window
  }
}

void HotkeyDialog::OpenHotkeyDialog(int k) {
  m_target = k;
  show();
  SetOnTop(true);
  raise();
  const StoredHotkey stored = LoadHotkeyEntry(m_runDirectory, k);
  const char* checked = "单选框4";  // "无" for 0 and for every code the dialog does not offer
  for (const ModifierButton& button : kModifierButtons) {
    if (std::to_string(stored.modifierCode) == button.code) {
      checked = button.name;
    }
  }
  for (const ModifierButton& button : kModifierButtons) {
    if (auto* radio = m_built.Control<QRadioButton>(button.name)) {
      radio->setChecked(std::string(button.name) == checked);
      if (std::string(button.name) == checked) {
        m_pendingModifier = button.code;
      }
    }
  }
  if (auto* keys = m_built.Control<QComboBox>("组合框1")) {
    const int index = stored.listIndex < 0 ? -1 : std::min(stored.listIndex, keys->count() - 1);
    keys->setCurrentIndex(index);
  }
}

void HotkeyDialog::OnEvent(const std::string& source) {
  for (const ModifierButton& button : kModifierButtons) {
    if (source == button.name) {
      m_pendingModifier = button.code;
      return;
    }
  }
  if (source == "按钮1") {
    Confirm();
  } else if (source == "按钮2") {
    hide();
  }
}

void HotkeyDialog::Confirm() {
  auto* keys = m_built.Control<QComboBox>("组合框1");
  const int position = keys != nullptr ? keys->currentIndex() : -1;
  const int keyCode = position >= 0 ? keys->itemData(position).toInt() : kNoHotkeyKey;
  if (IsDuplicateHotkey(m_runDirectory, m_pendingModifier, std::to_string(position))) {
    SetOnTop(false);
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("信息："), QStringLiteral("已存在相同热键"), QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    return;
  }
  SaveHotkeyEntry(m_runDirectory, m_target, m_pendingModifier, position, keyCode);
  RebindHotkey(m_service, m_table, m_target, m_pendingModifier, keyCode);
  hide();
}

void HotkeyDialog::closeEvent(QCloseEvent* event) {
  SetOnTop(false);
  hide();
  event->ignore();
}

}  // namespace tavrik
