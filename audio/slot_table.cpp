#include "audio/slot_table.h"

#include "audio/playback_engine.h"
#include "settings/data_files.h"
#include "settings/ini_file.h"

namespace tavrik {

SlotTable::SlotTable(std::string runDirectory, PlaybackEngine& engine)
    : m_runDirectory(std::move(runDirectory)), m_engine(engine) {}

std::string SlotTable::SlotPath(int slot) const {
  return ReadSetting(m_runDirectory + std::string(kPathsFile), kSlotSection, SlotKey(slot));
}

void SlotTable::PlaySlot(int slot) {
  m_engine.PlayFile(SlotPath(slot));
}

}  // namespace tavrik
