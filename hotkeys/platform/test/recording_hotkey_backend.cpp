#include "hotkeys/platform/test/recording_hotkey_backend.h"

namespace tavrik::test {

bool RecordingHotkeyBackend::Register(int identifier, unsigned flags, int virtualKey) {
  const Combination combination{flags, virtualKey};
  const bool inert = virtualKey <= 0;
  const bool refused = refuseAll || m_registrations.count(identifier) != 0 ||
                       heldElsewhere.count(combination) != 0 || (!inert && m_holders.count(combination) != 0);
  calls.push_back("Register " + std::to_string(identifier) + " " + std::to_string(flags) + " " +
                  std::to_string(virtualKey) + (refused ? " refused" : ""));
  if (refused) {
    return false;
  }
  m_registrations[identifier] = combination;
  if (!inert) {
    m_holders[combination] = identifier;
  }
  return true;
}

void RecordingHotkeyBackend::Unregister(int identifier) {
  calls.push_back("Unregister " + std::to_string(identifier));
  const auto registration = m_registrations.find(identifier);
  if (registration == m_registrations.end()) {
    return;
  }
  const auto holder = m_holders.find(registration->second);
  if (holder != m_holders.end() && holder->second == identifier) {
    m_holders.erase(holder);
  }
  m_registrations.erase(registration);
}

void RecordingHotkeyBackend::SetPressHandler(std::function<void(int identifier)> handler) {
  m_handler = std::move(handler);
}

bool RecordingHotkeyBackend::Press(unsigned flags, int virtualKey) {
  const auto holder = m_holders.find({flags, virtualKey});
  if (holder == m_holders.end()) {
    return false;
  }
  Report(holder->second);
  return true;
}

void RecordingHotkeyBackend::Report(int identifier) {
  if (m_handler) {
    m_handler(identifier);
  }
}

}  // namespace tavrik::test
