#pragma once

#include <array>

namespace tavrik {

class PlaybackEngine;
class SlotTable;

inline constexpr int kDispatchEntryCount = 61;
inline constexpr int kStopEntry = 60;  // entries 0 to 59 play slots 1 to 60

// Hotkey identifiers of the 61 entries (0 when none is registered) and what a
// press of each does.
class DispatchTable {
public:
  DispatchTable(SlotTable& slots, PlaybackEngine& engine);

  void SetIdentifier(int entry, int identifier);
  int Identifier(int entry) const;

  // Runs the action of every entry whose identifier equals `identifier`, in
  // entry order; all 61 entries are compared.
  void DispatchHotkey(int identifier);

private:
  SlotTable& m_slots;
  PlaybackEngine& m_engine;
  std::array<int, kDispatchEntryCount> m_identifiers{};
};

}  // namespace tavrik
