// System-wide hotkeys on X11: passive key grabs on the root window through
// Qt's own xcb connection, and presses picked out of Qt's event stream.
#include "hotkeys/hotkey_service.h"
#include "hotkeys/hotkey_table.h"
#include "hotkeys/platform/x11/virtual_keys.h"

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QCoreApplication>
#include <QGuiApplication>

#include <X11/keysym.h>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>
#include <vector>

namespace tavrik {
namespace {

// Shift to Mod5; the pointer buttons and the keyboard group that share the
// state field take no part in a hotkey.
constexpr std::uint16_t kModifierBits = 0xFF;

struct FreeDeleter {
  void operator()(void* memory) const { std::free(memory); }
};
template <typename T>
using XcbReply = std::unique_ptr<T, FreeDeleter>;

struct Grab {
  xcb_keycode_t keycode = 0;  // 0: no key produces the code; nothing is grabbed
  std::uint16_t modifiers = 0;
};

class X11HotkeyBackend final : public HotkeyBackend, private QAbstractNativeEventFilter {
public:
  explicit X11HotkeyBackend(xcb_connection_t* connection);
  ~X11HotkeyBackend() override;
  X11HotkeyBackend(const X11HotkeyBackend&) = delete;
  X11HotkeyBackend& operator=(const X11HotkeyBackend&) = delete;

  bool Register(int identifier, unsigned flags, int virtualKey) override;
  void Unregister(int identifier) override;
  void SetPressHandler(std::function<void(int identifier)> handler) override;

private:
  bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

  xcb_keycode_t KeycodeOf(xcb_keysym_t keysym) const;
  std::uint16_t FindNumLockMask() const;
  std::vector<std::uint16_t> Variants(std::uint16_t modifiers) const;
  bool GrabVariants(const Grab& grab);
  void UngrabVariants(const Grab& grab);

