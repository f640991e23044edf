#include "audio/dispatch_table.h"

#include "audio/playback_engine.h"
#include "audio/slot_table.h"

namespace tavrik {

DispatchTable::DispatchTable(SlotTable& slots, PlaybackEngine& engine) : m_slots(slots), m_engine(engine) {}

void DispatchTable::SetIdentifier(int entry, int identifier) {
  if (entry >= 0 && entry < kDispatchEntryCount) {
    m_identifiers[static_cast<std::size_t>(entry)] = identifier;
  }
}

int DispatchTable::Identifier(int entry) const {
  if (entry < 0 || entry >= kDispatchEntryCount) {
    return 0;
  }
  return m_identifiers[static_cast<std::size_t>(entry)];
}

void DispatchTable::DispatchHotkey(int identifier) {
  if (identifier == 0) {
    return;  // no hotkey has identifier 0; entries holding it were refused
  }
  for (int entry = 0; entry < kDispatchEntryCount; ++entry) {
    if (m_identifiers[static_cast<std::size_t>(entry)] != identifier) {
      continue;
    }
    if (entry == kStopEntry) {
      m_engine.StopPlayback();
    } else {
      m_slots.PlaySlot(entry + 1);
    }
  }
}

}  // namespace tavrik
