#include "hotkeys/hotkey_service.h"

#include "audio/dispatch_table.h"
#include "hotkeys/hotkey_table.h"
#include "settings/setting_number.h"

#include <utility>

namespace tavrik {

HotkeyBackend::~HotkeyBackend() = default;

HotkeyService::HotkeyService(std::unique_ptr<HotkeyBackend> backend) : m_backend(std::move(backend)) {
  m_backend->SetPressHandler([this](int identifier) { Deliver(identifier); });
}

HotkeyService::~HotkeyService() {
  // The back-end goes first: it releases its registrations and can no longer
  // call into a half-destroyed service.
  m_backend.reset();
}

int HotkeyService::AddHotkey(int modifierCode, int keyCode) {
  const int identifier = m_nextIdentifier++;
  if (!m_backend->Register(identifier, static_cast<unsigned>(ModifierFlags(modifierCode)), keyCode)) {
    return 0;
  }
  m_registered.insert(identifier);
  return identifier;
}

void HotkeyService::RemoveHotkey(int identifier) {
  if (m_registered.erase(identifier) != 0) {
    m_backend->Unregister(identifier);
  }
}

void HotkeyService::SetReceiver(std::function<void(int identifier)> receiver) {
  m_receiver = std::move(receiver);
}

void HotkeyService::Deliver(int identifier) {
  if (m_registered.count(identifier) == 0 || !m_receiver) {
    return;
  }
  // A copy, so that a receiver that replaces itself keeps running intact.
  const std::function<void(int)> receiver = m_receiver;
  receiver(identifier);
}

namespace {

void ReceiveIn(HotkeyService& service, DispatchTable& table) {
  service.SetReceiver([&table](int identifier) { table.DispatchHotkey(identifier); });
}

}  // namespace

void RegisterAllHotkeys(HotkeyService& service, DispatchTable& table, std::string_view runDirectory) {
  ReceiveIn(service, table);
  for (int k = 0; k < kHotkeyEntryCount; ++k) {
    const StoredHotkey stored = LoadHotkeyEntry(runDirectory, k);
    table.SetIdentifier(k, service.AddHotkey(stored.modifierCode, stored.keyCode));
  }
}

void RebindHotkey(HotkeyService& service, DispatchTable& table, int k, std::string_view modifierText, int keyCode) {
  // Released first, so that the entry may take back the combination it held.
  service.RemoveHotkey(table.Identifier(k));
  ReceiveIn(service, table);
  table.SetIdentifier(k, service.AddHotkey(ReadSettingNumber(modifierText), keyCode));
}

}  // namespace tavrik
