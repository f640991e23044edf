#pragma once

#include "hotkeys/hotkey_service.h"

#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace tavrik::test {

// A back-end for tests: it records every call, refuses what it is told to,
// and lets a test press a combination. Like the X11 back-end it refuses a
// combination that an earlier registration still holds, and accepts key codes
// that no key produces (0 and below) without holding anything.
class RecordingHotkeyBackend final : public HotkeyBackend {
public:
  using Combination = std::pair<unsigned, int>;  // flags, virtual key

  // "Register 33001 2 112", "Register 33002 2 112 refused", "Unregister 33001".
  std::vector<std::string> calls;
  // Combinations that another program holds.
  std::set<Combination> heldElsewhere;
  // When true every registration is refused, as on a platform without hotkeys.
  bool refuseAll = false;

  bool Register(int identifier, unsigned flags, int virtualKey) override;
  void Unregister(int identifier) override;
  void SetPressHandler(std::function<void(int identifier)> handler) override;

  // The user presses the combination; false when no registration holds it.
  bool Press(unsigned flags, int virtualKey);
  // The platform reports `identifier`, whether or not it was registered here.
  void Report(int identifier);

private:
  std::map<Combination, int> m_holders;  // combination -> identifier
  std::map<int, Combination> m_registrations;
  std::function<void(int)> m_handler;
};

}  // namespace tavrik::test
