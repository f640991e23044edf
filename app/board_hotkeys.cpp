// The board's hotkeys: the service over this platform's back-end and the
// dialog that owns the registrations.
#include "app/board.h"

#include "hotkeys/hotkey_dialog.h"
#include "hotkeys/hotkey_service.h"

namespace tavrik {

void Board::CreateHotkeyDialog() {
  m_hotkeys = std::make_unique<HotkeyService>(CreateHotkeyBackend());
  m_hotkeyDialog = std::make_unique<HotkeyDialog>(m_runDirectory, *m_hotkeys, m_dispatch);
}

void Board::OpenHotkeyDialog(int entry) {
  if (m_hotkeyDialog != nullptr) {
    m_hotkeyDialog->OpenHotkeyDialog(entry);
  }
}

void Board::DestroyHotkeyDialog() {
  // The dialog goes first, then the service and with it every registration.
  m_hotkeyDialog.reset();
  m_hotkeys.reset();
}

}  // namespace tavrik
