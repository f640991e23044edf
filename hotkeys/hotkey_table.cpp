#include "hotkeys/hotkey_table.h"

#include "settings/data_files.h"
#include "settings/ini_file.h"
#include "settings/setting_number.h"

namespace tavrik {

std::string HotkeyFilePath(std::string_view runDirectory) {
  return std::string(runDirectory) + std::string(kHotkeyFile);
}

StoredHotkey LoadHotkeyEntry(std::string_view runDirectory, int k) {
  const std::string file = HotkeyFilePath(runDirectory);
  const std::string key = std::to_string(k);
  StoredHotkey stored;
  stored.modifierCode = ReadSettingNumber(ReadSetting(file, kHotkeyModifierSection, key));
  stored.keyCode = ReadSettingNumber(ReadSetting(file, kHotkeyKeyCodeSection, key));
  // Only a missing index defaults to "no key"; an empty one reads as 0.
  stored.listIndex = ReadSettingNumber(ReadSetting(file, kHotkeyListIndexSection, key, "-1"));
  return stored;
}

void SaveHotkeyEntry(std::string_view runDirectory, int k, std::string_view modifierText, int listIndex,
                     int keyCode) {
  const std::string file = HotkeyFilePath(runDirectory);
  const std::string key = std::to_string(k);
  WriteSetting(file, kHotkeyListIndexSection, key, std::to_string(listIndex));
  WriteSetting(file, kHotkeyModifierSection, key, modifierText);
  WriteSetting(file, kHotkeyKeyCodeSection, key, std::to_string(keyCode));
}

bool IsDuplicateHotkey(std::string_view runDirectory, std::string_view modifierText, std::string_view indexText) {
  if (indexText == "-1") {
    return false;  // no key chosen: nothing to clash with
  }
  const std::string file = HotkeyFilePath(runDirectory);
  for (int k = 0; k < kHotkeyEntryCount; ++k) {
    const std::string key = std::to_string(k);
    // Texts, not numbers: "01" and "1" are different hotkeys to this rule.
    if (ReadSetting(file, kHotkeyModifierSection, key) == modifierText &&
        ReadSetting(file, kHotkeyListIndexSection, key) == indexText) {
      return true;
    }
  }
  return false;
}

int ModifierFlags(int modifierCode) {
  unsigned flags = 0;
  switch (modifierCode) {
    case 1:
      flags = kModControl;
      break;
    case 2:
      flags = kModShift;
      break;
    case 3:
      flags = kModControl | kModShift;
      break;
    case 4:
      flags = kModAlt;
      break;
    case 5:
      flags = kModAlt | kModControl;
      break;
    case 6:
      flags = kModAlt | kModShift;
      break;
    default:
      return modifierCode;
  }
  return static_cast<int>(flags);
}

}  // namespace tavrik