  xcb_connection_t* m_connection = nullptr;  // null: this session has no X server
  xcb_window_t m_root = XCB_NONE;
  xcb_key_symbols_t* m_keySymbols = nullptr;
  std::uint16_t m_numLockMask = 0;
  std::map<int, Grab> m_registrations;
  std::function<void(int)> m_handler;
};

std::uint16_t XModifiers(unsigned flags) {
  std::uint16_t modifiers = 0;
  if ((flags & kModAlt) != 0) {
    modifiers |= XCB_MOD_MASK_1;
  }
  if ((flags & kModControl) != 0) {
    modifiers |= XCB_MOD_MASK_CONTROL;
  }
  if ((flags & kModShift) != 0) {
    modifiers |= XCB_MOD_MASK_SHIFT;
  }
  if ((flags & kModWin) != 0) {
    modifiers |= XCB_MOD_MASK_4;
  }
  return modifiers;
}

X11HotkeyBackend::X11HotkeyBackend(xcb_connection_t* connection) {
  if (connection == nullptr || xcb_connection_has_error(connection) != 0) {
    return;
  }
  const xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
  if (screens.rem == 0) {
    return;
  }
  m_keySymbols = xcb_key_symbols_alloc(connection);
  if (m_keySymbols == nullptr) {
    return;
  }
  m_connection = connection;
  m_root = screens.data->root;
  m_numLockMask = FindNumLockMask();
  QCoreApplication::instance()->installNativeEventFilter(this);
}

X11HotkeyBackend::~X11HotkeyBackend() {
  if (m_connection == nullptr) {
    return;
  }
  // Qt closes its connection with the application; after that the server
  // has already dropped every grab.
  if (QCoreApplication::instance() != nullptr) {
    QCoreApplication::instance()->removeNativeEventFilter(this);
    for (const auto& registration : m_registrations) {
      UngrabVariants(registration.second);
    }
    xcb_flush(m_connection);
  }
  xcb_key_symbols_free(m_keySymbols);
}

bool X11HotkeyBackend::Register(int identifier, unsigned flags, int virtualKey) {
  if (m_connection == nullptr || m_registrations.count(identifier) != 0) {
    return false;
  }
  const Grab grab{KeycodeOf(KeysymOfVirtualKey(virtualKey)), XModifiers(flags)};
  if (grab.keycode != 0) {
    // The server reports no clash between two grabs of one client: the
    // second would silently take over the first.
    for (const auto& registration : m_registrations) {
      if (registration.second.keycode == grab.keycode && registration.second.modifiers == grab.modifiers) {
        return false;
      }
    }
    if (!GrabVariants(grab)) {
      return false;
    }
  }
  m_registrations[identifier] = grab;
  return true;
}

void X11HotkeyBackend::Unregister(int identifier) {
  const auto registration = m_registrations.find(identifier);
  if (registration == m_registrations.end()) {
    return;
  }
  UngrabVariants(registration->second);
  xcb_flush(m_connection);
  m_registrations.erase(registration);
}

void X11HotkeyBackend::SetPressHandler(std::function<void(int identifier)> handler) {
  m_handler = std::move(handler);
}

bool X11HotkeyBackend::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
  if (eventType != "xcb_generic_event_t" || !m_handler) {
    return false;
  }
  const auto* event = static_cast<const xcb_generic_event_t*>(message);
  if ((event->response_type & ~0x80) != XCB_KEY_PRESS) {
    return false;
  }
  const auto* press = static_cast<const xcb_key_press_event_t*>(message);
  if (press->event != m_root) {
    return false;
  }
  const auto modifiers =
      static_cast<std::uint16_t>(press->state & kModifierBits & ~(XCB_MOD_MASK_LOCK | m_numLockMask));
  for (const auto& [identifier, grab] : m_registrations) {
    if (grab.keycode != 0 && grab.keycode == press->detail && grab.modifiers == modifiers) {
      const int pressed = identifier;
      const std::function<void(int)> handler = m_handler;
      handler(pressed);
      return true;
    }
  }
  return false;
}

// The keycode that carries `keysym`, preferring one where it is the key's
// unshifted symbol ("<" has a key of its own on 105-key keyboards and is
// also Shift+comma); 0 when this keyboard has none.
xcb_keycode_t X11HotkeyBackend::KeycodeOf(xcb_keysym_t keysym) const {
  if (keysym == 0) {
    return 0;
  }
  const XcbReply<xcb_keycode_t> keycodes(xcb_key_symbols_get_keycode(m_keySymbols, keysym));
  if (keycodes == nullptr || keycodes.get()[0] == XCB_NO_SYMBOL) {
    return 0;
  }
  for (const xcb_keycode_t* keycode = keycodes.get(); *keycode != XCB_NO_SYMBOL; ++keycode) {
    if (xcb_key_symbols_get_keysym(m_keySymbols, *keycode, 0) == keysym) {
      return *keycode;
    }
  }
  return keycodes.get()[0];
}

// The modifier bit that NumLock sets, 0 when no modifier carries it.
std::uint16_t X11HotkeyBackend::FindNumLockMask() const {
  const XcbReply<xcb_keycode_t> numLockKeys(xcb_key_symbols_get_keycode(m_keySymbols, XK_Num_Lock));
  const XcbReply<xcb_get_modifier_mapping_reply_t> mapping(
      xcb_get_modifier_mapping_reply(m_connection, xcb_get_modifier_mapping(m_connection), nullptr));
  if (numLockKeys == nullptr || mapping == nullptr) {
    return 0;
  }
  const xcb_keycode_t* modifierKeys = xcb_get_modifier_mapping_keycodes(mapping.get());
  const int perModifier = mapping->keycodes_per_modifier;
  for (int modifier = 0; modifier < 8; ++modifier) {
    for (int i = 0; i < perModifier; ++i) {
      const xcb_keycode_t keycode = modifierKeys[modifier * perModifier + i];
      for (const xcb_keycode_t* numLock = numLockKeys.get(); keycode != 0 && *numLock != XCB_NO_SYMBOL; ++numLock) {
        if (*numLock == keycode) {
          return static_cast<std::uint16_t>(1u << modifier);
        }
      }
    }
  }
  return 0;
}

// The combination with CapsLock and NumLock in each of their states, since
// the server matches a grab only on the exact modifier state.
std::vector<std::uint16_t> X11HotkeyBackend::Variants(std::uint16_t modifiers) const {
  std::vector<std::uint16_t> variants;
  for (const unsigned extra : {0u, unsigned{XCB_MOD_MASK_LOCK}, unsigned{m_numLockMask},
                               unsigned{XCB_MOD_MASK_LOCK} | m_numLockMask}) {
    const auto variant = static_cast<std::uint16_t>(modifiers | extra);
    bool known = false;
    for (const std::uint16_t made : variants) {
      known = known || made == variant;
    }
    if (!known) {
      variants.push_back(variant);
    }
  }
  return variants;
}

// Grabs every variant; when another client holds any of them, releases the
// ones this call made and reports false.
bool X11HotkeyBackend::GrabVariants(const Grab& grab) {
  const std::vector<std::uint16_t> variants = Variants(grab.modifiers);
  std::vector<xcb_void_cookie_t> cookies;
  for (const std::uint16_t variant : variants) {
    // The press that starts a grab always comes to the root window. Without
    // owner events, so do the key's auto-repeats while it is held, even when
    // one of the board's own windows has the focus: a held hotkey repeats
    // wherever the focus is, as on Windows.
    cookies.push_back(xcb_grab_key_checked(m_connection, 0, m_root, variant, grab.keycode, XCB_GRAB_MODE_ASYNC,
                                           XCB_GRAB_MODE_ASYNC));
  }
  std::vector<std::uint16_t> made;
  bool refused = false;
  for (std::size_t i = 0; i < cookies.size(); ++i) {
    const XcbReply<xcb_generic_error_t> error(xcb_request_check(m_connection, cookies[i]));
    if (error != nullptr) {
      refused = true;  // BadAccess: another client holds this variant
    } else {
      made.push_back(variants[i]);
    }
  }
  if (refused) {
    for (const std::uint16_t variant : made) {
      xcb_ungrab_key(m_connection, grab.keycode, m_root, variant);
    }
    xcb_flush(m_connection);
  }
  return !refused;
}

void X11HotkeyBackend::UngrabVariants(const Grab& grab) {
  if (grab.keycode == 0) {
    return;
  }
  for (const std::uint16_t variant : Variants(grab.modifiers)) {
    xcb_ungrab_key(m_connection, grab.keycode, m_root, variant);
  }
}

}  // namespace

std::unique_ptr<HotkeyBackend> CreateHotkeyBackend() {
  xcb_connection_t* connection = nullptr;
  // Offscreen and Wayland sessions have no X connection: every hotkey is refused.
  if (auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    if (auto* x11 = application->nativeInterface<QNativeInterface::QX11Application>()) {
      connection = x11->connection();
    }
  }
  return std::make_unique<X11HotkeyBackend>(connection);
}

}  // namespace tavrik
