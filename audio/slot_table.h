#pragma once

#include <string>

namespace tavrik {

class PlaybackEngine;

// The sixty slots: slot N plays the path stored under key "N" of the path
// file, read afresh at every press.
class SlotTable {
public:
  SlotTable(std::string runDirectory, PlaybackEngine& engine);

  void PlaySlot(int slot);
  std::string SlotPath(int slot) const;

  const std::string& runDirectory() const { return m_runDirectory; }

private:
  std::string m_runDirectory;
  PlaybackEngine& m_engine;
};

}  // namespace tavrik
