// System-wide hotkeys on Windows: RegisterHotKey for the user-interface
// thread, and WM_HOTKEY picked out of Qt's message loop.
#include "hotkeys/hotkey_service.h"

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QCoreApplication>

#include <windows.h>

#include <set>
#include <utility>

namespace tavrik {
namespace {

class WindowsHotkeyBackend final : public HotkeyBackend, private QAbstractNativeEventFilter {
public:
  WindowsHotkeyBackend() {
    if (QCoreApplication::instance() != nullptr) {
      QCoreApplication::instance()->installNativeEventFilter(this);
    }
  }
  ~WindowsHotkeyBackend() override {
    for (const int identifier : m_identifiers) {
      UnregisterHotKey(nullptr, identifier);
    }
    if (QCoreApplication::instance() != nullptr) {
      QCoreApplication::instance()->removeNativeEventFilter(this);
    }
  }
  WindowsHotkeyBackend(const WindowsHotkeyBackend&) = delete;
  WindowsHotkeyBackend& operator=(const WindowsHotkeyBackend&) = delete;

  // Registered for the thread rather than a window: WM_HOTKEY then arrives as
  // a thread message, which Qt's dispatcher hands to the native filters. A
  // press made while Windows runs its own modal loop (a window being dragged
  // by its frame) is not seen, since that loop drops thread messages.
  bool Register(int identifier, unsigned flags, int virtualKey) override {
    if (m_identifiers.count(identifier) != 0 ||
        !RegisterHotKey(nullptr, identifier, static_cast<UINT>(flags), static_cast<UINT>(virtualKey))) {
      return false;
    }
    m_identifiers.insert(identifier);
    return true;
  }

  void Unregister(int identifier) override {
    if (m_identifiers.erase(identifier) != 0) {
      UnregisterHotKey(nullptr, identifier);
    }
  }

  void SetPressHandler(std::function<void(int identifier)> handler) override { m_handler = std::move(handler); }

private:
  bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override {
    if (eventType != "windows_generic_MSG" || !m_handler) {
      return false;
    }
    const MSG* msg = static_cast<const MSG*>(message);
    if (msg->message != WM_HOTKEY) {
      return false;
    }
    const int identifier = static_cast<int>(msg->wParam);
    if (m_identifiers.count(identifier) == 0) {
      return false;
    }
    const std::function<void(int)> handler = m_handler;
    handler(identifier);
    return false;  // the message goes on as usual; nothing else acts on it
  }

  std::set<int> m_identifiers;
  std::function<void(int)> m_handler;
};

}  // namespace

std::unique_ptr<HotkeyBackend> CreateHotkeyBackend() {
  return std::make_unique<WindowsHotkeyBackend>();
}

}  // namespace tavrik
